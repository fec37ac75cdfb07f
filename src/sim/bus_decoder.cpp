// Two-wire bus decoding from line levels.
#include "sim/bus_decoder.h"

#include <algorithm>
#include <cstdio>

namespace orvane {
namespace {

// A stop or repeated start after a complete byte takes one clock pulse of its own: the clock
// rises with the data line set up, then the data line changes. That pulse looks like the first
// bit of a next byte, so up to one such bit is part of the condition, not a cut-short byte.
constexpr uint8_t clocksOfACondition = 1;

// A module that runs for hours keeps only its recent history: once a log holds twice
// keptEntries, the older half goes (a rare move, so appending stays cheap).
template <typename Entry> void keepBounded(std::vector<Entry>& log, const Entry& entry) {
    if (log.size() >= 2 * BusDecoder::keptEntries)
        log.erase(log.begin(), log.begin() + BusDecoder::keptEntries);
    log.push_back(entry);
}

} // namespace

std::string BusViolation::describe() const {
    char text[96];
    switch (kind) {
    case BusViolationKind::DataChangeWhileClockHigh:
        std::snprintf(text, sizeof text, "step %llu: data changed while the clock was high",
                      static_cast<unsigned long long>(step));
        break;
    case BusViolationKind::ClockAndDataTogether:
        std::snprintf(text, sizeof text, "step %llu: clock and data changed together",
                      static_cast<unsigned long long>(step));
        break;
    case BusViolationKind::ByteCutShort:
        std::snprintf(text, sizeof text, "step %llu: byte cut short after %u clocks",
                      static_cast<unsigned long long>(step), unsigned{detail});
        break;
    case BusViolationKind::ForeignAddress:
        std::snprintf(text, sizeof text, "step %llu: address 0x%02x is not the sensor's",
                      static_cast<unsigned long long>(step), unsigned{detail});
        break;
    case BusViolationKind::WrongLength:
        std::snprintf(text, sizeof text, "step %llu: transaction of %u bytes",
                      static_cast<unsigned long long>(step), unsigned{detail});
        break;
    }
    return text;
}

std::optional<DecodedTransaction> BusDecoder::step(bool clock, bool data) {
    const bool clockChanged = clock != clock_;
    const bool dataChanged = data != data_;
    if (!clockChanged && !dataChanged)
        return std::nullopt;
    ++steps_;
    clock_ = clock;
    data_ = data;

    if (clockChanged && dataChanged) {
        violation(BusViolationKind::ClockAndDataTogether, 0);
        inTransaction_ = false; // nothing after this can be trusted until the next start
        return std::nullopt;
    }
    if (clockChanged) {
        if (clock && inTransaction_)
            clockRose();
        return std::nullopt;
    }
    if (!clock)
        return std::nullopt; // data may change freely while the clock is low

    if (!data) { // falling data, clock high
        if (inTransaction_) {
            violation(BusViolationKind::DataChangeWhileClockHigh, 0);
            if (bitCount_ > clocksOfACondition)
                violation(BusViolationKind::ByteCutShort, bitCount_);
        }
        begin();
        return std::nullopt;
    }
    // Rising data, clock high.
    if (!inTransaction_) {
        violation(BusViolationKind::DataChangeWhileClockHigh, 0);
        return std::nullopt;
    }
    return finish();
}

void BusDecoder::begin() {
    inTransaction_ = true;
    foreign_ = false;
    bitCount_ = 0;
    shift_ = 0;
    byteCount_ = 0;
}

void BusDecoder::clockRose() {
    if (bitCount_ < 8) {
        shift_ = static_cast<uint8_t>((shift_ << 1) | (data_ ? 1 : 0));
        ++bitCount_;
        return;
    }
    // Ninth clock: the acknowledge. The byte is complete.
    if (byteCount_ == 0 && shift_ != sensorWriteAddress) {
        violation(BusViolationKind::ForeignAddress, shift_);
        foreign_ = true;
    }
    if (byteCount_ < bytes_.size())
        bytes_[byteCount_] = shift_;
    ++byteCount_;
    bitCount_ = 0;
    shift_ = 0;
}

std::optional<DecodedTransaction> BusDecoder::finish() {
    inTransaction_ = false;
    if (bitCount_ > clocksOfACondition) {
        violation(BusViolationKind::ByteCutShort, bitCount_);
        return std::nullopt;
    }
    if (foreign_)
        return std::nullopt;
    if (byteCount_ != bytes_.size()) {
        violation(BusViolationKind::WrongLength,
                  static_cast<uint8_t>(std::min<uint32_t>(byteCount_, 255)));
        return std::nullopt;
    }
    const DecodedTransaction done{bytes_[0], bytes_[1], bytes_[2]};
    keepBounded(transactions_, done);
    return done;
}

void BusDecoder::violation(BusViolationKind kind, uint8_t detail) {
    keepBounded(violations_, BusViolation{kind, steps_, detail});
}

} // namespace orvane
