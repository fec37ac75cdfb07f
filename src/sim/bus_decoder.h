// BusDecoder: a referee for the two-wire control bus. It follows the clock and data line levels
// one change at a time, decodes start, bytes (most significant bit first, then an acknowledge
// clock) and stop, and logs both the completed write transactions and every protocol violation.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvane {

// The sensor's bus address with the write bit, as it appears on the data line.
constexpr uint8_t sensorWriteAddress = 0x42;

struct DecodedTransaction {
    uint8_t address;
    uint8_t subAddress;
    uint8_t value;
    friend bool operator==(const DecodedTransaction&, const DecodedTransaction&) = default;
};

enum class BusViolationKind : uint8_t {
    DataChangeWhileClockHigh, // neither a start (from idle) nor a stop (inside a transaction)
    ClockAndDataTogether,     // both lines changed in one step: the order is undefined
    ByteCutShort,             // a stop or start in the middle of a byte
    ForeignAddress,           // the first byte was not the sensor's write address
    WrongLength,              // a transaction to the sensor without exactly three bytes
};

struct BusViolation {
    BusViolationKind kind;
    uint64_t step;  // index of the line change that revealed it
    uint8_t detail; // the address, byte count or bits received, depending on the kind
    std::string describe() const;
    friend bool operator==(const BusViolation&, const BusViolation&) = default;
};

class BusDecoder {
public:
    // Follows the lines to new levels; returns the write transaction a stop completed, if any.
    std::optional<DecodedTransaction> step(bool clock, bool data);

    // The decoded writes and violations, oldest first: at least the last keptEntries of each.
    static constexpr std::size_t keptEntries = std::size_t{1} << 16;
    const std::vector<DecodedTransaction>& transactions() const { return transactions_; }
    const std::vector<BusViolation>& violations() const { return violations_; }
    bool idle() const { return !inTransaction_; }

private:
    void begin();
    void clockRose();
    std::optional<DecodedTransaction> finish();
    void violation(BusViolationKind kind, uint8_t detail);

    bool clock_ = true; // an idle bus has both lines high
    bool data_ = true;
    uint64_t steps_ = 0;
    bool inTransaction_ = false;
    bool foreign_ = false;
    uint8_t bitCount_ = 0; // bits of the current byte; 8 means the acknowledge clock is next
    uint8_t shift_ = 0;
    std::array<uint8_t, 3> bytes_{};
    uint32_t byteCount_ = 0;
    std::vector<DecodedTransaction> transactions_;
    std::vector<BusViolation> violations_;
};

} // namespace orvane
