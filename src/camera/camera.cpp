// orvane::Camera over the CameraDevice: controls by name, reset and registers.
#include "orvane/camera.h"

#include <algorithm>
#include <optional>

#include "camera/camera_parts.h"
#include "resources/build_version.h"

namespace orvane {
namespace {

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::string rangeText(const ControlInfo& info) {
    if (info.choices.empty())
        return std::to_string(info.minimum) + " to " + std::to_string(info.maximum);
    std::string names;
    for (const ControlChoice& choice : info.choices) {
        if (choice.selectable)
            names += (names.empty() ? "" : ", ") + std::to_string(choice.value) + " (" +
                     std::string(choice.name) + ")";
    }
    return names;
}

// The value a setting may take, checked before anything changes.
Status checkSetting(const ControlSetting& setting, const ControlRow*& row) {
    row = findControlRow(setting.name);
    if (row == nullptr) {
        std::string names;
        for (const ControlRow& known : controlTable)
            names += (names.empty() ? "" : ", ") + std::string(known.info.name);
        return {StatusCode::UnknownControl,
                "no control is named " + quoted(setting.name) + "; the controls are " + names};
    }
    const ControlInfo& info = row->info;
    const std::string allowed = std::string(info.name) + " takes " + rangeText(info);
    if (info.choices.empty()) {
        if (setting.value < info.minimum || setting.value > info.maximum)
            return {StatusCode::OutOfRange,
                    std::to_string(setting.value) + " is outside the range: " + allowed};
        return {};
    }
    for (const ControlChoice& choice : info.choices) {
        if (choice.value != setting.value)
            continue;
        if (!choice.selectable)
            return {StatusCode::Refused, std::string(info.name) + " " + std::string(choice.name) +
                                             " cannot be chosen: " + allowed};
        return {};
    }
    return {StatusCode::OutOfRange, std::to_string(setting.value) + " is not a choice: " + allowed};
}

// The first paragraph of an operator's text: what was wrong, without what the panel does next.
std::string_view firstParagraph(std::string_view text) {
    return text.substr(0, text.find("\n\n"));
}

} // namespace

Camera::Parts::Parts(OpenedPort openedPort, std::unique_ptr<VcdRecorder> portRecorder, PortIo& port,
                     TraceOutput* output)
    : opened(std::move(openedPort)), recorder(std::move(portRecorder)), trace(output),
      device(port, trace, ticks) {}

int32_t Camera::Parts::value(const ControlRow& row) const {
    if (row.bindings.empty())
        return fields.of(row.info.registers[0].address);
    const uint8_t mode = device.shadow.mode.*row.mode;
    for (std::size_t i = 0; i < row.bindings.size(); ++i) {
        if (row.bindings[i].modeValue == mode)
            return row.info.choices[i].value;
    }
    return row.info.defaultValue;
}

Status Camera::Parts::change(const ControlRow& row, int32_t value) {
    if (value == this->value(row))
        return {};
    if (row.bindings.empty()) {
        const uint8_t address = row.info.registers[0].address;
        fields.of(address) = value;
        device.shadow.reg(address).pending = 1;
        return {};
    }
    std::size_t choice = 0;
    while (row.info.choices[choice].value != value)
        ++choice;
    const SelectorPlan plan = planSelector(row.bindings[choice].selector, device.shadow);
    if (plan.refusal != SelectorRefusal::None)
        return {StatusCode::Refused, std::string(row.info.name) + ": " + std::string(plan.text)};
    device.keep(plan);
    writeWindows(plan, fields);
    return {};
}

Status Camera::Parts::apply() {
    ApplyPlan plan;
    if (Status status = this->plan(plan); !status)
        return status;
    device.send(plan);
    device.keep(plan);
    return {};
}

Status Camera::Parts::plan(ApplyPlan& plan) const {
    plan = planApply(device.shadow, fields);
    if (!plan.corrections.empty()) {
        const WindowCorrection& problem = plan.corrections.front();
        return {StatusCode::Refused, std::string(firstParagraph(problem.text)) + " (window " +
                                         std::to_string(fields.of(0x17)) + " to " +
                                         std::to_string(fields.of(0x18)) + " by " +
                                         std::to_string(fields.of(0x19)) + " to " +
                                         std::to_string(fields.of(0x1A)) + ")"};
    }
    return {};
}

std::unique_ptr<Camera> CameraFactory::open(std::string_view device, Status& status,
                                            const CameraOptions& options) {
    std::optional<std::string_view> scene;
    if (!options.scene.empty())
        scene = options.scene;
    std::optional<std::string_view> pace;
    if (!options.simulatedPace.empty())
        pace = options.simulatedPace;
    OpenedPort opened = openPort(device, scene, pace);
    if (!opened.port) {
        status = opened.status;
        return nullptr;
    }
    return start(std::move(opened), nullptr, status, options);
}

std::unique_ptr<Camera> CameraFactory::openOn(PortIo& port, Status& status,
                                              const CameraOptions& options) {
    return start(OpenedPort{}, &port, status, options);
}

std::unique_ptr<Camera> CameraFactory::start(OpenedPort opened, PortIo* borrowed, Status& status,
                                             const CameraOptions& options) {
    PortIo& port = borrowed != nullptr ? *borrowed : *opened.port;
    std::unique_ptr<VcdRecorder> recorder;
    if (!options.recording.empty()) {
        VcdRecorder::Created created =
            VcdRecorder::create(port, options.recording, options.recordingLimit);
        if (created.recorder == nullptr) {
            status = {StatusCode::FileError, created.error};
            return nullptr;
        }
        recorder = std::move(created.recorder);
    }
    PortIo& driven = recorder != nullptr ? *recorder : port;
    const SimulatedCameraModule* module =
        borrowed != nullptr ? dynamic_cast<const SimulatedCameraModule*>(borrowed) : opened.module;
    auto parts = std::make_unique<Camera::Parts>(std::move(opened), std::move(recorder), driven,
                                                 options.trace);
    parts->module = module;
    if (!parts->device.open()) {
        status = {StatusCode::NoMemory, "not enough memory for the frame buffers; close other "
                                        "programs and start again"};
        return nullptr;
    }
    // The panel's edits are written as it opens, so their registers are due; the free register
    // is the panel's own and stays out.
    for (const RegisterTableRow& row : registerTable) {
        if (row.source == ValueSource::Edit)
            parts->device.shadow.reg(row.subAddress).pending = 1;
    }
    status = options.configure ? parts->apply() : Status{};
    return std::unique_ptr<Camera>(new Camera(std::move(parts)));
}

std::unique_ptr<Camera> Camera::open(std::string_view device, Status& status,
                                     const CameraOptions& options) {
    return CameraFactory::open(device, status, options);
}

Camera::Camera(std::unique_ptr<Parts> parts) : parts_(std::move(parts)) {}

Camera::~Camera() = default;

const std::string& Camera::description() const {
    return parts_->opened.description;
}

std::string Camera::recordingPath() const {
    return parts_->recorder != nullptr ? parts_->recorder->path().string() : std::string();
}

RecordingState Camera::recordingState() const {
    const VcdRecorder* recorder = parts_->recorder.get();
    if (recorder == nullptr)
        return RecordingState::None;
    if (recorder->failed())
        return RecordingState::Failed;
    if (recorder->limitReached())
        return RecordingState::LimitReached;
    return recorder->isOpen() ? RecordingState::Recording : RecordingState::None;
}

Status Camera::finishRecording() {
    if (parts_->recorder == nullptr || parts_->recorder->close())
        return {};
    return {StatusCode::FileError, parts_->recorder->path().string() +
                                       ": the recording could not be written completely (disk "
                                       "full?)"};
}

std::span<const ControlInfo> Camera::controls() const {
    return controlList();
}

Status Camera::get(std::string_view name, int32_t& value) const {
    const ControlRow* row = findControlRow(name);
    if (row == nullptr)
        return {StatusCode::UnknownControl, "no control is named " + quoted(name)};
    value = parts_->value(*row);
    return {};
}

Status Camera::set(std::string_view name, int32_t value) {
    const ControlSetting setting{name, value};
    return set(std::span<const ControlSetting>(&setting, 1));
}

Status Camera::Parts::ordered(std::span<const ControlSetting> settings,
                              std::vector<std::pair<const ControlRow*, int32_t>>& changes) {
    for (const ControlSetting& setting : settings) {
        const ControlRow* row = nullptr;
        if (Status status = checkSetting(setting, row); !status)
            return status;
        changes.emplace_back(row, setting.value);
    }
    std::stable_sort(changes.begin(), changes.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    return {};
}

Status Camera::layoutWith(std::span<const ControlSetting> settings, PixelFormat format,
                          FrameLayout& layout) const {
    std::vector<std::pair<const ControlRow*, int32_t>> changes;
    if (Status status = Parts::ordered(settings, changes); !status)
        return status;
    // The settings are made on the state and taken back; nothing is sent.
    Parts& parts = *parts_;
    const RegisterShadow shadow = parts.device.shadow;
    const SensorFields fields = parts.fields;
    const FrameGeometry geometry = parts.device.geometry;
    Status status;
    for (const auto& [row, value] : changes) {
        if (status = parts.change(*row, value); !status)
            break;
    }
    ApplyPlan plan;
    if (status)
        status = parts.plan(plan);
    if (status) {
        parts.device.keep(plan);
        status = this->layout(format, layout);
    }
    parts.device.shadow = shadow;
    parts.fields = fields;
    parts.device.geometry = geometry;
    return status;
}

Status Camera::set(std::span<const ControlSetting> settings) {
    std::vector<std::pair<const ControlRow*, int32_t>> changes;
    if (Status status = Parts::ordered(settings, changes); !status)
        return status;

    // A refusal anywhere leaves everything as it was.
    const RegisterShadow shadow = parts_->device.shadow;
    const SensorFields fields = parts_->fields;
    const FrameGeometry geometry = parts_->device.geometry;
    Status status;
    for (const auto& [row, value] : changes) {
        if (status = parts_->change(*row, value); !status)
            break;
    }
    if (status)
        status = parts_->apply();
    if (!status) {
        parts_->device.shadow = shadow;
        parts_->fields = fields;
        parts_->device.geometry = geometry;
    }
    return status;
}

Status Camera::reset() {
    CameraDevice& device = parts_->device;
    device.reset();
    parts_->fields = SensorFields{};
    for (const RegisterTableRow& row : registerTable) {
        if (row.source == ValueSource::Edit)
            device.shadow.reg(row.subAddress).pending = 1;
    }
    return parts_->apply();
}

std::vector<RegisterState> Camera::registers() const {
    std::vector<RegisterState> states;
    states.reserve(registerTable.size());
    for (const RegisterTableRow& row : registerTable) {
        const ShadowEntry& entry = parts_->device.shadow.reg(row.subAddress);
        const uint8_t value = row.source == ValueSource::Stored
                                  ? entry.value
                                  : static_cast<uint8_t>(parts_->fields.of(row.subAddress));
        states.push_back(
            {row.subAddress, row.name, row.meaning, value, row.defaultValue, entry.pending == 1});
    }
    return states;
}

bool Camera::moduleRegisters(std::array<uint8_t, 256>& values) const {
    if (parts_->module == nullptr)
        return false;
    values = parts_->module->sensor().registers();
    return true;
}

Status Camera::readRegister(int address, uint8_t& value) const {
    if (address < 0 || address > 255 ||
        registerRow(static_cast<uint8_t>(address)) == registerTable.size())
        return {StatusCode::InvalidArgument,
                "register " + std::to_string(address) + " is not one the camera keeps"};
    for (const RegisterState& state : registers()) {
        if (state.address == address)
            value = state.value;
    }
    return {};
}

Status Camera::writeRegister(int address, int value) {
    if (address < 0 || address > 255 || value < 0 || value > 255)
        return {StatusCode::InvalidArgument, "a register write takes a number and a value of 0 to "
                                             "255, not " +
                                                 std::to_string(address) + " and " +
                                                 std::to_string(value)};
    const auto subAddress = static_cast<uint8_t>(address);
    const auto byte = static_cast<uint8_t>(value);
    CameraDevice& device = parts_->device;
    orvane::writeRegister(device.bus, subAddress, byte, applySettingsPacing);
    const std::size_t row = registerRow(subAddress);
    if (row < registerTable.size()) {
        device.shadow.reg(subAddress).value = byte;
        // The control follows only a value it could take itself, so a window written out of
        // range by number does not make every later set() refuse it.
        const ControlRow* control = controlRowOfDialogControl(registerTable[row].controlId);
        if (registerTable[row].source != ValueSource::Stored && control != nullptr &&
            byte >= control->info.minimum && byte <= control->info.maximum)
            parts_->fields.of(subAddress) = byte;
    }
    return {};
}

const char* version() {
    return buildVersion.data();
}

} // namespace orvane
