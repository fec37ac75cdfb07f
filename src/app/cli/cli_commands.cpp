// The script commands and their help.
#include "app/cli/cli_commands.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <iomanip>
#include <ostream>

#include "app/cli/control_names.h"
#include "app/cli/state_report.h"
#include "app/headless/headless_panel.h"
#include "app/program_state.h"
#include "orvane/dng.h"
#include "resources/panel_templates.h"
#include "sensor/control_table.h"
#include "text/text_fields.h"

namespace orvane {
namespace {

// Commands by ID stay within the 16 bits a command ID has.
constexpr int64_t maxCommandId = 0xFFFF;

// The ID of the control of that kind the reference names, or why there is none.
std::string resolveControl(CommandContext& context, std::string_view reference, ControlKind kind,
                           int& id) {
    const ControlLookup lookup =
        findControlForAction(context.panel.dialogTemplate(), reference, kind);
    if (lookup.control == nullptr)
        return lookup.error;
    id = lookup.control->id;
    return {};
}

std::string pressButton(CommandContext& context, const CommandArguments& arguments) {
    int id = 0;
    std::string error = resolveControl(context, arguments.control, ControlKind::PushButton, id);
    if (error.empty() && !context.panel.click(id))
        error = "push button " + std::to_string(id) + " did not take the click";
    return error;
}

std::string clickRadio(CommandContext& context, const CommandArguments& arguments) {
    int id = 0;
    std::string error = resolveControl(context, arguments.control, ControlKind::RadioButton, id);
    if (error.empty() && !context.panel.click(id))
        error = "radio button " + std::to_string(id) + " did not take the click";
    return error;
}

std::string typeText(CommandContext& context, const CommandArguments& arguments) {
    int id = 0;
    std::string error = resolveControl(context, arguments.control, ControlKind::Edit, id);
    if (!error.empty())
        return error;
    if (!context.panel.typeText(id, arguments.value))
        return "edit " + std::to_string(id) + " did not take the text";
    const std::string taken = context.panel.editText(id);
    if (taken != arguments.value) {
        // A digits-only edit refuses the other keys, as it does for an operator.
        context.messages << "orvane-cli: " << context.location << ": note: edit " << id
                         << " takes digits only and now holds \"" << taken << "\"\n";
    }
    return {};
}

std::string moveSlider(CommandContext& context, const CommandArguments& arguments) {
    int id = 0;
    std::string error = resolveControl(context, arguments.control, ControlKind::Slider, id);
    if (!error.empty())
        return error;
    const std::string& text = arguments.value;
    int position = 0;
    const auto [end, parseError] =
        std::from_chars(text.data(), text.data() + text.size(), position);
    if (parseError != std::errc() || end != text.data() + text.size())
        return "\"" + text + "\" is not a slider position";
    const HeadlessControl* slider = context.panel.control(id);
    if (position < slider->minimum || position > slider->maximum) {
        return "position " + text + " is outside slider " + std::to_string(id) + "'s range " +
               std::to_string(slider->minimum) + " to " + std::to_string(slider->maximum);
    }
    if (!context.panel.moveSlider(id, position))
        return "slider " + std::to_string(id) + " did not move";
    return {};
}

// An ID of a hidden or disabled control is refused: an operator cannot send it either.
std::string sendCommand(CommandContext& context, const CommandArguments& arguments) {
    const int id = static_cast<int>(arguments.number);
    if (const HeadlessControl* control = context.panel.control(id)) {
        const uint32_t style = control->source->style;
        const char* why = (style & ControlStyle::hidden) != 0     ? "hidden"
                          : (style & ControlStyle::disabled) != 0 ? "disabled"
                                                                  : nullptr;
        if (why != nullptr) {
            return std::string(kindName(control->source->kind)) + " " + std::to_string(id) + " (" +
                   controlNamesText(context.panel.dialogTemplate(), *control->source) + ") is " +
                   why + " in the panel";
        }
    }
    context.panel.sendCommand(id);
    return {};
}

// A control of the control table by its name: a slider is moved, an edit typed into, a choice's
// radio button clicked (or its command sent), as an operator would.
std::string setControl(CommandContext& context, const CommandArguments& arguments) {
    const ControlRow* row = findControlRow(normalizeName(arguments.control));
    if (row == nullptr)
        return "no control is named \"" + arguments.control +
               "\"; orvane-cli --help lists the controls";
    if (row->info.type == ControlType::Integer) {
        const CommandArguments control{std::to_string(row->dialogControl), arguments.value, 0};
        const ControlTemplate* field =
            findControl(context.panel.dialogTemplate(), row->dialogControl);
        return field->kind == ControlKind::Slider ? moveSlider(context, control)
                                                  : typeText(context, control);
    }
    const std::optional<int64_t> number = wholeNumber(arguments.value);
    for (std::size_t i = 0; i < row->info.choices.size(); ++i) {
        const ControlChoice& choice = row->info.choices[i];
        if (choice.name != arguments.value && number != choice.value)
            continue;
        const int id = row->bindings[i].dialogControl;
        if (id == 0)
            return std::string(row->info.name) + " " + std::string(choice.name) +
                   " cannot be chosen";
        if (context.panel.control(id) == nullptr)
            return sendCommand(context, {{}, {}, id});
        return clickRadio(context, {std::to_string(id), {}, 0});
    }
    std::string choices;
    for (const ControlChoice& choice : row->info.choices)
        choices += (choices.empty() ? "" : ", ") + std::string(choice.name);
    return std::string(row->info.name) + " takes " + choices + ", not \"" + arguments.value + "\"";
}

std::string chooseSystemCommand(CommandContext& context, const CommandArguments& arguments) {
    context.panel.chooseSystemCommand(static_cast<int>(arguments.number));
    return {};
}

std::string pressEnter(CommandContext& context, const CommandArguments&) {
    context.panel.pressEnter();
    return {};
}

std::string pressEscape(CommandContext& context, const CommandArguments&) {
    context.panel.pressEscape();
    return {};
}

std::string closeWindow(CommandContext& context, const CommandArguments&) {
    context.panel.closeWindow();
    return {};
}

std::string show(CommandContext& context, const CommandArguments&) {
    context.messages << "orvane-cli: " << context.location << ": show\n";
    printStateReport(context.messages, context.panel, context.state);
    return {};
}

// The last upload's colour mosaic as a DNG raw still, the registers sent as its description.
std::string writeDngStill(CommandContext& context, const CommandArguments& arguments) {
    const CameraDevice& device = context.state.device;
    if (!device.heldFrame)
        return "no frame yet: press Upload in the RGB format first";
    const FrameGeometry& g = device.heldFrame->geometry;
    if (device.heldFrame->dataFormat != dataFormatRgb)
        return "the last upload was YUV: the colour mosaic exists only in the RGB format";
    std::string description = "orvane-cli upload; registers sent (register = value):\n";
    for (const ShadowEntry& entry : device.shadow.entries()) {
        char line[16];
        std::snprintf(line, sizeof line, "0x%02X = 0x%02X\n", entry.subAddress, entry.value);
        description += line;
    }
    DngStill still;
    still.mosaic = device.buffers.rawFrame();
    still.width = g.imageWidth & ~1u;
    still.height = std::min(g.imageHeight, g.linesToRead) & ~1u;
    still.stride = g.bytesPerLine;
    still.time = std::chrono::system_clock::now();
    still.description = description;
    const Status written = writeDng(context.state.workDirectory / arguments.value, still);
    return written ? std::string() : written.message();
}

using A = ArgumentShape;

constexpr std::array<CliCommand, 12> commandTable{{
    {"press", A::control, "CONTROL", "click a push button", &pressButton},
    {"click", A::control, "CONTROL", "click a radio button; it stays checked", &clickRadio},
    {"type", A::controlAndValue, "CONTROL TEXT", "type TEXT into an edit, replacing its text",
     &typeText},
    {"move", A::controlAndValue, "CONTROL POSITION", "drag a slider to POSITION and let go",
     &moveSlider},
    {"set", A::controlAndValue, "NAME VALUE",
     "set a control by its name (brightness 150, format rgb, mirror on) as an operator would",
     &setControl},
    {"command", A::number, "ID", "send command ID without a control (1073, 1074)", &sendCommand},
    {"system", A::number, "ID", "choose a system-menu command (16 About)", &chooseSystemCommand},
    {"enter", A::none, "", "press Enter: command 1, Set Register", &pressEnter},
    {"escape", A::none, "", "press Escape: command 2, Exit", &pressEscape},
    {"close", A::none, "", "close the window: command 2, Exit", &closeWindow},
    {"show", A::none, "", "print every control and the shadow on stderr", &show},
    {"dng", A::file, "FILE", "write the last RGB upload's colour mosaic as a DNG raw still",
     &writeDngStill},
}};

std::string joined(const std::vector<std::string>& words, std::size_t first) {
    std::string text;
    for (std::size_t i = first; i < words.size(); ++i) {
        if (i > first)
            text.push_back(' ');
        text += words[i];
    }
    return text;
}

} // namespace

std::span<const CliCommand> cliCommands() {
    return commandTable;
}

bool isBlankOrComment(std::string_view line) {
    const auto first = line.find_first_not_of(" \t\r");
    return first == std::string_view::npos || line[first] == '#';
}

ScriptLine parseScriptLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    if (isBlankOrComment(line))
        return ScriptLine{true, {}};
    return ScriptLine{false, parseCommand(line)};
}

ParsedCommand parseCommand(std::string_view line) {
    ParsedCommand parsed;
    const auto words = splitWords(line);
    if (!words) {
        parsed.error = "a quoted word is not closed";
        return parsed;
    }
    if (words->empty()) {
        parsed.error = "no command";
        return parsed;
    }
    const std::string& name = words->front();
    const CliCommand* command = nullptr;
    for (const CliCommand& row : commandTable) {
        if (row.name == name)
            command = &row;
    }
    if (command == nullptr) {
        // A long word is quoted by its start.
        const std::string shown = name.size() > 80 ? name.substr(0, 80) + "..." : name;
        parsed.error = "unknown command \"" + shown + "\"; orvane-cli --help lists the commands";
        return parsed;
    }
    const std::size_t count = words->size() - 1;
    const std::string usage =
        "Usage: " + std::string(command->name) +
        (command->arguments.empty() ? "" : " " + std::string(command->arguments));
    switch (command->shape) {
    case A::none:
        if (count != 0) {
            parsed.error = usage;
            return parsed;
        }
        break;
    case A::control:
        if (count == 0) {
            parsed.error = usage;
            return parsed;
        }
        parsed.arguments.control = joined(*words, 1);
        break;
    case A::controlAndValue:
        if (count != 2) {
            parsed.error = usage + " (quote a word that holds blanks: \"Save As\")";
            return parsed;
        }
        parsed.arguments.control = (*words)[1];
        parsed.arguments.value = (*words)[2];
        break;
    case A::file:
        if (count != 1) {
            parsed.error = usage + " (quote a name that holds blanks)";
            return parsed;
        }
        parsed.arguments.value = (*words)[1];
        break;
    case A::number: {
        const auto number = count == 1 ? wholeNumber((*words)[1]) : std::nullopt;
        if (!number || *number < 0 || *number > maxCommandId) {
            parsed.error = usage + " (a number from 0 to 65535, decimal or 0x hexadecimal)";
            return parsed;
        }
        parsed.arguments.number = *number;
        break;
    }
    }
    parsed.command = command;
    return parsed;
}

void printHelp(std::ostream& out) {
    const std::ios_base::fmtflags callerFlags = out.flags();
    out << "Usage: orvane-cli [SCRIPT]\n"
           "       orvane-cli --probe [DEVICE]\n"
           "       orvane-cli --help | --version\n"
           "\n"
           "Runs the Orvane control panel without a window: the same dialog and port backend\n"
           "as the panel, driven by commands read one per line from SCRIPT, or from standard\n"
           "input without SCRIPT. Blank lines and lines starting with '#' are ignored.\n"
           "\n"
           "--probe checks DEVICE (as ORVANE_PORT names it; ORVANE_PORT without one) before\n"
           "anything else: a frame comes and is a picture, every data line reads 0 and 1,\n"
           "and the sensor hears the bus. A line a check, with what to do when it fails,\n"
           "then a summary; exit status 0 only when every check passed.\n"
           "\n"
           "Commands:\n";
    for (const CliCommand& command : commandTable) {
        const std::string synopsis =
            std::string(command.name) +
            (command.arguments.empty() ? "" : " " + std::string(command.arguments));
        out << "  " << std::left << std::setw(24) << synopsis << command.help << '\n';
    }
    out << "\n"
           "CONTROL is a control ID or a name: the caption, Group/Caption for a radio\n"
           "button in a group box, or the name of the label beside an edit or slider\n"
           "(listed below). Names match without '&', ignoring case and blanks around\n"
           "them: \"&Upload\", \"Upload\" and \"upload\" are the same. Where a command\n"
           "takes two words, quote a word with blanks: type \"File name\" shot1.bmp;\n"
           "type 1037 \"\" types an empty text. A hidden or disabled control (also as\n"
           "the ID of command), or one of another kind, is an error.\n"
           "\n"
           "Message boxes are printed on standard error, caption and text, and\n"
           "answered with OK. Standard output carries only the bus trace. Files are\n"
           "read and written in the working directory; an upload needs \"bmphead24\"\n"
           "there (an installed orvane-cli copies in its own template when the folder\n"
           "has none); no viewer is started. Nothing may follow a command that\n"
           "ends the panel (E&xit, escape, close).\n"
           "\n"
           "Exit status:\n"
           "  0  every command ran (also --help and --version)\n"
           "  1  at the first bad line, or the first line that showed an \"Error Message\"\n"
           "     box (an upload or a Save As that failed): the lines before it ran, the\n"
           "     rest are not read; or the port, the ORVANE_SCENE picture or the\n"
           "     ORVANE_VCD file cannot be opened, or ORVANE_VCD_LIMIT is no size or\n"
           "     ORVANE_SIM_PACE no pace\n"
           "     (nothing runs)\n"
           "  2  wrong arguments, or SCRIPT cannot be read or is not a regular file; or\n"
           "     a read error part way (the lines before it ran)\n"
           "\n"
           "Environment: ORVANE_PORT (port backend, default sim), ORVANE_SCENE (the\n"
           "simulated module's picture, a binary PPM), ORVANE_VCD (record every port\n"
           "access in this Value Change Dump file), ORVANE_VCD_LIMIT (the most that file\n"
           "may take, such as 500M; the recording ends there), ORVANE_SIM_PACE (hardware:\n"
           "the simulated module as slow as a real port, about 1 us an access).\n"
           "\n"
           "Controls:\n";
    for (const ControlTemplate& control : controlPanelTemplate.controls) {
        const bool actionable =
            control.kind == ControlKind::PushButton || control.kind == ControlKind::RadioButton ||
            control.kind == ControlKind::Edit || control.kind == ControlKind::Slider;
        if (control.id == noControlId || !actionable)
            continue;
        out << "  " << std::left << std::setw(6) << control.id << std::setw(14)
            << kindName(control.kind) << controlNamesText(controlPanelTemplate, control);
        if ((control.style & ControlStyle::hidden) != 0)
            out << " (hidden)";
        else if ((control.style & ControlStyle::disabled) != 0)
            out << " (disabled)";
        out << '\n';
    }
    out.flags(callerFlags);
}

} // namespace orvane
