// Viewer lookup order, and one real detached start that leaves no child behind.
#include "app/viewer_launch.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <set>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "image/temp_directory.h"
#include "viewer/viewer_channel.h"

namespace orvane {
namespace {

using std::filesystem::path;

TEST(ViewerSearchDirectories, ProgramDirectoryThenLibexecThenWorkingDirectoryThenPath) {
    const std::vector<path> directories = viewerSearchDirectories(
        path{"/opt/orvane/bin"}, path{"/home/lab"}, "/usr/local/bin:/usr/bin");
    EXPECT_EQ(directories, (std::vector<path>{"/opt/orvane/bin", "/opt/orvane/libexec/orvane",
                                              "/home/lab", "/usr/local/bin", "/usr/bin"}));
}

TEST(ViewerSearchDirectories, EmptyAndRelativePathEntriesAreTakenFromTheWorkingDirectory) {
    const std::vector<path> directories =
        viewerSearchDirectories(std::nullopt, path{"/home/lab"}, ":tools::/bin:");
    EXPECT_EQ(directories, (std::vector<path>{"/home/lab", "/home/lab", "/home/lab/tools",
                                              "/home/lab", "/bin", "/home/lab"}));
}

TEST(ViewerSearchDirectories, NoPathLeavesTheFirstThree) {
    EXPECT_EQ(viewerSearchDirectories(path{"/a/bin"}, path{"/b"}, std::nullopt),
              (std::vector<path>{"/a/bin", "/a/libexec/orvane", "/b"}));
}

struct LookupCase {
    const char* name;
    std::set<std::string> executables; // candidates the predicate accepts
    std::optional<std::string> found;
    friend void PrintTo(const LookupCase& c, std::ostream* os) { *os << c.name; }
};

const LookupCase lookupCases[] = {
    {"NextToTheProgramWinsOverAll",
     {"/prog/monitor.exe", "/work/monitor.exe", "/usr/bin/monitor.exe"},
     "/prog/monitor.exe"},
    {"WorkingDirectoryWinsOverPath",
     {"/work/monitor.exe", "/usr/bin/monitor.exe"},
     "/work/monitor.exe"},
    {"PathEntriesInTheirOrder",
     {"/usr/bin/monitor.exe", "/bin/monitor.exe"},
     "/usr/bin/monitor.exe"},
    {"LastPathEntry", {"/bin/monitor.exe"}, "/bin/monitor.exe"},
    {"NowhereFindsNothing", {}, std::nullopt},
};

class FindViewer : public ::testing::TestWithParam<LookupCase> {};

TEST_P(FindViewer, TakesTheFirstExecutableCandidate) {
    const std::vector<path> directories{"/prog", "/work", "/usr/bin", "/bin"};
    std::vector<path> asked;
    const auto found = findViewer(directories, [&](const path& candidate) {
        asked.push_back(candidate);
        return GetParam().executables.count(candidate.string()) != 0;
    });
    if (GetParam().found) {
        ASSERT_TRUE(found.has_value());
        EXPECT_EQ(*found, path{*GetParam().found});
        EXPECT_EQ(asked.back(), *found); // nothing is asked after the first hit
    } else {
        EXPECT_FALSE(found.has_value());
        EXPECT_EQ(asked.size(), directories.size());
    }
}

INSTANTIATE_TEST_SUITE_P(ViewerLookup, FindViewer, ::testing::ValuesIn(lookupCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(IsExecutableFile, NeedsARegularFileWithExecutePermission) {
    testing::TempDirectory dir;
    const path plain = dir.path() / "plain";
    const path runnable = dir.path() / "runnable";
    testing::writeFileBytes(plain, std::vector<uint8_t>{'x'});
    testing::writeFileBytes(runnable, std::vector<uint8_t>{'x'});
    std::filesystem::permissions(plain, std::filesystem::perms::owner_read |
                                            std::filesystem::perms::owner_write);
    std::filesystem::permissions(runnable, std::filesystem::perms::owner_all);
    EXPECT_FALSE(isExecutableFile(plain));
    EXPECT_TRUE(isExecutableFile(runnable));
    EXPECT_FALSE(isExecutableFile(dir.path())); // a directory is searchable, not runnable
    EXPECT_FALSE(isExecutableFile(dir.path() / "missing"));
}

// Starts a stand-in viewer that reports its argument count and working directory through a
// FIFO. The intermediate child is reaped before launchViewer returns, and the viewer is not our
// child, so no zombie can be left.
TEST(SpawnViewerLauncher, StartsTheViewerDetachedWithNoArgumentsInOurWorkingDirectory) {
    testing::TempDirectory dir;
    const path fifo = dir.path() / "report";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string script = "#!/bin/sh\necho \"$# $(pwd -P)\" > '" + fifo.string() + "'\n";
    const path viewer = dir.path() / "monitor.exe";
    testing::writeFileBytes(viewer, std::vector<uint8_t>(script.begin(), script.end()));
    std::filesystem::permissions(viewer, std::filesystem::perms::owner_all);

    const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    SpawnViewerLauncher launcher({dir.path() / "empty", dir.path()});
    launcher.launchViewer();

    errno = 0;
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);

    // Wait for the stand-in's line; the timeout only bounds a failure.
    std::string report;
    pollfd ready{reader, POLLIN, 0};
    while (report.find('\n') == std::string::npos && poll(&ready, 1, 20000) > 0) {
        char chunk[256];
        const ssize_t got = read(reader, chunk, sizeof chunk);
        if (got <= 0)
            break;
        report.append(chunk, static_cast<std::size_t>(got));
    }
    close(reader);
    const std::string here = std::filesystem::canonical(std::filesystem::current_path()).string();
    EXPECT_EQ(report, "0 " + here + "\n");
}

TEST(SpawnViewerLauncher, MissingViewerIsIgnored) {
    testing::TempDirectory dir;
    SpawnViewerLauncher launcher({dir.path()});
    launcher.launchViewer();
    errno = 0;
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

// Waits up to 20 s for done; the timeout only bounds a failure.
bool eventually(const std::function<bool()>& done) {
    for (int i = 0; i < 400 && !done(); ++i)
        usleep(50000);
    return done();
}

// Our running viewer of the folder: its process ID, or 0.
pid_t viewerIn(const path& folder) {
    std::error_code error;
    const path viewer = std::filesystem::canonical(ORVANE_MONITOR);
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        if (std::filesystem::read_symlink(entry.path() / "exe", error) == viewer && !error &&
            std::filesystem::read_symlink(entry.path() / "cwd", error) == folder && !error)
            return std::atoi(entry.path().filename().c_str());
    }
    return 0;
}

// With the real viewer running for the folder, twenty uploads start no process: each is handed
// over its channel. Once it has gone, the next upload starts a viewer again.
TEST(SpawnViewerLauncher, HandsEveryUploadToTheRunningViewer) {
    testing::TempDirectory dir;
    const path runtime = dir.path() / "runtime", work = dir.path() / "work";
    const path marker = dir.path() / "started";
    ASSERT_EQ(mkdir(runtime.c_str(), 0700) | mkdir(work.c_str(), 0755), 0);
    const std::string script = "#!/bin/sh\necho >> '" + marker.string() + "'\n";
    testing::writeFileBytes(dir.path() / "monitor.exe",
                            std::vector<uint8_t>(script.begin(), script.end()));
    std::filesystem::permissions(dir.path() / "monitor.exe", std::filesystem::perms::owner_all);
    const path before = std::filesystem::current_path();
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    ASSERT_EQ(chdir(work.c_str()), 0);

    SpawnViewerLauncher({path(ORVANE_MONITOR).parent_path()}).launchViewer();
    const std::string channel = processViewerChannel().path;
    struct stat status {};
    EXPECT_TRUE(eventually([&] { return stat(channel.c_str(), &status) == 0; })) << channel;
    const pid_t viewer = viewerIn(work);
    ASSERT_NE(viewer, 0);

    SpawnViewerLauncher standIn({dir.path()});
    for (int upload = 0; upload < 20; ++upload)
        standIn.launchViewer();
    usleep(300000);
    EXPECT_FALSE(std::filesystem::exists(marker));
    EXPECT_EQ(viewerIn(work), viewer);

    // Gone once its last thread has closed the channel.
    kill(viewer, SIGTERM);
    EXPECT_TRUE(eventually([&] { return !handToRunningViewer(channel, "testfile.bmp"); }));
    standIn.launchViewer();
    EXPECT_TRUE(eventually([&] { return std::filesystem::exists(marker); }));
    EXPECT_EQ(chdir(before.c_str()), 0);
    unsetenv("XDG_RUNTIME_DIR");
}

} // namespace
} // namespace orvane
