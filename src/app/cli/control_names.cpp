// Control names for scripts.
#include "app/cli/control_names.h"

#include <algorithm>
#include <charconv>

#include "resources/control_ids.h"
#include "resources/control_labels.h"
#include "sensor/control_table.h"

namespace orvane {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string describe(const DialogTemplate& dialog, const ControlTemplate& control) {
    std::string text = std::to_string(control.id);
    const std::vector<std::string> names = controlNames(dialog, control);
    if (!names.empty())
        text += " (" + names.back() + ")";
    return text;
}

std::string withArticle(std::string_view kind) {
    return (kind.front() == 'e' ? "an " : "a ") + std::string(kind);
}

std::string checkUsable(const DialogTemplate& dialog, const ControlTemplate& control,
                        ControlKind wanted) {
    if (control.kind != wanted) {
        return "control " + describe(dialog, control) + " is " +
               withArticle(kindName(control.kind)) + ", not " + withArticle(kindName(wanted));
    }
    if ((control.style & ControlStyle::hidden) != 0)
        return "control " + describe(dialog, control) + " is hidden";
    if ((control.style & ControlStyle::disabled) != 0)
        return "control " + describe(dialog, control) + " is disabled";
    return {};
}

} // namespace

std::string normalizeName(std::string_view name) {
    std::string normal;
    bool pendingBlank = false;
    for (const char c : name) {
        if (c == '&')
            continue;
        if (isBlank(c)) {
            pendingBlank = true;
            continue;
        }
        // Blanks count once between words, and not at all around the group separator.
        if (pendingBlank && !normal.empty() && normal.back() != '/' && c != '/')
            normal.push_back(' ');
        pendingBlank = false;
        normal.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    }
    return normal;
}

std::vector<std::string> controlNames(const DialogTemplate& dialog,
                                      const ControlTemplate& control) {
    std::vector<std::string> names;
    if (control.id == noControlId)
        return names;
    const std::string caption = displayCaption(control.caption);
    if (!caption.empty())
        names.push_back(caption);
    // The control table's name: "brightness" for a slider or edit, "format=rgb" for a radio
    // button of a choice.
    for (const ControlRow& row : controlTable) {
        if (row.dialogControl == control.id)
            names.emplace_back(row.info.name);
        for (std::size_t i = 0; i < row.bindings.size(); ++i) {
            if (row.bindings[i].dialogControl == control.id)
                names.push_back(std::string(row.info.name) + "=" +
                                std::string(row.info.choices[i].name));
        }
    }
    if (!caption.empty()) {
        if (const ControlTemplate* group = groupOf(dialog, control))
            names.push_back(displayCaption(group->caption) + "/" + caption);
    }
    if (std::string label = fieldLabel(dialog, control); !label.empty())
        names.push_back(std::move(label));
    else if (control.id == ControlId::saveAsName)
        names.emplace_back(saveAsFieldName);
    return names;
}

std::string controlNamesText(const DialogTemplate& dialog, const ControlTemplate& control) {
    std::string text;
    for (const std::string& name : controlNames(dialog, control))
        text += (text.empty() ? "" : ", ") + name;
    return text.empty() ? "-" : text;
}

std::string_view kindName(ControlKind kind) {
    switch (kind) {
    case ControlKind::PushButton:
        return "push button";
    case ControlKind::Edit:
        return "edit";
    case ControlKind::RadioButton:
        return "radio button";
    case ControlKind::Slider:
        return "slider";
    case ControlKind::StaticText:
        return "static text";
    case ControlKind::GroupBox:
        return "group box";
    case ControlKind::Icon:
        return "icon";
    }
    return "control";
}

ControlLookup findControlForAction(const DialogTemplate& dialog, std::string_view reference,
                                   ControlKind wanted) {
    const std::string wantedName = normalizeName(reference);
    if (wantedName.empty())
        return {nullptr, "no control named: give an ID or a caption"};

    if (std::all_of(wantedName.begin(), wantedName.end(),
                    [](char c) { return c >= '0' && c <= '9'; })) {
        int id = 0;
        const auto [end, error] =
            std::from_chars(wantedName.data(), wantedName.data() + wantedName.size(), id);
        const ControlTemplate* control = error == std::errc() ? findControl(dialog, id) : nullptr;
        if (control == nullptr)
            return {nullptr, "no control has the ID " + wantedName};
        std::string problem = checkUsable(dialog, *control, wanted);
        if (!problem.empty())
            return {nullptr, std::move(problem)};
        return {control, ""};
    }

    std::vector<const ControlTemplate*> ofKind;
    std::vector<const ControlTemplate*> ofOtherKind;
    for (const ControlTemplate& control : dialog.controls) {
        const std::vector<std::string> names = controlNames(dialog, control);
        const bool named = std::any_of(names.begin(), names.end(), [&](const std::string& name) {
            return normalizeName(name) == wantedName;
        });
        if (named)
            (control.kind == wanted ? ofKind : ofOtherKind).push_back(&control);
    }
    const std::string quoted = "\"" + std::string(reference) + "\"";
    if (ofKind.size() > 1) {
        std::string error = quoted + " names " + std::to_string(ofKind.size()) + " " +
                            std::string(kindName(wanted)) + "s:";
        for (const ControlTemplate* control : ofKind) {
            const std::vector<std::string> names = controlNames(dialog, *control);
            error += " " + std::to_string(control->id) + " (" + names.back() + ")";
        }
        return {nullptr, error + "; give the ID or Group/Caption"};
    }
    if (ofKind.empty()) {
        if (!ofOtherKind.empty())
            return {nullptr, checkUsable(dialog, *ofOtherKind.front(), wanted)};
        return {nullptr, "no " + std::string(kindName(wanted)) + " is named " + quoted};
    }
    std::string problem = checkUsable(dialog, *ofKind.front(), wanted);
    if (!problem.empty())
        return {nullptr, std::move(problem)};
    return {ofKind.front(), ""};
}

} // namespace orvane
