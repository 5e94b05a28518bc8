#include "editor/analyzer_fill.hpp"

#include <algorithm>
#include <cmath>

#include "model/network_model.hpp"
#include "model/number_text.hpp"
#include "model/panel_encodings.hpp"
#include "model/source_tables.hpp"
#include "engine/propagation.hpp"
#include "model/run_records.hpp"

namespace kavrix {

namespace {
using namespace chart_colors;

constexpr int kLevelEntries = 100;  // spectrum entries 0..99 are levels; 100.. are not
constexpr const char* kBandLabel[5] = {"", "HLo", "HHi", "VLo", "VHi"};
constexpr ChartColor kTapBandColor[5] = {kOwnColor, kGreen, kOwnColor, kBlack, kRed};

// Trunk-line display: the seven points per band, their cable factors and the band offsets that
// keep the four curves apart.
constexpr double kTrunkGHz[7] = {0.95, 1.0, 1.1, 1.3, 1.5, 1.8, 2.15};
constexpr double kTrunkCable[7] = {0.975, 1.0, 1.049, 1.14, 1.225, 1.342, 1.466};
constexpr double kTrunkOffset[5] = {0.0, 0.1, 0.0, -0.1, -0.2};

// What the steps read about one matched pin.
struct Pin {
  int node = 0;
  int port = 0;
  const double* L = nullptr;    // levels at the pin
  const double* Out = nullptr;  // the node's output
  const double* In = nullptr;   // the node's input
  int id = 0, s = 0, b = 0;
  int family = 0, kind = 0, object = 0, M = 0, chain = 0, code = 0;
  double feedPort = 0.0;  // link units: the feeding device's port they hang on (1 = main output)
  // Satellite source: the band's frequency column and its carrier count (at most the column).
  const int32_t* f = nullptr;
  int N = 0;
  // Terrestrial source: its frequency row.
  int Frow = -1;
  const double* F = nullptr;

  bool satelliteId() const { return id > 0 && id < 50; }
  bool hasBand() const { return f != nullptr; }
  // Frequency of band entry k in MHz; indices outside the band's carriers take the nearest one.
  double fAt(int k) const {
    if (!f) return 0.0;
    const int last = std::max(N, 1) - 1;
    return f[std::clamp(k, 0, last)];
  }
  double level(int k, double freqMHz, double cableFactor) const {
    return L[k] - std::sqrt(std::max(freqMHz, 0.0) / 1000.0) * cableFactor;
  }
  int series() const { return 4 * s + b; }
};

// TerrSpectra frequency row of a terrestrial source id (generated channels from 205 on); -1 if none.
int TerrRowIndex(int id) {
  if (id <= 100) return -1;
  const int pair = id < 205 ? id - 105 : id - 205;
  if (pair < 0 || 2 * pair >= static_cast<int>(TerrSpectra.size())) return -1;
  return 2 * pair;
}

Pin ReadPin(int node, int port) {
  Pin p;
  p.node = node;
  p.port = port;
  p.L = NodeSpectra.at(static_cast<std::size_t>(node), port);
  p.Out = NodeSpectra.at(static_cast<std::size_t>(node), 1);
  p.In = NodeSpectra.at(static_cast<std::size_t>(node), 0);
  const NodeRow& r = Nodes[static_cast<std::size_t>(node)];
  p.code = r[kNodeCode];
  p.M = r[kNodeMaxLevel];
  p.id = r[kNodeSourceId];
  p.object = r[kNodeObject];
  p.chain = r[kNodeChainMark];
  p.s = p.id / 10;
  p.b = p.id % 10;
  p.kind = NodeKind(node);
  p.family = NodeClass(node);
  if (p.object >= 0 && static_cast<std::size_t>(p.object) < ObjValues.size())
    p.feedPort = ObjValues[static_cast<std::size_t>(p.object)][kObjValuePort];
  if (p.satelliteId() && ValidSatSlot(p.s) && p.b >= 1 && p.b <= 4) {
    p.f = SatTables[static_cast<std::size_t>(p.s)][static_cast<std::size_t>(SatFreqColumn(p.b - 1))].data();
    p.N = std::clamp(LnbParams[static_cast<std::size_t>(p.s)][static_cast<std::size_t>(p.b - 1)][kLnbCarriers], 0,
                     kSatRows);
  }
  p.Frow = TerrRowIndex(p.id);
  if (p.Frow >= 0) p.F = TerrSpectra[static_cast<std::size_t>(p.Frow)].data();
  return p;
}

// First entry from `from` on whose level is at least / at most `limit`; -1 when there is none.
int FirstAtLeast(const double* L, int from, double limit) {
  for (int k = std::max(from, 0); k < kLevelEntries; ++k)
    if (L[k] >= limit) return k;
  return -1;
}
int FirstAtMost(const double* L, int from, double limit) {
  for (int k = std::max(from, 0); k < kLevelEntries; ++k)
    if (L[k] <= limit) return k;
  return -1;
}
// Last entry of the run that starts at k1 and goes on while the next level is above -1000.
int RunEnd(const double* L, int k1) {
  int k = k1;
  while (k + 1 < kLevelEntries && L[k + 1] > -1000.0) ++k;
  return k;
}
// Last entry of a terrestrial frequency row above 0 (0 when there is none).
int LastFrequency(const double* F) {
  int last = 0;
  for (int k = 0; k < kLevelEntries; ++k)
    if (F[k] > 0) last = k;
  return last;
}
// First band entry whose frequency reaches `freq`; -1 when none does.
int FirstBandEntryFrom(const Pin& p, double freq) {
  for (int k = 0; k < p.N; ++k)
    if (p.f[k] >= freq) return k;
  return -1;
}

void FitTerrestrialAxis(ChartModel& c, ProbeState& st, const Pin& p) {
  const double lo = p.L[kSpectrumMin], hi = p.L[kSpectrumMax];
  if (!(p.id > 100 && lo > 0 && hi >= lo)) return;
  if (st.FirstTerrFit) {
    st.FirstTerrFit = false;
    if (hi > c.leftMinimum()) c.setLeftMaximum(hi + 3);
    if (lo < c.leftMaximum()) c.setLeftMinimum(lo - 3);
    if (hi > c.leftMinimum()) c.setLeftMaximum(hi + 3);
  } else {
    if (c.leftMinimum() > lo) c.setLeftMinimum(lo - 3);
    if (c.leftMaximum() < hi) c.setLeftMaximum(hi + 3);
  }
}

void SetLinkFrequency(ProbeState& st, const Pin& p) {
  if (p.family != 42 || !ValidObjRow(p.object)) return;
  const int inst = NetObjects[static_cast<std::size_t>(p.object)][kInst];
  st.LinkFreq = inst;
  if (p.code == 58000) {
    // The DVB-S/S2 streamer is tuned in the satellite band: less the LNB's high or low LO.
    if (ValidObjRow(p.object + 1) && NetObjects[static_cast<std::size_t>(p.object) + 1][kKind] < 0) {
      st.LinkFreq = static_cast<int>(panel::StreamerIfMHz(inst, NetObjects[static_cast<std::size_t>(p.object) + 1]));
    }
    st.TerrView = false;
  }
}

// A device maximum or a streamer window as a silver tick up to `y` at the run's first entry and
// a line at `y` to its last entry.
void BandMarker(ChartModel& c, int series, const Pin& p, double tick, double y, ChartColor lineColor,
                const char* label) {
  const int k1 = FirstAtLeast(p.L, 1, -1000.0);
  if (k1 < 0) return;
  int k2 = FirstAtMost(p.L, k1, -1000.0);
  if (k2 < 0) k2 = kLevelEntries;  // the signal reaches the last level entry
  c.addPoint(series, p.fAt(k1) / 1000, tick, label, kSilver);
  c.addPoint(series, p.fAt(k1) / 1000, y, label, kSilver);
  c.addPoint(series, p.fAt(k2 - 1) / 1000, y, label, lineColor);
}

void TapSatelliteLevels(AnalyzerModel& a, ProbeState& st, const Pin& p) {
  if (!st.SatView || !p.hasBand()) return;
  ChartModel& c = a.Chart1;
  const int N = p.N;
  if (p.L[kSpectrumMin] > -1000.0 && N > 1) {
    for (int k = 0; k < N; ++k) {
      if (!(p.L[k] > -10000.0)) continue;
      double y = p.level(k, p.f[k], st.CableFactor);
      if (!st.TerrView && st.CableFactor > 0) y -= SatSocketLoss;
      if (y > st.LevelMax) st.LevelMax = y;
      if (y < st.LevelMin) st.LevelMin = y;
      c.addPoint(p.series(), p.f[k] / 1000.0, y, kBandLabel[p.b], kTapBandColor[p.b]);
    }
  }
  if (p.family != 42) {
    if (N > 1 && st.LevelMin - SatMinLevel < 3.0) {
      c.addPoint(0, p.f[0] / 1000.0, SatMinLevel, "min", kBlue);
      c.addPoint(0, p.f[N - 1] / 1000.0, SatMinLevel, "min", kBlue);
    }
    if (!st.TerrView && N > 1 && SatMaxLevel - st.LevelMax < 3.0) {
      c.addPoint(18, p.f[0] / 1000.0, SatMaxLevel - 1, "max", kRed);
      c.addPoint(17, p.f[0] / 1000.0, SatMaxLevel, "max", kRed);
      c.addPoint(17, p.f[N - 1] / 1000.0, SatMaxLevel, "max", kRed);
    }
  }
  if (st.CableFactor == 0 && p.M < p.L[kSpectrumMax] && N > 1) BandMarker(c, 17, p, p.M - 0.5, p.M, kRed, "max");
  if (p.code == 58000 && p.L[kSpectrumMin] < 45.0 && N > 1) BandMarker(c, 17, p, 45.1, 45.0, kBlue, "max");
  if (SatMinLevel + 3 > c.leftMaximum()) c.setLeftStartPosition(2);
}

void TapTerrestrialLevels(AnalyzerModel& a, ProbeState& st, const Pin& p) {
  if (!st.TerrView || p.id <= 100 || !(p.L[kSpectrumMin] > -1000.0) || !p.F) return;
  ChartModel& c = a.Chart2;
  const double* F = p.F;
  const int source = p.id - 105;
  if (source >= 0 && source < static_cast<int>(TerrMergedFlags.size()) && TerrMergedFlags[static_cast<std::size_t>(source)])
    c.addPoint(1, F[0], 0.0, "Terr.TV", kWhite);
  int k = 0;
  for (; k < kLevelEntries && F[k] != 0; ++k) {
    double y = p.level(k, F[k], st.CableFactor);
    if (!st.SatView && st.CableFactor > 0) y -= TerrSocketLoss;
    const bool carried = p.code == 59005 ? p.L[k] > -1000.0 : p.L[k] > -100000.0;
    if (4.0 < F[k] && F[k] < 863.0 && carried) {
      c.addPoint(1, F[k], y, "Terr.TV", kWhite);
      if (y > st.TerrLevelMax) st.TerrLevelMax = y;
      if (0 < y && y < st.TerrLevelMin) st.TerrLevelMin = y;
    }
  }
  if (st.TerrLevelMax > c.leftMaximum()) c.setLeftMaximum(st.TerrLevelMax + 3);
  if (st.TerrLevelMin < c.leftMinimum()) c.setLeftMinimum(st.TerrLevelMin - 3);
  if (k > 0) {
    const int e = k - 1;
    if (F[e] > 4.0 && p.chain < 108 && p.family != 42) c.addPoint(1, F[e], 0.0, "Terr.TV", kWhite);
  }

  const double lim = p.code == 59005 ? 30.0 : TerrMinLevel;
  if (lim > c.leftMaximum()) c.setLeftMaximum(lim + 1);
  if (p.L[kSpectrumMin] < lim) {
    c.clearSeries(0);
    const int k1 = FirstAtLeast(p.L, 0, -1000.0);
    if (k1 >= 0) {
      c.addPoint(0, F[k1], lim + 0.5, "min", kSilver);
      c.addPoint(0, F[k1], lim, "min", kSilver);
      c.addPoint(0, F[RunEnd(p.L, k1)], lim, "min", kBlue);
    }
  }
  if (st.CableFactor > 0 && c.leftMaximum() > TerrMaxLevel) {
    c.addPoint(2, st.TerrBandLow, TerrMaxLevel, "max", kRed);
    c.addPoint(2, st.TerrBandHigh, TerrMaxLevel, "max", kRed);
  }
  if (st.CableFactor == 0 && p.M < 200 && p.M < st.TerrLevelMax) {
    if (p.M < st.TerrLevelMin) c.setLeftMinimum(p.M - 3);
    const int k1 = FirstAtLeast(p.L, 0, -10000.0);
    if (k1 >= 0) {
      const int k2 = RunEnd(p.L, k1);
      c.addPoint(0, F[k1], p.M - 1, "max", kSilver);
      c.addPoint(0, F[k1], p.M, "max", kSilver);
      c.addPoint(0, F[k2], p.M, "max", kRed);
      c.addPoint(0, F[k2], 0.0, "max", kSilver);
    }
  }
}

double SocketLossFor(const ProbeState& st) { return st.CableFactor != 0 ? SatSocketLoss : 0.0; }

void IoSatelliteLevels(AnalyzerModel& a, const ProbeState& st, const Pin& p) {
  if (!(p.satelliteId() && p.chain < 50 && -11.0 < p.L[kSpectrumMin] && p.L[kSpectrumMin] < 10000.0) || !p.hasBand()) return;
  const double sl = SocketLossFor(st);
  for (int k = 0; k < p.N; ++k)
    if (p.L[k] > -100000.0)
      a.Chart1.addPoint(p.series(), p.f[k] / 1000.0, p.level(k, p.f[k], st.CableFactor) - sl, kBandLabel[p.b]);
}

void TrunkDisplay(AnalyzerModel& a, ProbeState& st, const Pin& p) {
  if (!((p.chain == 50 || p.id == 50) && p.port == 1)) return;
  ChartModel& c = a.Chart1;
  const double cf = st.CableFactor, sl = SocketLossFor(st);
  for (int band = 1; band <= 4; ++band) {
    const int m = 7 * (band - 1);
    if (!(p.Out[m] > 0)) continue;
    if (st.TrunkLevelMin > p.Out[m]) st.TrunkLevelMin = p.Out[m] - 1.466 * cf - sl;
    if (st.TrunkLevelMax < p.Out[m]) st.TrunkLevelMax = p.Out[m] - 0.975 * cf - sl;
    for (int j = 0; j < 7; ++j)
      c.addPoint(4 * p.s + band, kTrunkGHz[j], p.Out[m + j] + kTrunkOffset[band] - kTrunkCable[j] * cf - sl,
                 kBandLabel[band]);
  }
  // Points that only widen the axis range to the curves' span. A trunk that carries no band
  // leaves the trackers at their start values, a million dB off: no range points then, or the
  // axis would flatten every curve.
  if (st.TrunkLevelMax > ProbeState{}.TrunkLevelMax) {
    c.addPoint(4 * p.s + 5, 0.95, st.TrunkLevelMax + 3, "VHi");
    c.addPoint(4 * p.s + 5, 0.951, st.TrunkLevelMax + 3, "VHi");
  }
  if (st.TrunkLevelMin < ProbeState{}.TrunkLevelMin) {
    c.addPoint(4 * p.s + 6, 2.149, st.TrunkLevelMin - 3, "VHi");
    c.addPoint(4 * p.s + 6, 2.15, st.TrunkLevelMin - 3, "VHi");
  }
  if (cf > 0 && p.b < 5 && p.Out[kSpectrumMin] - 1.466 * cf - sl < SatMinLevel) {
    c.clearSeries(0);
    if (p.chain == 50) c.addPoint(0, 0.95, SatMinLevel, "max", kBlue);
    else if (p.hasBand()) c.addPoint(0, p.fAt(0) / 1000.0, SatMinLevel, "max", kBlue);
    const double x = c.bottomMaximum();
    c.addPoint(0, x, SatMinLevel, "max", kBlue);
    c.addPoint(0, x, SatMinLevel + 0.5, "max", kSilver);
  }
}

void IoTerrestrialLevels(AnalyzerModel& a, ProbeState& st, const Pin& p) {
  if (!(p.s > 9 && p.L[kSpectrumMax] > 0)) return;
  ChartModel& c = a.Chart2;
  const double* F = p.F;
  const bool source = p.id > 100 && F;
  int visited = 0;
  if (source) {
    c.addPoint(1, F[0], 0.0, "Terr.TV", kWhite);
    st.RecordSource(p.Frow, p.node, p.port);
    for (; visited < kLevelEntries && F[visited] != 0; ++visited) {
      const int k = visited;
      const double y = st.CableFactor == 0 ? p.L[k] : p.level(k, F[k], st.CableFactor) - TerrSocketLoss;
      if (4.0 < F[k] && F[k] < 863.0 && (p.L[k] > -10000.0 || p.L[k] < -10000000.0))
        c.addPoint(1, F[k], y, "Terr.TV", kWhite);
      if (y > st.LevelMax) st.LevelMax = y;
      if (0 < y && y < st.LevelMin) st.LevelMin = y;
    }
  }
  if (st.LevelMax > c.leftMaximum()) c.setLeftMaximum(st.LevelMax + 3);
  if (st.LevelMin - 3 < c.leftMinimum()) c.setLeftMinimum(st.LevelMin - 3);
  if (source && visited > 0) c.addPoint(1, F[visited - 1], 0.0, "Terr.TV", kWhite);
  if (st.CableFactor > 0 && TerrMinLevel >= p.L[kSpectrumMin]) {
    c.addPoint(0, st.TerrBandLow, TerrMinLevel, "min", kBlue);
    c.addPoint(0, st.TerrBandHigh, TerrMinLevel, "min", kBlue);
  }
}

void SatelliteMaximumMarkers(AnalyzerModel& a, const ProbeState& st, const Pin& p) {
  const double lim = st.CableFactor == 0 ? p.M : static_cast<double>(TruncToZero(SatMaxLevel));
  if (!(p.satelliteId() && lim < p.Out[kSpectrumMax] && p.code > 1000)) return;
  ChartModel& c = a.Chart1;
  c.clearSeries(17);
  if (!(lim < kNoLimit && (p.family != 13 || st.CableFactor > 0))) return;
  if (p.chain == 50) {
    c.addPoint(17, 0.95, lim - 0.5, "max", kSilver);
    c.addPoint(17, 0.95, lim, "max", kSilver);
    c.addPoint(17, 2.15, lim, "max", kRed);
  } else if (!p.hasBand()) {
    return;
  } else if (p.family == 42) {
    // The marker spans the entries on both sides of the tuned transponder.
    const int k = FirstBandEntryFrom(p, st.LinkFreq);
    if (k < 0) return;
    c.addPoint(17, p.fAt(k - 1) / 1000, lim - 0.5, "max", kSilver);
    c.addPoint(17, p.fAt(k - 1) / 1000, lim, "max", kSilver);
    c.addPoint(17, p.fAt(k + 1) / 1000, lim, "max", kRed);
  } else {
    const int k1 = FirstAtLeast(p.L, 1, -1000.0);
    if (k1 < 0) return;
    int k2 = FirstAtMost(p.L, k1, -1000.0);
    if (k2 < 0) k2 = kLevelEntries;
    c.addPoint(17, p.fAt(k1 - 1) / 1000, lim - 0.5, "max", kSilver);
    c.addPoint(17, p.fAt(k1 - 1) / 1000, lim, "max", kSilver);
    c.addPoint(17, p.fAt(k2 - 1) / 1000, lim, "max", kRed);
  }
}

void StreamerWindows(AnalyzerModel& a, const ProbeState& st, const Pin& p) {
  if (p.code == 58000 && p.In[kSpectrumMin] < 45.0) {
    ChartModel& c = a.Chart1;
    c.clearSeries(17);
    const int k = p.hasBand() ? FirstBandEntryFrom(p, st.LinkFreq) : -1;
    if (k >= 0) {
      c.addPoint(17, p.fAt(k - 1) / 1000, 45.5, "min", kSilver);
      c.addPoint(17, p.fAt(k - 1) / 1000, 45.0, "min", kSilver);
      c.addPoint(17, p.fAt(k + 1) / 1000, 45.0, "min", kBlue);
    }
  }
  if (p.code == 59005) {
    const int pair = p.id - 105;
    if (pair < 0 || 2 * pair >= static_cast<int>(TerrSpectra.size())) return;
    const double* F = TerrSpectra[static_cast<std::size_t>(2 * pair)].data();
    int k = -1;
    for (int e = 0; e < kLevelEntries && k < 0; ++e)
      if (F[e] >= st.LinkFreq) k = e;
    if (k < 0) return;
    // Neighbours of the tuned channel stay inside the channel row.
    const double below = F[std::max(k - 1, 0)];
    const double above = F[std::min(k + 1, std::max(LastFrequency(F), k))];
    ChartModel& c = a.Chart2;
    if (p.In[kSpectrumMin] < 30.0) {
      c.addPoint(0, below, 30.0, "min", kBlue);
      c.addPoint(0, above, 30.0, "min", kBlue);
      if (c.leftMaximum() < 30) c.setLeftMaximum(33);
    }
    if (p.In[kSpectrumMax] > 80.0) {
      c.addPoint(0, below, 80.0, "min", kRed);
      c.addPoint(0, above, 80.0, "min", kRed);
      if (c.leftMinimum() > 80) c.setLeftMinimum(80);
    }
  }
}

void TerrestrialMaximumLine(AnalyzerModel& a, const ProbeState& st, const Pin& p) {
  const double limT = st.CableFactor == 0 ? p.M : static_cast<double>(TruncToZero(TerrMaxLevel));
  if (!(limT < p.Out[kSpectrumMax] && p.s > 9 && p.code > 1000 && p.family != 13 && p.port > 0)) return;
  double lo, hi;
  // The three paths of the kind-88 channel amplifier cover fixed bands.
  if (p.code == 88005) lo = 470, hi = 790;
  else if (p.code == 88105) lo = 174, hi = 260;
  else if (p.code == 88205) lo = 88, hi = 108;
  else if (p.F) lo = p.F[0], hi = p.F[LastFrequency(p.F)];
  else return;
  ChartModel& c = a.Chart2;
  c.addPoint(2, lo, limT, "max", kRed);
  c.addPoint(2, hi, limT, "max", kRed);
  if (limT - 1 < c.leftMinimum()) c.setLeftMinimum(c.leftMinimum() - 3);
}

}  // namespace

void FillPinCharts(AnalyzerModel& a, ProbeState& st, int node, int port) {
  if (!ValidNode(node) || static_cast<std::size_t>(node) >= NodeSpectra.size() || port < 0 || port > 5) return;
  const Pin p = ReadPin(node, port);
  FitTerrestrialAxis(a.Chart2, st, p);
  SetLinkFrequency(st, p);

  const bool tapBranch = port >= 2 || (p.family == 42 && p.feedPort > 1.1);
  const bool ioBranch = port <= 1 && p.id > 0 &&
                        ((p.family != 42 && (port == 0 || (port == 1 && p.family < 92))) ||
                         (p.family == 42 && p.feedPort < 1.1));
  if (tapBranch) {
    TapSatelliteLevels(a, st, p);
    TapTerrestrialLevels(a, st, p);
  }
  if (port <= 1) DrawPinBars(a, node, port);
  if (!ioBranch) return;
  SecondLayoutStep(a, st, node);
  IoSatelliteLevels(a, st, p);
  TrunkDisplay(a, st, p);
  IoTerrestrialLevels(a, st, p);
  SatelliteMaximumMarkers(a, st, p);
  StreamerWindows(a, st, p);
  TerrestrialMaximumLine(a, st, p);
}

}  // namespace kavrix
