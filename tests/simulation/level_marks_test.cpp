// The level-mark tests one by one on hand-built nodes: each sets up the node and spectra the
// test reads and checks the marks written from LevelMarks[0].
#include <gtest/gtest.h>

#include "model/run_records.hpp"
#include "model/source_tables.hpp"
#include "simulation/level_marks.hpp"
#include "support/model_guard.hpp"

namespace kavrix {
namespace {

using marks::MarkWriter;
using marks::PinProbe;

class LevelMarksTest : public ::testing::Test {
 protected:
  test::FreshModel fresh;
  MarkWriter writer;

  void SetUp() override {
    SourceCount = 0;
    SatMinLevel = 50;
    TerrMinLevel = 60;
    LnbParams[0][0][0] = 3;  // LNB A band 1 carries three carriers
  }
  // Node n of object `row`, input pin (10, 20), output (30, 40), port 2 at (50, 60).
  static NodeRow& Node(int n, int code, int row, int sid) {
    NodeRow& r = Nodes[n];
    r[kNodeCode] = code;
    r[kNodeObject] = row;
    r[kNodeSourceId] = sid;
    r[kNodeInX] = 10;
    r[kNodeInY] = 20;
    r[kNodeOutX] = 30;
    r[kNodeOutY] = 40;
    r[kNodePort2X] = 50;
    r[kNodePort2Y] = 60;
    r[kNodePort2Link] = kPortFree;
    return r;
  }
  static PinProbe Probe(int n, int q) {
    PinProbe p;
    EXPECT_TRUE(marks::ProbePin(n, q, p));
    return p;
  }
  static void ExpectMark(int i, int kind, int x, int y) {
    EXPECT_EQ(LevelMarks[i].Kind, kind) << "mark " << i;
    EXPECT_EQ(LevelMarks[i].X, x) << "mark " << i;
    EXPECT_EQ(LevelMarks[i].Y, y) << "mark " << i;
  }
  int marksWritten() const { return writer.next(); }
};

// A satellite link unit hanging on a port warns below 45 dBuV at its input, a terrestrial one
// below 30 dBuV.
TEST_F(LevelMarksTest, LinkUnitOnAPortWarnsBelowItsThreshold) {
  struct Case {
    int kind, code;
    double lowest;
    bool marked;
  } cases[] = {{58, kCodeSatLinkUnit, 44.9, true}, {58, kCodeSatLinkUnit, 45.0, false},
               {59, kCodeTerrLinkUnit, 29.9, true}, {59, kCodeTerrLinkUnit, 30.0, false},
               {59, kCodeTerrLinkUnit, 44.0, false}};
  for (const Case& c : cases) {
    NewNetworkModel();
    SetUp();
    writer = MarkWriter{};
    const int row = test::AddObject(c.kind, 0, 0);
    ObjValues[row][1] = 2.0;  // two hops to the port it hangs on
    Node(1, c.code, row, c.code == kCodeSatLinkUnit ? 1 : 105);
    NodeSpectra(1, 0, 101) = c.lowest;
    PinProbe p = Probe(1, 0);
    marks::MarkLinkUnitOnPort(p, writer);
    EXPECT_EQ(p.marked, c.marked) << c.code << " at " << c.lowest;
    EXPECT_EQ(marksWritten(), c.marked ? 1 : 0);
    if (c.marked) ExpectMark(0, kLevelBelowMin, 10, 20);
  }
}

// A satellite link unit on a main output: Inst 11000 MHz behind a 9750 MHz oscillator picks the
// carrier at 1250 MHz (entry 1 of LNB A band 1); its level there is judged against 45 dBuV and
// the unit's maximum (85 dBuV), and its source must be the one its settings select (field 1 = 1:
// LNB A band 1, source id 1).
TEST_F(LevelMarksTest, LinkUnitOnAnOutputJudgesItsOwnCarrier) {
  struct Case {
    int sid;
    double level;
    int kinds[2];
  } cases[] = {{1, 60.0, {0, 0}}, {1, 44.0, {kLevelBelowMin, 0}}, {2, 60.0, {kLevelBelowMin, 0}},
               {1, 86.0, {kLevelAboveMax, 0}}, {2, 86.0, {kLevelBelowMin, kLevelAboveMax}}};
  for (const Case& c : cases) {
    NewNetworkModel();
    SetUp();
    writer = MarkWriter{};
    for (int column : {0, 2}) {  // bands 1 and 2 carry the same plan
      SatCell(0, column, 1) = 1000;
      SatCell(0, column, 2) = 1250;
      SatCell(0, column, 3) = 1500;
    }
    const int row = test::AddObject(58, 0, 0, 11000);
    test::AddContinuation(1, 0, 9750, 10600, 0);
    Node(1, kCodeSatLinkUnit, row, c.sid);
    NodeSpectra(1, 0, 0) = 30.0;
    NodeSpectra(1, 0, 1) = c.level;
    PinProbe p = Probe(1, 0);
    marks::MarkLinkUnitOnOutput(p, writer);
    for (int i = 0; i < 2; ++i) EXPECT_EQ(LevelMarks[i].Kind, c.kinds[i]) << c.sid << " at " << c.level << ", mark " << i;
    EXPECT_EQ(p.marked, c.kinds[0] != 0);
  }
  Nodes[1][kNodeSourceId] = kPassThroughId;  // fault pinned: the copy that no source feeds was judged like the fed one
  PinProbe unfed;
  EXPECT_FALSE(marks::ProbePin(1, 0, unfed));
}

TEST_F(LevelMarksTest, PortBelowMinimumUnlessALinkUnitLimitsThatPort) {
  const int row = test::AddObject(116, 0, 0);
  Node(1, 116201, row, 1);
  NodeSpectra(1, 2, 101) = 49.0;  // below SatMinLevel 50
  PinProbe p = Probe(1, 2);
  marks::MarkPortBelowMinimum(p, -1, writer);
  ASSERT_EQ(marksWritten(), 1);
  ExpectMark(0, kLevelBelowMin, 50, 60);
  marks::MarkPortBelowMinimum(p, 2, writer);
  EXPECT_EQ(marksWritten(), 1) << "a link unit's own limit governs port 2";
  p.marked = true;
  marks::MarkPortBelowMinimum(p, -1, writer);
  EXPECT_EQ(marksWritten(), 1) << "the input is marked already";
  NodeSpectra(1, 2, 101) = 50.0;
  marks::MarkPortBelowMinimum(Probe(1, 2), -1, writer);
  EXPECT_EQ(marksWritten(), 1) << "exactly at the minimum";
  Nodes[1][kNodeSourceId] = 21;  // LNB C band 1: no carriers
  NodeSpectra(1, 2, 101) = 10.0;
  marks::MarkPortBelowMinimum(Probe(1, 2), -1, writer);
  EXPECT_EQ(marksWritten(), 1);
}

TEST_F(LevelMarksTest, PortLimitOfALinkUnitIsFoundAcrossTheOutputsNodes) {
  const int row = test::AddObject(116, 0, 0);
  Node(1, 116201, row, 11);
  Node(2, 116202, row, 12)[kNodePort3Link] = -50;
  Node(3, 116301, row, 11)[kNodePort3Link] = -50;  // another output group
  EXPECT_EQ(marks::PortWithOwnLimit(1, 4, 3), 3);
  EXPECT_EQ(marks::PortWithOwnLimit(1, 4, 2), -1);
  EXPECT_EQ(marks::PortWithOwnLimit(1, 2, 3), -1) << "the scan stops at the last node";
}

TEST_F(LevelMarksTest, AboveMaximumOnOutputsAndPortsOfDevices) {
  const int amp = test::AddObject(80, 0, 0);
  const int split = test::AddObject(126, 0, 0);
  Node(1, 80005, amp, 105)[kNodeMaxLevel] = 85;
  NodeSpectra(1, 1, 102) = 86.0;
  NodeSpectra(1, 2, 102) = 85.0;
  marks::MarkAboveMaximum(Probe(1, 1), writer);
  marks::MarkAboveMaximum(Probe(1, 2), writer);
  ASSERT_EQ(marksWritten(), 1);
  ExpectMark(0, kLevelAboveMax, 30, 40);
  Node(2, 126005, split, 105)[kNodeMaxLevel] = 85;
  NodeSpectra(2, 1, 102) = 99.0;
  marks::MarkAboveMaximum(Probe(2, 1), writer);
  EXPECT_EQ(marksWritten(), 1) << "J-splitters are never marked above maximum";
}

TEST_F(LevelMarksTest, ConverterAndStreamerInputs) {
  const int conv = test::AddObject(60, 0, 0);
  const int stream = test::AddObject(61, 0, 0);
  Node(1, kCodeConverterInput + 2, conv, 105);
  NodeSpectra(1, 0, 102) = 85.1;
  NodeSpectra(1, 0, 101) = 44.9;
  marks::MarkConverterInput(Probe(1, 0), writer);
  marks::MarkConverterInput(Probe(1, 1), writer);  // the output pin is not judged
  ASSERT_EQ(marksWritten(), 2);
  ExpectMark(0, kLevelAboveMax, 10, 20);
  ExpectMark(1, kLevelBelowMin, 10, 20);
  Node(2, kCodeStreamerInput, stream, 105);
  NodeSpectra(2, 0, 101) = 39.9;
  PinProbe p = Probe(2, 0);
  marks::MarkStreamerInput(p, writer);
  EXPECT_TRUE(p.marked);
  EXPECT_EQ(marksWritten(), 3);
}

TEST_F(LevelMarksTest, OpticalTransmitterInputTwentyBelowItsMaximum) {
  const int tx = test::AddObject(141, 0, 0);
  Node(1, 141001, tx, 1)[kNodeMaxLevel] = 85;
  NodeSpectra(1, 0, 101) = 64.9;
  marks::MarkOpticalInput(Probe(1, 0), writer);
  NodeSpectra(1, 0, 101) = 65.0;
  marks::MarkOpticalInput(Probe(1, 0), writer);
  ASSERT_EQ(marksWritten(), 1);
  ExpectMark(0, kLevelBelowMin, 10, 20);
}

TEST_F(LevelMarksTest, SingleCableAndModeZeroOutputsWithoutSignal) {
  const int unit = test::AddObject(181, 0, 0);
  Node(1, 181101, unit, 1)[kNodeChainMark] = kChainSingleCable;
  NodeSpectra(1, 1, 101) = -5.0;
  marks::MarkSingleCableOutput(1, writer);
  NodeSpectra(1, 1, 101) = 60.0;
  marks::MarkSingleCableOutput(1, writer);
  ASSERT_EQ(marksWritten(), 1);
  ExpectMark(0, kLevelBelowMin, 30, 40);

  // Mode '0': band 1 of LNB A carries; its seven grid points must all be above 0.
  Node(2, 116001, test::AddObject(116, 0, 0), 14)[kNodeChainMark] = kChainBandGrid;
  for (int e = 0; e < 28; ++e) NodeSpectra(2, 1, e) = 70.0;
  NodeSpectra(2, 1, 101) = 70.0;
  marks::MarkBandGridOutput(2, 2, 2, writer);
  EXPECT_EQ(marksWritten(), 1);
  NodeSpectra(2, 1, 6) = -1.0;
  marks::MarkBandGridOutput(2, 2, 2, writer);
  EXPECT_EQ(marksWritten(), 2);
  NodeSpectra(2, 1, 6) = 70.0;
  Node(3, 116002, Nodes[2][kNodeObject], 0);  // a node of the object no source reached
  marks::MarkBandGridOutput(2, 2, 3, writer);
  EXPECT_EQ(marksWritten(), 3);
}

TEST_F(LevelMarksTest, WriterOverwritesTheLastRecordAtItsBound) {
  writer.setBound(2);
  for (int i = 1; i <= 4; ++i) writer.mark(kLevelBelowMin, i, i);
  EXPECT_EQ(writer.next(), 2);
  ExpectMark(0, kLevelBelowMin, 1, 1);
  ExpectMark(1, kLevelBelowMin, 2, 2);
  ExpectMark(2, kLevelBelowMin, 4, 4);
}

}  // namespace
}  // namespace kavrix
