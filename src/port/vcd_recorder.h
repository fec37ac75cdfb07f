// VcdRecorder: a PortIo that passes every access on to the port it wraps and records it, with the
// connector line levels it means, as a Value Change Dump (for PulseView, sigrok-cli or GTKWave).
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "orvane/status.h"
#include "port/port_io.h"
#include "port/setting_names.h"

namespace orvane {

struct VcdSignalInfo {
    std::string_view name;
    std::string_view meaning;
};

// The recorded signals in declaration order, all one bit wide: sigrok reads no vectors, so the
// data byte is eight lines. The bus lines lead and carry the names a two-wire decoder looks for.
// Accesses that change no line (the extended control register's set-up) still take their step.
inline constexpr std::array<VcdSignalInfo, 14> vcdSignals{{
    {"scl", "serial clock: the SELECT-IN line"},
    {"sda", "serial data: the AUTOFD line"},
    {"strobe", "STROBE line: one frame byte per rising edge"},
    {"init", "INIT line: a high pulse starts a frame"},
    {"data_in", "1 = the data lines are inputs, driven by the camera"},
    {"read", "1 for each step that read the data port"},
    {"d0", "data line 0 at the last data-port access"},
    {"d1", "data line 1"},
    {"d2", "data line 2"},
    {"d3", "data line 3"},
    {"d4", "data line 4"},
    {"d5", "data line 5"},
    {"d6", "data line 6"},
    {"d7", "data line 7"},
}};

// One time step of this length per port access.
inline constexpr std::string_view vcdTimescale = "1us";

// The smallest size limit a recording takes: its header and a few thousand accesses.
inline constexpr uint64_t minimumRecordingLimit = 64 * 1024;

class VcdRecorder final : public PortIo {
public:
    // Creates (or replaces) the file and writes its header. inner must outlive the recorder.
    // With a limit (bytes; 0: none) the recording ends, as a complete dump, before the file
    // would grow past it. FileError, saying why and what to do, naming the file as naming says,
    // when the file cannot be created.
    static Status create(PortIo& inner, const std::filesystem::path& path, uint64_t limit,
                         SettingNaming naming, std::unique_ptr<VcdRecorder>& recorder);

    ~VcdRecorder() override;
    VcdRecorder(const VcdRecorder&) = delete;
    VcdRecorder& operator=(const VcdRecorder&) = delete;

    // Access n of the run (counting from 1) lands at time n; the first is time 1, after the
    // levels at time 0. Nothing is allocated or flushed per access.
    void writePort(uint16_t port, uint8_t value) override;
    uint8_t readPort(uint16_t port) override;
    // Not an access: the recorded port keeps its own hold, with no time step.
    void holdBusLevel() override { inner_.holdBusLevel(); }

    // Ends the dump with the time after the last access, writes out what is buffered and closes
    // the file. True when every byte reached the file; later accesses pass through unrecorded.
    bool close();

    uint64_t accesses() const { return time_; }
    // The recording ended at its size limit; later accesses pass through unrecorded.
    bool limitReached() const { return limitReached_; }
    // Still recording: neither closed nor ended at its limit.
    bool isOpen() const { return file_ != nullptr; }
    // Some bytes did not reach the file so far.
    bool failed() const { return failed_; }
    const std::filesystem::path& path() const { return path_; }

private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    using File = std::unique_ptr<std::FILE, FileCloser>;
    struct Key {}; // only create() builds a recorder

public:
    VcdRecorder(Key, PortIo& inner, File file, std::filesystem::path path, uint64_t limit);

private:
    void writeHeader();
    void setDataLines(uint8_t value);
    void step(); // one access: its time stamp and the signals that changed
    void put(char c) { buffer_[fill_++] = c; }
    void put(std::string_view text);
    void putUnsigned(uint64_t value);
    void putValue(std::size_t signal);
    void drain();

    static constexpr std::size_t bufferSize = 1 << 16;
    // Room one access needs at most: a time stamp and every signal changing.
    static constexpr std::size_t maxStepBytes = 512;

    PortIo& inner_;
    File file_;
    std::filesystem::path path_;
    std::unique_ptr<char[]> buffer_;
    std::size_t fill_ = 0;
    bool failed_ = false;
    uint64_t limit_;
    uint64_t drained_ = 0; // bytes handed to the file so far
    bool limitReached_ = false;
    uint64_t time_ = 0;
    // The levels now and as last written to the file; a level is unknown ('x') until an access
    // sets it.
    std::array<uint8_t, vcdSignals.size()> levels_{};
    std::array<bool, vcdSignals.size()> known_{};
    std::array<uint8_t, vcdSignals.size()> written_{};
    std::array<bool, vcdSignals.size()> writtenKnown_{};
};

} // namespace orvane
