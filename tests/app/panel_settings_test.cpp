// Set Register on the headless panel against the simulated module: the write list, what the
// module decoded from the wire, the window checks and the flags.
#include "app/panel_settings.h"

#include <gtest/gtest.h>

#include "support/panel_bench.h"

namespace orvane {
namespace {

using testing::PanelBench;

// The first Set Register after start or Reset, with no control touched.
const std::vector<RegisterWrite> defaultRegisterSet = {
    {0x05, 0x00}, {0x06, 0x80}, {0x03, 0xC0}, {0x04, 0x80}, {0x08, 0x80}, {0x09, 0x80},
    {0x0A, 0x80}, {0x0B, 0x80}, {0x15, 0x40}, {0x16, 0x03}, {0x0F, 0x05}, {0x1B, 0x28},
    {0x0E, 0x17}, {0x1E, 0xC4}, {0x1F, 0x04}, {0x20, 0x1D}, {0x21, 0x80}, {0x22, 0x80},
    {0x23, 0x2A}, {0x24, 0x10}, {0x25, 0x8A}, {0x26, 0x90}, {0x27, 0xC2}, {0x29, 0x11},
    {0x2A, 0x84}, {0x2B, 0xAC}, {0x2C, 0xFE}, {0x2D, 0xB7}, {0x2E, 0x80}, {0x2F, 0xB0},
    {0x30, 0x71}, {0x31, 0x60}, {0x32, 0x26}, {0x33, 0xA0}, {0x34, 0x48}, {0x35, 0x9E},
    {0x12, 0x24}, {0x13, 0x21}, {0x14, 0x24}, {0x28, 0x20}, {0x11, 2},    {0x17, 56},
    {0x18, 214},  {0x19, 5},    {0x1A, 212},  {0x10, 0xFF}, {0x00, 0x00}, {0x13, 0x21},
};

std::vector<RegisterWrite> asWrites(const std::vector<DecodedTransaction>& decoded) {
    std::vector<RegisterWrite> writes;
    for (const DecodedTransaction& t : decoded) {
        EXPECT_EQ(t.address, 0x42);
        writes.push_back({t.subAddress, t.value});
    }
    return writes;
}

class SetRegister : public ::testing::Test {
protected:
    void SetUp() override { bench.start(); }
    std::vector<RegisterWrite> apply() {
        return applySettings(bench.dialog.state().device, bench.panel);
    }
    PanelBench bench;
};

TEST_F(SetRegister, FirstRunSendsTheDefaultSetInWriteOrderOnTheWire) {
    bench.panel.click(1);
    EXPECT_EQ(asWrites(bench.decoded()), defaultRegisterSet);
    EXPECT_TRUE(bench.module.bus().violations().empty());
    EXPECT_EQ(bench.port.writtenTo(0x37A).size(), 1 + 48u * 86u);
    EXPECT_EQ(bench.trace.lines().size(), 48u * 238u);
    const std::vector<RecordedMessage> done = {{"I2C Control", "All registers were set!"}};
    EXPECT_EQ(bench.panel.messages(), done);
    for (const ShadowEntry& entry : bench.shadow().entries())
        EXPECT_EQ(entry.pending, 0) << int{entry.subAddress};
    EXPECT_EQ(bench.shadow().mode.userRegisterPending, 0);
    EXPECT_EQ(bench.shadow().mode.autoAdjustApplyPending, 0);
    EXPECT_EQ(bench.shadow().mode.cameraInitialized, 1);
    EXPECT_EQ(bench.shadow().reg(0x13).value, 0x21);
    EXPECT_EQ(bench.panel.busyScopes(), 1) << "a busy cursor while the port is driven";
    EXPECT_FALSE(bench.panel.busy());
}

TEST_F(SetRegister, ReturnsWhatItSent) {
    EXPECT_EQ(apply(), defaultRegisterSet);
    EXPECT_EQ(asWrites(bench.decoded()), defaultRegisterSet);
}

TEST_F(SetRegister, SecondRunWithNothingChangedSendsAndShowsNothing) {
    apply();
    bench.panel.clearMessages();
    const std::size_t writes = bench.port.accesses().size();
    bench.geometry() = FrameGeometry{1, 2, 3, 4};
    EXPECT_TRUE(apply().empty());
    EXPECT_EQ(bench.port.accesses().size(), writes);
    EXPECT_TRUE(bench.panel.messages().empty());
    EXPECT_EQ(bench.shadow().writeListCount, 0);
    EXPECT_EQ(bench.geometry(), (FrameGeometry{312, 208, 208, 626})) << "still recomputed";
}

struct WindowCase {
    const char* name;
    const char *hStart, *hEnd, *vStart, *vEnd;
    std::vector<int> messages; // which of the four checks spoke
    RegisterWrite sent[4];     // registers 0x17 to 0x1A as sent
    FrameGeometry geometry;    // YUV, from the corrected window
};

const char* const windowMessages[] = {
    "Horizonal Window Start programmable range is 56--214\n\nHorizontal Window Setting will BE "
    "CHANGED! ",
    "Vertical Window Start programmable range is 5--245\n\nVertical Window Setting will BE "
    "CHANGED!",
    "Horizonal Window Start should be smaller than Horizontal Window End\n\nHorizontal Window "
    "Setting will RESET",
    "Vertical Window Start should be smaller than Vertical Window End\n\nVertical Window Setting "
    "will NOT set",
};

TEST_F(SetRegister, WindowChecksCorrectTheFieldsAndSendTheCorrections) {
    const WindowCase cases[] = {
        {"InRange",
         "60",
         "200",
         "10",
         "100",
         {},
         {{0x17, 60}, {0x18, 200}, {0x19, 10}, {0x1A, 100}},
         {276, 91, 91, 554}},
        {"StartTooSmall",
         "40",
         "100",
         "5",
         "212",
         {0},
         {{0x17, 56}, {0x18, 100}, {0x19, 5}, {0x1A, 212}},
         {84, 208, 208, 170}},
        {"EndTooLarge",
         "56",
         "300",
         "5",
         "212",
         {0},
         {{0x17, 56}, {0x18, 214}, {0x19, 5}, {0x1A, 212}},
         {312, 208, 208, 626}},
        {"StartAfterEnd",
         "100",
         "80",
         "5",
         "212",
         {2},
         {{0x17, 56}, {0x18, 138}, {0x19, 5}, {0x1A, 212}},
         {160, 208, 208, 322}},
        {"RangeThenOrder",
         "20",
         "30",
         "5",
         "212",
         {0, 2},
         {{0x17, 56}, {0x18, 138}, {0x19, 5}, {0x1A, 212}},
         {160, 208, 208, 322}},
        {"VerticalEqual",
         "56",
         "214",
         "5",
         "5",
         {3},
         {{0x17, 56}, {0x18, 214}, {0x19, 5}, {0x1A, 125}},
         {312, 121, 121, 626}},
        {"VerticalRange",
         "56",
         "214",
         "",
         "250",
         {1},
         {{0x17, 56}, {0x18, 214}, {0x19, 5}, {0x1A, 245}},
         {312, 241, 241, 626}},
        {"EmptyStart",
         "",
         "214",
         "5",
         "212",
         {0},
         {{0x17, 56}, {0x18, 214}, {0x19, 5}, {0x1A, 212}},
         {312, 208, 208, 626}},
        {"NegativeEndCountsAsLarge",
         "56",
         "-1",
         "5",
         "212",
         {0},
         {{0x17, 56}, {0x18, 214}, {0x19, 5}, {0x1A, 212}},
         {312, 208, 208, 626}},
    };
    for (const WindowCase& c : cases) {
        SCOPED_TRACE(c.name);
        PanelBench run;
        run.start();
        run.panel.setEditText(1042, c.hStart);
        run.panel.setEditText(1044, c.hEnd);
        run.panel.setEditText(1043, c.vStart);
        run.panel.setEditText(1045, c.vEnd);
        const std::vector<RegisterWrite> sent = applySettings(run.dialog.state().device, run.panel);

        std::vector<RecordedMessage> expected;
        for (const int check : c.messages)
            expected.push_back({"Improper range", windowMessages[check]});
        expected.push_back({"I2C Control", "All registers were set!"});
        EXPECT_EQ(run.panel.messages(), expected);
        const std::vector<RegisterWrite> window(sent.begin() + 41, sent.begin() + 45);
        EXPECT_EQ(window, std::vector<RegisterWrite>(std::begin(c.sent), std::end(c.sent)));
        EXPECT_EQ(asWrites(run.decoded()), sent);
        EXPECT_EQ(run.geometry(), c.geometry);
    }
}

TEST_F(SetRegister, CorrectedRegisterJoinsTheRunItWasCorrectedIn) {
    apply();
    bench.panel.clearMessages();
    // Written by the program without raising the horizontal end's flag first.
    bench.panel.setEditText(1042, "40");
    bench.shadow().reg(0x17).pending = 0;
    EXPECT_EQ(apply(), (std::vector<RegisterWrite>{{0x17, 56}}));
}

TEST_F(SetRegister, FreeRegisterIsTakenModulo256) {
    apply();
    bench.panel.typeText(1031, "300");
    bench.panel.typeText(1037, "-1");
    EXPECT_EQ(apply(), (std::vector<RegisterWrite>{{0x2C, 0xFF}}));
    EXPECT_EQ(bench.module.sensor()[0x2C], 0xFF);
}

TEST_F(SetRegister, FreeRegisterEqualToAFlaggedOneIsSentAfterIt) {
    apply();
    bench.panel.moveSlider(1032, 0x33); // contrast, register 0x05 (and red bias on first scroll)
    bench.panel.typeText(1031, "5");
    bench.panel.typeText(1037, "17");
    EXPECT_EQ(apply(), (std::vector<RegisterWrite>{{0x05, 0x33}, {0x0D, 0x00}, {0x05, 17}}));
    EXPECT_EQ(bench.module.sensor()[0x05], 17);
}

TEST_F(SetRegister, SliderRegistersTakeThePositionAtSendTime) {
    apply();
    bench.panel.moveSlider(1058, 10);
    bench.panel.setSliderPosition(1058, 99); // moved again, no event yet
    EXPECT_EQ(apply(), (std::vector<RegisterWrite>{{0x03, 99}, {0x0D, 0x00}}));
    EXPECT_EQ(bench.shadow().reg(0x03).value, 99);
}

TEST_F(SetRegister, PrescalerIsReadDirectlyWithoutTheExchangeBounds) {
    apply();
    bench.panel.typeText(1028, "300");
    EXPECT_EQ(apply(), (std::vector<RegisterWrite>{{0x11, 300 & 0xFF}}));
}

TEST_F(SetRegister, RgbGeometryOfTheWidestWindow) {
    bench.panel.click(1025);
    bench.panel.setEditText(1042, "56");
    bench.panel.setEditText(1044, "214");
    bench.panel.setEditText(1043, "5");
    bench.panel.setEditText(1045, "245");
    apply();
    EXPECT_EQ(bench.geometry(), (FrameGeometry{624, 482, 482, 627}));
}

} // namespace
} // namespace orvane
