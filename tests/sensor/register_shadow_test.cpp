// RegisterShadow start state, lookup and the register arithmetic of the masks.
#include "sensor/register_shadow.h"

#include <gtest/gtest.h>

#include "sensor/register_masks.h"
#include "sensor/window_preset.h"

namespace orvane {
namespace {

struct ExpectedEntry {
    uint8_t subAddress;
    uint8_t defaultValue;
    uint8_t pending;
};

// Rows 1 to 49 of the write order with their defaults and their flags at start.
constexpr ExpectedEntry startState[] = {
    {0x05, 0x00, 1}, {0x06, 0x80, 1}, {0x03, 0xC0, 1}, {0x0C, 0x00, 0}, {0x0D, 0x00, 0},
    {0x07, 0x80, 0}, {0x04, 0x80, 1}, {0x08, 0x80, 1}, {0x09, 0x80, 1}, {0x0A, 0x80, 1},
    {0x0B, 0x80, 1}, {0x15, 0x40, 1}, {0x16, 0x03, 1}, {0x0F, 0x05, 1}, {0x1B, 0x28, 1},
    {0x0E, 0x17, 1}, {0x1E, 0xC4, 1}, {0x1F, 0x04, 1}, {0x20, 0x1D, 1}, {0x21, 0x80, 1},
    {0x22, 0x80, 1}, {0x23, 0x2A, 1}, {0x24, 0x10, 1}, {0x25, 0x8A, 1}, {0x26, 0x90, 1},
    {0x27, 0xC2, 1}, {0x29, 0x11, 1}, {0x2A, 0x84, 1}, {0x2B, 0xAC, 1}, {0x2C, 0xFE, 1},
    {0x2D, 0xB7, 1}, {0x2E, 0x80, 1}, {0x2F, 0xB0, 1}, {0x30, 0x71, 1}, {0x31, 0x60, 1},
    {0x32, 0x26, 1}, {0x33, 0xA0, 1}, {0x34, 0x48, 1}, {0x35, 0x9E, 1}, {0x12, 0x24, 1},
    {0x13, 0x20, 1}, {0x14, 0x24, 1}, {0x28, 0x20, 1}, {0x11, 2, 1},    {0x17, 56, 0},
    {0x18, 214, 0},  {0x19, 5, 0},    {0x1A, 212, 0},  {0x10, 0xFF, 1},
};

TEST(RegisterShadow, StartStateMatchesTheWriteOrderTable) {
    const RegisterShadow shadow;
    ASSERT_EQ(shadow.entries().size(), std::size(startState));
    for (std::size_t i = 0; i < shadow.entries().size(); ++i) {
        SCOPED_TRACE(i + 1);
        const ShadowEntry& entry = shadow.entries()[i];
        EXPECT_EQ(entry.subAddress, startState[i].subAddress);
        EXPECT_EQ(entry.defaultValue, startState[i].defaultValue);
        EXPECT_EQ(entry.value, startState[i].defaultValue);
        EXPECT_EQ(entry.pending, startState[i].pending);
        EXPECT_EQ(&shadow.reg(entry.subAddress), &entry) << "lookup by sub-address";
    }
}

TEST(RegisterShadow, StartModeState) {
    const RegisterShadow shadow;
    EXPECT_EQ(shadow.mode.mirrorState, 0);
    EXPECT_EQ(shadow.mode.dataFormat, 0x00);
    EXPECT_EQ(shadow.mode.imageFormat, 0x20);
    EXPECT_EQ(shadow.mode.uvBusMode, 0x08);
    EXPECT_EQ(shadow.mode.autoAdjustState, 1);
    EXPECT_EQ(shadow.mode.analogGain2x, 0x00);
    EXPECT_EQ(shadow.mode.redBackgroundOffset, 0x20);
    EXPECT_EQ(shadow.mode.cameraInitialized, 0);
    EXPECT_EQ(shadow.mode.userRegisterPending, 0);
    EXPECT_EQ(shadow.mode.autoAdjustApplyPending, 1);
    EXPECT_EQ(shadow.writeListCount, 0);
}

TEST(RegisterShadow, RestoreStartValuesUndoesEveryChange) {
    RegisterShadow shadow;
    for (ShadowEntry& entry : shadow.entries()) {
        entry.value = static_cast<uint8_t>(entry.value + 7);
        entry.pending = static_cast<uint8_t>(1 - entry.pending);
    }
    shadow.mode = ModeState{1,
                            dataFormatRgb,
                            imageFormatNeither,
                            uvBusSixteenBits,
                            0,
                            analogGainDouble,
                            redBackgroundDecreased,
                            1,
                            1,
                            0};
    shadow.writeListCount = 9;

    shadow.restoreStartValues();

    const RegisterShadow fresh;
    for (std::size_t i = 0; i < fresh.entries().size(); ++i) {
        EXPECT_EQ(shadow.entries()[i].value, fresh.entries()[i].value);
        EXPECT_EQ(shadow.entries()[i].pending, fresh.entries()[i].pending);
    }
    EXPECT_EQ(shadow.mode, fresh.mode);
    EXPECT_EQ(shadow.writeListCount, 0);
}

TEST(RegisterShadow, DefaultsAgreeWithTheDefaultModeState) {
    const RegisterShadow shadow;
    EXPECT_EQ(shadow.reg(0x12).value & mirrorBit, 0);
    EXPECT_EQ(shadow.reg(0x12).value & rgbBit, 0);
    EXPECT_EQ(shadow.reg(0x13).value & eightBitBit, eightBitBit);
    EXPECT_EQ(shadow.reg(0x13).value & autoAdjustBit, 0) << "added by the first Set Register";
    EXPECT_EQ(shadow.reg(0x14).value & cifBit, cifBit);
    EXPECT_EQ(shadow.reg(0x28).value & reg28RgbBit, 0);
    EXPECT_EQ(shadow.reg(0x0E).value & analogGainBit, 0);
}

TEST(RegisterShadow, MaskArithmeticWrapsModulo256) {
    EXPECT_EQ(addMask(addMask(0x24, mirrorBit), rgbBit), 0x6C);
    EXPECT_EQ(subtractMask(0x6C, mirrorBit), 0x2C);
    EXPECT_EQ(addMask(0x17, analogGainBit), 0x97);
    EXPECT_EQ(addMask(addMask(0x17, analogGainBit), analogGainBit), 0x17);
    EXPECT_EQ(subtractMask(0x00, autoAdjustBit), 0xFF);
}

TEST(RegisterShadow, WindowDefaultsAreTheYuvCifPreset) {
    const RegisterShadow shadow;
    EXPECT_EQ(shadow.reg(0x17).defaultValue, yuvCifPreset.hStart);
    EXPECT_EQ(shadow.reg(0x18).defaultValue, yuvCifPreset.hEnd);
    EXPECT_EQ(shadow.reg(0x19).defaultValue, yuvCifPreset.vStart);
    EXPECT_EQ(shadow.reg(0x1A).defaultValue, yuvCifPreset.vEnd);
}

TEST(RegisterShadow, AnUnmanagedRegisterHasNoEntryToChange) {
    RegisterShadow shadow;
    const auto before = shadow.entries();
    shadow.reg(0x00).pending = 1;
    shadow.reg(0xFF).value = 9;
    EXPECT_EQ(shadow.reg(0x00).pending, 0);
    for (std::size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(shadow.entries()[i].value, before[i].value);
}

} // namespace
} // namespace orvane
