// Outlet evaluation: every TV socket gets a SAT and a terrestrial status digit from the lowest
// and highest carrier levels the nodes feeding its connection point deliver after the drop
// cable and socket losses, and the node feeding it directly takes the socket's limit.
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "engine/optical_cable.hpp"
#include "model/number_text.hpp"
#include "model/run_records.hpp"
#include "model/source_tables.hpp"
#include "simulation/point_map.hpp"
#include "simulation/run_steps.hpp"

namespace kavrix {

namespace {

// Status digit of one classification; `status` keeps the earlier value when no test holds.
// The tests run from the lowest to the highest digit, each later one that holds wins.
int Classify(double mn, double mx, double lo, double hi, int status) {
  bool minGave5 = false;
  if (mn < lo - 10) status = kStatusUnder10;
  if (lo - 10 < mn && mn < lo - 5) status = kStatusUnder5;
  if (lo - 5 < mn && mn < lo) {
    status = kStatusUnder;
    minGave5 = true;
  }
  if (hi < mx && mx < hi + 5 && minGave5) status = kStatusOverAndUnder;
  if (hi < mx && mx < hi + 5 && status != kStatusOverAndUnder) status = kStatusOver;
  if (hi + 5 < mx && mx < hi + 10) status = kStatusOver5;
  if (mx > hi + 10) status = kStatusOver10;
  if (mx < hi && mn > lo) status = kStatusWithin;
  return status;
}

// A pin through which a socket can be fed: output (q = 0) or port q + 1 of a node.
struct PinEntry {
  uint64_t key;
  int q, node;
  bool operator<(const PinEntry& o) const { return key != o.key ? key < o.key : q != o.q ? q < o.q : node < o.node; }
};

// Connection point and marker ends of a socket row, by its orientation.
LinkRow SocketLink(const ObjRow& o, int row) {
  const int x = o[kX], y = o[kY];
  LinkRow l;
  switch (o[kOrient]) {
    case 2: l = {0, x, y + 25, x, y - 23, x, y - 15, 0}; break;
    case 3: l = {0, x + 25, y, x - 23, y, x - 15, y, 0}; break;
    case 4: l = {0, x, y - 25, x, y + 23, x, y + 15, 0}; break;
    default: l = {0, x - 25, y, x + 23, y, x + 15, y, 0}; break;
  }
  l[kLinkObject] = row;
  return l;
}

}  // namespace

void EvaluateOutlets() {
  int end = 0;
  while (end + 1 < static_cast<int>(Nodes.size()) && Nodes[end][kNodeCode] != 0) ++end;
  // The sockets' connection points, and per point the pins that lie on it (output, q = 0, or
  // port q + 1 of nodes up to the first without a code), sorted by port and node so that a socket
  // visits its feeding nodes port by port in node order. Ports a node does not have keep their
  // pins at (0, 0); they are left out and only a socket whose connection point is (0, 0) looks
  // for them.
  static PointMap points;
  static std::vector<int> start, fill;
  static std::vector<PinEntry> byPin, feeding;
  points.reset(Links.size() + 16);
  start.clear();
  for (std::size_t row = 0; row < NetObjects.size() && NetObjects[row][kKind] != 0; ++row) {
    if (NetObjects[row][kKind] != 210) continue;
    const LinkRow l = SocketLink(NetObjects[row], static_cast<int>(row));
    bool added = false;
    points.insert(PinKey(l[kLinkX], l[kLinkY]), static_cast<int>(start.size()), &added);
    if (added) start.push_back(0);
  }
  auto forPins = [end](auto&& f) {
    for (int j = 0; j < end; ++j)
      for (int q = 0; q < 5; ++q)
        if (q == 0 || Nodes[j][PortLink(q + 1)] != kNoPort) {
          const uint64_t key = PinKey(Nodes[j][PinX(q + 1)], Nodes[j][PinY(q + 1)]);
          if (const int* g = points.find(key)) f(*g, PinEntry{key, q, j});
        }
  };
  forPins([](int g, const PinEntry&) { ++start[static_cast<std::size_t>(g)]; });
  int total = 0;
  for (int& c : start) {
    const int n = c;
    c = total;
    total += n;
  }
  start.push_back(total);
  byPin.resize(static_cast<std::size_t>(total));
  fill.assign(start.begin(), start.end() - 1);
  forPins([](int g, const PinEntry& e) { byPin[static_cast<std::size_t>(fill[static_cast<std::size_t>(g)]++)] = e; });
  for (std::size_t g = 0; g + 1 < start.size(); ++g) std::sort(byPin.begin() + start[g], byPin.begin() + start[g + 1]);

  // sqrt(f / 1000) of every carrier of the plans, looked up instead of taken per socket.
  std::array<std::array<std::array<double, kSatRows>, 4>, kSatSlots> satRoot;
  for (int slot = 0; slot < kSatSlots; ++slot)
    for (int band = 0; band < 4; ++band)
      for (int i = 0; i < kSatRows; ++i) {
        const double f = SatTables[slot][2 * band][i];
        satRoot[slot][band][i] = f > 0 ? std::sqrt(f / 1000.0) : 0.0;
      }
  std::array<std::array<double, 100>, kTerrSourceMax> terrRoot;
  for (int p = 0; p < kTerrSourceMax; ++p)
    for (int i = 0; i < 100; ++i) terrRoot[p][i] = std::sqrt(std::max(TerrSpectra[2 * p][i], 0.0) / 1000.0);

  // The sockets in row order with their point's group, so that the nodes of a socket a few
  // places on can be fetched while this one is judged.
  static std::vector<std::pair<int, int>> sockets;
  sockets.clear();
  for (std::size_t row = 0; row < NetObjects.size() && NetObjects[row][kKind] != 0; ++row) {
    if (NetObjects[row][kKind] != 210) continue;
    const LinkRow l = SocketLink(NetObjects[row], static_cast<int>(row));
    const int* g = points.find(PinKey(l[kLinkX], l[kLinkY]));
    sockets.push_back({static_cast<int>(row), g ? *g : -1});
  }
  constexpr std::size_t kAhead = 3;

  int k = 0;
  for (std::size_t si = 0; si < sockets.size(); ++si) {
    if (si + kAhead < sockets.size() && sockets[si + kAhead].second >= 0) {
      const std::size_t g = static_cast<std::size_t>(sockets[si + kAhead].second);
      for (int e = start[g]; e < start[g + 1]; ++e) NodeSpectra.prefetch(static_cast<std::size_t>(byPin[static_cast<std::size_t>(e)].node));
    }
    const std::size_t row = static_cast<std::size_t>(sockets[si].first);
    const ObjRow& o = NetObjects[row];
    if (static_cast<std::size_t>(k) >= Links.size()) Links.resize(static_cast<std::size_t>(k) + 1, LinkRow{});
    LinkRow& l = Links[k];
    l = SocketLink(o, static_cast<int>(row));
    const double L = o[kInst];
    const int c = o[kStyle];
    const double coef = ValidCableKind(c) ? CableCoef[c] : 0.0;
    int s = kStatusNone, t = kStatusNone;
    double satMax = kNoSignal, terrMax = kNoSignal;
    bool noSignal = false;
    const uint64_t key = PinKey(l[kLinkX], l[kLinkY]);
    feeding.clear();
    if (const int* g = points.find(key))
      feeding.assign(byPin.begin() + start[static_cast<std::size_t>(*g)], byPin.begin() + start[static_cast<std::size_t>(*g) + 1]);
    if (key == PinKey(0, 0)) {
      for (int j = 0; j < end; ++j)
        for (int q = 1; q < 5; ++q)
          if (Nodes[j][PortLink(q + 1)] == kNoPort && Nodes[j][PinX(q + 1)] == 0 && Nodes[j][PinY(q + 1)] == 0)
            feeding.push_back({key, q, j});
      std::sort(feeding.begin(), feeding.end());
    }
    for (const PinEntry& e : feeding) {
      const int q = e.q, j = e.node;
      NodeRow& r = Nodes[j];
      // Single-cable and mode-'0' chains feed sockets only from their main output.
      if ((r[kNodeChainMark] == kChainSingleCable || r[kNodeChainMark] == kChainBandGrid) && q > 0) continue;
      double satMin = 1000000.0, terrMin = 1000000.0;
      if (q > 0) r[PortLink(q + 1)] = k;
      const int id = r[kNodeSourceId];
      if (q == 0) {
        if (id > kSatIdLimit) r[kNodeMaxLevel] = static_cast<int>(TruncToZero(TerrMaxLevel + TerrSocketLoss + L * coef * 0.2));
        else if (id < kSatIdLimit)
          r[kNodeMaxLevel] = static_cast<int>(TruncToZero(SatMaxLevel + SatSocketLoss + L * coef * 1.24));
      }
      if (id > 0) {
        const int slot = SatSlotOf(id), band = BandOf(id);
        const double* sp = SpectrumPeek(j, q + 1);
        if (id < kSatIdLimit && r[kNodeChainMark] != kChainBandGrid) {
          if (ValidSatSlot(slot) && band >= 1 && band <= 4) {
            const bool singleCable = r[kNodeChainMark] == kChainSingleCable;
            const double* levels = singleCable ? SpectrumPeek(j, 1) : sp;
            const auto& freq = SatTables[slot][2 * (band - 1)];
            const auto& root = satRoot[slot][band - 1];
            for (int i = 0; i < kSatRows; ++i) {
              const double loss = freq[i] > 0 ? L * root[i] * coef + SatSocketLoss : 0.0;
              const double v = levels[i] - loss;
              if (singleCable ? v > 0 : v > -1000000) {
                satMin = std::min(satMin, v);
                satMax = std::max(satMax, v);
              }
            }
          }
        } else if (id < kSatIdLimit) {
          const double* out = SpectrumPeek(j, 1);
          for (int b = 1; b <= 4; ++b) {
            if (LnbParams[0][b - 1][0] <= 0) continue;
            for (int m = 0; m < 7; ++m) {
              const double v = out[7 * (b - 1) + m] - (L * engine::optics::kCableGridRootF[static_cast<std::size_t>(m)] * coef + SatSocketLoss);
              satMin = std::min(satMin, v);
              satMax = std::max(satMax, v);
            }
          }
          if (satMin < -1000000) satMin = SatMinLevel - 20;
        } else if (id > kSatIdLimit) {
          const int p = TerrPairOf(id);
          if (p >= 0) {
            const auto& root = terrRoot[static_cast<std::size_t>(p)];
            // Past the entries the run wrote the levels are kNoSignal, which no loss of at least
            // -999000 dB lifts above -1000.
            const bool lossesFromZero = L * coef >= 0.0 && TerrSocketLoss >= -999000.0;
            const int entries = lossesFromZero ? std::min(100, NodeSpectra.written(static_cast<std::size_t>(j))) : 100;
            for (int i = 0; i < entries; ++i) {
              const double loss = L * root[static_cast<std::size_t>(i)] * coef + TerrSocketLoss;
              const double v = sp[i] - loss;
              if (v > -1000) {
                terrMin = std::min(terrMin, v);
                terrMax = std::max(terrMax, v);
              }
            }
          }
        }
      }
      // A satellite path without signal feeding the socket makes every later SAT status 7.
      if (id == 0 && r[kNodeCode] > 0 && CodePath(r[kNodeCode]) != kTerrestrialPath) noSignal = true;
      if (-1000 < satMin && satMin < 1000000 && id > 0 && id < kSatIdLimit) {
        s = Classify(satMin, satMax, SatMinLevel, SatMaxLevel, s);
        if (noSignal) s = kStatusUnder10;
      }
      if (-100 < terrMin && terrMin < 1000000) t = Classify(terrMin, terrMax, TerrMinLevel, TerrMaxLevel, t);
      // A first out-of-limit SAT status stays; "within" is replaced by a later finding.
      if (l[kLinkStatus] == kStatusWithin || l[kLinkStatus] == kStatusNone) l[kLinkStatus] = s;
    }
    l[kLinkStatus] += kTerrStatusScale * t;
    ++k;
  }
}

}  // namespace kavrix
