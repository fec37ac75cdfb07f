// The bus referee decodes hand-written line sequences: start, stop, bit order, the acknowledge
// clock, and every kind of violation.
#include "sim/bus_decoder.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace orvane {
namespace {

using Levels = std::pair<bool, bool>; // clock, data

// Builds line sequences the way a careful bus master would, with room for mistakes.
class LineScript {
public:
    LineScript& start() { return at(true, true).at(true, false); }
    LineScript& stop() { return at(false, data_).at(false, false).at(true, false).at(true, true); }
    LineScript& bit(bool value) { return at(false, data_).at(false, value).at(true, value); }
    LineScript& bits(uint8_t byte, int count) {
        for (int k = 7; k > 7 - count; --k)
            bit(((byte >> k) & 1) != 0);
        return *this;
    }
    LineScript& ack() { return at(false, data_).at(true, data_); }
    LineScript& byte(uint8_t value) { return bits(value, 8).ack(); }
    LineScript& at(bool clock, bool data) {
        levels_.emplace_back(clock, data);
        data_ = data;
        return *this;
    }
    const std::vector<Levels>& levels() const { return levels_; }

private:
    std::vector<Levels> levels_;
    bool data_ = true;
};

struct DecodeCase {
    const char* name;
    LineScript script;
    std::vector<DecodedTransaction> transactions;
    std::vector<BusViolationKind> violations;
};

std::vector<DecodeCase> decodeCases() {
    using K = BusViolationKind;
    return {
        {"WriteTransaction",
         LineScript().start().byte(0x42).byte(0x12).byte(0x80).stop(),
         {{0x42, 0x12, 0x80}},
         {}},
        {"MostSignificantBitFirst",
         LineScript().start().byte(0x42).byte(0x01).byte(0xFE).stop(),
         {{0x42, 0x01, 0xFE}},
         {}},
        {"TwoTransactionsBackToBack",
         LineScript()
             .start()
             .byte(0x42)
             .byte(0x05)
             .byte(0x00)
             .stop()
             .start()
             .byte(0x42)
             .byte(0x06)
             .byte(0xFF)
             .stop(),
         {{0x42, 0x05, 0x00}, {0x42, 0x06, 0xFF}},
         {}},
        {"IdleClockPulsesAreIgnored",
         LineScript().at(false, true).at(true, true).start().byte(0x42).byte(1).byte(2).stop(),
         {{0x42, 0x01, 0x02}},
         {}},
        {"StopAfterFiveBits",
         LineScript().start().byte(0x42).bits(0x12, 5).stop(),
         {},
         {K::ByteCutShort}},
        {"StopBeforeTheAcknowledgeClock",
         LineScript().start().byte(0x42).bits(0x12, 7).stop(),
         {},
         {K::ByteCutShort}},
        {"StopRightAfterAcknowledge",
         LineScript().start().byte(0x42).byte(0x12).byte(0x80).at(true, true),
         {{0x42, 0x12, 0x80}},
         {}},
        {"ForeignAddress",
         LineScript().start().byte(0x40).byte(0x12).byte(0x80).stop(),
         {},
         {K::ForeignAddress}},
        {"ReadAddress", LineScript().start().byte(0x43).byte(0x12).stop(), {}, {K::ForeignAddress}},
        {"TwoByteTransaction",
         LineScript().start().byte(0x42).byte(0x12).stop(),
         {},
         {K::WrongLength}},
        {"FourByteTransaction",
         LineScript().start().byte(0x42).byte(0x12).byte(0x80).byte(0x00).stop(),
         {},
         {K::WrongLength}},
        {"DataFallsWhileClockHighMidByte",
         LineScript()
             .start()
             .byte(0x42)
             .bits(0xFF, 3)
             .at(true, false)
             .byte(0x42)
             .byte(3)
             .byte(4)
             .stop(),
         {{0x42, 0x03, 0x04}},
         {K::DataChangeWhileClockHigh, K::ByteCutShort}},
        {"DataRisesWhileClockHighOutsideTransaction",
         LineScript().at(false, true).at(false, false).at(true, false).at(true, true),
         {},
         {K::DataChangeWhileClockHigh}},
        {"ClockAndDataTogether",
         LineScript().start().byte(0x42).at(false, true).byte(1).byte(2).stop(),
         {},
         {K::ClockAndDataTogether, K::DataChangeWhileClockHigh}},
    };
}

TEST(BusDecoder, DecodesHandWrittenLineSequences) {
    for (const DecodeCase& c : decodeCases()) {
        SCOPED_TRACE(c.name);
        BusDecoder decoder;
        for (const auto& [clock, data] : c.script.levels())
            decoder.step(clock, data);
        EXPECT_EQ(decoder.transactions(), c.transactions);
        std::vector<BusViolationKind> kinds;
        for (const BusViolation& v : decoder.violations())
            kinds.push_back(v.kind);
        EXPECT_EQ(kinds, c.violations);
        EXPECT_TRUE(decoder.idle());
    }
}

TEST(BusDecoder, StepReturnsTheTransactionAtItsStop) {
    BusDecoder decoder;
    const auto levels = LineScript().start().byte(0x42).byte(0x12).byte(0x80).stop().levels();
    for (std::size_t i = 0; i + 1 < levels.size(); ++i)
        EXPECT_FALSE(decoder.step(levels[i].first, levels[i].second).has_value());
    const auto done = decoder.step(levels.back().first, levels.back().second);
    ASSERT_TRUE(done.has_value());
    EXPECT_EQ(*done, (DecodedTransaction{0x42, 0x12, 0x80}));
    // A module that runs for hours keeps its recent writes, not all of them.
    const std::size_t runs = 3 * BusDecoder::keptEntries;
    for (std::size_t n = 1; n < runs; ++n) {
        for (const auto& [clock, data] : levels)
            decoder.step(clock, data);
    }
    EXPECT_LE(decoder.transactions().size(), 2 * BusDecoder::keptEntries);
    EXPECT_GE(decoder.transactions().size(), BusDecoder::keptEntries);
}

TEST(BusDecoder, ViolationsSayWhatWentWrong) {
    BusDecoder decoder;
    const auto levels = LineScript().start().byte(0x40).byte(1).byte(2).stop().levels();
    for (const auto& [clock, data] : levels)
        decoder.step(clock, data);
    ASSERT_EQ(decoder.violations().size(), 1u);
    EXPECT_NE(decoder.violations()[0].describe().find("address 0x40"), std::string::npos);
}

} // namespace
} // namespace orvane
