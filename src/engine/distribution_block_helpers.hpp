#pragma once
// Small pieces shared by the distribution and amplifier blocks: the dual-band grid choice,
// settings with their "not set" value, the column loop of the common interpolation pattern and
// the lookup of a sibling node of the same object.
#include <algorithm>

#include "engine/node_frame.hpp"

namespace kavrix::engine::blk {

// Satellite row 0, or terrestrial row 1 for the terrestrial line and for terrestrial sources.
inline Grid DualRow(const NodeFrame& fr) {
  return FreqGridRow(fr.path == kTerrestrialPath || fr.sourceId() > kSatIdLimit ? 1 : 0);
}
inline Grid DualGrid22(const NodeFrame& fr) {
  return fr.path == kTerrestrialPath || fr.sourceId() > kSatIdLimit ? TerrGrid() : SatGrid();
}

// A node setting; a field that holds the "none" value reads as `neutral`.
inline int Setting(const NodeFrame& fr, int field, int neutral) {
  const int v = (*fr.row)[field];
  return v == kNoLimit ? neutral : v;
}

// out[k] := in[k] + T(f) + extra(i, f) over the call's frequency range, where T is the table
// column starting at col with the given point stride; skipped entries stay unwritten.
template <class Extra>
inline void ApplyColumn(const NodeFrame& fr, const Grid& g, const double* col, int stride, double* out,
                        Extra extra) {
  const double* in = fr.input();
  for (int k = fr.kFirst; k <= fr.kLast; ++k) {
    const int i = Segment(g, k);
    if (i < 0) continue;
    const double f = FreqList[k];
    out[k] = in[k] + InterpColumn(g, i, f, col, stride) + extra(i, f);
  }
}
inline void ApplyColumn(const NodeFrame& fr, const Grid& g, const double* col, int stride, double* out) {
  ApplyColumn(fr, g, col, stride, out, [](int, double) { return 0.0; });
}

// Copies of a terrestrial path follow one another, T + 1 per group (T = TerrSourceIndex), so
// the node of another group built for the same source lies a whole number of such runs away.
// Returns that node, or -1 when it is outside Nodes, belongs to another object or does not
// carry the expected group.
inline int SiblingNode(int node, int groupDelta, int expectedGroup) {
  const int run = std::max(TerrSourceIndex, 0) + 1;
  const long long m = static_cast<long long>(node) + static_cast<long long>(groupDelta) * run;
  if (m < 0 || m >= static_cast<long long>(Nodes.size())) return -1;
  const int mi = static_cast<int>(m);
  const NodeRow& own = Nodes[static_cast<std::size_t>(node)];
  const NodeRow& other = Nodes[static_cast<std::size_t>(mi)];
  if (other[kNodeObject] != own[kNodeObject] || CodeGroup(other[kNodeCode]) != expectedGroup) return -1;
  return mi;
}

}  // namespace kavrix::engine::blk
