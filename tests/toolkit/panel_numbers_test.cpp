// Decimal text of edits: what counts as a number.
#include "toolkit/panel_numbers.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(ParseDecimal, AcceptsSignedDecimalNumbersOnly) {
    struct Case {
        const char* text;
        std::optional<int32_t> value;
    };
    const Case cases[] = {
        {"0", 0},
        {"56", 56},
        {"-1", -1},
        {" 214 ", 214},
        {"+7", 7},
        {"", std::nullopt},
        {" ", std::nullopt},
        {"12a", std::nullopt},
        {"a12", std::nullopt},
        {"+-5", std::nullopt},
        {"-", std::nullopt},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"2147483648", std::nullopt},
        {"1 2", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parseDecimal(c.text), c.value) << '"' << c.text << '"';
}

} // namespace
} // namespace orvane
