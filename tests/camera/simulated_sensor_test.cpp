// The simulated sensor as a camera user meets it: every sensor control moves the picture its
// way, the automatic loops bring the light back to their target, and a photon-transfer
// measurement on the module's own frames gives back the model's constants.
#include "orvane/camera.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

#include "camera/camera_parts.h"
#include "sim/frame_layout.h"
#include "sim/scene_sequence.h"
#include "sim/sensor_constants.h"
#include "sim/sensor_pipeline.h"
#include "support/captured_frame.h"

namespace orvane {
namespace {

using testing::captured;

// The picture's channel means, the temporal noise between two frames in a row, and the mean
// distance along the rows over which an edge rises from 10% to 90% of its step.
struct PictureFigures {
    std::array<double, 3> mean{};
    double noise = 0;
    double rise = 0;
};

double riseDistance(const std::vector<uint8_t>& rgb, const FrameInfo& info) {
    double total = 0;
    int rows = 0;
    for (uint32_t y = 0; y < info.height; ++y) {
        const auto green = [&](uint32_t x) { return double(rgb[y * info.stride + 3 * x + 1]); };
        constexpr uint32_t side = 16;
        double dark = 0, light = 0;
        for (uint32_t x = 0; x < side; ++x) {
            dark += green(x) / side;
            light += green(info.width - 1 - x) / side;
        }
        uint32_t x90 = 0;
        while (x90 < info.width && green(x90) < dark + 0.9 * (light - dark))
            ++x90;
        uint32_t x10 = x90;
        while (x10 > 0 && green(x10 - 1) > dark + 0.1 * (light - dark))
            --x10;
        total += x90 - x10;
        ++rows;
    }
    return total / rows;
}

PictureFigures figuresWith(const std::string& device, const std::function<void(Camera&)>& setup) {
    Status status;
    std::unique_ptr<Camera> camera = Camera::open(device, status);
    EXPECT_NE(camera, nullptr) << status.message();
    setup(*camera);
    FrameInfo info;
    const std::vector<uint8_t> rgb = captured(*camera, PixelFormat::Rgb24, &info);
    const std::vector<uint8_t> next = captured(*camera, PixelFormat::Rgb24);
    PictureFigures figures;
    double squares = 0;
    for (std::size_t i = 0; i < rgb.size(); ++i) {
        figures.mean[i % 3] += rgb[i] / double(rgb.size() / 3);
        squares += (rgb[i] - next[i]) * (rgb[i] - next[i]);
    }
    figures.noise = std::sqrt(squares / rgb.size() / 2);
    figures.rise = riseDistance(rgb, info);
    return figures;
}

// Every sensor control that is not the window moves the realistic picture in its direction, with
// the loops off; the reference frames ignore them all.
TEST(SimulatedSensor, EveryControlActsInItsDirection) {
    const auto luma = [](const PictureFigures& f) { return f.mean[0] + f.mean[1] + f.mean[2]; };
    const auto blue = [](const PictureFigures& f) { return f.mean[2] - f.mean[1]; };
    const auto red = [](const PictureFigures& f) { return f.mean[0] - f.mean[1]; };
    const auto noise = [](const PictureFigures& f) { return f.noise; };
    const auto rise = [](const PictureFigures& f) { return f.rise; };
    const std::string chart = "sim:scene=chart,lux=25,seed=3", edge = "sim:scene=edge,seed=3";
    const struct {
        const char* name;
        const std::string& device;
        std::function<void(Camera&)> setup;
        std::function<double(const PictureFigures&)> figure;
        double change; // at least, in the figure's direction
    } cases[] = {
        {"gain 2x", chart, [](Camera& c) { c.set("gain", 2); }, luma, 1},
        {"gain 2x, noise", chart, [](Camera& c) { c.set("gain", 2); }, noise, 0.05},
        {"gain register", chart, [](Camera& c) { c.writeRegister(0x00, 0x18); }, luma, 1},
        {"shorter exposure", chart, [](Camera& c) { c.writeRegister(0x10, 0x40); }, luma, -1},
        {"slower clock", chart, [](Camera& c) { c.set("clock-prescaler", 5); }, luma, 1},
        {"blue balance", chart, [](Camera& c) { c.writeRegister(0x01, 0xC0); }, blue, 1},
        {"red balance", chart, [](Camera& c) { c.writeRegister(0x02, 0x40); }, red, -1},
        {"blue bias", chart, [](Camera& c) { c.set("blue-bias", 40); }, blue, 1},
        {"red bias", chart, [](Camera& c) { c.set("red-bias", 40); }, red, 1},
        {"sharpness", edge, [](Camera& c) { c.set("sharpness", 255); }, rise, -0.1},
        {"softness", edge, [](Camera& c) { c.set("sharpness", 0); }, rise, 0.1},
    };
    // The rgb format keeps the scene's colours exactly.
    const auto manual = [](Camera& c) { c.set({{{"format", 1}, {"auto-adjust", 0}}}); };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto made = [&](Camera& camera) {
            manual(camera);
            c.setup(camera);
        };
        const double change =
            c.figure(figuresWith(c.device, made)) - c.figure(figuresWith(c.device, manual));
        EXPECT_GT(change / c.change, 1.0) << change;
        const std::string reference = c.device + ",reference";
        EXPECT_EQ(c.figure(figuresWith(reference, made)), c.figure(figuresWith(reference, manual)));
    }
}

// The mean of the luma bytes; every image byte is an output code, 16..240.
double meanLuma(const std::vector<uint8_t>& yuv, const FrameInfo& info) {
    const uint32_t imageBytes = info.bytesPerLine - yuvSpareBytesPerLine;
    double sum = 0;
    for (uint32_t line = 0; line < info.linesRead; ++line) {
        const uint8_t* bytes = yuv.data() + std::size_t{line} * info.bytesPerLine;
        const auto [least, most] = std::minmax_element(bytes, bytes + imageBytes);
        EXPECT_TRUE(*least >= lowestOutputCode && *most <= highestOutputCode) << line;
        for (uint32_t x = 1; x < imageBytes; x += 2)
            sum += bytes[x];
    }
    return sum / (double(info.linesRead) * imageBytes / 2);
}

// After each step of the light ramp the loops bring the mean luma back within 10% of their
// target inside 30 sensor frames: the exposure when the light rises, the gain once it falls past
// the longest exposure. Auto adjust off freezes what they reached and lets the host's writes in.
TEST(SimulatedSensor, AutoAdjustBringsTheLightBackToItsTargetAfterEachStep) {
    SimulatedCameraModule module(lightRampScene());
    Status status;
    std::unique_ptr<Camera> camera = CameraFactory::openOn(module, status, {});
    ASSERT_TRUE(status.ok()) << status.message();
    ASSERT_TRUE(camera->set("size", 1).ok()); // qcif: a capture every two sensor frames or so
    const double target =
        lowestOutputCode + lumaTarget * (highestOutputCode - lowestOutputCode) / 255.0;
    const uint64_t end = lightRampLevels.size() * lightRampFrames - 3;
    std::map<uint64_t, double> lumaOfFrame;
    while (module.sensorFrameServed() < end) {
        FrameInfo info;
        const std::vector<uint8_t> yuv = captured(*camera, PixelFormat::Raw, &info);
        lumaOfFrame[module.sensorFrameServed()] = meanLuma(yuv, info);
    }
    for (uint64_t start = lightRampFrames; start < end; start += lightRampFrames) {
        SCOPED_TRACE(start);
        EXPECT_GT(std::abs(lumaOfFrame.lower_bound(start)->second / target - 1), 0.1);
        const auto settled = lumaOfFrame.lower_bound(start + 30);
        ASSERT_NE(settled, lumaOfFrame.lower_bound(start + lightRampFrames));
        for (auto frame = settled; frame != lumaOfFrame.lower_bound(start + lightRampFrames);
             ++frame)
            EXPECT_NEAR(frame->second / target, 1.0, 0.1) << "frame " << frame->first;
    }
    std::array<uint8_t, 256> before{}, after{};
    ASSERT_TRUE(camera->moduleRegisters(before));
    EXPECT_EQ(before[0x10], 0xFF) << "a quarter of the light: the longest exposure";
    EXPECT_NE(before[0x00] & 0x3F, 0) << "and more gain";

    ASSERT_TRUE(camera->writeRegister(0x01, 0x20).ok());
    ASSERT_TRUE(camera->set("auto-adjust", 0).ok());
    ASSERT_TRUE(camera->moduleRegisters(before));
    EXPECT_NE(before[0x01], 0x20) << "the sensor keeps its balance while it adjusts";
    for (int i = 0; i < 20; ++i)
        captured(*camera, PixelFormat::Raw);
    ASSERT_TRUE(camera->writeRegister(0x02, 0x20).ok());
    ASSERT_TRUE(camera->moduleRegisters(after));
    EXPECT_GT(module.sensorFrameServed(), end + 20) << "the light has stepped up again";
    for (const int frozen : {0x00, 0x01, 0x10})
        EXPECT_EQ(after[frozen], before[frozen]) << frozen;
    EXPECT_EQ(after[0x02], 0x20);
}

struct TransferPoint {
    double mean;
    double variance; // temporal: half the variance of the difference of two frames
};

TransferPoint transferPoint(Camera& camera, int exposure) {
    EXPECT_TRUE(camera.writeRegister(0x10, exposure).ok());
    FrameInfo info;
    const std::vector<uint8_t> a = captured(camera, PixelFormat::Raw, &info);
    const std::vector<uint8_t> b = captured(camera, PixelFormat::Raw);
    double sum = 0, difference = 0, squares = 0, count = 0;
    for (uint32_t line = 0; line < info.linesRead; ++line) {
        for (uint32_t x = 0; x + rgbSpareBytesPerLine < info.bytesPerLine; ++x) {
            const std::size_t i = std::size_t{line} * info.bytesPerLine + x;
            sum += a[i] + b[i];
            difference += a[i] - b[i];
            squares += (a[i] - b[i]) * (a[i] - b[i]);
            ++count;
        }
    }
    const double meanDifference = difference / count;
    return {sum / (2 * count), (squares / count - meanDifference * meanDifference) / 2};
}

// The flat field's mosaic at the highest gain, with the loops and the gamma curve off: the slope
// of temporal variance over mean is the conversion gain onto the output codes, and the variance of
// a pair taken with no exposure at all, less the rounding's 1/12, is the read noise.
TEST(SimulatedSensor, PhotonTransferGivesBackTheConversionGainAndReadNoise) {
    Status status;
    std::unique_ptr<Camera> camera = Camera::open("sim:scene=flat,seed=11", status);
    ASSERT_NE(camera, nullptr) << status.message();
    ASSERT_TRUE(
        camera->set({{{"format", 1}, {"auto-adjust", 0}, {"gain", 2}, {"saturation", 128}}}).ok());
    uint8_t commonC = 0;
    ASSERT_TRUE(camera->readRegister(0x14, commonC).ok());
    ASSERT_TRUE(camera->writeRegister(0x14, commonC & ~gammaEnableBit).ok());
    ASSERT_TRUE(camera->writeRegister(0x00, 0x3F).ok()); // 7.75, and 15.5 with the 2x stage
    const double codesPerElectron =
        conversionGain * 15.5 * (highestOutputCode - lowestOutputCode) / double(adcMaxCode);

    const TransferPoint dark = transferPoint(*camera, 0);
    double n = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (const int exposure : {4, 12, 20, 32, 44, 56, 68, 80}) {
        const TransferPoint p = transferPoint(*camera, exposure);
        n += 1;
        sx += p.mean;
        sy += p.variance;
        sxx += p.mean * p.mean;
        sxy += p.mean * p.variance;
    }
    const double slope = (n * sxy - sx * sy) / (n * sxx - sx * sx);
    EXPECT_NEAR(slope / codesPerElectron, 1.0, 0.05);
    const double readNoise = std::sqrt(dark.variance - 1.0 / 12) / slope;
    EXPECT_NEAR(readNoise / readNoiseElectrons, 1.0, 0.10) << readNoise;
}

} // namespace
} // namespace orvane

namespace orvane {
namespace {

// Each fault of the module as a capture meets it: what fails says what was seen, with the bytes
// still delivered; what a capture cannot tell apart (a stuck line, a deaf sensor) passes, and so
// does every healthy scene, in the dark as well.
TEST(SimulatedSensor, AFrameFromNothingIsNoSignalAndNoSceneIsTakenForOne) {
    const struct {
        std::string device;
        StatusCode code;
        std::string text;
    } cases[] = {
        {"sim:fault=absent", StatusCode::NoSignal,
         "every byte of the frame read 0xFF: nothing drives the data lines; check the cable"},
        {"sim:fault=unpowered", StatusCode::NoSignal, "read 0x00: the module does not answer"},
        {"sim:fault=no-turnaround,fault=stuck-high:6", StatusCode::NoSignal,
         "read 0x40: the port drives its own data lines"},
        {"sim:fault=short-frame", StatusCode::NoSignal,
         "the frame's last 104 of 208 lines read 0xFF (from line 104 on): the module stopped"},
        {"sim:fault=stuck-low:3,fault=stuck-high:5", StatusCode::Ok, ""},
        {"sim:fault=deaf", StatusCode::Ok, ""},
        {"sim:scene=card,lux=0", StatusCode::Ok, ""},
        {"sim:scene=edge,lux=0,noise=off", StatusCode::Ok, ""},
        {"sim:scene=flat,reference", StatusCode::Ok, ""},
    };
    for (const auto& c : cases) {
        for (const int format : {0, 1}) {
            SCOPED_TRACE(c.device + (format == 1 ? " rgb" : " yuv"));
            Status status;
            std::unique_ptr<Camera> camera = Camera::open(c.device, status);
            ASSERT_NE(camera, nullptr) << status.message();
            ASSERT_TRUE(camera->set("format", format).ok());
            FrameLayout layout;
            ASSERT_TRUE(camera->layout(PixelFormat::Raw, layout).ok());
            std::vector<uint8_t> raw(layout.bytes, 0x5A);
            status = camera->capture(PixelFormat::Raw, raw);
            EXPECT_EQ(status.code(), c.code) << status.message();
            if (format == 0) { // the yuv window: 208 lines
                EXPECT_NE(status.message().find(c.text), std::string::npos) << status.message();
            }
            if (c.device == "sim:fault=absent") {
                EXPECT_EQ(std::count(raw.begin(), raw.end(), 0xFF), std::ptrdiff_t(raw.size()));
            }
        }
    }
}

} // namespace
} // namespace orvane
