#pragma once
// Buildings as installers draw them, for the benchmarks, the results hash and the run tests.
//
// BuildRealisticBuilding(outlets): a quad LNB (four bands of 24 carriers) and a UHF antenna (32
// channels) feed a launch amplifier; a backbone of five-cable taps (a line amplifier after every
// ten) feeds one riser per tap; a riser has a tap per floor, a line amplifier at its foot and
// every ten floors, and on every floor a 5x12 multiswitch with ten sockets. Ten outlets per floor, at most fifty floors
// per riser. The taps grade from strong to weak along each amplified stretch, so the structure
// optimisation has work, and every socket is reached by every band.
//
// BuildAmplifierCascade(amplifiers): a UHF antenna feeding a long cable run with a house
// amplifier at every stage and a socket at its end.
#include <algorithm>

#include "catalogue/geometry.hpp"
#include "catalogue/port_templates.hpp"
#include "catalogue/type_catalogue.hpp"
#include "model/network_model.hpp"
#include "model/source_tables.hpp"
#include "support/generated_buildings.hpp"

namespace kavrix::test {

namespace building {

constexpr int kLnb = 91;
constexpr int kUhfAntenna = 93;
constexpr int kHouseAmp = 45;
constexpr int kLaunchAmp = 101;
constexpr int kLineAmp = 102;   // the same paths as the launch amplifier, remotely fed
constexpr int kSwitch5x12 = 133;
constexpr int kTrunk5 = 201;
constexpr int kSingleLine = 203;
constexpr int kSocket = 210;

constexpr int kOutletsPerFloor = 10;
constexpr int kFloorsPerRiser = 20;
constexpr int kAmplifierEvery = 10;

// Cable kinds (CableCoef indices of TuningLimitsAndCables): backbone, riser, drop cables.
constexpr int kBackboneCable = 5;
constexpr int kRiserCable = 5;
constexpr int kDropCable = 2;

// The kind's template row of node code `code`.
inline const TemplateRow& PathRow(int kind, int code) {
  const TypeRecord& t = TypeOf(kind);
  for (int p = 0; p < t[kPaths]; ++p) {
    const TemplateRow& r = PortTemplates[static_cast<std::size_t>(t[kFirstTemplateRow] + p)];
    if (r[kTplCode] == code) return r;
  }
  return PortTemplates[static_cast<std::size_t>(t[kFirstTemplateRow])];
}

// Pins of an upright object (Orient 1) whose row holds (x, y).
inline Point Base(int kind, Point at) { return {at.x, at.y - TypeOf(kind)[kTerminalShift]}; }
inline Point InPin(int kind, Point at, int code) {
  const TemplateRow& r = PathRow(kind, code);
  return Base(kind, at) + Point{r[kTplInDx], r[kTplInDy]};
}
inline Point OutPin(int kind, Point at, int code) {
  const TemplateRow& r = PathRow(kind, code);
  return Base(kind, at) + Point{r[kTplOutDx], r[kTplOutDy]};
}
// Port q (2..5) of path `code`.
inline Point PortPin(int kind, Point at, int code, int q) {
  const TemplateRow& r = PathRow(kind, code);
  const TemplateRow& e = PortTemplates[static_cast<std::size_t>(TypeOf(kind)[kFirstTemplateRow] + r[kTplExtraRow])];
  return Base(kind, at) + Point{e[static_cast<std::size_t>(2 * (q - 2))], e[static_cast<std::size_t>(2 * (q - 2) + 1)]};
}

// Places `kind` (Inst `inst`) so that the input pin of `code` lies on `pin`; returns its position.
inline Point PlaceByInput(int kind, int code, Point pin, int inst) {
  const Point off = InPin(kind, Point{0, 0}, code);
  const Point at{pin.x - off.x, pin.y - off.y};
  AppendRow({kind, at.x, at.y, inst, 1, 0});
  return at;
}

// The gain-step and slope rows of a launch or line amplifier, as placed.
inline void AmplifierRows() {
  AppendRow({-1, 0, 0, 0, 0, 0});
  AppendRow({-1, 0, 0, 0, 0, 0});
}

inline void SingleLine(Point from, Point to, int metres, int cable) {
  AppendRow({kSingleLine, from.x, from.y, metres, 1, cable});
  AppendRow({-1, to.y - from.y, to.x - from.x, 0, 0, 5});
}

// A 5-cable trunk line between two rows of five-line pins in lead order B (lines 3, 1, 4, 2 and
// the terrestrial line, 20 apart), named by the pin of line 4: straight down, or first across and
// then down when the start pins stand in a column on a device's right side.
inline void TrunkLine(Point from, Point to, int metres, int cable) {
  const bool across = from.x != to.x;
  AppendRow({kTrunk5, from.x, from.y, metres, across ? 2 : 1, cable});
  AppendRow({-1, to.y - from.y, to.x - from.x, 0, 0, 22});
}

// Five-cable tap variants 121 (weakest branch) .. 124 (strongest), graded along a stretch of ten
// after an amplifier: strong taps near the amplifier, weak ones at the far end.
inline int TapFor(int position) {
  const int p = position % kAmplifierEvery;
  return p < 3 ? 124 : p < 6 ? 123 : p < 8 ? 122 : 121;
}
inline int TapCode(int tapKind, int group, int path) { return (tapKind - 100) * 1000 + 100 * group + path; }
constexpr int kAmpCode4 = 101004;  // line 4 of the launch and line amplifiers
constexpr int kSwitchCode4 = 133004;

// Appends a device of the five-line chain (a tap or a line amplifier) whose line-4 input lies on
// `pin`, fed over a trunk line from `from` (the line-4 pin of the output before it); returns the
// line-4 pin of its through output.
inline Point ChainDevice(int kind, Point from, Point pin, int metres, int cable, Point* placed = nullptr) {
  const bool amp = kind == kLineAmp;
  const int code = amp ? kAmpCode4 : TapCode(kind, 0, 4);
  TrunkLine(from, pin, metres, cable);
  const Point at = PlaceByInput(kind, code, pin, 0);
  if (amp) AmplifierRows();
  if (placed) *placed = at;
  return OutPin(kind, at, code);
}

// The floor's multiswitch hangs on the branch output of the tap at `tap` and feeds ten sockets.
inline void Floor(int tapKind, Point tap, int floorIndex) {
  const Point branch = OutPin(tapKind, tap, TapCode(tapKind, 1, 4));
  const Point in{branch.x + 260, branch.y + 120};
  TrunkLine(branch, in, 2, kRiserCable);
  const Point sw = PlaceByInput(kSwitch5x12, kSwitchCode4, in, 0);
  AppendRow({-1, 0, 0, 0, 0, 0});  // output attenuation of the satellite lines
  int sockets = 0;
  for (int g = 0; g < 3 && sockets < kOutletsPerFloor; ++g)
    for (int q = 2; q <= 5 && sockets < kOutletsPerFloor; ++q, ++sockets) {
      const Point p = PortPin(kSwitch5x12, sw, kSwitch5x12 * 1000 + 100 * g + 1, q);
      const bool left = p.x < sw.x;
      const int drop = 8 + (floorIndex * 7 + sockets * 3) % 18;  // 8..25 m
      AppendRow({kSocket, left ? p.x - 25 : p.x + 25, p.y, drop, left ? 3 : 1, kDropCable});
    }
}

}  // namespace building

// Four LNB bands of 24 carriers and 32 UHF channels, the limits and cables of the tuning tests.
inline void RealisticSources() {
  TuningLimitsAndCables();
  for (int b = 0; b < 4; ++b) {
    LnbParams[0][b][0] = 24;
    const int first = b % 2 == 0 ? 10729 : 11739;  // low and high band, in the LNB's own MHz
    for (int r = 1; r <= 24; ++r) {
      SatCell(0, 2 * b, r) = (first + 39 * (r - 1) + 3 * b) - (b % 2 == 0 ? 9750 : 10600);
      SatCell(0, 2 * b + 1, r) = 78 + (r * 5 + b) % 5;
    }
  }
  LnbParams[0][1][4] = 300;
  SatUsed[0] = true;
  for (int i = 0; i < 32; ++i) {
    TerrTables[0][0][i] = 474 + 8 * i;
    TerrTables[0][1][i] = 72 + (i * 3) % 6;
  }
  TerrParams[0][0] = 32;
  TerrUsed[0] = true;
}

inline void BuildRealisticBuilding(int outlets) {
  using namespace building;
  NewNetworkModel();
  RealisticSources();
  const int floors = std::max(1, outlets / kOutletsPerFloor);
  const int risers = (floors + kFloorsPerRiser - 1) / kFloorsPerRiser;

  // Head end: LNB and antenna over the launch amplifier.
  AppendRow({kLnb, 1000, 100, 0, 1, 1});
  AppendRow({kUhfAntenna, 1300, 100, 0, 1, 0});
  const Point amp = PlaceByInput(kLaunchAmp, kAmpCode4, {1000, 400}, 0);
  AmplifierRows();
  constexpr int kLnbDx[4] = {-30, -10, 10, 30};
  for (int b = 1; b <= 4; ++b)
    SingleLine({1000 + kLnbDx[b - 1], 140}, InPin(kLaunchAmp, amp, 101000 + b), 2, 1);
  SingleLine({1300, 190}, InPin(kLaunchAmp, amp, 101005), 3, 1);

  // Backbone down the left, one tap per riser.
  Point cur = OutPin(kLaunchAmp, amp, kAmpCode4);
  std::vector<std::pair<int, Point>> backbone;
  for (int r = 0; r < risers; ++r) {
    if (r > 0 && r % kAmplifierEvery == 0) cur = ChainDevice(kLineAmp, cur, {cur.x, cur.y + 120}, 2, kBackboneCable);
    Point at;
    const int tap = TapFor(r);
    cur = ChainDevice(tap, cur, {cur.x, cur.y + 180}, 10, kBackboneCable, &at);
    backbone.push_back({tap, at});
  }
  const int riserTop = cur.y + 600;

  // The risers side by side, each fed from its backbone tap's branch into a line amplifier.
  for (int r = 0; r < risers; ++r) {
    const auto [feedTap, feedAt] = backbone[static_cast<std::size_t>(r)];
    cur = OutPin(feedTap, feedAt, TapCode(feedTap, 1, 4));
    Point pin{2000 + 1400 * r, riserTop};
    const int first = r * kFloorsPerRiser;
    const int count = std::min(kFloorsPerRiser, floors - first);
    for (int f = 0; f < count; ++f) {
      if (f % kAmplifierEvery == 0) {
        cur = ChainDevice(kLineAmp, cur, pin, f == 0 ? 20 : 1, kRiserCable);
        pin = {cur.x, cur.y + 100};
      }
      const int tap = TapFor(f);
      Point at;
      cur = ChainDevice(tap, cur, pin, 3, kRiserCable, &at);
      Floor(tap, at, first + f);
      pin = {cur.x, cur.y + 300};
    }
  }
  SyncRowCompanions();
}

inline void BuildAmplifierCascade(int amplifiers) {
  using namespace building;
  NewNetworkModel();
  RealisticSources();
  AppendRow({kUhfAntenna, 1000, 100, 0, 1, 0});
  Point cur{1000, 190};  // the antenna's output
  constexpr int kPerRow = 20;
  for (int a = 0; a < amplifiers; ++a) {
    const int row = a / kPerRow, col = a % kPerRow;
    const Point in{1000 + 400 * col, 500 + 500 * row};
    SingleLine(cur, in, a == 0 ? 20 : 100, 3);
    const Point at = PlaceByInput(kHouseAmp, 45005, in, 0);
    AppendRow({-1, 0, 0, 0, 0, 0});  // gain step and slope
    cur = OutPin(kHouseAmp, at, 45005);
  }
  const Point end{cur.x, cur.y + 200};
  SingleLine(cur, end, 30, 3);
  AppendRow({kSocket, end.x + 25, end.y, 10, 1, kDropCable});
  SyncRowCompanions();
}

}  // namespace kavrix::test
