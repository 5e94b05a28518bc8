#include "symbols/value_labels.hpp"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <unordered_map>
#include <utility>

#include "catalogue/label_lists.hpp"
#include "catalogue/placement_defaults.hpp"
#include "catalogue/tv_channels.hpp"
#include "model/network_model.hpp"
#include "model/number_text.hpp"
#include "model/object_rows.hpp"
#include "model/panel_encodings.hpp"
#include "model/project_options.hpp"
#include "model/run_records.hpp"
#include "symbols/canvas_surface.hpp"
#include "symbols/glyph_store.hpp"
#include "symbols/object_glyphs.hpp"
#include "symbols/type_glyphs.hpp"

namespace kavrix {

namespace {

using namespace label_code;
using label_mode::kBlack;
using label_mode::kBlue;
using label_mode::kDownBlue;
using label_mode::kGreen;
using label_mode::kUpBlack;

constexpr int kLabelWidth = 34;
constexpr int kLabelHeight = 15;
constexpr int kLabelFontHeight = 13;

// Field f of the k-th row of the object at `row` (k = 0 is the object row); 0 outside the table.
// Only the object's own rows are read: the row behind a short set of settings rows (from a file)
// is another object's or the free row, so a missing settings row reads as a fresh object's.
int Field(int row, int k, int f) {
  if (!ValidObjRow(row)) return 0;
  if (k == 0) return NetObjects[row][f];
  if (k <= ContinuationRows(row)) return NetObjects[row + k][f];
  return DefaultContinuationCell(NetObjects[row][kKind], k, f);
}

int KindOf(int row) { return Field(row, 0, kKind); }

// The modulator's labels read the lists of its own stored standard; an index outside a list
// names nothing.
std::string TvStandardName(int standard) {
  if (standard < 0 || standard >= kTvStandardCount) return {};
  return std::string(TvStandardNames[standard]);
}

std::string TvChannelItem(int standard, int item) {
  const std::vector<std::string>& items = TvChannelItems(standard);
  if (item < 0 || item >= static_cast<int>(items.size())) return {};
  return items[item];
}

int T4(int v) { return v / 4 * 4; }  // C++ division truncates towards zero
int M4(int v) { return v % 4; }      // and the remainder takes the dividend's sign

std::optional<QPoint> DesignatorPoint(int kind) {
  auto in = [kind](int a, int b) { return kind >= a && kind <= b; };
  auto odd = [kind](int a, int b) { return kind >= a && kind <= b && (kind - a) % 2 == 0; };
  // Kinds whose symbols have a fixed designator spot of their own.
  if (in(1, 4)) return QPoint(60, 45);
  if (in(5, 8) || in(11, 14)) return QPoint(60, 55);
  if (in(16, 19) || in(116, 119)) return QPoint(60, 115);
  if (kind == 20 || kind == 120) return QPoint(270, 110);
  if (in(21, 24) || in(121, 124)) return QPoint(40, 60);
  if (kind == 25 || kind == 125) return QPoint(140, 65);
  if (in(26, 28)) return QPoint(18, 38);
  if (kind == 126 || kind == 127) return QPoint(28, 28);
  if (kind == 128) return QPoint(31, 28);
  if (kind == 129) return QPoint(26, 38);
  if (kind == 107 || kind == 109) return QPoint(33, 28);
  if (kind == 29) return QPoint(33, 38);
  if (kind == 55) return QPoint(18, 38);
  if (kind == 56) return QPoint(60, 45);
  if (kind == 65 || kind == 66) return QPoint(100, 55);
  // Kinds with a label block.
  if (kind == 31) return QPoint(55, 57);
  if (odd(33, 41)) return QPoint(65, 70);
  if (kind == 32) return QPoint(60, 77);
  if (odd(34, 42)) return QPoint(60, 90);
  if (kind == 43 || kind == 44) return QPoint(120, 20);
  if (kind == 45) return QPoint(80, 70);
  if (kind == 50 || kind == 51 || kind == 53 || kind == 57) return QPoint(60, 38);
  if (kind == 52 || kind == 54) return QPoint(40, 38);
  if (in(58, 61)) return QPoint(10, 80);
  if (kind == 67) return QPoint(95, 95);
  if (odd(69, 75)) return QPoint(95, 100);
  if (kind == 68) return QPoint(95, 113);
  if (odd(70, 76)) return QPoint(95, 120);
  if (kind == 77) return QPoint(200, 60);
  if (kind == 78 || kind == 79) return QPoint(200, 80);
  if (kind == 80) return QPoint(33, 28);
  if (in(81, 84)) return QPoint(20, 113);
  if (kind == 86 || kind == 87 || kind == 96 || kind == 97) return QPoint(85, 15);
  if (kind == 88) return QPoint(15, 105);
  if (kind == 89 || kind == 90) return QPoint(80, 85);
  if (in(101, 106)) return QPoint(40, 90);
  if (kind == 108) return QPoint(45, 84);
  if (odd(131, 139)) return QPoint(55, 75);
  if (odd(132, 140)) return QPoint(60, 90);
  if (kind == 141 || kind == 144) return QPoint(50, 85);
  if (in(142, 146)) return QPoint(50, 65);
  if (kind == 151 || kind == 152) return QPoint(60, 100);
  if (in(154, 157)) return QPoint(30, 30);
  if (kind == 158 || kind == 159) return QPoint(30, 26);
  if (odd(171, 179)) return QPoint(95, 80);
  if (odd(170, 178)) return QPoint(95, 100);
  if (kind == 181 || kind == 182) return QPoint(70, 50);
  if (kind == 183) return QPoint(80, 80);
  if (kind == 184 || kind == 185) return QPoint(70, 60);
  if (kind == 186) return QPoint(20, 50);
  return std::nullopt;
}

class Planner {
 public:
  explicit Planner(int row) : m_row(row) {}

  std::vector<ValueLabel> labels;

  int S(int k, int f) const { return Field(m_row, k, f); }
  int inst() const { return S(0, kInst); }

  void add(int x, int y, double value, int mode = kBlack) { labels.push_back({x, y, value, mode, false}); }
  void addSlope(int x, int y, int index) {
    const std::optional<int> v = SlopeStepAt(index);
    labels.push_back({x, y, static_cast<double>(v.value_or(0)), kBlack, !v});
  }

  void plan(int kind);

 private:
  void switchedAttenuators43();
  void switchColumns44();
  void switchColumns88();
  void switches89();
  void linkUnit58();
  void channelAmp(int kind);
  void lineAmp(int kind);
  void singleCableStates(int kind);

  int m_row;
};

void Planner::switchedAttenuators43() {
  static constexpr int kY[4] = {46, 61, 76, 91};
  static constexpr int kField[4] = {kTwoBandVhfSlope, kTwoBandVhfStep, kTwoBandUhfStep, kTwoBandUhfSlope};
  static constexpr int kThreshold[4] = {8, 11, 8, 6};
  static constexpr int kStep[4] = {7, 10, 7, 5};
  for (int i = 0; i < 4; ++i) {
    const int v = S(1, kField[i]);
    const int mode = i == 0 ? kGreen : kBlue;
    const bool switched = v >= kThreshold[i];
    add(107, kY[i], switched ? v - kStep[i] : v, mode);
    add(84, kY[i], switched ? kSwitchDown : kSwitchUp);
    add(74, kY[i], switched ? kStep[i] : 0, kBlue);
  }
}

void Planner::switchColumns44() {
  static constexpr int kX[4] = {48, 68, 88, 108};
  for (int i = 0; i < 4; ++i) {
    const int v = S(1, kFourBandStep1 + i);
    const int mode = i == 0 ? kGreen : kBlue;
    const bool switched = v < -10;
    add(kX[i], 43, switched ? -v - 10 : -v, mode);
    add(kX[i], 68, switched ? kSwitchDown : kSwitchUp);
    add(kX[i], 81, switched ? 10 : 0, kBlue);
  }
}

void Planner::switchColumns88() {
  static constexpr int kX[3] = {11, 25, 39};
  static constexpr int kField[3] = {kThreeBandFmStep, kThreeBandVhfStep, kThreeBandUhfStep};
  for (int i = 0; i < 3; ++i) {
    const int v = S(1, kField[i]);
    const int x = kX[i];
    // Only the straight position writes its numbers upward; the switched one uses plain labels.
    const bool straight = v >= -10;
    const int mode = straight ? kUpBlack : kBlack;
    add(x, 80, straight ? v : v + 10, mode);
    add(x + 1, 54, straight ? kSwitchUp : kSwitchDown);
    add(x, 40, straight ? 10 : 0, mode);
  }
}

void Planner::switches89() {
  const int a = S(1, kHouseAmpStep);
  if (a >= 10) {
    add(20, 46, a - 10, kBlue);
    add(18, 86, kSwitchDown);
    add(8, 86, 10, kBlue);
  } else {
    // Below the step the setting and its zero are plain black labels.
    add(20, 46, a);
    add(18, 86, kSwitchUp);
    add(9, 86, 0);
  }
  const int b = S(1, kHouseAmpSlope);
  if (b >= 10) {
    add(40, 46, b - 10, kBlue);
    add(38, 86, kSwitchDown);
    add(49, 86, 10, kBlue);
  } else {
    add(40, 46, b);
    add(38, 86, kSwitchUp);
    add(50, 86, 0);
  }
}

void Planner::linkUnit58() {
  const int in = inst();
  add(15, 45, in >= panel::kHighBandMHz ? in - S(1, kStreamerLoHigh) : in - S(1, kStreamerLoLow), kBlue);
  const int sat = S(1, kStreamerSource);
  if (sat < 1) {
    add(15, 60, kNone, kBlue);
  } else if (sat / 10 <= 3) {
    add(15, 60, kSatA + sat / 10, kBlue);
  }
  // The band the run feeds the unit, from the source id that node building reads.
  int32_t id = 0;
  if (panel::StreamerSourceId(sat, S(1, kStreamerPolarisation), in, id))
    if (const int code = SatBandLabelCode(id)) add(16, 72, code, kBlue);
}

void Planner::channelAmp(int kind) {
  const int in = inst();
  if (in < 2) {
    add(12, 39, S(1, kAmpChannelA));
    add(12, 51, S(1, kAmpChannelB));
  } else {
    add(12, 39, kVhfFirst);
    add(12, 51, kVhfSecond);
  }
  if (kind == 81) {
    add(12, 80, in + kAdOn);
  } else if (kind == 82) {
    add(12, 73, 10002);
    add(12, 84, in + kAdOn);
  } else if (kind == 83) {
    if (in < 2) {
      add(12, 73, 10003);
      add(11, 84, in + kAdOn);
    } else {
      add(12, 73, 10002);
      if (in == 2) add(11, 84, kAdOn);
      if (in == 3) add(11, 84, kAdOn + 1);
    }
  }
  add(30, 39, S(1, kAmpAttenuationA), kBlue);
  add(30, 51, S(1, kAmpAttenuationB), kBlue);
  if (kind == 84) {
    add(12, 63, S(2, kAmpChannelA));
    add(12, 75, S(2, kAmpChannelB));
    add(30, 63, S(2, kAmpAttenuationA), kBlue);
    add(30, 75, S(2, kAmpAttenuationB), kBlue);
  }
}

// Line amplifiers 101..106: gain (T4), fine gain (M4) and slope per input, five or nine columns.
void Planner::lineAmp(int kind) {
  // Satellite lines in their lead order from left to right.
  static constexpr int kFieldOrder[4] = {kLineAmpLine3, kLineAmpLine1, kLineAmpLine4, kLineAmpLine2};
  if (kind <= 104) {
    for (int i = 0; i < 4; ++i) {
      const int x = 37 + 20 * i;
      add(x, 20, T4(S(1, kFieldOrder[i])));
      add(x, 41, M4(S(1, kFieldOrder[i])));
      addSlope(x, 62, S(2, kFieldOrder[i]));
    }
    add(117, 20, T4(S(1, kLineAmpTerr)));
    add(117, 41, M4(S(1, kLineAmpTerr)));
    add(117, 62, S(2, kLineAmpTerr) * 6);
    return;
  }
  for (int i = 0; i < 4; ++i) {
    const int x = 37 + 20 * i;
    add(x, 20, T4(S(1, kFieldOrder[i])));
    add(x, 41, M4(S(1, kFieldOrder[i])));
    addSlope(x, 62, S(3, kFieldOrder[i]));
  }
  add(197, 20, T4(S(1, kLineAmpTerr)));
  add(197, 41, M4(S(1, kLineAmpTerr)));
  add(197, 62, S(3, kLineAmpTerr) * 6);
  for (int i = 0; i < 4; ++i) {
    const int x = 117 + 20 * i;
    add(x, 20, T4(S(2, kFieldOrder[i])));
    add(x, 41, M4(S(2, kFieldOrder[i])));
    addSlope(x, 62, S(4, kFieldOrder[i]));
  }
}

// One state digit per output of the single-cable equipment: "1" loop on, "0" an empty box.
void Planner::singleCableStates(int kind) {
  const std::string d = std::to_string(inst());
  auto digit = [&d](int pos) { return pos <= static_cast<int>(d.size()) ? d[pos - 1] : '\0'; };
  auto state = [&](int pos, int x, int y) {
    const char ch = digit(pos);
    if (ch == '1') add(x, y, kLoopOn);
    if (ch == '0') add(x, y, kLoopOff);
  };
  if (kind == 183) {
    if (digit(1) == '1') add(102, 36, kActive);
    if (digit(1) == '2') add(102, 36, kPassive);
    // Digit g + 1 switches output group g, whose output the port template puts on the left for
    // groups 1..4 and on the right for 5..8, top to bottom; each state stands beside its output.
    for (int g = 1; g <= 8; ++g) state(g + 1, g <= 4 ? 22 : 142, 36 + 20 * ((g - 1) % 4));
  } else if (kind == 184) {
    for (int i = 0; i < 4; ++i) state(i + 2, 25, 16 + 20 * i);
  } else if (kind == 185) {
    for (int i = 0; i < 2; ++i) state(i + 2, 25, 16 + 20 * i);
  } else {
    for (int i = 0; i < 4; ++i) state(i + 2, 30 + 20 * i, 73);
  }
}

void Planner::plan(int kind) {
  auto odd = [kind](int a, int b) { return kind >= a && kind <= b && (kind - a) % 2 == 0; };
  const int in = inst();
  if (odd(31, 41)) {
    add(95, 33, in);
    add(55, 33, S(1, kCascadeSatAttenuation));
    add(35, 33, S(1, kCascadeTerrAttenuation));
  } else if (odd(32, 42)) {
    add(95, 53, in);
  } else if (kind == 43) {
    switchedAttenuators43();
  } else if (kind == 44) {
    switchColumns44();
  } else if (kind == 45) {
    add(18, 48, S(1, kHouseAmpStep), kBlue);
    add(18, 88, S(1, kHouseAmpSlope), kBlue);
  } else if (kind == 50 || kind == 51 || kind == 57 || kind == 53 || kind == 52 || kind == 54) {
    // Launch amplifiers: the wide ones (50, 51, 53, 57) sit 20 pixels further right than 52 and 54.
    const int dx = (kind == 52 || kind == 54) ? 0 : 20;
    add(106 + dx, 68, in);
    add(106 + dx, 38, S(1, kLaunchTerrSlope) + 1);
    for (int i = 0; i < 4; ++i) add(26 + dx + 20 * i, 68, S(1, kLaunchLine1 + i));
    if (kind == 53 || kind == 54)
      for (int i = 0; i < 4; ++i) add(126 + dx + 20 * i, 68, S(2, kLaunchLine1 + i));
  } else if (kind == 58) {
    linkUnit58();
  } else if (kind == 59) {
    add(15, 75, in, kBlue);
  } else if (kind == 60) {
    add(45, 128, in / 2.0, kDownBlue);
  } else if (kind == 61) {
    add(23, 50, in, kBlue);
  } else if (odd(67, 75)) {
    add(98, 43, in);
    add(158, 43, S(1, kCascade9Lines89));
    add(138, 43, S(1, kCascade9Lines67));
    add(58, 43, S(1, kCascade9Lines34));
    add(38, 43, S(1, kCascade9Lines12));
  } else if (odd(68, 76)) {
    add(98, 63, in);
    for (int i = 0; i < 4; ++i) add(18 + 20 * i, 63, S(1, kCascade9Line1 + i));
  } else if (kind >= 77 && kind <= 79) {
    const int dy = kind == 77 ? 0 : 20;
    add(110, 17 + dy, in);
    add(45, 39 + dy, S(1, kSwitch17Group0));
    add(352, 39 + dy, S(1, kSwitch17Group1));
    add(45, 79 + dy, S(1, kSwitch17Group2));
    add(352, 79 + dy, S(1, kSwitch17Group3));
    if (kind == 79) {
      add(45, 139, S(2, kSwitch17Group0));
      add(352, 139, S(2, kSwitch17Group1));
      add(45, 179, S(2, kSwitch17Group2));
      add(352, 179, S(2, kSwitch17Group3));
    }
  } else if (kind == 80) {
    add(20, 40, in);
  } else if (kind >= 81 && kind <= 84) {
    channelAmp(kind);
  } else if (kind == 87) {
    for (int i = 0; i < 3; ++i) add(24 + 20 * i, 14, S(1, kThreeBandUhfStep + i), kUpBlack);
  } else if (kind == 88) {
    switchColumns88();
  } else if (kind == 89 || kind == 90) {
    switches89();
  } else if (kind == 96) {
    add(40, 46, in, kBlue);
    add(32, 24, kModulatorOutput, kBlue);
    add(30, 12, kModulatorHeading, kBlue);
  } else if (kind == 97) {
    add(40, 46, in, kBlue);
    add(73, 24, kChannel, kBlue);
    add(30, 12, kStandard, kBlue);
  } else if (kind >= 101 && kind <= 106) {
    lineAmp(kind);
  } else if (kind == 108) {
    add(44, 4, T4(S(1, kTwoPathSatGain)));
    add(75, 4, S(1, kTwoPathSatSlope) * 3);
    add(44, 50, T4(S(1, kTwoPathTerrGain)));
    add(75, 50, T4(S(1, kTwoPathTerrSlope)));
    add(30, 4, M4(S(1, kTwoPathSatGain)));
    add(30, 50, M4(S(1, kTwoPathTerrGain)));
    add(61, 50, M4(S(1, kTwoPathTerrSlope)));
  } else if (odd(131, 139)) {
    add(97, 30, T4(in));
    add(97, 55, M4(in));
    add(78, 30, S(1, kFiveInLine2) * 4);
    add(59, 30, S(1, kFiveInLine4) * 4);
    add(40, 30, S(1, kFiveInLine1) * 4);
    add(20, 30, S(1, kFiveInLine3) * 4);
  } else if (odd(132, 140)) {
    add(97, 50, T4(in));
    add(97, 75, M4(in));
  } else if (kind == 141 || kind == 144) {
    const std::optional<int> n = TransponderCountFor(in);
    labels.push_back({130, 47, static_cast<double>(n.value_or(0)), kBlack, !n});
  } else if (kind >= 170 && kind <= 179) {
    const int y = (kind % 2 == 1) ? 30 : 50;
    add(176, y, T4(in));
    add(176, y + 25, M4(in));
    static constexpr int kX[8] = {156, 138, 118, 97, 78, 59, 40, 20};
    // From right to left: lines 2, 4, 1, 3 of row 1, then lines 7, 9, 6, 8 of row 2.
    static constexpr int kRow[8] = {1, 1, 1, 1, 2, 2, 2, 2};
    static constexpr int kField[8] = {kNineInLine2, kNineInLine4, kNineInLine1, kNineInLine3,
                                      kNineInLine2, kNineInLine4, kNineInLine1, kNineInLine3};
    for (int i = 0; i < 8; ++i) add(kX[i], y, S(kRow[i], kField[i]) * 4);
  } else if (kind == 181) {
    if (in == 101) add(110, 53, kLoopOn);
    if (in == 100) add(110, 53, kLoopOff);
  } else if (kind >= 183 && kind <= 186) {
    singleCableStates(kind);
  }
}

// The modulator's output channel: the UHF channel whose centre is the stored frequency
// (tenths of MHz), if any.
std::optional<int> ModulatorChannel(int tenthsMHz) {
  for (int c = kFirstUhfChannel; c <= kLastUhfChannel; ++c)
    if ((UhfLowerEdge(c) + 4) * 10 == tenthsMHz) return c;
  return std::nullopt;
}

std::string ModulatorOutputText(int row) {
  const int f = Field(row, 1, kDvbOutputTenths);
  const int step = Field(row, 1, kDvbWidthItem);
  const std::optional<int> c = ModulatorChannel(f);
  if (c && step == 1) return UhfChannelItem(*c - 21) + ", " + UhfChannelItem(*c - 20);
  const std::optional<double> width = ModulatorStepMHz(step);
  if (!width) return {};
  return FormatGeneral(f / 10.0) + ", " + FormatGeneral(f / 10.0 + *width);
}

std::string KeywordText(int row, int code) {
  switch (code) {
    case 10000: return "A/D On";
    case 10001: return "A/D OF";
    case 10002: return "    Au";
    case 10003: return "    B";
    case kVhfFirst: return VhfChannelName(Field(row, 1, kAmpChannelA));
    case kVhfSecond: return VhfChannelName(Field(row, 1, kAmpChannelB));
    case kLoopOn: return "L";
    case kPassive: return "Passive";
    case kActive: return "Active";
    // The channel list is that of the object's own standard, whatever a window shows at the time.
    case kChannel: return TvChannelItem(Field(row, 1, kHdmiStandard), Field(row, 1, kHdmiChannel));
    case kStandard: return TvStandardName(Field(row, 1, kHdmiStandard));
    case kNone: return "None";
    case 10027: return "SAT A";
    case 10028: return "SAT B";
    case 10029: return "SAT C";
    case 10030: return "SAT D";
    case kAuto: return "Auto";
    case kBandVLo: return "V,Lo";
    case kBandHLo: return "H,Lo";
    case kBandVHi: return "V,Hi";
    case kBandHHi: return "H,Hi";
    case kModulatorOutput: return ModulatorOutputText(row);
    case kModulatorHeading: {
      const std::optional<int> c = ModulatorChannel(Field(row, 1, kDvbOutputTenths));
      return (c && Field(row, 1, kDvbWidthItem) == 1) ? "Channels:" : "  F(MHz):";
    }
    default: return {};
  }
}

struct LabelBox {
  int width = kLabelWidth;
  int height = kLabelHeight;
  int x = 0;  // top-left in the turned symbol
  int y = 0;
  int finalWidth = kLabelWidth;  // the modulator texts widen the box after it has been placed
};

// Columns the label's text inks in the label font (0 for none). Labels repeat the same few
// texts over a whole drawing, so each is measured once.
int TextInkWidth(const std::string& text) {
  if (text.empty()) return 0;
  static std::unordered_map<std::string, int> measured;
  if (auto it = measured.find(text); it != measured.end()) return it->second;
  Bitmap scratch(1, 1);
  Canvas c(scratch);
  c.font.height = kLabelFontHeight;
  c.font.style = 0;
  const QRect ink = c.textInkRect(0, 0, text);
  return measured[text] = ink.isEmpty() ? 0 : ink.right() + 1;
}

// Codes from 10000 on are keywords and switch pictures, unless the label is a number.
bool IsCode(const ValueLabel& l) { return !l.number && l.value >= 10000; }

LabelBox Layout(int row, const ValueLabel& l, const std::string& text, int gw, int gh) {
  const int kind = KindOf(row);
  const double value = l.value;
  const int mode = l.mode, x = l.x, y = l.y;
  const bool code = IsCode(l);
  LabelBox b;
  if (value < 0) b.width = 16;
  if (value > -1 && value < 100) b.width = (kind > 80 || kind == 43) ? 11 : 16;
  if (code) {
    if (value > 19999) b.width = 9;
    if (value > 10019 && value < 10022) b.width = 9;
    if (value > 10021 && value < 10024) b.width = 42;
    if (value == kChannel) b.width = 20;
    if (value == kStandard) b.width = 60;
  }
  if (kind == 58 || kind == 59) b.width = 28;
  if (kind == 60) b.height = 28;
  // A box never cuts its own text ("SAT B" inks 29 columns, the link unit's boxes are 28).
  const int ink = mode < 10 ? TextInkWidth(text) : 0;
  b.width = std::max(b.width, ink);
  const int lw = b.width, lh = b.height;
  switch (Field(row, 0, kOrient)) {
    case 1:
      b.x = x;
      b.y = y;
      break;
    case 2:
      b.x = y;
      b.y = gh - lh - x + 16 - lw;
      break;
    case 3:
      b.x = gw - lw - x;
      b.y = gh - lh - y;
      break;
    case 4:
      b.x = gw - lh - y;
      b.y = x;
      break;
    default:
      break;
  }
  const int wider = !code ? b.width : value == kModulatorOutput ? 62 : value == kModulatorHeading ? 52 : b.width;
  b.finalWidth = std::max(wider, ink);
  return b;
}

TColor ModeColor(int mode) {
  if (mode == kBlue || mode == kDownBlue) return colors::kBlue;
  if (mode == kGreen) return colors::kGreen;
  return colors::kBlack;
}

// A label's finished picture depends only on its text, colour mode, box size, switch picture and
// the symbol's turn, and a drawing repeats a few dozen of them over thousands of symbols; each is
// painted once. While texts are being recorded every label is painted, as a recording wants
// every text drawn.
struct LabelKey {
  std::string text;
  int mode, width, height, picture, orient;
  bool textOnly;  // keyed by its white box: only the text is drawn
  bool operator==(const LabelKey&) const = default;
};
struct LabelKeyHash {
  std::size_t operator()(const LabelKey& k) const {
    std::size_t h = std::hash<std::string>()(k.text);
    for (int v : {k.mode, k.width, k.height, k.picture, k.orient, int{k.textOnly}})
      h = h * 1000003u ^ std::hash<int>()(v);
    return h;
  }
};
constexpr std::size_t kLabelCacheLimit = 4096;

Bitmap PaintLabel(const LabelKey& k) {
  const int mode = k.mode;
  Bitmap label(k.width, k.height);
  Canvas c(label);
  c.font.height = kLabelFontHeight;
  c.font.style = 0;
  c.font.color = ModeColor(mode);
  if (mode == kUpBlack) c.font.orientation = 900;
  if (mode == kDownBlue) c.font.orientation = -900;

  if (mode == kUpBlack) {
    if (!k.text.empty()) c.textOut(-1, 15, k.text);
  } else if (mode == kDownBlue) {
    if (!k.text.empty()) c.textOut(13, 4, k.text);
  } else if (mode < 10) {
    if (!k.text.empty()) c.textOut(0, 0, k.text);
    if (k.picture > 19999) {
      c.pen.color = colors::kBlack;
      c.brush.color = colors::kWhite;
      c.rectangle(2, 2, 8, 13);
      c.brush.color = colors::kBlue;
      if (k.picture == kSwitchDown) c.rectangle(2, 8, 8, 13);
      if (k.picture == kSwitchUp) c.rectangle(2, 2, 8, 8);
    }
  }

  Bitmap turned = k.orient < 2 ? label : RotateBitmap(label, k.orient - 1);
  turned.setTransparent(k.textOnly);  // the text never reaches a corner, so the key is the box
  return turned;
}

Bitmap LabelPicture(LabelKey key) {
  if (RecordingTexts()) return PaintLabel(key);
  static std::unordered_map<LabelKey, Bitmap, LabelKeyHash> cache;
  if (auto it = cache.find(key); it != cache.end()) return it->second;
  Bitmap picture = PaintLabel(key);
  if (cache.size() >= kLabelCacheLimit) cache.clear();
  cache.emplace(std::move(key), picture);
  return picture;
}

// `textOnly` draws the label's text without its box.
void DrawLabel(int row, const ValueLabel& l, bool textOnly = false) {
  if (!ValidObjRow(row) || static_cast<std::size_t>(row) >= ObjGlyphs.size()) return;
  Bitmap& glyph = ObjGlyphs[row];
  if (glyph.empty()) return;
  std::string text = ValueLabelText(row, l);
  const LabelBox box = Layout(row, l, text, glyph.width(), glyph.height());
  const bool sideways = l.mode == kUpBlack || l.mode == kDownBlue;
  const int width = sideways ? box.width : box.finalWidth;
  const int picture = IsCode(l) && l.value > 19999 ? static_cast<int>(l.value) : 0;
  const Bitmap turned =
      LabelPicture({std::move(text), l.mode, width, box.height, picture, Field(row, 0, kOrient), textOnly});
  Canvas(glyph).draw(box.x, box.y, turned);
}

}  // namespace

std::vector<ValueLabel> ObjectLabels(int row, bool showDesignators) {
  if (!ValidObjRow(row)) return {};
  const int kind = KindOf(row);
  Planner p(row);
  if (showDesignators) {
    if (const std::optional<QPoint> at = DesignatorPoint(kind)) {
      ValueLabel d{at->x(), at->y(), static_cast<double>(row), kGreen, false, true};
      // A number too long for the room before the outline along the symbol's right edge moves
      // left until its digits fit.
      constexpr int kOutline = 2;
      const int room = TypeGlyphAt(TypeSlotOfKind(kind)).width() - kOutline;
      const int ink = TextInkWidth(FormatGeneral(row));
      if (room > 0 && d.x + ink > room) d.x = std::max(0, room - ink);
      p.labels.push_back(d);
    }
  }
  p.plan(kind);
  return std::move(p.labels);
}

int SatBandLabelCode(int sourceId) {
  if (sourceId <= 0 || sourceId >= kSatIdLimit) return 0;
  static constexpr int kByBand[5] = {0, kBandHLo, kBandHHi, kBandVLo, kBandVHi};
  const int band = BandOf(sourceId);
  return band >= 1 && band <= 4 ? kByBand[band] : 0;
}

std::string ValueLabelText(int row, const ValueLabel& l) {
  if (l.blank) return {};
  if (l.number && l.mode < 10) return FormatGeneral(l.value);
  return ValueLabelText(row, l.value, l.mode);
}

std::string ValueLabelText(int row, double value, int mode) {
  if (mode == kUpBlack) return value < 100 ? std::to_string(TruncToZero(value)) : std::string();
  if (mode == kDownBlue) return value < 100 ? FormatGeneral(value) : std::string();
  if (mode >= 10) return {};
  if (value < 10000) return FormatGeneral(value);
  return KeywordText(row, static_cast<int>(value));
}

QRect ValueLabelRect(int row, const ValueLabel& l, int glyphWidth, int glyphHeight) {
  const LabelBox box = Layout(row, l, ValueLabelText(row, l), glyphWidth, glyphHeight);
  const bool sideways = l.mode == kUpBlack || l.mode == kDownBlue;
  const int w = sideways ? box.width : box.finalWidth;
  const int orient = Field(row, 0, kOrient);
  if (orient < 1 || orient > 4) return orient < 1 ? QRect(box.x, box.y, w, box.height) : QRect();
  const bool quarter = orient == 2 || orient == 4;
  return QRect(box.x, box.y, quarter ? box.height : w, quarter ? w : box.height);
}

QRect ValueLabelRect(int row, double value, int mode, int x, int y, int glyphWidth, int glyphHeight) {
  return ValueLabelRect(row, ValueLabel{x, y, value, mode}, glyphWidth, glyphHeight);
}

void MakeValueLabel(int row, int x, int y, double value, int mode) { DrawLabel(row, {x, y, value, mode}); }

void DrawObjectLabels(int row) {
  const std::vector<ValueLabel> labels = ObjectLabels(row, OptionControls.CheckBox2);
  for (const ValueLabel& l : labels) DrawLabel(row, l);
  // The designator's digits once more over the value labels, whose boxes would hide them; its
  // own box stays beneath them, so it hides no value.
  for (const ValueLabel& l : labels)
    if (l.number) DrawLabel(row, l, true);
}

}  // namespace kavrix
