#pragma once
// How the property panels keep device settings in object rows, decoded in one place for the
// engine, the run and the panels: the single-cable "Legacy outputs" code, the channel rows of
// the 16-channel and four-input converters, and the modulator settings rows. Readers check the
// rows they touch and report a missing row instead of reading past the table.
#include <array>
#include <cstdint>

#include "model/network_model.hpp"

namespace kavrix::panel {

// ---- single-cable units: a decimal code whose leading digit carries no output flag

constexpr int32_t kTerrTvPassiveFlag = 100000000;
// "Terr TV passive" of a Glim3: the leading digit is 2 (code 200000000 or more).
inline bool IsTerrTvPassive(int32_t inst) { return inst >= 2 * kTerrTvPassiveFlag; }
// Character at position pos (from 1) of the decimal text of inst; 0 beyond the text.
char DecimalDigitAt(int32_t inst, int pos);
// Mode digit of output group g >= 1 ('0', '1', or 0 when the code has no such position).
inline char OutputModeDigit(int32_t inst, int group) { return group > 0 ? DecimalDigitAt(inst, group + 1) : 0; }
// Default code of the kind's panel (all boxes clear); 0 for kinds without the panel.
int32_t LegacyOutputsDefault(int kind);
// Whether the box at digit position pos (2.. the code's length) is checked.
inline bool LegacyOutputChecked(int32_t inst, int pos) { return DecimalDigitAt(inst, pos) == '1'; }
// Code for the kind from the checked digit positions (bit p set = position p checked).
int32_t EncodeLegacyOutputs(int kind, uint32_t checkedPositions, bool terrTvPassive);

// ---- 16-channel converter (kind 60): rows o+1..o+16 are channels, row o+17 the oscillators

constexpr int kConverterChannels = 16;
constexpr int kConverterLines = 6;  // "V,Lo", "H,Lo", "V,Hi", "H,Hi", "Aux In1", "Aux In2"

struct ConverterChannel {
  bool enabled = false;      // Kind -1 ("Enable"); any other negative value is disabled
  int32_t levelItem = 0;     // half-dB steps below 93 dBuV
  int32_t inputLine = -1;    // 0..5
  int32_t inputMHz = 0;      // transponder frequency before the oscillator is subtracted
  int32_t outputTenths = 0;  // centre of the output channel, 0.1 MHz
  double level() const { return 93.0 - levelItem / 2.0; }
};

struct ConverterOscillators {
  int32_t lo = 0, hi = 0, aux = 0;  // MHz
  // Oscillator of input line 0..5: Lo for 0/1, Hi for 2/3, Aux for 4/5; 0 for another line.
  int32_t forLine(int line) const;
};

// Channel 1..16 of the converter at objRow; false when the row is missing.
bool ReadConverterChannel(int objRow, int channel, ConverterChannel& out);
bool ReadConverterOscillators(int objRow, ConverterOscillators& out);
// Rank of an enabled channel among the enabled channels (its four plan entries start at
// 4 x rank); -1 when the channel is disabled or missing.
int ConverterChannelRank(int objRow, int channel);

// ---- four-input converter (kind 61)

struct FourChannelConverter {
  int32_t attenuation = 0;        // Inst, dB below 90 dBuV
  int32_t outBandwidthTenths = 0; // Style
  int32_t inBandwidthMHz = 0;     // minus field 1.0
  std::array<int32_t, 4> inCentreTenths{};
  int32_t outCentreTenths = 0;
  double outputLevel() const { return 90.0 - attenuation; }
};
bool ReadFourChannelConverter(int objRow, FourChannelConverter& out);

// ---- modulators

// The channel width list of the DVB modulator ("8.3", "8", "7", "6" MHz); 0 outside it.
double ModulatorChannelWidth(int item);

struct DvbModulatorSettings {  // kind 96
  int32_t attenuator = 0;       // Inst, dB
  bool channel1 = false, channel2 = false;
  int32_t outputTenths = 0;     // first output frequency, 0.1 MHz
  int32_t widthItem = 0;        // item of the width list
};
bool ReadDvbModulator(int objRow, DvbModulatorSettings& out);

struct HdmiModulatorSettings {  // kind 97
  int32_t levelOffset = 0;      // Inst, -30..0 dB
  int32_t standard = 0;         // 0..4
  int32_t channel = 0;          // index into the standard's channel list
};
bool ReadHdmiModulator(int objRow, HdmiModulatorSettings& out);

// Lower channel edge f and the two points f + a, f + b of the HDMI modulator's raster;
// false for a standard outside 0..4.
bool HdmiChannelRaster(int standard, int channel, double& f, double& a, double& b);

}  // namespace kavrix::panel
