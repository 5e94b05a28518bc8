#pragma once
// Characteristic tables of the link units (58, 59), the channel converters (60, 61) and the
// modulators' loop-through (96, 97), generated from each device's response anchors.
#include <array>

namespace kavrix::engine::tables {

// Link units over the combined terrestrial and satellite grid (31 points).
extern const std::array<double, 31> kLinkUnitSat;   // kind 58, passes the satellite band
extern const std::array<double, 31> kLinkUnitTerr;  // kind 59, passes the terrestrial band
// Table of link unit kind 58 or 59; nullptr for another kind.
const std::array<double, 31>* LinkUnitTable(int kind);

// 16-channel converter loop-through on the terrestrial row.
extern const std::array<double, 16> kConverter16Through;
// Four-input converter loop-through, [point][group 0..1].
extern const std::array<std::array<double, 2>, 16> kConverter4Through;
// Modulator loop-through (both modulator kinds).
extern const std::array<double, 16> kModulatorThrough;

}  // namespace kavrix::engine::tables
