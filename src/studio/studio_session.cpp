// The studio's dialog session and live capture.
#include "studio/studio_session.h"

#include <algorithm>
#include <chrono>
#include <sstream>

#include "app/cli/cli_commands.h"
#include "app/cli/control_names.h"
#include "app/control_panel_dialog.h"
#include "app/headless/headless_panel.h"
#include "app/panel_settings.h"
#include "image/live_frame.h"
#include "image/viewer_launch.h"
#include "port/tick_counter.h"
#include "resources/control_ids.h"
#include "resources/panel_templates.h"

namespace orvane {
namespace {

// Uploads are refused, so nothing ever starts the viewer.
class NoViewer final : public ViewerLauncher {
public:
    void launchViewer() override {}
};

// Controls and command IDs the live view keeps away from scripts.
constexpr std::array<int, 3> refusedButtons{ControlId::exitButton, ControlId::uploadButton,
                                            ControlId::saveAsButton};
constexpr std::array<int, 3> allowedCommandIds{ControlId::setRegisterButton, ControlId::redIncrease,
                                               ControlId::redDecrease};
constexpr std::array<std::string_view, 4> refusedCommands{"escape", "close", "system", "show"};

std::string refusal(const ParsedCommand& parsed) {
    const std::string_view name = parsed.command->name;
    const std::string notHere = "the live view does not take \"" + std::string(name) + "\"";
    if (std::find(refusedCommands.begin(), refusedCommands.end(), name) != refusedCommands.end())
        return notHere;
    if (name == "command") {
        const auto id = static_cast<int>(parsed.arguments.number);
        if (std::find(allowedCommandIds.begin(), allowedCommandIds.end(), id) ==
            allowedCommandIds.end())
            return notHere + " with command " + std::to_string(id);
    }
    if (name == "press") {
        const ControlLookup lookup = findControlForAction(
            controlPanelTemplate, parsed.arguments.control, ControlKind::PushButton);
        if (lookup.control != nullptr && std::find(refusedButtons.begin(), refusedButtons.end(),
                                                   lookup.control->id) != refusedButtons.end())
            return notHere + " for " + std::string(lookup.control->caption);
    }
    return {};
}

double millisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// The three planes as interleaved R, G, B pixels.
void interleave(FrameBuffers& buffers, std::size_t pixels, std::vector<uint8_t>& rgb) {
    rgb.resize(3 * pixels);
    const uint8_t* red = buffers.redPlane().data();
    const uint8_t* green = buffers.greenPlane().data();
    const uint8_t* blue = buffers.bluePlane().data();
    uint8_t* out = rgb.data();
    for (std::size_t i = 0; i < pixels; ++i) {
        out[3 * i] = red[i];
        out[3 * i + 1] = green[i];
        out[3 * i + 2] = blue[i];
    }
}

} // namespace

ControlValues controlValuesOf(const HeadlessPanel& panel) {
    ControlValues values;
    for (const ControlTemplate& source : panel.dialogTemplate().controls) {
        const HeadlessControl* control =
            source.id == noControlId ? nullptr : panel.control(source.id);
        if (control == nullptr)
            continue;
        values.push_back({source.id, source.kind, control->text, control->checked, control->minimum,
                          control->maximum, control->position});
    }
    return values;
}

const ControlValue* findValue(const ControlValues& values, int id) {
    for (const ControlValue& value : values) {
        if (value.id == id)
            return &value;
    }
    return nullptr;
}

struct StudioSession::Parts {
    Parts(PortIo& port, TraceSink& trace, std::filesystem::path directory)
        : dialog(panel, port, trace, ticks, viewer, std::move(directory)) {}

    HeadlessPanel panel{controlPanelTemplate};
    MonotonicTickCounter ticks;
    NoViewer viewer;
    ControlPanelDialog dialog;
    std::vector<std::string> notes;
    std::string captureProblem;
};

StudioSession::StudioSession(PortIo& port, TraceSink& trace, std::filesystem::path directory)
    : parts_(std::make_unique<Parts>(port, trace, std::move(directory))) {
    parts_->panel.onMessage([this](const RecordedMessage& message) {
        if (message.text != allRegistersSetText)
            parts_->notes.push_back(message.caption + ": " + message.text);
    });
}

StudioSession::~StudioSession() {
    parts_->panel.onMessage(nullptr);
}

bool StudioSession::start() {
    if (!parts_->dialog.initialize())
        return false;
    parts_->panel.click(ControlId::setRegisterButton);
    parts_->panel.clearMessages();
    parts_->notes.clear();
    return true;
}

std::vector<std::string> StudioSession::run(std::span<const std::string> lines) {
    std::vector<std::string>& notes = parts_->notes;
    notes.clear();
    for (const std::string& line : lines) {
        if (isBlankOrComment(line))
            continue;
        const ParsedCommand parsed = parseCommand(line);
        if (parsed.command == nullptr) {
            notes.push_back(line + ": " + parsed.error);
            continue;
        }
        if (std::string refused = refusal(parsed); !refused.empty()) {
            notes.push_back(line + ": " + refused);
            continue;
        }
        std::ostringstream messages;
        CommandContext context{parts_->panel, parts_->dialog.state(), messages, line};
        const std::string error = parsed.command->run(context, parsed.arguments);
        if (!error.empty())
            notes.push_back(line + ": " + error);
        if (!messages.str().empty())
            notes.push_back(messages.str());
    }
    parts_->panel.clearMessages();
    for (std::string& note : notes) {
        std::replace(note.begin(), note.end(), '\n', ' ');
        while (!note.empty() && note.back() == ' ')
            note.pop_back();
    }
    return std::move(notes);
}

ControlValues StudioSession::controls() const {
    return controlValuesOf(parts_->panel);
}

bool StudioSession::capture(LiveFrame& frame) {
    ProgramState& state = parts_->dialog.state();
    const FrameGeometry geometry = state.device.geometry;
    const auto portStart = std::chrono::steady_clock::now();
    if (!captureLiveFrame(state.device.bus, state.device.shadow, geometry, state.device.buffers)) {
        parts_->captureProblem = "No live picture: a frame of " +
                                 std::to_string(geometry.imageWidth) + " x " +
                                 std::to_string(geometry.imageHeight) +
                                 " pixels does not fit the frame buffers; set a smaller window";
        return false;
    }
    parts_->captureProblem.clear();
    frame.portMilliseconds = millisecondsSince(portStart);

    const auto conversionStart = std::chrono::steady_clock::now();
    frame.geometry = geometry;
    frame.dataFormat = state.device.shadow.mode.dataFormat;
    convertFrame(state.device.buffers, geometry, frame.dataFormat);
    const std::size_t rawBytes = std::size_t{geometry.linesToRead} * geometry.bytesPerLine;
    const std::span<const uint8_t> raw = state.device.buffers.rawFrame().first(rawBytes);
    frame.raw.assign(raw.begin(), raw.end());
    interleave(state.device.buffers, std::size_t{geometry.imageWidth} * geometry.imageHeight,
               frame.rgb);
    frame.histogram = histogramOf(frame.rgb);
    frame.conversionMilliseconds = millisecondsSince(conversionStart);
    return true;
}

std::string StudioSession::captureProblem() const {
    return parts_->captureProblem;
}

} // namespace orvane
