// The steps of the outlet evaluation on hand-built nodes and sockets, each called as the run
// calls it. A new network's limits: SAT 50..80, terrestrial 60..90, socket losses 2 and 3 dB.
#include <gtest/gtest.h>

#include "simulation/outlet_evaluation.hpp"
#include "simulation/pin_index.hpp"
#include "support/model_guard.hpp"

namespace kavrix {
namespace {

class Outlets : public ::testing::Test {
 protected:
  test::FreshModel fresh;
  outlets::CarrierRoots roots;
  void SetUp() override {
    SatCell(1, 0, 1) = 1000;  // slot 1, band 1: roots 1.0 and 1.2
    SatCell(1, 0, 2) = 1440;
    TerrSpectra[0][0] = 640;  // roots 0.8 and 0.9
    TerrSpectra[0][1] = 810;
    outlets::TakeCarrierRoots(roots);
  }
  // Node n without ports, its output pin at (x, y); spectrum s starts with `levels`.
  static NodeRow& Node(int n, int code, int sid, int x = 0, int y = 0, int s = 1, std::initializer_list<double> levels = {}) {
    NodeRow& r = Nodes[n] = ResetNodeRow();
    r[kNodeCode] = code;
    r[kNodeSourceId] = sid;
    r[kNodeOutX] = x;
    r[kNodeOutY] = y;
    std::copy(levels.begin(), levels.end(), SpectrumAt(n, s));
    return r;
  }
};

TEST_F(Outlets, SocketsTakeOutputsAndPresentPortsOnTheirPointPortByPort) {
  test::AddObject(210, 125, 100);
  test::AddObject(210, 25, 0);  // at (0, 0)
  Node(0, 11600, 11, 100, 100);
  Node(1, 11600, 11, 1, 1)[kNodePort3Link] = kPortFree;
  Nodes[1][PinX(3)] = Nodes[1][PinY(3)] = 100;
  Node(2, 11600, 11, 100, 100);
  Nodes[2][PinX(2)] = Nodes[2][PinY(2)] = 100;  // port 2 absent: left out
  outlets::FeedingPins pins;
  pins.build(3);  // node 3 and on, all pins at (0, 0), lie past the end
  const auto sockets = pins.sockets();
  ASSERT_EQ(sockets.size(), 2u);
  const uint64_t p = PinKey(100, 100);
  const auto atA = pins.pins(sockets[0].group);
  EXPECT_EQ(std::vector<outlets::PinEntry>(atA.begin(), atA.end()),
            (std::vector<outlets::PinEntry>{{p, 0, 0}, {p, 0, 2}, {p, 2, 1}}));
  // At (0, 0) the absent ports too, as they stand when the socket is judged: 4 + 3 + 3.
  EXPECT_EQ(pins.feeding(sockets[1].group).size(), 10u);
  Nodes[0][kNodePort4Link] = 5;
  EXPECT_EQ(pins.feeding(sockets[1].group).size(), 9u);
}

// A 40 m drop cable of kind 5 (0.1): satellite losses 40 * sqrt(f / 1000) * 0.1 + 2 dB, terrestrial
// ones + 3 dB.
TEST_F(Outlets, LevelsAndLimitAfterTheDropCableAndSocket) {
  LnbParams[0][1][0] = 3;  // only band 2 of the band grid has carriers
  const ObjRow& socket = NetObjects[test::AddObject(210, 0, 0, 40, 1, 5)];
  Node(1, 11600, 11, 0, 0, 2, {60, 70});
  Node(2, 11605, 105, 0, 0, 1, {70, 80});
  Node(3, 11600, kPassThroughId, 0, 0, 1, {0, 0, 0, 0, 0, 0, 0, 60, 60, 60, 60, 60, 60, 60});
  for (int j : {1, 2, 3}) outlets::SetSocketLimit(outlets::StartSocket(socket, 0), j);
  // Satellite 80 + 2 + 40 * 0.1 * 1.24, terrestrial 90 + 3 + 40 * 0.1 * 0.2, neither for id 100.
  EXPECT_EQ((std::array{Nodes[1][kNodeMaxLevel], Nodes[2][kNodeMaxLevel], Nodes[3][kNodeMaxLevel]}),
            (std::array{86, 93, kNoLimit}));
  auto s = outlets::StartSocket(socket, 0);
  EXPECT_DOUBLE_EQ(outlets::BandGridLevels(s, 3), 60 - (40 * 1.466 * 0.1 + 2));
  EXPECT_DOUBLE_EQ(outlets::SatLevels(s, roots, 1, 1), 60 - 6.0);
  EXPECT_DOUBLE_EQ(s.satMax, 70 - 6.8) << "the highest over the socket's pins";
  Node(1, 11600, 11, 0, 0, 1, {5, 70})[kNodeChainMark] = kChainSingleCable;  // no levels at or below 0
  EXPECT_DOUBLE_EQ(outlets::SatLevels(s, roots, 1, 0), 70 - 6.8);
  EXPECT_DOUBLE_EQ(outlets::TerrLevels(s, roots, 2, 0), 70 - 6.2);
}

// No drop cable. A first out-of-limit SAT digit stays and a 9 gives way to a later one; a
// satellite path without signal makes every later SAT digit 7.
TEST_F(Outlets, SocketStatusOverItsFeedingPins) {
  Node(1, 11600, 11, 0, 0, 1, {51, 62});  // 49, 60: SAT 5
  Node(2, 11600, 11, 0, 0, 2, {62, 72});  // through port 2, 60 and 70: SAT 9
  Node(3, kCodeSingleLine, 0);
  Node(4, 11605, 105, 0, 0, 1, {95});  // 92: terrestrial 3
  const ObjRow& socket = NetObjects[test::AddObject(210, 0, 0)];
  const std::pair<std::vector<outlets::PinEntry>, int> cases[] = {
      {{{0, 0, 1}, {0, 1, 2}}, 5}, {{{0, 1, 2}, {0, 0, 1}}, 5}, {{{0, 0, 3}, {0, 1, 2}, {0, 0, 4}}, 37}};
  for (const auto& [feeding, want] : cases) {
    Nodes[2][kNodePort2Link] = kPortFree;
    LinkRow l = outlets::SocketLink(socket, 1);
    outlets::JudgeSocket(socket, 6, feeding, roots, l);
    EXPECT_EQ(l[kLinkStatus], want) << feeding.size() << " pins from node " << feeding[0].node;
    EXPECT_EQ(Nodes[2][kNodePort2Link], 6) << "the port notes its socket's row";
  }
}

}  // namespace
}  // namespace kavrix
