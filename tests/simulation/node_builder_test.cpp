#include <gtest/gtest.h>

#include "catalogue/geometry.hpp"
#include "catalogue/port_templates.hpp"
#include "catalogue/type_catalogue.hpp"
#include "model/run_records.hpp"
#include "simulation/node_builder.hpp"
#include "support/model_guard.hpp"

namespace kavrix {
namespace {

using test::AddContinuation;
using test::AddObject;

constexpr int kX = 5000, kY = 7000;

const TemplateRow& PathRow(int kind, int p) { return PortTemplates[TypeOf(kind)[kFirstTemplateRow] + p]; }

int TerrestrialPaths(int kind) {
  if (kind >= 86 && kind <= 88) return 0;
  int t = 0;
  for (int p = 0; p < TypeOf(kind)[kPaths]; ++p) t += PathRow(kind, p)[0] % 100 == 5 ? 1 : 0;
  return t;
}

Point InPin(int n) { return {Nodes[n][kNodeInX], Nodes[n][kNodeInY]}; }
Point OutPin(int n) { return {Nodes[n][kNodeOutX], Nodes[n][kNodeOutY]}; }

TEST(NodeBuilder, PinsFollowOrientationAndTerminalShift) {
  // Dovr4 has a terminal shift of 60; its first path's input pin, written out per quarter turn.
  const int f5 = TypeOf(37)[kTerminalShift];
  ASSERT_EQ(f5, 60);
  const int dx = PathRow(37, 0)[1], dy = PathRow(37, 0)[2];
  const Point expected[] = {{kX + dx, kY - f5 + dy},
                            {kX - f5 + dy, kY - dx},
                            {kX - dx, kY + f5 - dy},
                            {kX + f5 - dy, kY + dx}};
  for (int orient = 1; orient <= 4; ++orient) {
    test::FreshModel model;
    AddObject(37, kX, kY, 0, orient);
    AddContinuation();
    BuildNodes(0);
    EXPECT_EQ(InPin(0), expected[orient - 1]) << "orient " << orient;
  }
}

TEST(NodeBuilder, MissingPinsLieFarOffTheDrawing) {
  test::FreshModel model;
  AddObject(5, kX, kY);
  BuildNodes(0);
  EXPECT_EQ(Nodes[0][kNodeCode], 995001);
  EXPECT_EQ(OutPin(0), (Point{kX + 2000000, kY + 2000000}));
  EXPECT_EQ(Nodes[0][kNodePort2Link], -2);  // subscriber ports present, not linked
}

// Every device kind in every orientation: one node per path plus the terrestrial replicas, codes
// from the template rows, pins rotated about the shifted base point.
TEST(NodeBuilder, EveryKindEveryOrientation) {
  for (int kind = 1; kind < 200; ++kind) {
    const int paths = TypeOf(kind)[kPaths];
    if (paths == 0 || (kind >= 91 && kind <= 95) || kind == 98) continue;
    for (int orient = 1; orient <= 4; ++orient) {
      test::FreshModel model;
      TerrSourceIndex = 2;
      AddObject(kind, kX, kY, 0, orient);
      for (int i = 0; i < 17; ++i) AddContinuation();
      const int n = BuildNodes(0);
      SCOPED_TRACE(testing::Message() << "kind " << kind << " orient " << orient);
      ASSERT_EQ(n, paths + 2 * TerrestrialPaths(kind));
      const Point base = Point{kX, kY} + Rotated(orient, 0, -TypeOf(kind)[kTerminalShift]);
      int node = 0;
      for (int p = 0; p < paths; ++p) {
        const TemplateRow& r = PathRow(kind, p);
        EXPECT_EQ(Nodes[node][kNodeCode], r[0]);
        EXPECT_EQ(InPin(node), base + Rotated(orient, r[1], r[2]));
        EXPECT_EQ(OutPin(node), base + Rotated(orient, r[3], r[4]));
        EXPECT_EQ(Nodes[node][kNodeObject], 0);
        node += (r[0] % 100 == 5 && !(kind >= 86 && kind <= 88)) ? 3 : 1;
      }
      EXPECT_EQ(Nodes[n][kNodeCode], 0);  // a reset row follows
    }
  }
}

TEST(NodeBuilder, TerrestrialReplicasPerSource) {
  for (int sources : {1, 2, 3}) {
    test::FreshModel model;
    TerrSourceIndex = sources - 1;
    AddObject(80, kX, kY);
    const int n = BuildNodes(0);
    ASSERT_EQ(n, sources);
    for (int s = 0; s < sources; ++s) {
      EXPECT_EQ(Nodes[s][kNodeCode], 80005);
      EXPECT_EQ(Nodes[s][kNodeChainMark], 105 + s);
      EXPECT_EQ(Nodes[s][kNodeControlRow], Nodes[0][kNodeControlRow]);
    }
  }
}

TEST(NodeBuilder, ReplicasLandWhereBlocksFindSiblings) {
  test::FreshModel model;
  const int t = 2;
  TerrSourceIndex = t;
  AddObject(81, kX, kY);
  AddContinuation(21, 22);
  AddObject(43, kX + 500, kY);
  AddContinuation();
  AddObject(183, kX + 1000, kY, 100000000);
  BuildNodes(0);
  // Channel amplifier: the group-2 node of source c is the group-1 node's index + 1 + T.
  const int group1 = 1 + t;
  for (int c = 0; c <= t; ++c) {
    EXPECT_EQ(Nodes[group1 + c][kNodeCode], 81105);
    EXPECT_EQ(Nodes[group1 + c + 1 + t][kNodeCode], 81205);
    EXPECT_EQ(Nodes[group1 + c + 1 + t][kNodeChainMark], Nodes[group1 + c][kNodeChainMark]);
  }
  // House amplifier: node g x (T + 1) + c of the object is group g for source c.
  const int house = 3 * (t + 1);
  for (int g = 0; g < 4; ++g)
    for (int c = 0; c <= t; ++c) {
      EXPECT_EQ(Nodes[house + g * (t + 1) + c][kNodeCode], 43005 + 100 * g);
      EXPECT_EQ(Nodes[house + g * (t + 1) + c][kNodeChainMark], 105 + c);
    }
  // Single-cable unit: from a subscriber node of path p, n + 1 - p is path 1 of its group.
  const int glim = house + 4 * (t + 1);
  for (int n = glim; Nodes[n][kNodeCode] / 1000 == 183; ++n) {
    const int code = Nodes[n][kNodeCode], path = code % 100;
    if (path >= 1 && path <= 4) { EXPECT_EQ(Nodes[n + 1 - path][kNodeCode], code - path + 1); }
  }
}

TEST(NodeBuilder, ControlRowsCopySettings) {
  test::FreshModel model;
  AddObject(89, kX, kY);
  AddContinuation(5, 3);
  AddObject(50, kX + 500, kY, -3);
  AddContinuation(-4, 0, 0, 0, 0, -2);
  BuildNodes(0);
  // Slev2: step stored as a magnitude, slope stored one below the node's slope.
  EXPECT_EQ(Nodes[0][kNodeStep], -5);
  EXPECT_EQ(Nodes[0][kNodeSetting], 4);
  EXPECT_EQ(Nodes[0][kNodeControlRow], TypeOf(89)[kFirstTemplateRow] + 3);
  EXPECT_EQ(Nodes[1][kNodeStep], kNoLimit);  // the input tap has no control
  // Nerb1: line 1 step from the continuation row, terrestrial step from Inst and slope from the
  // continuation row's Kind field (negated, plus 1).
  EXPECT_EQ(Nodes[3][kNodeCode], 50001);
  EXPECT_EQ(Nodes[3][kNodeStep], -4);
  EXPECT_EQ(Nodes[7][kNodeCode], 50005);
  EXPECT_EQ(Nodes[7][kNodeStep], -3);
  EXPECT_EQ(Nodes[7][kNodeSetting], 3);
}

// A control row pointing at a continuation row the object lacks must not read the next object.
TEST(NodeBuilder, ControlCellsOutsideTheObjectAreNotRead) {
  test::FreshModel model;
  AddObject(89, kX, kY);
  AddObject(80, kX + 500, kY, -7);
  BuildNodes(0);
  EXPECT_EQ(Nodes[0][kNodeStep], kNoLimit);
  EXPECT_EQ(Nodes[0][kNodeSetting], kNoLimit);
  EXPECT_EQ(Nodes[3][kNodeStep], -7);
}

TEST(NodeBuilder, LinkUnitSourceSelection) {
  struct Case {
    int inst, sel, band, id;
  };
  const Case cases[] = {{11000, 23, 0, 23}, {11000, 8, 2, 5}, {11800, 18, 1, 14}, {11000, 58, 1, 3}, {11000, 6, 0, 0}};
  for (const Case& c : cases) {
    test::FreshModel model;
    AddObject(58, kX, kY, c.inst);
    AddContinuation(c.sel, c.band, 9750, 10600);
    BuildNodes(0);
    EXPECT_EQ(Nodes[0][kNodeSourceId], c.id) << "sel " << c.sel;
  }
  test::FreshModel model;
  TerrSourceIndex = 1;
  AddObject(59, kX, kY, 474);
  BuildNodes(0);
  EXPECT_EQ(Nodes[0][kNodeSourceId], 105);
  EXPECT_EQ(Nodes[1][kNodeSourceId], 106);
}

TEST(NodeBuilder, SingleCableModesAndPassiveTerrestrial) {
  test::FreshModel model;
  AddObject(181, kX, kY, 101);
  AddObject(183, kX + 500, kY, 200000000);
  BuildNodes(0);
  for (int n = 0; n < 15; ++n) {
    const int code = Nodes[n][kNodeCode], group = (code % 1000) / 100;
    if (code % 10 == 5) {
      EXPECT_EQ(Nodes[n][kNodeChainMark], 105);
      continue;
    }
    EXPECT_EQ(Nodes[n][kNodeSourceId], code % 10);
    EXPECT_EQ(Nodes[n][kNodeChainMark], group == 1 ? 50 : (group == 2 ? 49 : 0)) << code;
  }
  // Glim3 with "Terr TV passive" has no limit on its subscriber terrestrial paths.
  for (int n = 15; Nodes[n][kNodeCode] / 1000 == 183; ++n)
    if (Nodes[n][kNodeCode] % 10 == 5 && Nodes[n][kNodeCode] > 183100) { EXPECT_EQ(Nodes[n][kNodeMaxLevel], kNoLimit); }
}

TEST(NodeBuilder, OpticalTerrestrialNodesCarryTheirSource) {
  test::FreshModel model;
  TerrSourceIndex = 1;
  AddObject(142, kX, kY);
  BuildNodes(0);
  EXPECT_EQ(Nodes[4][kNodeCode], 142005);
  EXPECT_EQ(Nodes[4][kNodeSourceId], 105);
  EXPECT_EQ(Nodes[5][kNodeSourceId], 106);
}

TEST(NodeBuilder, BandCombinersGetNoReplicas) {
  test::FreshModel model;
  TerrSourceIndex = 3;
  AddObject(87, kX, kY);
  AddContinuation();
  EXPECT_EQ(BuildNodes(0), 3);
  EXPECT_EQ(Nodes[0][kNodeChainMark], 0);
}

// ---- lines

int AddLine(int kind, int orient, int s1, int s2, int s3, int s4, int arr) {
  const int row = AddObject(kind, kX, kY, 25, orient, 2);
  AddContinuation(s1, s2, s3, s4, arr);
  return row;
}

TEST(NodeBuilder, TrunkLineArrangementsAndReplicas) {
  test::FreshModel model;
  TerrSourceIndex = 2;
  AddLine(201, 1, 100, 0, 0, 0, 12);
  const int n = BuildNodes(0);
  ASSERT_EQ(n, 7);
  // Start arrangement 1 along orient 1 (left offsets), end arrangement 2 along the only
  // segment's direction, which falls back to the object's Orient.
  const int start1[] = {40, 20, 0, -20}, end2[] = {20, -20, 40, 0};
  for (int b = 0; b < 4; ++b) {
    EXPECT_EQ(Nodes[b][kNodeCode], 20100);
    EXPECT_EQ(InPin(b), (Point{kX - start1[b], kY}));
    EXPECT_EQ(OutPin(b), (Point{kX - end2[b], kY + 100}));
    EXPECT_EQ(Nodes[b][kLineLength], 25);
    EXPECT_EQ(Nodes[b][kLineCable], 2);
  }
  EXPECT_EQ(InPin(4), (Point{kX + 40, kY}));
  for (int s = 0; s < 3; ++s) {
    EXPECT_EQ(Nodes[4 + s][kNodeChainMark], 105 + s);
    EXPECT_EQ(OutPin(4 + s), OutPin(4));
  }
}

TEST(NodeBuilder, LineEndDirectionFromLastSegment) {
  test::FreshModel model;
  AddLine(202, 1, 100, -60, 0, 0, 11);  // vertical, then horizontal leftwards: direction 4
  AddLine(202, 2, 0, 80, 0, 0, 11);     // even Orient: the horizontal segment is first
  EXPECT_EQ(BuildNodes(0), 8);
  EXPECT_EQ(OutPin(0), (Point{kX - 60, kY + 100 - 30}));
  EXPECT_EQ(OutPin(4), (Point{kX + 80, kY + 30}));
}

TEST(NodeBuilder, UnknownArrangementLinksNothing) {
  test::FreshModel model;
  AddLine(202, 1, 100, 0, 0, 0, 31);
  AddLine(202, 1, 100, 0, 0, 0, 31);
  BuildNodes(0);
  EXPECT_GT(Nodes[0][kNodeInX], 1000000);
  EXPECT_NE(InPin(0), InPin(1));
  EXPECT_NE(InPin(0), InPin(4));  // two lines from the same point still do not meet
  EXPECT_EQ(OutPin(0), (Point{kX - 30, kY + 100}));
}

TEST(NodeBuilder, SingleLineAndFibre) {
  test::FreshModel model;
  TerrSourceIndex = 3;
  AddLine(203, 1, 0, 70, 20, 0, 5);
  AddLine(205, 1, 40, 0, 0, 0, 8);
  EXPECT_EQ(BuildNodes(0), 6);
  EXPECT_EQ(Nodes[0][kNodeCode], 20300);
  EXPECT_EQ(InPin(0), (Point{kX, kY}));
  EXPECT_EQ(OutPin(0), (Point{kX + 70, kY + 20}));
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(Nodes[1 + i][kNodeCode], 20500 + i);
    EXPECT_EQ(OutPin(1 + i), (Point{kX, kY + 40}));
    EXPECT_EQ(Nodes[1 + i][kNodeSourceId], 0);
  }
}

TEST(NodeBuilder, SkipsSourcesAndContinuationRowsAndStopsAtKindZero) {
  test::FreshModel model;
  AddObject(91, kX, kY);
  AddObject(100, kX, kY);
  AddObject(80, kX, kY);
  NetObjects.push_back({});
  NetObjects.push_back({80, 0, 0, 0, 1, 0});
  EXPECT_EQ(BuildNodes(4), 5);
  EXPECT_EQ(Nodes[4][kNodeCode], 80005);
  EXPECT_EQ(Nodes[4][kNodeObject], 2);
}

}  // namespace
}  // namespace kavrix
