// The propagation pass over hand-built chains: source lists, outlet losses, successor rules,
// sibling copies, the single-position trial walk and the walk guard on drawings that loop.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "engine/engine_fixture.hpp"
#include "engine/node_frame.hpp"
#include "engine/propagation.hpp"

namespace kavrix {
namespace {

using namespace engine;
using test::SetFreqs;
using test::SetNode;
using test::SetObject;

constexpr double kTol = 1e-9;
constexpr int kEnd = 1000000;

// Copies the input to every output; entries beyond the list keep their values.
void CopyBlock(const NodeFrame& fr) {
  for (int s = 1; s <= 5; ++s)
    for (int k = fr.kFirst; k <= fr.kLast; ++k) fr.spectrum(s)[k] = fr.input()[k];
}
// An amplifier whose step (field 16) moves A0 = 4.4, A1 = 9.4 dB per ten steps.
void StepAmpBlock(const NodeFrame& fr) {
  for (int k = fr.kFirst; k <= fr.kLast; ++k)
    fr.spectrum(1)[k] = fr.input()[k] + 20.0 + StepTerm(fr.field(kNodeStep), 4.4, 9.4);
}
// Marks its output as carrying nothing.
void DeadBlock(const NodeFrame& fr) {
  CopyBlock(fr);
  fr.spectrum(1)[101] = kNoSignal;
}

class PropagationTest : public ::testing::Test {
 protected:
  // A satellite source (slot 0, band 1) at node 0 with the given carriers at 80 dBuV.
  void SatSource(std::initializer_list<int> freqs, int first) {
    SourceCount = 0;
    int r = 1;
    for (int f : freqs) SatCell(0, 0, r++) = f;
    SetNode(0, 911, {{kNodeSourceId, 1}, {kNodeNext, first}});
    for (int k = 0; k < 31; ++k) SpectrumAt(0, 1)[k] = 80.0;
  }
  test::FreshModel m_model;
  ScopedBlock m_copy{300, CopyBlock};
  ScopedBlock m_amp{301, StepAmpBlock};
  ScopedBlock m_dead{302, DeadBlock};
};

TEST_F(PropagationTest, SatelliteListTakesTheWholeBandColumn) {
  SourceCount = 0;
  for (int r = 1; r <= 31; ++r) SatCell(2, 2, r) = 900 + 10 * r;
  SetNode(0, 911, {{kNodeSourceId, 22}, {kNodeNext, kEnd}});
  FreqList[40] = 5.0;  // left from an earlier source
  RunSourcePasses(false);
  EXPECT_EQ(FreqList[0], 910.0);
  EXPECT_EQ(FreqList[30], 1210.0);
  EXPECT_EQ(FreqList[31], 0.0);
  EXPECT_EQ(FreqList[40], 0.0);
}

TEST_F(PropagationTest, TerrestrialSourceAndOutletLossesInModeTrue) {
  SourceCount = 0;
  TerrSpectra[14][0] = 200.0;  // id 112: its own pair, rows 14 and 15
  TerrSpectra[14][1] = 600.0;
  TerrSpectra[15][0] = 70.0;
  TerrSpectra[15][1] = 72.0;
  SetNode(0, 925, {{kNodeSourceId, 112}, {kNodeNext, 1}});
  SetObject(4, 206, 10, 2);  // socket object: 10 m of cable kind 2
  Links[3][kLinkObject] = 4;
  SetNode(1, 300005, {{kNodeNext, 2}, {kNodePort2Link, 3}, {kNodePort3Link, -2}, {kNodePort4Link, -1}});
  SetNode(2, 300005, {{kNodeNext, kEnd}, {kNodePort2Link, -1}, {kNodePort3Link, 3}});  // no port 2: nothing subtracted
  RunSourcePasses(true);

  EXPECT_EQ(FreqList[1], 600.0);
  const double loss0 = std::sqrt(0.2) * 0.21 * 10 + TerrSocketLoss;
  const double loss1 = std::sqrt(0.6) * 0.21 * 10 + TerrSocketLoss;
  EXPECT_NEAR(SpectrumAt(1, 2)[0], 70.0 - loss0, kTol);
  EXPECT_NEAR(SpectrumAt(1, 2)[1], 72.0 - loss1, kTol);
  EXPECT_EQ(SpectrumAt(1, 3)[0], 70.0);  // -2: present but no socket
  EXPECT_EQ(SpectrumAt(2, 3)[0], 70.0);
  EXPECT_EQ(SpectrumAt(1, 1)[0], 70.0);  // the through output is never an outlet port
}

TEST_F(PropagationTest, SuccessorRules) {
  SatSource({1000, 1100}, 1);
  SetNode(1, 300001, {{kNodeNext, -3}});  // continue at 3 without feeding it
  SetNode(2, 300001, {{kNodeNext, kEnd}});
  SetNode(3, 302001, {{kNodeNext, 4}});  // computed, but its output carries nothing
  SetNode(4, 300001, {{kNodeNext, kEnd}});
  SpectrumAt(3, 0)[0] = 33.0;
  SpectrumAt(4, 0)[0] = 44.0;
  RunSourcePasses(false);
  EXPECT_EQ(SpectrumAt(1, 1)[0], 80.0);
  EXPECT_EQ(SpectrumAt(2, 0)[0], kNoSignal);
  EXPECT_EQ(SpectrumAt(3, 0)[0], 33.0);
  EXPECT_EQ(SpectrumAt(3, 1)[0], 33.0);
  EXPECT_EQ(SpectrumAt(4, 0)[0], 44.0);  // no copy past a dead output ...
  EXPECT_EQ(SpectrumAt(4, 1)[0], 44.0);  // ... but the walk goes on from the previous input
}

TEST_F(PropagationTest, BandGridNodeReceivesThirtyEntries) {
  SatSource({1000, 1100}, 1);
  SetNode(1, 300001, {{kNodeNext, 2}});
  SetNode(2, 300001, {{kNodeNext, kEnd}, {kNodeChainMark, 50}});
  for (int k = 0; k < 40; ++k) SpectrumAt(1, 1)[k] = 5.0;
  RunSourcePasses(false);
  EXPECT_EQ(SpectrumAt(2, 0)[1], 80.0);
  EXPECT_EQ(SpectrumAt(2, 0)[29], 5.0);
  EXPECT_EQ(SpectrumAt(2, 0)[30], kNoSignal);
}

TEST_F(PropagationTest, SiblingsOfAMultiGroupObjectShareTheFeed) {
  SatSource({1000}, 1);
  SetObject(2, 5);  // two groups
  SetNode(1, 300001, {{kNodeNext, 2}, {kNodeOutX, 10}, {kNodeOutY, 20}});
  SetNode(2, 300001, {{kNodeNext, kEnd}, {kNodeObject, 2}, {kNodeInX, 10}, {kNodeInY, 20}});
  SetNode(3, 300101, {{kNodeNext, kEnd}, {kNodeObject, 2}, {kNodeInX, 10}, {kNodeInY, 20}});
  SetNode(4, 300101, {{kNodeNext, kEnd}, {kNodeObject, 2}, {kNodeInX, 11}, {kNodeInY, 20}});  // another input pin
  SetNode(5, 300101, {{kNodeNext, kEnd}, {kNodeObject, 3}, {kNodeInX, 10}, {kNodeInY, 20}});  // another object
  RunSourcePasses(false);
  EXPECT_EQ(SpectrumAt(3, 0)[0], 80.0);
  EXPECT_EQ(SpectrumAt(4, 0)[0], kNoSignal);
  EXPECT_EQ(SpectrumAt(5, 0)[0], kNoSignal);
}

TEST_F(PropagationTest, ChannelAmplifierBranchFeedsTheFollowingSecondInput) {
  // Two channel amplifiers, two terrestrial sources: each path has two consecutive copies.
  TerrSourceIndex = 1;
  SetFreqs({474.0, 482.0});
  SetObject(1, 81);
  SetObject(2, 81);
  SetObject(3, 81);
  SetNode(1, 81105, {{kNodeNext, 5}, {kNodeObject, 1}});  // channel output of the first, source 0
  SetNode(3, 81205, {{kNodeObject, 1}});           // its second input, same source
  SetNode(5, 81105, {{kNodeNext, kEnd}, {kNodeObject, 2}});
  SetNode(7, 81205, {{kNodeObject, 2}});
  SpectrumAt(3, 1)[0] = 70.0;
  SpectrumAt(3, 1)[1] = 71.0;
  PassSpectrumDownstream(1);
  EXPECT_EQ(SpectrumAt(7, 0)[0], 70.0);
  EXPECT_EQ(SpectrumAt(7, 0)[1], 71.0);

  // Node arithmetic that lands on another object's node, or on no node, writes nothing.
  SpectrumAt(7, 0)[0] = kNoSignal;
  SetNode(7, 81205, {{kNodeObject, 3}});
  PassSpectrumDownstream(1);
  EXPECT_EQ(SpectrumAt(7, 0)[0], kNoSignal);
  // No terrestrial source registered yet: the copies lie next door, never on the node itself.
  TerrSourceIndex = -1;
  SetNode(2, 81205, {{kNodeObject, 1}});
  SetNode(6, 81205, {{kNodeObject, 2}});
  SpectrumAt(2, 1)[0] = 60.0;
  SpectrumAt(1, 1)[0] = 50.0;
  SpectrumAt(1, 1)[101] = kNoSignal;  // no ordinary copy to node 5
  SpectrumAt(5, 0)[0] = kNoSignal;
  PassSpectrumDownstream(1);
  EXPECT_EQ(SpectrumAt(6, 0)[0], 60.0);
  EXPECT_EQ(SpectrumAt(5, 0)[0], kNoSignal);
}

TEST_F(PropagationTest, LoopedOrUnlinkedChainsEndTheWalk) {
  SatSource({1000}, 1);
  SetNode(1, 301001, {{kNodeNext, 2}});
  SetNode(2, 301001, {{kNodeNext, 1}});  // drawn into a loop
  RunSourcePasses(false);
  EXPECT_NEAR(SpectrumAt(2, 1)[0], 120.0, kTol);
  EXPECT_FALSE(TryNodeStep(7, 1, 0));  // target not on the loop: the walk still returns
  EXPECT_EQ(Nodes[1][kNodeStep], kNoLimit);

  SetNode(2, 301001, {{kNodeNext, 0}});  // never linked: node 0 is no successor
  SpectrumAt(0, 0)[0] = 1.0;
  RunSourcePasses(false);
  EXPECT_EQ(SpectrumAt(0, 0)[0], 1.0);
  SetNode(2, 301001, {{kNodeNext, -static_cast<int>(Nodes.size()) - 5}});
  RunSourcePasses(false);
}

TEST_F(PropagationTest, TryNodeStepReportsAChangeAndLeavesTheModelAsFound) {
  SatSource({1000, 1500}, 1);
  SetObject(1, 203, 25, 1);
  SetNode(1, 301001, {{kNodeNext, 2}, {kNodeStep, 0}});
  SetNode(2, 20300, {{kLineLength, 25}, {kLineCable, 1}, {kNodeObject, 1}, {kNodeNext, 3}});
  SetNode(3, 300001, {{kNodeNext, kEnd}});
  RunSourcePasses(false);
  const std::vector<NodeRow> nodes = Nodes;
  const std::vector<double> spectra(NodeSpectra.data(), NodeSpectra.data() + Nodes.size() * 6 * 103);

  EXPECT_TRUE(TryNodeStep(3, 1, 1));
  EXPECT_EQ(Nodes, nodes);
  EXPECT_EQ(std::memcmp(spectra.data(), NodeSpectra.data(), spectra.size() * sizeof(double)), 0);

  ScopedBlock stepless(301, CopyBlock);
  RunSourcePasses(false);
  EXPECT_FALSE(TryNodeStep(3, 1, 1));
  EXPECT_EQ(Nodes[1][kNodeStep], 0);
}

TEST(SortFrequencyListTest, ZeroEntriesStayPut) {
  test::FreshModel model;
  SetFreqs({1000.0, 950.0, 0.0, 1200.0});
  SortFrequencyList();
  EXPECT_EQ(FreqList[0], 950.0);
  EXPECT_EQ(FreqList[1], 1000.0);
  EXPECT_EQ(FreqList[2], 0.0);
  EXPECT_EQ(FreqList[3], 1200.0);
  SetFreqs({300.0, 200.0, 200.0, 100.0});
  SortFrequencyList();
  EXPECT_EQ(FreqList[0], 100.0);
  EXPECT_EQ(FreqList[3], 300.0);
}

}  // namespace
}  // namespace kavrix
