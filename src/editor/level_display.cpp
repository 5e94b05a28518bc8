#include "editor/level_display.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/forms.hpp"
#include "editor/analyzer_fill.hpp"
#include "model/network_model.hpp"
#include "model/number_text.hpp"
#include "model/source_tables.hpp"
#include "platform/platform.hpp"
#include "simulation/rf_run.hpp"
#include "engine/propagation.hpp"
#include "model/run_records.hpp"
#include "simulation/window/analyzer_window.hpp"

namespace kavrix {

std::optional<IntPoint> LastProbePoint;

namespace {
using namespace chart_colors;

constexpr int kNarrowHeight = 284;  // one chart
constexpr int kTallHeight = 460;    // both charts
constexpr int kNear = 6;            // a pin matches closer than this in both directions

// The first seven cable colours; the total-level bar takes a band's colour from them.
constexpr ChartColor kBandBarColor[8] = {kWhite, kGreen, kYellow, kGrey, kRed, kBlack, kWhite, kBlack};

// Highest bars that still leave their texts inside the one-chart window.
constexpr int kOpticalBarMax = 230;
constexpr int kTotalBarMax = 180;
// A total level below 50 dBuV hangs its bar below the base with the level text under it; the
// longest such bar still leaves the text inside the one-chart window (bar foot 240, text from 242
// in a client area 258 high).
constexpr int kTotalBarMin = -25;

bool Near(const ProbeState& st, int x, int y) {
  return std::llabs(static_cast<long long>(st.ProbeX) - x) < kNear &&
         std::llabs(static_cast<long long>(st.ProbeY) - y) < kNear;
}

double SocketCableFactor(int row) {
  if (!ValidObjRow(row)) return 0.0;
  const ObjRow& o = NetObjects[static_cast<std::size_t>(row)];
  return ValidCableKind(o[kStyle]) ? o[kInst] * CableCoef[static_cast<std::size_t>(o[kStyle])] : 0.0;
}

void SatelliteOnly(AnalyzerModel& a) {
  a.Chart2.Visible = false;
  a.Height = kNarrowHeight;
  a.Chart1.Top = 8;
}

void TerrestrialOnly(AnalyzerModel& a, int top) {
  a.Chart1.Visible = false;
  a.Height = kNarrowHeight;
  a.Chart2.Top = top;
}

void BothCharts(AnalyzerModel& a) {
  a.Chart1.Visible = a.Chart2.Visible = true;
  a.Height = kTallHeight;
  a.Chart1.Top = 8;
  a.Chart2.Top = 246;
}

// Sockets: an outlet point stands for the device port that feeds the socket, and the socket's
// cable is taken off the levels. Later rows are tested against the replaced point.
void MatchSockets(AnalyzerModel& a, ProbeState& st) {
  for (std::size_t r = 0; r < Links.size() && Links[r][kLinkSatX] != 0; ++r) {
    const LinkRow& l = Links[r];
    if (Near(st, l[kLinkSatX], l[kLinkSatY])) {
      st.ProbeX = l[kLinkX];
      st.ProbeY = l[kLinkY];
      st.CableFactor = SocketCableFactor(l[kLinkObject]);
      st.SatView = true;
      st.TerrView = false;
      SatelliteOnly(a);
    }
    if (Near(st, l[kLinkTerrX], l[kLinkTerrY])) {
      st.ProbeX = l[kLinkX];
      st.ProbeY = l[kLinkY];
      st.CableFactor = SocketCableFactor(l[kLinkObject]);
      st.SatView = false;
      st.TerrView = true;
      TerrestrialOnly(a, 8);
    }
  }
}

// Terrestrial extent over the plans of the first four terrestrial sources.
void TerrestrialBand(ProbeState& st) {
  if (!TerrPresent) return;
  for (std::size_t row = 0; row <= 6; row += 2)
    for (int k = 0; k < 100; ++k) {
      const double v = TerrSpectra[row][static_cast<std::size_t>(k)];
      if (!(v > 0)) continue;
      if (v <= st.TerrBandLow) st.TerrBandLow = v;
      if (v >= st.TerrBandHigh) st.TerrBandHigh = v;
    }
}

// Signalled stretches of a source's frequency row: a run starts at an entry with a level above
// 0 and goes on while the next entry's level is at least 1; a run that reaches the row's end
// closes at its last frequency.
//
// This departs from the scan as first laid out on purpose. There every search for the next run
// restarts on the last entry of the run before, so that entry starts a run of its own reaching
// one channel further, and of the second source only the last of its repeated searches counts:
// sources whose bands are apart, such as 474-490 and 498-514 MHz, were warned about. Here every
// entry belongs to at most one run, and every run of one source is compared with every run of
// the other.
struct Run {
  double low;
  double high;
};

std::vector<Run> SignalRuns(const std::array<double, kTerrEntries>& F, const double* L) {
  std::vector<Run> runs;
  int end = 0;
  while (end < 100 && F[static_cast<std::size_t>(end)] > 0) ++end;
  for (int k = 0; k < end; ++k) {
    if (!(L[k] > 0)) continue;
    int last = k;
    while (last + 1 < end && L[last + 1] >= 1.0) ++last;
    runs.push_back({F[static_cast<std::size_t>(k)], F[static_cast<std::size_t>(last)]});
    k = last;
  }
  return runs;
}

bool ValidTerrRow(int row) { return row >= 0 && static_cast<std::size_t>(row) < TerrSpectra.size(); }
bool ValidPort(int node, int port) {
  return ValidNode(node) && static_cast<std::size_t>(node) < NodeSpectra.size() && port >= 0 && port < kSpectraPerNode;
}

}  // namespace

void ProbeState::RecordSource(int row, int node, int port) {
  for (int i = 0; i < SourceRecordCount; ++i)
    if (SourceRecords[static_cast<std::size_t>(i)].row == row) return;
  if (SourceRecordCount < kMaxSourceRecords) SourceRecords[static_cast<std::size_t>(SourceRecordCount++)] = {row, node, port};
}

void NodePin(int node, int port, int& x, int& y) {
  const NodeRow& r = Nodes[static_cast<std::size_t>(node)];
  const int f = port == 0 ? 1 : port == 1 ? 3 : 2 * port + 1;
  x = r[static_cast<std::size_t>(f)];
  y = r[static_cast<std::size_t>(f) + 1];
}

ProbeOutcome ProbeLevels(AnalyzerModel& a, IntPoint at) {
  ProbeOutcome out;
  IntPoint point = at;
  if (a.Tag == 1) {
    a.Tag = 0;
    if (!LastProbePoint) return out;  // a filter chosen before any probe: nothing to show again
    point = *LastProbePoint;
  } else {
    LastProbePoint = at;
  }
  out.probed = true;

  // Old bars and texts go.
  a.Surface.Ops.clear();
  a.Surface.Brush = kSilver;
  a.Surface.Rectangle(0, 0, 800, 800);

  ProbeState st;
  st.ProbeX = point.X;
  st.ProbeY = point.Y;
  a.Chart2.Tag = 0;  // both charts are kept only for the click that asked for them
  TerrestrialBand(st);

  for (int i = 0; i <= 17; ++i) a.Chart1.clearSeries(i);
  for (int i = 0; i <= 2; ++i) a.Chart2.clearSeries(i);
  a.Chart1.setLeftStartPosition(0);

  MatchSockets(a, st);

  const std::size_t nodes = std::min(Nodes.size(), NodeSpectra.size());
  for (std::size_t n = 0; n < nodes && Nodes[n][kNodeCode] != 0; ++n) {
    const int node = static_cast<int>(n);
    if (!NamesSource(Nodes[n][kNodeSourceId])) continue;  // no source reaches it: nothing to chart
    const int code = Nodes[n][kNodeCode];
    const int family = NodeClass(node);
    const int kind = NodeKind(node);
    // Optical transmitters and the IP streamers show their input too.
    const int first = (family == 92 || code == 58000 || code == 59005) ? 0 : 1;
    for (int p = first; p <= 5; ++p) {
      // A port the node does not have keeps (0, 0) in its pin fields, or a line's length and
      // cable there: no pin to probe.
      if (p >= 2 && Nodes[n][static_cast<std::size_t>(PortLink(p))] == kNoPort) continue;
      int x, y;
      NodePin(node, p, x, y);
      if (!Near(st, x, y)) continue;
      ++out.matchedPins;
      const bool charted = family < 91 || kind == 143 || kind == 146;
      if (st.SatView && charted) a.Chart1.Visible = true;
      if (st.TerrView && charted) a.Chart2.Visible = true;
      if (st.SatView && st.TerrView && (family < 91 || kind == 143)) BothCharts(a);
      a.Visible = true;
      FillPinCharts(a, st, node, p);
    }
  }

  for (int j = 1; j < st.SourceRecordCount && !out.bandsOverlap; ++j)
    for (int i = 0; i < j && !out.bandsOverlap; ++i) {
      const auto& A = st.SourceRecords[static_cast<std::size_t>(j)];
      const auto& B = st.SourceRecords[static_cast<std::size_t>(i)];
      out.bandsOverlap = SourceBandsOverlap(A.row, B.row, A.node, A.port, B.node, B.port);
    }
  return out;
}

void SecondLayoutStep(AnalyzerModel& a, ProbeState& st, int node) {
  const NodeRow& r = Nodes[static_cast<std::size_t>(node)];
  const int code = r[kNodeCode], id = r[kNodeSourceId], chain = r[kNodeChainMark];
  const int family = NodeClass(node);
  a.Chart1.Visible = a.Chart2.Visible = true;
  // Trunk and single-cable chains carry both bands: both charts stay for the rest of the click.
  if (st.CableFactor == 0 &&
      (chain == 50 || chain == 48 || (family == 81 && (code % 1000) / 100 > 0) || NodeKind(node) == 108)) {
    a.Chart2.Tag = 1;
    BothCharts(a);
    return;
  }
  if (id > 100) st.SatView = false;
  const bool free = a.Chart2.Tag == 0;
  if (st.SatView && free && st.CableFactor > 0) SatelliteOnly(a);
  if (st.TerrView && free && st.CableFactor > 0) TerrestrialOnly(a, 60);
  // A terrestrial source at a socket's satellite outlet leaves neither view on, yet its levels
  // are charted there: the terrestrial chart stands alone, not as a strip cut off below an empty
  // satellite chart in the one-chart window.
  if (id > 100 && !st.SatView && !st.TerrView && free && st.CableFactor > 0) TerrestrialOnly(a, 60);
  const bool satellite = id > 0 && id < 50 && id % 10 >= 1 && id % 10 <= 4;
  if (satellite && free && st.CableFactor == 0) SatelliteOnly(a);
  if (id > 100 && free && st.CableFactor == 0) TerrestrialOnly(a, 60);
}

void DrawPinBars(AnalyzerModel& a, int node, int port) {
  const NodeRow& r = Nodes[static_cast<std::size_t>(node)];
  const int family = NodeClass(node);
  if (port == 1 && family > 91 && family < 100 && NodeSpectra(static_cast<std::size_t>(node), 1, kSpectrumOptical) > -100.0)
    DrawOpticalPowerBar(a, node);
  if (port != 0 || family != 92) return;
  const double total = NodeSpectra(static_cast<std::size_t>(node), 0, kSpectrumMax);
  if (!(1.0 < total && total < 1000.0)) return;
  const int id = r[kNodeSourceId], M = r[kNodeMaxLevel], object = r[kNodeObject];
  if (id > 0 && id < 50 && id % 10 >= 1 && id % 10 <= 4) {
    DrawTotalLevelBar(a.Surface, M, M - 20, 215, total, id % 10);
  } else if (id > 100 && object >= 0 && static_cast<std::size_t>(object) < ObjValues.size() &&
             ObjValues[static_cast<std::size_t>(object)][kObjValueSum] > 0) {
    // Terrestrial channels: the run leaves their summed power as a linear value.
    DrawTotalLevelBar(a.Surface, M, M - 20, 215, 10.0 * std::log10(ObjValues[static_cast<std::size_t>(object)][kObjValueSum]), 5);
  }
}

void DrawOpticalPowerBar(AnalyzerModel& a, int node) {
  const double P = NodeSpectra(static_cast<std::size_t>(node), 1, kSpectrumOptical);
  const int wavelength = Nodes[static_cast<std::size_t>(node)][kNodeWavelength];
  a.Chart1.Visible = a.Chart2.Visible = false;
  a.Height = kNarrowHeight;
  SurfaceModel& s = a.Surface;
  s.Brush = kSilver;
  // The scale has no height from 7 dBm on (its logarithm reaches 0): no bar then, the power text
  // stands at the top.
  const double d = std::log(8.0 - P);
  const bool bar = std::isfinite(P) && d > 0;
  int h = kOpticalBarMax;
  if (bar) h = static_cast<int>(std::clamp(static_cast<double>(RoundHalfEven(std::min(150.0 / d, 1e6))) + 10.0, 0.0,
                                           static_cast<double>(kOpticalBarMax)));
  const int x0 = static_cast<int>(TruncToZero((wavelength + 1600) / 2.0));
  if (std::isfinite(P)) s.TextOut(x0 + 2, 235 - h, FormatFixed(P, 2) + " dBm");
  s.Brush = kYellow;
  if (bar) s.Rectangle(x0, 250, x0 + 50, 250 - h);
  s.TextOut(x0 + 5, 235, std::to_string(std::llabs(wavelength)) + "nm");
}

void DrawTotalLevelBar(SurfaceModel& s, int maxLevel, int minLevel, int base, double level, int bandCode) {
  s.TextOut(300, 9, "Total level:");
  s.TextOut(309, 22, "(dBuV)");
  const int code = bandCode == 5 ? 6 : bandCode;
  s.Brush = code >= 1 && code <= 7 ? kBandBarColor[code] : kWhite;
  // The scale runs from 50 dBuV at the base to maxLevel 150 pixels above it, and below the base
  // for lower levels, so a weak input shows as a weak input and not as none; without a span
  // (maxLevel 50) or without a level there is no bar.
  const double span = static_cast<double>(maxLevel) - 50.0;
  const bool bar = span != 0 && std::isfinite(level);
  int h = 0;
  if (bar) {
    h = static_cast<int>(TruncToZero(std::clamp((level - 50) * 150 / span, static_cast<double>(kTotalBarMin),
                                                static_cast<double>(kTotalBarMax))));
    s.Rectangle(310, base - h, 340, base);
  }
  s.PenWidth = 2;
  s.Pen = kRed;
  s.MoveTo(300, base - 150);
  s.LineTo(348, base - 150);
  s.Pen = kBlue;
  if (span != 0) {
    const double raw = std::clamp((minLevel - 50.0) * 150 / span, static_cast<double>(base - 250), static_cast<double>(base));
    const int y = base - static_cast<int>(TruncToZero(raw));
    s.MoveTo(300, y);
    s.LineTo(348, y);
  }
  s.Pen = kBlack;
  s.PenWidth = 1;
  if (std::isfinite(level)) s.TextOut(311, base - h + 2, FormatFixed(level, 2));
}

bool SourceBandsOverlap(int rowA, int rowB, int nodeA, int portA, int nodeB, int portB) {
  if (!ValidTerrRow(rowA) || !ValidTerrRow(rowB) || !ValidPort(nodeA, portA) || !ValidPort(nodeB, portB))
    return false;
  const std::vector<Run> a =
      SignalRuns(TerrSpectra[static_cast<std::size_t>(rowA)], NodeSpectra.at(static_cast<std::size_t>(nodeA), portA));
  const std::vector<Run> b =
      SignalRuns(TerrSpectra[static_cast<std::size_t>(rowB)], NodeSpectra.at(static_cast<std::size_t>(nodeB), portB));
  for (const Run& ra : a)
    for (const Run& rb : b)
      if (ra.low <= rb.high && ra.high >= rb.low) return true;
  return false;
}

void LevelProbe(int canvasX, int canvasY, QObject* sender) {
  if (!Form4) return;
  if (sender && sender == static_cast<QObject*>(Form4)) Form4->Tag = 1;
  Form4->ReadWindowState();
  const ProbeOutcome o = ProbeLevels(Form4->Model(), {canvasX, canvasY});
  if (!o.probed) return;
  Form4->ShowModel();
  if (o.bandsOverlap) platform::ShowMessage(kOverlapWarning);
}

}  // namespace kavrix
