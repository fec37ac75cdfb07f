// Fuzzes orvane::Camera's public calls on the simulated module: any sequence of sets, register
// writes, resets, layouts and captures with any values, formats, sizes and strides comes back as
// a Status, never touches memory it was not given, and leaves every register the camera calls
// sent equal to what the module's sensor holds, and every capture the shape the module served.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "camera/camera_parts.h"

namespace {

// The fuzzer's bytes, read from the front; zeros once they run out.
class Input {
public:
    Input(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool empty() const { return used_ >= size_; }
    uint64_t take(std::size_t bytes) {
        uint64_t value = 0;
        for (std::size_t i = 0; i < bytes; ++i)
            value = value << 8 | (used_ < size_ ? data_[used_++] : 0);
        return value;
    }

private:
    const uint8_t* data_;
    std::size_t size_;
    std::size_t used_ = 0;
};

constexpr std::size_t largestMemory = 1 << 21;

void check(bool holds) {
    if (!holds)
        __builtin_trap();
}

void checkSensorAgrees(const orvane::Camera& camera) {
    std::array<uint8_t, 256> held{};
    check(camera.moduleRegisters(held));
    for (const orvane::RegisterState& state : camera.registers())
        check(state.pending || state.value == held[state.address]);
}

// A capture into memory of the size asked for (at most largestMemory), with any stride.
void capture(orvane::Camera& camera, const orvane::SimulatedCameraModule& module, Input& input) {
    const std::size_t targetCount = input.take(1) % 4;
    std::vector<std::vector<uint8_t>> memories(targetCount);
    std::vector<orvane::FrameTarget> targets;
    for (std::vector<uint8_t>& memory : memories) {
        const auto format = static_cast<orvane::PixelFormat>(input.take(1) % 8);
        memory.resize(input.take(3) % largestMemory);
        const std::size_t stride = input.take(1) % 2 == 0 ? input.take(2) : input.take(8);
        const bool null = input.take(1) % 16 == 0;
        targets.push_back({format, null ? nullptr : memory.data(), memory.size(), stride});
    }
    const uint32_t frames = module.framesStarted();
    orvane::FrameInfo info;
    const orvane::Status status = camera.capture(targets, &info);
    check(status.ok() == (module.framesStarted() == frames + 1));
    if (status)
        check(info.bytesPerLine == module.frameLayout().bytesPerLine &&
              info.linesRead == module.frameLayout().lines);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    Input input(data, size);
    orvane::SimulatedCameraModule module{orvane::referenceModel};
    orvane::Status status;
    std::unique_ptr<orvane::Camera> camera = orvane::CameraFactory::openOn(module, status, {});
    check(camera != nullptr);
    const auto controls = orvane::controlList();
    for (int step = 0; step < 64 && !input.empty(); ++step) {
        const auto name = controls[input.take(1) % controls.size()].name;
        const auto value = static_cast<int32_t>(static_cast<int16_t>(input.take(2)));
        orvane::FrameLayout layout;
        switch (input.take(1) % 7) {
        case 0:
            camera->set(name, value);
            break;
        case 1: {
            const orvane::ControlSetting settings[] = {
                {name, value}, {controls[input.take(1) % controls.size()].name, value / 2}};
            camera->set(settings);
            break;
        }
        case 2:
            camera->writeRegister(static_cast<int>(input.take(1)) - 8, value);
            break;
        case 3:
            // The sensor's soft reset by register: reset() itself waits 216 ms for the sensor.
            camera->writeRegister(0x12, 0x80 | (value & 0x7F));
            break;
        case 4: {
            const orvane::ControlSetting setting{name, value};
            camera->layoutWith({&setting, 1}, static_cast<orvane::PixelFormat>(input.take(1)),
                               layout);
            break;
        }
        case 5:
            camera->layout(static_cast<orvane::PixelFormat>(input.take(1)), layout);
            break;
        default:
            capture(*camera, module, input);
            break;
        }
        checkSensorAgrees(*camera);
    }
    return 0;
}
