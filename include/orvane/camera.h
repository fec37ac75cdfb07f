// orvane::Camera: the camera module on a parallel port, or the simulated one, as a library.
// Open it by the name of its device, read and set its controls by name, reset it, read and
// write its registers for bring-up, and capture frames into your own memory.
//
// Threading: a Camera may be called from any thread and from several at once: calls take turns,
// each waiting until the one before it is done (a capture holds the camera for its whole frame).
// A CaptureProgress may read the camera it follows (get, registers, layout), but a call that would
// change or drive it returns NotPermitted. Separate Cameras share nothing.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "orvane/controls.h"
#include "orvane/export.h"
#include "orvane/frame.h"
#include "orvane/status.h"

namespace orvane {

// Receives the trace of every bus step, the lines the panel prints ("press any key3"), each
// ending in a newline. Called from the thread that drives the camera.
class ORVANE_API TraceOutput {
public:
    virtual ~TraceOutput() = default;
    virtual void writeLine(std::string_view line) = 0;
};

// Follows a capture while the port delivers it, on the thread that captures, so that a slow
// port's frame can be shown filling in. A CIF frame takes about 0.4 s on a parallel port. It may
// read the Camera; set(), reset(), writeRegister(), capture() and finishRecording() return
// NotPermitted there, as the capture is still under way.
class ORVANE_API CaptureProgress {
public:
    // Told at most once an interval while lines arrive.
    explicit CaptureProgress(std::chrono::microseconds interval = std::chrono::milliseconds(40))
        : interval_(interval) {}
    virtual ~CaptureProgress() = default;
    std::chrono::microseconds interval() const { return interval_; }
    // The first rows of height rows of the first target now hold the new frame, final; every
    // other target is as far along in its own rows. The rows below still hold what they held
    // before. Not told for the last line: the capture's return says the frame is complete.
    virtual void rowsArrived(uint32_t rows, uint32_t height) = 0;

private:
    std::chrono::microseconds interval_;
};

struct CameraOptions {
    // A PPM picture (P6) for the simulated module to show; empty: its built-in scene. Texts that
    // hold a NUL character are refused (InvalidArgument), here and in the other paths.
    std::string scene;
    // How long each port access of the simulated module takes, as ORVANE_SIM_PACE says it:
    // "hardware" (about 1 us, about 0.4 s a CIF frame, as on a real parallel port), a number of
    // microseconds, or empty for no wait. Other devices take their own time.
    std::string simulatedPace;
    // Send the full register set as the camera opens, so the sensor holds what the controls
    // say. Without it nothing is sent until the first set().
    bool configure = true;
    // Started with sudo, give up root for the invoking user as soon as the port is open, for the
    // simulated module too, and read the scene as that user (Orvane's own programs do). A real
    // port always gives root up; otherwise a caller's process keeps its privileges.
    bool giveUpRoot = false;
    // Where the trace goes; null: nowhere. It must outlive the Camera.
    TraceOutput* trace = nullptr;
    // A Value Change Dump of every port access (for PulseView or GTKWave); empty: none.
    std::string recording;
    // The most bytes the recording may take (at least 64 KiB, else InvalidArgument); it ends
    // there as a complete dump. 0: no limit. A recording that is the scene file is refused.
    uint64_t recordingLimit = 0;
};

// Where the recording stands.
enum class RecordingState : uint8_t {
    None,         // no recording, or it has been finished
    Recording,    // every access goes into the file
    LimitReached, // it ended, complete, at its size limit; later accesses are not recorded
    Failed,       // some of it could not be written (disk full?)
};

// One managed sensor register as the camera keeps it. The bus is write-only: this is what the
// camera sent, or will send (pending), not what the sensor reports. The camera sends every
// managed register as it opens (configure) and after each reset, so it knows them all.
struct RegisterState {
    uint8_t address;
    std::string_view name;
    std::string_view meaning; // what the controls use its bits for; empty if they do not
    uint8_t value;
    uint8_t defaultValue;
    bool pending; // changed here, not yet sent
};

// ORVANE_VCD_LIMIT's text as recordingLimit takes it: bytes, or a number followed by K, M or G
// (1024-based), of at least 64 KiB; empty: no limit (0). Anything else is InvalidArgument,
// saying what to give, and bytes is 0.
ORVANE_API Status recordingLimitFrom(std::string_view text, uint64_t& bytes);
// What a program says when its recording in path has ended at its size limit.
ORVANE_API std::string recordingLimitMessage(std::string_view path);

class ORVANE_API Camera {
public:
    // Opens a device: "sim" (or "") for the simulated module, "sim:PARAMETERS" for it with
    // parameters ("sim:scene=card,reference"; its scene comes before options.scene), "ppdev" or
    // "ppdev:/dev/parportN" for the Linux parallel-port driver, "direct" for port instructions
    // (x86, as root; root is given up once the port is open, as every Orvane program does).
    // Null, with status saying why and what to do, when it cannot.
    static std::unique_ptr<Camera> open(std::string_view device, Status& status,
                                        const CameraOptions& options = {});
    ~Camera();
    Camera(const Camera&) = delete;
    Camera& operator=(const Camera&) = delete;

    // Which backend this is ("port backend: ppdev on /dev/parport0"), for a program to print
    // after its own name.
    const std::string& description() const;
    // The file the port accesses are recorded in, or empty.
    std::string recordingPath() const;

    std::span<const ControlInfo> controls() const;
    // The value in force.
    Status get(std::string_view name, int32_t& value) const;
    // Sets one control, or several at once, and sends what changed. Values are checked first
    // (unknown name, outside the range, a choice that cannot be made): a refused call changes
    // nothing. Several settings are applied in the order of controls(), so a format comes before
    // the size, and the size before an explicit window.
    Status set(std::string_view name, int32_t value);
    Status set(std::span<const ControlSetting> settings);

    // The sensor's soft reset, then every control back to its default and the default register
    // set sent.
    Status reset();

    // The managed registers in the order they are sent.
    std::vector<RegisterState> registers() const;
    // A managed register's value by number; InvalidArgument for another one.
    Status readRegister(int address, uint8_t& value) const;
    // What the simulated module's sensor holds, every register by number, for comparing with
    // registers(); false, with nothing filled, on a real port, whose bus cannot be read back.
    bool moduleRegisters(std::array<uint8_t, 256>& values) const;
    // Writes one register now, whatever it is (0 to 255 each). A managed register keeps the
    // value, and so does the control that stands for all of it when the value is in its range;
    // the frame's shape follows the window and format the sensor now holds. A write that resets
    // the sensor (register 0x12, bit 7) is followed as reset() is: defaults, sent in full.
    Status writeRegister(int address, int value);

    // The shape a capture in format has with the settings in force.
    Status layout(PixelFormat format, FrameLayout& layout) const;
    // The shape it would have with settings made on top of them, or why they would be refused;
    // nothing is set or sent.
    Status layoutWith(std::span<const ControlSetting> settings, PixelFormat format,
                      FrameLayout& layout) const;
    // Captures one frame into memory, rows stride bytes apart (0: the layout's rowBytes).
    // DoesNotFit when the window's frame does not fit the frame buffers or memory is too small;
    // InvalidArgument for null memory, a stride shorter than a row, a format that is not one of
    // PixelFormat's, or Mosaic while the format is yuv. Nothing is sent when it fails.
    Status capture(PixelFormat format, std::span<uint8_t> memory, std::size_t stride = 0,
                   FrameInfo* info = nullptr);
    // One frame into several layouts at once (the picture and its raw bytes, say). Every target
    // is checked before anything is sent (no targets: InvalidArgument); info describes the first.
    // progress, if given, is told as rows arrive; the time it takes counts as neither port nor
    // conversion time.
    Status capture(std::span<const FrameTarget> targets, FrameInfo* info = nullptr,
                   CaptureProgress* progress = nullptr);

    RecordingState recordingState() const;
    // Ends the recording and closes its file; FileError when it could not be written completely.
    // Later port accesses are not recorded. Nothing to do without a recording.
    Status finishRecording();

private:
    struct Parts;
    friend struct CameraFactory;
    explicit Camera(std::unique_ptr<Parts> parts);
    // Const calls reach the parts as const, so what only reads cannot change them.
    Parts& parts() { return *parts_; }
    const Parts& parts() const { return *parts_; }
    std::unique_ptr<Parts> parts_;
};

// The library's version, "0.1".
ORVANE_API const char* version();

} // namespace orvane
