#pragma once
// Names for the fields of the object table's rows beyond a head row's own six (ObjField): the
// continuation row of a cable line with its bends, and the settings rows of the device families.
// Code that reads or writes these rows uses the names; the numbers appear only here.
#include <cstdint>

#include "model/network_model.hpp"

namespace kavrix {

// ---- cable lines (kinds 201..209): the continuation row behind the line's head row

// Leg lengths in canvas pixels, in drawing order from the line's start: an odd Orient starts
// with the vertical leg (kLegV1), an even one with the horizontal leg (kLegH1).
enum LineRowField : int {
  kLegV1 = 1,         // first vertical leg
  kLegH1 = 2,         // first horizontal leg
  kLegV2 = 3,         // second vertical leg
  kLegH2 = 4,         // second horizontal leg
  kLineRoute = 5,     // trunk lines: route style 11, 12, 21, 22 (tens digit: cable arrangement
                      // at the start, units digit: at the end)
};
constexpr int kLineColour = kLineRoute;  // single and fibre cables: the cable colour code

// The legs of a line as its continuation row keeps them.
struct LineLegs {
  int32_t v1 = 0, h1 = 0, v2 = 0, h2 = 0;

  static LineLegs Of(const ObjRow& continuation) {
    return {continuation[kLegV1], continuation[kLegH1], continuation[kLegV2], continuation[kLegH2]};
  }
  // Offset of the line's end from its start.
  int32_t dx() const { return h1 + h2; }
  int32_t dy() const { return v1 + v2; }
  // A line whose every leg is 0 ends where it starts.
  bool empty() const { return v1 == 0 && h1 == 0 && v2 == 0 && h2 == 0; }
};

// ---- settings rows of the device families

// Channel amplifiers (kinds 81..84): two selected channels per settings row, the row after the
// head row and, for kind 84, the one after it. A channel is its index into the channel table
// (before the mode's offset); the reduction lowers its output level in dB.
enum ChannelAmpRowField : int {
  kChannelAmpChannel1 = 1,
  kChannelAmpChannel2 = 2,
  kChannelAmpReduction1 = 3,
  kChannelAmpReduction2 = 4,
};
static_assert(kChannelAmpChannel2 == kChannelAmpChannel1 + 1 && kChannelAmpReduction2 == kChannelAmpReduction1 + 1);

}  // namespace kavrix
