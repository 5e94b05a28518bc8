// Cable line ends snapping onto device terminals, checked against the pins the run builds.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "catalogue/geometry.hpp"
#include "catalogue/port_templates.hpp"
#include "catalogue/type_catalogue.hpp"
#include "editor/canvas_state.hpp"
#include "editor/click_fixture.hpp"
#include "editor/line_snapping.hpp"
#include "editor/placement_commands.hpp"
#include "model/network_model.hpp"
#include "model/project_options.hpp"
#include "model/source_tables.hpp"
#include "simulation/node_builder.hpp"
#include "simulation/rf_run.hpp"
#include "support/model_guard.hpp"

namespace kavrix {
namespace {

Point At(int x, int y) { return {x, y}; }

class LineSnapping : public ::testing::Test {
 protected:
  LineSnapping() {
    ResetCanvasState();
    OptionControls.CheckBox4 = false;
  }
  ~LineSnapping() override {
    OptionControls = m_options;
    ResetCanvasState();
  }

  // A line armed at the free row, as its palette button leaves it.
  static void Arm(int kind) {
    ASSERT_TRUE(ArmPlacement(kind, kCanvasIdle).armed());
  }
  static ObjRow& Line() { return NetObjects[static_cast<std::size_t>(CurObject)]; }
  static ObjRow& Geometry() { return NetObjects[static_cast<std::size_t>(CurObject) + 1]; }
  static Point Start() { return {Line()[kX], Line()[kY]}; }
  static Point End() { return {Line()[kX] + Geometry()[2] + Geometry()[4], Line()[kY] + Geometry()[1] + Geometry()[3]}; }

  // Pin of path `path` (0-based) as the node builder places it.
  static Point Pin(int row, int path, bool output) {
    const ObjRow& o = NetObjects[static_cast<std::size_t>(row)];
    const TypeRecord& t = TypeOf(o[kKind]);
    const TemplateRow& r = PortTemplates[static_cast<std::size_t>(t[kFirstTemplateRow] + path)];
    const Point base = Point{o[kX], o[kY]} + Rotated(o[kOrient], 0, -t[kTerminalShift]);
    return base + (output ? Rotated(o[kOrient], r[kTplOutDx], r[kTplOutDy]) : Rotated(o[kOrient], r[kTplInDx], r[kTplInDy]));
  }

 private:
  test::FreshModel m_model;
  ProjectOptions m_options = OptionControls;
};

// Reach is 10 pixels on both axes; the earlier row wins over a nearer terminal; with no output in
// reach a line starts on an input and takes the device's direction.
TEST_F(LineSnapping, TerminalSearchReachOrderAndInputStarts) {
  const int first = test::AddObject(93, 400, 100);
  const Point out = Pin(first, 0, true);
  for (const auto& [dx, dy, snaps] : {std::tuple{10, 10, true}, {-10, -10, true}, {11, 0, false}, {0, -11, false}}) {
    Arm(203);
    EXPECT_EQ(StartLineAt(out.x + dx, out.y + dy).found, snaps) << dx << "," << dy;
    EXPECT_EQ(Start(), snaps ? out : At(out.x + dx, out.y + dy));
  }
  test::AddObject(93, 406, 100);
  Arm(203);
  StartLineAt(out.x + 5, out.y);  // nearer the second antenna's output
  EXPECT_EQ(Start(), out);

  const int ms = test::AddObject(152, 310, 300, 0, 3);
  Arm(203);
  const Point in = Pin(ms, 0, false);
  EXPECT_TRUE(StartLineAt(in.x + 3, in.y - 2).found);
  EXPECT_EQ(Start(), in);
  EXPECT_EQ(Line()[kOrient], 3);
  EXPECT_EQ(Geometry()[5], 1) << "path 1 carries cable 1";
}

TEST_F(LineSnapping, SingleCableTakesTheCableOfItsTerminal) {
  const int lnb = test::AddObject(91, 200, 100, 0, 1, 2);
  const int sw = test::AddObject(65, 500, 300);
  const int unit = test::AddObject(181, 300, 500);
  struct Case {
    int row, path, cable;
  };
  // An LNB laid out "VLo HLo VHi HHi" has V-Lo leftmost; paths above 5 carry cable path - 5; a
  // single-cable unit's own outputs carry 7.
  const Case cases[] = {{sw, 6, 2}, {sw, 2, 3}, {unit, 2, 3}, {unit, 5, 7}};
  for (const Case& c : cases) {
    Arm(203);
    const Point p = Pin(c.row, c.path, true);
    EXPECT_TRUE(StartLineAt(p.x, p.y).found);
    EXPECT_EQ(Start(), p);
    EXPECT_EQ(Geometry()[5], c.cable) << "row " << c.row << " path " << c.path + 1;
  }
  Arm(203);
  EXPECT_TRUE(StartLineAt(170, 140).found);
  EXPECT_EQ(Geometry()[5], 3);
  EXPECT_EQ(Start(), At(170, 140));
  NetObjects[static_cast<std::size_t>(lnb)][kStyle] = 1;
  Arm(203);
  StartLineAt(170, 140);
  EXPECT_EQ(Geometry()[5], 1) << "laid out in path order, H-Lo is leftmost";
}

TEST_F(LineSnapping, UnsuitableCablesAreToldAndStillSnap) {
  const int tx = test::AddObject(141, 300, 100);
  const int rx = test::AddObject(142, 600, 100);
  const int lnb = test::AddObject(91, 900, 100, 0, 1, 2);
  const int ms = test::AddObject(152, 300, 400);
  auto start = [](int kind, Point p) {
    Arm(kind);
    return StartLineAt(p.x, p.y);
  };
  auto end = [](int kind, Point p) {
    Arm(kind);
    ExtraAngles = 1;
    return SnapLineEnd(p.x, p.y);
  };
  const struct {
    SnapResult r;
    const char* message;
  } cases[] = {
      {start(203, Pin(tx, 0, true)), kUnsuitableCableMessage},
      {start(205, Pin(tx, 0, true)), ""},
      {start(205, Pin(lnb, 0, true)), kUnsuitableCableMessage},
      {end(203, Pin(rx, 0, false)), kUnsuitableCableMessage},
      {end(205, Pin(rx, 0, false)), ""},
      {end(205, Pin(ms, 0, false)), kUnsuitableCableMessage},
      {end(203, Pin(ms, 0, false)), ""},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(c.r.found);
    EXPECT_EQ(c.r.message, c.message);
  }

  // A 5-cable line reaches only the first input group of a nine-input cascade.
  const int cascade = test::AddObject(163, 700, 500);
  Arm(201);
  const Point sixth = Pin(cascade, 5, false);
  const SnapResult r = StartLineAt(sixth.x, sixth.y);
  EXPECT_TRUE(r.found);
  EXPECT_EQ(r.message, kFiveCableUnsuitableMessage);
}

TEST_F(LineSnapping, EndCorrectsOnlyTheLastDrawnLegAndAZeroLineIsRejected) {
  const int antenna = test::AddObject(93, 400, 100);
  const int ms = test::AddObject(152, 600, 400);
  const Point in = Pin(ms, 0, false);
  struct Case {
    std::array<int, 4> legs;
    int corrected;  // 1-based leg that moves onto the terminal
  };
  for (const Case& c : {Case{{200, 150, 0, 0}, 2}, Case{{100, 150, 110, 0}, 3}, Case{{100, 150, 110, 40}, 4},
                        Case{{300, 0, 0, 0}, 1}}) {
    Arm(203);
    StartLineAt(Pin(antenna, 0, true).x, Pin(antenna, 0, true).y);
    ExtraAngles = 1;
    for (int k = 0; k < 4; ++k) Geometry()[k + 1] = c.legs[static_cast<std::size_t>(k)];
    const Point drawn = End();
    const LineEnd e = FinishLineAt(in.x + 4, in.y + 4);
    EXPECT_FALSE(e.rejected);
    for (int k = 1; k <= 4; ++k)
      if (k != c.corrected) {
        EXPECT_EQ(Geometry()[k], c.legs[static_cast<std::size_t>(k - 1)]) << k;
      }
    const bool horizontal = c.corrected % 2 == 0;
    EXPECT_EQ(horizontal ? End().x : End().y, horizontal ? in.x : in.y);
    EXPECT_EQ(horizontal ? End().y : End().x, horizontal ? drawn.y : drawn.x) << "the other axis stays as drawn";
  }

  Arm(203);
  StartLineAt(100, 700);
  ExtraAngles = 1;
  EXPECT_TRUE(FinishLineAt(100, 700).rejected);

  // With capture cancelled nothing snaps and even a zero-length line is accepted.
  OptionControls.CheckBox4 = true;
  Arm(203);
  const Point out = Pin(antenna, 0, true);
  EXPECT_FALSE(StartLineAt(out.x + 5, out.y).found);
  EXPECT_EQ(Start(), At(out.x + 5, out.y));
  ExtraAngles = 1;
  EXPECT_FALSE(FinishLineAt(out.x + 5, out.y).rejected);
}

// Every conductor of a trunk line drawn from an LNB output to a multiswitch's inputs must meet the
// band pin at its start and the input of the same line at its end: the run links by equal pins.
// Covers both LNB arrangements, both input orders (kinds below 80 take the lines in path order,
// the 5-input series in the order 3, 1, 4, 2), both trunk widths, and lines whose cables cross.
TEST_F(LineSnapping, TrunkConductorsMeetTheBandPinsAndTheInputsTheyFeed) {
  for (int orient : {1, 2, 3, 4})
    for (int lnbStyle : {1, 2})
      for (int device : {1, 152})
        for (int trunk : {201, 202}) {
          SCOPED_TRACE(testing::Message() << "orient " << orient << " LNB style " << lnbStyle << " device " << device
                                          << " line " << trunk);
          NewNetworkModel();
          ResetCanvasState();
          test::AddObject(91, 300, 300, 0, orient, lnbStyle);
          SatUsed[0] = true;
          const Point far = Rotated(orient, 0, 400);  // along the LNB's outputs
          const int dev = test::AddObject(device, 300 + far.x, 300 + far.y, 0, orient);
          Arm(trunk);
          const Point band1 = Rotated(orient, lnbStyle == 1 ? -30 : -10, 40) + Point{300, 300};
          ASSERT_TRUE(StartLineAt(band1.x, band1.y).found);
          const Point start = Start();

          // Slide the device across the line so that its snap point lies straight ahead.
          ExtraAngles = 1;
          const Point in = Pin(dev, 0, false);
          ASSERT_TRUE(SnapLineEnd(in.x, in.y).found);
          const Point across{orient % 2 ? start.x - SnapX : 0, orient % 2 ? 0 : start.y - SnapY};
          NetObjects[static_cast<std::size_t>(dev)][kX] += across.x;
          NetObjects[static_cast<std::size_t>(dev)][kY] += across.y;
          const Point moved = Pin(dev, 0, false);
          Geometry()[1] = orient % 2 ? moved.y - start.y : 0;
          Geometry()[2] = orient % 2 ? 0 : moved.x - start.x;
          ASSERT_FALSE(FinishLineAt(moved.x, moved.y).rejected);
          const int lineRow = CurObject;
          CurObject += 2;
          ObjectCount = CurObject;

          ResetSimulation();
          const int k = RegisterSources();
          const int n = BuildNodes(k);
          std::vector<int> conductors, inputs(6, -1);
          for (int i = k; i < n; ++i) {
            if (Nodes[i][18] == lineRow) conductors.push_back(i);
            const int code = Nodes[i][0];
            if (Nodes[i][18] == dev && (code % 1000) / 100 == 0 && code % 100 <= 5) inputs[code % 100] = i;
          }
          ASSERT_GE(conductors.size(), 4u);
          for (int b = 1; b <= 4; ++b) {
            const NodeRow& c = Nodes[conductors[static_cast<std::size_t>(b - 1)]];
            EXPECT_EQ(At(c[1], c[2]), At(Nodes[b - 1][3], Nodes[b - 1][4])) << "band " << b << " at the start";
            ASSERT_GE(inputs[b], 0);
            EXPECT_EQ(At(c[3], c[4]), Point(Nodes[inputs[b]][1], Nodes[inputs[b]][2])) << "line " << b << " at the end";
          }
          if (trunk == 201 && inputs[5] >= 0) {
            const NodeRow& terr = Nodes[conductors[4]];
            EXPECT_EQ(At(terr[3], terr[4]), Point(Nodes[inputs[5]][1], Nodes[inputs[5]][2])) << "terrestrial line";
          }
        }
}

}  // namespace
}  // namespace kavrix
