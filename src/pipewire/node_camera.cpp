// The node's camera: settings checked on a planning camera, the device open per consumer.
#include "node_camera.h"

#include <algorithm>

namespace orvane {
namespace {

constexpr std::string_view backendPrefix = "port backend: ";

std::string sizeText(const FrameLayout& layout) {
    return std::to_string(layout.width) + "x" + std::to_string(layout.height);
}

// The values in force as settings; a choice that only shows (the rgb format's own window) is
// left to the settings that give it.
std::vector<ControlSetting> settingsInForce(const Camera& camera) {
    std::vector<ControlSetting> settings;
    for (const ControlInfo& info : camera.controls()) {
        int32_t value = info.defaultValue;
        if (!camera.get(info.name, value))
            continue;
        if (std::none_of(info.choices.begin(), info.choices.end(),
                         [&](const ControlChoice& c) { return c.value == value && !c.selectable; }))
            settings.push_back({info.name, value});
    }
    return settings;
}

} // namespace

NodeCamera::NodeCamera(std::string device, CameraOptions options, std::unique_ptr<Camera> planner,
                       std::string portName)
    : deviceName_(std::move(device)), options_(std::move(options)), planner_(std::move(planner)),
      portName_(std::move(portName)) {}

std::unique_ptr<NodeCamera> NodeCamera::create(const std::string& device,
                                               const CameraOptions& options, Status& status) {
    CameraOptions checking = options;
    checking.configure = false;
    std::unique_ptr<Camera> opened = Camera::open(device, status, checking);
    if (opened == nullptr)
        return nullptr;
    const Status warning = status;
    std::string portName = opened->description();
    if (portName.starts_with(backendPrefix))
        portName.erase(0, backendPrefix.size());
    opened.reset();
    // The library's rules, on a module that answers nothing anyone sees.
    CameraOptions planning;
    planning.configure = false;
    std::unique_ptr<Camera> planner = Camera::open("sim:reference", status, planning);
    if (planner == nullptr)
        return nullptr;
    status = warning;
    return std::unique_ptr<NodeCamera>(
        new NodeCamera(device, options, std::move(planner), std::move(portName)));
}

std::vector<NodeFrameSize> NodeCamera::sizes() const {
    std::vector<NodeFrameSize> sizes;
    FrameLayout inForce;
    if (planner_->layout(PixelFormat::Rgb24, inForce))
        sizes.push_back({inForce.width, inForce.height, std::nullopt});
    const ControlInfo* size = findControl("size");
    int32_t current = 0;
    if (size == nullptr || !planner_->get(size->name, current))
        return sizes;
    for (const ControlChoice& choice : size->choices) {
        const ControlSetting setting{size->name, choice.value};
        FrameLayout layout;
        if (!choice.selectable || choice.value == current ||
            !planner_->layoutWith({&setting, 1}, PixelFormat::Rgb24, layout))
            continue;
        if (std::none_of(sizes.begin(), sizes.end(), [&](const NodeFrameSize& known) {
                return known.width == layout.width && known.height == layout.height;
            }))
            sizes.push_back({layout.width, layout.height, choice.value});
    }
    return sizes;
}

std::vector<int32_t> NodeCamera::values() const {
    std::vector<int32_t> values;
    for (const ControlInfo& info : planner_->controls()) {
        int32_t value = info.defaultValue;
        planner_->get(info.name, value);
        values.push_back(value);
    }
    return values;
}

Status NodeCamera::change(std::span<const ControlSetting> settings) {
    FrameLayout after;
    if (Status status = planner_->layoutWith(settings, PixelFormat::Rgb24, after); !status)
        return status;
    if (held_ && (after.width != held_->width || after.height != held_->height))
        return {StatusCode::Refused,
                "that would change the frames from " + sizeText(*held_) + " to " + sizeText(after) +
                    " while a program shows the camera; choose the size in the program, or "
                    "change it while none does"};
    if (Status status = planner_->set(settings); !status)
        return status;
    if (device_ != nullptr)
        return device_->set(settings);
    return {};
}

Status NodeCamera::hold(uint32_t width, uint32_t height) {
    // A consumer that chooses again is held to its new choice alone.
    held_.reset();
    for (const NodeFrameSize& size : sizes()) {
        if (size.width != width || size.height != height)
            continue;
        if (size.sizeChoice) {
            const ControlSetting setting{"size", *size.sizeChoice};
            if (Status status = change({&setting, 1}); !status)
                return status;
        }
        held_ = FrameLayout{width, height, 0, 0};
        return {};
    }
    return {StatusCode::DoesNotFit, std::to_string(width) + "x" + std::to_string(height) +
                                        " is none of the camera's frame sizes"};
}

Status NodeCamera::start() {
    Status status;
    device_ = Camera::open(deviceName_, status, options_);
    if (device_ == nullptr)
        return status;
    const std::vector<ControlSetting> settings = settingsInForce(*planner_);
    if (status = device_->set(settings); !status) {
        device_.reset();
        return status;
    }
    return {};
}

} // namespace orvane
