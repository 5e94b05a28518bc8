#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <utility>
#include <vector>

#include "editor/analyzer_fill.hpp"
#include "editor/level_display.hpp"
#include "model/network_model.hpp"
#include "model/run_records.hpp"
#include "model/source_tables.hpp"
#include "simulation/rf_run.hpp"
#include "simulation/window/analyzer_model.hpp"
#include "support/model_guard.hpp"
#include "support/project_guard.hpp"

namespace kavrix {
namespace {

using namespace chart_colors;
using XY = std::pair<double, double>;
constexpr double kTol = 1e-9;

// Probes run on a fresh project (limits: SAT 50..80, terrestrial 45..90, socket losses 2 and 3,
// RG-59 at 0.27 dB/m) with nodes written by hand: what the run would leave at a few pins.
class LevelDisplayTest : public ::testing::Test {
 protected:
  test::FreshProject project;
  AnalyzerModel a;

  void SetUp() override {
    LastProbePoint.reset();
    TerrPresent = false;
  }
  void TearDown() override {
    LastProbePoint.reset();
    TerrPresent = false;
  }

  // Node n of the object at `row`, fed by source `id`, with the pin of `port` at (x, y).
  static NodeRow& SetNode(int n, int code, int row, int id, int port, int x, int y) {
    NodeRow& r = Nodes[static_cast<std::size_t>(n)];
    r[0] = code;
    r[14] = id;
    r[18] = row;
    const int f = port == 0 ? 1 : port == 1 ? 3 : 2 * port + 1;
    r[static_cast<std::size_t>(f)] = x;
    r[static_cast<std::size_t>(f) + 1] = y;
    if (port >= 2) r[static_cast<std::size_t>(PortLink(port))] = kPortFree;
    return r;
  }
  // Levels from entry 0 on; entries 101 and 102 get the lowest and highest carried level.
  static void SetLevels(int n, int port, const std::vector<double>& levels) {
    double lo = 1000000.0, hi = kNoSignal;
    int k = 0;
    for (double v : levels) {
      NodeSpectra(static_cast<std::size_t>(n), port, k++) = v;
      if (v > -1000) lo = std::min(lo, v), hi = std::max(hi, v);
    }
    NodeSpectra(static_cast<std::size_t>(n), port, 101) = lo;
    NodeSpectra(static_cast<std::size_t>(n), port, 102) = hi;
  }
  static void SatBand(int band, std::initializer_list<int> freqs) {
    int k = 0;
    for (int f : freqs) SatCell(0, 2 * (band - 1), ++k) = f;
    LnbParams[0][static_cast<std::size_t>(band - 1)][0] = k;
  }
  static void TerrPlan(int source, std::initializer_list<double> freqs) {
    auto& row = TerrSpectra[static_cast<std::size_t>(2 * source)];
    row.fill(0.0);
    int k = 0;
    for (double f : freqs) row[static_cast<std::size_t>(k++)] = f;
  }
  static std::vector<XY> Points(const ChartModel& c, int series) {
    std::vector<XY> out;
    for (const ChartPoint& p : c.Series[static_cast<std::size_t>(series)].points) out.emplace_back(p.x, p.y);
    return out;
  }
  static void ExpectPoints(const ChartModel& c, int series, const std::vector<XY>& want) {
    const std::vector<XY> got = Points(c, series);
    ASSERT_EQ(got.size(), want.size()) << "series " << series;
    for (std::size_t i = 0; i < want.size(); ++i) {
      EXPECT_NEAR(got[i].first, want[i].first, kTol) << "series " << series << " point " << i;
      EXPECT_NEAR(got[i].second, want[i].second, kTol) << "series " << series << " point " << i;
    }
  }
  static std::vector<ChartColor> Colours(const ChartModel& c, int series) {
    std::vector<ChartColor> out;
    for (const ChartPoint& p : c.Series[static_cast<std::size_t>(series)].points) out.push_back(p.color);
    return out;
  }
  static int TotalPoints(const ChartModel& c) {
    int n = 0;
    for (int i = 0; i < c.seriesCount(); ++i) n += c.pointCount(i);
    return n;
  }
};

// A tap with satellite A band 1 on its port 2 at (100, 200), feeding a socket with 10 m of RG-59
// whose satellite outlet is at (148, 200) and terrestrial outlet at (140, 200).
class TapSocketTest : public LevelDisplayTest {
 protected:
  void SetUp() override {
    LevelDisplayTest::SetUp();
    SatBand(1, {1000, 1500, 2000});
    const int tap = test::AddObject(131, 100, 150);
    const int socket = test::AddObject(210, 125, 200, 10, 1, 1);
    SetNode(0, 131001, tap, 1, 2, 100, 200);
    SetLevels(0, 2, {70, 68, 66});
    Links[0] = {0, 100, 200, 148, 200, 140, 200, socket};
  }
};

TEST_F(TapSocketTest, SocketOutletShowsTheTapLevelsLessSocketCableAndLossWithLimitLines) {
  SatMinLevel = 59;
  SatMaxLevel = 67;
  const ProbeOutcome out = ProbeLevels(a, {152, 203});  // within 5 px of the satellite outlet
  EXPECT_TRUE(out.probed);
  EXPECT_EQ(out.matchedPins, 1);
  const double cf = 10 * 0.27;
  const double y[3] = {70 - std::sqrt(1.0) * cf - 2, 68 - std::sqrt(1.5) * cf - 2, 66 - std::sqrt(2.0) * cf - 2};
  ExpectPoints(a.Chart1, 1, {{1.0, y[0]}, {1.5, y[1]}, {2.0, y[2]}});
  EXPECT_EQ(a.Chart1.Series[1].points[0].label, "HLo");
  EXPECT_EQ(Colours(a.Chart1, 1), std::vector<ChartColor>(3, kGreen));
  // Lowest 60.18 is within 3 dB of the minimum 59, highest 65.3 within 3 dB of the maximum 67.
  ExpectPoints(a.Chart1, 0, {{1.0, 59}, {2.0, 59}});
  ExpectPoints(a.Chart1, 17, {{1.0, 67}, {2.0, 67}});
  ExpectPoints(a.Chart1, 18, {{1.0, 66}});
  EXPECT_TRUE(a.Chart1.Visible);
  EXPECT_FALSE(a.Chart2.Visible);
  EXPECT_EQ(a.Height, 284);
  EXPECT_TRUE(a.Visible);
  EXPECT_EQ(*LastProbePoint, (IntPoint{152, 203})) << "the click point, not the replaced one";
}

TEST_F(TapSocketTest, TapPortProbedDirectlyShowsRawLevelsAndTheDeviceMaximum) {
  Nodes[0][kNodeMaxLevel] = 69;  // the tap's maximum output level, below its highest level 70
  ProbeLevels(a, {100, 200});
  ExpectPoints(a.Chart1, 1, {{1.0, 70}, {1.5, 68}, {2.0, 66}});
  EXPECT_EQ(a.Chart1.pointCount(0), 0) << "no limit line: levels are far from the limits";
  // Silver tick and red line at M from the first to the last carried entry after entry 0.
  ExpectPoints(a.Chart1, 17, {{1.5, 68.5}, {1.5, 69}, {2.0, 69}});
  EXPECT_EQ(Colours(a.Chart1, 17), (std::vector<ChartColor>{kSilver, kSilver, kRed}));
  EXPECT_EQ(a.Height, 460) << "a pin of a device below the optical families shows both charts";
}

TEST_F(TapSocketTest, MatchNeedsLessThanSixPixelsInBothDirections) {
  a.Chart1.addPoint(5, 1.0, 60.0, "HLo");  // an earlier probe's levels
  const ProbeOutcome out = ProbeLevels(a, {154, 200});
  EXPECT_EQ(out.matchedPins, 0);
  EXPECT_EQ(TotalPoints(a.Chart1), 0) << "the charts are emptied";
  EXPECT_FALSE(a.Visible) << "the window stays as it was";
  EXPECT_EQ(a.Height, AnalyzerModel::kDesignedClientHeight + AnalyzerModel::kFrameHeight);
  EXPECT_EQ(ProbeLevels(a, {148, 194}).matchedPins, 0);
}

TEST_F(TapSocketTest, FilterRefillShowsTheLastProbePointAndNothingBeforeTheFirstProbe) {
  a.Chart1.addPoint(1, 9.0, 9.0, "HLo");
  a.Tag = 1;
  EXPECT_FALSE(ProbeLevels(a, {100, 200}).probed);
  EXPECT_EQ(a.Tag, 0);
  ExpectPoints(a.Chart1, 1, {{9.0, 9.0}});
  EXPECT_TRUE(a.Surface.Ops.empty()) << "a refill with no earlier probe changes nothing";

  ProbeLevels(a, {101, 199});
  const std::vector<XY> shown = Points(a.Chart1, 1);
  ASSERT_EQ(shown.size(), 3u);
  MoveAnchor = {400, 400};  // a selection move meanwhile
  a.Tag = 1;
  const ProbeOutcome again = ProbeLevels(a, {700, 20});  // the pointer is elsewhere
  EXPECT_EQ(again.matchedPins, 1);
  EXPECT_EQ(Points(a.Chart1, 1), shown);
  EXPECT_EQ(a.Tag, 0);
  ProbeLevels(a, {700, 20});
  EXPECT_EQ(a.Chart1.pointCount(1), 0) << "an ordinary click probes where it is";
}

TEST_F(LevelDisplayTest, TerrestrialOutputPlotsCarriedLevelsAndFitsItsAxis) {
  TerrPlan(0, {474, 482, 490, 498});
  const int line = test::AddObject(203, 300, 200, 20, 1, 1);
  test::AddContinuation(100, 0, 0, 0, 11);
  NodeRow& r = SetNode(0, 20300, line, 105, 1, 300, 300);
  r[13] = 69;
  // No signal (-1e6) is left out; on an output a level below -1e7 is still plotted.
  SetLevels(0, 1, {70, -1000000, 68, -20000000});
  ProbeLevels(a, {300, 300});
  ExpectPoints(a.Chart2, 1, {{474, 0}, {474, 70}, {490, 68}, {498, -20000000}, {498, 0}});
  EXPECT_EQ(a.Chart2.Series[1].points[1].label, "Terr.TV");
  EXPECT_EQ(a.Chart2.Series[1].points[1].color, kWhite);
  EXPECT_DOUBLE_EQ(a.Chart2.leftMaximum(), 73);
  EXPECT_DOUBLE_EQ(a.Chart2.leftMinimum(), 65);
  ExpectPoints(a.Chart2, 2, {{474, 69}, {498, 69}});  // the device maximum over the plan
  EXPECT_FALSE(a.Chart1.Visible);
  EXPECT_TRUE(a.Chart2.Visible);
  EXPECT_EQ(a.Chart2.Top, 60);
  EXPECT_EQ(a.Height, 284);

  // Kind 88's UHF path draws its maximum over 470..790 MHz whatever the plan.
  const int amp = test::AddObject(88, 500, 200);
  NodeRow& u = SetNode(1, 88005, amp, 105, 1, 500, 300);
  u[13] = 69;
  SetLevels(1, 1, {70, 70, 70, 70});
  ProbeLevels(a, {500, 300});
  ExpectPoints(a.Chart2, 2, {{470, 69}, {790, 69}});
}

TEST_F(LevelDisplayTest, OnlyTheHundredLevelEntriesOfASpectrumAreRead) {
  auto& plan = TerrSpectra[0];
  for (int k = 0; k <= 100; ++k) plan[static_cast<std::size_t>(k)] = 100 + 7 * k;  // no 0 ends the row
  const int line = test::AddObject(203, 300, 200, 20, 1, 1);
  SetNode(0, 20300, line, 105, 1, 300, 300);
  for (int k = 0; k < 100; ++k) NodeSpectra(0, 1, k) = 60;
  NodeSpectra(0, 1, 100) = 55;  // the optical power entry
  NodeSpectra(0, 1, 101) = 60;
  NodeSpectra(0, 1, 102) = 60;
  ProbeLevels(a, {300, 300});
  const std::vector<XY> pts = Points(a.Chart2, 1);
  ASSERT_EQ(pts.size(), 102u) << "100 levels between the two closing points";
  for (std::size_t i = 1; i + 1 < pts.size(); ++i) EXPECT_EQ(pts[i].second, 60) << i;
  EXPECT_EQ(pts.back(), (XY{100 + 7 * 99, 0}));
}

TEST_F(LevelDisplayTest, TrunkOutputShowsFourSevenPointCurvesAndSkipsSeriesThatDoNotExist) {
  const int trunk = test::AddObject(201, 300, 200, 20, 1, 1);
  test::AddContinuation(100, 0, 0, 0, 11);
  NodeRow& r = SetNode(0, 20100, trunk, 1, 1, 300, 300);
  r[25] = 50;
  for (int b = 0; b < 4; ++b)
    for (int j = 0; j < 7; ++j) NodeSpectra(0, 1, 7 * b + j) = 70 - j;
  NodeSpectra(0, 1, 101) = 64;
  NodeSpectra(0, 1, 102) = 70;
  ProbeLevels(a, {300, 300});
  const double ghz[7] = {0.95, 1.0, 1.1, 1.3, 1.5, 1.8, 2.15};
  const double offset[4] = {0.1, 0.0, -0.1, -0.2};
  for (int b = 1; b <= 4; ++b) {
    std::vector<XY> want;
    for (int j = 0; j < 7; ++j) want.emplace_back(ghz[j], 70 - j + offset[b - 1]);
    ExpectPoints(a.Chart1, b, want);
  }
  // Range points in the next two series widen the axis to the curves' span.
  ExpectPoints(a.Chart1, 5, {{0.95, 73}, {0.951, 73}});
  ExpectPoints(a.Chart1, 6, {{2.149, 67}, {2.15, 67}});
  EXPECT_EQ(a.Chart2.Tag, 1) << "trunk chains keep both charts for the click";
  EXPECT_EQ(a.Height, 460);

  // Source id 50 has satellite number 5: its series would lie past the chart's last one.
  AnalyzerModel b;
  r[14] = 50;
  r[25] = 0;
  ProbeLevels(b, {300, 300});
  EXPECT_EQ(TotalPoints(b.Chart1), 0);

  // A trunk that carries no band left its range points a million dB off, and the level axis
  // spanning them flattened every curve on the chart.
  AnalyzerModel c;
  r[14] = 1;
  r[25] = 50;
  for (int k = 0; k < 28; ++k) NodeSpectra(0, 1, k) = kNoSignal;
  NodeSpectra(0, 1, 101) = 1000000.0;
  NodeSpectra(0, 1, 102) = kNoSignal;
  ProbeLevels(c, {300, 300});
  EXPECT_EQ(TotalPoints(c.Chart1), 0);
}

TEST_F(LevelDisplayTest, StreamerInputWindowsStayInsideTheirChannelRows) {
  // DVB-T streamer tuned to the plan's first channel, its input weak: the window's lower
  // neighbour does not exist and stays at the tuned channel.
  TerrPlan(0, {474, 482, 490, 498});
  const int dvbt = test::AddObject(59, 300, 200, 474);
  SetNode(0, 59005, dvbt, 105, 0, 300, 300);
  SetLevels(0, 0, {25, 22, 20, 21});
  ProbeLevels(a, {300, 300});
  ExpectPoints(a.Chart2, 0, {{474, 30}, {482, 30}});
  EXPECT_EQ(Colours(a.Chart2, 0), (std::vector<ChartColor>{kBlue, kBlue}));
  EXPECT_DOUBLE_EQ(a.Chart2.leftMaximum(), 33) << "an axis topping out below 30 makes room for the window";

  // DVB-S/S2 streamer: 10950 MHz less the low LO 9750 tunes it to the band's first carrier.
  SatBand(1, {1200, 1300, 1400});
  const int dvbs = test::AddObject(58, 500, 200, 10950);
  test::AddContinuation(0, 0, 9750, 10600, 0);
  SetNode(1, 58000, dvbs, 1, 0, 500, 300);
  SetLevels(1, 0, {40, 41, 42});
  ProbeLevels(a, {500, 300});
  ExpectPoints(a.Chart1, 17, {{1.2, 45.5}, {1.2, 45}, {1.3, 45}});
  ExpectPoints(a.Chart1, 1, {{1.2, 40}, {1.3, 41}, {1.4, 42}});
}

TEST_F(LevelDisplayTest, OpticalTransmitterBarsOnTheWindowSurface) {
  const int tx = test::AddObject(141, 300, 200);
  NodeRow& r = SetNode(0, 141001, tx, 2, 1, 300, 300);
  r[28] = -1550;
  NodeSpectra(0, 1, 100) = -3.25;
  a.Chart1.Visible = true;
  ProbeLevels(a, {300, 300});
  EXPECT_FALSE(a.Chart1.Visible);
  EXPECT_FALSE(a.Chart2.Visible);
  EXPECT_EQ(a.Height, 284);
  // h = Round(150 / Ln(11.25)) + 10 = 72 at x 25 for 1550 nm.
  const std::vector<SurfaceOp>& ops = a.Surface.Ops;
  ASSERT_EQ(ops.size(), 4u);
  EXPECT_EQ(ops[0].x2, 800) << "the blank";
  EXPECT_EQ(ops[1].text, "-3.25 dBm");
  EXPECT_EQ(ops[1].y1, 235 - 72);
  EXPECT_EQ(ops[2].kind, SurfaceOp::Kind::Rectangle);
  EXPECT_EQ(ops[2].brush, kYellow);
  EXPECT_EQ(std::vector<int>({ops[2].x1, ops[2].y1, ops[2].x2, ops[2].y2}), std::vector<int>({25, 250, 75, 178}));
  EXPECT_EQ(ops[3].text, "1550nm");

  // From 7 dBm on the scale has no height: the texts stay, no bar is drawn.
  NodeSpectra(0, 1, 100) = 7.0;
  ProbeLevels(a, {300, 300});
  EXPECT_EQ(a.Surface.Texts(), (std::vector<std::string>{"7.00 dBm", "1550nm"}));
  for (const SurfaceOp& op : a.Surface.Ops) EXPECT_FALSE(op.kind == SurfaceOp::Kind::Rectangle && op.x1 == 25);

  // The input's total level: band 2 in yellow on the 50..M scale.
  r[13] = 90;
  NodeSpectra(0, 0, 102) = 75;
  r[1] = 280;
  r[2] = 300;
  ProbeLevels(a, {280, 300});
  EXPECT_EQ(a.Surface.Texts(), (std::vector<std::string>{"Total level:", "(dBuV)", "75.00"}));
  const SurfaceOp& bar = a.Surface.Ops[3];
  EXPECT_EQ(std::vector<int>({bar.x1, bar.y1, bar.x2, bar.y2}), std::vector<int>({310, 215 - 93, 340, 215}));
  EXPECT_EQ(bar.brush, kYellow);
}

TEST(TotalLevelBar, ZeroSpanOrNoLevelDrawsNoBarAndHeightsStayInTheWindow) {
  SurfaceModel s;
  DrawTotalLevelBar(s, 50, 30, 215, 75.0, 1);
  for (const SurfaceOp& op : s.Ops) EXPECT_NE(op.kind, SurfaceOp::Kind::Rectangle);
  ASSERT_EQ(s.Ops.size(), 4u) << "two captions, the maximum mark and the level text";
  EXPECT_EQ(s.Ops[2].y1, 65);

  SurfaceModel t;
  DrawTotalLevelBar(t, 60, 40, 215, 1e300, 5);
  ASSERT_EQ(t.Ops[2].kind, SurfaceOp::Kind::Rectangle);
  EXPECT_EQ(t.Ops[2].y1, 215 - 180);
  EXPECT_EQ(t.Ops[2].brush, kWhite) << "terrestrial total in white";
  for (const SurfaceOp& op : t.Ops) EXPECT_GE(std::min(op.y1, op.y2), 0);

  SurfaceModel u;
  DrawTotalLevelBar(u, 90, 70, 215, std::nan(""), 1);
  EXPECT_EQ(u.Texts(), (std::vector<std::string>{"Total level:", "(dBuV)"}));
}

// A level below 50 dBuV drew no bar, as if nothing came in: its bar hangs below the base with the
// text under it, down to where the one-chart window ends.
TEST(TotalLevelBar, LevelsBelowFiftyHangBelowTheBase) {
  for (const auto& [level, foot] : {std::pair{45.0, 227}, std::pair{1.0, 240}}) {
    SurfaceModel s;
    DrawTotalLevelBar(s, 110, 90, 215, level, 1);
    EXPECT_EQ(std::vector<int>({s.Ops[2].y1, s.Ops[2].y2, s.Ops.back().y1}), std::vector<int>({foot, 215, foot + 2}));
  }
}

// Two antennas' channel rows at one pin; runs are stretches of carried levels.
class OverlapTest : public LevelDisplayTest {
 protected:
  void SetUp() override {
    LevelDisplayTest::SetUp();
    const int line = test::AddObject(203, 300, 200, 20, 1, 1);
    SetNode(0, 20300, line, 105, 1, 300, 300);
    SetNode(1, 20300, line, 106, 1, 300, 300);
  }
};

TEST_F(OverlapTest, RunsThatTouchOverlapAndEveryRunIsCompared) {
  // Source A carries 474..490; B carries 490..506: equal edge frequency.
  TerrPlan(0, {466, 474, 482, 490, 498});
  SetLevels(0, 1, {-1000, 70, 70, 70, -1000});
  TerrPlan(1, {482, 490, 498, 506, 514});
  SetLevels(1, 1, {-1000, 70, 70, 70, -1000});
  const ProbeOutcome out = ProbeLevels(a, {300, 300});
  EXPECT_EQ(out.matchedPins, 2);
  EXPECT_TRUE(out.bandsOverlap);
  EXPECT_TRUE(SourceBandsOverlap(2, 0, 1, 1, 0, 1));

  // B moved up to 498..514: apart.
  SetLevels(1, 1, {-1000, -1000, 70, 70, 70});
  EXPECT_FALSE(SourceBandsOverlap(2, 0, 1, 1, 0, 1));
  EXPECT_FALSE(ProbeLevels(a, {300, 300}).bandsOverlap);

  // B with two runs, 482 and 506..514: A overlaps its first run, and a run reaching the row's
  // end is closed at its last frequency.
  SetLevels(1, 1, {70, -1000, -1000, 70, 70});
  EXPECT_TRUE(SourceBandsOverlap(2, 0, 1, 1, 0, 1));
  EXPECT_TRUE(SourceBandsOverlap(0, 2, 0, 1, 1, 1));
  // A gap between runs is no band: A at 498 only fits between B's runs.
  TerrPlan(0, {490, 498, 506});
  SetLevels(0, 1, {-1000, 70, -1000});
  TerrPlan(1, {482, 490, 498, 506, 514});
  SetLevels(1, 1, {70, 70, -1000, 70, 70});
  EXPECT_FALSE(SourceBandsOverlap(0, 2, 0, 1, 1, 1));
  EXPECT_FALSE(SourceBandsOverlap(0, 40, 0, 1, 1, 1)) << "a row outside the table";
}

TEST_F(OverlapTest, OneSourceMetAtTwoPinsIsRecordedOnce) {
  Nodes[1][kNodeSourceId] = 105;
  TerrPlan(0, {474, 482});
  SetLevels(0, 1, {70, 70});
  SetLevels(1, 1, {70, 70});
  EXPECT_FALSE(ProbeLevels(a, {300, 300}).bandsOverlap);

  ProbeState st;
  for (int i = 0; i < 20; ++i) st.RecordSource(2 * (i % 13), i, 1);
  EXPECT_EQ(st.SourceRecordCount, ProbeState::kMaxSourceRecords);
  EXPECT_EQ(st.SourceRecords[10].row, 20);
}

// Every project limit line of the chart filling on each branch that draws one, with limits off
// their defaults (SAT 57..71.5, terrestrial 52..83.5) and levels on both sides of each edge: a
// line in the wrong series, at another limit, over another span, or drawn on the wrong side of
// its edge fails. The pin is node 0 at port `port`; levels start at entry 0 (a trunk's output).
struct LimitLine {
  int chart, series;  // chart 1 or 2
  std::vector<XY> points;
};
struct LimitCase {
  const char* name;
  int kind, code, id, port, chain;
  double cf, M;
  bool terrView;
  std::vector<double> levels;
  std::vector<LimitLine> want;
};

class AnalyzerLimitLines : public LevelDisplayTest, public ::testing::WithParamInterface<LimitCase> {};

TEST_P(AnalyzerLimitLines, EachLineInItsSeriesAtItsLimitOverItsSpan) {
  const LimitCase& c = GetParam();
  SatMinLevel = 57, SatMaxLevel = 71.5, TerrMinLevel = 52, TerrMaxLevel = 83.5;
  SatBand(1, {1000, 1500, 2000});
  TerrPlan(0, {474, 482, 490, 498});
  NodeRow& r = SetNode(0, c.code, test::AddObject(c.kind, 300, 200), c.id, c.port, 300, 300);
  r[kNodeMaxLevel] = static_cast<int32_t>(c.M);
  r[kNodeChainMark] = c.chain;
  SetLevels(0, c.port, c.levels);
  ProbeState st;
  st.CableFactor = c.cf;
  st.TerrView = c.terrView;
  st.SatView = c.id < 100;
  st.TerrBandLow = 470, st.TerrBandHigh = 500;
  FillPinCharts(a, st, 0, c.port);
  for (const auto& [chart, series] : {std::pair{1, 0}, {1, 17}, {1, 18}, {2, 0}, {2, 2}}) {
    std::vector<XY> want;
    for (const LimitLine& l : c.want)
      if (l.chart == chart && l.series == series) want = l.points;
    ExpectPoints(chart == 1 ? a.Chart1 : a.Chart2, series, want);
  }
}

constexpr double kNo = kNoSignal;
INSTANTIATE_TEST_SUITE_P(
    Branches, AnalyzerLimitLines,
    ::testing::Values(
        LimitCase{"TapSatelliteJustInsideBothMargins", 131, 131001, 1, 2, 0, 0, kNoLimit, false, {68.6, 59.9, 65},
                  {{1, 0, {{1.0, 57}, {2.0, 57}}}, {1, 17, {{1.0, 71.5}, {2.0, 71.5}}}, {1, 18, {{1.0, 70.5}}}}},
        LimitCase{"TapSatelliteThreeDbFromBothLimits", 131, 131001, 1, 2, 0, 0, kNoLimit, false, {68.5, 60, 65}, {}},
        LimitCase{"TapSatelliteWithTerrestrialView", 131, 131001, 1, 2, 0, 0, kNoLimit, true, {68.6, 59.9, 65},
                  {{1, 0, {{1.0, 57}, {2.0, 57}}}}},
        // A socket's maximum line needs the axis (highest level + 3) above the limit.
        LimitCase{"TapTerrestrialBelowMinimumAboveMaximum", 131, 131005, 105, 2, 0, 1, kNoLimit, true,
                  {81, 51.5, 55, 58, kNo},
                  {{2, 0, {{474, 52.5}, {474, 52}, {498, 52}}}, {2, 2, {{470, 83.5}, {500, 83.5}}}}},
        LimitCase{"TapTerrestrialAtBothLimits", 131, 131005, 105, 2, 0, 1, kNoLimit, true, {80.5, 52, 55, 58, kNo}, {}},
        LimitCase{"OutputTerrestrialAtMinimumAboveMaximum", 203, 20300, 105, 1, 0, 1, kNoLimit, true,
                  {60, 52, 84, 70, kNo}, {{2, 0, {{470, 52}, {500, 52}}}, {2, 2, {{474, 83}, {498, 83}}}}},
        LimitCase{"OutputTerrestrialInside", 203, 20300, 105, 1, 0, 1, kNoLimit, true, {60, 52.5, 83, 70, kNo}, {}},
        LimitCase{"OutputSatelliteAboveSocketMaximum", 203, 20300, 1, 1, 0, 1, kNoLimit, true, {60, 72, 65, kNo},
                  {{1, 17, {{1.0, 70.5}, {1.0, 71}, {2.0, 71}}}}},
        LimitCase{"OutputSatelliteAboveDeviceMaximum", 203, 20300, 1, 1, 0, 0, 66, true, {60, 72, 65, kNo},
                  {{1, 17, {{1.0, 65.5}, {1.0, 66}, {2.0, 66}}}}},
        LimitCase{"TrunkOutsideBothLimits", 201, 20100, 1, 1, 50, 1, kNoLimit, true, {58, 72, 60, 60, 60, 60, 60},
                  {{1, 0, {{0.95, 57}, {2.15, 57}, {2.15, 57.5}}}, {1, 17, {{0.95, 70.5}, {0.95, 71}, {2.15, 71}}}}},
        // The lowest level less the 2.15 GHz cable loss (1.466) and the socket loss (2) is 57.034.
        LimitCase{"TrunkInsideLimits", 201, 20100, 1, 1, 50, 1, kNoLimit, true, {60.5, 71, 61, 61, 61, 61, 61}, {}}),
    [](const ::testing::TestParamInfo<LimitCase>& info) { return std::string(info.param.name); });

TEST(AnalyzerModel, AxisSettersRefuseCrossedBoundsAndNonNumbers) {
  AnalyzerModel m;
  ChartModel& c = m.Chart2;
  EXPECT_FALSE(c.setLeftMinimum(201));
  EXPECT_FALSE(c.setLeftMaximum(-1));
  EXPECT_FALSE(c.setLeftMaximum(std::nan("")));
  EXPECT_FALSE(c.setLeftMinimum(-INFINITY));
  EXPECT_TRUE(c.setLeftMaximum(90));
  EXPECT_TRUE(c.setLeftMinimum(90));
  EXPECT_EQ(c.range(AxisSide::Left), (std::pair<double, double>(90, 90)));
  // Series indices past the chart are ignored.
  c.addPoint(5, 1, 1, "x");
  c.addPoint(-1, 1, 1, "x");
  c.clearSeries(9);
  EXPECT_EQ(c.pointCount(5), 0);
}

}  // namespace
}  // namespace kavrix
