// The bit-banged bus transaction. The sensor sees the true bytes: each byte is sent complemented
// into control bit 1, which the connector inverts again on the AUTOFD line.
#include "port/write_register.h"

#include <array>
#include <cstdio>
#include <string_view>

#include "port/parallel_port.h"

namespace orvane {
namespace {

// Trace lines and acknowledge masks of the three bytes of a transaction.
struct ByteStep {
    std::string_view clockLow;  // T1
    std::string_view dataSet;   // T2
    std::string_view clockHigh; // T3
    std::string_view ackLow;    // A1
    std::string_view ackHigh;   // A2
    uint8_t ackLowOrMask;       // clock low for the acknowledge clock
    uint8_t ackHighAndMask;     // clock high again
};

// The slave-ID byte's acknowledge leaves bit 5 alone going low and clears it going high, so its
// second acknowledge write also turns the data port to output (0x02); the next byte sets it again.
constexpr std::array<ByteStep, 3> byteSteps{{
    {"press any key3\n", "press any key4\n", "press any key5\n", "press any key6\n",
     "press any key7\n", 0x08, 0x07},
    {"press any key3\n", "press any key9\n", "press any key10\n", "press any key11\n",
     "press any key12\n", 0x28, 0x27},
    {"press any key13\n", "press any key14\n", "press any key15\n", "press any key16\n",
     "press any key17\n", 0x28, 0x27},
}};

constexpr std::string_view startLine = " start setting registers \n";
constexpr std::string_view checkLine = "press any key1 check uv disable\n";
constexpr std::string_view stopLine = "press any key18\n";

// Writes trace lines with the pacing's repeat count and tick waits.
class PacedTrace {
public:
    PacedTrace(ControlBus& bus, const BusPacing& pacing) : bus_(bus), pacing_(pacing) {}

    void line(std::string_view text) {
        for (unsigned i = 0; i < pacing_.traceRepeat; ++i)
            bus_.trace.writeLine(text);
        if (pacing_.tickWait && !first_)
            waitTicks();
        first_ = false;
    }

    template <typename... Args> void format(const char* pattern, Args... args) {
        std::array<char, 64> text{};
        const int length = std::snprintf(text.data(), text.size(), pattern, args...);
        line(std::string_view(text.data(), static_cast<std::size_t>(length)));
    }

private:
    void waitTicks() {
        const uint32_t start = bus_.ticks.milliseconds();
        while (static_cast<uint32_t>(bus_.ticks.milliseconds() - start) < tickWaitMilliseconds) {
        }
    }

    ControlBus& bus_;
    const BusPacing& pacing_;
    bool first_ = true;
};

} // namespace

void writeRegister(ControlBus& bus, uint8_t subAddress, uint8_t value, const BusPacing& pacing) {
    PacedTrace trace(bus, pacing);
    // Every level of the transaction is held for as long as the bus needs on this port.
    const auto write = [&bus](uint8_t byte) {
        bus.port.writePort(ParallelPort::controlPort, byte);
        bus.port.holdBusLevel();
    };

    const std::array<uint8_t, 3> wireBytes{sensorSlaveId, static_cast<uint8_t>(~subAddress),
                                           static_cast<uint8_t>(~value)};

    // Start: the data line falls while the clock is high.
    write(controlIdle);
    trace.line(startLine);
    write(controlIdle);
    trace.line(checkLine);
    uint8_t controlByte = 0x22;
    write(controlByte);
    trace.format("slaveID2=%x, subADD2=%x,data2=%x\n", unsigned{wireBytes[0]},
                 unsigned{wireBytes[1]}, unsigned{wireBytes[2]});

    for (std::size_t i = 0; i < wireBytes.size(); ++i) {
        const ByteStep& step = byteSteps[i];
        const uint8_t byte = wireBytes[i];
        for (int k = 7; k >= 0; --k) {
            controlByte |= 0x28; // clock low, data unchanged
            write(controlByte);
            trace.line(step.clockLow);
            const uint8_t dataBit = static_cast<uint8_t>(((byte >> k) & 1u) << 1);
            controlByte = static_cast<uint8_t>((controlByte & 0x2D) | dataBit);
            trace.format("temp=%x,  out=%x\n", unsigned{dataBit}, unsigned{controlByte});
            write(controlByte); // new data bit while the clock is low
            trace.line(step.dataSet);
            controlByte &= 0x27; // clock high: the sensor takes the bit
            write(controlByte);
            trace.line(step.clockHigh);
        }
        // Acknowledge clock; the data line is not released and nothing is read.
        controlByte |= step.ackLowOrMask;
        write(controlByte);
        trace.line(step.ackLow);
        controlByte &= step.ackHighAndMask;
        write(controlByte);
        trace.line(step.ackHigh);
    }

    // Stop: the data line rises while the clock is high.
    write(static_cast<uint8_t>(controlByte | 0x28));
    trace.line(stopLine);
    write(0x2A);
    trace.line(stopLine);
    write(0x22);
    trace.line(stopLine);
    write(0x22);
    trace.line(stopLine);
    write(controlIdle);
    for (unsigned i = 0; i < pacing.trailerLines; ++i)
        bus.trace.writeLine(stopLine);
}

} // namespace orvane
