// Control IDs of the control panel that the handlers name.
#pragma once

namespace orvane::ControlId {

constexpr int setRegisterButton = 1;
constexpr int exitButton = 2;
constexpr int mirrorEnable = 1020;
constexpr int mirrorDisable = 1021;
constexpr int cif = 1022;
constexpr int qcif = 1023;
constexpr int yuv = 1024;
constexpr int rgb = 1025;
constexpr int resetButton = 1026;
constexpr int hiddenEdit = 1027;
constexpr int clockPrescaler = 1028;
constexpr int userRegisterNumber = 1031;
constexpr int userRegisterValue = 1037;
constexpr int uploadButton = 1039;
constexpr int windowHStart = 1042;
constexpr int windowVStart = 1043;
constexpr int windowHEnd = 1044;
constexpr int windowVEnd = 1045;
constexpr int eightBits = 1052;
constexpr int sixteenBits = 1053;
constexpr int contrastSlider = 1032;
constexpr int brightnessSlider = 1034;
constexpr int saturationSlider = 1058;
constexpr int blueBiasSlider = 1067;
constexpr int redBiasSlider = 1071;
constexpr int sharpnessSlider = 1075;
constexpr int contrastLabel = 1060;
constexpr int brightnessLabel = 1061;
constexpr int saturationLabel = 1062;
constexpr int blueBiasLabel = 1068;
constexpr int redBiasLabel = 1072;
constexpr int sharpnessLabel = 1076;
constexpr int saveAsName = 1065;
constexpr int saveAsButton = 1066;
constexpr int autoEnable = 1069;
constexpr int autoDisable = 1070;
constexpr int redIncrease = 1073;
constexpr int redDecrease = 1074;
constexpr int gain2x = 1078;
constexpr int gainNormal = 1079;
constexpr int hiddenLabel = 1081;

} // namespace orvane::ControlId
