// Writing and reading settings profiles.
#include "orvane/profile.h"

#include <array>
#include <charconv>
#include <cstring>
#include <optional>

#include <orvane/controls.h>

#include "files/regular_file.h"
#include "resources/control_ids.h"
#include "resources/control_labels.h"
#include "resources/panel_templates.h"
#include "sensor/control_table.h"
#include "text/text_fields.h"

namespace orvane {
namespace {

std::string normalized(std::string_view name) {
    std::string out;
    for (const char c : trimmed(name)) {
        if (c == '&' || (c == ' ' && !out.empty() && (out.back() == ' ' || out.back() == '/')))
            continue;
        if (c == '/' && !out.empty() && out.back() == ' ')
            out.pop_back();
        out.push_back(c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c);
    }
    return out;
}

// What an orvane-cli command of an earlier studio's profile set, read against the panel's
// template and the control table: a click on a radio button its choice, a slider moved or an
// edit typed into the control it shows. Set Register and the free register's fields set nothing.
struct LegacySetting {
    enum Kind : uint8_t { Unknown, Nothing, Choice, Number } kind = Unknown;
    std::string_view name;
    int32_t value = 0;
};

LegacySetting choiceOfRadio(int radioId) {
    for (const ControlRow& row : controlTable) {
        for (std::size_t i = 0; i < row.bindings.size(); ++i) {
            if (row.bindings[i].dialogControl == radioId && row.info.choices[i].selectable)
                return {LegacySetting::Choice, row.info.name, row.info.choices[i].value};
        }
    }
    return {};
}

LegacySetting legacySetting(std::string_view command, std::string_view wanted) {
    const DialogTemplate& panel = controlPanelTemplate;
    const ControlKind fieldKind = command == "move" ? ControlKind::Slider : ControlKind::Edit;
    for (const ControlTemplate& control : panel.controls) {
        if (command == "press") {
            if (control.id == ControlId::setRegisterButton &&
                normalized(displayCaption(control.caption)) == wanted)
                return {LegacySetting::Nothing, {}, 0};
        } else if (command == "click") {
            const ControlTemplate* group = groupOf(panel, control);
            if (control.kind == ControlKind::RadioButton && group != nullptr &&
                normalized(displayCaption(group->caption) + "/" +
                           displayCaption(control.caption)) == wanted)
                return choiceOfRadio(control.id);
        } else if ((command == "move" || command == "type") && control.kind == fieldKind &&
                   normalized(fieldLabel(panel, control)) == wanted) {
            const ControlRow* row = controlRowOfDialogControl(control.id);
            if (row == nullptr)
                return {LegacySetting::Nothing, {}, 0};
            return {LegacySetting::Number, row->info.name, 0};
        }
    }
    return {};
}

// A value as a number or, for a choice, its name.
std::optional<int32_t> valueFor(const ControlInfo& info, std::string_view text) {
    if (const ControlChoice* choice = findChoice(info, normalized(text)))
        return choice->value;
    const std::optional<int64_t> number = wholeNumber(trimmed(text), INT32_MIN, INT32_MAX);
    return number ? std::optional<int32_t>(int32_t(*number)) : std::nullopt;
}

// The change of one line, if it sets something, or why there is none.
Status readLine(std::string_view line, ControlChanges& changes) {
    const auto equals = line.find('=');
    std::string name;
    std::string valueText;
    if (equals != std::string_view::npos && line.find('"') == std::string_view::npos) {
        name = normalized(line.substr(0, equals));
        valueText = std::string(trimmed(line.substr(equals + 1)));
    } else {
        const std::optional<std::vector<std::string>> split = splitWords(line);
        if (!split)
            return {StatusCode::InvalidArgument, "a quoted word is not closed"};
        const std::vector<std::string>& parts = *split;
        const std::string command = parts.empty() ? std::string() : normalized(parts[0]);
        if (command == "set" && parts.size() == 3) {
            name = normalized(parts[1]);
            valueText = parts[2];
        } else {
            // click and press take the rest of the line; move and type a control and a value.
            std::string control;
            if (command == "click" || command == "press") {
                for (std::size_t i = 1; i < parts.size(); ++i)
                    control += (i > 1 ? " " : "") + parts[i];
            } else if (parts.size() > 1) {
                control = parts[1];
            }
            const LegacySetting legacy = legacySetting(command, normalized(control));
            if (legacy.kind == LegacySetting::Unknown)
                return {StatusCode::InvalidArgument,
                        "not a setting: " + std::string(trimmed(line))};
            if (legacy.kind == LegacySetting::Nothing)
                return {};
            if (legacy.kind == LegacySetting::Choice) {
                changes.push_back({std::string(legacy.name), legacy.value});
                return {};
            }
            name = legacy.name;
            valueText = parts.size() > 2 ? parts[2] : std::string();
        }
    }
    const ControlInfo* info = findControl(name);
    if (info == nullptr)
        return {StatusCode::InvalidArgument, "no control is named \"" + name + "\""};
    const std::optional<int32_t> value = valueFor(*info, valueText);
    if (!value)
        return {StatusCode::InvalidArgument, "\"" + valueText + "\" is not a value of " + name};
    changes.push_back({name, *value});
    return {};
}

} // namespace

std::string settingsProfile(const ControlValues& controls, std::string_view date,
                            std::string_view version) {
    std::string text = "# Orvane Studio settings, saved " + std::string(date) +
                       " by orvane-studio " + std::string(version) +
                       "\n# One control a line, NAME = VALUE, with orvane-cli's control names.\n";
    for (const ControlInfo& info : controlList()) {
        const std::optional<int32_t> value = valueOf(controls, info.name);
        if (!value)
            continue;
        std::string shown = std::to_string(*value);
        bool selectable = true;
        for (const ControlChoice& choice : info.choices) {
            if (choice.value == *value) {
                shown = choice.name;
                selectable = choice.selectable;
            }
        }
        if (selectable)
            text += std::string(info.name) + " = " + shown + "\n";
    }
    return text;
}

// The one refusal of a profile past maxProfileBytes.
Status overLong(StatusCode code, const std::string& named) {
    return {code, named + " is over " + std::to_string(maxProfileBytes / 1024) +
                      " KiB; a profile is a few lines of NAME = VALUE"};
}

Status readSettingsProfile(std::string_view text, ProfileReading& reading) {
    reading = ProfileReading{};
    if (text.size() > maxProfileBytes)
        return overLong(StatusCode::InvalidArgument, "the profile");
    constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
    if (text.starts_with(byteOrderMark))
        text.remove_prefix(byteOrderMark.size());
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;
        const std::string_view content = trimmed(line);
        if (content.empty() || content.front() == '#')
            continue;
        if (const Status read = readLine(content, reading.changes); !read)
            reading.problems.push_back("line " + std::to_string(lineNumber) + ": " +
                                       read.message());
    }
    return {};
}

Status readSettingsProfileFile(const std::filesystem::path& path, ProfileReading& reading) {
    const std::string name = path.string();
    const RegularFileOpen opened = openRegularFile(path);
    if (opened.error != 0)
        return {StatusCode::FileError,
                "cannot open the profile " + name + ": " + std::strerror(opened.error)};
    if (!opened.file.isOpen())
        return {StatusCode::FileError, "the profile " + name + " is " + fileKindName(opened.mode) +
                                           ", not a regular file"};
    std::vector<uint8_t> bytes;
    if (const int error = readUpTo(opened.file.get(), maxProfileBytes + 1, bytes); error != 0)
        return {StatusCode::FileError,
                "cannot read the profile " + name + ": " + std::strerror(error)};
    if (bytes.size() > maxProfileBytes)
        return overLong(StatusCode::FileError, "the profile " + name);
    return readSettingsProfile(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), reading);
}

ControlChanges changesFrom(const ControlChanges& changes, const ControlValues& current) {
    auto first = changes.begin();
    while (first != changes.end() && valueOf(current, first->name) == first->value)
        ++first;
    return ControlChanges(first, changes.end());
}

} // namespace orvane
