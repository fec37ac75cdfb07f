// Reading the names of controls from the template: captions, groups and the labels of fields.
#include "resources/control_labels.h"

namespace orvane {
namespace {

// A label further left than this (dialog units) belongs to something else.
constexpr int labelReach = 12;

bool visible(const ControlTemplate& control) {
    return (control.style & ControlStyle::hidden) == 0;
}

bool isField(const ControlTemplate& control) {
    return visible(control) && control.caption.empty() &&
           (control.kind == ControlKind::Edit || control.kind == ControlKind::Slider);
}

bool isLabel(const ControlTemplate& control) {
    return visible(control) && control.kind == ControlKind::StaticText;
}

int right(const DialogRect& r) {
    return r.x + r.width;
}
int bottom(const DialogRect& r) {
    return r.y + r.height;
}
bool overlap(int a, int aEnd, int b, int bEnd) {
    return a < bEnd && b < aEnd;
}

// The label of field's line: the nearest label or field just left of it on the same line; a
// field there lends its own line label.
const ControlTemplate* lineLabel(const DialogTemplate& dialog, const ControlTemplate& field) {
    const ControlTemplate* nearest = nullptr;
    for (const ControlTemplate& other : dialog.controls) {
        const DialogRect& o = other.rect;
        const DialogRect& f = field.rect;
        if ((!isLabel(other) && !isField(other)) || right(o) > f.x || f.x - right(o) > labelReach ||
            !overlap(o.y, bottom(o), f.y, bottom(f)))
            continue;
        if (nearest == nullptr || right(o) > right(nearest->rect))
            nearest = &other;
    }
    if (nearest == nullptr || isLabel(*nearest))
        return nearest;
    return lineLabel(dialog, *nearest);
}

// The label over field's column: the lowest label above it that shares some of its width.
const ControlTemplate* columnHeading(const DialogTemplate& dialog, const ControlTemplate& field) {
    const ControlTemplate* lowest = nullptr;
    for (const ControlTemplate& other : dialog.controls) {
        const DialogRect& o = other.rect;
        if (!isLabel(other) || bottom(o) > field.rect.y ||
            !overlap(o.x, right(o), field.rect.x, right(field.rect)))
            continue;
        if (lowest == nullptr || bottom(o) > bottom(lowest->rect))
            lowest = &other;
    }
    return lowest;
}

} // namespace

std::string displayCaption(std::string_view caption) {
    std::string shown;
    for (const char c : caption) {
        if (c != '&')
            shown.push_back(c);
    }
    const auto first = shown.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const auto last = shown.find_last_not_of(" \t");
    return shown.substr(first, last - first + 1);
}

const ControlTemplate* groupOf(const DialogTemplate& dialog, const ControlTemplate& control) {
    if (control.kind == ControlKind::GroupBox)
        return nullptr;
    const DialogRect& inner = control.rect;
    for (const ControlTemplate& group : dialog.controls) {
        const DialogRect& outer = group.rect;
        if (group.kind == ControlKind::GroupBox && inner.x >= outer.x && inner.y >= outer.y &&
            inner.x < right(outer) && inner.y < bottom(outer))
            return &group;
    }
    return nullptr;
}

std::string fieldLabel(const DialogTemplate& dialog, const ControlTemplate& field) {
    if (!isField(field))
        return {};
    const ControlTemplate* line = lineLabel(dialog, field);
    if (line == nullptr)
        return {};
    std::string label(line->caption);
    for (const ControlTemplate& other : dialog.controls) {
        if (&other == &field || !isField(other) || lineLabel(dialog, other) != line)
            continue;
        if (const ControlTemplate* heading = columnHeading(dialog, field))
            label += " " + std::string(heading->caption);
        break;
    }
    return label;
}

} // namespace orvane
