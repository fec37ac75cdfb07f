// orvane-cli as a program: the examples in fresh directories on the simulated module, bad lines,
// the help, the recording, and the start failures.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>

#include "app/cli/cli_commands.h"
#include "image/temp_directory.h"
#include "resources/build_version.h"
#include "vcd_reader.h"

namespace orvane {
namespace {

using testing::readFileBytes;
using testing::TempDirectory;

struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string fileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs orvane-cli in directory with the arguments (already quoted for the shell), on the
// simulated module, with extra environment settings in front. With oneFile, standard error goes
// to the file of standard output, so out holds both in the order they were written.
ProgramRun runCli(const std::filesystem::path& directory, const std::string& arguments,
                  const std::string& environment = "", const std::string& input = "/dev/null",
                  bool oneFile = false) {
    TempDirectory streams;
    const std::string command = "cd '" + directory.string() +
                                "' && env -u ORVANE_VCD -u ORVANE_SCENE ORVANE_PORT=sim " +
                                environment + " timeout 60 '" + ORVANE_CLI + "' " + arguments +
                                " <" + input + " >'" + (streams.path() / "out").string() + "' 2>" +
                                (oneFile ? "&1" : "'" + (streams.path() / "err").string() + "'");
    const int raw = std::system(command.c_str());
    ProgramRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = fileText(streams.path() / "out");
    run.err = fileText(streams.path() / "err");
    return run;
}

void prepare(const TempDirectory& directory) {
    const std::string command =
        std::string("'") + ORVANE_MAKE_BMPHEAD24 + "' '" + directory.path().string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
}

// Standard output holds whole trace lines of the bus and the upload, and nothing else.
void expectOnlyTraceLines(const std::string& out) {
    static const std::regex traceLine(
        " start setting registers |press any key[0-9]+( check uv "
        "disable)?|slaveID2=[0-9a-f]+, subADD2=[0-9a-f]+,data2=[0-9a-f]+|"
        "temp=[0-9a-f]+,  out=[0-9a-f]+|pleasw wait");
    ASSERT_FALSE(out.empty());
    EXPECT_EQ(out.back(), '\n');
    std::istringstream lines(out);
    std::size_t count = 0;
    for (std::string line; std::getline(lines, line); ++count)
        ASSERT_TRUE(std::regex_match(line, traceLine)) << "line " << count + 1 << ": " << line;
}

struct ExampleCase {
    const char* script;
    uint32_t width, height, bytesPerLine;
    std::set<std::string> files;
};

// A closed standard output, or a reader that goes away, loses the trace and nothing else.
TEST(CliProgram, ClosedOrBrokenStandardOutputDoesNotStopTheRun) {
    const char* redirections[] = {">&-", "| head -c 100 >/dev/null"};
    for (const char* redirection : redirections) {
        SCOPED_TRACE(redirection);
        TempDirectory directory;
        prepare(directory);
        const std::string command =
            "cd '" + directory.path().string() + "' && (env -u ORVANE_VCD ORVANE_PORT=sim '" +
            ORVANE_CLI + "' '" + ORVANE_EXAMPLES_DIR +
            "/capture_yuv.txt' 2>/dev/null; echo $? >status) " + redirection;
        ASSERT_EQ(std::system(command.c_str()), 0);
        EXPECT_EQ(fileText(directory.path() / "status"), "0\n");
        EXPECT_EQ(std::filesystem::file_size(directory.path() / "testfile.bmp"), 194742u);
    }
}

TEST(CliProgram, EachExampleLeavesTheFilesItsGeometryGives) {
    const std::set<std::string> usual{"bmphead24", "test.raw", "testfile.bmp"};
    const ExampleCase cases[] = {
        // Set Register in YUV: width (214 - 56 - 2) x 2, lines 212 - 5 + 1, 2 x width + 2.
        {"capture_yuv.txt", 312, 208, 626, usual},
        // RGB QCIF window 123..169 x 67..138: width 44 x 4, lines 72 x 2, width + 3.
        {"rgb_qcif_mirror.txt",
         176,
         144,
         179,
         {"bmphead24", "test.raw", "testfile.bmp", "mirrored.bmp", "mirrored.dng"}},
        // The geometry the reset leaves.
        {"reset_capture.txt", 324, 242, 327, usual},
    };
    for (const ExampleCase& c : cases) {
        SCOPED_TRACE(c.script);
        TempDirectory directory;
        prepare(directory);
        const ProgramRun run =
            runCli(directory.path(), std::string("'") + ORVANE_EXAMPLES_DIR + "/" + c.script + "'");
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err.find("error"), std::string::npos) << run.err;
        expectOnlyTraceLines(run.out);
        EXPECT_EQ(directory.entries(), c.files);

        EXPECT_EQ(readFileBytes(directory.path() / "test.raw").size(),
                  std::size_t{c.height} * c.bytesPerLine);
        const std::vector<uint8_t> bmp = readFileBytes(directory.path() / "testfile.bmp");
        const std::size_t stride = (3 * c.width + 3) / 4 * 4;
        ASSERT_EQ(bmp.size(), 54 + c.height * stride);
        EXPECT_EQ(bmp[18] | bmp[19] << 8, static_cast<int>(c.width));
        EXPECT_EQ(bmp[22] | bmp[23] << 8, static_cast<int>(c.height));
        if (c.files.count("mirrored.bmp") != 0) {
            EXPECT_EQ(readFileBytes(directory.path() / "mirrored.bmp"), bmp);
            // The DNG holds the 176 x 144 cells and a directory of a few hundred bytes.
            const std::size_t dng = readFileBytes(directory.path() / "mirrored.dng").size();
            EXPECT_GT(dng, 176u * 144u);
            EXPECT_LT(dng, 176u * 144u + 2048u);
        }
    }
}

TEST(CliProgram, ABadLineStopsWithItsNumberAfterTheLinesBeforeItRan) {
    TempDirectory directory;
    prepare(directory);
    const auto script = directory.path() / "bad.txt";
    std::ofstream(script) << "press Upload\n# next one is misspelt\npress Uplaod\npress Save As\n";
    const ProgramRun run = runCli(directory.path(), "bad.txt");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(readFileBytes(directory.path() / "test.raw").size(), 208 * 625u);
    EXPECT_FALSE(std::filesystem::exists(directory.path() / "filename.BMP"));
    const std::string last = "orvane-cli: bad.txt:3: error: press: no push button is named "
                             "\"Uplaod\"\n";
    ASSERT_GE(run.err.size(), last.size());
    EXPECT_EQ(run.err.substr(run.err.size() - last.size()), last);
    expectOnlyTraceLines(run.out);
}

// A failed upload or Save As ends the script like a bad line: nothing after it runs.
TEST(CliProgram, AnErrorMessageBoxStopsTheScriptWithStatusOne) {
    const struct {
        bool withTemplate;
        const char* script;
        const char* box;
    } cases[] = {
        {false, "press Upload\nshow\n",
         "s.txt:1: message box \"Error Message\": \"bmphead24 could"},
        {true, "press Upload\ntype \"File name\" no/dir/x.bmp\npress Save As\nshow\n",
         "s.txt:3: message box \"Error Message\": \"The new file could"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        TempDirectory directory;
        if (c.withTemplate)
            prepare(directory);
        std::ofstream(directory.path() / "s.txt") << c.script;
        const ProgramRun run = runCli(directory.path(), "s.txt");
        EXPECT_EQ(run.status, 1);
        const std::size_t box = run.err.find(c.box);
        ASSERT_NE(box, std::string::npos) << run.err;
        const std::string line = std::string(c.box).substr(0, 7); // "s.txt:N"
        EXPECT_EQ(run.err.substr(run.err.find('\n', box) + 1),
                  "orvane-cli: " + line +
                      ": error: press: the panel showed an \"Error Message\" "
                      "box\n");
    }
}

// An upload that reads nothing is said in one line, its files written all the same, and the
// script stops there with status 1.
TEST(CliProgram, AnUploadFromNothingIsSaidAndStopsTheScript) {
    TempDirectory directory;
    prepare(directory);
    std::ofstream(directory.path() / "s.txt") << "press Upload\nshow\n";
    const ProgramRun run = runCli(directory.path(), "s.txt", "ORVANE_PORT=sim:fault=unpowered");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("\norvane: no signal: every byte of the frame read 0x00: the module "
                           "does not answer; check that it is powered"),
              std::string::npos)
        << run.err;
    EXPECT_TRUE(
        run.err.ends_with("orvane-cli: s.txt:1: error: press: the upload read no picture\n"))
        << run.err;
    EXPECT_TRUE(std::filesystem::exists(directory.path() / "testfile.bmp"));
}

// Every trace line is written before the message it leads to and after the one before it: the
// upload's note follows its four wait lines, the failed upload's box follows the whole trace.
TEST(CliProgram, MessagesKeepTheirPlaceAmongTraceLines) {
    for (const bool withTemplate : {true, false}) {
        SCOPED_TRACE(withTemplate);
        TempDirectory directory;
        if (withTemplate)
            prepare(directory);
        std::ofstream(directory.path() / "s.txt") << "press Upload\n";
        const ProgramRun apart = runCli(directory.path(), "s.txt");
        const ProgramRun together = runCli(directory.path(), "s.txt", "", "/dev/null", true);
        const std::size_t backendLine = apart.err.find('\n') + 1; // written before any trace
        std::string expected = apart.out;
        const std::size_t wait = expected.rfind("pleasw wait\n") + 12;
        expected.insert(withTemplate ? wait : expected.size(), apart.err.substr(backendLine));
        EXPECT_EQ(together.out, apart.err.substr(0, backendLine) + expected);
    }
}

TEST(CliProgram, ReadsStandardInputAndRefusesCommandsAfterExit) {
    TempDirectory directory;
    const auto script = directory.path() / "in.txt";
    std::ofstream(script) << "click QCIF\npress E&xit\nshow\n";
    const ProgramRun run = runCli(directory.path(), "", "", script.string());
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("orvane-cli: <stdin>:3: error: the panel ended at line 2"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(run.out, ""); // nothing touched the bus
}

TEST(CliProgram, HelpListsEveryCommand) {
    TempDirectory directory;
    const ProgramRun run = runCli(directory.path(), "--help");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    for (const CliCommand& command : cliCommands()) {
        const std::string synopsis =
            "\n  " + std::string(command.name) +
            (command.arguments.empty() ? "" : " " + std::string(command.arguments));
        EXPECT_NE(run.out.find(synopsis), std::string::npos) << synopsis;
    }
    EXPECT_NE(run.out.find("\nExit status:\n  0  every command ran"), std::string::npos);
    EXPECT_NE(run.out.find("\n  1  at the first bad line, or the first line that showed an "
                           "\"Error Message\"\n"),
              std::string::npos);
    const ProgramRun version = runCli(directory.path(), "--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "orvane-cli " + std::string(buildVersion) + "\n");
}

TEST(CliProgram, RecordsTheRunInTheFileOrvaneVcdNames) {
    TempDirectory directory;
    std::ofstream(directory.path() / "set.txt") << "press Set Register\n";
    const ProgramRun run = runCli(directory.path(), "set.txt", "ORVANE_VCD=run.vcd");
    EXPECT_EQ(run.status, 0) << run.err;
    expectOnlyTraceLines(run.out);
    std::string error;
    const auto recording = testing::readVcd(directory.path() / "run.vcd", error);
    ASSERT_TRUE(recording) << error;
    EXPECT_EQ(testing::decodeBus(*recording).transactions().size(), 48u);
}

TEST(CliProgram, StartFailuresEndTheProgramBeforeAnyCommand) {
    const struct {
        const char* environment;
        const char* arguments;
        int status;
        const char* says;
    } cases[] = {
        {"ORVANE_VCD=no/such/dir/run.vcd", "s.txt", 1, "orvane: ORVANE_VCD=no/such/dir/run.vcd: "},
        {"ORVANE_PORT=lpt9", "s.txt", 1, "orvane: ORVANE_PORT=lpt9 "},
        {"", "missing.txt", 2,
         "orvane-cli: cannot read the script missing.txt: No such file or directory\n"},
        {"", ".", 2, "orvane-cli: cannot read the script .: Is a directory\n"},
        {"", "/dev/null", 2, "orvane-cli: cannot read the script /dev/null: not a regular file\n"},
        {"", "/proc/self/mem", 2, "/proc/self/mem:1: error: cannot read the script: Input/output"},
        {"ORVANE_SCENE=.", "s.txt", 1, "orvane: ORVANE_SCENE=.: .: a folder of scenes holds 1 to"},
        {"ORVANE_SCENE=/dev/zero", "s.txt", 1, "=/dev/zero: /dev/zero: a character device, not a"},
        {"ORVANE_SCENE=/proc/self/mem", "s.txt", 1, "cannot read /proc/self/mem: Input/output"},
        {"", "s.txt more.txt", 2, "orvane-cli: give at most one script\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
        TempDirectory directory;
        prepare(directory);
        std::ofstream(directory.path() / "s.txt") << "press Upload\n";
        const ProgramRun run = runCli(directory.path(), c.arguments, c.environment);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_EQ(directory.entries(), (std::set<std::string>{"bmphead24", "s.txt"}));
    }
}

} // namespace
} // namespace orvane
