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

bool ReadConverterChannel(int objRow, int channel, ConverterChannel& out) {
  if (channel < 1 || channel > kConverterChannels) return false;
  const ObjRow* r = RowOf(objRow, channel);
  if (!r) return false;
  out.enabled = (*r)[0] == -1;
  out.levelItem = (*r)[1];
  out.inputLine = (*r)[2];
  out.inputMHz = (*r)[3];
  out.outputTenths = (*r)[4];
  return true;
}

bool ReadConverterOscillators(int objRow, ConverterOscillators& out) {
  const ObjRow* r = RowOf(objRow, kConverterChannels + 1);
  if (!r) return false;
  out.lo = (*r)[1];
  out.hi = (*r)[2];
  out.aux = (*r)[3];
  return true;
}

int ConverterChannelRank(int objRow, int channel) {
  if (channel < 1 || channel > kConverterChannels) return -1;
  int rank = 0;
  for (int j = 1; j <= channel; ++j) {
    const ObjRow* r = RowOf(objRow, j);
    if (!r) return -1;
    const bool enabled = (*r)[0] == -1;
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
  out.inBandwidthMHz = -(*r)[0];
  for (int c = 0; c < 4; ++c) out.inCentreTenths[static_cast<std::size_t>(c)] = (*r)[1 + c];
  out.outCentreTenths = (*r)[5];
  return true;
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
  out.channel1 = (*r)[0] == -1;
  out.channel2 = (*r)[1] == -1;
  out.outputTenths = (*r)[2];
  out.widthItem = (*r)[3];
  return true;
}

bool ReadHdmiModulator(int objRow, HdmiModulatorSettings& out) {
  const ObjRow* head = RowOf(objRow, 0);
  const ObjRow* r = RowOf(objRow, 1);
  if (!head || !r) return false;
  out.levelOffset = (*head)[kInst];
  out.standard = (*r)[1];
  out.channel = (*r)[2];
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
