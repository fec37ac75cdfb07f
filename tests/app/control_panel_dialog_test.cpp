// The control panel on the headless panel: starting state, slider and edit events, system menu,
// painting and Exit.
#include "app/control_panel_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "resources/control_labels.h"
#include "sensor/control_table.h"
#include "support/panel_bench.h"

namespace orvane {
namespace {

using testing::PanelBench;

class ControlPanel : public ::testing::Test {
protected:
    void SetUp() override { bench.start(); }

    // Every flag down, as after a Set Register, so a test sees only what it raises.
    void clearFlags() {
        for (ShadowEntry& entry : bench.shadow().entries())
            entry.pending = 0;
        bench.shadow().mode.userRegisterPending = 0;
        bench.shadow().mode.autoAdjustApplyPending = 0;
    }

    PanelBench bench;
};

TEST_F(ControlPanel, StartsWithEveryControlInItsStartingState) {
    const HeadlessPanel& panel = bench.panel;
    struct SliderStart {
        int id, minimum, maximum, position, tickFrequency, labelId;
        const char* label;
    };
    const SliderStart sliders[] = {
        {1032, 0, 255, 0, 1, 1060, "0"},      {1034, 0, 255, 128, 10, 1061, "128"},
        {1058, 0, 255, 192, 10, 1062, "192"}, {1067, 0, 63, 0, 1, 1068, "0"},
        {1071, 0, 63, 0, 1, 1072, "0"},       {1075, 0, 255, 128, 1, 1076, "128"},
    };
    for (const SliderStart& s : sliders) {
        const HeadlessControl* slider = panel.control(s.id);
        ASSERT_NE(slider, nullptr);
        EXPECT_EQ(slider->minimum, s.minimum) << s.id;
        EXPECT_EQ(slider->maximum, s.maximum) << s.id;
        EXPECT_EQ(slider->position, s.position) << s.id;
        EXPECT_EQ(slider->tickFrequency, s.tickFrequency) << s.id;
        EXPECT_EQ(panel.staticText(s.labelId), s.label) << s.labelId;
    }
    const std::pair<int, const char*> edits[] = {
        {1042, "56"}, {1044, "214"}, {1043, "5"}, {1045, "212"},         {1031, "0"},
        {1037, "0"},  {1028, "2"},   {1027, "0"}, {1065, "filename.BMP"}};
    for (const auto& [id, text] : edits)
        EXPECT_EQ(panel.editText(id), text) << id;

    const std::set<int> checked = {1024, 1052, 1022, 1021, 1069, 1079};
    for (const ControlTemplate& control : panel.dialogTemplate().controls) {
        if (control.kind == ControlKind::RadioButton) {
            EXPECT_EQ(panel.isChecked(control.id), checked.count(control.id) == 1) << control.id;
        }
    }
    EXPECT_EQ(panel.staticText(1081), "00") << "the hidden label keeps its template text";
    EXPECT_EQ(panel.largeIcon(), 133);
    EXPECT_EQ(panel.smallIcon(), 133);
    ASSERT_GE(panel.systemMenu().size(), 2u);
    const auto& menu = panel.systemMenu();
    EXPECT_EQ(menu[menu.size() - 2].commandId, 0);
    EXPECT_EQ(menu.back().commandId, 0x10);
    EXPECT_EQ(menu.back().text, "&About Orvane...");
    EXPECT_TRUE(panel.messages().empty());
}

// Template 102 and the control table agree: each control of the table is a slider or edit of its
// range and default, or a radio button per choice (enabled exactly when the choice can be made,
// checked for the default); every radio button of the template is one choice.
TEST_F(ControlPanel, TheTemplateShowsTheControlTableAsItIs) {
    const HeadlessPanel& panel = bench.panel;
    std::set<int> bound;
    for (const ControlRow& row : controlTable) {
        SCOPED_TRACE(row.info.name);
        if (row.info.type == ControlType::Integer) {
            const HeadlessControl* control = panel.control(row.dialogControl);
            ASSERT_NE(control, nullptr);
            if (control->source->kind == ControlKind::Slider) {
                EXPECT_EQ(control->minimum, row.info.minimum);
                EXPECT_EQ(control->maximum, row.info.maximum);
                EXPECT_EQ(control->position, row.info.defaultValue);
            } else {
                EXPECT_EQ(control->source->kind, ControlKind::Edit);
                EXPECT_EQ(control->text, std::to_string(row.info.defaultValue));
            }
            continue;
        }
        for (std::size_t i = 0; i < row.bindings.size(); ++i) {
            const HeadlessControl* radio = panel.control(row.bindings[i].dialogControl);
            const bool isDefault = row.info.choices[i].value == row.info.defaultValue;
            if (radio == nullptr) { // the background red commands, and RGB's own window
                EXPECT_TRUE(row.info.name == "red-background" || !row.info.choices[i].selectable);
                continue;
            }
            bound.insert(radio->source->id);
            EXPECT_EQ(radio->source->kind, ControlKind::RadioButton);
            EXPECT_EQ((radio->source->style & ControlStyle::disabled) == 0,
                      row.info.choices[i].selectable);
            EXPECT_EQ(radio->checked, isDefault) << radio->source->id;
        }
    }
    for (const ControlTemplate& control : panel.dialogTemplate().controls) {
        if (control.kind == ControlKind::RadioButton) {
            EXPECT_TRUE(bound.count(control.id)) << control.id;
        }
    }
}

// A control is written once: no other file of the core, the panel or orvane-cli spells a control's
// name or the name the template gives a field or group as a string. (The front ends over
// liborvane name controls as any program does: they cannot see the table.)
TEST(ControlTable, NoOtherSourceNamesAControlOrItsCaption) {
    std::set<std::string> needles;
    for (const ControlRow& row : controlTable)
        needles.insert("\"" + std::string(row.info.name) + "\"");
    for (const ControlTemplate& control : controlPanelTemplate.controls) {
        if (const std::string label = fieldLabel(controlPanelTemplate, control); !label.empty())
            needles.insert("\"" + label + "\"");
        if (control.kind == ControlKind::GroupBox)
            needles.insert("\"" + displayCaption(control.caption) + "\"");
    }
    ASSERT_EQ(needles.size(), controlTable.size() + 13 + 6); // thirteen fields, six groups
    const std::filesystem::path src = ORVANE_SOURCE_DIR "/src";
    const std::set<std::string> owners = {"sensor/control_table.h", "resources/panel_templates.h"};
    const std::set<std::string> overTheLibrary = {"gst", "pipewire", "studio", "viewer"};
    for (const auto& entry : std::filesystem::recursive_directory_iterator(src)) {
        const std::filesystem::path relative = entry.path().lexically_relative(src);
        if (!entry.is_regular_file() || owners.count(relative.generic_string()) ||
            overTheLibrary.count(relative.begin()->string()))
            continue;
        std::ifstream file(entry.path());
        std::string line;
        for (int number = 1; std::getline(file, line); ++number) {
            const std::string code = line.substr(0, line.find("//"));
            for (const std::string& needle : needles)
                EXPECT_EQ(code.find(needle), std::string::npos)
                    << relative << ":" << number << " writes " << needle;
        }
    }
}

TEST_F(ControlPanel, ItsOwnEditWritesLeaveTheirFlagsRaised) {
    const RegisterShadow& shadow = bench.shadow();
    for (const uint8_t sub : {0x11, 0x17, 0x18, 0x19, 0x1A})
        EXPECT_EQ(shadow.reg(sub).pending, 1) << int{sub};
    EXPECT_EQ(shadow.mode.userRegisterPending, 1);
    EXPECT_EQ(shadow.mode.autoAdjustApplyPending, 1);
    for (const uint8_t sub : {0x0C, 0x0D, 0x07})
        EXPECT_EQ(shadow.reg(sub).pending, 0) << "no scroll event yet for " << int{sub};
    EXPECT_EQ(bench.sliders(), (SliderCopies{0x00, 0x80, 0xC0, 0x00, 0x00, 0x80}))
        << "setting slider positions raises nothing";
}

TEST_F(ControlPanel, PortSetUpWritesTwoBytesAndReadsNothing) {
    const std::vector<testing::PortAccess> expected = {{true, 0x77A, 0x20}, {true, 0x37A, 0x20}};
    EXPECT_EQ(bench.port.accesses(), expected);
    EXPECT_TRUE(bench.trace.lines().empty());
    EXPECT_TRUE(bench.dialog.state().device.buffers.allocated());
}

TEST_F(ControlPanel, FirstScrollEventAlsoRaisesRedBiasBecauseOfItsOffset) {
    clearFlags();
    ASSERT_TRUE(bench.panel.moveSlider(1034, 50));
    const RegisterShadow& shadow = bench.shadow();
    EXPECT_EQ(bench.sliders().brightnessShown, 50);
    EXPECT_EQ(bench.panel.staticText(1061), "50");
    EXPECT_EQ(shadow.reg(0x06).pending, 1);
    EXPECT_EQ(bench.sliders().redBiasShown, 0x20);
    EXPECT_EQ(bench.panel.staticText(1072), "0");
    EXPECT_EQ(shadow.reg(0x0D).pending, 1);
    for (const uint8_t sub : {0x05, 0x03, 0x0C, 0x07})
        EXPECT_EQ(shadow.reg(sub).pending, 0) << int{sub};
}

TEST_F(ControlPanel, OneScrollEventUpdatesEverySliderThatMoved) {
    bench.panel.setSliderPosition(1032, 77); // moved by the program: no event of its own
    EXPECT_EQ(bench.sliders().contrastShown, 0);
    clearFlags();
    bench.panel.moveSlider(1075, 10);
    EXPECT_EQ(bench.sliders().contrastShown, 77);
    EXPECT_EQ(bench.panel.staticText(1060), "77");
    EXPECT_EQ(bench.shadow().reg(0x05).pending, 1);
    EXPECT_EQ(bench.sliders().sharpnessShown, 10);
    EXPECT_EQ(bench.panel.staticText(1076), "10");
    EXPECT_EQ(bench.shadow().reg(0x07).pending, 1);
}

TEST_F(ControlPanel, RedBiasCopyCarriesTheBackgroundOffsetAndItsLabelDoesNot) {
    bench.panel.moveSlider(1071, 10);
    EXPECT_EQ(bench.sliders().redBiasShown, 42);
    EXPECT_EQ(bench.panel.staticText(1072), "10");
    bench.panel.sendCommand(1074); // background red decrease: offset 0
    clearFlags();
    bench.panel.moveSlider(1067, 1);
    EXPECT_EQ(bench.sliders().redBiasShown, 10);
    EXPECT_EQ(bench.panel.staticText(1072), "10");
    EXPECT_EQ(bench.shadow().reg(0x0D).pending, 1);
}

TEST_F(ControlPanel, ScrollEventWithNothingMovedChangesNothing) {
    bench.panel.moveSlider(1034, 50);
    clearFlags();
    const SliderCopies before = bench.sliders();
    bench.panel.moveSlider(1034, 50);
    EXPECT_EQ(bench.sliders(), before);
    for (const ShadowEntry& entry : bench.shadow().entries())
        EXPECT_EQ(entry.pending, 0) << int{entry.subAddress};
}

TEST_F(ControlPanel, EditChangesRaiseTheirRegisterFlags) {
    struct Case {
        int editId;
        const char* text;
        int subAddress; // -1: the free register's flag
    };
    const Case cases[] = {{1028, "3", 0x11}, {1042, "60", 0x17},  {1044, "200", 0x18},
                          {1043, "6", 0x19}, {1045, "100", 0x1A}, {1031, "18", -1},
                          {1037, "-5", -1}};
    for (const Case& c : cases) {
        clearFlags();
        ASSERT_TRUE(bench.panel.typeText(c.editId, c.text));
        int raised = bench.shadow().mode.userRegisterPending;
        for (const ShadowEntry& entry : bench.shadow().entries())
            raised += entry.pending;
        EXPECT_EQ(raised, 1) << c.editId;
        if (c.subAddress < 0) {
            EXPECT_EQ(bench.shadow().mode.userRegisterPending, 1) << c.editId;
        } else {
            EXPECT_EQ(bench.shadow().reg(static_cast<uint8_t>(c.subAddress)).pending, 1);
        }
    }
    EXPECT_FALSE(bench.panel.typeText(1027, "5")) << "the hidden edit cannot be typed into";
    clearFlags();
    bench.panel.setEditText(1042, "56"); // the same text again still raises the flag
    EXPECT_EQ(bench.shadow().reg(0x17).pending, 1);
}

TEST_F(ControlPanel, ExitFreesTheBuffersOnceAndEndsWithResult2) {
    for (const auto close :
         {+[](HeadlessPanel& p) { p.click(2); }, +[](HeadlessPanel& p) { p.pressEscape(); },
          +[](HeadlessPanel& p) { p.closeWindow(); }}) {
        PanelBench bench2;
        bench2.start();
        close(bench2.panel);
        EXPECT_TRUE(bench2.panel.ended());
        EXPECT_EQ(bench2.panel.result(), 2);
        EXPECT_FALSE(bench2.dialog.state().device.buffers.allocated());
        EXPECT_EQ(bench2.dialog.state().device.buffers.releaseCount(), 1u);
        EXPECT_EQ(bench2.port.accesses().size(), 2u) << "Exit leaves the port alone";
    }
}

TEST_F(ControlPanel, NothingRunsAfterExit) {
    bench.panel.click(2);
    const std::size_t accesses = bench.port.accesses().size();
    for (const int id : {1, 1039, 1066, 1026, 1025, 2})
        bench.panel.click(id);
    bench.panel.moveSlider(1034, 9);
    EXPECT_EQ(bench.port.accesses().size(), accesses);
    EXPECT_TRUE(bench.panel.messages().empty());
    EXPECT_EQ(bench.dialog.state().device.buffers.releaseCount(), 1u);
    EXPECT_EQ(bench.sliders().brightnessShown, 0x80);
}

// The trace is delivered before each box and when each handler ends, so nothing it traced waits
// for the box or the next event: Set Register (48 registers of 238 lines, then its box), a slider
// move (its two scroll handlings trace nothing) and Set Register again (the slider's register and
// red bias).
TEST_F(ControlPanel, TraceIsFlushedBeforeEachBoxAndWhenEachHandlerEnds) {
    bench.trace.clear();
    bench.panel.click(1);
    bench.panel.moveSlider(1034, 9);
    bench.panel.click(1);
    EXPECT_EQ(bench.trace.flushes(), (std::vector<std::size_t>{48 * 238, 48 * 238, 48 * 238,
                                                               48 * 238, 50 * 238, 50 * 238}));
}

TEST_F(ControlPanel, SetRegisterAndEnterNeverClose) {
    bench.panel.click(1);
    bench.panel.pressEnter();
    EXPECT_FALSE(bench.panel.ended());
    EXPECT_TRUE(bench.dialog.state().device.buffers.allocated());
}

TEST_F(ControlPanel, SystemMenuOpensAboutAndKeepsTheUsualCommands) {
    bench.panel.chooseSystemCommand(0x10);
    EXPECT_EQ(bench.panel.aboutBoxesShown(), 1);
    bench.panel.chooseSystemCommand(0x1F); // low four bits are ignored
    EXPECT_EQ(bench.panel.aboutBoxesShown(), 2);
    bench.panel.chooseSystemCommand(systemMinimize);
    EXPECT_TRUE(bench.panel.isMinimized());
    EXPECT_EQ(bench.panel.aboutBoxesShown(), 2);
    bench.panel.chooseSystemCommand(systemRestore);
    EXPECT_FALSE(bench.panel.isMinimized());
}

TEST_F(ControlPanel, MinimisedPanelPaintsItsIconCentred) {
    bench.panel.paint();
    EXPECT_TRUE(bench.panel.drawnIcons().empty());
    bench.panel.setMinimized(true);
    bench.panel.setClientSize({160, 27});
    bench.panel.paint();
    const std::vector<DrawnIcon> expected = {{133, (160 - 32 + 1) / 2, (27 - 32 + 1) / 2}};
    EXPECT_EQ(bench.panel.drawnIcons(), expected);
    EXPECT_EQ(expected[0].y, -2) << "rounds toward zero";
}

TEST_F(ControlPanel, DataExchangeTowardsMembersHonoursItsBounds) {
    bench.panel.setEditText(1028, "65");
    EXPECT_FALSE(bench.dialog.exchangeData(false));
    bench.panel.setEditText(1028, "64");
    EXPECT_TRUE(bench.dialog.exchangeData(false));
    EXPECT_TRUE(bench.dialog.exchangeData(true));
    EXPECT_EQ(bench.panel.editText(1028), "64");
}

} // namespace
} // namespace orvane
