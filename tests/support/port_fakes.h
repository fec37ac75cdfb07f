// Fakes for the port layer's world: a recording port, a tick counter that never waits, and one
// event log that shows port writes, trace lines and tick reads in the order they happened.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "port/port_io.h"
#include "port/tick_counter.h"
#include "port/trace_sink.h"

namespace orvane::testing {

struct PortAccess {
    bool write;
    uint16_t port;
    uint8_t value;
    friend bool operator==(const PortAccess&, const PortAccess&) = default;
};

// Records every access and forwards it to an optional inner port (the simulated module, say).
class RecordingPort final : public PortIo {
public:
    explicit RecordingPort(PortIo* inner = nullptr, std::vector<std::string>* events = nullptr)
        : inner_(inner), events_(events) {}

    void writePort(uint16_t port, uint8_t value) override {
        accesses_.push_back({true, port, value});
        if (events_ != nullptr)
            events_->push_back("W" + std::to_string(value));
        if (inner_ != nullptr)
            inner_->writePort(port, value);
    }
    uint8_t readPort(uint16_t port) override {
        const uint8_t value = inner_ != nullptr ? inner_->readPort(port) : uint8_t{0xFF};
        accesses_.push_back({false, port, value});
        return value;
    }

    void holdBusLevel() override {
        if (inner_ != nullptr)
            inner_->holdBusLevel();
    }

    const std::vector<PortAccess>& accesses() const { return accesses_; }
    std::vector<uint8_t> writtenTo(uint16_t port) const {
        std::vector<uint8_t> values;
        for (const PortAccess& access : accesses_) {
            if (access.write && access.port == port)
                values.push_back(access.value);
        }
        return values;
    }

private:
    PortIo* inner_;
    std::vector<std::string>* events_;
    std::vector<PortAccess> accesses_;
};

// Advances by a fixed step on every read, so each tick wait ends after a known number of reads.
class SteppingTickCounter final : public TickCounter {
public:
    explicit SteppingTickCounter(uint32_t start = 0, uint32_t step = 1,
                                 std::vector<std::string>* events = nullptr)
        : now_(start), step_(step), events_(events) {}

    uint32_t milliseconds() override {
        ++reads_;
        if (events_ != nullptr)
            events_->push_back("tick");
        const uint32_t value = now_;
        now_ += step_;
        return value;
    }
    std::size_t reads() const { return reads_; }

private:
    uint32_t now_;
    uint32_t step_;
    std::vector<std::string>* events_;
    std::size_t reads_ = 0;
};

// Logs trace lines into the shared event log.
class EventTraceSink final : public TraceSink {
public:
    explicit EventTraceSink(std::vector<std::string>& events) : events_(events) {}
    void writeLine(std::string_view line) override { events_.push_back("T" + std::string(line)); }

private:
    std::vector<std::string>& events_;
};

} // namespace orvane::testing
