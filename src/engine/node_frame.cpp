#include "engine/node_frame.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kavrix {

namespace engine {

namespace {

enum GridId { kSatGridId = 9, kTerrGridId = 10, kCableGridId = 11, kGridIds = 12 };

// Remembered segment per list entry of one built-in grid, valid while the entry still holds the
// frequency it was found for. Keyed by frequency rather than by a generation counter so that a
// caller that edits FreqList directly can never see a stale segment.
struct SegmentCache {
  std::array<double, kFreqListLen> freq;
  std::array<int16_t, kFreqListLen> seg;
};

std::array<SegmentCache, kGridIds>& Caches() {
  static std::array<SegmentCache, kGridIds> caches = [] {
    std::array<SegmentCache, kGridIds> c{};
    for (auto& e : c) e.freq.fill(std::numeric_limits<double>::quiet_NaN());
    return c;
  }();
  return caches;
}

// Only the constant built-in grids are remembered: a grid whose points or last index differ from
// the built-in grid of its id (a hand-made grid, whose points may change) is searched every time.
bool IsBuiltIn(const Grid& g) {
  if (g.id >= 0 && g.id <= 8) return g.pts == FreqGrids[g.id].data() && g.last == FreqGridLast[g.id];
  if (g.id == kSatGridId) return g.pts == SatGrid22.data() && g.last == 21;
  if (g.id == kTerrGridId) return g.pts == TerrGrid22.data() && g.last == 21;
  if (g.id == kCableGridId) return g.pts == CableGrid7.data() && g.last == 6;
  return false;
}

}  // namespace

Grid FreqGridRow(int row) {
  if (row < 0 || row > 8) row = 0;
  return Grid{FreqGrids[row].data(), FreqGridLast[row], row};
}
Grid SatGrid() { return Grid{SatGrid22.data(), 21, kSatGridId}; }
Grid TerrGrid() { return Grid{TerrGrid22.data(), 21, kTerrGridId}; }
Grid CableGrid() { return Grid{CableGrid7.data(), 6, kCableGridId}; }

int SegmentOf(const Grid& g, double f) {
  if (!(f >= g.pts[0]) || f >= g.pts[g.last] + 1) return -1;
  int i = 0;
  while (i < g.last && g.pts[i] < f) ++i;
  return i;
}

int Segment(const Grid& g, int k) {
  if (k < 0 || k >= kFreqListLen) return -1;
  const double f = FreqList[k];
  if (!IsBuiltIn(g)) return SegmentOf(g, f);
  SegmentCache& c = Caches()[g.id];
  if (c.freq[k] != f) {
    c.seg[k] = static_cast<int16_t>(SegmentOf(g, f));
    c.freq[k] = f;
  }
  return c.seg[k];
}

double RootFreqGHz(int k) {
  struct RootCache {
    std::array<double, kFreqListLen> freq;
    std::array<double, kFreqListLen> root;
  };
  static RootCache cache = [] {
    RootCache c{};
    c.freq.fill(std::numeric_limits<double>::quiet_NaN());
    return c;
  }();
  const double f = FreqList[static_cast<std::size_t>(k)];
  if (cache.freq[static_cast<std::size_t>(k)] != f) {
    cache.root[static_cast<std::size_t>(k)] = std::sqrt(f / 1000.0);
    cache.freq[static_cast<std::size_t>(k)] = f;
  }
  return cache.root[static_cast<std::size_t>(k)];
}

void FreqListChanged() {
  for (auto& c : Caches()) c.freq.fill(std::numeric_limits<double>::quiet_NaN());
}

void AddInterpolated(const NodeFrame& fr, const Grid& g, double* out, const double* column, int stride) {
  const double* in = fr.input();
  for (int k = fr.kFirst; k <= fr.kLast; ++k) {
    const int i = Segment(g, k);
    if (i < 0) continue;
    out[k] = in[k] + InterpColumn(g, i, FreqList[k], column, stride);
  }
}

int RemapVariant(int category, int inst) {
  if (inst < 1 || inst > 4) return category;
  if (category >= 991 && category <= 994) return 990 + inst;
  if (category >= 995 && category <= 998) return 994 + inst;
  if (category >= 21 && category <= 24) return 25 - inst;
  return category;
}

int DispatchCategory(int n) {
  if (!ValidNode(n)) return -1;
  const NodeRow& row = Nodes[static_cast<std::size_t>(n)];
  const int objRow = row[kNodeObject];
  const int category = CodeCategory(row[kNodeCode]);
  return ValidObjRow(objRow) ? RemapVariant(category, NetObjects[static_cast<std::size_t>(objRow)][kInst]) : category;
}

bool KeepsToOwnNode(int n) {
  const int category = DispatchCategory(n);
  if (category < 0) return false;
  if (category >= kCategoryCount) return true;  // no block: the node is left as it is
  return Blocks().reach[static_cast<std::size_t>(category)] == Reach::OwnNode;
}

BlockTable& Blocks() {
  static BlockTable t = [] {
    BlockTable b;
    RegisterMultiswitchBlocks(b);
    RegisterMultiswitchFamilyBlocks(b);
    RegisterHouseAmpBlocks(b);
    RegisterTerrAmpBlocks(b);
    RegisterLinkConverterBlocks(b);
    RegisterLineAmpBlocks(b);
    RegisterSingleCableBlocks(b);
    RegisterOpticalCableBlocks(b);
    return b;
  }();
  return t;
}

}  // namespace engine

void CalcNode(int nodeIndex, int freqIndex) {
  using namespace engine;
  if (!ValidNode(nodeIndex) || freqIndex > 99) return;
  if (NodeSpectra.size() <= static_cast<std::size_t>(nodeIndex)) return;
  NodeFrame fr;
  fr.node = nodeIndex;
  fr.freqIndex = freqIndex;
  fr.row = &Nodes[static_cast<std::size_t>(nodeIndex)];
  fr.code = (*fr.row)[kNodeCode];
  fr.category = CodeCategory(fr.code);
  fr.path = CodePath(fr.code);
  fr.group = CodeGroup(fr.code);
  int count = 100;  // a single position may be written by blocks that take the whole run
  if (freqIndex < 0) {
    count = 0;
    while (count < 100 && FreqList[count] > 0) ++count;
    fr.kFirst = 0;
    fr.kLast = count - 1;
    fr.lastPort = 4;
  } else {
    fr.kFirst = fr.kLast = freqIndex;
    fr.lastPort = 0;
  }
  const int objRow = (*fr.row)[kNodeObject];
  if (ValidObjRow(objRow)) fr.category = RemapVariant(fr.category, NetObjects[objRow][kInst]);
  const BlockTable& blocks = Blocks();
  // Blocks that keep to their own node write the positions of the call and, the line rules, the
  // list's leading run; the 28-point band grid, fibres and blocks reaching further may write more.
  // A single position (Tune's trials) counts as the whole list.
  const bool bounded = freqIndex < 0 &&
                       (fr.category < 0 || fr.category >= kCategoryCount ||
                        blocks.reach[static_cast<std::size_t>(fr.category)] == Reach::OwnNode) &&
                       (*fr.row)[kNodeChainMark] != kChainBandGrid && fr.code / 100 != kCodeFibre / 100;
  fr.writes = bounded ? count : 100;
  if (fr.category >= 0 && fr.category < kCategoryCount) {
    if (BlockFn fn = blocks.fn[fr.category]) fn(fr);
  }
  if (blocks.lines) blocks.lines(fr);
}

}  // namespace kavrix
