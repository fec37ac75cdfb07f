// ORVANE_VCD_LIMIT as every program reads it, and what is said when a recording reached it.
#include <cctype>
#include <charconv>

#include "orvane/camera.h"
#include "port/vcd_recorder.h"

namespace orvane {

Status recordingLimitFrom(std::string_view given, uint64_t& bytes) {
    bytes = 0;
    if (given.empty())
        return {};
    uint64_t number = 0;
    const auto [end, error] = std::from_chars(given.data(), given.data() + given.size(), number);
    std::string_view unit(end, std::size_t(given.data() + given.size() - end));
    int shift = 0;
    if (unit.size() == 1) {
        const char letter = char(std::toupper(static_cast<unsigned char>(unit[0])));
        shift = letter == 'K' ? 10 : letter == 'M' ? 20 : letter == 'G' ? 30 : -1;
        unit.remove_prefix(shift >= 0 ? 1 : 0);
    }
    const bool fits = shift >= 0 && number <= (UINT64_MAX >> shift);
    if (error != std::errc() || !unit.empty() || !fits ||
        (number << shift) < minimumRecordingLimit) {
        const std::string shown(given.substr(0, 80));
        return {StatusCode::InvalidArgument,
                "orvane: ORVANE_VCD_LIMIT=" + shown +
                    ": not a size the recording can take; give bytes, or a number followed by "
                    "K, M or G, of at least 64K (for example 500M)"};
    }
    bytes = number << shift;
    return {};
}

std::string recordingLimitMessage(std::string_view path) {
    return "orvane: ORVANE_VCD=" + std::string(path) +
           ": the recording reached its size limit (ORVANE_VCD_LIMIT) and ended there; later "
           "port accesses were not recorded";
}

} // namespace orvane
