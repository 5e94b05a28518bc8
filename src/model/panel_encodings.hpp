#pragma once
// How the property panels keep device settings in object rows, decoded in one place for the
// engine, the run and the panels: the single-cable "Legacy outputs" code, the streamer's source
// field, the channel rows of the 16-channel and four-input converters, and the modulator
// settings rows; with the checks the panels run on what they stored. Readers check the rows
// they touch and report a missing row instead of reading past the table.
#include <array>
#include <cmath>
#include <cstdint>
#include <string>

#include "model/network_model.hpp"
#include "model/object_rows.hpp"

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

// ---- IP streamer (kind 58): satellite and LNB power in one field (kStreamerSource)

// Input frequencies from here on are in the LNB's high band.
constexpr int32_t kHighBandMHz = 11700;
inline constexpr const char* kPowerMismatchMessage = "Input frequency and LNB power does not match";

// Power code of item 0..5 of the "LNB Power" list ("Off", "Auto", "13V", "18V", "13V/22kHz",
// "18V/22kHz"): 9, 8, 3, 1, 4, 2; 0 when no item is chosen.
int32_t StreamerPowerCode(int item);
// The item that shows a stored code (code 0 shows "Off"); -1 for a code without an item.
int StreamerPowerItem(int32_t code);
inline int32_t StreamerPowerOf(int32_t source) { return source < 0 ? -(source % 10) : source % 10; }
// Item of the "Satellite" list ("None", "SAT A".."SAT D") that shows the field.
inline int StreamerSatelliteItem(int32_t source) { return source / 10 < 5 ? source / 10 + 1 : 0; }
// The field for a satellite item (0 "None": satellite 9) and a power code.
inline int32_t EncodeStreamerSource(int satelliteItem, int32_t powerCode) {
  return satelliteItem >= 1 ? (satelliteItem - 1) * 10 + powerCode : 90 + powerCode;
}
// The 22 kHz tone selects the LNB's high band: a tone below 11700 MHz, or none from there on,
// does not match the input frequency.
bool StreamerPowerMismatch(int32_t inputMHz, int32_t powerCode);
// The streamer's input frequency in the IF band: less the oscillator of its band.
inline int64_t StreamerIfMHz(int32_t inputMHz, const ObjRow& settings) {
  return static_cast<int64_t>(inputMHz) -
         (inputMHz < kHighBandMHz ? settings[kStreamerLoLow] : settings[kStreamerLoHigh]);
}
// The satellite source id that the settings select, as the run gives it to the streamer's node:
// a power digit below 5 names the id itself, "Auto" and "Off" (8, 9) follow polarisation, band
// and satellite. False when the settings select none (digits 5..7).
bool StreamerSourceId(int32_t source, int32_t polarisation, int32_t inputMHz, int32_t& id);

// What the streamer panel stores in row 1, its lists' items already resolved.
struct StreamerChoice {
  int satelliteItem = 0;
  int powerItem = -1;
  int32_t polarisation = 0;
  int32_t loLow = 0, loHigh = 0;
};
// Writes the choice into the settings row; returns the power code stored.
int32_t WriteStreamerRow(const StreamerChoice& c, ObjRow& settings);

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
ConverterChannel ConverterChannelOf(const ObjRow& channelRow);
void WriteConverterChannel(const ConverterChannel& c, ObjRow& channelRow);
void WriteConverterOscillators(const ConverterOscillators& o, ObjRow& oscillatorRow);

// Checks of the panel's Update over the stored channels (index 0 = channel 1): an enabled
// channel's output outside 0.5..856 MHz, an Aux input on channels 1..8, an IF (input less its
// line's oscillator) outside 950..2150 MHz, enabled or not. Only the last failure found is
// reported: 0 when all pass, else channel i as i (output), i + 20 (Aux) or i + 40 (IF).
constexpr int32_t kConverterIfMinMHz = 950;
constexpr int32_t kConverterIfMaxMHz = 2150;
int ConverterFailure(const std::array<ConverterChannel, kConverterChannels>& channels,
                     const ConverterOscillators& oscillators);
// The message of a failure code; empty for 0.
std::string ConverterFailureMessage(int failure);
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
void WriteFourChannelConverter(const FourChannelConverter& c, ObjRow& head, ObjRow& settings);
// An output bandwidth, an output centre from 23 MHz and every input centre from 4.7 MHz.
bool FourChannelConverterAccepted(const FourChannelConverter& c);
inline constexpr const char* kFourInputMessage = "Entered parameters are incorrect";

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
// The output frequency the panel takes: whole MHz 96..862 (a typed 862.9 passes, 863 not).
inline bool DvbOutputAccepted(double mhz) {
  const double whole = std::trunc(mhz);
  return whole > 95.9 && whole < 862.1;
}
inline constexpr const char* kDvbOutputMessage = "Entered output frequency is incorrect";

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
