// Finding the invoking user and dropping root: each step against a fake, and once for real in a
// child process when the tests run as root.
#include "port/privileges.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "port/hardware_fakes.h"

namespace orvane {
namespace {

using testing::FakePrivilegeCalls;
using testing::PrivilegeBehaviour;
using testing::RequestLog;

TEST(FindInvokingUser, SudoIdsNameTheUser) {
    RequestLog log;
    PrivilegeBehaviour behaviour;
    behaviour.environment = {{"SUDO_UID", "1000"}, {"SUDO_GID", "1001"}};
    FakePrivilegeCalls calls(log, behaviour);
    UserIdentity user{};
    const Status found = findInvokingUser(calls, user);
    ASSERT_TRUE(found) << found.message();
    EXPECT_EQ(user, (UserIdentity{1000, 1001}));
}

TEST(FindInvokingUser, WithoutSudoTheRealIdsAreUsed) {
    RequestLog log;
    PrivilegeBehaviour behaviour; // a set-user-ID start: real ids of the user, effective root
    behaviour.realUid = 1002;
    behaviour.realGid = 100;
    FakePrivilegeCalls calls(log, behaviour);
    UserIdentity user{};
    const Status found = findInvokingUser(calls, user);
    ASSERT_TRUE(found) << found.message();
    EXPECT_EQ(user, (UserIdentity{1002, 100}));
}

struct BadIds {
    std::optional<std::string> uid;
    std::optional<std::string> gid;
};

void PrintTo(const BadIds& ids, std::ostream* out) {
    *out << "SUDO_UID=" << ids.uid.value_or("(unset)")
         << " SUDO_GID=" << ids.gid.value_or("(unset)");
}

class FindInvokingUserBadIds : public ::testing::TestWithParam<BadIds> {};

TEST_P(FindInvokingUserBadIds, AreRefused) {
    RequestLog log;
    PrivilegeBehaviour behaviour;
    behaviour.realUid = 1000; // even with a usable real id, a broken sudo setting is not guessed
    behaviour.realGid = 1000;
    if (GetParam().uid)
        behaviour.environment["SUDO_UID"] = *GetParam().uid;
    if (GetParam().gid)
        behaviour.environment["SUDO_GID"] = *GetParam().gid;
    FakePrivilegeCalls calls(log, behaviour);
    UserIdentity user{};
    const Status found = findInvokingUser(calls, user);
    EXPECT_FALSE(found);
    EXPECT_NE(found.message().find("do not name the user to drop root to"), std::string::npos);
    EXPECT_NE(found.message().find("SUDO_UID=" + GetParam().uid.value_or("(unset)")),
              std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Table, FindInvokingUserBadIds,
                         ::testing::Values(BadIds{"abc", "1000"}, BadIds{"1000", ""},
                                           BadIds{"-1", "5"}, BadIds{"1000", std::nullopt},
                                           BadIds{std::nullopt, "1000"}, BadIds{"99999999999", "1"},
                                           BadIds{" 1000", "1000"}, BadIds{"1000x", "1000"},
                                           BadIds{"1000", "0x10"}));

TEST(FindInvokingUser, RootIsNoOneToDropTo) {
    for (const bool viaSudo : {true, false}) {
        RequestLog log;
        PrivilegeBehaviour behaviour;
        if (viaSudo)
            behaviour.environment = {{"SUDO_UID", "0"}, {"SUDO_GID", "0"}};
        FakePrivilegeCalls calls(log, behaviour);
        UserIdentity user{};
        const Status found = findInvokingUser(calls, user);
        EXPECT_FALSE(found);
        EXPECT_NE(found.message().find("no user to drop root to"), std::string::npos);
        EXPECT_NE(found.message().find("ORVANE_PORT=ppdev"), std::string::npos);
    }
}

TEST(DropPrivileges, GroupsThenGroupIdsThenUserIdsThenChecks) {
    RequestLog log;
    FakePrivilegeCalls calls(log, testing::sudoFromUser1000());
    EXPECT_TRUE(dropPrivileges(calls, UserIdentity{1000, 1000}).ok());
    EXPECT_EQ(log, (RequestLog{"account 1000 1000", "setgroups 1000 24 27", "setresgid 1000",
                               "setresuid 1000", "getresuid", "getresgid", "getgroups", "setuid 0",
                               "setgid 0"}));
    EXPECT_EQ(calls.currentUserIds(), (IdTriple<uid_t>{1000, 1000, 1000}));
    EXPECT_EQ(calls.currentGroupIds(), (IdTriple<gid_t>{1000, 1000, 1000}));
}

TEST(DropPrivileges, AnUnknownAccountKeepsNoSupplementaryGroups) {
    RequestLog log;
    PrivilegeBehaviour behaviour = testing::sudoFromUser1000();
    behaviour.accountGroups = std::nullopt;
    FakePrivilegeCalls calls(log, behaviour);
    EXPECT_TRUE(dropPrivileges(calls, UserIdentity{4321, 4321}).ok());
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[1], "setgroups");
}

TEST(DropPrivileges, ARootPrimaryGroupIsNotTriedBack) {
    RequestLog log;
    FakePrivilegeCalls calls(log, testing::sudoFromUser1000());
    EXPECT_TRUE(dropPrivileges(calls, UserIdentity{1000, 0}).ok());
    EXPECT_EQ(log.back(), "setuid 0");
}

struct StepFailure {
    const char* name;
    void (*change)(PrivilegeBehaviour&);
    std::size_t calls; // how many calls are made, the failing one included
    std::string saying;
};

void PrintTo(const StepFailure& failure, std::ostream* out) {
    *out << failure.name;
}

const StepFailure stepFailures[] = {
    {"SetGroups", [](PrivilegeBehaviour& b) { b.setGroupsError = EPERM; }, 2,
     "setgroups: Operation not permitted"},
    {"SetGroupIds", [](PrivilegeBehaviour& b) { b.setGidError = EINVAL; }, 3,
     "setresgid: Invalid argument"},
    {"SetUserIds", [](PrivilegeBehaviour& b) { b.setUidError = EAGAIN; }, 4,
     "setresuid: Resource temporarily unavailable"},
    {"UserIdsUnchanged", [](PrivilegeBehaviour& b) { b.userIdsStick = true; }, 5,
     "the user ids did not all change"},
    {"GroupIdsUnchanged", [](PrivilegeBehaviour& b) { b.groupIdsStick = true; }, 6,
     "the group ids did not all change"},
    {"GroupsUnchanged", [](PrivilegeBehaviour& b) { b.groupsStick = true; }, 7,
     "the supplementary groups did not change"},
    {"RootComesBack", [](PrivilegeBehaviour& b) { b.rootComesBack = true; }, 8,
     "root could be taken back"},
    {"RootGroupComesBack", [](PrivilegeBehaviour& b) { b.rootGroupComesBack = true; }, 9,
     "the root group could be taken back"},
};

class DropPrivilegesFailure : public ::testing::TestWithParam<StepFailure> {};

TEST_P(DropPrivilegesFailure, StopsAtTheFailingStepAndSaysWhich) {
    RequestLog log;
    PrivilegeBehaviour behaviour = testing::sudoFromUser1000();
    GetParam().change(behaviour);
    FakePrivilegeCalls calls(log, behaviour);
    const Status dropped = dropPrivileges(calls, UserIdentity{1000, 1000});
    EXPECT_EQ(dropped.code(), StatusCode::NotPermitted);
    EXPECT_EQ(dropped.message(), "cannot drop root to uid 1000 gid 1000: " + GetParam().saying);
    EXPECT_EQ(log.size(), GetParam().calls);
}

INSTANTIATE_TEST_SUITE_P(EachStep, DropPrivilegesFailure, ::testing::ValuesIn(stepFailures),
                         [](const auto& info) { return std::string(info.param.name); });

// Exit codes of the child below: what went wrong, by number.
enum DropCheck : int {
    dropped = 0,
    noUserFound = 10,
    dropRefused = 11,
    userIdsWrong = 12,
    groupIdsWrong = 13,
    rootCameBack = 14,
    rootGroupCameBack = 15,
};

int dropForRealInThisProcess() {
    constexpr uid_t nobody = 65534;
    ::setenv("SUDO_UID", "65534", 1);
    ::setenv("SUDO_GID", "65534", 1);
    const std::unique_ptr<PrivilegeCalls> calls = makeSystemPrivilegeCalls();
    UserIdentity user{};
    if (!findInvokingUser(*calls, user) || user != UserIdentity{nobody, nobody})
        return noUserFound;
    if (!dropPrivileges(*calls, user))
        return dropRefused;
    uid_t ruid = 0, euid = 0, suid = 0;
    gid_t rgid = 0, egid = 0, sgid = 0;
    ::getresuid(&ruid, &euid, &suid);
    ::getresgid(&rgid, &egid, &sgid);
    if (ruid != nobody || euid != nobody || suid != nobody)
        return userIdsWrong;
    if (rgid != nobody || egid != nobody || sgid != nobody)
        return groupIdsWrong;
    if (::setuid(0) == 0 || ::seteuid(0) == 0)
        return rootCameBack;
    if (::setgid(0) == 0 || ::setegid(0) == 0)
        return rootGroupCameBack;
    return dropped;
}

TEST(DropPrivilegesForReal, AChildStartedAsRootEndsAsTheSudoUserForGood) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only a process running as root can drop root";
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        ::_exit(dropForRealInThisProcess());
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), dropped);
}

} // namespace
} // namespace orvane
