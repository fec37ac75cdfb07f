// orvane::Camera over the CameraDevice: controls by name, reset and registers.
#include "orvane/camera.h"

#include <algorithm>
#include <filesystem>
#include <optional>

#include "camera/camera_parts.h"
#include "port/setting_names.h"
#include "resources/build_version.h"
#include "sensor/register_masks.h"

namespace orvane {
namespace {

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
                "no control is named " + quotedInput(setting.name) + "; the controls are " + names};
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

Camera::Parts::Parts(CameraPort cameraPort, TraceOutput* output)
    : port(std::move(cameraPort)), trace(output), device(*port.driven, trace, ticks) {}

int32_t CameraDraft::value(const ControlRow& row) const {
    if (row.bindings.empty())
        return fields.of(row.info.registers[0].address);
    const uint8_t mode = shadow.mode.*row.mode;
    for (std::size_t i = 0; i < row.bindings.size(); ++i) {
        if (row.bindings[i].modeValue == mode)
            return row.info.choices[i].value;
    }
    return row.info.defaultValue;
}

Status CameraDraft::change(const ControlRow& row, int32_t value) {
    if (value == this->value(row))
        return {};
    if (row.bindings.empty()) {
        const uint8_t address = row.info.registers[0].address;
        fields.of(address) = value;
        shadow.reg(address).pending = 1;
        return {};
    }
    std::size_t choice = 0;
    while (row.info.choices[choice].value != value)
        ++choice;
    const SelectorPlan plan = planSelector(row.bindings[choice].selector, shadow);
    if (plan.refusal != SelectorRefusal::None)
        return {StatusCode::Refused, std::string(row.info.name) + ": " + std::string(plan.text)};
    shadow = plan.shadow;
    if (plan.startGeometry)
        geometry = FrameGeometry{};
    writeWindows(plan, fields);
    return {};
}

Status CameraDraft::plan(ApplyPlan& plan) const {
    plan = planApply(shadow, fields);
    const std::string window =
        " (window " + std::to_string(fields.of(0x17)) + " to " + std::to_string(fields.of(0x18)) +
        " by " + std::to_string(fields.of(0x19)) + " to " + std::to_string(fields.of(0x1A)) + ")";
    if (!plan.corrections.empty()) {
        const WindowCorrection& problem = plan.corrections.front();
        return {StatusCode::Refused, std::string(firstParagraph(problem.text)) + window};
    }
    // The order checks leave at least one column and line between start and end; a frame needs
    // two pixels a row and two rows.
    const FrameGeometry& g = plan.geometry;
    if (static_cast<int32_t>(g.imageWidth) < 2)
        return {StatusCode::Refused, "Horizontal Start " + std::to_string(fields.of(0x17)) +
                                         " and End " + std::to_string(fields.of(0x18)) +
                                         " leave no pixels" + window};
    if (static_cast<int32_t>(g.imageHeight) < 2)
        return {StatusCode::Refused, "Vertical Start " + std::to_string(fields.of(0x19)) +
                                         " and End " + std::to_string(fields.of(0x1A)) +
                                         " leave fewer than two lines" + window};
    return {};
}

void Camera::Parts::send(const ApplyPlan& plan) {
    device.send(plan);
    for (const RegisterWrite& write : plan.writes) {
        sent[write.subAddress] = write.value;
        sentKnown.set(write.subAddress);
    }
    device.keep(plan);
    fields = plan.fields;
    followSentWindow();
}

void Camera::Parts::markEverythingDue() {
    for (ShadowEntry& entry : device.shadow.entries())
        entry.pending = 1;
}

Status Camera::Parts::followReset() {
    device.shadow.restoreStartValues();
    device.geometry = resetFrameGeometry;
    fields = SensorFields{};
    sentKnown.reset();
    markEverythingDue();
    CameraDraft next = draft();
    ApplyPlan plan;
    if (Status status = next.plan(plan); !status)
        return status;
    send(plan);
    return {};
}

void Camera::Parts::followSentWindow() {
    constexpr uint8_t shaping[] = {0x12, 0x17, 0x18, 0x19, 0x1A};
    SensorFields window;
    for (const uint8_t address : shaping) {
        if (!sentKnown.test(address))
            return;
        if (address != 0x12)
            window.of(address) = sent[address];
    }
    device.shadow.mode.dataFormat = (sent[0x12] & rgbBit) != 0 ? dataFormatRgb : dataFormatYuv;
    device.geometry = windowGeometry(window, device.shadow.mode.dataFormat);
}

CallGuard::CallGuard(const CallLock& calls, Kind kind) {
    if (calls.capturing.load() == std::this_thread::get_id()) {
        if (kind == Kind::Drives)
            status_ = {StatusCode::NotPermitted,
                       "a CaptureProgress may not change, reset or capture with the camera whose "
                       "capture it follows; make the call after capture() returns"};
        return;
    }
    lock_ = std::unique_lock(calls.mutex);
}

// Text a caller passed that cannot name a file or device.
static Status checkInput(std::string_view what, std::string_view text) {
    if (text.find('\0') == std::string_view::npos)
        return {};
    return {StatusCode::InvalidArgument,
            std::string(what) + " " + quotedInput(text) + " holds a NUL character"};
}

std::unique_ptr<Camera> CameraFactory::open(std::string_view device, Status& status,
                                            const CameraOptions& options) {
    for (const auto& [what, text] :
         {std::pair<std::string_view, std::string_view>{"device", device},
          {"scene", options.scene},
          {"simulatedPace", options.simulatedPace},
          {"recording", options.recording}}) {
        if (status = checkInput(what, text); !status)
            return nullptr;
    }
    PortRequest request;
    request.setting = device;
    if (!options.scene.empty())
        request.scene = options.scene;
    if (!options.simulatedPace.empty())
        request.pace = options.simulatedPace;
    request.naming = SettingNaming::Options;
    request.simulatedDropsRoot = options.giveUpRoot;
    if (Status recording = checkRecording(options); !recording) {
        status = recording;
        return nullptr;
    }
    CameraPort port;
    if (status = openCameraPort(request, systemPortBackends(), recordingOf(options), port); !status)
        return nullptr;
    const SimulatedCameraModule* module = port.opened.module;
    return start(std::move(port), module, status, options);
}

Status CameraFactory::checkRecording(const CameraOptions& options) {
    if (options.recordingLimit != 0 && options.recordingLimit < minimumRecordingLimit)
        return {StatusCode::InvalidArgument,
                "recordingLimit " + std::to_string(options.recordingLimit) +
                    " is below the least a recording takes, " +
                    std::to_string(minimumRecordingLimit) + " bytes (64 KiB); give 0 for no limit"};
    if (options.recording.empty() || options.scene.empty())
        return {};
    std::error_code error;
    if (std::filesystem::equivalent(options.recording, options.scene, error))
        return {StatusCode::InvalidArgument,
                "recording " + quotedInput(options.recording) +
                    " is the scene file; give the recording a path of its own"};
    return {};
}

std::unique_ptr<Camera> CameraFactory::openOn(PortIo& port, Status& status,
                                              const CameraOptions& options) {
    if (status = checkRecording(options); !status)
        return nullptr;
    CameraPort recorded;
    if (status = recordCameraPort(port, recordingOf(options), SettingNaming::Options, recorded);
        !status)
        return nullptr;
    return start(std::move(recorded), dynamic_cast<const SimulatedCameraModule*>(&port), status,
                 options);
}

std::unique_ptr<Camera> CameraFactory::start(CameraPort port, const SimulatedCameraModule* module,
                                             Status& status, const CameraOptions& options) {
    auto parts = std::make_unique<Camera::Parts>(std::move(port), options.trace);
    parts->module = module;
    if (!parts->device.open()) {
        status = {StatusCode::NoMemory, "not enough memory for the frame buffers; close other "
                                        "programs and start again"};
        return nullptr;
    }
    // Nothing is known of what the sensor holds until the full register set has gone out.
    parts->markEverythingDue();
    status = {};
    if (options.configure) {
        CameraDraft next = parts->draft();
        ApplyPlan plan;
        if (status = next.plan(plan); !status)
            return nullptr;
        parts->send(plan);
    }
    if (parts->port.recorder != nullptr && parts->port.recorder->failed()) {
        status = {StatusCode::FileError, "recording " + quotedInput(options.recording) +
                                             ": the recording could not be written (disk full?)"};
        return nullptr;
    }
    return std::unique_ptr<Camera>(new Camera(std::move(parts)));
}

std::unique_ptr<Camera> Camera::open(std::string_view device, Status& status,
                                     const CameraOptions& options) {
    return CameraFactory::open(device, status, options);
}

Camera::Camera(std::unique_ptr<Parts> parts) : parts_(std::move(parts)) {}

Camera::~Camera() = default;

const std::string& Camera::description() const {
    return parts().port.opened.description;
}

std::string Camera::recordingPath() const {
    const CallGuard guard(parts().calls, CallGuard::Kind::Reads);
    return parts().port.recorder != nullptr ? parts().port.recorder->path().string()
                                            : std::string();
}

RecordingState Camera::recordingState() const {
    const CallGuard guard(parts().calls, CallGuard::Kind::Reads);
    const VcdRecorder* recorder = parts().port.recorder.get();
    if (recorder == nullptr || parts().recordingFinished)
        return RecordingState::None;
    if (recorder->failed())
        return RecordingState::Failed;
    if (recorder->limitReached())
        return RecordingState::LimitReached;
    return recorder->isOpen() ? RecordingState::Recording : RecordingState::None;
}

Status Camera::finishRecording() {
    const CallGuard guard(parts().calls, CallGuard::Kind::Drives);
    if (!guard.status())
        return guard.status();
    if (parts().port.recorder == nullptr || parts().recordingFinished)
        return {};
    parts().recordingFinished = true;
    if (parts().port.recorder->close())
        return {};
    return {StatusCode::FileError, parts().port.recorder->path().string() +
                                       ": the recording could not be written completely (disk "
                                       "full?)"};
}

std::span<const ControlInfo> Camera::controls() const {
    return controlList();
}

Status Camera::get(std::string_view name, int32_t& value) const {
    const ControlRow* row = findControlRow(name);
    if (row == nullptr)
        return {StatusCode::UnknownControl, "no control is named " + quotedInput(name)};
    const CallGuard guard(parts().calls, CallGuard::Kind::Reads);
    value = parts().draft().value(*row);
    return {};
}

Status Camera::set(std::string_view name, int32_t value) {
    const ControlSetting setting{name, value};
    return set(std::span<const ControlSetting>(&setting, 1));
}

// The settings checked and in the order a Camera applies them.
static Status ordered(std::span<const ControlSetting> settings,
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

// The settings made on a draft of the camera's, and the plan that sends them.
static Status planned(const CameraDraft& from, std::span<const ControlSetting> settings,
                      CameraDraft& draft, ApplyPlan& plan) {
    std::vector<std::pair<const ControlRow*, int32_t>> changes;
    if (Status status = ordered(settings, changes); !status)
        return status;
    draft = from;
    for (const auto& [row, value] : changes) {
        if (Status status = draft.change(*row, value); !status)
            return status;
    }
    return draft.plan(plan);
}

Status Camera::layoutWith(std::span<const ControlSetting> settings, PixelFormat format,
                          FrameLayout& layout) const {
    const CallGuard guard(parts().calls, CallGuard::Kind::Reads);
    CameraDraft draft;
    ApplyPlan plan;
    if (Status status = planned(parts().draft(), settings, draft, plan); !status)
        return status;
    return layoutOf(plan.shadow.mode.dataFormat, plan.geometry, format, layout);
}

Status Camera::set(std::span<const ControlSetting> settings) {
    const CallGuard guard(parts().calls, CallGuard::Kind::Drives);
    if (!guard.status())
        return guard.status();
    // A refusal anywhere leaves everything as it was: the changes are made on a draft.
    CameraDraft draft;
    ApplyPlan plan;
    if (Status status = planned(parts().draft(), settings, draft, plan); !status)
        return status;
    parts().send(plan);
    return {};
}

Status Camera::reset() {
    const CallGuard guard(parts().calls, CallGuard::Kind::Drives);
    if (!guard.status())
        return guard.status();
    parts().device.reset();
    return parts().followReset();
}

std::vector<RegisterState> Camera::registers() const {
    const CallGuard guard(parts().calls, CallGuard::Kind::Reads);
    const Parts& parts = *parts_;
    std::vector<RegisterState> states;
    states.reserve(registerTable.size());
    for (const RegisterTableRow& row : registerTable) {
        const ShadowEntry& entry = parts.device.shadow.reg(row.subAddress);
        const bool pending = entry.pending == 1 || !parts.sentKnown.test(row.subAddress);
        // What was sent, or what will be.
        const uint8_t value = !pending ? parts.sent[row.subAddress]
                              : row.source == ValueSource::Stored
                                  ? entry.value
                                  : static_cast<uint8_t>(parts.fields.of(row.subAddress));
        states.push_back({row.subAddress, row.name, row.meaning, value, row.defaultValue, pending});
    }
    return states;
}

bool Camera::moduleRegisters(std::array<uint8_t, 256>& values) const {
    const CallGuard guard(parts().calls, CallGuard::Kind::Reads);
    if (parts().module == nullptr)
        return false;
    values = parts().module->sensor().registers();
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
    const CallGuard guard(parts().calls, CallGuard::Kind::Drives);
    if (!guard.status())
        return guard.status();
    const auto subAddress = static_cast<uint8_t>(address);
    const auto byte = static_cast<uint8_t>(value);
    Parts& parts = *parts_;
    orvane::writeRegister(parts.device.bus, subAddress, byte, applySettingsPacing);
    // The sensor's soft reset takes every register back to its power-on value.
    if (subAddress == resetRegister && (byte & resetValue) != 0)
        return parts.followReset();
    parts.sent[subAddress] = byte;
    parts.sentKnown.set(subAddress);
    const std::size_t row = registerRow(subAddress);
    if (row < registerTable.size()) {
        ShadowEntry& entry = parts.device.shadow.reg(subAddress);
        entry.value = byte;
        entry.pending = 0;
        // The control follows only a value it could take itself, so a window written out of
        // range by number does not make every later set() refuse it; registers() and the
        // frame's shape follow what was sent.
        const ControlRow* control = controlRowOfDialogControl(registerTable[row].controlId);
        if (registerTable[row].source != ValueSource::Stored && control != nullptr &&
            byte >= control->info.minimum && byte <= control->info.maximum)
            parts.fields.of(subAddress) = byte;
    }
    parts.followSentWindow();
    return {};
}

const char* version() {
    return buildVersion.data();
}

} // namespace orvane
