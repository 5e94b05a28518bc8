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

// Route style of a trunk line from the cable arrangement (1 or 2) at its start and at its end.
constexpr int RouteStyle(int atStart, int atEnd) { return 10 * atStart + atEnd; }
constexpr int RouteAtStart(int style) { return style / 10; }
constexpr int RouteAtEnd(int style) { return style % 10; }

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
  // End of the line that starts at (x, y).
  int32_t endX(int32_t x) const { return x + h1 + h2; }
  int32_t endY(int32_t y) const { return y + v1 + v2; }
  // The leg the line starts with: vertical for an odd Orient, horizontal for an even one.
  int32_t first(int orient) const { return orient % 2 != 0 ? v1 : h1; }

  // Writes the legs into the continuation row; its kind and route style stay.
  void storeIn(ObjRow& continuation) const {
    continuation[kLegV1] = v1;
    continuation[kLegH1] = h1;
    continuation[kLegV2] = v2;
    continuation[kLegH2] = h2;
  }
  friend bool operator==(const LineLegs&, const LineLegs&) = default;
};

// Trunk lines draw their cables beside the route, at these offsets across it: the 5-cable line
// (kind 201) six strokes, its terrestrial cable twice (black with a white core), the 4-cable line
// (kind 202) four.
constexpr int kTrunk5CableOffsets[6] = {-40, -20, 0, 20, 40, 40};
constexpr int kTrunk4CableOffsets[4] = {-30, -10, 10, 30};
// Half the widest pen drawn along a trunk cable: its crossover mark, 8 pixels wide (the cables
// themselves are 4 wide, their end dots 3 in radius).
constexpr int kTrunkPenReach = 4;

// How far the drawing of a line reaches beyond its route: a trunk line's outer cables and their
// pen; 0 for the other lines, which are drawn on their route.
constexpr int LineReach(int kind) {
  auto outer = [](const auto& offsets) {
    int m = 0;
    for (int o : offsets) m = o < 0 ? (-o > m ? -o : m) : (o > m ? o : m);
    return m;
  };
  if (kind == 201) return outer(kTrunk5CableOffsets) + kTrunkPenReach;
  if (kind == 202) return outer(kTrunk4CableOffsets) + kTrunkPenReach;
  return 0;
}
static_assert(LineReach(201) == 44 && LineReach(202) == 34 && LineReach(203) == 0);

// ---- settings rows of the device families
//
// Rows behind a device's head row, counted from it (row 1 is the first settings row). Field 0 is
// the row's negative kind marker; on the rows below that switch a channel it also carries the
// switch. Inst and Style of the head row keep their names (ObjField).

constexpr int32_t kChannelOn = -1;   // "Enable" checked (and the plain marker of a settings row)
constexpr int32_t kChannelOff = -2;

// Satellite IP streamer (kind 58), row 1. Inst is the input frequency in MHz.
enum StreamerRowField : int {
  kStreamerSource = 1,        // satellite x 10 + LNB power code; satellite 0..3 = SAT A..D, 9 none
  kStreamerPolarisation = 2,  // 0 horizontal, 1 vertical
  kStreamerLoLow = 3,         // LNB local oscillators, MHz: low band,
  kStreamerLoHigh = 4,        // and high band (input frequencies from 11700 MHz)
};

// 16-channel converter (kind 60): rows 1..16 are its channels, row 17 its oscillators. Inst is
// the attenuator in half-dB steps.
enum ConverterChannelField : int {
  kChannelSwitch = 0,        // kChannelOn / kChannelOff
  kChannelTrim = 1,          // level trim item: half-dB steps below 93 dBuV
  kChannelInput = 2,         // input line 0..5: "V,Lo", "H,Lo", "V,Hi", "H,Hi", "Aux In1", "Aux In2"
  kChannelInputMHz = 3,      // transponder frequency before the oscillator is subtracted
  kChannelOutputTenths = 4,  // centre of the output channel, 0.1 MHz
};
constexpr int kConverterOscillatorRow = 17;
enum ConverterOscillatorField : int {
  kOscillatorLo = 1,   // "Lo:" MHz, for "V,Lo" and "H,Lo"
  kOscillatorHi = 2,   // "Hi:", for "V,Hi" and "H,Hi"
  kOscillatorAux = 3,  // "Aux:", for both Aux inputs
};

// Four-input converter (kind 61), row 1. Inst is the attenuation (dB below 90 dBuV), Style the
// output bandwidth in 0.1 MHz.
enum FourInputRowField : int {
  kFourInBandwidth = 0,  // minus the input bandwidth in MHz (-8 or -7)
  kFourInCentre1 = 1,    // centres of the four input channels, 0.1 MHz, fields 1..4
  kFourOutCentre = 5,    // centre of the first output channel, 0.1 MHz
};

// Channel amplifiers (kinds 81..84): row 1 holds channels F1 and F2, row 2 of kind 84 F3 and F4,
// both laid out alike. Inst is the mode item (kind 84: not used by the panel).
enum ChannelAmpRowField : int {
  kAmpChannelA = 1,      // channel number of the row's first channel (kind 83 "AU" modes: item)
  kAmpChannelB = 2,      // of its second channel
  kAmpAttenuationA = 3,  // attenuation 0..10 dB of the first channel,
  kAmpAttenuationB = 4,  // of the second
};
// A row's second channel reads the fields after its first's.
static_assert(kAmpChannelB == kAmpChannelA + 1 && kAmpAttenuationB == kAmpAttenuationA + 1);

// DVB modulator (kind 96), row 1. Inst is the attenuator item 0..30.
enum DvbModulatorRowField : int {
  kDvbChannel1 = 0,      // first output channel: kChannelOn / kChannelOff
  kDvbChannel2 = 1,      // second output channel, likewise
  kDvbOutputTenths = 2,  // first output frequency, 0.1 MHz
  kDvbWidthItem = 3,     // channel width item: "8.3", "8", "7", "6" MHz
};

// HDMI modulator (kind 97), row 1. Inst is the level offset -30..0 dB.
enum HdmiModulatorRowField : int {
  kHdmiStandard = 1,  // TV standard item
  kHdmiChannel = 2,   // channel item in that standard's list
};

// The families below have their settings read by the value labels, the knob table and the
// control rows. Attenuations and gain steps count in steps of the device, not in dB.

// Cascade multiswitches Dovr1..Dovr6 (kinds 31, 33, .., 41), row 1: output attenuations, 0 down
// to -20. Fesk1..Fesk6 (the even kinds) keep their only one, the terrestrial line's, in Inst.
enum CascadeSwitchRowField : int {
  kCascadeSatAttenuation = 1,   // of all four satellite lines
  kCascadeTerrAttenuation = 2,  // of the terrestrial line
};

// House amplifier Vorb1 (kind 43), row 1: gain step and slope of its two bands, 0 upwards; the
// pad is in from 11 (VHF step), 8 (UHF step), 8 (VHF slope) and 6 (UHF slope) on.
enum TwoBandAmpRowField : int {
  kTwoBandVhfStep = 1,   // 75..237 MHz gain step, 0..20
  kTwoBandVhfSlope = 2,  // its slope, 0..14
  kTwoBandUhfStep = 3,   // 470..862 MHz gain step, 0..14
  kTwoBandUhfSlope = 4,  // its slope, 0..10
};

// House amplifier Wexl1 (kind 44), row 1: the gain steps of its band groups, 0 down to -20
// (below -10 with the pad).
enum FourBandAmpRowField : int {
  kFourBandStep1 = 1,  // fields 1..4: groups 0..3, that is UHF, UHF, band III and FM
};

// House amplifier Slev1 (kind 45) and broadband amplifiers Slev2, Slev3 (kinds 89, 90), row 1.
enum HouseAmpRowField : int {
  kHouseAmpStep = 1,   // gain step: kind 45 0 down to -20, kinds 89, 90 0 up to 20 (pad from 10)
  kHouseAmpSlope = 2,  // slope setting, 0..20
};

// Launch amplifiers Nerb1..Nerb5, Nerb8 (kinds 50..54, 57), row 1; row 2 of kinds 53, 54 holds
// satellite lines 6..9 in the fields of lines 1..4. Gain steps 0 down to -20; Inst is the
// terrestrial line's.
enum LaunchAmpRowField : int {
  kLaunchTerrSlope = 0,  // terrestrial slope, negated in the row's kind marker (-1 = slope 1)
  kLaunchLine1 = 1,      // fields 1..4: gain steps of satellite lines 1..4
};

// Cascade multiswitches Dovr7..Dovr11 (kinds 67, 69, .., 75), row 1: output attenuations of the
// satellite lines in pairs, 0 down to -20; Inst is the terrestrial line's.
enum Cascade9PairRowField : int {
  kCascade9Lines89 = 1,  // satellite lines 8 and 9
  kCascade9Lines67 = 2,  // lines 6 and 7
  kCascade9Lines34 = 3,  // lines 3 and 4
  kCascade9Lines12 = 4,  // lines 1 and 2
};

// Cascade multiswitches Fesk7..Fesk11 (kinds 68, 70, .., 76), row 1: the same line by line for
// satellite lines 1..4 (lines 6..9 have none); Inst is the terrestrial line's.
enum Cascade9LineRowField : int {
  kCascade9Line1 = 1,  // fields 1..4: output attenuations of satellite lines 1..4
};

// Multiswitches Kelv17, Fesk12, Fesk13 (kinds 77..79), row 1: output attenuations of the output
// groups' satellite lines, 0 down to -20; row 2 of kind 79 holds groups 4..7 in the same fields.
// Inst is the terrestrial line's.
enum Switch17RowField : int {
  kSwitch17Group0 = 1,  // output group 0 (row 2: group 4)
  kSwitch17Group1 = 2,  // group 1 (5)
  kSwitch17Group2 = 3,  // group 2 (6)
  kSwitch17Group3 = 4,  // group 3 (7)
};

// Three-band amplifiers Qent1, Qent2 (kinds 87, 88), row 1: one gain step per band, 0 down to
// -15 (kind 87's UHF), -12 (its others) or -25 (kind 88, below -10 with the pad).
enum ThreeBandAmpRowField : int {
  kThreeBandUhfStep = 1,  // UHF
  kThreeBandVhfStep = 2,  // VHF band III
  kThreeBandFmStep = 3,   // FM
};

// Line amplifiers Nerb9..Nerb14 (kinds 101..106): one field per line. Kinds 101..104 keep the
// gain attenuators, 0..15 (coarse steps x 4 + fine steps), in row 1 and the slope settings,
// 0..3, in row 2; kinds 105, 106 keep the gain attenuators in rows 1 (lines 1..5) and 2 (lines
// 6..9, in the fields of lines 1..4) and the slopes likewise in rows 3 and 4.
enum LineAmpRowField : int {
  kLineAmpLine1 = 1,  // satellite line 1 (6)
  kLineAmpLine2 = 2,  // line 2 (7)
  kLineAmpLine3 = 3,  // line 3 (8)
  kLineAmpLine4 = 4,  // line 4 (9)
  kLineAmpTerr = 5,   // terrestrial line
};

// Line amplifier Morv1 (kind 108), row 1: gain attenuators 0..15 (coarse steps x 4 + fine
// steps) and slopes of its two paths.
enum TwoPathAmpRowField : int {
  kTwoPathSatGain = 1,    // satellite path's gain attenuator
  kTwoPathSatSlope = 2,   // its slope, 0..3
  kTwoPathTerrGain = 3,   // terrestrial path's gain attenuator
  kTwoPathTerrSlope = 4,  // its slope, 0..15 (coarse steps x 4 + fine steps)
};

// Five-input multiswitches Gavn1..Gavn5 (kinds 131, 133, .., 139), row 1: output attenuation
// of each satellite line in direct steps 0..3 (about 4 dB each); Inst is the terrestrial
// line's, 0..15 (coarse steps x 4 + fine steps).
enum FiveInSwitchRowField : int {
  kFiveInLine1 = 1,  // satellite line 1
  kFiveInLine2 = 2,  // line 2
  kFiveInLine3 = 3,  // line 3
  kFiveInLine4 = 4,  // line 4
};

// Nine-input multiswitches Hulm6..Hulm10, Gavn6..Gavn10 (kinds 170..179): as the five-input
// ones, with satellite lines 1..4 in row 1 and lines 6..9 in row 2.
enum NineInSwitchRowField : int {
  kNineInLine1 = 1,  // satellite line 1 (row 2: line 6)
  kNineInLine2 = 2,  // line 2 (7)
  kNineInLine3 = 3,  // line 3 (8)
  kNineInLine4 = 4,  // line 4 (9)
};

}  // namespace kavrix
