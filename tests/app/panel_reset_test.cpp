// Reset: one timed transaction, then the shadow and every control as when the panel was first
// shown.
#include "app/panel_reset.h"

#include <gtest/gtest.h>

#include "support/panel_bench.h"

namespace orvane {
namespace {

using testing::PanelBench;

// Everything of the panel a test can compare: controls and shadow.
void expectSameState(PanelBench& actual, PanelBench& expected) {
    for (const ControlTemplate& source : expected.panel.dialogTemplate().controls) {
        if (source.id == noControlId)
            continue;
        const HeadlessControl* want = expected.panel.control(source.id);
        const HeadlessControl* got = actual.panel.control(source.id);
        EXPECT_EQ(got->text, want->text) << source.id;
        EXPECT_EQ(got->checked, want->checked) << source.id;
        EXPECT_EQ(got->position, want->position) << source.id;
        EXPECT_EQ(got->minimum, want->minimum) << source.id;
        EXPECT_EQ(got->maximum, want->maximum) << source.id;
    }
    for (std::size_t i = 0; i < expected.shadow().entries().size(); ++i) {
        const ShadowEntry& want = expected.shadow().entries()[i];
        const ShadowEntry& got = actual.shadow().entries()[i];
        EXPECT_EQ(got.value, want.value) << int{want.subAddress};
        EXPECT_EQ(got.pending, want.pending) << int{want.subAddress};
    }
    EXPECT_EQ(actual.shadow().mode, expected.shadow().mode);
    EXPECT_EQ(actual.sliders(), expected.sliders());
}

void clickThrough(PanelBench& bench) {
    bench.panel.click(1); // Set Register
    for (const int id : {1025, 1023, 1020, 1078, 1070, 1052})
        bench.panel.click(id);
    bench.panel.sendCommand(1074);
    bench.panel.sendCommand(1053);
    bench.panel.moveSlider(1034, 3);
    bench.panel.moveSlider(1071, 63);
    bench.panel.typeText(1028, "7");
    bench.panel.typeText(1031, "44");
    bench.panel.typeText(1037, "9");
    bench.panel.typeText(1065, "picture.bmp");
}

TEST(CameraReset, SendsOneTimedTransactionForRegister12) {
    PanelBench bench;
    bench.start();
    clickThrough(bench);
    const std::size_t writesBefore = bench.port.writtenTo(0x37A).size();
    const std::size_t decodedBefore = bench.decoded().size();
    const std::size_t ticksBefore = bench.ticks.reads();
    bench.trace.clear();

    bench.panel.click(1026);

    EXPECT_EQ(bench.port.writtenTo(0x37A).size() - writesBefore, 86u);
    ASSERT_EQ(bench.decoded().size(), decodedBefore + 1);
    EXPECT_EQ(bench.decoded().back(), (DecodedTransaction{0x42, 0x12, 0x80}));
    // The stepping counter advances one tick per read: three reads per 2 ms wait.
    EXPECT_EQ(bench.ticks.reads() - ticksBefore, 108u * 3u);
    ASSERT_EQ(bench.trace.lines().size(), 109u);
    EXPECT_EQ(bench.trace.lines()[0], " start setting registers \n");
    EXPECT_EQ(bench.trace.lines()[1], "press any key1 check uv disable\n");
    EXPECT_EQ(bench.trace.lines()[2], "slaveID2=bd, subADD2=ed,data2=7f\n");
    EXPECT_EQ(bench.port.accesses().back(), (testing::PortAccess{true, 0x37A, 0x20}));
}

TEST(CameraReset, RestoresThePanelAsFirstShownWithTheResetGeometry) {
    PanelBench fresh;
    fresh.start();
    PanelBench bench;
    bench.start();
    clickThrough(bench);
    bench.panel.clearMessages();

    bench.panel.click(1026);

    EXPECT_TRUE(bench.panel.messages().empty()) << "Reset shows nothing";
    EXPECT_EQ(bench.panel.staticText(1081), "16");
    fresh.panel.setStaticText(1081, "16");
    fresh.panel.setEditText(1065, "picture.bmp"); // the Save As name is not the reset's
    expectSameState(bench, fresh);
    EXPECT_EQ(bench.geometry(), (FrameGeometry{324, 242, 242, 327}));
    EXPECT_EQ(bench.shadow().reg(0x12).value, 0x24);
    EXPECT_EQ(bench.shadow().reg(0x13).value, 0x20);
    EXPECT_EQ(bench.shadow().reg(0x14).value, 0x24);
    EXPECT_EQ(bench.shadow().reg(0x28).value, 0x20);
    EXPECT_EQ(bench.shadow().reg(0x0E).value, 0x17);
    EXPECT_EQ(bench.shadow().reg(0x20).value, 0x1D);
}

TEST(CameraReset, TwiceLeavesTheSameStateAndTheNextSetRegisterSendsTheDefaults) {
    PanelBench once;
    once.start();
    clickThrough(once);
    once.panel.click(1026);
    PanelBench twice;
    twice.start();
    clickThrough(twice);
    twice.panel.click(1026);
    twice.panel.click(1026);
    expectSameState(twice, once);
    EXPECT_EQ(twice.decoded().size(), once.decoded().size() + 1);

    const std::size_t before = twice.decoded().size();
    twice.panel.click(1);
    EXPECT_EQ(twice.decoded().size() - before, 48u);
    EXPECT_EQ(twice.decoded()[before].subAddress, 0x05);
    EXPECT_EQ(twice.decoded().back(), (DecodedTransaction{0x42, 0x13, 0x21}));
}

TEST(CameraReset, AlreadyMessagesAnswerRightAfterReset) {
    PanelBench bench;
    bench.start();
    clickThrough(bench);
    bench.panel.click(1026);
    bench.panel.clearMessages();
    for (const int id : {1022, 1024, 1052, 1021, 1079, 1069})
        bench.panel.click(id);
    bench.panel.click(1070);
    const std::vector<RecordedMessage> expected = {
        {"Improper selection", "CIF output already"},
        {"Improper selection", "YUV output already"},
        {"Improper selection", "UV bus is disabled already"},
        {"Improper selection", "Mirror disabled already"},
        {"Improper selection", "Normal Analog gain was selected already"},
        {"Improper selection", "Main Auto Adjust Mode is already enabled"},
        {"Improper selection", "The camera should be initialized first."},
    };
    EXPECT_EQ(bench.panel.messages(), expected);
}

} // namespace
} // namespace orvane
