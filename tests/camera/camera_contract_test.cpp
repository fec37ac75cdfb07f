// orvane::Camera as a careless or hostile caller meets it: what it reports is what the simulated
// sensor holds, bad arguments come back as a Status with nothing sent, and threads take turns.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <thread>

#include "camera/camera_parts.h"
#include "image/temp_directory.h"

namespace orvane {
namespace {

struct Watched {
    SimulatedCameraModule module{referenceModel};
    std::unique_ptr<Camera> camera;
    explicit Watched(const CameraOptions& options = {}) {
        Status status;
        camera = CameraFactory::openOn(module, status, options);
        EXPECT_TRUE(status.ok()) << status.message();
    }
    std::size_t sent() const { return module.bus().transactions().size(); }
};

// After every step each register the camera calls sent is what the sensor holds, and a raw
// capture reads exactly the frame the module serves, line for line.
TEST(CameraContract, WhatItReportsIsWhatTheSensorHolds) {
    const std::pair<const char*, std::function<Status(Camera&)>> steps[] = {
        {"open", [](Camera&) { return Status{}; }},
        {"sharpness at its default", [](Camera& c) { return c.set("sharpness", 128); }},
        {"window end by number", [](Camera& c) { return c.writeRegister(0x18, 150); }},
        {"window start out of range", [](Camera& c) { return c.writeRegister(0x17, 50); }},
        {"brightness after it", [](Camera& c) { return c.set("brightness", 90); }},
        {"rgb by number", [](Camera& c) { return c.writeRegister(0x12, 0x2C); }},
        {"soft reset by number", [](Camera& c) { return c.writeRegister(0x12, 0x80); }},
        {"rgb qcif",
         [](Camera& c) {
             return c.set({{{"format", 1}, {"size", 1}}});
         }},
        {"bias",
         [](Camera& c) {
             return c.set({{{"blue-bias", 40}, {"red-background", 0}}});
         }},
        {"reset", [](Camera& c) { return c.reset(); }},
    };
    Watched watched;
    Camera& camera = *watched.camera;
    for (const auto& [name, step] : steps) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(step(camera).ok());
        std::array<uint8_t, 256> held{};
        ASSERT_TRUE(camera.moduleRegisters(held));
        for (const RegisterState& state : camera.registers()) {
            EXPECT_FALSE(state.pending) << int{state.address};
            EXPECT_EQ(state.value, held[state.address]) << int{state.address};
        }
        FrameLayout layout;
        ASSERT_TRUE(camera.layout(PixelFormat::Raw, layout).ok());
        std::vector<uint8_t> raw(layout.bytes);
        FrameInfo info;
        ASSERT_TRUE(camera.capture(PixelFormat::Raw, raw, 0, &info).ok());
        EXPECT_EQ(info.bytesPerLine, watched.module.frameLayout().bytesPerLine);
        EXPECT_EQ(info.linesRead, watched.module.frameLayout().lines);
        EXPECT_TRUE(std::ranges::equal(raw, watched.module.servedFrame()));
    }
}

struct Misuse {
    const char* name;
    std::function<Status(Camera&)> call;
    StatusCode code;
    std::string text;
};

TEST(CameraContract, MisuseIsAStatusWithNothingSent) {
    std::vector<uint8_t> memory(2'000'000);
    const auto into = [&](PixelFormat format, std::size_t size, std::size_t stride) {
        return [=, &memory](Camera& c) {
            return c.capture(format, std::span(memory.data(), size), stride);
        };
    };
    const std::size_t wraps = SIZE_MAX / 207 + 1; // times 207 rows wraps round to a few bytes
    const Misuse cases[] = {
        {"stride near the top", into(PixelFormat::Rgb24, 100, SIZE_MAX - 8), StatusCode::DoesNotFit,
         "needs more memory than there is"},
        {"stride that wraps", into(PixelFormat::Rgb24, memory.size(), wraps),
         StatusCode::DoesNotFit, "needs more memory than there is"},
        {"stride below a row", into(PixelFormat::Rgb24, memory.size(), 935),
         StatusCode::InvalidArgument, "shorter than a row of a frame of 312 x 208, 936 bytes"},
        {"null memory with a size",
         [](Camera& c) {
             const FrameTarget target{PixelFormat::Rgb24, nullptr, 1'000'000, 0};
             return c.capture({&target, 1});
         },
         StatusCode::InvalidArgument, "is null"},
        {"too small", into(PixelFormat::Rgb24, 1000, 0), StatusCode::DoesNotFit, "needs rows"},
        {"format 6", into(PixelFormat(6), memory.size(), 0), StatusCode::InvalidArgument,
         "pixel format 6 is not one"},
        {"format 200",
         [](Camera& c) {
             FrameLayout layout;
             return c.layout(PixelFormat(200), layout);
         },
         StatusCode::InvalidArgument, "pixel format 200"},
        {"no targets", [](Camera& c) { return c.capture({}, nullptr); },
         StatusCode::InvalidArgument, "at least one target"},
        {"window one apart",
         [](Camera& c) {
             return c.set({{{"window-h-start", 100}, {"window-h-end", 101}}});
         },
         StatusCode::Refused, "Horizontal Start 100 and End 101 leave no pixels"},
        {"window two apart",
         [](Camera& c) {
             return c.set({{{"window-h-start", 100}, {"window-h-end", 102}}});
         },
         StatusCode::Refused, "leave no pixels"},
        {"unknown name, shortened", [](Camera& c) { return c.set(std::string(300, 'x'), 1); },
         StatusCode::UnknownControl, "\"" + std::string(77, 'x') + "...\""},
    };
    Watched watched;
    for (const Misuse& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t before = watched.sent();
        const uint32_t frames = watched.module.framesStarted();
        const Status status = c.call(*watched.camera);
        EXPECT_EQ(status.code(), c.code) << status.message();
        EXPECT_NE(status.message().find(c.text), std::string::npos) << status.message();
        EXPECT_EQ(watched.sent(), before);
        EXPECT_EQ(watched.module.framesStarted(), frames);
    }
}

TEST(CameraContract, OpeningNamesTheOptionAndRefusesWhatCannotWork) {
    testing::TempDirectory directory;
    const std::string scene = (directory.path() / "scene.ppm").string();
    std::ofstream(scene) << "P6 4 4 255\n" << std::string(48, '\x80');
    const struct {
        const char* name;
        std::string device, scene, pace, recording;
        uint64_t limit;
        StatusCode code;
        std::string text; // how the message starts
    } cases[] = {
        {"NUL in the device", std::string("sim\0x", 5), "", "", "", 0, StatusCode::InvalidArgument,
         "device \"sim\\x00x\" holds a NUL"},
        {"NUL in a path", "sim", std::string("a\0b", 3), "", "", 0, StatusCode::InvalidArgument,
         "scene \"a\\x00b\" holds a NUL"},
        {"unknown device", "lpt9", "", "", "", 0, StatusCode::PortError,
         "device \"lpt9\" is not a known"},
        {"missing scene", "sim", "/no/such.ppm", "", "", 0, StatusCode::FileError,
         "scene \"/no/such.ppm\": "},
        {"slow pace", "sim", "", "101", "", 0, StatusCode::PortError,
         "simulatedPace \"101\" is not a pace"},
        {"small limit", "sim", "", "", scene + ".vcd", 1000, StatusCode::InvalidArgument,
         "recordingLimit 1000 is below"},
        {"recording over the scene", "sim", scene, "", scene, 0, StatusCode::InvalidArgument,
         "recording \"" + scene + "\" is the scene file"},
        {"recording that fails", "sim", "", "", "/dev/full", 0, StatusCode::FileError,
         "recording \"/dev/full\": the recording could not be written"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CameraOptions options;
        options.scene = c.scene;
        options.simulatedPace = c.pace;
        options.recording = c.recording;
        options.recordingLimit = c.limit;
        Status status;
        EXPECT_EQ(Camera::open(c.device, status, options), nullptr);
        EXPECT_EQ(status.code(), c.code);
        EXPECT_EQ(status.message().rfind(c.text, 0), 0u) << status.message();
    }
    // A good opening has no program's prefix; its recording, once finished, is none.
    CameraOptions options;
    options.scene = scene;
    options.recording = scene + ".vcd";
    options.recordingLimit = 64 * 1024;
    Status status;
    const std::unique_ptr<Camera> camera = Camera::open("sim", status, options);
    ASSERT_NE(camera, nullptr) << status.message();
    EXPECT_EQ(camera->description().rfind("port backend: simulated camera module", 0), 0u);
    std::vector<uint8_t> frame(312 * 208 * 3);
    while (camera->recordingState() == RecordingState::Recording)
        ASSERT_TRUE(camera->capture(PixelFormat::Rgb24, frame).ok());
    EXPECT_EQ(camera->recordingState(), RecordingState::LimitReached);
    EXPECT_TRUE(camera->finishRecording().ok());
    EXPECT_EQ(camera->recordingState(), RecordingState::None);
}

// Calls from several threads take turns; a progress may read the camera but not drive it.
TEST(CameraContract, ThreadsTakeTurnsAndAProgressCannotDrive) {
    Watched watched;
    Camera& camera = *watched.camera;
    std::thread setter([&] {
        for (int i = 0; i < 200; ++i) {
            EXPECT_TRUE(camera.set("size", i % 2).ok());
            FrameLayout layout;
            const ControlSetting other{"size", 1 - i % 2};
            EXPECT_TRUE(camera.layoutWith({&other, 1}, PixelFormat::Rgb24, layout).ok());
        }
    });
    std::vector<uint8_t> cif(312 * 208 * 3);
    for (int i = 0; i < 200; ++i)
        EXPECT_TRUE(camera.capture(PixelFormat::Rgb24, cif).ok());
    setter.join();

    struct Meddling final : CaptureProgress {
        explicit Meddling(Camera& c) : CaptureProgress(std::chrono::microseconds(0)), camera(c) {}
        void rowsArrived(uint32_t, uint32_t) override {
            int32_t size = -1;
            read = read && camera.get("size", size).ok() && !camera.registers().empty();
            refused += camera.set("size", 1).code() == StatusCode::NotPermitted;
            refused += camera.reset().code() == StatusCode::NotPermitted;
        }
        Camera& camera;
        bool read = true;
        int refused = 0;
    } meddling(camera);
    ASSERT_TRUE(camera.set("size", 0).ok());
    const FrameTarget target{PixelFormat::Rgb24, cif.data(), cif.size(), 0};
    ASSERT_TRUE(camera.capture({&target, 1}, nullptr, &meddling).ok());
    EXPECT_TRUE(meddling.read);
    EXPECT_EQ(meddling.refused, 2 * 207);
}

} // namespace
} // namespace orvane
