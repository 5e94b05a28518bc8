#pragma once
// Generated buildings for run tests, benchmarks and the results hash: risers fed by an LNB or an
// antenna, and a small network per device kind with every input fed and every output loaded.
#include <algorithm>
#include <vector>

#include "catalogue/geometry.hpp"
#include "catalogue/port_templates.hpp"
#include "catalogue/type_catalogue.hpp"
#include "model/network_model.hpp"
#include "model/source_tables.hpp"

namespace kavrix::test {

inline void AppendRow(const ObjRow& r) {
  EnsureFreeObjectRows(20);
  NetObjects[CurObject++] = r;
  ++ObjectCount;
  GrowForObject(r[0] > 0 ? r[0] : 0);
}

// LNB at (1000, 100), band 1 (output pin (970, 140)) with 31 carriers at `level`.
inline void AddRiserLnb(int level) {
  AppendRow({91, 1000, 100, 0, 1, 1});
  LnbParams[0][0][0] = 31;
  for (int r = 1; r <= 31; ++r) {
    SatCell(0, 0, r) = 950 + 45 * r;
    SatCell(0, 1, r) = level;
  }
  SatUsed[0] = true;
}

// A riser of single lines, one TV socket at every line end.
inline void BuildLineRiser(int outlets) {
  NewNetworkModel();
  AddRiserLnb(90);
  int y = 140;
  for (int i = 0; i < outlets; ++i) {
    AppendRow({203, 970, y, 3, 1, 2});
    AppendRow({-1, 20, 0, 0, 0, 11});
    y += 20;
    AppendRow({210, 995, y, 2, 1, 1});
  }
  SyncRowCompanions();
}

// A riser of cascaded taps (kind 116): the through line of path 1 runs from tap to tap, and
// every tap's branch output of path 1 feeds one socket over a single line.
inline void BuildTapRiser(int outlets) {
  NewNetworkModel();
  AddRiserLnb(100);
  AppendRow({203, 970, 140, 5, 1, 2});
  AppendRow({-1, 50, -30, 0, 0, 11});  // to the first tap's input (940, 190)
  for (int i = 0; i < outlets; ++i) {
    const int y = 300 + 400 * i;
    AppendRow({116, 1000, y, 0, 1, 0});
    AppendRow({203, 1110, y + 60, 10, 2, 2});
    AppendRow({-1, 0, 100, 0, 0, 11});
    AppendRow({210, 1235, y + 60, 5, 1, 1});
    if (i + 1 < outlets) {
      AppendRow({203, 940, y + 110, 4, 1, 2});
      AppendRow({-1, 180, 0, 0, 0, 11});
    }
  }
  SyncRowCompanions();
}

// Cable coefficients and outlet limits of the tuning buildings.
inline void TuningLimitsAndCables() {
  CableCoef = {0.0, 0.27, 0.21, 0.18, 0.14, 0.1};
  SatMaxLevel = 80;
  TerrMaxLevel = 70;
  SatSocketLoss = 2;
  TerrSocketLoss = 3;
}

// A device of `kind` whose first input pin lies at (x, y); (x, y) becomes its first output pin.
inline void AppendDeviceAt(int kind, int& x, int& y, int inst) {
  const TypeRecord& t = TypeOf(kind);
  const TemplateRow& r = PortTemplates[static_cast<std::size_t>(t[kFirstTemplateRow])];
  const int ox = x - r[kTplInDx];
  const int oy = y - r[kTplInDy] + t[kTerminalShift];
  AppendRow({kind, ox, oy, inst, 1, 0});
  x = ox + r[kTplOutDx];
  y = oy - t[kTerminalShift] + r[kTplOutDy];
}

// Single lines straight down from (x, y), a socket at every line end and an attenuator (kind 80)
// before every `attenuatorEvery`-th line (0: none).
inline void AppendSocketRiser(int x, int& y, int outlets, int attenuatorEvery) {
  for (int i = 0; i < outlets; ++i) {
    if (attenuatorEvery > 0 && i % attenuatorEvery == 0) AppendDeviceAt(80, x, y, 0);
    AppendRow({203, x, y, 3, 1, 2});
    AppendRow({-1, 20, 0, 0, 0, 11});
    y += 20;
    AppendRow({210, x + 25, y, 2, 1, 1});
  }
}

// An antenna with a 40-channel plan feeding a riser with an attenuator every 100 floors.
inline void BuildTerrestrialBuilding(int outlets) {
  NewNetworkModel();
  TuningLimitsAndCables();
  AppendRow({93, 1000, 100, 0, 1, 0});  // output pin (1000, 190)
  for (int i = 0; i < 40; ++i) {
    TerrTables[0][0][i] = 474 + 8 * i;
    TerrTables[0][1][i] = 95;
  }
  TerrParams[0][0] = 40;
  TerrUsed[0] = true;
  int y = 190;
  AppendSocketRiser(1000, y, outlets, 100);
  SyncRowCompanions();
}

// An LNB whose small multiswitch (kind 3) feeds four sockets and a riser of single lines from its
// first through output.
inline void BuildSatelliteBuilding(int outlets) {
  NewNetworkModel();
  TuningLimitsAndCables();
  AppendRow({91, 1000, 100, 0, 1, 1});
  for (int b = 0; b < 4; ++b) {
    LnbParams[0][b][0] = 31;
    for (int r = 1; r <= 31; ++r) {
      SatCell(0, 2 * b, r) = 950 + 45 * r;
      SatCell(0, 2 * b + 1, r) = 85;
    }
  }
  SatUsed[0] = true;
  int x = 970, y = 140;
  AppendDeviceAt(3, x, y, 0);
  AppendSocketRiser(x, y, outlets, 0);
  SyncRowCompanions();
}

// Kinds that become calculation nodes through their port templates.
inline bool GalleryKind(int kind) {
  if (!KindExists(kind) || TypeOf(kind)[kPaths] <= 0) return false;
  return (kind >= 1 && kind <= 90) || kind == 96 || kind == 97 || (kind >= 101 && kind <= 189);
}

// One device of `kind` with every input pin fed over a single line (satellite paths from the
// LNB band of their path number, distinct terrestrial inputs from `antennas` antennas in turn,
// or from every antenna when `crossFed`), a socket on every port and a line with a socket at its
// end on every output pin. Cross-fed inputs join the antennas' lines into loops.
inline void BuildKindGallery(int kind, int antennas, bool crossFed = false) {
  NewNetworkModel();
  TuningLimitsAndCables();
  AppendRow({91, 1000, 100, 0, 1, 1});  // band b output pin (950 + 20 b, 140)
  for (int b = 0; b < 4; ++b) {
    LnbParams[0][b][0] = 31;
    for (int r = 1; r <= 31; ++r) {
      SatCell(0, 2 * b, r) = 950 + 48 * r + 3 * b;
      SatCell(0, 2 * b + 1, r) = 78 + (r + b) % 7;
    }
  }
  LnbParams[0][1][4] = 120;
  SatUsed[0] = true;
  std::vector<Point> antennaPins;
  for (int a = 0; a < antennas && a < 2; ++a) {
    AppendRow({93 + a, 1400 + 400 * a, 100, a, 1, 0});  // output pin (X, 190)
    antennaPins.push_back({1400 + 400 * a, 190});
    int e = 0;
    for (int i = 0; i < 5 && a == 0; ++i, ++e) {  // band III for the first antenna only
      TerrTables[a][0][e] = 178 + 8 * i;
      TerrTables[a][1][e] = 84 + i % 3;
    }
    for (int i = 0; i < 25 - 5 * a; ++i, ++e) {
      TerrTables[a][0][e] = 474 + 16 * i + 8 * a;
      TerrTables[a][1][e] = 80 + (i + a) % 9;
    }
    TerrParams[a][0] = e;
    TerrUsed[a] = true;
  }

  const TypeRecord& t = TypeOf(kind);
  const int orient = 1 + kind % 4;
  const Point at{1000, 900};
  // Single-cable units get mode digits '0' and '1' on their groups; the link units a carrier to
  // pick (LNB A band 1 behind a 9750 MHz oscillator, or 600 MHz terrestrial).
  const int inst = t[kClass] == 81 ? 1010101 : kind == 58 ? 11000 : kind == 59 ? 600 : 0;
  AppendRow({kind, at.x, at.y, inst, orient, 0});
  if (kind == 58) AppendRow({-1, 1, 0, 9750, 10600, 0});
  else AppendRow({-1, -(kind % 5), kind % 3, 0, 0, 0});
  const Point base = at + Rotated(orient, 0, -t[kTerminalShift]);
  auto pinOf = [&](int dx, int dy) { return base + Rotated(orient, dx, dy); };
  auto real = [](int dx, int dy) { return dx < kNoPinOffset / 2 && dy < kNoPinOffset / 2; };
  auto line = [](Point from, Point to, int metres) {
    AppendRow({203, from.x, from.y, metres, 1, 2});
    AppendRow({-1, to.y - from.y, to.x - from.x, 0, 0, 11});
  };
  auto socketAt = [](Point p) { AppendRow({210, p.x + 25, p.y, 5, 1, 1}); };

  std::vector<Point> inputs, outputs, ports, terrInputs;
  std::vector<std::pair<Point, Point>> feeds;
  const int first = t[kFirstTemplateRow];
  for (int p = 0; p < t[kPaths] && first + p < kTemplateRowCount; ++p) {
    const TemplateRow& r = PortTemplates[static_cast<std::size_t>(first + p)];
    if (real(r[kTplInDx], r[kTplInDy])) {
      const Point in = pinOf(r[kTplInDx], r[kTplInDy]);
      inputs.push_back(in);
      if (r[kTplCode] % 100 == 5) {
        // Distinct terrestrial inputs take the antennas in turn: two lines from two sources
        // ending at one pin would form a loop.
        if (std::find(terrInputs.begin(), terrInputs.end(), in) == terrInputs.end()) terrInputs.push_back(in);
        const std::size_t which = static_cast<std::size_t>(std::find(terrInputs.begin(), terrInputs.end(), in) - terrInputs.begin());
        if (crossFed)
          for (const Point& a : antennaPins) feeds.push_back({a, in});
        else if (!antennaPins.empty())
          feeds.push_back({antennaPins[which % antennaPins.size()], in});
      } else {
        const int band = 1 + (std::max(r[kTplCode] % 100, 1) - 1) % 4;
        feeds.push_back({Point{950 + 20 * band, 140}, in});
      }
    }
    if (real(r[kTplOutDx], r[kTplOutDy])) outputs.push_back(pinOf(r[kTplOutDx], r[kTplOutDy]));
    const int extra = r[kTplExtraRow];
    if (extra > 0 && first + extra < kTemplateRowCount) {
      const TemplateRow& e = PortTemplates[static_cast<std::size_t>(first + extra)];
      for (int q = 0; q < 4; ++q)
        if (real(e[2 * q], e[2 * q + 1])) ports.push_back(pinOf(e[2 * q], e[2 * q + 1]));
    }
  }
  auto seen = [](const std::vector<Point>& v, std::size_t upTo, Point p) {
    return std::find(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(upTo), p) != v.begin() + static_cast<std::ptrdiff_t>(upTo);
  };
  for (std::size_t i = 0; i < feeds.size(); ++i)
    if (std::find(feeds.begin(), feeds.begin() + static_cast<std::ptrdiff_t>(i), feeds[i]) == feeds.begin() + static_cast<std::ptrdiff_t>(i))
      line(feeds[i].first, feeds[i].second, 4);
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    if (seen(outputs, i, outputs[i]) || seen(inputs, inputs.size(), outputs[i])) continue;
    const Point end = outputs[i] + Point{7, 1000};
    line(outputs[i], end, 10);
    socketAt(end);
  }
  for (std::size_t i = 0; i < ports.size(); ++i)
    if (!seen(ports, i, ports[i]) && !seen(inputs, inputs.size(), ports[i]) && !seen(outputs, outputs.size(), ports[i]))
      socketAt(ports[i]);
  SyncRowCompanions();
}

}  // namespace kavrix::test
