#include "model/network_model.hpp"

#include <cstdlib>
#include <filesystem>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

#include "catalogue/type_catalogue.hpp"
#include "model/run_records.hpp"
#include "model/source_tables.hpp"
#include "model/window_modes.hpp"

namespace kavrix {

std::vector<ObjRow> NetObjects;
std::vector<std::array<double, 2>> ObjValues;
std::array<std::string, kItemTextSlots> ItemTexts = StartupItemTexts();

std::array<std::string, kItemTextSlots> StartupItemTexts() {
  std::array<std::string, kItemTextSlots> t;
  t[0] = "abcd";
  t[1] = "efgh";
  return t;
}

int32_t CurObject = 0;
int32_t ObjectCount = 0;
int32_t SelObject = 0;
int32_t EditSerial = 1;
int32_t UndoPos = 0;
int32_t ItemTextCount = 0;
int32_t LastSocketOrient = 1;
bool ProjectModified = false;
uint8_t PendingKind = 0;
uint8_t PanelOpen = 0;
uint8_t CurCableKind = 1;
uint8_t GridStep = 5;
bool TuneOutletLimits = true;
int32_t DrawExtentX = 0;
int32_t DrawExtentY = 0;
bool OptimizeMode = true;

int32_t Form1Tag = kMainEditing;
int32_t AutoScrollDY = 0;
int32_t PlaceOffsetX = 0;
int32_t PlaceOffsetY = 0;
std::string StatusBarText;
std::string SaveDialogFileName;
std::string ProjectFileName = "naujas";

std::vector<NodeRow> Nodes;
SpectraArray NodeSpectra;
std::vector<LinkRow> Links;
std::vector<int32_t> ChainQueue;
std::array<double, kFreqListLen> FreqList{};
std::array<LevelMark, kLevelMarkCount> LevelMarks{};
std::array<int32_t, kTerrSourceMax> TerrSourceIds{};
std::array<bool, kTerrSourceMax> SourcePassed{};
std::array<bool, 4> TerrMergedFlags{};
int32_t SourceCount = 0;
int32_t TerrSourceIndex = -1;
int32_t MarkX = 0;
int32_t MarkY = 0;
int32_t ChainMarkCount = 0;

std::array<UndoEntry, kUndoEntries> UndoRing{};

namespace {
constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kLargeBlock = 4 * kHugePage;
}  // namespace

void* AllocateLargeBlock(std::size_t bytes) {
  if (bytes < kLargeBlock) {
    void* p = std::malloc(bytes == 0 ? 1 : bytes);
    if (!p) throw std::bad_alloc();
    return p;
  }
  const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
  void* p = std::aligned_alloc(kHugePage, rounded);
  if (!p) throw std::bad_alloc();
#if defined(__linux__)
  madvise(p, rounded, MADV_HUGEPAGE);
#endif
  return p;
}

void ReleaseLargeBlock(void* p, std::size_t) { std::free(p); }

ModelHooks& Hooks() {
  static ModelHooks h;
  return h;
}

void ClearNodeSpectra(int n) { NodeSpectra.resetNode(static_cast<std::size_t>(n)); }

void ResetNode(int n) {
  Nodes[n] = ResetNodeRow();
  ClearNodeSpectra(n);
}

void ResetSimulation() {
  static constexpr NodeRow resetRow = ResetNodeRow();
  std::fill(Nodes.begin(), Nodes.end(), resetRow);
  NodeSpectra.resetAll();
  for (auto& v : ObjValues) v = {0.0, 0.0};
  for (std::size_t r = 0; r < TerrSpectra.size(); ++r) TerrSpectra[r].fill(r % 2 == 0 ? 0.0 : -100000.0);
  for (auto& l : Links) l.fill(0);
  LevelMarks.fill(LevelMark{});
  for (auto& q : ChainQueue) q = 0;
  SourceCount = 0;
  TerrSourceIndex = -1;
  for (int k = 0; k < 100; ++k) FreqList[k] = 0.0;
  SourcePassed.fill(false);
  TerrMergedFlags.fill(false);
  MarkX = 0;
  MarkY = 0;
  ChainMarkCount = 0;
  TerrSourceIds.fill(0);
}

std::string FirstFreeFileName(const std::string& prefix, const std::string& ext, const std::string& dir) {
  namespace fs = std::filesystem;
  for (int n = 1;; ++n) {
    std::string name = prefix + std::to_string(n) + ext;
    std::error_code ec;
    if (!fs::exists(fs::path(dir) / name, ec)) return name;
  }
}

std::string FirstFreeNetworkName(const std::string& dir) { return FirstFreeFileName("Network", ".stn", dir); }

void EndLevelDisplay() {
  Form1Tag = kMainEditing;
  if (Hooks().levelDisplayEnded) Hooks().levelDisplayEnded();
  if (StatusBarText == kIdleStatusText) return;
  StatusBarText = kIdleStatusText;
  if (Hooks().statusText) Hooks().statusText(StatusBarText);
}

void NewNetworkModel() {
  CurCableKind = 1;
  ItemTextCount = 0;
  TuneOutletLimits = true;
  Form1Tag = kMainEditing;

  NetObjects.clear();
  ObjValues.clear();
  Nodes.clear();
  Links.clear();
  NodeSpectra.clear();
  ChainQueue.clear();
  if (Hooks().releaseGlyphs) Hooks().releaseGlyphs();
  DrawExtentX = 0;
  DrawExtentY = 0;

  NetObjects.assign(20, ObjRow{});
  ObjValues.assign(20, {0.0, 0.0});
  if (Hooks().resizeGlyphs) Hooks().resizeGlyphs(3);
  Nodes.assign(kNewNetworkNodeRows, NodeRow{});
  Links.assign(30, LinkRow{});
  NodeSpectra.resize(kNewNetworkNodeRows);
  ChainQueue.assign(10, 0);

  AutoScrollDY = 0;
  SatUsed.fill(false);
  TerrUsed.fill(false);
  // Every value a project file holds starts afresh, so that no file carries another project's
  // limits or comments.
  SatMinLevel = 50.0;
  TerrMinLevel = 60.0;
  SatMaxLevel = kDefaultSatMaxLevel;
  TerrMaxLevel = kDefaultTerrMaxLevel;
  SatSocketLoss = kDefaultSatSocketLoss;
  TerrSocketLoss = kDefaultTerrSocketLoss;
  ItemTexts = StartupItemTexts();

  SelObject = 0;
  PlaceOffsetX = 0;
  PlaceOffsetY = 0;
  GridStep = 5;
  PanelOpen = 0;
  PendingKind = 0;
  CurCableKind = 1;
  CurObject = 0;
  ObjectCount = 0;
  EditSerial = 1;
  UndoPos = 0;

  StatusBarText = kIdleStatusText;
  if (Hooks().statusText) Hooks().statusText(StatusBarText);

  for (auto& r : UndoRing) r.fill(0);

  for (auto& slot : SatTables)
    for (auto& col : slot) col.fill(0);
  for (auto& slot : TerrTables)
    for (auto& side : slot) side.fill(0);
  for (auto& slot : LnbParams)
    for (auto& band : slot) band.fill(0);
  for (auto& p : TerrParams) p.fill(0);

  ResetSimulation();

  SaveDialogFileName = FirstFreeNetworkName();
  if (Hooks().saveDialogName) Hooks().saveDialogName(SaveDialogFileName);
  ProjectModified = false;
}

void EnsureNodeRows(std::size_t n) {
  std::size_t old = Nodes.size();
  if (n <= old) return;
  // New rows get the values ResetNode gives, written once.
  static constexpr NodeRow resetRow = ResetNodeRow();
  Nodes.resize(n, resetRow);
  if (NodeSpectra.size() < n) NodeSpectra.appendResetNodes(n - NodeSpectra.size());
}

void EnsureFreeObjectRows(std::size_t freeRows) {
  std::size_t need = static_cast<std::size_t>(CurObject < 0 ? 0 : CurObject) + freeRows + 1;
  if (NetObjects.size() < need) NetObjects.resize(need, ObjRow{});
}

void SyncRowCompanions() {
  ObjValues.resize(NetObjects.size(), {0.0, 0.0});
  if (Hooks().resizeGlyphs) Hooks().resizeGlyphs(NetObjects.size());
}

int ContinuationRows(int row) {
  int n = 0;
  while (ValidObjRow(row + n + 1) && NetObjects[static_cast<std::size_t>(row + n + 1)][kKind] < 0) ++n;
  return n;
}

void GrowForObject(int kind) {
  const TypeRecord& t = TypeOf(kind);
  if (kind == 210) {
    Links.push_back(LinkRow{});
    return;
  }
  if (kind > 0 && kind < 220) {
    if (t[2] > 0) EnsureNodeRows(Nodes.size() + static_cast<std::size_t>(t[2]));
    if (t[3] > 0) ChainQueue.resize(ChainQueue.size() + static_cast<std::size_t>(t[3]), 0);
  }
}

}  // namespace kavrix
