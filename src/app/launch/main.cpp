// orvane-launch: starts an Orvane program from the desktop menu in the user's own working folder,
// $XDG_DATA_HOME/orvane (~/.local/share/orvane by default). The folder is created on first start
// and gets the installed "bmphead24" template when it has none. Started with sudo, the folder is
// the invoking user's and is made as that user, so root leaves nothing in its own home or theirs.
// When no folder can be found or made it says why, in a dialog too when started from the menu.
#include <pwd.h>
#include <unistd.h>

#include <QApplication>
#include <QMessageBox>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr std::array<std::string_view, 3> programs{"orvane-panel", "orvane-studio", "monitor.exe"};
constexpr int failureStatus = 1;
constexpr int usageStatus = 2;

// Whose folder it is: ours, or under sudo the invoking user's.
struct Owner {
    std::optional<uid_t> uid; // set under sudo: make the folder as this user
    gid_t gid = 0;
    std::string home; // from the password database, or HOME
};

std::optional<unsigned long> number(const char* text) {
    if (text == nullptr || *text == '\0')
        return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const unsigned long value = std::strtoul(text, &end, 10);
    if (errno != 0 || *end != '\0')
        return std::nullopt;
    return value;
}

Owner owner() {
    Owner owner;
    const auto uid = number(std::getenv("SUDO_UID"));
    const auto gid = number(std::getenv("SUDO_GID"));
    if (::geteuid() == 0 && uid && gid && *uid != 0) {
        owner.uid = uid_t(*uid);
        owner.gid = gid_t(*gid);
        if (const passwd* entry = ::getpwuid(owner.uid.value()); entry && entry->pw_dir)
            owner.home = entry->pw_dir;
        return owner;
    }
    if (const char* home = std::getenv("HOME"))
        owner.home = home;
    return owner;
}

// The working folder, or why there is none. XDG_DATA_HOME counts only when absolute, and under
// sudo it is root's as likely as the user's, so the user's home decides there.
std::string workingFolder(const Owner& owner, fs::path& folder) {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (!owner.uid && data != nullptr && data[0] == '/') {
        folder = fs::path(data) / "orvane";
        return {};
    }
    if (owner.home.empty() || owner.home[0] != '/')
        return owner.uid ? "the invoking user has no home folder in the password database"
                         : "neither XDG_DATA_HOME nor HOME names an absolute folder; set HOME "
                           "to your home folder";
    folder = fs::path(owner.home) / ".local/share/orvane";
    return {};
}

// Makes the folder and copies in the template, as the folder's owner.
std::string prepare(const Owner& owner, const fs::path& folder, const fs::path& templateFile) {
    if (owner.uid && (::setegid(owner.gid) != 0 || ::seteuid(*owner.uid) != 0))
        return std::string("cannot act as the invoking user: ") + std::strerror(errno);
    std::error_code error;
    std::string problem;
    fs::create_directories(folder, error);
    if (error)
        problem = "cannot create " + folder.string() + ": " + error.message();
    else if (!fs::exists(folder / "bmphead24", error) &&
             !fs::copy_file(templateFile, folder / "bmphead24", error))
        problem = "cannot copy the template into " + folder.string() + ": " + error.message();
    if (owner.uid && (::seteuid(0) != 0 || ::setegid(0) != 0))
        problem = std::string("cannot return to root: ") + std::strerror(errno);
    return problem;
}

int refuse(const std::string& problem, bool fromMenu, int argc, char** argv) {
    const std::string text = "orvane-launch: " + problem;
    std::cerr << text << '\n';
    if (fromMenu) {
        // Nobody reads standard error under the menu.
        QApplication application(argc, argv);
        QMessageBox::critical(nullptr, QStringLiteral("Orvane"), QString::fromStdString(problem));
    }
    return failureStatus;
}

} // namespace

int main(int argc, char** argv) {
    int first = 1;
    const bool fromMenu = argc > 1 && std::string_view(argv[1]) == "--from-menu";
    if (fromMenu)
        ++first;
    if (argc <= first || std::find(programs.begin(), programs.end(),
                                   std::string_view(argv[first])) == programs.end()) {
        std::cerr << "Usage: orvane-launch [--from-menu] orvane-panel|orvane-studio|monitor.exe "
                     "[ARGUMENT...]\n";
        return usageStatus;
    }
    std::error_code error;
    const fs::path here = fs::read_symlink("/proc/self/exe", error).parent_path();
    const fs::path prefix = here.parent_path().parent_path();
    const Owner folderOwner = owner();
    fs::path folder;
    std::string problem = workingFolder(folderOwner, folder);
    if (problem.empty())
        problem = prepare(folderOwner, folder, prefix / "share/orvane/bmphead24");
    if (problem.empty() && ::chdir(folder.c_str()) != 0)
        problem = "cannot work in " + folder.string() + ": " + std::strerror(errno);
    if (!problem.empty())
        return refuse(problem, fromMenu, argc, argv);

    // The About box names it on a second line.
    ::setenv("ORVANE_WORKING_FOLDER", folder.c_str(), 1);
    std::cerr << "orvane: working folder " << folder.string() << '\n';
    fs::path program = here / argv[first];
    if (::access(program.c_str(), X_OK) != 0)
        program = prefix / "bin" / argv[first];
    std::vector<char*> arguments(argv + first, argv + argc);
    arguments.push_back(nullptr);
    ::execv(program.c_str(), arguments.data());
    std::cerr << "orvane-launch: cannot start " << program.string() << ": " << std::strerror(errno)
              << '\n';
    return failureStatus;
}
