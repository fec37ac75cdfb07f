// The registers property's text: raw register writes for bring-up, "0x06=0x90,0x05=0x20".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvane {

struct RegisterAssignment {
    int address;
    int value;
};

// Comma-separated ADDRESS=VALUE pairs, each number decimal or 0x-prefixed hexadecimal; blanks
// around them are ignored. Empty when every pair was understood, else what is wrong (with the
// pair, at most 80 characters of it).
std::string parseRegisterList(std::string_view text, std::vector<RegisterAssignment>& writes);

} // namespace orvane
