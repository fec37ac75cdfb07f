// The script command table: splitting lines into words and refusing malformed commands.
#include "app/cli/cli_commands.h"

#include <gtest/gtest.h>

#include "text/text_fields.h"

namespace orvane {
namespace {

TEST(CliCommands, SplitsWordsAtBlanksWithQuotesKeepingBlanksAndEmptyWords) {
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"press  Save &As", {"press", "Save", "&As"}},
        {"type \"File name\" a.bmp", {"type", "File name", "a.bmp"}},
        {"type 1037 \"\"", {"type", "1037", ""}},
        {"type 1065 \"say \\\"hi\\\" \\\\ \"", {"type", "1065", "say \"hi\" \\ "}},
        {"\tshow\t", {"show"}},
    };
    for (const auto& [line, words] : cases) {
        const auto split = splitWords(line);
        ASSERT_TRUE(split) << line;
        EXPECT_EQ(*split, words) << line;
    }
    EXPECT_FALSE(splitWords("type 1065 \"open"));
    EXPECT_EQ(parseCommand("type 1065 \"open").error, "a quoted word is not closed");
}

TEST(CliCommands, RefusesMalformedLinesWithTheUsage) {
    const std::pair<const char*, const char*> cases[] = {
        {"pres Upload", "unknown command \"pres\"; orvane-cli --help lists the commands"},
        {"Press Upload", "unknown command \"Press\"; orvane-cli --help lists the commands"},
        {"press", "Usage: press CONTROL"},
        {"show now", "Usage: show"},
        {"type 1042", "Usage: type CONTROL TEXT (quote a word that holds blanks: \"Save As\")"},
        {"move Red Bias 3",
         "Usage: move CONTROL POSITION (quote a word that holds blanks: \"Save As\")"},
        {"command 70000",
         "Usage: command ID (a number from 0 to 65535, decimal or 0x hexadecimal)"},
        {"system 0xg", "Usage: system ID (a number from 0 to 65535, decimal or 0x hexadecimal)"},
        {"command -1", "Usage: command ID (a number from 0 to 65535, decimal or 0x hexadecimal)"},
    };
    for (const auto& [line, error] : cases) {
        const ParsedCommand parsed = parseCommand(line);
        EXPECT_EQ(parsed.command, nullptr) << line;
        EXPECT_EQ(parsed.error, error) << line;
    }
}

} // namespace
} // namespace orvane
