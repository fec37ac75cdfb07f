// The privilege drop and the system calls behind it.
#include "port/privileges.h"

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <limits>
#include <system_error>

namespace orvane {
namespace {

class SystemPrivilegeCalls final : public PrivilegeCalls {
public:
    std::optional<std::string> environment(const char* name) override {
        const char* value = ::getenv(name);
        if (value == nullptr)
            return std::nullopt;
        return std::string(value);
    }
    uid_t realUserId() override { return ::getuid(); }
    gid_t realGroupId() override { return ::getgid(); }

    std::optional<std::vector<gid_t>> accountGroups(uid_t uid, gid_t gid) override {
        std::vector<char> text(16384);
        passwd entry{};
        passwd* found = nullptr;
        if (::getpwuid_r(uid, &entry, text.data(), text.size(), &found) != 0 || found == nullptr)
            return std::nullopt;
        std::vector<gid_t> groups(64);
        for (int attempt = 0; attempt < 8; ++attempt) {
            int count = static_cast<int>(groups.size());
            if (::getgrouplist(entry.pw_name, gid, groups.data(), &count) >= 0) {
                groups.resize(static_cast<std::size_t>(count));
                return groups;
            }
            // count now holds the number needed.
            groups.resize(static_cast<std::size_t>(count) + 1);
        }
        return std::nullopt;
    }

    int setGroups(std::span<const gid_t> groups) override {
        return result(::setgroups(groups.size(), groups.data()));
    }
    std::vector<gid_t> supplementaryGroups() override {
        std::vector<gid_t> groups(static_cast<std::size_t>(std::max(::getgroups(0, nullptr), 0)));
        const int count = ::getgroups(static_cast<int>(groups.size()), groups.data());
        groups.resize(static_cast<std::size_t>(std::max(count, 0)));
        return groups;
    }
    int setAllGroupIds(gid_t gid) override { return result(::setresgid(gid, gid, gid)); }
    int setAllUserIds(uid_t uid) override { return result(::setresuid(uid, uid, uid)); }
    IdTriple<uid_t> userIds() override {
        IdTriple<uid_t> ids{};
        (void)::getresuid(&ids.real, &ids.effective, &ids.saved);
        return ids;
    }
    IdTriple<gid_t> groupIds() override {
        IdTriple<gid_t> ids{};
        (void)::getresgid(&ids.real, &ids.effective, &ids.saved);
        return ids;
    }
    int setUserId(uid_t uid) override { return result(::setuid(uid)); }
    int setGroupId(gid_t gid) override { return result(::setgid(gid)); }

private:
    static int result(int status) { return status == 0 ? 0 : errno; }
};

// A decimal id that fits; nothing else (no sign, no blanks, no trailing text).
template <typename Id> std::optional<Id> parseId(const std::string& text) {
    unsigned long long value = 0;
    const char* end = text.data() + text.size();
    const auto [rest, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || rest != end ||
        value > std::numeric_limits<Id>::max())
        return std::nullopt;
    return static_cast<Id>(value);
}

std::string errnoText(int error) {
    return std::generic_category().message(error);
}

} // namespace

std::unique_ptr<PrivilegeCalls> makeSystemPrivilegeCalls() {
    return std::make_unique<SystemPrivilegeCalls>();
}

Status findInvokingUser(PrivilegeCalls& calls, UserIdentity& user) {
    const std::optional<std::string> sudoUid = calls.environment("SUDO_UID");
    const std::optional<std::string> sudoGid = calls.environment("SUDO_GID");
    user = UserIdentity{calls.realUserId(), calls.realGroupId()};
    if (sudoUid || sudoGid) {
        const std::optional<uid_t> uid = parseId<uid_t>(sudoUid.value_or(""));
        const std::optional<gid_t> gid = parseId<gid_t>(sudoGid.value_or(""));
        if (!uid || !gid) {
            return {StatusCode::NotPermitted,
                    "SUDO_UID=" + sudoUid.value_or("(unset)") +
                        " and SUDO_GID=" + sudoGid.value_or("(unset)") +
                        " do not name the user to drop root to; start the panel with plain sudo "
                        "from your own account"};
        }
        user = UserIdentity{*uid, *gid};
    }
    if (user.uid == 0) {
        return {StatusCode::NotPermitted,
                "started as root with no user to drop root to; start the panel with sudo from "
                "your own account, or use ORVANE_PORT=ppdev"};
    }
    return {};
}

Status dropPrivileges(PrivilegeCalls& calls, const UserIdentity& user) {
    const std::string target =
        "uid " + std::to_string(user.uid) + " gid " + std::to_string(user.gid);
    const auto failed = [&target](const std::string& step, int error) {
        return Status{StatusCode::NotPermitted,
                      "cannot drop root to " + target + ": " + step +
                          (error != 0 ? ": " + errnoText(error) : std::string())};
    };

    const std::vector<gid_t> groups =
        calls.accountGroups(user.uid, user.gid).value_or(std::vector<gid_t>{});
    if (const int error = calls.setGroups(groups); error != 0)
        return failed("setgroups", error);
    // Group first: once the user id is gone, the group can no longer be changed.
    if (const int error = calls.setAllGroupIds(user.gid); error != 0)
        return failed("setresgid", error);
    if (const int error = calls.setAllUserIds(user.uid); error != 0)
        return failed("setresuid", error);

    if (calls.userIds() != IdTriple<uid_t>{user.uid, user.uid, user.uid})
        return failed("the user ids did not all change", 0);
    if (calls.groupIds() != IdTriple<gid_t>{user.gid, user.gid, user.gid})
        return failed("the group ids did not all change", 0);
    std::vector<gid_t> wanted = groups;
    std::vector<gid_t> held = calls.supplementaryGroups();
    std::ranges::sort(wanted);
    std::ranges::sort(held);
    if (held != wanted)
        return failed("the supplementary groups did not change", 0);
    if (calls.setUserId(0) == 0)
        return failed("root could be taken back", 0);
    if (user.gid != 0 && calls.setGroupId(0) == 0)
        return failed("the root group could be taken back", 0);
    return {};
}

Status dropRootToSudoUser(PrivilegeCalls& calls, std::optional<UserIdentity>& droppedTo) {
    droppedTo.reset();
    if (calls.userIds().effective != 0)
        return {};
    // Root with no one behind it (a root login, or sudo from root) stays root; a set-user-ID
    // start drops to its real user like a sudo start.
    const std::optional<std::string> sudoUid = calls.environment("SUDO_UID");
    if (sudoUid ? *sudoUid == "0" : calls.realUserId() == 0)
        return {};
    UserIdentity user{};
    if (Status found = findInvokingUser(calls, user); !found)
        return found;
    if (Status dropped = dropPrivileges(calls, user); !dropped)
        return dropped;
    droppedTo = user;
    return {};
}

} // namespace orvane
