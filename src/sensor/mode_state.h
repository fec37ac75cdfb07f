// ModeState: which choice of each option is in force, with the codes the options take, and the
// flags of the steps that have no register row of their own.
#pragma once

#include <cstdint>

#include "geometry/frame_geometry.h"

namespace orvane {

// Image-format codes of imageFormat.
constexpr uint8_t imageFormatCif = 0x20;
constexpr uint8_t imageFormatQcif = 0x00;
constexpr uint8_t imageFormatNeither = 0x01;
// Output-width codes of uvBusMode.
constexpr uint8_t uvBusEightBits = 0x08;
constexpr uint8_t uvBusSixteenBits = 0x10;
// Gain codes of analogGain2x.
constexpr uint8_t analogGainDouble = 0x80;
constexpr uint8_t analogGainNormal = 0x00;
// Values of redBackgroundOffset.
constexpr uint8_t redBackgroundIncreased = 0x20;
constexpr uint8_t redBackgroundDecreased = 0x00;

// Which radio choice of each option is in force, plus the flags of the free register and the
// auto-adjust step, which have no register row of their own.
struct ModeState {
    uint8_t mirrorState = 0;
    uint8_t dataFormat = dataFormatYuv;
    uint8_t imageFormat = imageFormatCif;
    uint8_t uvBusMode = uvBusEightBits;
    uint8_t autoAdjustState = 1;
    uint8_t analogGain2x = analogGainNormal;
    uint8_t redBackgroundOffset = redBackgroundIncreased;
    uint8_t cameraInitialized = 0;
    uint8_t userRegisterPending = 0;
    uint8_t autoAdjustApplyPending = 1;

    friend bool operator==(const ModeState&, const ModeState&) = default;
};

} // namespace orvane
