#pragma once
// The network model: the drawing's object table, per-row companions, editing counters and the
// calculation arrays that a run fills. Plain global data shared by every layer, with the reset
// operations that give a new network and a fresh calculation state. No checks live here: callers
// guard their own indices.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kavrix {

void* AllocateLargeBlock(std::size_t bytes);
void ReleaseLargeBlock(void* p, std::size_t bytes);

constexpr int kObjFields = 6;          // Kind, X, Y, Inst, Orient, Style
constexpr int kNodeFields = 29;
constexpr int kSpectraPerNode = 6;     // input, output, ports 2..5
constexpr int kSpectrumLen = 103;      // 0..99 levels, then the three entries below
constexpr int kSpectrumOptical = 100;  // optical level in dBm
constexpr int kSpectrumMin = 101;      // running minimum of the levels
constexpr int kSpectrumMax = 102;      // running maximum
constexpr int kItemTextSlots = 101;
constexpr std::size_t kNewNetworkNodeRows = 300;  // calculation nodes a new network starts with
constexpr int kLevelMarkCount = 5001;
constexpr int kTerrSourceMax = 11;     // terrestrial sources in one run
constexpr int kFreqListLen = 101;
constexpr int kLinkFields = 8;
constexpr double kNoSignal = -1000000.0;
constexpr int kNoLimit = 1000000;
inline constexpr const char* kIdleStatusText = "   ";  // the status bar with no run's results

// Field indices of an object row.
enum ObjField { kKind = 0, kX = 1, kY = 2, kInst = 3, kOrient = 4, kStyle = 5 };

using ObjRow = std::array<int32_t, kObjFields>;
using NodeRow = std::array<int32_t, kNodeFields>;
using LinkRow = std::array<int32_t, kLinkFields>;

// Six spectra of 103 Doubles per node, stored flat so the engine walks plain memory.
//
// The reset values (entries 0..100 at kNoSignal, 101 at 1000000, 102 at kNoSignal) are written
// into a node's spectra only when something reaches the node: opening a large drawing adds tens
// of thousands of nodes, most of which a session may never compute, and a run that resets every
// node would otherwise stream over all of them once before computing them. `resetAll` therefore
// only starts a new generation, and each node is brought into it when first reached. The storage
// is asked for in huge pages where the system offers them, since a run touches a few cache lines
// of every node and would otherwise miss the address translation cache on nearly each one.
//
// The array also notes which spectra mutable access has reached since they last held the reset
// values, and per node how many leading entries it may have written, so that a reset writes only
// those and readers may skip what still holds the reset values. Every write goes through a
// mutable accessor, which notes it: `at` counts every entry as written, `atLeading` only the
// first `entries` and 100..102, for callers that write no others. Read through `read` (or a const
// array) to leave no note.
class SpectraArray {
 public:
  SpectraArray() = default;
  SpectraArray(const SpectraArray&) = delete;
  SpectraArray& operator=(const SpectraArray&) = delete;
  ~SpectraArray() { clear(); }

  double* at(std::size_t node, int spectrum) { return atLeading(node, spectrum, kFullExtent); }
  double* atLeading(std::size_t node, int spectrum, int entries) {
    if (m_meta[node].generation != m_current) bringUp(node);
    m_meta[node].state = static_cast<uint8_t>((m_meta[node].state | (1u << spectrum)) & ~kNoted);
    if (entries > m_meta[node].extent) m_meta[node].extent = static_cast<uint8_t>(entries > kFullExtent ? kFullExtent : entries);
    return spectrumPtr(node, spectrum);
  }
  const double* at(std::size_t node, int spectrum) const { return read(node, spectrum); }
  const double* read(std::size_t node, int spectrum) const {
    if (m_meta[node].generation != m_current) bringUp(node);
    return spectrumPtr(node, spectrum);
  }
  // As `read`, but a spectrum that holds the reset values is answered from one shared copy of
  // them: sweeps that only read visit no memory of spectra the run never wrote.
  const double* peek(std::size_t node, int spectrum) const {
    return touched(node, spectrum) ? spectrumPtr(node, spectrum) : ResetSpectrum().data();
  }
  double& operator()(std::size_t node, int spectrum, int entry) { return at(node, spectrum)[entry]; }
  double operator()(std::size_t node, int spectrum, int entry) const { return read(node, spectrum)[entry]; }
  std::size_t size() const { return m_nodes; }
  // True when the spectrum may differ from the reset values.
  bool touched(std::size_t node, int spectrum) const {
    return m_meta[node].generation == m_current && ((m_meta[node].state >> spectrum) & 1u);
  }
  // Entries 0..written(node) - 1 and 100..102 of a touched spectrum may differ from the reset
  // values; the others hold them.
  int written(std::size_t node) const { return m_meta[node].generation == m_current ? m_meta[node].extent : 0; }
  // A mark a reader sets on a node after taking what it needs of the node's spectra; any later
  // write to them (or a reset) clears it, so the reader may keep using what it took while the
  // mark holds.
  void note(std::size_t node) {
    if (m_meta[node].generation == m_current) m_meta[node].state |= kNoted;
  }
  bool noted(std::size_t node) const { return m_meta[node].generation == m_current && (m_meta[node].state & kNoted); }
  // Asks the processor to start loading what a scan of the node will touch (with `trackersOnly`,
  // the line of entries 100..102 only): a run reaches a few cache lines of every node, spread too
  // far apart for the hardware to guess.
  void prefetch(std::size_t node, bool trackersOnly = false) const {
    if (node >= m_nodes || m_meta[node].generation != m_current) return;
    const uint8_t t = m_meta[node].state & kAllSpectra;
    if (t == 0) return;
    const int extent = trackersOnly ? 0 : m_meta[node].extent;
    for (int s = 0; s < kSpectraPerNode; ++s) {
      if (!((t >> s) & 1u)) continue;
      const double* sp = spectrumPtr(node, s);
      if (extent > 0) prefetchLines(sp, sp + extent - 1, false);
      prefetchLines(sp + kSpectrumOptical, sp + kSpectrumMax, false);
    }
  }
  // Asks for the lines a computation of the node is about to write: those it wrote last time.
  void prefetchForWrite(std::size_t node) const {
    if (node >= m_nodes || !(m_meta[node].state & kReady)) return;
    const uint8_t t = m_meta[node].state & kAllSpectra;
    const int extent = m_meta[node].extent;
    for (int s = 0; s < kSpectraPerNode; ++s) {
      if (!((t >> s) & 1u)) continue;
      const double* sp = spectrumPtr(node, s);
      if (extent > 0) prefetchLines(sp, sp + extent - 1, true);
      prefetchLines(sp + kSpectrumOptical, sp + kSpectrumMax, true);
    }
  }
  // Gives every spectrum of the node the reset values (a node of an earlier generation holds
  // them already, as far as anyone can see).
  void resetNode(std::size_t node) {
    if (m_meta[node].generation == m_current) clearTouched(node);
  }
  // Gives every spectrum of every node the reset values.
  void resetAll() {
    if (++m_current == 0) {  // the generations wrapped: an old one could look current
      for (std::size_t n = 0; n < m_nodes; ++n)
        if (m_meta[n].state & kReady) clearTouched(n);
      for (NodeMeta& m : m_meta) m.generation = 1;
      m_current = 1;
    }
  }
  // Grows or shrinks to n nodes; new nodes hold the reset values.
  void resize(std::size_t n) {
    if (n > m_capacity) reserve(std::max(n, 2 * m_capacity));
    m_meta.resize(n, NodeMeta{});
    m_nodes = n;
  }
  // Appends `count` nodes holding the reset values.
  void appendResetNodes(std::size_t count) { resize(m_nodes + count); }
  void clear() {
    ReleaseLargeBlock(m_data, m_capacity * kNodeValues * sizeof(double));
    m_data = nullptr;
    m_capacity = 0;
    m_meta.clear();
    m_meta.shrink_to_fit();
    m_nodes = 0;
  }
  // The whole array as raw memory; counts as writing every entry of every spectrum.
  double* data() {
    for (std::size_t n = 0; n < m_nodes; ++n) {
      if (m_meta[n].generation != m_current) bringUp(n);
      m_meta[n].state = static_cast<uint8_t>((m_meta[n].state | kAllSpectra) & ~kNoted);
      m_meta[n].extent = kFullExtent;
    }
    return m_data;
  }

  static void ResetValues(double* sp) {
    std::fill(sp, sp + 101, kNoSignal);
    sp[kSpectrumMin] = 1000000.0;
    sp[kSpectrumMax] = kNoSignal;
  }
  static const std::array<double, kSpectrumLen>& ResetSpectrum() {
    static const std::array<double, kSpectrumLen> reset = [] {
      std::array<double, kSpectrumLen> r;
      ResetValues(r.data());
      return r;
    }();
    return reset;
  }

 private:
  static constexpr std::size_t kNodeValues = static_cast<std::size_t>(kSpectraPerNode) * kSpectrumLen;
  static constexpr uint8_t kAllSpectra = (1u << kSpectraPerNode) - 1;
  static constexpr uint8_t kNoted = 1u << 6;
  static constexpr uint8_t kReady = 1u << 7;  // the node's memory holds values (of some generation)
  static constexpr uint8_t kFullExtent = 100;  // entries 0..99; 100..102 are always counted

  // Every cache line from the one holding `first` to the one holding `last`: a spectrum rarely
  // starts on a line boundary, so stepping by eight entries from its start misses its last line.
  static void prefetchLines(const double* first, const double* last, bool forWrite) {
    constexpr std::uintptr_t kLine = 64;
    const std::uintptr_t end = reinterpret_cast<std::uintptr_t>(last);
    for (std::uintptr_t a = reinterpret_cast<std::uintptr_t>(first) & ~(kLine - 1); a <= end; a += kLine) {
      if (forWrite) __builtin_prefetch(reinterpret_cast<const void*>(a), 1);
      else __builtin_prefetch(reinterpret_cast<const void*>(a));
    }
  }
  double* spectrumPtr(std::size_t node, int spectrum) const {
    return m_data + (node * kSpectraPerNode + static_cast<std::size_t>(spectrum)) * kSpectrumLen;
  }
  // The node's memory brought to the reset values of the current generation: written in full the
  // first time, afterwards only where an earlier generation wrote.
  void bringUp(std::size_t node) const {
    if (m_meta[node].state & kReady) {
      clearTouched(node);
    } else {
      for (int s = 0; s < kSpectraPerNode; ++s) ResetValues(spectrumPtr(node, s));
      m_meta[node].state = kReady;
      m_meta[node].extent = 0;
    }
    m_meta[node].generation = m_current;
  }
  void clearTouched(std::size_t node) const {
    m_meta[node].state &= static_cast<uint8_t>(~kNoted);
    const uint8_t t = m_meta[node].state & kAllSpectra;
    if (t == 0) return;
    const int extent = m_meta[node].extent;
    for (int s = 0; s < kSpectraPerNode; ++s) {
      if (!((t >> s) & 1u)) continue;
      double* sp = spectrumPtr(node, s);
      std::fill(sp, sp + extent, kNoSignal);
      sp[kSpectrumOptical] = kNoSignal;
      sp[kSpectrumMin] = 1000000.0;
      sp[kSpectrumMax] = kNoSignal;
    }
    m_meta[node].state &= static_cast<uint8_t>(~kAllSpectra);
    m_meta[node].extent = 0;
  }
  // Moves to storage for n nodes; only nodes that hold values are copied.
  void reserve(std::size_t n) {
    auto* fresh = static_cast<double*>(AllocateLargeBlock(n * kNodeValues * sizeof(double)));
    for (std::size_t i = 0; i < m_nodes; ++i)
      if (m_meta[i].state & kReady) std::copy(m_data + i * kNodeValues, m_data + (i + 1) * kNodeValues, fresh + i * kNodeValues);
    ReleaseLargeBlock(m_data, m_capacity * kNodeValues * sizeof(double));
    m_data = fresh;
    m_capacity = n;
  }

  double* m_data = nullptr;
  std::size_t m_capacity = 0;
  std::size_t m_nodes = 0;
  uint32_t m_current = 1;
  // What the array knows of one node, kept together so that an access reads one cache line.
  struct NodeMeta {
    uint32_t generation = 0;  // the generation the node's memory holds
    uint8_t state = 0;        // kReady, kNoted and one bit per touched spectrum
    uint8_t extent = 0;       // the leading entries its touched spectra may hold
  };
  mutable std::vector<NodeMeta> m_meta;
};

struct LevelMark {
  int32_t Kind = 0;  // 1 below minimum, 2 above maximum
  int32_t X = 0;
  int32_t Y = 0;
};

// ---- object table and companions
extern std::vector<ObjRow> NetObjects;
extern std::vector<std::array<double, 2>> ObjValues;
// Fields of an ObjValues pair, which the run and the engine fill per object and clear each run.
enum ObjValueField : int {
  kObjValueSum = 0,   // link unit: cable loss to its feeding device; optical transmitter: linear
                      // power sum of the terrestrial carriers fed in
  kObjValuePort = 1,  // link unit: the feeding device's port it hangs on (1 = main output)
};
constexpr int kObjPlanRow = kObjValueSum;  // modulators and channel converters: their TerrSpectra
                                           // frequency row (2 x terrestrial index)
extern std::array<std::string, kItemTextSlots> ItemTexts;
// Slots 0 and 1 hold "abcd" and "efgh" in a new program and a new network; the rest are empty.
std::array<std::string, kItemTextSlots> StartupItemTexts();

// ---- counters and flags
extern int32_t CurObject;
extern int32_t ObjectCount;
extern int32_t SelObject;
extern int32_t EditSerial;
extern int32_t UndoPos;
extern int32_t ItemTextCount;
extern int32_t LastSocketOrient;
extern bool ProjectModified;
extern uint8_t PendingKind;
extern uint8_t PanelOpen;
extern uint8_t CurCableKind;
extern uint8_t GridStep;
extern bool TuneOutletLimits;
extern int32_t DrawExtentX;
extern int32_t DrawExtentY;
extern bool OptimizeMode;       // structure optimisation also watches terrestrial levels

// Window state that model operations set; the windows read it (and are told through hooks).
extern int32_t Form1Tag;        // main window analysis state: 0 editing, 1 after a run
extern int32_t AutoScrollDY;    // canvas vertical auto-scroll step
extern int32_t PlaceOffsetX;    // canvas placement offsets
extern int32_t PlaceOffsetY;
extern std::string StatusBarText;       // main window status bar
extern std::string SaveDialogFileName;  // name proposed by the main window's save dialog
extern std::string ProjectFileName;     // "naujas" until saved

// ---- calculation arrays
extern std::vector<NodeRow> Nodes;
extern SpectraArray NodeSpectra;
extern std::vector<LinkRow> Links;
extern std::vector<int32_t> ChainQueue;
extern std::array<double, kFreqListLen> FreqList;
extern std::array<LevelMark, kLevelMarkCount> LevelMarks;
extern std::array<int32_t, kTerrSourceMax> TerrSourceIds;
extern std::array<bool, kTerrSourceMax> SourcePassed;  // per terrestrial source id 105..115
extern std::array<bool, 4> TerrMergedFlags;  // per source id 105..108: its plan took in channel points
extern int32_t SourceCount;  // index of the last source node, -1 when none
extern int32_t TerrSourceIndex;
extern int32_t MarkX;
extern int32_t MarkY;
extern int32_t ChainMarkCount;

// ---- undo ring storage (its operations live with the undo code)
constexpr int kUndoEntries = 1001;
using UndoEntry = std::array<int32_t, 9>;
extern std::array<UndoEntry, kUndoEntries> UndoRing;

// Hooks that the window layer fills in; each may stay empty (tests, headless runs).
struct ModelHooks {
  std::function<void(std::size_t)> resizeGlyphs;   // ObjGlyphs to n entries, releasing dropped bitmaps
  std::function<void()> releaseGlyphs;             // every ObjGlyphs bitmap released, array emptied
  std::function<void(const std::string&)> statusText;
  std::function<void(const std::string&)> saveDialogName;
  std::function<void(int)> rowGlyphChanged;        // row's symbol rebuilt (MakeObjectGlyph) and labels drawn
  std::function<void(int)> rowLabelsChanged;       // row's values changed: its symbol and labels shown afresh
  std::function<bool(int, int&, int&)> symbolSize; // width, height of ObjGlyphs[row]; false when it has none
  // Symbol layer services that loading a project and the options window need.
  std::function<void(int)> makeObjectGlyph;        // ObjGlyphs[row] := a freshly composed symbol
  std::function<void(int)> drawObjectLabels;       // designator and value labels into ObjGlyphs[row]
  std::function<void()> calcDrawingExtent;         // DrawExtentX, DrawExtentY from the rows
  std::function<void()> createSwitchAmpGlyphs;     // builds the obsolete families' symbol set
  std::function<void()> releaseSwitchAmpGlyphs;    // releases it again
  std::function<void(int)> selectTvStandard;       // kind-97 lists: standards, given item, channels
  std::function<void()> levelDisplayEnded;         // the canvas stops blinking the level marks
};
ModelHooks& Hooks();

// ---- operations
void ClearNodeSpectra(int n);
void ResetNode(int n);
void ResetSimulation();
void NewNetworkModel();
// The drawing or what its levels depend on changed, so an earlier run's results no longer belong
// to it: the main window goes back to editing, the level marks stop blinking and the supply
// current leaves the status bar. Every edit ends so; a run shows its own results afterwards.
void EndLevelDisplay();
// First "Network" + n + ".stn" (n = 1, 2, ...) that does not exist in dir.
std::string FirstFreeNetworkName(const std::string& dir = ".");
// First prefix + n + ext that does not exist in dir (shared by the source-file names).
std::string FirstFreeFileName(const std::string& prefix, const std::string& ext, const std::string& dir = ".");

// Grows Nodes and NodeSpectra to at least n rows; new rows are reset.
void EnsureNodeRows(std::size_t n);
// Grows NetObjects so that at least `freeRows` zero rows follow CurObject.
void EnsureFreeObjectRows(std::size_t freeRows);
// ObjGlyphs and ObjValues follow the length of NetObjects after a load or commit.
void SyncRowCompanions();
// Growth of the calculation arrays for one committed or loaded head row.
void GrowForObject(int kind);
// Range-checked kind lookup helpers for the object table.
inline bool ValidObjRow(int row) { return row >= 0 && static_cast<std::size_t>(row) < NetObjects.size(); }
// Number of continuation rows (negative Kind) directly behind row `row`: the rows of the object
// there. What follows them is the next object's row or the free row that ends the drawing.
int ContinuationRows(int row);
// Rows of the object at `row`: its head row and its continuation rows.
inline int ObjectRowCount(int row) { return 1 + ContinuationRows(row); }
inline bool ValidNode(int n) { return n >= 0 && static_cast<std::size_t>(n) < Nodes.size(); }

}  // namespace kavrix
