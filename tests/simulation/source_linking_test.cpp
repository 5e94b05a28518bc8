// The steps of source linking on hand-built graphs: node 0 is the source, the nodes after it are
// laid out pin by pin, and each step is called as the walk calls it.
#include <gtest/gtest.h>

#include "catalogue/geometry.hpp"
#include "model/run_records.hpp"
#include "model/source_tables.hpp"
#include "simulation/rf_run.hpp"
#include "simulation/source_linking.hpp"
#include "support/generated_buildings.hpp"
#include "support/model_guard.hpp"

namespace kavrix {
namespace {

using linking::Linker;
using linking::SourceWalk;

class Linking : public ::testing::Test {
 protected:
  test::FreshModel fresh;
  RunGraph graph;

  void SetUp() override { SourceCount = 0; }

  static NodeRow& Node(int n, int code, int row, Point in, Point out, int sid = 0, int mark = 0) {
    EnsureNodeRows(static_cast<std::size_t>(n) + 2);
    NodeRow& r = Nodes[n];
    r[kNodeCode] = code;
    r[kNodeObject] = row;
    r[kNodeInX] = in.x;
    r[kNodeInY] = in.y;
    r[kNodeOutX] = out.x;
    r[kNodeOutY] = out.y;
    r[kNodeSourceId] = sid;
    r[kNodeChainMark] = mark;
    return r;
  }
  // A single line object whose geometry row holds content code `content`.
  static int Line(int content) {
    const int row = test::AddObject(203, 0, 0, 10, 1, 2);
    test::AddContinuation(100, 0, 0, 0, content);
    return row;
  }
  static int Content(int lineRow) { return NetObjects[lineRow + 1][kStyle]; }
  static SourceWalk Walk(int sid, int mark, int code = kCodeAntenna) {
    SourceWalk w;
    w.sid = sid;
    w.band = BandOf(sid);
    w.mark = mark;
    w.code = code;
    return w;
  }
};

TEST_F(Linking, StartWalkLoadsThePlanOfTheSource) {
  for (int r = 1; r <= 31; ++r) SatCell(2, 4, r) = 1000 + 10 * r;  // slot 2, band 3
  TerrSpectra[2][0] = 474.0;
  TerrSpectra[2][1] = 858.0;
  Node(0, kCodeLnbBand + 3, 0, {0, 0}, {0, 0}, SatSourceId(2, 3));
  SourceWalk w = linking::StartWalk(0);
  EXPECT_EQ(w.band, 3);
  EXPECT_EQ(FreqList[0], 1010.0);
  EXPECT_EQ(FreqList[30], 1310.0);
  EXPECT_EQ(w.fmax, 1310.0);

  Node(0, kCodeAntenna, 0, {0, 0}, {0, 0}, kTerrIdBase + 1);
  w = linking::StartWalk(0);
  EXPECT_EQ(FreqList[1], 858.0);
  EXPECT_EQ(FreqList[30], 0.0) << "the satellite entries of the last walk are cleared";
  EXPECT_EQ(w.fmax, 858.0);

  // A one-channel modulator's list is its own; the walk starts with an empty one.
  Node(0, kCodeZirnSource, 0, {0, 0}, {0, 0}, kTerrIdBase + 1);
  w = linking::StartWalk(0);
  EXPECT_EQ(FreqList[0], 0.0);
  EXPECT_EQ(w.fmax, 0.0);
}

TEST_F(Linking, LineConductorMeetingTheOutputIsTurnedUnlessAnotherSourceOwnsIt) {
  const int dev = test::AddObject(80, 0, 0);
  const int line = Line(0);
  Node(0, kCodeAntenna, 0, {0, 0}, {0, 0}, 105, 105);
  Node(1, 80005, dev, {0, 0}, {100, 100}, 105, 105);
  Node(2, kCodeSingleLine, line, {100, 200}, {100, 100});
  Node(3, kCodeSingleLine, line + 2, {100, 300}, {100, 100}, 106, 106);
  Linker linker(graph, 4);
  linker.turnLineConductor(1, Nodes[1], 2);
  EXPECT_TRUE(PinsMeet(Nodes[2], 0, Nodes[1], 1)) << "turned: its input now meets the output";
  EXPECT_EQ(Nodes[2][kNodeOutY], 200);
  linker.turnLineConductor(1, Nodes[1], 3);
  EXPECT_EQ(Nodes[3][kNodeInY], 300) << "claimed by source 106: left as drawn";
}

TEST_F(Linking, TerrestrialSourceClaimsALineAndRecodesItsContent) {
  struct Case {
    int before, curMark, after;
  } cases[] = {{3, 105, 13}, {0, 105, 5}, {14, 105, 5}, {7, 105, 7}, {2, kChainBandGrid, 7}};
  for (const Case& c : cases) {
    NewNetworkModel();
    const int dev = test::AddObject(80, 0, 0);
    const int line = Line(c.before);
    Node(0, kCodeAntenna, 0, {0, 0}, {0, 0}, 105, 105);
    Node(1, 80005, dev, {0, 0}, {50, 50}, 105, c.curMark);
    Node(2, kCodeSingleLine, line, {50, 50}, {50, 150});
    Linker linker(graph, 3);
    linker.claimForTerrestrialSource(Walk(105, 105), 1, Nodes[1], 2);
    EXPECT_EQ(Content(line), c.after) << c.before << " below mark " << c.curMark;
    EXPECT_EQ(Nodes[2][kNodeSourceId], 105);
    EXPECT_EQ(Nodes[2][kNodeChainMark], 105);
  }
}

TEST_F(Linking, LineOfAnotherTerrestrialSourceGetsACopyAfterTheBuiltNodes) {
  const int dev = test::AddObject(80, 0, 0);
  const int line = Line(5);
  Node(0, kCodeAntenna, 0, {0, 0}, {0, 0}, 106, 106);
  Node(1, 80005, dev, {0, 0}, {50, 50}, 106, 106);
  Node(2, kCodeSingleLine, line, {50, 50}, {50, 150}, 105, 105)[kNodeWavelength] = -1550;
  Linker linker(graph, 3);
  linker.claimForTerrestrialSource(Walk(106, 106), 1, Nodes[1], 2);
  EXPECT_EQ(Nodes[2][kNodeChainMark], 105) << "the first claim stays";
  ASSERT_EQ(linker.nextFree(), 4);
  const NodeRow& copy = Nodes[3];
  EXPECT_EQ(copy[kNodeCode], kCodeSingleLine);
  EXPECT_EQ(copy[kNodeObject], line);
  EXPECT_TRUE(PinsMeet(copy, 0, Nodes[2], 0) && PinsMeet(copy, 1, Nodes[2], 1));
  EXPECT_EQ(copy[kNodeSourceId], 106);
  EXPECT_EQ(copy[kNodeChainMark], 106);
  EXPECT_EQ(copy[kNodeWavelength], 0);
  EXPECT_EQ(Content(line), 5) << "a copy leaves the drawn line's code alone";

  // Nodes past NB (copies themselves) and satellite walks claim nothing.
  Linker later(graph, 2);
  later.claimForTerrestrialSource(Walk(107, 107), 1, Nodes[1], 2);
  EXPECT_EQ(later.nextFree(), 2);
  Linker sat(graph, 3);
  Nodes[2][kNodeChainMark] = 0;
  sat.claimForTerrestrialSource(Walk(11, 0), 1, Nodes[1], 2);
  EXPECT_EQ(Nodes[2][kNodeChainMark], 0);
}

TEST_F(Linking, JSplitterIsClaimedWithoutTouchingAnyContentCode) {
  const int dev = test::AddObject(80, 0, 0);
  const int split = test::AddObject(126, 0, 0);
  test::AddContinuation(0, 0, 0, 0, 3);
  Node(0, kCodeAntenna, 0, {0, 0}, {0, 0}, 105, 105);
  Node(1, 80005, dev, {0, 0}, {50, 50}, 105, 105);
  Node(2, 126005, split, {50, 50}, {50, 150});
  Linker linker(graph, 3);
  linker.claimForTerrestrialSource(Walk(105, 105), 1, Nodes[1], 2);
  EXPECT_EQ(Nodes[2][kNodeChainMark], 105);
  EXPECT_EQ(NetObjects[split + 1][kStyle], 3);
}

TEST_F(Linking, OpticalNodeTakesTheIdOfItsBandOnly) {
  const int tx = test::AddObject(141, 0, 0);
  Node(0, kCodeLnbBand + 3, 0, {0, 0}, {0, 0}, 13);
  Node(1, 141003, tx, {0, 0}, {0, 0});
  Node(2, 141001, tx, {0, 0}, {0, 0});
  Node(3, 141003, tx, {0, 0}, {0, 0}, 23);
  for (int j : {1, 2, 3}) Linker::takeOpticalId(Walk(13, 0), j);
  EXPECT_EQ(Nodes[1][kNodeSourceId], 13);
  EXPECT_EQ(Nodes[2][kNodeSourceId], 0) << "band 1 path";
  EXPECT_EQ(Nodes[3][kNodeSourceId], 23) << "already carries a source";
}

TEST_F(Linking, EachTerrestrialSourceClaimsTheNextFreeCombinerNode) {
  const int dev = test::AddObject(80, 0, 0);
  const int comb = test::AddObject(86, 0, 0);
  Node(1, 80005, dev, {0, 0}, {50, 50});
  Node(2, 86005, comb, {50, 50}, {50, 150});
  Node(3, 86005, comb, {50, 50}, {50, 150});
  for (int sid : {105, 106})
    for (int j : {2, 3}) Linker::claimCombinerNode(Walk(sid, sid), Nodes[1], j);
  EXPECT_EQ(Nodes[2][kNodeChainMark], 105);
  EXPECT_EQ(Nodes[3][kNodeChainMark], 106);
  EXPECT_TRUE(SourcePassed[0]);
  EXPECT_TRUE(SourcePassed[1]);
}

TEST_F(Linking, LinkNeedsMeetingPinsAnotherObjectAndMarksThatBelongTogether) {
  const int a = test::AddObject(80, 0, 0);
  const int b = test::AddObject(116, 0, 0);
  const int unit = test::AddObject(181, 0, 0);
  const int rx = test::AddObject(142, 0, 0);
  const int pass = test::AddObject(108, 0, 0);
  Node(0, kCodeLnbBand + 2, 0, {0, 0}, {0, 0}, 12);
  Node(1, 80005, a, {0, 0}, {50, 50}, 0, 105);
  Node(2, 116005, b, {50, 50}, {0, 0}, 0, 105);   // same mark
  Node(3, 116005, b, {50, 50}, {0, 0}, 0, 5);     // mark + 100 is cur's
  Node(4, 80105, a, {50, 50}, {0, 0}, 0, 105);    // cur's own object
  Node(5, 116005, b, {60, 60}, {0, 0}, 0, 105);   // pins apart
  Node(6, 116005, b, {50, 50}, {0, 0}, 0, 106);   // another terrestrial source
  Node(7, 181002, unit, {50, 50}, {0, 0}, 2, kChainSingleCable);
  Node(8, 142001, rx, {50, 50}, {0, 0}, 21, 105);
  Node(9, 142001, rx, {50, 50}, {0, 0}, 12, 105);
  Node(10, kCodePassThrough, pass, {0, 0}, {70, 70});
  Node(11, 116005, b, {70, 70}, {0, 0}, 0, kChainPassThrough);
  Node(12, 80001, a, {0, 0}, {70, 70});
  Node(13, 184102, test::AddObject(186, 0, 0), {70, 70}, {0, 0}, 2, kChainSingleCable);  // chain marks pass it by
  Linker linker(graph, 14);
  const SourceWalk w = Walk(12, 0, kCodeLnbBand + 2);
  EXPECT_TRUE(linker.linkable(w, Nodes[1], 2));
  EXPECT_TRUE(linker.linkable(w, Nodes[1], 3));
  EXPECT_FALSE(linker.linkable(w, Nodes[1], 4));
  EXPECT_FALSE(linker.linkable(w, Nodes[1], 5));
  EXPECT_FALSE(linker.linkable(w, Nodes[1], 6));
  EXPECT_TRUE(linker.linkable(w, Nodes[1], 7)) << "single-cable chain of the walk's band";
  EXPECT_FALSE(linker.linkable(Walk(13, 0), Nodes[1], 7)) << "band 3 walk";
  Nodes[1][kNodeSourceId] = 11;
  EXPECT_TRUE(linker.linkable(w, Nodes[1], 8)) << "optical: band 1 meets band 1";
  EXPECT_FALSE(linker.linkable(w, Nodes[1], 9)) << "optical: band 1 meets band 2";
  EXPECT_TRUE(linker.linkable(w, Nodes[10], 11)) << "below a pass-through node";
  EXPECT_FALSE(linker.linkable(w, Nodes[12], 11)) << "below any other node";
  EXPECT_TRUE(linker.linkable(w, Nodes[10], 13)) << "fault pinned: the unit 186 below a pass-through node went unfed";
}

TEST_F(Linking, ChannelAmplifierAddsFourPointsPerChannelInsideThePlan) {
  TerrSpectra[0][0] = 600.0;  // plan 600 .. 700 MHz
  const int amp = test::AddObject(81, 0, 0);
  test::AddContinuation(30, 40, 0, 0, 0);  // channels 30 (542 MHz) and 40 (622 MHz)
  Node(0, kCodeAntenna, 0, {0, 0}, {0, 0}, 105, 105);
  Node(1, 81105, amp, {0, 0}, {0, 0}, 105, 105);
  Node(2, 81005, amp, {0, 0}, {0, 0}, 105, 105);
  FreqList.fill(0.0);
  SourceWalk w = Walk(105, 105);
  w.fmax = 700.0;
  linking::AddChannelPoints(w, 2);
  EXPECT_EQ(w.points, 0) << "group 0 selects no channels";
  linking::AddChannelPoints(w, 1);
  // 542 MHz lies below 600 - 1; 622 MHz is inside: 621, 622, 622 + 8, 622 + 8 + 1.
  ASSERT_EQ(w.points, 4);
  EXPECT_EQ(FreqList[0], 621.0);
  EXPECT_EQ(FreqList[1], 622.0);
  EXPECT_EQ(FreqList[2], 630.0);
  EXPECT_EQ(FreqList[3], 631.0);
  EXPECT_EQ(Nodes[0][kSourceChannelAmps], 81);
  EXPECT_TRUE(SourcePassed[0]);
  linking::AddChannelPoints(w, 1);
  EXPECT_EQ(Nodes[0][kSourceChannelAmps + 1], 0) << "a kind is noted once";
}

TEST_F(Linking, OpticalTransmitterCountsCarriersAndReceiverNotesIt) {
  const int tx = test::AddObject(141, 0, 0, 7);
  const int rx = test::AddObject(142, 0, 0);
  TerrParams[2][0] = 25;
  Node(0, kCodeAntenna, 0, {0, 0}, {0, 0}, 105, 105)[kAntennaSlot] = 2;
  Node(1, 141005, tx, {0, 0}, {0, 0});
  Node(2, 142005, rx, {0, 0}, {0, 0});
  SourceWalk w = Walk(105, 105);
  linking::PairOpticalNodes(w, 1);
  linking::PairOpticalNodes(w, 1);
  linking::PairOpticalNodes(w, 2);
  EXPECT_EQ(w.transmitter, 1);
  EXPECT_EQ(Nodes[1][kNodeStep], 7);
  EXPECT_EQ(Nodes[1][kNodeCarriers], 50) << "25 carriers for each pass";
  EXPECT_EQ(Nodes[2][kNodeTransmitter], 1);
}

TEST_F(Linking, SatelliteWalkRecodesTheLineWithItsBand) {
  struct Case {
    int sid, curMark, before, after;
  } cases[] = {{24, 0, 5, 14}, {24, 0, 0, 4}, {24, 0, 12, 4}, {11, 0, 5, 11}, {24, kChainBandGrid, 5, 7}, {105, 0, 5, 5}};
  for (const Case& c : cases) {
    NewNetworkModel();
    const int line = Line(c.before);
    Node(1, 80001, 0, {0, 0}, {0, 0}, c.sid, c.curMark);
    Node(2, kCodeSingleLine, line, {0, 0}, {0, 0});
    linking::RecodeSatLine(Walk(c.sid, 0), Nodes[1], 2);
    EXPECT_EQ(Content(line), c.after) << "source " << c.sid << ", content " << c.before;
  }
}

TEST_F(Linking, LinkedNodeTakesTheSourceAndItsDerating) {
  const int tap = test::AddObject(116, 0, 0);
  const int unit = test::AddObject(58, 0, 0);
  Node(0, kCodeAntenna, 0, {0, 0}, {0, 0}, 105, 105)[kSourceDerating] = 3;
  Node(1, 116005, tap, {0, 0}, {0, 0})[kNodeMaxLevel] = 100;
  Node(2, 116005, tap, {0, 0}, {0, 0}, 12, kChainBandGrid)[kNodeMaxLevel] = 100;
  Node(3, kCodeSatLinkUnit, unit, {0, 0}, {0, 0}, 12)[kNodeMaxLevel] = 100;
  const SourceWalk w = Walk(105, 105);
  for (int j : {1, 2, 3}) linking::HandSourceOn(w, 0, j, graph.pins);
  EXPECT_EQ(Nodes[1][kNodeMaxLevel], 97);
  EXPECT_EQ(Nodes[1][kNodeSourceId], 105);
  EXPECT_EQ(Nodes[2][kNodeMaxLevel], 100) << "mode-'0' chain";
  EXPECT_EQ(Nodes[2][kNodeSourceId], 12) << "a source already carried stays";
  EXPECT_EQ(Nodes[3][kNodeMaxLevel], 100) << "link units keep their level";
  EXPECT_EQ(Nodes[3][kNodeSourceId], 105) << "link units take every source";

  Node(1, 116005, tap, {0, 0}, {0, 0}, 0, 0);
  linking::HandSourceOn(Walk(207, 207, kCodeFemoSource), 0, 1, graph.pins);
  EXPECT_EQ(Nodes[1][kNodeSourceId], 207);
  EXPECT_EQ(Nodes[1][kNodeChainMark], 207) << "the streamer's channels mark their chain";
}

// A terrestrial source that passed a channel amplifier runs on the collected points, each
// with the level of the plan's last frequency at or below it. A point on a plan frequency used to
// take the level of the frequency below, and one above the plan the level of an unused entry.
TEST_F(Linking, MergedPointsTakeTheLevelOfTheLastPlanFrequencyAtOrBelowThem) {
  SourcePassed[0] = true;
  const double plan[3][2] = {{400, 60}, {480, 70}, {600, 80}};
  auto setPlan = [&] {
    TerrSpectra[0].fill(0.0);
    TerrSpectra[1].fill(-100000.0);
    for (int k = 0; k < 3; ++k) {
      TerrSpectra[0][k] = plan[k][0];
      TerrSpectra[1][k] = plan[k][1];
    }
  };
  // No channel point was added: the plan runs as it is.
  setPlan();
  FreqList.fill(0.0);
  for (int k = 0; k < 3; ++k) FreqList[k] = plan[k][0];
  linking::MergeChannelPoints(Walk(105, 105));
  EXPECT_EQ(TerrSpectra[1][0], 60.0);
  EXPECT_EQ(TerrSpectra[1][1], 70.0);
  EXPECT_EQ(TerrSpectra[1][2], 80.0);
  EXPECT_EQ(TerrSpectra[1][3], -1000.0) << "entries without a point";

  // Points 479, 480, 488 and 700.5 (above the plan), unsorted as collected.
  setPlan();
  FreqList.fill(0.0);
  FreqList[0] = 700.5;
  FreqList[1] = 480.0;
  FreqList[2] = 479.0;
  FreqList[3] = 488.0;
  linking::MergeChannelPoints(Walk(105, 105));
  EXPECT_EQ(TerrSpectra[0][0], 479.0) << "sorted";
  EXPECT_EQ(TerrSpectra[1][0], 60.0);
  EXPECT_EQ(TerrSpectra[1][1], 70.0);
  EXPECT_EQ(TerrSpectra[1][2], 70.0);
  EXPECT_EQ(TerrSpectra[1][3], 80.0);

  // Without a channel amplifier on the way the plan is left alone.
  setPlan();
  SourcePassed[0] = false;
  FreqList[0] = 480.0;
  linking::MergeChannelPoints(Walk(105, 105));
  EXPECT_EQ(TerrSpectra[0][0], 400.0);
}

// An antenna's 400/480/600 MHz plan at 60/70/80 dBuV through a channel amplifier whose channels
// add no point: the run sends it at 60/70/80 dBuV.
TEST(LinkingRun, PlanThroughAChannelAmplifierKeepsItsLevels) {
  test::FreshModel fresh;
  test::BuildKindGallery(81, 1);
  for (auto& side : TerrTables[0]) side.fill(0);
  const int plan[3][2] = {{400, 60}, {480, 70}, {600, 80}};
  for (int k = 0; k < 3; ++k) {
    TerrTables[0][0][k] = plan[k][0];
    TerrTables[0][1][k] = plan[k][1];
  }
  TerrParams[0][0] = 3;
  const RunOutcome out = RfAnalyze(RunInput{"50", "60"}, RunCallbacks{});
  ASSERT_TRUE(out.graphBuilt);
  int antenna = 0;
  while (Nodes[antenna][kNodeCode] != kCodeAntenna) ++antenna;
  ASSERT_TRUE(SourcePassed[0]) << "the walk passed the channel amplifier";
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(TerrSpectra[0][k], plan[k][0]);
    EXPECT_EQ(NodeSpectra(antenna, 1, k), plan[k][1]) << plan[k][0] << " MHz";
  }
}

// Source, line, tap; the tap's output feeds two lines. The first line (lowest index) continues
// the chain, the second is a queued branch that the end of the first points at.
TEST_F(Linking, WalkContinuesOnTheFirstMatchAndQueuesTheOthers) {
  const int lnb = test::AddObject(91, 0, 0);
  const int tap = test::AddObject(116, 0, 0);
  const int l1 = Line(0), l2 = Line(0), l3 = Line(0);
  Node(0, kCodeLnbBand + 1, lnb, {0, 0}, {0, 0}, 1);
  Node(1, kCodeSingleLine, l1, {0, 0}, {0, 100});
  Node(2, 116001, tap, {0, 100}, {0, 200});
  Node(3, kCodeSingleLine, l2, {0, 200}, {0, 300});
  Node(4, kCodeSingleLine, l3, {0, 200}, {100, 200});
  Linker linker(graph, 5);
  linker.walkSource(0);
  EXPECT_EQ(Nodes[0][kNodeNext], 1);
  EXPECT_EQ(Nodes[1][kNodeNext], 2);
  EXPECT_EQ(Nodes[2][kNodeNext], 3);
  EXPECT_EQ(Nodes[3][kNodeNext], -4);
  EXPECT_EQ(Nodes[4][kNodeNext], kChainEnd);
  for (int n = 1; n <= 4; ++n) EXPECT_EQ(Nodes[n][kNodeSourceId], 1) << n;
  EXPECT_EQ(Content(l1), 1);
  EXPECT_EQ(Content(l3), 1);
}

// Two antennas wired to every input of a four-band house amplifier: through the amplifier their
// lines form loops, and each source found copies of the other's lines below its own copies.
// The walk used to add copies without end; now it makes no copy below one of the same line.
TEST(LinkingLoops, AntennasJoinedInALoopEndTheRun) {
  test::FreshModel fresh;
  test::BuildKindGallery(44, 2, true);
  const RunOutcome out = RfAnalyze(RunInput{"50", "60"}, RunCallbacks{});
  ASSERT_TRUE(out.graphBuilt);
  int nodes = 0;
  while (Nodes[nodes][kNodeCode] != 0) ++nodes;
  EXPECT_LT(nodes, 4 * out.builtNodes);
  for (const LinkRow& l : Links)
    if (l[kLinkObject] != 0) {
      EXPECT_NE(TerrStatusOf(l[kLinkStatus]), kStatusNone) << "socket " << l[kLinkObject];
    }
}

}  // namespace
}  // namespace kavrix
