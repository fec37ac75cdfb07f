// Decimal text of edits and labels.
#include "toolkit/panel_numbers.h"

#include <charconv>
#include <string>

namespace orvane {

std::optional<int32_t> parseDecimal(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    if (text.size() > 1 && text.front() == '+' && text[1] >= '0' && text[1] <= '9')
        text.remove_prefix(1);
    int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

int32_t editNumber(const Panel& panel, int id) {
    return parseDecimal(panel.editText(id)).value_or(0);
}

void setEditSigned(Panel& panel, int id, int32_t value) {
    panel.setEditText(id, std::to_string(value));
}

void setEditUnsigned(Panel& panel, int id, uint32_t value) {
    panel.setEditText(id, std::to_string(value));
}

void setStaticUnsigned(Panel& panel, int id, uint32_t value) {
    panel.setStaticText(id, std::to_string(value));
}

} // namespace orvane
