// Fakes for the hardware backends' world: the ppdev device, the processor's port instructions,
// the privilege calls and the hold clock, all writing one readable request log.
#pragma once

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <linux/parport.h>

#include "port/direct_io_port.h"
#include "port/hold_clock.h"
#include "port/ppdev_port.h"
#include "port/privileges.h"

namespace orvane::testing {

using RequestLog = std::vector<std::string>;

inline std::string hex(unsigned value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%02x", value);
    return text;
}

// Advances by a fixed step on every read and logs "clock".
class SteppingHoldClock final : public HoldClock {
public:
    explicit SteppingHoldClock(RequestLog& log,
                               std::chrono::nanoseconds step = std::chrono::microseconds(5),
                               std::chrono::nanoseconds start = std::chrono::seconds(1000))
        : log_(log), now_(start), step_(step) {}

    std::chrono::nanoseconds now() override {
        log_.push_back("clock");
        const std::chrono::nanoseconds value = now_;
        now_ += step_;
        return value;
    }

private:
    RequestLog& log_;
    std::chrono::nanoseconds now_;
    std::chrono::nanoseconds step_;
};

struct ParportBehaviour {
    int openError = 0;
    int claimError = 0;
    int modesError = 0;
    uint32_t modes = PARPORT_MODE_PCSPP | PARPORT_MODE_TRISTATE | PARPORT_MODE_ECP;
    std::vector<uint8_t> data = {0x5A}; // bytes readData returns, in turn, the last one repeated
    bool echoesData = false; // readData gives the last writeData: a port stuck driving its lines
};

class FakeParportDevice final : public ParportDevice {
public:
    FakeParportDevice(RequestLog& log, ParportBehaviour behaviour = {})
        : log_(log), behaviour_(std::move(behaviour)) {}

    int open(const std::string& path) override {
        log_.push_back("open " + path);
        return behaviour_.openError;
    }
    int claim() override {
        log_.push_back("claim");
        return behaviour_.claimError;
    }
    Modes availableModes() override {
        log_.push_back("modes");
        return Modes{behaviour_.modesError, behaviour_.modes};
    }
    int setMode(int ieee1284Mode) override {
        log_.push_back("mode " + std::to_string(ieee1284Mode));
        return 0;
    }
    void writeControl(uint8_t lines) override { log_.push_back("control " + hex(lines)); }
    void setDataDirection(bool input) override {
        log_.push_back(input ? "direction in" : "direction out");
    }
    uint8_t readData() override {
        log_.push_back("read");
        if (behaviour_.echoesData)
            return written_;
        const std::size_t index = std::min(reads_++, behaviour_.data.size() - 1);
        return behaviour_.data[index];
    }
    void writeData(uint8_t value) override {
        log_.push_back("write " + hex(value));
        written_ = value;
    }
    void release() override { log_.push_back("release"); }
    void close() override { log_.push_back("close"); }

private:
    RequestLog& log_;
    ParportBehaviour behaviour_;
    std::size_t reads_ = 0;
    uint8_t written_ = 0;
};

class FakePortInstructions final : public PortInstructions {
public:
    // grantErrors: errno per first port of a range; ranges not named are granted.
    explicit FakePortInstructions(RequestLog& log, std::map<uint16_t, int> grantErrors = {},
                                  uint8_t data = 0xA5)
        : log_(log), grantErrors_(std::move(grantErrors)), data_(data) {}

    int grant(uint16_t first, uint16_t count) override {
        log_.push_back("grant " + hex(first) + " " + std::to_string(count));
        const auto found = grantErrors_.find(first);
        return found == grantErrors_.end() ? 0 : found->second;
    }
    void revoke(uint16_t first, uint16_t count) override {
        log_.push_back("revoke " + hex(first) + " " + std::to_string(count));
    }
    void out(uint16_t port, uint8_t value) override {
        log_.push_back("out " + hex(port) + " " + hex(value));
    }
    uint8_t in(uint16_t port) override {
        log_.push_back("in " + hex(port));
        return data_++;
    }

private:
    RequestLog& log_;
    std::map<uint16_t, int> grantErrors_;
    uint8_t data_;
};

struct PrivilegeBehaviour {
    std::map<std::string, std::string> environment;
    uid_t realUid = 0;
    gid_t realGid = 0;
    std::optional<std::vector<gid_t>> accountGroups = std::vector<gid_t>{1000, 24, 27};
    int setGroupsError = 0;
    int setGidError = 0;
    int setUidError = 0;
    bool userIdsStick = false;  // setresuid reports success but changes nothing
    bool groupIdsStick = false; // setresgid likewise
    bool groupsStick = false;   // setgroups likewise
    bool rootComesBack = false; // setuid(0) succeeds after the drop
    bool rootGroupComesBack = false;
};

// A process that starts with all ids 0 (sudo) or with the real ids of behaviour (set-user-ID
// start, effective and saved 0). Logs every call.
class FakePrivilegeCalls final : public PrivilegeCalls {
public:
    FakePrivilegeCalls(RequestLog& log, PrivilegeBehaviour behaviour)
        : log_(log), behaviour_(std::move(behaviour)), userIds_{behaviour_.realUid, 0, 0},
          groupIds_{behaviour_.realGid, 0, 0} {}

    std::optional<std::string> environment(const char* name) override {
        log_.push_back(std::string("getenv ") + name);
        const auto found = behaviour_.environment.find(name);
        if (found == behaviour_.environment.end())
            return std::nullopt;
        return found->second;
    }
    uid_t realUserId() override {
        log_.push_back("getuid");
        return userIds_.real;
    }
    gid_t realGroupId() override {
        log_.push_back("getgid");
        return groupIds_.real;
    }
    std::optional<std::vector<gid_t>> accountGroups(uid_t uid, gid_t gid) override {
        log_.push_back("account " + std::to_string(uid) + " " + std::to_string(gid));
        return behaviour_.accountGroups;
    }
    int setGroups(std::span<const gid_t> groups) override {
        std::string entry = "setgroups";
        for (const gid_t group : groups)
            entry += " " + std::to_string(group);
        log_.push_back(entry);
        if (behaviour_.setGroupsError == 0 && !behaviour_.groupsStick)
            groups_.assign(groups.begin(), groups.end());
        return behaviour_.setGroupsError;
    }
    std::vector<gid_t> supplementaryGroups() override {
        log_.push_back("getgroups");
        return groups_;
    }
    int setAllGroupIds(gid_t gid) override {
        log_.push_back("setresgid " + std::to_string(gid));
        if (behaviour_.setGidError != 0)
            return behaviour_.setGidError;
        if (!behaviour_.groupIdsStick)
            groupIds_ = {gid, gid, gid};
        return 0;
    }
    int setAllUserIds(uid_t uid) override {
        log_.push_back("setresuid " + std::to_string(uid));
        if (behaviour_.setUidError != 0)
            return behaviour_.setUidError;
        if (!behaviour_.userIdsStick)
            userIds_ = {uid, uid, uid};
        return 0;
    }
    IdTriple<uid_t> userIds() override {
        log_.push_back("getresuid");
        return userIds_;
    }
    IdTriple<gid_t> groupIds() override {
        log_.push_back("getresgid");
        return groupIds_;
    }
    int setUserId(uid_t uid) override {
        log_.push_back("setuid " + std::to_string(uid));
        return behaviour_.rootComesBack || userIds_.effective == 0 ? 0 : EPERM;
    }
    int setGroupId(gid_t gid) override {
        log_.push_back("setgid " + std::to_string(gid));
        return behaviour_.rootGroupComesBack || userIds_.effective == 0 ? 0 : EPERM;
    }

    IdTriple<uid_t> currentUserIds() const { return userIds_; }
    IdTriple<gid_t> currentGroupIds() const { return groupIds_; }

private:
    RequestLog& log_;
    PrivilegeBehaviour behaviour_;
    IdTriple<uid_t> userIds_;
    IdTriple<gid_t> groupIds_;
    std::vector<gid_t> groups_{0};
};

// What a sudo start from uid 1000, gid 1000 looks like.
inline PrivilegeBehaviour sudoFromUser1000() {
    PrivilegeBehaviour behaviour;
    behaviour.environment = {{"SUDO_UID", "1000"}, {"SUDO_GID", "1000"}};
    return behaviour;
}

} // namespace orvane::testing
