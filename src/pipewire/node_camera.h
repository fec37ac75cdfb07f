// NodeCamera: the camera as the PipeWire node serves it. Its settings live in a planning camera
// on the simulated module, which checks every change by the library's own rules and drives no
// port; the device itself is open only while a consumer takes frames, and is given the settings
// in force as it opens.
#pragma once

#include <orvane/camera.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace orvane {

// A frame size a consumer may choose, and the size control's choice that gives it (none: the
// window in force).
struct NodeFrameSize {
    uint32_t width;
    uint32_t height;
    std::optional<int32_t> sizeChoice;
};

class NodeCamera {
public:
    // Opens device once to learn that it opens, sending nothing, and closes it again; null, with
    // the Camera's text, when it does not open. A camera with a status that is not ok opened
    // with a warning (the status's text).
    static std::unique_ptr<NodeCamera> create(const std::string& device,
                                              const CameraOptions& options, Status& status);

    // "simulated module", or the port the device drives ("ppdev on /dev/parport0").
    const std::string& portName() const { return portName_; }

    // The window in force first, then the size control's other choices.
    std::vector<NodeFrameSize> sizes() const;
    // The values in force, in the control list's order.
    std::vector<int32_t> values() const;
    // Applies settings as Camera::set does, to the open device too. While a consumer holds a
    // frame size, a change that would give frames of another size is refused: the consumer
    // agreed to that size alone.
    Status change(std::span<const ControlSetting> settings);

    // Takes the size a consumer chose (setting the size control when another choice gives it)
    // and holds it until release().
    Status hold(uint32_t width, uint32_t height);
    void release() { held_.reset(); }

    // Opens the device and sends the settings in force; stop() closes it.
    Status start();
    void stop() { device_.reset(); }
    Camera* device() { return device_.get(); }

private:
    NodeCamera(std::string device, CameraOptions options, std::unique_ptr<Camera> planner,
               std::string portName);

    std::string deviceName_;
    CameraOptions options_;
    std::unique_ptr<Camera> planner_;
    std::unique_ptr<Camera> device_;
    std::string portName_;
    std::optional<FrameLayout> held_;
};

} // namespace orvane
