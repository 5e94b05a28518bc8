#include "model/panel_encodings.hpp"

namespace kavrix::panel {
namespace {

// A continuation row of the object at objRow, or nullptr when the table ends before it.
const ObjRow* RowOf(int objRow, int offset) {
  if (!ValidObjRow(objRow) || offset < 0) return nullptr;
  const int r = objRow + offset;
  return ValidObjRow(r) ? &NetObjects[static_cast<std::size_t>(r)] : nullptr;
}

}  // namespace

char DecimalDigitAt(int32_t inst, int pos) {
  // Decimal text without allocating: digits are written backwards into a small buffer.
  char buf[12];
  int n = 0;
  int64_t v = inst < 0 ? -static_cast<int64_t>(inst) : inst;
  do {
    buf[n++] = static_cast<char>('0' + v % 10);
    v /= 10;
  } while (v > 0);
  if (inst < 0) buf[n++] = '-';
  if (pos < 1 || pos > n) return 0;
  return buf[n - pos];
}

int32_t LegacyOutputsDefault(int kind) {
  switch (kind) {
    case 181:
    case 185:
      return 100;
    case 183:
      return 100000000;
    case 184:
    case 186:
      return 10000;
    default:
      return 0;
  }
}

int32_t EncodeLegacyOutputs(int kind, uint32_t checkedPositions, bool terrTvPassive) {
  const int32_t base = LegacyOutputsDefault(kind);
  if (base == 0) return 0;
  int digits = 0;
  for (int32_t v = base; v > 0; v /= 10) ++digits;
  int32_t code = base;
  int32_t weight = 1;
  for (int pos = digits; pos >= 2; --pos, weight *= 10)
    if (checkedPositions & (1u << pos)) code += weight;
  if (kind == 183 && terrTvPassive) code += kTerrTvPassiveFlag;
  return code;
}

int32_t StreamerPowerCode(int item) {
  static constexpr int32_t kCodes[6] = {9, 8, 3, 1, 4, 2};
  return item >= 0 && item < 6 ? kCodes[item] : 0;
}

int StreamerPowerItem(int32_t code) {
  switch (code) {
    case 9:
    case 0:
      return 0;
    case 8: return 1;
    case 3: return 2;
    case 1: return 3;
    case 4: return 4;
    case 2: return 5;
    default: return -1;
  }
}

bool StreamerPowerMismatch(int32_t inputMHz, int32_t powerCode) {
  const bool tone = powerCode == 2 || powerCode == 4;
  const bool noTone = powerCode == 1 || powerCode == 3;
  return inputMHz < kHighBandMHz ? tone : noTone;
}

bool StreamerSourceId(int32_t source, int32_t polarisation, int32_t inputMHz, int32_t& id) {
  const int32_t satellite = source / 10;
  const int32_t power = source % 10;
  if (power < 5) {
    id = source;
    return true;
  }
  if (power < 8) return false;
  id = 2 * polarisation + 1 + (inputMHz >= kHighBandMHz ? 1 : 0);
  if (satellite < 5) id += 10 * satellite;
  return true;
}

int32_t WriteStreamerRow(const StreamerChoice& c, ObjRow& settings) {
  const int32_t power = StreamerPowerCode(c.powerItem);
  settings[kStreamerSource] = EncodeStreamerSource(c.satelliteItem, power);
  settings[kStreamerPolarisation] = c.polarisation;
  settings[kStreamerLoLow] = c.loLow;
  settings[kStreamerLoHigh] = c.loHigh;
  return power;
}

int32_t ConverterOscillators::forLine(int line) const {
  switch (line) {
    case 0:
    case 1:
      return lo;
    case 2:
    case 3:
      return hi;
    case 4:
    case 5:
      return aux;
    default:
      return 0;
  }
}

ConverterChannel ConverterChannelOf(const ObjRow& r) {
  ConverterChannel c;
  c.enabled = r[kChannelSwitch] == kChannelOn;
  c.levelItem = r[kChannelTrim];
  c.inputLine = r[kChannelInput];
  c.inputMHz = r[kChannelInputMHz];
  c.outputTenths = r[kChannelOutputTenths];
  return c;
}

void WriteConverterChannel(const ConverterChannel& c, ObjRow& r) {
  r[kChannelSwitch] = c.enabled ? kChannelOn : kChannelOff;
  r[kChannelTrim] = c.levelItem;
  r[kChannelInput] = c.inputLine;
  r[kChannelInputMHz] = c.inputMHz;
  r[kChannelOutputTenths] = c.outputTenths;
}

void WriteConverterOscillators(const ConverterOscillators& o, ObjRow& r) {
  r[kOscillatorLo] = o.lo;
  r[kOscillatorHi] = o.hi;
  r[kOscillatorAux] = o.aux;
}

bool ReadConverterChannel(int objRow, int channel, ConverterChannel& out) {
  if (channel < 1 || channel > kConverterChannels) return false;
  const ObjRow* r = RowOf(objRow, channel);
  if (!r) return false;
  out = ConverterChannelOf(*r);
  return true;
}

bool ReadConverterOscillators(int objRow, ConverterOscillators& out) {
  const ObjRow* r = RowOf(objRow, kConverterOscillatorRow);
  if (!r) return false;
  out.lo = (*r)[kOscillatorLo];
  out.hi = (*r)[kOscillatorHi];
  out.aux = (*r)[kOscillatorAux];
  return true;
}

int ConverterFailure(const std::array<ConverterChannel, kConverterChannels>& channels,
                     const ConverterOscillators& oscillators) {
  constexpr int kAuxChannels = 8;  // channels 1..8 take no Aux input
  constexpr int kFirstAuxLine = 4;
  int failure = 0;
  for (int i = 1; i <= kConverterChannels; ++i) {
    const ConverterChannel& c = channels[static_cast<std::size_t>(i - 1)];
    if (c.enabled && (c.outputTenths < 5 || c.outputTenths > 8560)) failure = i;
    if (i <= kAuxChannels && c.inputLine >= kFirstAuxLine) failure = i + 20;
    const int64_t intermediate = static_cast<int64_t>(c.inputMHz) - oscillators.forLine(c.inputLine);
    if (intermediate < kConverterIfMinMHz || intermediate > kConverterIfMaxMHz) failure = i + 40;
  }
  return failure;
}

std::string ConverterFailureMessage(int failure) {
  if (failure >= 1 && failure <= 19) return "For channel " + std::to_string(failure) + " output frequency is incorrect";
  if (failure >= 21 && failure <= 39) return "For channel " + std::to_string(failure - 20) + "  SAT input is incorrect";
  if (failure > 40)
    return "For channel " + std::to_string(failure - 40) + " SAT input or LNB LO frequency is incorrect";
  return {};
}

int ConverterChannelRank(int objRow, int channel) {
  if (channel < 1 || channel > kConverterChannels) return -1;
  int rank = 0;
  for (int j = 1; j <= channel; ++j) {
    const ObjRow* r = RowOf(objRow, j);
    if (!r) return -1;
    const bool enabled = (*r)[kChannelSwitch] == kChannelOn;
    if (j == channel) return enabled ? rank : -1;
    if (enabled) ++rank;
  }
  return -1;
}

bool ReadFourChannelConverter(int objRow, FourChannelConverter& out) {
  const ObjRow* head = RowOf(objRow, 0);
  const ObjRow* r = RowOf(objRow, 1);
  if (!head || !r) return false;
  out.attenuation = (*head)[kInst];
  out.outBandwidthTenths = (*head)[kStyle];
  out.inBandwidthMHz = -(*r)[kFourInBandwidth];
  for (int c = 0; c < 4; ++c) out.inCentreTenths[static_cast<std::size_t>(c)] = (*r)[kFourInCentre1 + c];
  out.outCentreTenths = (*r)[kFourOutCentre];
  return true;
}

void WriteFourChannelConverter(const FourChannelConverter& c, ObjRow& head, ObjRow& settings) {
  head[kInst] = c.attenuation;
  head[kStyle] = c.outBandwidthTenths;
  settings[kFourInBandwidth] = -c.inBandwidthMHz;
  for (int k = 0; k < 4; ++k) settings[kFourInCentre1 + k] = c.inCentreTenths[static_cast<std::size_t>(k)];
  settings[kFourOutCentre] = c.outCentreTenths;
}

bool FourChannelConverterAccepted(const FourChannelConverter& c) {
  bool inputs = true;
  for (int32_t centre : c.inCentreTenths) inputs = inputs && centre >= 47;
  return c.outBandwidthTenths != 0 && c.outCentreTenths >= 230 && inputs;
}

double ModulatorChannelWidth(int item) {
  static constexpr double kWidths[] = {8.3, 8.0, 7.0, 6.0};
  return item >= 0 && item < 4 ? kWidths[item] : 0.0;
}

bool ReadDvbModulator(int objRow, DvbModulatorSettings& out) {
  const ObjRow* head = RowOf(objRow, 0);
  const ObjRow* r = RowOf(objRow, 1);
  if (!head || !r) return false;
  out.attenuator = (*head)[kInst];
  out.channel1 = (*r)[kDvbChannel1] == kChannelOn;
  out.channel2 = (*r)[kDvbChannel2] == kChannelOn;
  out.outputTenths = (*r)[kDvbOutputTenths];
  out.widthItem = (*r)[kDvbWidthItem];
  return true;
}

bool ReadHdmiModulator(int objRow, HdmiModulatorSettings& out) {
  const ObjRow* head = RowOf(objRow, 0);
  const ObjRow* r = RowOf(objRow, 1);
  if (!head || !r) return false;
  out.levelOffset = (*head)[kInst];
  out.standard = (*r)[kHdmiStandard];
  out.channel = (*r)[kHdmiChannel];
  return true;
}

bool HdmiChannelRaster(int standard, int channel, double& f, double& a, double& b) {
  const int c = channel;
  switch (standard) {
    case 0:
    case 1:
    case 2:
      f = c < 8 ? 174 + 7 * c : 470 + 8 * (c - 8);
      a = c < 8 ? 7 : 8;
      b = c < 8 ? 8 : 9;
      return true;
    case 3:
      f = c < 8 ? 174 + 7 * c : 470 + 7 * (c - 8);
      a = 7;
      b = 8;
      return true;
    case 4:
      f = c < 7 ? 174 + 8 * c : 470 + 8 * (c - 7);
      a = 8;
      b = 9;
      return true;
    default:
      return false;
  }
}

}  // namespace kavrix::panel
