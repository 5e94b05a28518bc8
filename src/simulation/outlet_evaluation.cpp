#include "simulation/outlet_evaluation.hpp"

#include <algorithm>
#include <cmath>

#include "engine/optical_cable.hpp"
#include "model/number_text.hpp"
#include "simulation/pin_index.hpp"
#include "simulation/run_steps.hpp"

namespace kavrix {
namespace outlets {

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

void FeedingPins::build(int end) {
  m_end = end;
  m_points.reset(Links.size() + 16);
  m_start.clear();
  m_sockets.clear();
  for (std::size_t row = 0; row < NetObjects.size() && NetObjects[row][kKind] != 0; ++row) {
    if (NetObjects[row][kKind] != 210) continue;
    const LinkRow l = SocketLink(NetObjects[row], static_cast<int>(row));
    bool added = false;
    const int g = m_points.insert(PinKey(l[kLinkX], l[kLinkY]), static_cast<int>(m_start.size()), &added);
    if (added) m_start.push_back(0);
    m_sockets.push_back({static_cast<int>(row), g});
  }
  const int* origin = m_points.find(PinKey(0, 0));
  m_originGroup = origin ? *origin : -1;
  // Pass one counts the pins on each point, pass two places them.
  auto forPins = [this](auto&& f) {
    for (int j = 0; j < m_end; ++j)
      for (int q = 0; q < 5; ++q)
        if (q == 0 || Nodes[j][PortLink(q + 1)] != kNoPort) {
          const uint64_t key = PinKey(Nodes[j][PinX(q + 1)], Nodes[j][PinY(q + 1)]);
          if (const int* g = m_points.find(key)) f(*g, PinEntry{key, q, j});
        }
  };
  forPins([this](int g, const PinEntry&) { ++m_start[static_cast<std::size_t>(g)]; });
  int total = 0;
  for (int& c : m_start) {
    const int n = c;
    c = total;
    total += n;
  }
  m_start.push_back(total);
  m_pins.resize(static_cast<std::size_t>(total));
  m_fill.assign(m_start.begin(), m_start.end() - 1);
  forPins([this](int g, const PinEntry& e) { m_pins[static_cast<std::size_t>(m_fill[static_cast<std::size_t>(g)]++)] = e; });
  for (std::size_t g = 0; g + 1 < m_start.size(); ++g) std::sort(m_pins.begin() + m_start[g], m_pins.begin() + m_start[g + 1]);
}

std::span<const PinEntry> FeedingPins::feeding(int g) {
  if (g != m_originGroup) return pins(g);
  const std::span<const PinEntry> indexed = pins(g);
  m_atOrigin.assign(indexed.begin(), indexed.end());
  const uint64_t key = PinKey(0, 0);
  for (int j = 0; j < m_end; ++j)
    for (int q = 1; q < 5; ++q)
      if (Nodes[j][PortLink(q + 1)] == kNoPort && Nodes[j][PinX(q + 1)] == 0 && Nodes[j][PinY(q + 1)] == 0)
        m_atOrigin.push_back({key, q, j});
  std::sort(m_atOrigin.begin(), m_atOrigin.end());
  return m_atOrigin;
}

void TakeCarrierRoots(CarrierRoots& roots) {
  for (int slot = 0; slot < kSatSlots; ++slot)
    for (int band = 0; band < 4; ++band)
      for (int i = 0; i < kSatRows; ++i) {
        const double f = SatTables[slot][2 * band][i];
        roots.sat[slot][band][i] = f > 0 ? std::sqrt(f / 1000.0) : 0.0;
      }
  for (int p = 0; p < kTerrSourceMax; ++p)
    for (int i = 0; i < 100; ++i) roots.terr[p][i] = std::sqrt(std::max(TerrSpectra[2 * p][i], 0.0) / 1000.0);
}

SocketJudgement StartSocket(const ObjRow& o, int k) {
  SocketJudgement s;
  s.k = k;
  s.length = o[kInst];
  const int c = o[kStyle];
  s.coef = ValidCableKind(c) ? CableCoef[c] : 0.0;
  return s;
}

void SetSocketLimit(const SocketJudgement& s, int j) {
  NodeRow& r = Nodes[j];
  const int id = r[kNodeSourceId];
  const double L = s.length, coef = s.coef;
  if (id > kSatIdLimit) r[kNodeMaxLevel] = static_cast<int>(TruncToZero(TerrMaxLevel + TerrSocketLoss + L * coef * 0.2));
  else if (id < kSatIdLimit)
    r[kNodeMaxLevel] = static_cast<int>(TruncToZero(SatMaxLevel + SatSocketLoss + L * coef * 1.24));
}

// The minima and maxima are kept in locals: the compiler cannot tell the socket's fields from
// the spectrum entries the loops read.
double SatLevels(SocketJudgement& s, const CarrierRoots& roots, int j, int q) {
  const NodeRow& r = Nodes[j];
  const int id = r[kNodeSourceId], slot = SatSlotOf(id), band = BandOf(id);
  double mn = kNoCarrier;
  if (!ValidSatSlot(slot) || band < 1 || band > 4) return mn;
  // A single-cable chain feeds only from its output (q = 0) and has no levels at or below 0.
  const bool singleCable = r[kNodeChainMark] == kChainSingleCable;
  const double* levels = SpectrumPeek(j, q + 1);
  const auto& freq = SatTables[slot][2 * (band - 1)];
  const auto& root = roots.sat[slot][band - 1];
  const double L = s.length, coef = s.coef;
  double mx = s.satMax;
  for (int i = 0; i < kSatRows; ++i) {
    const double loss = freq[i] > 0 ? L * root[i] * coef + SatSocketLoss : 0.0;
    const double v = levels[i] - loss;
    if (singleCable ? v > 0 : v > -1000000) {
      mn = std::min(mn, v);
      mx = std::max(mx, v);
    }
  }
  s.satMax = mx;
  return mn;
}

double BandGridLevels(SocketJudgement& s, int j) {
  const double* out = SpectrumPeek(j, 1);
  const double L = s.length, coef = s.coef;
  double mn = kNoCarrier, mx = s.satMax;
  for (int b = 1; b <= 4; ++b) {
    if (LnbParams[0][b - 1][0] <= 0) continue;
    for (int m = 0; m < 7; ++m) {
      const double v = out[7 * (b - 1) + m] - (L * engine::optics::kCableGridRootF[static_cast<std::size_t>(m)] * coef + SatSocketLoss);
      mn = std::min(mn, v);
      mx = std::max(mx, v);
    }
  }
  s.satMax = mx;
  if (mn < -1000000) mn = SatMinLevel - 20;
  return mn;
}

double TerrLevels(SocketJudgement& s, const CarrierRoots& roots, int j, int q) {
  double mn = kNoCarrier;
  const int p = TerrPairOf(Nodes[j][kNodeSourceId]);
  if (p < 0) return mn;
  const double* sp = SpectrumPeek(j, q + 1);
  const auto& root = roots.terr[static_cast<std::size_t>(p)];
  const double L = s.length, coef = s.coef;
  // Past the entries the run wrote the levels are kNoSignal, which no loss of at least -999000 dB
  // lifts above -1000.
  const bool lossesFromZero = L * coef >= 0.0 && TerrSocketLoss >= -999000.0;
  const int entries = lossesFromZero ? std::min(100, NodeSpectra.written(static_cast<std::size_t>(j))) : 100;
  double mx = s.terrMax;
  for (int i = 0; i < entries; ++i) {
    const double loss = L * root[static_cast<std::size_t>(i)] * coef + TerrSocketLoss;
    const double v = sp[i] - loss;
    if (v > -1000) {
      mn = std::min(mn, v);
      mx = std::max(mx, v);
    }
  }
  s.terrMax = mx;
  return mn;
}

void JudgePin(SocketJudgement& s, const CarrierRoots& roots, const PinEntry& e, LinkRow& l) {
  const int q = e.q, j = e.node;
  NodeRow& r = Nodes[j];
  const int mark = r[kNodeChainMark];
  // Single-cable and mode-'0' chains feed sockets only from their main output.
  if ((mark == kChainSingleCable || mark == kChainBandGrid) && q > 0) return;
  if (q > 0) r[PortLink(q + 1)] = s.k;
  if (q == 0) SetSocketLimit(s, j);
  const int id = r[kNodeSourceId];
  const bool satellite = id > 0 && id < kSatIdLimit;
  double satMin = kNoCarrier, terrMin = kNoCarrier;
  if (satellite) satMin = mark == kChainBandGrid ? BandGridLevels(s, j) : SatLevels(s, roots, j, q);
  else if (id > kSatIdLimit) terrMin = TerrLevels(s, roots, j, q);
  // A satellite path without signal feeding the socket makes every later SAT status 7.
  if (id == 0 && r[kNodeCode] > 0 && CodePath(r[kNodeCode]) != kTerrestrialPath) s.noSignal = true;
  if (-1000 < satMin && satMin < 1000000 && satellite) {
    s.sat = Classify(satMin, s.satMax, SatMinLevel, SatMaxLevel, s.sat);
    if (s.noSignal) s.sat = kStatusUnder10;
  }
  if (-100 < terrMin && terrMin < 1000000) s.terr = Classify(terrMin, s.terrMax, TerrMinLevel, TerrMaxLevel, s.terr);
  // A first out-of-limit SAT status stays; "within" is replaced by a later finding.
  if (l[kLinkStatus] == kStatusWithin || l[kLinkStatus] == kStatusNone) l[kLinkStatus] = s.sat;
}

void JudgeSocket(const ObjRow& o, int k, std::span<const PinEntry> feeding, const CarrierRoots& roots, LinkRow& l) {
  SocketJudgement s = StartSocket(o, k);
  for (const PinEntry& e : feeding) JudgePin(s, roots, e, l);
  l[kLinkStatus] += kTerrStatusScale * s.terr;
}

}  // namespace outlets

void EvaluateOutlets() {
  int end = 0;
  while (end + 1 < static_cast<int>(Nodes.size()) && Nodes[end][kNodeCode] != 0) ++end;
  static outlets::FeedingPins pins;
  pins.build(end);
  outlets::CarrierRoots roots;
  outlets::TakeCarrierRoots(roots);
  // The nodes of a socket a few places on are fetched while this one is judged.
  constexpr std::size_t kAhead = 3;
  const std::span<const outlets::SocketAt> sockets = pins.sockets();
  for (std::size_t k = 0; k < sockets.size(); ++k) {
    if (k + kAhead < sockets.size())
      for (const outlets::PinEntry& e : pins.pins(sockets[k + kAhead].group)) NodeSpectra.prefetch(static_cast<std::size_t>(e.node));
    const ObjRow& o = NetObjects[static_cast<std::size_t>(sockets[k].row)];
    if (k >= Links.size()) Links.resize(k + 1, LinkRow{});
    LinkRow& l = Links[k];
    l = outlets::SocketLink(o, sockets[k].row);
    outlets::JudgeSocket(o, static_cast<int>(k), pins.feeding(sockets[k].group), roots, l);
  }
}

}  // namespace kavrix
