#pragma once
// Constants of the cable and optical blocks: line losses, transmitter drive, receiver output
// rule and the losses of the optical splitters and attenuators.
#include <array>

namespace kavrix::engine::optics {

// sqrt(f / 1000) at the seven CableGrid7 points, to three decimals: the coaxial loss factors of
// a line whose spectrum is the 28-point band grid (four bands of seven points).
inline constexpr std::array<double, 7> kCableGridRootF = {0.975, 1.0, 1.049, 1.14, 1.225, 1.342, 1.466};

inline constexpr int kWavelength1550 = -1550;
inline constexpr int kWavelength1310 = -1310;
inline constexpr double kFibreConnectionLoss = 0.2;  // dB per fibre line

inline constexpr double kTxThreshold = 50.0;    // dBuV; carriers at or below are not sent
inline constexpr double kTxMuted = -1000.0;     // output of a carrier below the threshold
inline constexpr double kTxOpticalOut = 6.0;    // dBm
inline constexpr double kFullDriveSat = 75.0;   // dB of total RF input, satellite paths
inline constexpr double kFullDriveTerr = 69.0;  // dB, terrestrial path

inline constexpr double kRxReference1 = 80.0;  // dBuV at the mean input level, one-output receivers
inline constexpr double kRxReference4 = 75.0;  // four-output receiver
inline constexpr double kRxMeanFloor = -10.0;  // carriers at or below do not count in the mean
inline constexpr double kRxWindowLow = -20.0;  // dBm; the optical input must lie strictly inside
inline constexpr double kRxWindowHigh = 0.0;
inline constexpr double kRxLowKnee = -15.0;
inline constexpr double kRxHighKnee = -5.0;
inline constexpr double kRxKneeSlope = 2.0;  // dB per dB beyond a knee
inline constexpr double kSatPerCarrierBase = 14.0;

// Terrestrial level setting of a transmitter (0, -1, -2, -3) as a receiver output term.
constexpr double TerrSettingTerm(int setting) {
  switch (setting) {
    case 0: return 9.0;
    case -1: return 8.0;
    case -2: return 6.0;
    case -3: return 3.0;
    default: return 0.0;
  }
}

// Optical loss (dB) of the splitters and attenuators, categories 154..159.
constexpr double SplitterLoss(int category, int path) {
  switch (category) {
    case 154: return 4.0;   // "2-way Optical splitter"
    case 155: return 5.5;   // "3-way Optical splitter"
    case 156: return 7.0;   // "4-way Optical splitter"
    case 157: return 10.2;  // "8-way Optical splitter"
    case 158: return path == 5 ? 5.4 : 5.0;  // "Optical Attenuator 5dB"
    case 159: return 10.0;  // "Optical Attenuator 10dB"
    default: return 0.0;
  }
}

}  // namespace kavrix::engine::optics
