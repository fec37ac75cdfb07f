// orvane-cli: the control panel without a window, driven by commands from a script.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ext/stdio_filebuf.h>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>

#include "app/cli/cli_commands.h"
#include "app/cli/probe_report.h"
#include "app/cli/script_runner.h"
#include "app/control_panel_dialog.h"
#include "app/headless/headless_panel.h"
#include "app/installed_template.h"
#include "app/panel_app.h"
#include "app/viewer_launch.h"
#include "files/regular_file.h"
#include "resources/build_version.h"
#include "resources/panel_templates.h"

namespace {

// Exit status when the command line is wrong or the script cannot be read.
constexpr int usageStatus = orvane::unreadableScriptStatus;

// Scripts run where no one looks at a window: the upload names its picture instead of starting
// the viewer.
class PictureNote final : public orvane::ViewerLauncher {
public:
    explicit PictureNote(std::ostream& messages) : messages_(messages) {}
    void launchViewer() override {
        messages_ << "orvane-cli: the picture is in testfile.bmp (no viewer is started)\n";
    }

private:
    std::ostream& messages_;
};

using ScriptBuffer = __gnu_cxx::stdio_filebuf<char>;

// Opens the script only when it is a regular file: a folder, a device or a FIFO is refused at
// once rather than read as nothing, for ever or never. Null, with the reason, when refused.
std::unique_ptr<ScriptBuffer> openScript(const std::string& name, std::string& reason) {
    orvane::RegularFileOpen opened = orvane::openRegularFile(name);
    if (!opened.file.isOpen()) {
        reason = opened.error != 0      ? std::strerror(opened.error)
                 : S_ISDIR(opened.mode) ? std::strerror(EISDIR)
                                        : "not a regular file";
        return nullptr;
    }
    return std::make_unique<ScriptBuffer>(opened.file.release(), std::ios::in);
}

int usageError(std::string_view problem) {
    std::cerr << "orvane-cli: " << problem
              << "\nUsage: orvane-cli [SCRIPT]; orvane-cli --probe [DEVICE]; orvane-cli --help; "
                 "orvane-cli --version\n";
    return usageStatus;
}

} // namespace

int main(int argc, char** argv) {
    orvane::ignoreBrokenPipes();
    if (argc >= 2 && argv[1] == std::string_view("--probe")) {
        if (argc > 3)
            return usageError("--probe takes at most one device");
        const char* port = std::getenv("ORVANE_PORT");
        return orvane::runProbe(argc == 3 ? argv[2] : port != nullptr ? port : "", std::cout);
    }
    if (argc > 2)
        return usageError("give at most one script");
    const std::string_view argument = argc == 2 ? argv[1] : "-";
    if (argument == "--help" || argument == "-h") {
        orvane::printHelp(std::cout);
        return 0;
    }
    if (argument == "--version") {
        std::cout << "orvane-cli " << orvane::buildVersion << '\n';
        return 0;
    }
    if (argument.size() > 1 && argument.front() == '-')
        return usageError("unknown option " + std::string(argument));

    // The port comes first: a sudo start gives up root as it opens, so the script, the scene and
    // every file after them are opened as the user, and the template copy belongs to the user.
    orvane::PanelApp app;
    if (!app.openPort(std::cerr))
        return orvane::startFailureStatus;
    // Standard input is read through the same kind of buffer as a file, so a read error there is
    // told from its end too.
    std::unique_ptr<ScriptBuffer> script;
    std::string source = "<stdin>";
    if (argument == "-") {
        script = std::make_unique<ScriptBuffer>(STDIN_FILENO, std::ios::in);
    } else {
        source = std::string(argument);
        std::string reason;
        script = openScript(source, reason);
        if (!script)
            return usageError("cannot read the script " + source + ": " + reason);
    }
    std::istream input(script.get());
    orvane::provideBmpTemplateHere(std::cerr);
    orvane::HeadlessPanel panel(orvane::controlPanelTemplate);
    PictureNote viewer(std::cerr);
    return app.runSession(
        panel, viewer,
        [&](orvane::ControlPanelDialog& dialog) {
            orvane::ScriptRunner runner(panel, dialog.state(), std::cerr, source);
            return runner.run(input);
        },
        std::cerr);
}
