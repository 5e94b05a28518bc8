#pragma once
// Outlet evaluation: every TV socket gets a SAT and a terrestrial status digit from the lowest
// and highest carrier levels the nodes feeding its connection point deliver after the drop
// cable and socket losses, and the node feeding it directly takes the socket's limit. The pins
// that can feed a socket are indexed and the carriers' square roots taken once per run; then
// each socket is judged pin by pin. Each step is a function of its own, in the order the run
// applies it, so that tests can drive it on a hand-built graph.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "model/network_model.hpp"
#include "model/run_records.hpp"
#include "model/source_tables.hpp"
#include "simulation/point_map.hpp"

namespace kavrix::outlets {

// Status digit of one classification of the lowest and highest level mn, mx against the limits
// lo, hi; `status` keeps the earlier value when no test holds. The tests run from the lowest to
// the highest digit, each later one that holds wins.
int Classify(double mn, double mx, double lo, double hi, int status);

// The socket's Links row: connection point and marker ends by its orientation, its object row,
// status 0.
LinkRow SocketLink(const ObjRow& o, int row);

// A pin through which a socket can be fed: output (q = 0) or port q + 1 of a node.
struct PinEntry {
  uint64_t key;
  int q, node;
  bool operator<(const PinEntry& o) const { return key != o.key ? key < o.key : q != o.q ? q < o.q : node < o.node; }
  bool operator==(const PinEntry&) const = default;
};

// A socket row of NetObjects and the group of its connection point.
struct SocketAt {
  int row, group;
};

// The sockets' connection points and, per point, the pins of nodes [0, end) that lie on it
// (every output, and the ports a node has), sorted by port and node so that a socket visits its
// feeding nodes port by port in node order. The storage stays for the next run.
class FeedingPins {
 public:
  void build(int end);
  // The sockets in row order.
  std::span<const SocketAt> sockets() const { return m_sockets; }
  // The indexed pins on the point of group g.
  std::span<const PinEntry> pins(int g) const {
    return {m_pins.data() + m_start[static_cast<std::size_t>(g)], m_pins.data() + m_start[static_cast<std::size_t>(g) + 1]};
  }
  // The pins feeding a socket of group g. Ports a node does not have keep their pins at (0, 0);
  // only a socket whose point is (0, 0) takes them, as they are when it is judged.
  std::span<const PinEntry> feeding(int g);

 private:
  int m_end = 0;
  int m_originGroup = -1;  // the group of point (0, 0)
  PointMap m_points;
  std::vector<SocketAt> m_sockets;
  std::vector<int> m_start, m_fill;
  std::vector<PinEntry> m_pins, m_atOrigin;
};

// sqrt(f / 1000) of every carrier of the plans (f in MHz), looked up instead of taken per socket.
struct CarrierRoots {
  std::array<std::array<std::array<double, kSatRows>, 4>, kSatSlots> sat;  // slot, band - 1, row; 0 for no carrier
  std::array<std::array<double, 100>, kTerrSourceMax> terr;                 // TerrSpectra pair, entry
};
void TakeCarrierRoots(CarrierRoots& roots);

// Lowest level of a pin that delivers no carrier.
constexpr double kNoCarrier = 1000000.0;

// What the pins of one socket share while it is judged.
struct SocketJudgement {
  int k = 0;             // its Links row
  double length = 0.0;   // drop cable in m (the socket's Inst)
  double coef = 0.0;     // CableCoef of its cable kind (its Style), 0 for none
  int sat = kStatusNone, terr = kStatusNone;       // status digits so far
  double satMax = kNoSignal, terrMax = kNoSignal;  // highest levels over the pins judged so far
  bool noSignal = false;  // a SAT path without signal feeds the socket
};
SocketJudgement StartSocket(const ObjRow& o, int k);

// Node j feeds the socket from its output: its maximum level becomes the socket's limit.
void SetSocketLimit(const SocketJudgement& s, int j);
// The lowest carrier level node j delivers at the socket through its output (q = 0) or port
// q + 1 (kNoCarrier when none); the socket's highest takes the pin's carriers. Satellite carriers
// of the band's plan (a single-cable chain's only above 0); the 28-point band grid of a mode-'0'
// chain's output; terrestrial carriers.
double SatLevels(SocketJudgement& s, const CarrierRoots& roots, int j, int q);
double BandGridLevels(SocketJudgement& s, int j);
double TerrLevels(SocketJudgement& s, const CarrierRoots& roots, int j, int q);
// One feeding pin: its port takes the socket's row, its levels are classified, and l's status
// takes the SAT digit unless an earlier pin left one out of the limits.
void JudgePin(SocketJudgement& s, const CarrierRoots& roots, const PinEntry& e, LinkRow& l);
// Socket o, Links row k (l, filled by SocketLink), over its feeding pins.
void JudgeSocket(const ObjRow& o, int k, std::span<const PinEntry> feeding, const CarrierRoots& roots, LinkRow& l);

}  // namespace kavrix::outlets
