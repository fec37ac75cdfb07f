// Prints the control list as the Markdown table of docs/api.md, so a test can check the two agree.
#include <orvane/controls.h>

#include <cstdio>
#include <string>

namespace {

std::string registersOf(const orvane::ControlInfo& control) {
    std::string text;
    for (const orvane::ControlRegister& r : control.registers) {
        char one[32];
        if (r.mask == 0xFF)
            std::snprintf(one, sizeof one, "0x%02X", r.address);
        else
            std::snprintf(one, sizeof one, "0x%02X (0x%02X)", r.address, r.mask);
        text += (text.empty() ? "" : ", ") + std::string(one);
    }
    return text;
}

} // namespace

int main() {
    std::printf("| name | kind | range | default | register (bits) | group | what it does |\n"
                "|---|---|---|---|---|---|---|\n");
    for (const orvane::ControlInfo& c : orvane::controlList()) {
        std::string kind = "integer";
        std::string range = std::to_string(c.minimum) + " to " + std::to_string(c.maximum);
        std::string shownDefault = std::to_string(c.defaultValue);
        if (!c.choices.empty()) {
            kind = c.type == orvane::ControlType::Boolean ? "boolean" : "menu";
            range.clear();
            for (const orvane::ControlChoice& choice : c.choices) {
                const std::string named =
                    std::to_string(choice.value) + " `" + std::string(choice.name) + "`";
                range += (range.empty() ? "" : ", ") + named +
                         (choice.selectable ? "" : " (shown only)");
                if (choice.value == c.defaultValue)
                    shownDefault = named;
            }
        }
        std::printf("| `%.*s` | %s | %s | %s | %s | %.*s | %.*s |\n", int(c.name.size()),
                    c.name.data(), kind.c_str(), range.c_str(), shownDefault.c_str(),
                    registersOf(c).c_str(), int(c.group.size()), c.group.data(),
                    int(c.description.size()), c.description.data());
    }
}
