// Register writes as text, for bring-up: a list on one line ("0x06=0x90,0x05=0x20", as
// orvanesrc's registers property takes it) and a dump file of every managed register.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "orvane/camera.h"
#include "orvane/export.h"
#include "orvane/status.h"

namespace orvane {

struct RegisterAssignment {
    int address;
    int value;
    friend bool operator==(const RegisterAssignment&, const RegisterAssignment&) = default;
};

// Comma-separated ADDRESS=VALUE pairs, each number decimal or 0x-prefixed hexadecimal; blanks
// around them are ignored. writes holds the pairs before the first one that is not understood;
// that one is InvalidArgument, quoting it (at most 80 characters).
ORVANE_API Status parseRegisterList(std::string_view text, std::vector<RegisterAssignment>& writes);

// A dump: a header comment with the date, then "0xNN = 0xMM  # name", one line a register in
// the order given.
ORVANE_API std::string registerDump(const std::vector<RegisterState>& registers,
                                    std::string_view date);

struct RegisterDumpReading {
    std::vector<RegisterAssignment> writes; // in the file's order
    std::vector<std::string> problems;      // "line 3: ...", for lines that were left out
};

// Lines "REGISTER = VALUE" (0x hex or decimal, 0 to 255 each), comments after '#', blank lines.
ORVANE_API RegisterDumpReading readRegisterDump(std::string_view text);

} // namespace orvane
