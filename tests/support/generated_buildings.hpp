#pragma once
// Generated buildings for run tests and benchmarks: an LNB in slot A feeding a riser.
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

}  // namespace kavrix::test
