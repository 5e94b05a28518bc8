// Cascadable single-cable units. The through lines and all terrestrial paths are interpolated;
// a subscriber output regenerates each carrier from its input level and the band's mean level,
// and on a line carrying the 28-point band grid it marks whole bands present or absent from the
// lowest through level of each band (input entry 101 of the band's nodes).
#include "engine/node_frame.hpp"
#include "engine/tables_single_cable.hpp"
#include "model/panel_encodings.hpp"
#include "model/source_tables.hpp"

namespace kavrix::engine {
namespace {

constexpr int kBandPoints = 7;
constexpr int kBandGridEntries = 28;

constexpr double kPresentAbove = 59.0;
constexpr double kPresentBelow = 10000.0;
constexpr double kBandPresent = 84.0;
constexpr double kBandAbsent = -1000.0;
constexpr double kRegenReference = 78.0;
constexpr double kLowInputGain = 16.5;
constexpr double kMuted = -10.0;
constexpr double kMuteBelow = 50.0;
constexpr double kRegenFrom = 60.0;

int IndexAtMost(const Grid& g, double f) {
  int i = 0;
  while (i < g.last && g.pts[i] < f) ++i;
  return i;
}

bool SameObjectGroup(std::size_t j, const NodeRow& me, int group) {
  const NodeRow& r = Nodes[j];
  return r[kNodeObject] == me[kNodeObject] && r[kNodeCode] > 0 && CodeGroup(r[kNodeCode]) == group;
}

// Frequencies a node is evaluated over: the running source's list for the node being
// computed, the band's own carrier column for the other band nodes of the group.
struct CarrierList {
  std::array<double, 100> f{};
  int kFirst = 0;
  int kLast = -1;
};

bool OwnBandCarriers(int sid, const NodeFrame& fr, CarrierList& out) {
  const int slot = sid / 10;
  const int band = sid % 10;
  if (sid < 0 || !ValidSatSlot(slot) || band < 1 || band > 4) return false;
  const auto& col = SatTables[static_cast<std::size_t>(slot)][static_cast<std::size_t>(SatFreqColumn(band - 1))];
  int count = 0;
  for (int r = 0; r < kSatRows; ++r) out.f[static_cast<std::size_t>(r)] = col[static_cast<std::size_t>(r)];
  while (count < kSatRows && out.f[static_cast<std::size_t>(count)] > 0) ++count;
  if (fr.freqIndex < 0) {
    out.kFirst = 0;
    out.kLast = count - 1;
  } else {
    out.kFirst = out.kLast = fr.freqIndex;
  }
  return true;
}

// The single-cable level rule on node j over the carriers f[kFirst..kLast].
void Regenerate(std::size_t j, const Grid& g, const double* f, int kFirst, int kLast) {
  const double* in = NodeSpectra.at(j, 0);
  double* out = NodeSpectra.at(j, 1);
  const double lo = g.pts[0];
  const double hi = g.pts[g.last];
  double sum = 0.0;
  int n = 0;
  for (int k = kFirst; k <= kLast; ++k)
    if (f[k] >= lo && f[k] <= hi && in[k] > 0.0) {
      sum += in[k];
      ++n;
    }
  const double avg = n > 0 ? sum / n : 0.0;
  for (int k = kFirst; k <= kLast; ++k) {
    if (f[k] < lo) continue;
    const double x = in[k];
    out[k] = x < kMuteBelow ? kMuted : x < kRegenFrom ? x + kLowInputGain : kRegenReference + x - avg;
  }
}

double BandLevel(std::size_t m, const NodeRow& me, int group) {
  if (m >= Nodes.size() || !SameObjectGroup(m, me, group)) return kBandAbsent;
  const double mn = NodeSpectra(m, 0, kSpectrumMin);
  return mn > kPresentAbove && mn < kPresentBelow ? kBandPresent : kBandAbsent;
}

void WriteBand(std::size_t j, int band, double v) {
  double* out = NodeSpectra.at(j, 1);
  for (int e = 0; e < kBandPoints; ++e) out[kBandPoints * (band - 1) + e] = v;
}

// Present/absent marks of the 28-point band grid on the group's path nodes.
void BandGridBands(const NodeFrame& fr, const NodeRow& me) {
  const int b = BandOf(me[kNodeSourceId]);
  if (b < 1 || b > 4) return;
  const int n = fr.node;
  const int from = b < 4 ? n - (b - 1) : n - 3;
  const int to = b < 4 ? n + (4 - b) : n;
  for (int jj = from; jj <= to; ++jj) {
    if (jj < 0) continue;
    const std::size_t j = static_cast<std::size_t>(jj);
    if (j >= Nodes.size() || !SameObjectGroup(j, me, fr.group) || Nodes[j][kNodeChainMark] != kChainBandGrid) continue;
    if (b < 4) {
      WriteBand(j, b, BandLevel(static_cast<std::size_t>(n), me, fr.group));
      continue;
    }
    for (int m = 1; m <= 4; ++m) {
      const int src = n - 4 + m;
      WriteBand(j, m, src < 0 ? kBandAbsent : BandLevel(static_cast<std::size_t>(src), me, fr.group));
    }
  }
}

void SingleCableBlock(const NodeFrame& fr) {
  const tables::SingleCable* t = tables::SingleCableTable(fr.category);
  if (!t) return;
  const NodeRow& me = *fr.row;
  const bool glim2 = fr.category == 182;
  const bool terrCase = fr.path == kTerrestrialPath || me[kNodeSourceId] > kSatIdLimit;
  const Grid g = FreqGridRow(terrCase ? 1 : t->satRow);
  const double lo = g.pts[0];
  const double top = g.pts[g.last] + 1.0;
  double* in = fr.spectrum(0);
  double* out = fr.spectrum(1);

  const bool throughLine = fr.group == 0 && fr.path >= 1 && fr.path <= 4;
  const double* col = nullptr;
  int stride = 0;
  if (throughLine) {
    col = &t->through[0][static_cast<std::size_t>(fr.path - 1)];
    stride = 4;
  } else if (fr.path == kTerrestrialPath && fr.group >= 0 && fr.group < t->groups) {
    const int objRow = me[kNodeObject];
    const bool passive = fr.category == 183 && ValidObjRow(objRow) &&
                         panel::IsTerrTvPassive(NetObjects[static_cast<std::size_t>(objRow)][kInst]);
    col = &(passive ? t->terrPassive : t->terr)[0][static_cast<std::size_t>(fr.group)];
    stride = tables::kSingleCableMaxGroups;
  }

  if (col) {
    for (int k = fr.kFirst; k <= fr.kLast; ++k) {
      const double f = FreqList[k];
      if (f < lo) continue;
      if (f < top) out[k] = in[k] + InterpColumn(g, IndexAtMost(g, f), f, col, stride);
      if (throughLine && in[k] < in[kSpectrumMin] && in[k] > kNoSignal) in[kSpectrumMin] = in[k];
    }
  }

  if (fr.group == 0) {
    // Hand the band's lowest through level to the subscriber nodes of the same band.
    if (fr.freqIndex >= 0) return;
    for (std::size_t j = static_cast<std::size_t>(fr.node) + 1; j < Nodes.size(); ++j) {
      const NodeRow& r = Nodes[j];
      if (r[kNodeObject] != me[kNodeObject] || r[kNodeCode] <= 0) break;
      if (r[kNodeSourceId] == me[kNodeSourceId]) NodeSpectra(j, 0, kSpectrumMin) = in[kSpectrumMin];
    }
    return;
  }
  if (fr.path < 1 || fr.path > 4) return;

  if (!glim2) {
    // The level rule on every single-cable chain node of this output group, each over the
    // carriers of its own band.
    const int first = fr.node + 1 - fr.path;
    for (int jj = first < 0 ? 0 : first; static_cast<std::size_t>(jj) < Nodes.size(); ++jj) {
      const std::size_t j = static_cast<std::size_t>(jj);
      if (!SameObjectGroup(j, me, fr.group) || Nodes[j][kNodeSourceId] >= kSatIdLimit) break;
      if (Nodes[j][kNodeChainMark] != kChainSingleCable) continue;
      if (jj == fr.node) {
        Regenerate(j, g, FreqList.data(), fr.kFirst, fr.kLast);
        continue;
      }
      CarrierList own;
      if (OwnBandCarriers(Nodes[j][kNodeSourceId], fr, own)) Regenerate(j, g, own.f.data(), own.kFirst, own.kLast);
    }
  }

  if (me[kNodeChainMark] != kChainBandGrid) return;
  if (fr.freqIndex < 0) {
    BandGridBands(fr, me);
  } else if (in[fr.freqIndex] > kPresentAbove) {
    for (int e = 0; e < kBandGridEntries; ++e) out[e] = kBandPresent;
  }
}

}  // namespace

void RegisterSingleCableBlocks(BlockTable& t) {
  for (int c = 181; c <= 185; ++c) t.set(c, SingleCableBlock, Reach::OtherNodes);  // the group's other nodes
}

}  // namespace kavrix::engine
