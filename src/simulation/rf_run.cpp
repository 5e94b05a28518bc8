#include "simulation/rf_run.hpp"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "model/committed_drawing.hpp"
#include "catalogue/geometry.hpp"
#include "catalogue/port_templates.hpp"
#include "catalogue/type_catalogue.hpp"
#include "engine/propagation.hpp"
#include "model/network_model.hpp"
#include "model/number_text.hpp"
#include "model/object_rows.hpp"
#include "model/panel_encodings.hpp"
#include "model/run_records.hpp"
#include "model/window_modes.hpp"
#include "model/source_tables.hpp"
#include "simulation/node_builder.hpp"
#include "simulation/point_map.hpp"
#include "simulation/run_steps.hpp"

namespace kavrix {

bool LastRunBuiltGraph = false;
bool TerrPresent = false;
int LastRunNodeCount = 0;

namespace {

int Derating(int carriers) {
  if (carriers <= 2) return 0;
  return static_cast<int>(RoundHalfEven((std::log(static_cast<double>(carriers)) - 1.0) * 3.0));
}

bool ContinuationRow(int row) { return ValidObjRow(row) && NetObjects[row][kKind] < 0; }

void SetOutputPin(NodeRow& n, const ObjRow& o, int dx, int dy) {
  const Point p = Rotated(o[kOrient], dx, dy);
  n[kNodeOutX] = o[kX] + p.x;
  n[kNodeOutY] = o[kY] + p.y;
}

// Takes the next terrestrial index; false when the run has no room for another source.
bool NextTerrIndex(int& i) {
  ++TerrSourceIndex;
  i = TerrSourceIndex;
  return i <= 10;
}

void RegisterLnb(int row, int& k) {
  const ObjRow& o = NetObjects[row];
  const int slot = o[kInst];
  if (!ValidSatSlot(slot)) return;
  static constexpr int kDx[2][4] = {{-30, -10, 10, 30}, {-10, 30, -30, 10}};
  for (int b = 1; b <= 4; ++b) {
    EnsureNodeRows(static_cast<std::size_t>(k) + 2);
    NodeRow& n = Nodes[k];
    n[kNodeCode] = kCodeLnbBand + b;
    n[kNodeSourceId] = SatSourceId(slot, b);
    n[kNodeObject] = row;
    const int count = LnbParams[slot][b - 1][kLnbCarriers];
    n[kSourceDerating] = Derating(count);
    double* out = NodeSpectra.at(k, 1);
    for (int j = 0; j < count && j < kSatRows; ++j) out[j] = SatTables[slot][SatLevelColumn(b - 1)][j];
    SetOutputPin(n, o, kDx[o[kStyle] == 2 ? 1 : 0][b - 1], 40);
    ++k;
  }
}

void RegisterAntenna(int row, int& k) {
  const ObjRow& o = NetObjects[row];
  TerrPresent = true;
  int i;
  if (!NextTerrIndex(i)) return;
  const int slot = o[kInst];
  EnsureNodeRows(static_cast<std::size_t>(k) + 2);
  NodeRow& n = Nodes[k];
  n[kNodeCode] = kCodeAntenna;
  n[kAntennaSlot] = slot;
  n[kNodeObject] = row;
  n[kNodeSourceId] = n[kNodeChainMark] = kTerrIdBase + i;
  TerrSourceIds[i] = kTerrIdBase + i;
  SetOutputPin(n, o, 0, 90);
  if (ValidTerrSlot(slot)) {
    n[kSourceDerating] = Derating(TerrParams[slot][kTerrCarriers]);
    double* out = NodeSpectra.at(k, 1);
    const auto& freq = TerrTables[slot][kTerrFreqs];
    const auto& level = TerrTables[slot][kTerrLevels];
    for (int j = 0; j < 100; ++j) {
      TerrSpectra[2 * i][j] = freq[j];
      TerrSpectra[2 * i + 1][j] = level[j];
      if (TerrSpectra[2 * i][j] > 0.0) out[j] = level[j];
    }
  }
  ++k;
}

// Common part of the modulators: node k as a terrestrial source of index i.
NodeRow& ModulatorNode(int row, int k, int i, int code) {
  EnsureNodeRows(static_cast<std::size_t>(k) + 2);
  NodeRow& n = Nodes[k];
  n[kNodeCode] = code;
  n[kSourceDerating] = 0;
  n[kNodeSourceId] = n[kNodeChainMark] = kTerrIdBase + i;
  n[kNodeObject] = row;
  TerrSourceIds[i] = kTerrIdBase + i;
  ObjValues[row][kObjPlanRow] = 2.0 * i;
  const TypeRecord& t = TypeOf(NetObjects[row][kKind]);
  const auto& path = PortTemplates[static_cast<std::size_t>(t[kFirstTemplateRow])];
  SetOutputPin(n, NetObjects[row], path[3], path[4]);
  return n;
}

void RegisterBavk(int row, int& k) {
  int i;
  if (!NextTerrIndex(i)) return;
  ModulatorNode(row, k, i, kCodeBavkSource);
  panel::DvbModulatorSettings s;
  if (ContinuationRow(row + 1) && panel::ReadDvbModulator(row, s)) {
    const int wi = s.widthItem;
    if (wi >= 0 && wi < 4) {
      const double w = panel::ModulatorChannelWidth(wi);
      const double c = s.outputTenths / 10.0;
      auto& f = TerrSpectra[2 * i];
      auto& l = TerrSpectra[2 * i + 1];
      f[0] = c - w / 2 - 1;
      f[1] = c - w / 2;
      f[2] = c + w / 2;
      f[3] = c + 3 * w / 2;
      f[4] = c + 3 * w / 2 + 1;
      const bool ch1 = s.channel1, ch2 = s.channel2;
      const double L = 90 - s.attenuator;
      l[0] = -1000.0;
      l[1] = ch1 ? L : -1000.0;
      l[2] = (ch1 || ch2) ? L : -1000.0;
      l[3] = ch2 ? L : -1000.0;
      l[4] = -1000.0;
    }
  }
  ++k;
}

void RegisterZirn(int row, int& k) {
  int i;
  if (!NextTerrIndex(i)) return;
  ModulatorNode(row, k, i, kCodeZirnSource);
  panel::HdmiModulatorSettings s;
  if (ContinuationRow(row + 1) && panel::ReadHdmiModulator(row, s)) {
    double f = 0, a = 0, b = 0;
    const bool ok = panel::HdmiChannelRaster(s.standard, s.channel, f, a, b);
    auto& fr = TerrSpectra[2 * i];
    auto& l = TerrSpectra[2 * i + 1];
    if (ok) {
      fr[0] = f - 1;
      fr[1] = f;
      fr[2] = f + a;
      fr[3] = f + b;
    }
    const double L = 90 + s.levelOffset;
    l[0] = -1000.0;
    l[1] = L;
    l[2] = L;
    l[3] = -1000.0;
  }
  ++k;
}

void RegisterGorv(int row, int& k) {
  int i;
  if (!NextTerrIndex(i)) return;
  EnsureNodeRows(static_cast<std::size_t>(k) + 2);
  const ObjRow& o = NetObjects[row];
  NodeRow& n = Nodes[k];
  n[kNodeCode] = kCodeGorvSource;
  n[kSourceDerating] = 8;
  n[kNodeSourceId] = n[kNodeChainMark] = kGeneratedIdBase + i;
  n[kNodeStep] = -o[kInst];
  n[kNodeObject] = row;
  n[kNodeControlRow] = TypeOf(60)[kFirstTemplateRow] + 8;
  TerrSourceIds[i] = kGeneratedIdBase + i;
  ObjValues[row][kObjPlanRow] = 2.0 * i;
  auto& f = TerrSpectra[2 * i];
  auto& l = TerrSpectra[2 * i + 1];
  int p = 1;
  for (int r = 1; r <= panel::kConverterChannels && ContinuationRow(row + r); ++r) {
    const panel::ConverterChannel c = panel::ConverterChannelOf(NetObjects[row + r]);
    if (!c.enabled) continue;
    const double F = c.outputTenths / 10.0;
    f[p - 1] = F - 4.0;
    f[p] = F - 3.9;
    f[p + 1] = F + 3.9;
    f[p + 2] = F + 4.0;
    for (int e = p - 1; e <= p + 2; ++e) l[e] = -1000.0;
    p += 4;
  }
  SetOutputPin(n, o, 60, 60);
  ++k;
}

void RegisterFemo(int row, int& k) {
  int i;
  if (!NextTerrIndex(i)) return;
  EnsureNodeRows(static_cast<std::size_t>(k) + 2);
  const ObjRow& o = NetObjects[row];
  NodeRow& n = Nodes[k];
  n[kNodeCode] = kCodeFemoSource;
  n[kSourceDerating] = 0;
  n[kNodeSourceId] = n[kNodeChainMark] = kGeneratedIdBase + i;
  n[kNodeObject] = row;
  TerrSourceIds[i] = kGeneratedIdBase + i;
  ObjValues[row][kObjPlanRow] = 2.0 * i;
  if (ContinuationRow(row + 1)) {
    const double w = o[kStyle] / 10.0;
    const double c = NetObjects[row + 1][kFourOutCentre] / 10.0;
    auto& f = TerrSpectra[2 * i];
    auto& l = TerrSpectra[2 * i + 1];
    f[1] = c - w / 2;
    for (int e = 2; e <= 5; ++e) f[e] = f[e - 1] + w;
    f[0] = f[1] - 1.0;
    f[6] = f[5] + 1.0;
    for (int e = 0; e <= 6; ++e) l[e] = -1000.0;
  }
  SetOutputPin(n, o, 25, 60);
  ++k;
}

template <class F>
void ForEachObjectRow(F&& f) {
  for (std::size_t row = 0; row < NetObjects.size() && NetObjects[row][kKind] != 0; ++row)
    if (NetObjects[row][kKind] > 0) f(static_cast<int>(row));
}

std::pair<int, int> LineEnd(int row) {
  const ObjRow& o = NetObjects[row];
  if (o[kKind] == 210 || !ContinuationRow(row + 1)) return {o[kX], o[kY]};
  const LineLegs legs = LineLegs::Of(NetObjects[row + 1]);
  return {legs.endX(o[kX]), legs.endY(o[kY])};
}

uint64_t Key(int x, int y) { return (static_cast<uint64_t>(static_cast<uint32_t>(x)) << 32) | static_cast<uint32_t>(y); }

}  // namespace

int RegisterSources() {
  int k = 0;
  ForEachObjectRow([&](int row) {
    const ObjRow& o = NetObjects[row];
    const int kind = o[kKind];
    if (kind == 203 && ContinuationRow(row + 1)) NetObjects[row + 1][kLineColour] = 0;
    if (kind == 91 && o[kStyle] < 3) RegisterLnb(row, k);
    else if (kind >= 92 && kind <= 95) RegisterAntenna(row, k);
    else if (kind == 96) RegisterBavk(row, k);
    else if (kind == 97) RegisterZirn(row, k);
  });
  ForEachObjectRow([&](int row) {
    const int kind = NetObjects[row][kKind];
    if (kind == 60) RegisterGorv(row, k);
    else if (kind == 61) RegisterFemo(row, k);
  });
  return k;
}

std::string CheckDrawing() {
  const int count = std::min<int>(ObjectCount, static_cast<int>(NetObjects.size()) - 1);
  // For every row the next row after it (-1: none) with the same centre (devices) or with the
  // same or reversed ends (lines), found in one pass from the last row up, so the first finding
  // is the one a pairwise scan in row order would report.
  static PointMap nextDevice, lineGroup;
  struct LineEntry {
    uint64_t end;
    int row;   // the smallest row so far with this start and end
    int next;  // the next entry of the same start, -1 at the last
  };
  static std::vector<LineEntry> lineEntries;
  static std::vector<int> devHit, lineHit;
  const std::size_t rows = static_cast<std::size_t>(std::max(count, 0) + 1);
  nextDevice.reset(rows);
  lineGroup.reset(rows);
  lineEntries.clear();
  devHit.assign(rows, -1);
  lineHit.assign(rows, -1);
  // The smallest row with ends (start, end) seen so far, -1 when none.
  auto lineRow = [](uint64_t start, uint64_t end) {
    const int* head = lineGroup.find(start);
    for (int e = head ? *head : -1; e >= 0; e = lineEntries[static_cast<std::size_t>(e)].next)
      if (lineEntries[static_cast<std::size_t>(e)].end == end) return lineEntries[static_cast<std::size_t>(e)].row;
    return -1;
  };
  for (int r = count; r >= 0; --r) {
    const ObjRow& o = NetObjects[r];
    if (o[kKind] >= 1 && o[kKind] <= 199) {
      bool added = false;
      int& next = nextDevice.insert(Key(o[kX], o[kY]), r, &added);
      if (!added) {
        devHit[static_cast<std::size_t>(r)] = next;
        next = r;
      }
    }
    if (o[kKind] > 200) {
      const auto e = LineEnd(r);
      const uint64_t start = Key(o[kX], o[kY]), end = Key(e.first, e.second);
      const int same = lineRow(start, end), reversed = lineRow(end, start);
      lineHit[static_cast<std::size_t>(r)] = same < 0 ? reversed : (reversed < 0 ? same : std::min(same, reversed));
      bool added = false;
      int& head = lineGroup.insert(start, -1, &added);
      int e2 = head;
      while (e2 >= 0 && lineEntries[static_cast<std::size_t>(e2)].end != end) e2 = lineEntries[static_cast<std::size_t>(e2)].next;
      if (e2 >= 0) {
        lineEntries[static_cast<std::size_t>(e2)].row = r;
      } else {
        lineEntries.push_back({end, r, head});
        head = static_cast<int>(lineEntries.size()) - 1;
      }
    }
  }
  for (int i = 0; i < count; ++i) {
    const ObjRow& o = NetObjects[i];
    const int kind = o[kKind];
    std::string finding;
    if (kind >= 201 && kind <= 203 && ContinuationRow(i + 1)) {
      if (LineLegs::Of(NetObjects[i + 1]).empty())
        finding = "There are lines with inupt and output positions at one point";
    }
    if (finding.empty()) {
      if (kind >= 1 && kind <= 199 && devHit[static_cast<std::size_t>(i)] >= 0)
        finding = "There are components in the same position";
      else if (kind > 200 && lineHit[static_cast<std::size_t>(i)] >= 0)
        finding = "There are lines with coinciding input and output positions";
    }
    if (!finding.empty()) {
      MarkX = o[kX];
      MarkY = o[kY];
      return finding;
    }
  }
  return {};
}

int TotalSupplyCurrent() {
  int total = 0;
  for (std::size_t row = 0; row < NetObjects.size() && NetObjects[row][kKind] != 0; ++row) {
    const ObjRow& o = NetObjects[row];
    if (o[kKind] <= 0 || o[kKind] >= 200) continue;
    if (o[kKind] == 91) total += ValidSatSlot(o[kInst]) ? LnbCurrentMa(o[kInst]) : 0;
    else total += TypeOf(o[kKind])[kSupplyCurrent];
  }
  return total;
}

std::string CurrentStatusText(int mA) {
  return "   Total Current Consumption from H Lines:  " + std::to_string(mA) + " mA max";
}

RunOutcome RfAnalyze(const RunInput& in, const RunCallbacks& cb) {
  const CommittedDrawing committed;  // a component armed or held on the canvas is not yet drawn
  RunOutcome out;
  auto say = [&](const std::string& caption, const std::string& text) {
    if (cb.message) cb.message(caption, text);
  };
  int32_t satMin = 0, terrMin = 0;
  if (ParseInt(in.satMinText, satMin) != 0 || ParseInt(in.terrMinText, terrMin) != 0) {
    say("Error", "The value must be of an integer type number!");
    return out;
  }
  out.started = true;
  LastRunBuiltGraph = false;
  LastRunNodeCount = 0;
  if (cb.busy) cb.busy(true);
  if (cb.setBlinker) cb.setBlinker(false);
  TerrPresent = false;
  if (cb.showAnalyzer) cb.showAnalyzer();
  Form1Tag = kMainLevelsShown;
  SatMinLevel = satMin;
  TerrMinLevel = terrMin;
  TerrSourceIndex = -1;
  ResetSimulation();
  int k = 0;
  int nb = 0;
  const bool drawing = !NetObjects.empty() && NetObjects[0][kKind] > 0;
  if (drawing) {
    k = RegisterSources();
    SourceCount = k - 1;
    if (k == 0) say("", "Missing signal source (LNB)");
    if (TerrSourceIndex > 10) {
      say("", "Exceeded number of signal sources");
      k = 0;
      SourceCount = 0;
      ResetSimulation();
    }
    const std::string finding = CheckDrawing();
    if (!finding.empty()) {
      if (cb.toggleNavigation) cb.toggleNavigation();
      say("", finding);
      k = 0;
    }
    if (k > 0) {
      ForEachObjectRow([](int row) {
        if (NetObjects[row][kKind] == 203 && ContinuationRow(row + 1)) NetObjects[row + 1][kLineColour] = 0;
      });
      RunGraph graph;
      const int n = BuildNodes(k);
      nb = MarkAndDoubleChains(graph, n);
      // The spectra of every node after the sources are already clear here: the reset above
      // cleared them, registration writes only source nodes, building resets each row it writes
      // and doubling copies node fields only. Clearing them again would only cost time.
      LinkSources(graph, nb);
      RunSourcePasses(false, TakeNodeTrackers);
      LinkUnitLosses();
      UpdateMinMaxTrackers();
      EvaluateOutlets();
      out.graphBuilt = true;
    }
    CollectLevelMarks(nb);
  }
  out.builtNodes = nb;
  LastRunBuiltGraph = out.graphBuilt;
  LastRunNodeCount = nb;

  // An empty drawing goes straight to the closing steps and leaves the navigation view as it is.
  if (drawing) {
    MarkX = 0;
    MarkY = 0;
    if (cb.navigationActive && cb.navigationActive() && cb.toggleNavigation) cb.toggleNavigation();
  }
  out.totalCurrent = TotalSupplyCurrent();
  if (cb.setBlinker) cb.setBlinker(true);
  StatusBarText = CurrentStatusText(out.totalCurrent);
  if (Hooks().statusText) Hooks().statusText(StatusBarText);
  if (cb.repaint) cb.repaint();
  if (cb.busy) cb.busy(false);
  return out;
}

}  // namespace kavrix
