// The command lines of the programs over liborvane: flags, and options that take a value as
// --NAME VALUE or --NAME=VALUE, read into a program's own options structure.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace orvane {

template <typename Options> struct FlagOption {
    std::string_view name; // "--help", "-h"
    bool Options::*flag;
};

template <typename Options> struct ValueOption {
    std::string_view name; // "--device"
    std::optional<std::string> Options::*value;
    std::string_view needs; // what to give it, for the error: "a file name"
};

// Reads arguments (argv, the program's name first) into options; options.error says the first
// argument that cannot be used, and nothing after it is read.
template <typename Options>
void readCommandLine(std::span<char* const> arguments, std::span<const FlagOption<Options>> flags,
                     std::span<const ValueOption<Options>> values, Options& options) {
    for (std::size_t i = 1; i < arguments.size() && options.error.empty(); ++i) {
        const std::string_view argument = arguments[i];
        bool known = false;
        for (const FlagOption<Options>& option : flags) {
            if (argument == option.name) {
                options.*option.flag = true;
                known = true;
            }
        }
        if (known)
            continue;
        options.error = "unknown argument " + std::string(argument);
        for (const ValueOption<Options>& option : values) {
            std::optional<std::string>& value = options.*option.value;
            const bool joined = argument.starts_with(option.name) &&
                                argument.size() > option.name.size() + 1 &&
                                argument[option.name.size()] == '=';
            if (joined) {
                value = std::string(argument.substr(option.name.size() + 1));
                options.error.clear();
            } else if (argument == option.name && i + 1 < arguments.size()) {
                value = arguments[++i];
                options.error.clear();
            } else if (argument == option.name || argument == std::string(option.name) + "=") {
                options.error = std::string(option.name) + " needs " + std::string(option.needs);
            }
        }
    }
}

} // namespace orvane
