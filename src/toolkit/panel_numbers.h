// Numbers written into and read from the panel's edits and labels as decimal text.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "toolkit/panel.h"

namespace orvane {

// The text as a signed 32-bit decimal number: optional blanks, an optional sign, digits, optional
// blanks. Anything else, or a number outside 32 bits, is not a number.
std::optional<int32_t> parseDecimal(std::string_view text);

// An edit's text as a number; an empty or non-numeric field reads as 0.
int32_t editNumber(const Panel& panel, int id);

void setEditSigned(Panel& panel, int id, int32_t value);
void setEditUnsigned(Panel& panel, int id, uint32_t value);
void setStaticUnsigned(Panel& panel, int id, uint32_t value);

} // namespace orvane
