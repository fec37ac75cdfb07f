// Running scripts on the whole panel: what the commands do to the controls and the shadow, the
// message boxes and errors with their line numbers, and the end of the panel.
#include "app/cli/script_runner.h"

#include <gtest/gtest.h>

#include <sstream>

#include "resources/build_version.h"
#include "resources/control_ids.h"
#include "support/panel_bench.h"

namespace orvane {
namespace {

class Script : public ::testing::Test {
protected:
    void SetUp() override { bench.start(); }

    int run(const std::string& script) {
        ScriptRunner runner(bench.panel, bench.dialog.state(), messages, "s.txt");
        std::istringstream input(script);
        return runner.run(input);
    }

    std::vector<std::string> messageLines() const {
        std::vector<std::string> lines;
        std::istringstream text(messages.str());
        for (std::string line; std::getline(text, line);)
            lines.push_back(line);
        return lines;
    }

    testing::PanelBench bench;
    std::ostringstream messages;
};

TEST_F(Script, CommandsActOnTheControlsAsAnOperatorWould) {
    const int status = run("# a comment\n"
                           "\n"
                           "move Contrast 40\r\n"
                           "type \"Horizontal Start\" 6x0\n"
                           "click QCIF\n"
                           "type 1065 \"my file.bmp\"\n"
                           "set brightness 150\n"
                           "set gain 2x\n"
                           "set Mirror 1\n"
                           "set window-v-end 200\n");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(bench.panel.sliderPosition(1032), 40);
    EXPECT_EQ(bench.panel.staticText(ControlId::contrastLabel), "40");
    EXPECT_EQ(bench.shadow().reg(0x05).pending, 1);
    EXPECT_TRUE(bench.panel.isChecked(ControlId::qcif));
    EXPECT_EQ(bench.panel.editText(ControlId::saveAsName), "my file.bmp");
    EXPECT_EQ(bench.panel.sliderPosition(ControlId::brightnessSlider), 150);
    EXPECT_TRUE(bench.panel.isChecked(ControlId::gain2x));
    EXPECT_TRUE(bench.panel.isChecked(ControlId::mirrorEnable));
    EXPECT_EQ(bench.panel.editText(ControlId::windowVEnd), "200");
    EXPECT_EQ(messageLines(),
              (std::vector<std::string>{
                  "orvane-cli: s.txt:4: note: edit 1042 takes digits only and now holds \"60\""}));
}

TEST_F(Script, MessageBoxesArePrintedWithTheLineThatShowedThem) {
    EXPECT_EQ(run("press &Set Register\nenter\ncommand 1073\nsystem 16\n"), 0);
    EXPECT_EQ(messageLines(),
              (std::vector<std::string>{
                  "orvane-cli: s.txt:1: message box \"I2C Control\": \"All registers were set!\"",
                  "orvane-cli: s.txt:3: message box \"Improper selection\": "
                  "\"Background red component increased already\"",
                  "orvane-cli: s.txt:4: about box \"About Orvane\": \"Color Orvane Panel for "
                  "OV7610, version " +
                      std::string(buildVersion) + ", MIT licence\""}));
    EXPECT_EQ(bench.decoded().size(), 48u); // the second Set Register had nothing to send
    EXPECT_EQ(bench.panel.aboutBoxesShown(), 1);
}

TEST_F(Script, ABadLineStopsTheScriptWithItsNumberAfterTheLinesBeforeIt) {
    const struct {
        const char* line;
        const char* error;
    } cases[] = {
        {"press Uplod", "press: no push button is named \"Uplod\""},
        {"move Contrast 300", "move: position 300 is outside slider 1032's range 0 to 255"},
        {"explode", "unknown command \"explode\"; orvane-cli --help lists the commands"},
        {"command 1053",
         "command: radio button 1053 (16 Bits, bus-width=16, Digital output mode/16 Bits) is "
         "disabled in the panel"},
        {"command 1027", "command: edit 1027 (-) is hidden in the panel"},
        {"set gain 3x", "set: gain takes normal, 2x, not \"3x\""},
        {"set exposure 9", "set: no control is named \"exposure\"; orvane-cli --help lists the "
                           "controls"},
    };
    for (const auto& c : cases) {
        messages.str("");
        const int status = run("type 1031 7\n# two\n" + std::string(c.line) + "\ntype 1031 9\n");
        EXPECT_EQ(status, scriptFailureStatus) << c.line;
        EXPECT_EQ(bench.panel.editText(ControlId::userRegisterNumber), "7") << c.line;
        EXPECT_EQ(messageLines(), (std::vector<std::string>{"orvane-cli: s.txt:3: error: " +
                                                            std::string(c.error)}));
    }
}

TEST_F(Script, ALineLongerThan64KiBStopsTheScriptQuotingItsStart) {
    EXPECT_EQ(run("type 1031 7\n" + std::string(70000, 'x') + "\n"), scriptFailureStatus);
    EXPECT_EQ(messageLines(), (std::vector<std::string>{"orvane-cli: s.txt:2: error: a line is "
                                                        "longer than 65536 bytes: \"" +
                                                        std::string(80, 'x') + "...\""}));
}

TEST_F(Script, NothingMayFollowTheCommandThatEndedThePanel) {
    for (const char* ending : {"press E&xit", "close"}) {
        testing::PanelBench fresh;
        fresh.start();
        messages.str("");
        ScriptRunner runner(fresh.panel, fresh.dialog.state(), messages, "s.txt");
        EXPECT_TRUE(runner.runLine("show", 1));
        EXPECT_FALSE(fresh.panel.ended());
        EXPECT_TRUE(runner.runLine(ending, 2)) << ending;
        EXPECT_TRUE(fresh.panel.ended()) << ending;
        EXPECT_EQ(fresh.panel.result(), 2);
        EXPECT_TRUE(runner.runLine("# still fine", 3));
        EXPECT_FALSE(runner.runLine("show", 4));
        EXPECT_EQ(messageLines().back(), "orvane-cli: s.txt:4: error: the panel ended at line 2; "
                                         "nothing can follow E&xit");
    }
}

TEST_F(Script, ShowReportsControlsShadowModeAndGeometry) {
    EXPECT_EQ(run("click &RGB\nshow\n"), 0);
    const std::string report = messages.str();
    for (const char* line : {
             "orvane-cli: s.txt:2: show\n",
             "\n    1025  radio button  RGB, format=rgb, Data format/RGB: \"&RGB\" checked  at "
             "49,17 30x11\n",
             "\n    1042  edit          window-h-start, Horizontal Start: text \"86\"  at 137,125 "
             "22x12\n",
             "\n    1027  edit          -: text \"0\"  at 227,35 22x12 hidden disabled\n",
             "\n    1071  slider        red-bias, Red Bias: position 0 of 0..63, ticks every 1  at "
             "126,24 "
             "80x15\n",
             "\n    0x17 0x38 0x38 1\n",
             " dataFormat=0x08 ",
             "\n  frame geometry: imageWidth=312 imageHeight=208 linesToRead=208 "
             "bytesPerLine=625\n",
             "\n  window: open, message boxes so far 0, About boxes shown 0\n",
         })
        EXPECT_NE(report.find(line), std::string::npos) << line;
}

} // namespace
} // namespace orvane
