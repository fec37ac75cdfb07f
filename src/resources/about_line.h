// The About box's line: the program's name, the version of this build and its licence. The
// panel's box and orvane-cli's "system 16" show the same words.
#pragma once

#include <string>

#include "resources/build_version.h"

namespace orvane {

inline std::string aboutLine(std::string_view programName) {
    return std::string(programName) + ", version " + std::string(buildVersion) + ", MIT licence";
}

} // namespace orvane
