// Link units: the cable loss between each unit and the device that feeds it, kept in ObjValues,
// as the feeding port's limit when no partner unit lies on the way, and as the unit's carrier.
#include <cmath>

#include "engine/node_frame.hpp"
#include "engine/propagation.hpp"
#include "engine/tables_link_converter.hpp"
#include "model/number_text.hpp"
#include "model/panel_encodings.hpp"
#include "model/run_records.hpp"
#include "model/source_tables.hpp"
#include "simulation/run_steps.hpp"

namespace kavrix {

namespace {


// Gain of a link unit's table at the first grid point above f (at most the last point).
double LinkUnitTableValue(int code, double f) {
  const std::array<double, 31>* t = engine::tables::LinkUnitTable(CodeCategory(code));
  if (!t) return 0.0;
  const engine::Grid g = engine::FreqGridRow(8);
  int i = 0;
  while (i < g.last && g.pts[i] <= f) ++i;
  return (*t)[static_cast<std::size_t>(i)];
}

// The port of r (1 = output, 2..5) that meets cur going upstream, 0 when none does.
int UpstreamPort(const NodeRow& cur, const NodeRow& r) {
  for (int p = 1; p <= 5; ++p) {
    const int px = r[PinX(p)], py = r[PinY(p)];
    if ((cur[kNodeInX] == px && cur[kNodeInY] == py) || (PinsMeet(cur, 0, r, 0) && r[kNodeCode] == kCodeSingleLine) ||
        (cur[kNodeOutX] == px && cur[kNodeOutY] == py && cur[kNodeCode] == kCodeSingleLine))
      return p;
  }
  return 0;
}

}  // namespace

void LinkUnitLosses() {
  const int first = SourceCount + 1;
  for (int i = 0; i < static_cast<int>(Nodes.size()) && Nodes[i][kNodeCode] != 0; ++i) {
    const int code = Nodes[i][kNodeCode];
    if (!IsLinkUnitCode(code)) continue;
    const int row = Nodes[i][kNodeObject];
    if (!ValidObjRow(row)) continue;
    double f = NetObjects[row][kInst];
    if (code == kCodeSatLinkUnit && ValidObjRow(row + 1))
      f = static_cast<double>(panel::StreamerIfMHz(NetObjects[row][kInst], NetObjects[row + 1]));
    double sum = 0.0;
    int P = 0;
    bool partner = false;
    int cur = i;
    std::vector<uint8_t> seen(Nodes.size(), 0);
    seen[i] = 1;
    // Upstream over lines and link units, candidates from the first non-source node each step.
    int j = first;
    while (j < static_cast<int>(Nodes.size()) && Nodes[j][kNodeCode] != 0 &&
           (NodeKind(cur) > 200 || IsLinkUnitCode(Nodes[cur][kNodeCode]))) {
      const NodeRow& c = Nodes[cur];
      const NodeRow& r = Nodes[j];
      int stepPort = 0;
      if (!seen[j] && j != cur && r[kNodeObject] != c[kNodeObject] &&
          (r[kNodeSourceId] == Nodes[i][kNodeSourceId] || r[kNodeCode] == kCodeSingleLine || IsLinkUnitCode(r[kNodeCode])))
        stepPort = UpstreamPort(c, r);
      if (stepPort == 0) {
        ++j;
        continue;
      }
      cur = j;
      seen[j] = 1;
      P = stepPort;
      const NodeRow& n = Nodes[j];
      if (IsLinkUnitCode(n[kNodeCode]) && j != i) {
        if (n[kNodeSourceId] == Nodes[i][kNodeSourceId]) partner = true;
        sum -= LinkUnitTableValue(n[kNodeCode], f);
      }
      if (f > 0 && n[kNodeCode] == kCodeSingleLine)
        sum += n[kLineLength] * std::sqrt(f / 1000.0) * (ValidCableKind(n[kLineCable]) ? CableCoef[n[kLineCable]] : 0.0);
      j = first;
    }
    if (cur != i) {
      ObjValues[row] = {sum, static_cast<double>(P)};
      if (!partner && P > 1) Nodes[cur][PortLink(P)] = -(static_cast<int>(RoundHalfEven(sum)) + Nodes[i][kNodeMaxLevel]);
    }
    if (P > 1) {
      const int sid = Nodes[i][kNodeSourceId];
      int x = -1;
      double tableF[101];
      int len = 0;
      if (code == kCodeSatLinkUnit) {
        const int slot = SatSlotOf(sid), band = BandOf(sid);
        if (ValidSatSlot(slot) && band >= 1 && band <= 4) {
          len = kSatRows;
          for (int e = 0; e < len; ++e) tableF[e] = SatTables[slot][SatFreqColumn(band - 1)][e];
        }
      } else {
        const int p = TerrPairOf(sid);
        if (p >= 0) {
          len = 101;
          for (int e = 0; e < len; ++e) tableF[e] = TerrSpectra[2 * p][e];
        }
      }
      for (int e = 0; e < len; ++e)
        if (tableF[e] > f) {
          x = e;
          break;
        }
      if (x >= 0 && x < 100) {
        x = std::max(x, 1);
        for (int e = x - 1; e <= x; ++e) {
          double* in = NodeSpectra.at(i, 0);
          double* out = NodeSpectra.at(i, 1);
          in[e] = NodeSpectra.at(cur, P)[e] - sum;
          out[e] = in[e] + LinkUnitTableValue(code, tableF[e]);
        }
      }
    }
  }
}

}  // namespace kavrix
