// The show command's report.
#include "app/cli/state_report.h"

#include <array>
#include <cstdio>
#include <iomanip>
#include <ostream>

#include "app/cli/control_names.h"
#include "app/headless/headless_panel.h"
#include "app/program_state.h"

namespace orvane {
namespace {

struct ModeField {
    std::string_view name;
    uint8_t ModeState::*field;
};

constexpr std::array<ModeField, 10> modeFields{{
    {"mirrorState", &ModeState::mirrorState},
    {"dataFormat", &ModeState::dataFormat},
    {"imageFormat", &ModeState::imageFormat},
    {"uvBusMode", &ModeState::uvBusMode},
    {"autoAdjustState", &ModeState::autoAdjustState},
    {"analogGain2x", &ModeState::analogGain2x},
    {"redBackgroundOffset", &ModeState::redBackgroundOffset},
    {"cameraInitialized", &ModeState::cameraInitialized},
    {"userRegisterPending", &ModeState::userRegisterPending},
    {"autoAdjustApplyPending", &ModeState::autoAdjustApplyPending},
}};

struct CopyField {
    std::string_view name;
    uint8_t SliderCopies::*field;
};

constexpr std::array<CopyField, 6> copyFields{{
    {"contrastShown", &SliderCopies::contrastShown},
    {"brightnessShown", &SliderCopies::brightnessShown},
    {"saturationShown", &SliderCopies::saturationShown},
    {"blueBiasShown", &SliderCopies::blueBiasShown},
    {"redBiasShown", &SliderCopies::redBiasShown},
    {"sharpnessShown", &SliderCopies::sharpnessShown},
}};

std::string hex(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", value & 0xFFu);
    return text;
}

// What the control holds, by kind.
std::string controlState(const HeadlessControl& control) {
    switch (control.source->kind) {
    case ControlKind::Edit:
    case ControlKind::StaticText:
        return "text " + quotedText(control.text);
    case ControlKind::RadioButton:
        return quotedText(control.text) + (control.checked ? " checked" : " unchecked");
    case ControlKind::Slider:
        return "position " + std::to_string(control.position) + " of " +
               std::to_string(control.minimum) + ".." + std::to_string(control.maximum) +
               ", ticks every " + std::to_string(control.tickFrequency);
    case ControlKind::PushButton:
    case ControlKind::GroupBox:
    case ControlKind::Icon:
        break;
    }
    return quotedText(control.text);
}

} // namespace

std::string quotedText(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(c));
                out += escaped;
            } else {
                out.push_back(c);
            }
        }
    }
    return out + "\"";
}

void printStateReport(std::ostream& out, const HeadlessPanel& panel, const ProgramState& state) {
    const std::ios_base::fmtflags callerFlags = out.flags();
    out << "  controls (ID, kind, names: state, x,y width x height in dialog units, style):\n";
    for (const ControlTemplate& source : panel.dialogTemplate().controls) {
        const HeadlessControl* control = panel.control(source.id);
        if (source.id == noControlId || control == nullptr)
            continue;
        const DialogRect& r = source.rect;
        out << "    " << std::left << std::setw(6) << source.id << std::setw(14)
            << kindName(source.kind) << controlNamesText(panel.dialogTemplate(), source) << ": "
            << controlState(*control) << "  at " << r.x << ',' << r.y << ' ' << r.width << 'x'
            << r.height;
        if ((source.style & ControlStyle::hidden) != 0)
            out << " hidden";
        if ((source.style & ControlStyle::disabled) != 0)
            out << " disabled";
        out << '\n';
    }

    const RegisterShadow& shadow = state.device.shadow;
    out << "  registers in write order (sub-address value default pending):\n";
    for (const ShadowEntry& entry : shadow.entries()) {
        out << "    " << hex(entry.subAddress) << ' ' << hex(entry.value) << ' '
            << hex(entry.defaultValue) << ' ' << unsigned{entry.pending} << '\n';
    }
    out << "  mode:";
    for (const ModeField& field : modeFields)
        out << ' ' << field.name << '=' << hex(shadow.mode.*field.field);
    out << "\n  slider copies:";
    for (const CopyField& field : copyFields)
        out << ' ' << field.name << '=' << unsigned{state.sliders.*field.field};
    out << "\n  writeListCount=" << unsigned{shadow.writeListCount} << '\n';

    const FrameGeometry& geometry = state.device.geometry;
    out << "  frame geometry: imageWidth=" << geometry.imageWidth
        << " imageHeight=" << geometry.imageHeight << " linesToRead=" << geometry.linesToRead
        << " bytesPerLine=" << geometry.bytesPerLine << '\n';
    out << "  window: "
        << (panel.ended() ? "ended, result " + std::to_string(panel.result()) : std::string("open"))
        << (panel.isMinimized() ? ", minimised" : "") << ", message boxes so far "
        << panel.messages().size() << ", About boxes shown " << panel.aboutBoxesShown() << '\n';
    out.flags(callerFlags);
}

} // namespace orvane
