// The answers every program gives to --version and --help before it does anything else.
#pragma once

#include <cstdio>
#include <optional>
#include <string_view>

#include "resources/build_version.h"

namespace orvane {

// When the only argument is --version or --help: prints "PROGRAM VERSION" or help (which ends
// with a line break) on standard output and gives the exit status, 0 when that was written.
// Otherwise nothing happens and the program goes on as it would.
inline std::optional<int> answerInfoOption(int argc, char** argv, std::string_view program,
                                           std::string_view help) {
    if (argc != 2)
        return std::nullopt;
    const std::string_view argument = argv[1];
    if (argument == "--version")
        std::printf("%.*s %.*s\n", static_cast<int>(program.size()), program.data(),
                    static_cast<int>(buildVersion.size()), buildVersion.data());
    else if (argument == "--help")
        std::fwrite(help.data(), 1, help.size(), stdout);
    else
        return std::nullopt;
    return std::fflush(stdout) == 0 ? 0 : 1;
}

} // namespace orvane
