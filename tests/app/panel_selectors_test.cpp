// The option selectors, in both states, against their messages, register arithmetic, flags,
// radio buttons and window edits; and the invariants after a long random session.
#include "app/panel_selectors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

#include "app/panel_settings.h"
#include "sensor/register_masks.h"
#include "sim/sensor_register_file.h"
#include "support/panel_bench.h"

namespace orvane {
namespace {

using testing::PanelBench;

struct SelectorCase {
    const char* name;
    std::vector<int> before;           // clicks (or commands) before the one under test
    int click;                         // the selection under test
    const char* message;               // nullptr: accepted
    std::map<uint8_t, uint8_t> values; // register values afterwards
    std::vector<uint8_t> raised;       // flags raised by the selection itself
    std::vector<int> checked;          // radio buttons checked afterwards
    std::vector<int> unchecked;        // radio buttons unchecked afterwards
    std::vector<const char*> window;   // edits 1042, 1044, 1043, 1045 afterwards; empty: unchanged
};

void clickOrCommand(PanelBench& bench, int id) {
    if (id == 1 || !bench.panel.click(id))
        bench.panel.sendCommand(id); // Set Register, disabled buttons and pure commands
}

const std::vector<SelectorCase> selectorCases = {
    {"MirrorEnable", {}, 1020, nullptr, {{0x12, 0x64}}, {0x12}, {1020}, {1021}, {}},
    {"MirrorDisableAfterEnable", {1020}, 1021, nullptr, {{0x12, 0x24}}, {0x12}, {1021}, {1020}, {}},
    {"MirrorDisableAlready",
     {},
     1021,
     "Mirror disabled already",
     {{0x12, 0x24}},
     {},
     {1021},
     {},
     {}},
    {"MirrorEnableAlready",
     {1020},
     1020,
     "Mirror enabled already",
     {{0x12, 0x64}},
     {},
     {1020},
     {},
     {}},
    {"Rgb",
     {},
     1025,
     nullptr,
     {{0x12, 0x2C}, {0x28, 0xA0}, {0x14, 0x04}, {0x20, 0x00}},
     {0x12, 0x14, 0x20, 0x28, 0x17, 0x18, 0x19, 0x1A},
     {1025},
     {1024, 1022, 1023},
     {"86", "192", "25", "180"}},
    {"RgbAlready", {1025}, 1025, "rgb output already", {{0x12, 0x2C}}, {}, {1025}, {}, {}},
    {"YuvAfterRgb",
     {1025},
     1024,
     nullptr,
     {{0x12, 0x24}, {0x28, 0x20}, {0x14, 0x24}, {0x20, 0x1D}},
     {0x12, 0x14, 0x20, 0x28, 0x17, 0x18, 0x19, 0x1A},
     {1024, 1022},
     {1025, 1023},
     {"56", "214", "5", "212"}},
    {"YuvAlready", {}, 1024, "YUV output already", {{0x12, 0x24}}, {}, {1024}, {}, {}},
    {"MirrorThenRgb",
     {1020},
     1025,
     nullptr,
     {{0x12, 0x6C}},
     {0x12, 0x14, 0x20, 0x28, 0x17, 0x18, 0x19, 0x1A},
     {1020, 1025},
     {1021},
     {"86", "192", "25", "180"}},
    {"CifAlready", {}, 1022, "CIF output already", {}, {}, {1022}, {}, {}},
    {"QcifWhileYuv",
     {},
     1023,
     nullptr,
     {},
     {0x17, 0x18, 0x19, 0x1A},
     {1023},
     {1022},
     {"94", "184", "37", "180"}},
    {"QcifAlready", {1023}, 1023, "QCIF output already", {}, {}, {1023}, {}, {}},
    {"CifWhileYuvQcif",
     {1023},
     1022,
     nullptr,
     {},
     {0x17, 0x18, 0x19, 0x1A},
     {1022},
     {1023},
     {"56", "214", "5", "212"}},
    {"QcifWhileRgb",
     {1025},
     1023,
     nullptr,
     {},
     {0x17, 0x18, 0x19, 0x1A},
     {1023},
     {1022},
     {"123", "169", "67", "138"}},
    {"CifWhileRgb",
     {1025},
     1022,
     nullptr,
     {},
     {0x17, 0x18, 0x19, 0x1A},
     {1022},
     {1023},
     {"106", "189", "15", "136"}},
    {"YuvFromRgbQcif",
     {1025, 1023},
     1024,
     nullptr,
     {},
     {0x12, 0x14, 0x20, 0x28, 0x17, 0x18, 0x19, 0x1A},
     {1024, 1022},
     {1025, 1023},
     {"56", "214", "5", "212"}},
    {"EightBitsAlready",
     {},
     1052,
     "UV bus is disabled already",
     {{0x13, 0x20}},
     {},
     {1052},
     {},
     {}},
    {"SixteenBits", {}, 1053, nullptr, {{0x13, 0x00}}, {0x13}, {}, {1052}, {}},
    {"SixteenThenEight", {1053}, 1052, nullptr, {{0x13, 0x20}}, {0x13}, {1052}, {1053}, {}},
    {"SixteenBitsAlready",
     {1053},
     1053,
     "UV bus is enabled already",
     {{0x13, 0x00}},
     {},
     {},
     {},
     {}},
    {"Gain2x", {}, 1078, nullptr, {{0x0E, 0x97}}, {0x0E}, {1078}, {1079}, {}},
    {"GainNormalAfter2x", {1078}, 1079, nullptr, {{0x0E, 0x17}}, {0x0E}, {1079}, {1078}, {}},
    {"GainNormalAlready",
     {},
     1079,
     "Normal Analog gain was selected already",
     {{0x0E, 0x17}},
     {},
     {1079},
     {},
     {}},
    {"Gain2xAlready",
     {1078},
     1078,
     "Additional 2x Analog gain was selected already",
     {{0x0E, 0x97}},
     {},
     {1078},
     {},
     {}},
    {"AutoEnableAlready",
     {},
     1069,
     "Main Auto Adjust Mode is already enabled",
     {{0x13, 0x20}},
     {},
     {1069},
     {},
     {}},
    {"AutoDisableBeforeSetRegister",
     {},
     1070,
     "The camera should be initialized first.",
     {{0x13, 0x20}},
     {},
     {1069},
     {1070},
     {}},
    {"AutoDisableAfterSetRegister", {1}, 1070, nullptr, {{0x13, 0x20}}, {0x13}, {1070}, {1069}, {}},
    {"AutoEnableAfterDisable",
     {1, 1070},
     1069,
     nullptr,
     {{0x13, 0x21}},
     {0x13},
     {1069},
     {1070},
     {}},
    {"AutoDisableAlready",
     {1, 1070},
     1070,
     "Main Auto Adjust Mode is already disabled",
     {{0x13, 0x20}},
     {},
     {1070},
     {},
     {}},
    {"RedIncreaseAlready",
     {},
     1073,
     "Background red component increased already",
     {},
     {},
     {},
     {},
     {}},
    {"RedDecrease", {}, 1074, nullptr, {{0x0D, 0x00}}, {0x0D}, {}, {}, {}},
    {"RedIncreaseAfterDecrease", {1074}, 1073, nullptr, {{0x0D, 0x00}}, {0x0D}, {}, {}, {}},
    {"RedDecreaseAlready",
     {1074},
     1074,
     "Background red component decreased already",
     {},
     {},
     {},
     {},
     {}},
};

std::size_t writeOrder(uint8_t subAddress) {
    for (std::size_t i = 0; i < registerTable.size(); ++i) {
        if (registerTable[i].subAddress == subAddress)
            return i;
    }
    return registerTable.size();
}

std::vector<uint8_t> flagsUp(PanelBench& bench) {
    std::vector<uint8_t> up;
    for (const ShadowEntry& entry : bench.shadow().entries()) {
        if (entry.pending == 1)
            up.push_back(entry.subAddress);
    }
    return up;
}

TEST(OptionSelectors, EachSelectionInBothStates) {
    for (const SelectorCase& c : selectorCases) {
        SCOPED_TRACE(c.name);
        PanelBench bench;
        bench.start();
        for (const int id : c.before)
            clickOrCommand(bench, id);
        for (ShadowEntry& entry : bench.shadow().entries())
            entry.pending = 0;
        const RegisterShadow before = bench.shadow();
        const std::string window[4] = {bench.panel.editText(1042), bench.panel.editText(1044),
                                       bench.panel.editText(1043), bench.panel.editText(1045)};
        bench.panel.clearMessages();

        clickOrCommand(bench, c.click);

        if (c.message == nullptr) {
            EXPECT_TRUE(bench.panel.messages().empty());
        } else {
            const std::vector<RecordedMessage> expected = {{"Improper selection", c.message}};
            EXPECT_EQ(bench.panel.messages(), expected);
            EXPECT_EQ(bench.shadow().mode, before.mode) << "a refusal changes no state";
        }
        for (const auto& [sub, value] : c.values)
            EXPECT_EQ(bench.shadow().reg(sub).value, value) << "register " << int{sub};
        std::vector<uint8_t> raised = c.raised;
        std::sort(raised.begin(), raised.end(),
                  [](uint8_t a, uint8_t b) { return writeOrder(a) < writeOrder(b); });
        EXPECT_EQ(flagsUp(bench), raised);
        for (const int id : c.checked)
            EXPECT_TRUE(bench.panel.isChecked(id)) << id;
        for (const int id : c.unchecked)
            EXPECT_FALSE(bench.panel.isChecked(id)) << id;
        const std::string after[4] = {bench.panel.editText(1042), bench.panel.editText(1044),
                                      bench.panel.editText(1043), bench.panel.editText(1045)};
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(after[i], c.window.empty()
                                    ? window[i]
                                    : std::string(c.window[static_cast<std::size_t>(i)]));
    }
}

TEST(OptionSelectors, YuvRestoresTheStartGeometry) {
    PanelBench bench;
    bench.start();
    bench.panel.click(1025);
    bench.panel.click(1);
    EXPECT_EQ(bench.geometry(), (FrameGeometry{416, 312, 312, 419}));
    bench.panel.click(1024);
    EXPECT_EQ(bench.geometry(), (FrameGeometry{312, 208, 208, 625}));
}

TEST(OptionSelectors, MirrorReachesTheSensorAtTheNextSetRegister) {
    PanelBench bench;
    bench.start();
    bench.panel.click(1020);
    bench.panel.click(1);
    EXPECT_EQ(bench.module.sensor()[0x12], 0x64);
    bench.panel.click(1021);
    const std::size_t before = bench.decoded().size();
    bench.panel.click(1);
    ASSERT_EQ(bench.decoded().size(), before + 1);
    EXPECT_EQ(bench.decoded().back(), (DecodedTransaction{0x42, 0x12, 0x24}));
}

// The mask bits follow their mode state, whatever the operator does.
void expectInvariants(PanelBench& bench) {
    const RegisterShadow& s = bench.shadow();
    const ModeState& m = s.mode;
    const bool rgb = m.dataFormat == dataFormatRgb;
    EXPECT_EQ((s.reg(0x12).value & mirrorBit) != 0, m.mirrorState == 1);
    EXPECT_EQ((s.reg(0x12).value & rgbBit) != 0, rgb);
    EXPECT_EQ((s.reg(0x28).value & reg28RgbBit) != 0, rgb);
    EXPECT_EQ((s.reg(0x14).value & cifBit) == 0, rgb);
    EXPECT_EQ((s.reg(0x13).value & eightBitBit) != 0, m.uvBusMode == uvBusEightBits);
    EXPECT_EQ((s.reg(0x0E).value & analogGainBit) != 0, m.analogGain2x == analogGainDouble);
    if (m.autoAdjustApplyPending == 1) {
        EXPECT_EQ(s.reg(0x13).value & autoAdjustBit, 0);
    } else {
        EXPECT_EQ((s.reg(0x13).value & autoAdjustBit) != 0, m.autoAdjustState == 1);
    }
    for (const ShadowEntry& entry : s.entries())
        EXPECT_LE(entry.pending, 1);
    EXPECT_LE(m.userRegisterPending, 1);
    EXPECT_LE(m.autoAdjustApplyPending, 1);
}

TEST(OptionSelectors, InvariantsHoldThroughALongRandomSession) {
    PanelBench bench;
    bench.start();
    SensorRegisterFile expectedSensor; // what the sensor must hold, replayed from the writes
    std::mt19937 random(20261208);
    const int radios[] = {1020, 1021, 1022, 1023, 1024, 1025, 1052, 1053, 1069, 1070, 1078, 1079};
    const int sliders[] = {1032, 1034, 1058, 1067, 1071, 1075};
    const int edits[] = {1042, 1044, 1043, 1045, 1028, 1031, 1037};
    for (int step = 0; step < 600; ++step) {
        const unsigned action = random() % 20;
        if (action < 8) {
            clickOrCommand(bench, radios[random() % std::size(radios)]);
        } else if (action < 10) {
            bench.panel.sendCommand(random() % 2 == 0 ? 1073 : 1074);
        } else if (action < 13) {
            const int id = sliders[random() % std::size(sliders)];
            bench.panel.moveSlider(id, static_cast<int>(random() % 256));
        } else if (action < 16) {
            const int id = edits[random() % std::size(edits)];
            bench.panel.setEditText(id, std::to_string(static_cast<int>(random() % 300) - 20));
        } else if (action < 19) {
            const std::vector<RegisterWrite> sent =
                applySettings(bench.dialog.state().device, bench.panel);
            for (const RegisterWrite& write : sent)
                expectedSensor.write(write.subAddress, write.value);
            ASSERT_EQ(bench.module.sensor().registers(), expectedSensor.registers())
                << "step " << step;
        } else {
            bench.panel.click(1026);
            expectedSensor.write(0x12, 0x80);
        }
        expectInvariants(bench);
        if (HasFailure())
            FAIL() << "after step " << step;
    }
    EXPECT_TRUE(bench.module.bus().violations().empty());
}

} // namespace
} // namespace orvane
