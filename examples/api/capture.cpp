// Opens the camera ORVANE_PORT names (the simulated one when it is unset), sets brightness and
// contrast, captures one frame and writes it as capture.ppm in the current folder.
#include <orvane/camera.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

int main() {
    const char* device = std::getenv("ORVANE_PORT");
    orvane::Status status;
    auto camera = orvane::Camera::open(device != nullptr ? device : "sim", status);
    if (!camera) {
        std::fprintf(stderr, "capture: %s\n", status.message().c_str());
        return 1;
    }
    status = camera->set({{{"brightness", 150}, {"contrast", 40}}});
    orvane::FrameLayout layout;
    if (status)
        status = camera->layout(orvane::PixelFormat::Rgb24, layout);
    std::vector<uint8_t> pixels(layout.bytes);
    if (status)
        status = camera->capture(orvane::PixelFormat::Rgb24, pixels);
    if (!status) {
        std::fprintf(stderr, "capture: %s\n", status.message().c_str());
        return 1;
    }
    std::ofstream ppm("capture.ppm", std::ios::binary);
    ppm << "P6\n" << layout.width << ' ' << layout.height << "\n255\n";
    ppm.write(reinterpret_cast<const char*>(pixels.data()), std::streamsize(pixels.size()));
    return ppm ? 0 : 1;
}
