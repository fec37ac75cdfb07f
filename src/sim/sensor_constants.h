// Every number of the simulated sensor that is ours to assume rather than documented, each in one
// named constant, so that a measurement of a real module corrects it in one place. Documented
// facts (register layouts, the gain formula, the 10-bit converters, the output code range) live
// beside the code that uses them.
#pragma once

#include <array>
#include <cstdint>

namespace orvane {

// --- Time ---
// Assumed: one access of an ISA-style parallel port takes about a microsecond.
constexpr uint64_t nominalAccessNanoseconds = 1000;
// Assumed: the module's main clock and a frame of 858 pixel clocks by 525 lines (CCIR 601 timing,
// 30 frames a second undivided).
constexpr uint64_t mainClockHz = 27'000'000;
constexpr uint64_t pixelClocksPerLine = 858;
constexpr uint64_t linesPerFrame = 525;

// --- Light ---
// Assumed: the scene's illumination when the device string names none, in lux.
constexpr double defaultLux = 100.0;
// Assumed: photons a photosite receives per second from a white scene point lit by one lux. With
// the quantum efficiency below it fills 92% of the well at the default light, exposure 0xFF and
// clock prescaler 2 (the panel's defaults): the test card is well exposed as the module starts.
constexpr double photonsPerLuxSecond = 14'700.0;
// Assumed: the quantum efficiency of the red, green and blue photosites. Equal, so that a grey
// scene under the default light is grey at unit white balance.
constexpr std::array<double, 3> quantumEfficiency{0.45, 0.45, 0.45};

// --- Electrons and noise (the EMVA 1288 linear model) ---
// Assumed: 70,000 electrons fill the well (a signal-to-noise ratio of 48.5 dB at full scale).
constexpr double fullWellElectrons = 70'000.0;
// Assumed: the read noise, 15 electrons (a dynamic range of 73 dB).
constexpr double readNoiseElectrons = 15.0;
// Assumed: dark current at room temperature, electrons a second.
constexpr double darkCurrentElectronsPerSecond = 200.0;
// Assumed: dark-signal non-uniformity (electrons) and photo-response non-uniformity (a fraction of
// the signal), fixed per module: both keep the fixed-pattern noise under 0.03% of full scale.
constexpr double dsnuElectrons = 10.0;
constexpr double prnuFraction = 0.0002;
// The seed of a module's noise when the device string names none.
constexpr uint64_t defaultNoiseSeed = 1;

// --- Conversion ---
// The converters are 10-bit. Assumed: the black level they add, and the conversion gain at unit
// analog gain, which puts a full well at the top code.
constexpr int adcMaxCode = 1023;
constexpr int blackLevelCode = 32;
constexpr double conversionGain = (adcMaxCode - blackLevelCode) / fullWellElectrons; // DN / e-

// --- Register scales ---
// Assumed: a balance register of 0x80 is a gain of 1; the aperture correction is neutral at 0x80,
// blurs toward 0 and sharpens toward 0xFF; one bias step adds one output code to its channel.
constexpr uint8_t unitBalance = 0x80;
constexpr uint8_t neutralSharpness = 0x80;
constexpr double biasCodesPerStep = 1.0;
// Assumed: bit 2 of register 0x14 turns the gamma curve on (it is set at power-on); with it clear
// the output is the converter's code, black level included, scaled to the output range.
constexpr uint8_t gammaEnableBit = 0x04;

// --- Automatic loops ---
// Assumed: the mean luma (0..255, before brightness and contrast) the exposure loops hold, and
// the band around it in which they rest.
constexpr double lumaTarget = 98.0;
constexpr double lumaRestBand = 0.03;
// Assumed: the fraction of the remaining error (in log light) each loop corrects per sensor frame.
constexpr double exposureLoopStep = 0.25;
constexpr double balanceLoopStep = 0.25;
// Assumed: once blue and red are within this fraction of green, white balance updates only every
// balanceSettledInterval frames.
constexpr double balanceSettledBand = 0.02;
constexpr uint64_t balanceSettledInterval = 16;
// Assumed: the loops measure every loopSampleSpacing-th pixel of every loopSampleSpacing-th line.
constexpr uint32_t loopSampleSpacing = 8;

} // namespace orvane
