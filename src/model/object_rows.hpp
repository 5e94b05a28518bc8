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

}  // namespace kavrix
