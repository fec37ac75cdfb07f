// Failure messages of the hardware backends: what failed, the system's errno text, and what the
// operator can do about that errno.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <system_error>

namespace orvane {

struct ErrnoAdvice {
    int error;
    std::string_view advice;
};

// The advice for error: the entry that names it, else the table's last entry (error 0), which
// stands for every other errno.
template <std::size_t count>
std::string_view adviceFor(int error, const std::array<ErrnoAdvice, count>& table) {
    static_assert(count > 0);
    for (const ErrnoAdvice& entry : table) {
        if (entry.error == error)
            return entry.advice;
    }
    return table.back().advice;
}

// "what: errno text; advice".
template <std::size_t count>
std::string failureMessage(std::string_view what, int error,
                           const std::array<ErrnoAdvice, count>& table) {
    return std::string(what) + ": " + std::generic_category().message(error) + "; " +
           std::string(adviceFor(error, table));
}

} // namespace orvane
