// Dropping root to the invoking user once the port instructions are granted; the system calls
// sit behind PrivilegeCalls so the drop can be tested step by step.
#pragma once

#include <sys/types.h>

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "orvane/status.h"

namespace orvane {

// Real, effective and saved ids.
template <typename Id> struct IdTriple {
    Id real;
    Id effective;
    Id saved;
    friend bool operator==(const IdTriple&, const IdTriple&) = default;
};

// The calls the drop makes. Those that change something return 0 or an errno value.
class PrivilegeCalls {
public:
    virtual ~PrivilegeCalls() = default;
    virtual std::optional<std::string> environment(const char* name) = 0;
    virtual uid_t realUserId() = 0;
    virtual gid_t realGroupId() = 0;
    // The supplementary groups of the account uid, with gid among them; nullopt when the
    // account is unknown.
    virtual std::optional<std::vector<gid_t>> accountGroups(uid_t uid, gid_t gid) = 0;
    virtual int setGroups(std::span<const gid_t> groups) = 0;
    virtual std::vector<gid_t> supplementaryGroups() = 0; // getgroups
    virtual int setAllGroupIds(gid_t gid) = 0;            // setresgid
    virtual int setAllUserIds(uid_t uid) = 0;             // setresuid
    virtual IdTriple<uid_t> userIds() = 0;                // getresuid
    virtual IdTriple<gid_t> groupIds() = 0;               // getresgid
    virtual int setUserId(uid_t uid) = 0;                 // setuid, to see whether root comes back
    virtual int setGroupId(gid_t gid) = 0;                // setgid, likewise
};

std::unique_ptr<PrivilegeCalls> makeSystemPrivilegeCalls();

struct UserIdentity {
    uid_t uid;
    gid_t gid;
    friend bool operator==(const UserIdentity&, const UserIdentity&) = default;
};

// The user who started the program: SUDO_UID and SUDO_GID when sudo set them, else the real
// ids (a set-user-ID start). Refuses (NotPermitted, saying what to do) root itself, and ids that
// are not plain decimal numbers.
Status findInvokingUser(PrivilegeCalls& calls, UserIdentity& user);

// Gives up root for good: the user's supplementary groups (none when the account is unknown),
// then all three group ids, then all three user ids, then checks the ids, the supplementary
// groups, and that neither root user nor root group can be taken back. On failure (NotPermitted)
// the text says which step failed and why; the caller must then not go on, as the ids may be
// half changed.
Status dropPrivileges(PrivilegeCalls& calls, const UserIdentity& user);

// Once a port is open: a process running as root that sudo started for a user (SUDO_UID other
// than 0), or that a set-user-ID start gave root, becomes that user for good, groups included,
// and droppedTo says who. Nothing changes for a process that is not root, or root with no one
// behind it (a root login). NotPermitted says why root could not be dropped; the caller must
// then stop.
Status dropRootToSudoUser(PrivilegeCalls& calls, std::optional<UserIdentity>& droppedTo);

} // namespace orvane
