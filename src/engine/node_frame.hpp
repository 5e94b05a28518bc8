#pragma once
// The frame every device block shares: node-code decoding, the frequency range of a call,
// the variant remap, dispatch by category, the frequency grids and the interpolation, step and
// slope helpers. A block is a plain function over a NodeFrame; it reads its input spectrum and
// writes output spectra in NodeSpectra and nothing else unless its family says so.
#include <array>
#include <cstdint>

#include "catalogue/frequency_grids.hpp"
#include "model/network_model.hpp"
#include "model/run_records.hpp"

namespace kavrix {

// Computes node `nodeIndex` from its input spectrum: all frequencies and ports when
// freqIndex < 0, only list position freqIndex of port index 0 otherwise.
void CalcNode(int nodeIndex, int freqIndex);

// Y1 when X = X1 exactly (also when X1 = X2); else the line through both points at X, the
// product formed before dividing.
inline double LinInterp(double y1, double y2, double x1, double x2, double x) {
  if (x == x1 || x1 == x2) return y1;
  return y1 + (y2 - y1) * (x - x1) / (x2 - x1);
}

namespace engine {

// A frequency grid: points in MHz, last index L.
struct Grid {
  const int32_t* pts;
  int last;
  int id;  // distinct per grid, for the segment cache
};

// FreqGrids rows 0..8 and the three further grids (constant data of the catalogue).
using ::kavrix::CableGrid7;
using ::kavrix::FreqGrids;
using ::kavrix::SatGrid22;
using ::kavrix::TerrGrid22;
Grid FreqGridRow(int row);  // rows outside 0..8 give row 0
Grid SatGrid();
Grid TerrGrid();
Grid CableGrid();

// The segment index i (smallest with G[i] >= f, not beyond L) of frequency list position k,
// or -1 when f is below G[0] or at or above G[L] + 1 (the entry is skipped). The search is made
// once per grid and list entry and remembered with the frequency it was made for, so the ports
// of a node and the nodes of a chain share it.
int Segment(const Grid& g, int k);
// Forgets every remembered segment; the propagation pass calls it when it rebuilds FreqList.
// (Not needed for correctness: a changed entry is searched again anyway.)
void FreqListChanged();
// Same for an explicit frequency (blocks that work on their own frequency columns).
int SegmentOf(const Grid& g, double f);
// sqrt(f / 1000) of list position k (f in MHz), the frequency factor of a coaxial cable's loss,
// remembered with the frequency it was taken for.
double RootFreqGHz(int k);

// Interpolates a table column at f: T(j) = base[j * stride]. i = 0 gives T[0].
inline double InterpColumn(const Grid& g, int i, double f, const double* base, int stride) {
  if (i <= 0) return base[0];
  return LinInterp(base[(i - 1) * stride], base[i * stride], g.pts[i - 1], g.pts[i], f);
}

// Step term of a gain/attenuation setting s with the pair (A0, A1) taken at the grid index.
// A setting of 1000000 ("not adjustable") is neutral.
inline double StepTerm(int s, double a0, double a1) {
  if (s == kNoLimit) return 0.0;
  if (s > -11) return s * a0 / 10.0;
  return -a0 + (s + 10) * a1 / 10.0;
}
// Slope term of slope setting t with the interpolated pair (SLa, SLb); 1000000 is neutral.
inline double SlopeTerm(int t, double sla, double slb) {
  if (t == kNoLimit) return 0.0;
  if (t < 12) return (1 - t) * sla / 10.0;
  return -sla + (11 - t) * slb / 10.0;
}

// Interpolates the pair columns (SLa, SLb) of a slope table at f and returns the slope term of t.
inline double SlopeAt(const Grid& g, int i, double f, const double* pairs, int t) {
  return SlopeTerm(t, InterpColumn(g, i, f, pairs, 2), InterpColumn(g, i, f, pairs + 1, 2));
}

// Everything a block needs of one call.
struct NodeFrame {
  int node = 0;
  int freqIndex = -1;
  int kFirst = 0;     // frequency positions kFirst..kLast (inclusive); none when kLast < kFirst
  int kLast = -1;
  int lastPort = 4;   // 4 in all-frequency mode, 0 in single-frequency mode
  int code = 0;
  int category = 0;   // after the variant remap
  int group = 0;
  int path = 0;
  NodeRow* row = nullptr;
  // Leading entries the block may write (100..102 aside): the list's leading run, or all of them
  // for blocks that write past it.
  int writes = 100;
  double* spectrum(int s) const { return NodeSpectra.atLeading(static_cast<std::size_t>(node), s, writes); }
  const double* input() const { return spectrum(0); }
  int sourceId() const { return (*row)[kNodeSourceId]; }
  int field(int f) const { return (*row)[f]; }
};

// The grid of a block that serves both bands: FreqGrids row 1 on the terrestrial path 5 or for a
// terrestrial source (id above 100), otherwise the block's satellite row (row 0 for most).
inline Grid DualBandGrid(const NodeFrame& fr, int satRow = 0) {
  return FreqGridRow(fr.path == kTerrestrialPath || fr.sourceId() > kSatIdLimit ? 1 : satRow);
}

// The common pattern for one output: out[k] = in[k] + T(f) over the frame's frequency range,
// T(j) = column[j * stride]; entries outside the grid keep their values.
void AddInterpolated(const NodeFrame& fr, const Grid& g, double* out, const double* column, int stride);

using BlockFn = void (*)(const NodeFrame&);

constexpr int kCategoryCount = 1000;
// Whether a block reaches beyond its own node: reads or writes another node's spectra or fields,
// or model data a computation changes (a plan, ObjValues).
enum class Reach { OwnNode, OtherNodes };
struct BlockTable {
  std::array<BlockFn, kCategoryCount> fn{};
  std::array<Reach, kCategoryCount> reach{};
  // The line rules (coaxial and fibre lines), tested on the node code after the category block,
  // so they apply to any node whose code is a line code whatever its category.
  BlockFn lines = nullptr;
  void set(int category, BlockFn f, Reach r = Reach::OwnNode) {
    if (category < 0 || category >= kCategoryCount) return;
    fn[category] = f;
    reach[category] = r;
  }
};

// The blocks in use; tests may swap a block and must restore it (ScopedBlock does).
BlockTable& Blocks();

// Installs a block for one category for the lifetime of the object (tests, synthetic tables).
class ScopedBlock {
 public:
  ScopedBlock(int category, BlockFn fn) : m_category(category) {
    if (category >= 0 && category < kCategoryCount) {
      m_previous = Blocks().fn[category];
      Blocks().fn[category] = fn;
    }
  }
  ~ScopedBlock() { Blocks().set(m_category, m_previous); }
  ScopedBlock(const ScopedBlock&) = delete;
  ScopedBlock& operator=(const ScopedBlock&) = delete;

 private:
  int m_category;
  BlockFn m_previous = nullptr;
};

// Registration of the device families (one function per family file).
void RegisterMultiswitchBlocks(BlockTable& t);        // multiswitches, splitters, taps
void RegisterMultiswitchFamilyBlocks(BlockTable& t);  // multiswitch families 151..179
void RegisterHouseAmpBlocks(BlockTable& t);           // house and launch amplifiers
void RegisterTerrAmpBlocks(BlockTable& t);            // terrestrial amplifiers, attenuator
void RegisterLinkConverterBlocks(BlockTable& t);      // link units, converters, modulators
void RegisterLineAmpBlocks(BlockTable& t);            // line amps, J-splitters, five-input switches
void RegisterSingleCableBlocks(BlockTable& t);        // single-cable units
void RegisterOpticalCableBlocks(BlockTable& t);       // optics and cables

// The variant remap of the interchangeable families (Inst of the owning object).
int RemapVariant(int category, int inst);

// The block category CalcNode dispatches node n to (after the variant remap).
int DispatchCategory(int n);
// True when computing node n reads and writes nothing but n's own spectra, settings and constant
// data: a change at n then reaches other nodes only through the spectra a walk hands on.
bool KeepsToOwnNode(int n);

}  // namespace engine
}  // namespace kavrix
