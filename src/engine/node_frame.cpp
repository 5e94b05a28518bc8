#include "engine/node_frame.hpp"

namespace kavrix {

double LinInterp(double y1, double y2, double x1, double x2, double x) {
  if (x == x1 || x1 == x2) return y1;
  return y1 + (y2 - y1) * (x - x1) / (x2 - x1);
}

namespace engine {

const std::array<std::array<int32_t, 31>, 9> FreqGrids = {{
    {950, 1000, 1100, 1200, 1300, 1400, 1500, 1600, 1700, 1800, 1900, 2000, 2100, 2200, 2300, 2400},
    {5, 30, 50, 75, 100, 160, 230, 300, 350, 400, 470, 540, 600, 700, 790, 862},
    {5, 25, 50, 75, 100, 160, 230, 300, 350, 400, 500, 600, 700, 790, 830, 862},
    {88, 91, 96, 101, 106, 108, 174, 177, 182, 195, 210, 225, 240, 252, 257, 260},
    {470, 475, 485, 500, 540, 580, 620, 660, 700, 740, 780, 785, 790, 820, 855, 862},
    {300, 450, 600, 750, 900, 1050, 1200, 1350, 1500, 1650, 1800, 1950, 2100, 2200, 2300, 2400},
    {5, 25, 50, 75, 100, 160, 230, 300, 350, 400, 470, 500, 600, 700, 730, 750, 770, 780, 790, 800, 810, 820,
     830, 862},
    {75, 88, 91, 96, 101, 106, 108, 113, 168, 174, 177, 182, 200, 225, 230, 237},
    {30,   50,   75,   100,  160,  230,  300,  350,  400,  470,  540,  600,  700,  790,  862, 950,
     1000, 1100, 1200, 1300, 1400, 1500, 1600, 1700, 1800, 1900, 2000, 2100, 2200, 2300, 2400},
}};
const std::array<int32_t, 22> SatGrid22 = {950,  970,  1000, 1150, 1200, 1250, 1300, 1350, 1400, 1450, 1500,
                                           1550, 1600, 1700, 1800, 1900, 2000, 2100, 2200, 2300, 2350, 2400};
const std::array<int32_t, 22> TerrGrid22 = {5,   25,  50,  88,  108, 160, 230, 300, 350, 400, 470,
                                            550, 650, 700, 730, 750, 770, 780, 790, 800, 830, 860};
const std::array<int32_t, 7> CableGrid7 = {950, 1000, 1100, 1300, 1500, 1800, 2150};

namespace {
constexpr int kGridLast[9] = {15, 15, 15, 15, 15, 15, 23, 15, 30};
}

Grid FreqGridRow(int row) {
  if (row < 0 || row > 8) row = 0;
  return Grid{FreqGrids[row].data(), kGridLast[row], row};
}
Grid SatGrid() { return Grid{SatGrid22.data(), 21, 9}; }
Grid TerrGrid() { return Grid{TerrGrid22.data(), 21, 10}; }
Grid CableGrid() { return Grid{CableGrid7.data(), 6, 11}; }

int SegmentOf(const Grid& g, double f) {
  if (f < g.pts[0] || f >= g.pts[g.last] + 1) return -1;
  int i = 0;
  while (i < g.last && g.pts[i] < f) ++i;
  return i;
}

int Segment(const Grid& g, int k) { return SegmentOf(g, FreqList[k]); }

int RemapVariant(int category, int inst) {
  if (inst < 1 || inst > 4) return category;
  if (category >= 991 && category <= 994) return 990 + inst;
  if (category >= 995 && category <= 998) return 994 + inst;
  if (category >= 21 && category <= 24) return 25 - inst;
  return category;
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
  NodeFrame fr;
  fr.node = nodeIndex;
  fr.freqIndex = freqIndex;
  fr.row = &Nodes[static_cast<std::size_t>(nodeIndex)];
  fr.code = (*fr.row)[0];
  fr.category = fr.code / 1000;
  fr.path = fr.code % 100;
  fr.group = (fr.code % 1000) / 100;
  if (freqIndex < 0) {
    int count = 0;
    while (count < 100 && FreqList[count] > 0) ++count;
    fr.kFirst = 0;
    fr.kLast = count - 1;
    fr.lastPort = 4;
  } else {
    fr.kFirst = fr.kLast = freqIndex;
    fr.lastPort = 0;
  }
  const int objRow = (*fr.row)[18];
  if (ValidObjRow(objRow)) fr.category = RemapVariant(fr.category, NetObjects[objRow][kInst]);
  if (fr.category < 0 || fr.category >= kCategoryCount) return;
  BlockFn fn = Blocks().fn[fr.category];
  if (fn) fn(fr);
}

}  // namespace kavrix
