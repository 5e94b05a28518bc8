#include "simulation/level_marks.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "catalogue/port_templates.hpp"
#include "catalogue/type_catalogue.hpp"
#include "engine/propagation.hpp"
#include "model/panel_encodings.hpp"
#include "model/run_records.hpp"
#include "model/source_tables.hpp"
#include "simulation/run_steps.hpp"

namespace kavrix {
namespace marks {

namespace {


constexpr int kDeviceMarkBound = 5000;
constexpr int kOutputMarkBound = 2000;
constexpr double kHangsOnPort = 1.1;        // ObjValues field 1 of a link unit: hops to a port
constexpr double kStreamerMinInput = 40.0;
constexpr double kConverterMaxInput = 85.0;
constexpr double kConverterMinInput = 45.0;
constexpr int kOpticalOffset = 10000;       // template level field of optical limits, dBm + 10000

// Carriers of an LNB band, or 0 when the id names none.
int BandCarriers(int id) {
  const int slot = SatSlotOf(id), band = BandOf(id);
  return ValidSatSlot(slot) && band >= 1 && band <= 4 ? LnbParams[slot][band - 1][kLnbCarriers] : 0;
}

const TemplateRow& TypeTemplateRow(int kind, int offset) {
  return PortTemplates[static_cast<std::size_t>(TypeOf(kind)[kFirstTemplateRow]) + static_cast<std::size_t>(offset)];
}

}  // namespace

void MarkWriter::mark(int kind, int x, int y) {
  if (m_sink) {
    m_sink->push_back({kind, x, y});
    return;
  }
  LevelMarks[m_w] = {kind, x, y};
  if (m_w < m_bound) ++m_w;
}

double LinkUnitThreshold(int code) { return code == kCodeSatLinkUnit ? 45.0 : 30.0; }

namespace {
int LowestPinOfClass(int cls) { return (cls == 81 || cls == 37 || cls == 42 || cls > 90) ? 0 : 1; }
}  // namespace

int LowestPin(int u) { return LowestPinOfClass(NodeClass(u)); }

int HighestPin(int u) { return Nodes[u][kNodePort2Link] == kNoPort ? 1 : 5; }

int PortWithOwnLimit(int u, int last, int q) {
  int port = -1;
  const int output = Nodes[u][kNodeCode] / 100;
  for (int m = u; m < last && Nodes[m][kNodeCode] / 100 == output; ++m)
    if (q > 1 && Nodes[m][PortLink(q)] < kPortFree) port = q;
  return port;
}

bool ProbePin(int u, int q, PinProbe& p) { return ProbePin(u, q, NodeClass(u), p); }

bool ProbePin(int u, int q, int cls, PinProbe& p) {
  const NodeRow& r = Nodes[u];
  p = PinProbe{};
  p.node = u;
  p.q = q;
  p.code = r[kNodeCode];
  p.cls = cls;
  const int id = r[kNodeSourceId];
  p.carriers = id < kSatIdLimit ? BandCarriers(id) : 20;
  p.x = r[PinX(q)];
  p.y = r[PinY(q)];
  if (!(p.x < 1000000) || !NamesSource(id)) return false;
  p.kind = NodeKind(u);
  p.row = r[kNodeObject];
  const double* spq = SpectrumPeek(u, q);
  const TemplateRow& firstRow = TypeTemplateRow(p.kind, 0);
  if (p.cls == 91 && q < 2) {
    p.level = spq[kSpectrumOptical];
    p.limit = firstRow[kTplMaxLevel] - kOpticalOffset;
  } else {
    p.level = spq[kSpectrumMax];
    p.limit = p.cls == 42 ? firstRow[kTplMaxLevel] : r[kNodeMaxLevel];
  }
  p.hang = ValidObjRow(p.row) ? ObjValues[p.row][kObjValuePort] : 0.0;
  return true;
}

// Pin q above the node's maximum (a link unit's only where it hangs on a port).
void MarkAboveMaximum(const PinProbe& p, MarkWriter& w) {
  if (p.code > 1000 && p.level > p.limit && (p.q == LowestPin(p.node) || p.q > 1) && p.level < 100000 && p.cls != 13 &&
      p.cls != 37 && (p.cls != 42 || p.hang > kHangsOnPort))
    w.mark(kLevelAboveMax, p.x, p.y);
}

// A link unit hanging on a port whose lowest input carrier misses the unit's threshold.
void MarkLinkUnitOnPort(PinProbe& p, MarkWriter& w) {
  if (p.cls != 42 || !(p.hang > kHangsOnPort)) return;
  const NodeRow& r = Nodes[p.node];
  if (SpectrumPeek(p.node, 0)[kSpectrumMin] < LinkUnitThreshold(p.code)) {
    w.mark(kLevelBelowMin, r[kNodeInX], r[kNodeInY]);
    p.marked = true;
  }
}

// The streamer's terrestrial input below 40 dBuV.
void MarkStreamerInput(PinProbe& p, MarkWriter& w) {
  if (p.code != kCodeStreamerInput || !(SpectrumPeek(p.node, 0)[kSpectrumMin] < kStreamerMinInput)) return;
  const NodeRow& r = Nodes[p.node];
  w.mark(kLevelBelowMin, r[kNodeInX], r[kNodeInY]);
  p.marked = true;
}

// A link unit on a main output: its carrier at the input below the threshold or above the
// limit, or the unit set to another source than the one reaching it.
void MarkLinkUnitOnOutput(PinProbe& p, MarkWriter& w) {
  if (p.cls != 42 || !(p.hang < kHangsOnPort) || !ValidObjRow(p.row)) return;
  const NodeRow& r = Nodes[p.node];
  const int id = r[kNodeSourceId];
  const double* in = SpectrumPeek(p.node, 0);
  const int inst = NetObjects[p.row][kInst];
  double f = inst;
  const bool cont = ValidObjRow(p.row + 1);
  if (p.code == kCodeSatLinkUnit && cont) f = static_cast<double>(panel::StreamerIfMHz(inst, NetObjects[p.row + 1]));
  // Position of the unit's frequency in its source's plan.
  int x = -1;
  if (p.code == kCodeSatLinkUnit) {
    const int slot = SatSlotOf(id), band = BandOf(id);
    if (ValidSatSlot(slot) && band >= 1 && band <= 4)
      for (int e = 0; e < kSatRows; ++e)
        if (SatTables[slot][SatFreqColumn(band - 1)][e] >= f) {
          x = e;
          break;
        }
  } else {
    const int pair = TerrPairOf(id);
    if (pair >= 0)
      for (int e = 0; e < 101; ++e)
        if (TerrSpectra[2 * pair][e] >= f) {
          x = e;
          break;
        }
  }
  // The source id the unit's settings select, as node building reads them.
  int32_t expected = 0;
  if (p.code == kCodeSatLinkUnit && cont) {
    const ObjRow& settings = NetObjects[p.row + 1];
    // Settings that select no source leave 0.
    panel::StreamerSourceId(settings[kStreamerSource], settings[kStreamerPolarisation], inst, expected);
  }
  const double inX = (x >= 0 && x < 100) ? in[x] : kNoSignal;
  if (inX < LinkUnitThreshold(p.code) || (p.code == kCodeSatLinkUnit && id != expected) ||
      (p.code == kCodeTerrLinkUnit && id < kSatIdLimit)) {
    w.mark(kLevelBelowMin, r[kNodeInX], r[kNodeInY]);
    p.marked = true;
  }
  if (inX > p.limit) {
    w.mark(kLevelAboveMax, r[kNodeInX], r[kNodeInY]);
    p.marked = true;
  }
}

// The channel converter's inputs above 85 or below 45 dBuV.
void MarkConverterInput(const PinProbe& p, MarkWriter& w) {
  if (!(p.code > kCodeConverterInput && p.code < kCodeConverterTerr) || p.q != 0) return;
  const NodeRow& r = Nodes[p.node];
  if (SpectrumPeek(p.node, 0)[kSpectrumMax] > kConverterMaxInput) w.mark(kLevelAboveMax, r[kNodeInX], r[kNodeInY]);
  if (SpectrumPeek(p.node, 0)[kSpectrumMin] < kConverterMinInput) w.mark(kLevelBelowMin, r[kNodeInX], r[kNodeInY]);
}

// A port's lowest carrier below the minimum outlet level, unless a link unit's own limit
// governs that port or the input is marked already.
void MarkPortBelowMinimum(const PinProbe& p, int portSkip, MarkWriter& w) {
  const double lowest = SpectrumPeek(p.node, p.q)[kSpectrumMin];
  const int id = Nodes[p.node][kNodeSourceId];
  if (p.carriers > 0 && p.q > 1 && !p.marked && -1001 < lowest &&
      ((id < kSatIdLimit && lowest < SatMinLevel) || (id > kSatIdLimit && lowest < TerrMinLevel)) && portSkip != p.q)
    w.mark(kLevelBelowMin, p.x, p.y);
}

// An optical receiver's input below its minimum optical level, a transmitter's input 20 dB
// below its maximum.
void MarkOpticalInput(const PinProbe& p, MarkWriter& w) {
  if ((p.cls != 91 && p.cls != 92) || p.q != 0 || p.carriers <= 0) return;
  const NodeRow& r = Nodes[p.node];
  double level, limit;
  if (p.cls == 91) {
    level = SpectrumPeek(p.node, 0)[kSpectrumOptical];
    limit = TypeTemplateRow(p.kind, 1)[kTplMaxLevel] - kOpticalOffset;
  } else {
    level = SpectrumPeek(p.node, 0)[kSpectrumMin];
    limit = r[kNodeMaxLevel] - 20;
  }
  if (-100 < level && level < limit) w.mark(kLevelBelowMin, r[kNodeInX], r[kNodeInY]);
}

// A single-cable output whose band has carriers but whose output carries none.
void MarkSingleCableOutput(int u, MarkWriter& w) {
  const NodeRow& r = Nodes[u];
  if (r[kNodeChainMark] != kChainSingleCable || BandCarriers(r[kNodeSourceId]) <= 0) return;
  const double lowest = SpectrumPeek(u, 1)[kSpectrumMin];
  if (lowest > 100000 || lowest < 0) w.mark(kLevelBelowMin, r[kNodeOutX], r[kNodeOutY]);
}

// A mode-'0' output: a node of the object without a source, or a band of LNB A with carriers
// missing from the 28-point grid.
void MarkBandGridOutput(int u, int lo, int hi, MarkWriter& w) {
  const NodeRow& r = Nodes[u];
  if (r[kNodeChainMark] != kChainBandGrid) return;
  bool missing = false;
  for (int m = lo; m <= hi; ++m)
    if (Nodes[m][kNodeSourceId] == 0 && Nodes[m][kNodeChainMark] < 100) missing = true;
  if (missing) w.mark(kLevelBelowMin, r[kNodeOutX], r[kNodeOutY]);
  if (NodeClass(u) == 81 && BandOf(r[kNodeSourceId]) != 4) return;
  const double* out = SpectrumPeek(u, 1);
  bool low = out[kSpectrumMin] > 100000;
  for (int b = 1; b <= 4 && !low; ++b) {
    if (LnbParams[0][b - 1][kLnbCarriers] <= 0) continue;
    for (int e = 7 * (b - 1); e < 7 * b; ++e)
      if (out[e] < 0) low = true;
  }
  if (low) w.mark(kLevelBelowMin, r[kNodeOutX], r[kNodeOutY]);
}

void DeviceMarks(int nb, MarkWriter& w) {
  w.setBound(kDeviceMarkBound);
  const int first = std::max(SourceCount, 0);
  const int last = std::min(nb, static_cast<int>(Nodes.size()));
  // One sweep over the nodes collects the marks of each pin q apart; they are written out pin by
  // pin, in the order of a sweep per pin.
  static std::array<std::vector<LevelMark>, 6> byPin;
  for (auto& v : byPin) v.clear();
  std::array<int, 6> portSkip;
  portSkip.fill(-1);
  PinProbe p;
  for (int u = first; u < last; ++u) {
    NodeSpectra.prefetch(static_cast<std::size_t>(u) + 8, true);
    if (u > 0 && Nodes[u][kNodeCode] / 100 != Nodes[u - 1][kNodeCode] / 100)
      for (int q = 0; q <= 5; ++q) portSkip[static_cast<std::size_t>(q)] = PortWithOwnLimit(u, last, q);
    if (!NamesSource(Nodes[u][kNodeSourceId])) continue;  // ProbePin refuses every pin of such a node
    const int cls = NodeClass(u);
    const int highest = HighestPin(u);
    for (int q = LowestPinOfClass(cls); q <= highest; ++q) {
      if (!ProbePin(u, q, cls, p)) continue;
      MarkWriter collect(&byPin[static_cast<std::size_t>(q)]);
      MarkAboveMaximum(p, collect);
      MarkLinkUnitOnPort(p, collect);
      MarkStreamerInput(p, collect);
      MarkLinkUnitOnOutput(p, collect);
      MarkConverterInput(p, collect);
      MarkPortBelowMinimum(p, portSkip[static_cast<std::size_t>(q)], collect);
      MarkOpticalInput(p, collect);
    }
  }
  for (const auto& marks : byPin)
    for (const LevelMark& m : marks) w.mark(m.Kind, m.X, m.Y);
}

void OutputMarks(int nb, MarkWriter& w) {
  w.setBound(kOutputMarkBound);
  const int first = std::max(SourceCount, 0);
  const int lastOut = std::min(nb, static_cast<int>(Nodes.size()) - 1);
  // The object's nodes around u (lo..hi); the object is in use when any of them was linked.
  int lo = -1, hi = -1;
  bool inUse = false;
  for (int u = first; u <= lastOut; ++u) {
    if (u > hi) {
      const int row = Nodes[u][kNodeObject];
      lo = u;
      hi = u;
      while (lo > 0 && Nodes[lo - 1][kNodeObject] == row) --lo;
      while (hi + 1 < static_cast<int>(Nodes.size()) && Nodes[hi + 1][kNodeObject] == row) ++hi;
      inUse = false;
      for (int m = lo; m <= hi && !inUse; ++m) inUse = Nodes[m][kNodeNext] != 0;
    }
    if (!inUse) continue;
    MarkSingleCableOutput(u, w);
    MarkBandGridOutput(u, lo, hi, w);
  }
}

}  // namespace marks

void CollectLevelMarks(int nb) {
  marks::MarkWriter w;
  marks::DeviceMarks(nb, w);
  marks::OutputMarks(nb, w);
}

}  // namespace kavrix
