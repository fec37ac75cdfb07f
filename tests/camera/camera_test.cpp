// orvane::Camera through its public header on the simulated module: its frames equal the panel's
// upload of the same settings, refusals change nothing, and every layout carries the same pixels.
#include "orvane/camera.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

#include "image/temp_directory.h"
#include "resources/bmp_header_template.h"
#include "support/captured_frame.h"
#include "support/panel_bench.h"

namespace orvane {
namespace {

std::unique_ptr<Camera> openSim(const CameraOptions& options = {}) {
    Status status;
    std::unique_ptr<Camera> camera = Camera::open("sim:reference", status, options);
    EXPECT_TRUE(status.ok()) << status.message();
    return camera;
}

using testing::captured;

struct SameSettings {
    const char* name;
    std::vector<std::pair<int, int>> panelSliders; // moved on the panel before Set Register
    std::vector<int> panelClicks;
    std::vector<ControlSetting> camera;
};

TEST(Camera, FramesEqualThePanelsUploadOfTheSameSettings) {
    const SameSettings cases[] = {
        {"Defaults", {}, {}, {}},
        {"BrightnessAndContrast",
         {{1034, 140}, {1032, 30}},
         {},
         {{"brightness", 140}, {"contrast", 30}}},
        {"RgbQcifMirrored", {}, {1025, 1023, 1020}, {{"mirror", 1}, {"size", 1}, {"format", 1}}},
        {"YuvQcifSaturated", {{1058, 40}}, {1023}, {{"size", 1}, {"saturation", 40}}},
    };
    for (const SameSettings& c : cases) {
        SCOPED_TRACE(c.name);
        testing::TempDirectory directory;
        ASSERT_TRUE(writeBmpHeaderTemplate(directory.path()));
        testing::PanelBench bench(directory.path());
        bench.start();
        for (const auto& [id, position] : c.panelSliders)
            bench.panel.moveSlider(id, position);
        for (const int id : c.panelClicks)
            bench.panel.click(id);
        bench.panel.click(1);
        bench.panel.click(1039);
        const FrameGeometry& g = bench.geometry();
        FrameBuffers& planes = bench.dialog.state().device.buffers;

        std::unique_ptr<Camera> camera = openSim();
        ASSERT_TRUE(camera->set(c.camera).ok());
        FrameInfo info;
        const std::vector<uint8_t> rgb = captured(*camera, PixelFormat::Rgb24, &info);
        ASSERT_EQ(info.width, g.imageWidth);
        ASSERT_EQ(info.height, g.imageHeight);
        for (std::size_t j = 0; j < std::size_t{g.imageWidth} * g.imageHeight; ++j) {
            ASSERT_EQ(rgb[3 * j], planes.redPlane()[j]) << j;
            ASSERT_EQ(rgb[3 * j + 1], planes.greenPlane()[j]) << j;
            ASSERT_EQ(rgb[3 * j + 2], planes.bluePlane()[j]) << j;
        }
        const std::span<const uint8_t> served = bench.module.servedFrame();
        const std::vector<uint8_t> raw = captured(*camera, PixelFormat::Raw);
        EXPECT_TRUE(std::equal(raw.begin(), raw.end(), served.begin(), served.end()));
    }
}

// Every layout of one frame, rows padded, against the RGB24 capture.
TEST(Camera, EveryLayoutHoldsTheSamePixelsAtAnyStride) {
    for (const int format : {0, 1}) {
        std::unique_ptr<Camera> camera = openSim();
        ASSERT_TRUE(camera->set("format", format).ok());
        FrameInfo info;
        const std::vector<uint8_t> rgb = captured(*camera, PixelFormat::Rgb24, &info);
        const std::size_t w = info.width;
        for (const PixelFormat layout : {PixelFormat::Bgr24, PixelFormat::Xrgb32}) {
            const std::size_t size = layout == PixelFormat::Xrgb32 ? 4 : 3;
            const std::size_t stride = w * size + 13;
            std::vector<uint8_t> memory(stride * info.height, 0xEE);
            ASSERT_TRUE(camera->capture(layout, memory, stride).ok());
            for (std::size_t y = 0; y < info.height; ++y) {
                for (std::size_t x = 0; x < w; ++x) {
                    const uint8_t* px = &memory[y * stride + x * size];
                    const uint8_t* want = &rgb[3 * (y * w + x)];
                    ASSERT_EQ(px[0], want[2]);
                    ASSERT_EQ(px[1], want[1]);
                    ASSERT_EQ(px[2], want[0]);
                    if (size == 4) {
                        ASSERT_EQ(px[3], 0xFF);
                    }
                }
                ASSERT_EQ(memory[y * stride + w * size], 0xEE) << "the padding stays";
            }
        }
        FrameLayout mosaic, packed;
        const Status status = camera->layout(PixelFormat::Mosaic, mosaic);
        EXPECT_EQ(status.code(), format == 1 ? StatusCode::Ok : StatusCode::InvalidArgument);
        EXPECT_EQ(camera->layout(PixelFormat::Vyuy, packed).code(),
                  format == 0 ? StatusCode::Ok : StatusCode::InvalidArgument);
        if (format == 0) {
            const std::vector<uint8_t> raw = captured(*camera, PixelFormat::Raw, &info);
            const std::vector<uint8_t> bytes = captured(*camera, PixelFormat::Vyuy);
            ASSERT_EQ(packed.rowBytes, 2 * w);
            for (std::size_t y = 0; y < packed.height; ++y)
                ASSERT_TRUE(std::equal(&bytes[y * 2 * w], &bytes[(y + 1) * 2 * w],
                                       &raw[y * info.bytesPerLine]));
        }
        if (format == 1) {
            const std::vector<uint8_t> raw = captured(*camera, PixelFormat::Raw, &info);
            const std::vector<uint8_t> samples = captured(*camera, PixelFormat::Mosaic);
            for (std::size_t y = 0; y < mosaic.height; ++y)
                ASSERT_TRUE(
                    std::equal(&samples[y * w], &samples[y * w] + w, &raw[y * info.bytesPerLine]));
        }
    }
}

// A size asked about is the size it would give, and nothing changes until it is set.
TEST(Camera, LayoutWithTellsTheShapeOfSettingsWithoutMakingThem) {
    std::unique_ptr<Camera> camera = openSim();
    FrameLayout before, preview, still, after;
    ASSERT_TRUE(camera->layout(PixelFormat::Rgb24, before));
    const ControlSetting qcif{"size", 1};
    ASSERT_TRUE(camera->layoutWith({&qcif, 1}, PixelFormat::Rgb24, preview));
    ASSERT_TRUE(camera->layout(PixelFormat::Rgb24, still));
    int32_t size = -1;
    ASSERT_TRUE(camera->get("size", size));
    EXPECT_EQ(size, 0);
    EXPECT_EQ(still.bytes, before.bytes);
    ASSERT_TRUE(camera->set("size", 1));
    ASSERT_TRUE(camera->layout(PixelFormat::Rgb24, after));
    EXPECT_EQ(preview.width, after.width);
    EXPECT_EQ(preview.height, after.height);
    EXPECT_LT(after.width, before.width);
    const ControlSetting wrong{"window-h-start", 300};
    EXPECT_EQ(camera->layoutWith({&wrong, 1}, PixelFormat::Rgb24, preview).code(),
              StatusCode::OutOfRange);
}

struct Refusal {
    std::vector<ControlSetting> settings;
    StatusCode code;
    const char* text; // part of the message
};

TEST(Camera, RefusalsSayWhyAndChangeNothing) {
    const Refusal cases[] = {
        {{{"brightness", 256}}, StatusCode::OutOfRange, "brightness takes 0 to 255"},
        {{{"contrast", 10}, {"red-bias", 64}}, StatusCode::OutOfRange, "red-bias takes 0 to 63"},
        {{{"exposure", 1}}, StatusCode::UnknownControl, "no control is named \"exposure\""},
        {{{"bus-width", 16}}, StatusCode::Refused, "bus-width 16 cannot be chosen"},
        {{{"format", 2}}, StatusCode::OutOfRange, "0 (yuv), 1 (rgb)"},
        {{{"size", 2}}, StatusCode::Refused, "size rgb-window cannot be chosen"},
        {{{"brightness", 10}, {"window-h-start", 214}},
         StatusCode::Refused,
         "Horizonal Window Start should be smaller than Horizontal Window End (window 214 to 214"},
        {{{"window-v-end", 5}}, StatusCode::Refused, "Vertical Window Start should be smaller"},
    };
    std::unique_ptr<Camera> camera = openSim();
    const std::vector<RegisterState> before = camera->registers();
    for (const Refusal& c : cases) {
        const Status status = camera->set(c.settings);
        EXPECT_EQ(status.code(), c.code) << status.message();
        EXPECT_NE(status.message().find(c.text), std::string::npos) << status.message();
        const std::vector<RegisterState> after = camera->registers();
        for (std::size_t i = 0; i < before.size(); ++i) {
            EXPECT_EQ(after[i].value, before[i].value) << c.text;
            EXPECT_EQ(after[i].pending, before[i].pending) << c.text;
        }
    }
    Status status;
    EXPECT_EQ(Camera::open("parallel", status), nullptr);
    EXPECT_EQ(status.code(), StatusCode::PortError);
}

TEST(Camera, ControlsAndRegistersReadBackWhatWasSent) {
    CameraOptions unconfigured;
    unconfigured.configure = false;
    std::unique_ptr<Camera> camera = openSim(unconfigured);
    EXPECT_EQ(camera->set("auto-adjust", 0).code(), StatusCode::Refused)
        << "auto adjust stays on until the camera has been configured";
    ASSERT_TRUE(camera->set({{{"brightness", 140}, {"format", 1}, {"gain", 2}}}).ok());
    ASSERT_TRUE(camera->set("auto-adjust", 0).ok());
    ASSERT_TRUE(camera->writeRegister(0x05, 0x33).ok());
    ASSERT_TRUE(camera->writeRegister(0x17, 10).ok()) << "outside window-h-start's range";
    ASSERT_TRUE(camera->set("sharpness", 9).ok()) << "the window control kept its value";
    const std::map<std::string_view, int32_t> controls = {
        {"brightness", 140}, {"contrast", 0x33}, {"format", 1},          {"size", 2},
        {"gain", 2},         {"auto-adjust", 0}, {"window-h-start", 86}, {"window-v-end", 180}};
    for (const auto& [name, want] : controls) {
        int32_t value = -1;
        ASSERT_TRUE(camera->get(name, value).ok());
        EXPECT_EQ(value, want) << name;
    }
    const std::map<uint8_t, uint8_t> registers = {{0x06, 140},  {0x05, 0x33}, {0x12, 0x2C},
                                                  {0x13, 0x20}, {0x0E, 0x97}, {0x17, 10}};
    for (const RegisterState& state : camera->registers()) {
        EXPECT_FALSE(state.pending) << int{state.address};
        if (registers.count(state.address)) {
            EXPECT_EQ(state.value, registers.at(state.address)) << int{state.address};
        }
    }
    uint8_t value = 0;
    EXPECT_EQ(camera->readRegister(0x00, value).code(), StatusCode::InvalidArgument);
    EXPECT_EQ(camera->writeRegister(256, 0).code(), StatusCode::InvalidArgument);
    ASSERT_TRUE(camera->reset().ok());
    int32_t format = -1;
    ASSERT_TRUE(camera->get("format", format).ok());
    EXPECT_EQ(format, 0);
    FrameInfo info;
    captured(*camera, PixelFormat::Rgb24, &info);
    EXPECT_EQ(info.width, 312u) << "reset leaves the default frame";
    EXPECT_EQ(info.sequence, 1u);
    std::vector<uint8_t> small(100);
    EXPECT_EQ(camera->capture(PixelFormat::Rgb24, small).code(), StatusCode::DoesNotFit);
}

// Told after every line: the rows it names are already the frame's final pixels, in the picture
// and the raw bytes alike, and the rows below are untouched.
TEST(Camera, ProgressNamesRowsThatAreAlreadyFinal) {
    struct Rows final : CaptureProgress {
        Rows() : CaptureProgress(std::chrono::microseconds(0)) {}
        void rowsArrived(uint32_t rows, uint32_t) override { check(rows); }
        std::function<void(uint32_t)> check;
    };
    for (const auto& [format, size] : {std::pair{0, 0}, {1, 0}, {1, 1}}) {
        SCOPED_TRACE(::testing::Message() << "format " << format << " size " << size);
        std::unique_ptr<Camera> camera = openSim();
        ASSERT_TRUE(camera->set({{{"format", format}, {"size", size}}}).ok());
        FrameInfo info;
        const std::vector<uint8_t> want = captured(*camera, PixelFormat::Rgb24, &info);
        const std::vector<uint8_t> wantRaw = captured(*camera, PixelFormat::Raw);
        const std::size_t row = 3 * std::size_t{info.width};
        std::vector<uint8_t> rgb(want.size(), 0xEE), raw(wantRaw.size(), 0xEE);
        const FrameTarget targets[] = {{PixelFormat::Rgb24, rgb.data(), rgb.size(), 0},
                                       {PixelFormat::Raw, raw.data(), raw.size(), 0}};
        std::vector<uint32_t> told;
        Rows progress;
        progress.check = [&](uint32_t rows) {
            told.push_back(rows);
            ASSERT_TRUE(std::equal(want.begin(), want.begin() + rows * row, rgb.begin()));
            ASSERT_TRUE(std::all_of(rgb.begin() + rows * row, rgb.end(),
                                    [](uint8_t b) { return b == 0xEE; }));
            const std::size_t rawRows = rows + (format == 1 && rows > 0 ? 1 : 0);
            ASSERT_TRUE(std::equal(wantRaw.begin(), wantRaw.begin() + rawRows * info.bytesPerLine,
                                   raw.begin()));
        };
        ASSERT_TRUE(camera->capture(targets, nullptr, &progress).ok());
        EXPECT_EQ(rgb, want);
        EXPECT_EQ(raw, wantRaw);
        ASSERT_EQ(told.size(), info.linesRead - 1);
        EXPECT_TRUE(std::is_sorted(told.begin(), told.end()));
        EXPECT_EQ(told.back(), info.height - (format == 1 ? 2 : 1));
    }
}

} // namespace
} // namespace orvane
