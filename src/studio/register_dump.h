// Register dumps: every managed register as "0xNN = 0xMM  # name" lines, and the reading of such
// a file back into register writes, for saving a bring-up state and sending it again.
#pragma once

#include <orvane/camera.h>

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// The registers as the camera keeps them and, on the simulated module, what its sensor holds;
// what the worker tells the register inspector after every change.
struct RegisterSnapshot {
    std::vector<RegisterState> registers;
    std::optional<std::array<uint8_t, 256>> module;
};

struct DumpedWrite {
    int address;
    int value;
    friend bool operator==(const DumpedWrite&, const DumpedWrite&) = default;
};

struct RegisterDumpReading {
    std::vector<DumpedWrite> writes;   // in the file's order
    std::vector<std::string> problems; // "line 3: ...", for lines that were left out
};

// A header comment, then one line a register in the order given.
std::string registerDump(const std::vector<RegisterState>& registers, std::string_view date);

// Lines "NUMBER = VALUE" (0x hex or decimal, 0 to 255 each), comments after '#', blank lines.
RegisterDumpReading readRegisterDump(std::string_view text);

} // namespace orvane
