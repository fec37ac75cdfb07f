// Settings profiles: the controls written as an orvane-cli command file, which orvane-cli and the
// studio replay to the same register values.
#pragma once

#include <string>
#include <string_view>

#include "studio/studio_session.h"

namespace orvane {

// A comment header with the date and version, Set Register (as the studio starts), one command
// per control in the order that keeps the values (option buttons before the window fields the
// format options rewrite), then Set Register.
std::string settingsProfile(const ControlValues& controls, std::string_view date,
                            std::string_view version);

} // namespace orvane
