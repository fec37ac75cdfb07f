// The two conversions side by side with their anchors (libyuv YUY2ToARGB, OpenCV's Bayer to BGR
// on one thread, with the mosaic's own pattern) and with a memory-bound floor of the same
// traffic (each raw line read, three rows written), timed on the same buffers in the same
// iteration, as project / anchor and project / floor ratios.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <libyuv/convert_argb.h>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include "image/frame_buffers.h"
#include "image/rgb_planes.h"
#include "image/yuv422_to_rgb.h"
#include "sim/frame_renderer.h"
#include "sim/scene.h"

namespace orvane {
namespace {

struct Size {
    uint32_t width;
    uint32_t height;
};

// CIF YUV, QCIF, the largest mosaic window, VGA.
constexpr Size sizes[] = {{312, 208}, {176, 144}, {624, 482}, {640, 480}};

enum class Content { random, scene };

double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

void fillRandom(std::span<uint8_t> bytes) {
    std::mt19937 generator(20261209);
    for (uint8_t& byte : bytes)
        byte = static_cast<uint8_t>(generator());
}

Rgb scenePixel(const Scene& scene, Size size, uint32_t x, uint32_t y) {
    return scene.pixel(x * scene.width() / size.width, y * scene.height() / size.height);
}

// The built-in scene as the camera sends it in YUV: V, Y, U, Y per pixel pair.
void fillSceneYuv(std::vector<uint8_t>& frame, Size size, uint32_t bytesPerLine) {
    const Scene scene = builtinScene();
    for (uint32_t y = 0; y < size.height; ++y) {
        for (uint32_t x = 0; x < size.width; x += 2) {
            const YuvSample left = toYuv(scenePixel(scene, size, x, y), neutralAdjustment);
            const YuvSample right = toYuv(scenePixel(scene, size, x + 1, y), neutralAdjustment);
            uint8_t* group = frame.data() + std::size_t{y} * bytesPerLine + 2 * x;
            group[0] = left.v;
            group[1] = left.y;
            group[2] = left.u;
            group[3] = right.y;
        }
    }
}

// The built-in scene as the colour mosaic: even lines green, blue; odd lines red, green.
void fillSceneMosaic(std::span<uint8_t> frame, Size size, uint32_t bytesPerLine) {
    const Scene scene = builtinScene();
    for (uint32_t y = 0; y < size.height; ++y) {
        for (uint32_t x = 0; x < size.width; ++x) {
            const Rgb pixel = scenePixel(scene, size, x, y);
            const bool evenLine = y % 2 == 0;
            const bool evenPixel = x % 2 == 0;
            frame[std::size_t{y} * bytesPerLine + x] = evenLine == evenPixel ? pixel.green
                                                       : evenLine            ? pixel.blue
                                                                             : pixel.red;
        }
    }
}

// The floor: every raw line read and copied into a row of each plane, nothing computed.
void copyFloor(std::span<const uint8_t> raw, uint32_t bytesPerLine, Size size, uint8_t* red,
               uint8_t* green, uint8_t* blue) {
    const std::size_t rowBytes = std::min<std::size_t>(size.width, bytesPerLine);
    for (std::size_t y = 0; y < size.height; ++y) {
        const uint8_t* line = raw.data() + y * bytesPerLine;
        for (uint8_t* plane : {red, green, blue})
            std::memcpy(plane + y * size.width, line, rowBytes);
    }
    benchmark::DoNotOptimize(red);
}

// Runs project, anchor and floor once each per iteration and reports them and the ratios.
void timePair(benchmark::State& state, const std::function<void()>& project,
              const std::function<void()>& anchor, const std::function<void()>& floor, Size size) {
    double projectSeconds = 0;
    double anchorSeconds = 0;
    double floorSeconds = 0;
    for (auto _ : state) {
        const double start = threadSeconds();
        project();
        const double middle = threadSeconds();
        anchor();
        const double anchored = threadSeconds();
        floor();
        floorSeconds += threadSeconds() - anchored;
        anchorSeconds += anchored - middle;
        projectSeconds += middle - start;
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["project_us"] = 1e6 * projectSeconds / iterations;
    state.counters["anchor_us"] = 1e6 * anchorSeconds / iterations;
    state.counters["floor_us"] = 1e6 * floorSeconds / iterations;
    state.counters["ratio"] = projectSeconds / anchorSeconds;
    state.counters["floor_ratio"] = projectSeconds / floorSeconds;
    state.counters["project_ns_per_pixel"] =
        1e9 * projectSeconds / iterations / (static_cast<double>(size.width) * size.height);
}

void yuvPair(benchmark::State& state, Size size, Content content) {
    const uint32_t bytesPerLine = 2 * size.width + 2;
    std::vector<uint8_t> frame(std::size_t{bytesPerLine} * size.height);
    if (content == Content::random)
        fillRandom(frame);
    else
        fillSceneYuv(frame, size, bytesPerLine);
    const std::size_t pixels = std::size_t{size.width} * size.height;
    std::vector<uint8_t> green(2 * pixels), blue(2 * pixels), red(2 * pixels), argb(4 * pixels);
    timePair(
        state,
        [&] {
            Yuv422ToRgb(frame, green, blue, red, size.height, size.width, bytesPerLine);
            benchmark::DoNotOptimize(red.data());
        },
        [&] {
            libyuv::YUY2ToARGB(frame.data(), static_cast<int>(bytesPerLine), argb.data(),
                               static_cast<int>(4 * size.width), static_cast<int>(size.width),
                               static_cast<int>(size.height));
            benchmark::DoNotOptimize(argb.data());
        },
        [&] {
            copyFloor(frame, bytesPerLine, {2 * size.width, size.height}, red.data(), green.data(),
                      blue.data());
        },
        size);
}

void mosaicPair(benchmark::State& state, Size size, Content content) {
    // Apply settings gives imageWidth + 3 bytes per line; VGA lines are kept to the line buffers.
    const uint32_t bytesPerLine =
        size.width + 3 <= lineBufferSize ? size.width + 3 : static_cast<uint32_t>(size.width);
    FrameBuffers buffers;
    if (!buffers.allocate()) {
        state.SkipWithError("no memory for the frame buffers");
        return;
    }
    const std::span<uint8_t> raw = buffers.rawFrame();
    if (content == Content::random)
        fillRandom(raw);
    else
        fillSceneMosaic(raw, size, bytesPerLine);
    const FrameGeometry geometry{size.width, size.height, size.height, bytesPerLine};
    const cv::Mat mosaic(static_cast<int>(size.height), static_cast<int>(size.width), CV_8UC1,
                         raw.data(), bytesPerLine);
    cv::Mat bgr(static_cast<int>(size.height), static_cast<int>(size.width), CV_8UC3);
    cv::setNumThreads(1);
    std::vector<uint8_t> floorPlanes(3 * std::size_t{size.width} * size.height);
    timePair(
        state,
        [&] {
            reconstructRgbPlanes(buffers, geometry);
            benchmark::DoNotOptimize(buffers.redPlane().data());
        },
        [&] {
            // OpenCV names a pattern by the second row's second and third pixels: G, R here.
            cv::cvtColor(mosaic, bgr, cv::COLOR_BayerGR2BGR);
            benchmark::DoNotOptimize(bgr.data);
        },
        [&] {
            const std::size_t plane = std::size_t{size.width} * size.height;
            copyFloor(raw, bytesPerLine, size, floorPlanes.data(), floorPlanes.data() + plane,
                      floorPlanes.data() + 2 * plane);
        },
        size);
}

std::string rowName(const char* pair, Size size, Content content) {
    return std::string(pair) + "/" + std::to_string(size.width) + "x" +
           std::to_string(size.height) + (content == Content::random ? "/random" : "/scene");
}

int registerPairs() {
    for (const Size size : sizes) {
        for (const Content content : {Content::random, Content::scene}) {
            benchmark::RegisterBenchmark(rowName("Yuv422ToRgb_vs_libyuv", size, content).c_str(),
                                         yuvPair, size, content);
            benchmark::RegisterBenchmark(rowName("RgbPlanes_vs_OpenCV", size, content).c_str(),
                                         mosaicPair, size, content);
        }
    }
    return 0;
}

const int registered = registerPairs();

} // namespace
} // namespace orvane
