// The node transfer frame: range of a call, grid edge rules, remap, dispatch and the setting
// formulas, exercised through synthetic blocks installed in the registry.
#include <gtest/gtest.h>

#include "engine/device_table_gen.hpp"
#include "engine/engine_fixture.hpp"
#include "engine/node_frame.hpp"

namespace kavrix {
namespace {

using namespace engine;
using test::SetFreqs;
using test::SetNode;

constexpr double kTol = 1e-9;

// A synthetic table on FreqGrids row 0: T[j] = -j - 0.5, written to spectrum 1.
double g_table[16];
void RowZeroBlock(const NodeFrame& fr) {
  AddInterpolated(fr, FreqGridRow(0), fr.spectrum(1), g_table, 1);
}

// Writes port p's spectrum p + 1 with 10 x p for every position of the range.
void PortBlock(const NodeFrame& fr) {
  for (int p = 0; p <= fr.lastPort; ++p)
    for (int k = fr.kFirst; k <= fr.kLast; ++k) fr.spectrum(p + 1)[k] = 10.0 * p;
}

int g_seenCategory = -1;
void RecordCategory(const NodeFrame& fr) { g_seenCategory = fr.category; }

class NodeFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int j = 0; j < 16; ++j) g_table[j] = -j - 0.5;
    g_seenCategory = -1;
  }
  test::FreshModel m_model;
};

TEST(LinInterpTest, EqualAbscissaeAndExactHitReturnFirstValue) {
  EXPECT_EQ(LinInterp(3.0, 7.0, 100.0, 100.0, 150.0), 3.0);
  EXPECT_EQ(LinInterp(3.0, 7.0, 100.0, 200.0, 100.0), 3.0);
  EXPECT_NEAR(LinInterp(3.0, 7.0, 100.0, 200.0, 150.0), 5.0, kTol);
  EXPECT_NEAR(LinInterp(3.0, 7.0, 100.0, 200.0, 250.0), 9.0, kTol);  // extrapolates
}

TEST_F(NodeFrameTest, GridEdgesFollowTheSkipAndExtrapolateRules) {
  ScopedBlock block(300, RowZeroBlock);
  SetNode(5, 300001);
  SetFreqs({949.0, 950.0, 1000.0, 1050.0, 2400.0, 2400.5, 2401.0});
  double* in = SpectrumAt(5, 0);
  double* out = SpectrumAt(5, 1);
  for (int k = 0; k < 7; ++k) {
    in[k] = 60.0;
    out[k] = 11.0;  // an earlier value that a skipped entry keeps
  }
  CalcNode(5, -1);
  EXPECT_EQ(out[0], 11.0);                    // below the first point
  EXPECT_NEAR(out[1], 60.0 - 0.5, kTol);      // first point: T[0], no index -1
  EXPECT_NEAR(out[2], 60.0 - 1.5, kTol);      // any other grid point: T[j]
  EXPECT_NEAR(out[3], 60.0 - 2.0, kTol);      // half way between 1000 and 1100
  EXPECT_NEAR(out[4], 60.0 - 15.5, kTol);     // last point
  EXPECT_NEAR(out[5], 60.0 - 15.505, kTol);   // 2300..2400 segment extended
  EXPECT_EQ(out[6], 11.0);                    // at last + 1 MHz: skipped
}

TEST_F(NodeFrameTest, EmptyListComputesNothingAndSinglePositionIgnoresTheCount) {
  ScopedBlock block(300, RowZeroBlock);
  SetNode(5, 300001);
  SetFreqs({});
  SpectrumAt(5, 1)[0] = 7.0;
  CalcNode(5, -1);
  EXPECT_EQ(SpectrumAt(5, 1)[0], 7.0);

  // A position after the leading run is still computed when asked for alone.
  SetFreqs({1000.0});
  FreqList[3] = 1100.0;
  SpectrumAt(5, 0)[3] = 50.0;
  CalcNode(5, 3);
  EXPECT_NEAR(SpectrumAt(5, 1)[3], 50.0 - 2.5, kTol);
}

TEST_F(NodeFrameTest, SingleFrequencyModeComputesPortZeroOnly) {
  ScopedBlock block(300, PortBlock);
  SetNode(5, 300001);
  SetFreqs({1000.0, 1100.0});
  CalcNode(5, 1);
  EXPECT_EQ(SpectrumAt(5, 1)[1], 0.0);
  EXPECT_EQ(SpectrumAt(5, 2)[1], kNoSignal);
  EXPECT_EQ(SpectrumAt(5, 1)[0], kNoSignal);
  CalcNode(5, -1);
  EXPECT_EQ(SpectrumAt(5, 5)[0], 40.0);
  EXPECT_EQ(SpectrumAt(5, 5)[1], 40.0);
}

TEST_F(NodeFrameTest, VariantOfTheOwningObjectSelectsTheBlock) {
  ScopedBlock b991(991, RecordCategory), b992(992, RecordCategory), b24(24, RecordCategory),
      b21(21, RecordCategory), b998(998, RecordCategory);
  test::SetObject(2, 1, 2);
  SetNode(5, 991001, {{kNodeObject, 2}});
  CalcNode(5, -1);
  EXPECT_EQ(g_seenCategory, 992);
  test::SetObject(2, 1, 5);
  CalcNode(5, -1);
  EXPECT_EQ(g_seenCategory, 991);
  test::SetObject(2, 1, 0);
  CalcNode(5, -1);
  EXPECT_EQ(g_seenCategory, 991);

  test::SetObject(3, 23, 1);
  SetNode(6, 23105, {{kNodeObject, 3}});
  CalcNode(6, -1);
  EXPECT_EQ(g_seenCategory, 24);
  test::SetObject(3, 23, 4);
  CalcNode(6, -1);
  EXPECT_EQ(g_seenCategory, 21);

  EXPECT_EQ(RemapVariant(995, 4), 998);
  EXPECT_EQ(RemapVariant(12, 3), 12);  // not an interchangeable family
}

TEST_F(NodeFrameTest, CategoryWithoutBlockAndOutOfRangeCallsWriteNothing) {
  SetFreqs({1000.0});
  SetNode(5, 93001);  // a source kind: no block
  SpectrumAt(5, 0)[0] = 60.0;
  CalcNode(5, -1);
  EXPECT_EQ(SpectrumAt(5, 1)[0], kNoSignal);

  ScopedBlock block(300, PortBlock);
  SetNode(5, 300001);
  CalcNode(5, 100);
  CalcNode(-1, -1);
  CalcNode(static_cast<int>(Nodes.size()), -1);
  EXPECT_EQ(SpectrumAt(5, 1)[0], kNoSignal);
}

TEST(SettingFormulaTest, StepMovesAlongA0ThenA1) {
  const double a0 = 4.4, a1 = 9.4;
  EXPECT_EQ(StepTerm(0, a0, a1), 0.0);
  EXPECT_NEAR(StepTerm(-10, a0, a1), -4.4, kTol);
  EXPECT_NEAR(StepTerm(-11, a0, a1), -4.4 - 0.94, kTol);
  EXPECT_NEAR(StepTerm(-15, a0, a1), -4.4 - 4.7, kTol);
  EXPECT_NEAR(StepTerm(2, a0, a1), 0.88, kTol);
  EXPECT_EQ(StepTerm(kNoLimit, a0, a1), 0.0);
}

TEST(SettingFormulaTest, SlopeIsNeutralAtOneAndBendsAtEleven) {
  const double sla = 3.0, slb = 5.0;
  EXPECT_EQ(SlopeTerm(1, sla, slb), 0.0);
  EXPECT_NEAR(SlopeTerm(11, sla, slb), -3.0, kTol);
  EXPECT_NEAR(SlopeTerm(12, sla, slb), -3.0 - 0.5, kTol);
  EXPECT_NEAR(SlopeTerm(21, sla, slb), -8.0, kTol);
  EXPECT_EQ(SlopeTerm(kNoLimit, sla, slb), 0.0);
}

TEST_F(NodeFrameTest, DualBandRowFollowsPathOrTerrestrialSource) {
  SetNode(5, 300001, {{kNodeSourceId, 11}});
  NodeFrame fr;
  fr.row = &Nodes[5];
  fr.path = 1;
  EXPECT_EQ(DualBandGrid(fr).pts[0], 950);
  Nodes[5][kNodeSourceId] = 107;
  EXPECT_EQ(DualBandGrid(fr).pts[0], 5);
  Nodes[5][kNodeSourceId] = 11;
  fr.path = 5;
  EXPECT_EQ(DualBandGrid(fr).pts[0], 5);
}

TEST_F(NodeFrameTest, RememberedSegmentsFollowEditsOfTheList) {
  const Grid g = FreqGridRow(0);
  SetFreqs({1050.0});
  EXPECT_EQ(Segment(g, 0), 2);
  FreqList[0] = 2350.0;  // edited without telling the cache
  EXPECT_EQ(Segment(g, 0), 15);
  FreqList[0] = 900.0;
  EXPECT_EQ(Segment(g, 0), -1);
  const int32_t own[3] = {10, 20, 30};
  const Grid borrowed{own, 2, 0};  // a hand-made grid that reuses row 0's id
  FreqList[0] = 25.0;
  EXPECT_EQ(Segment(borrowed, 0), 2);
  EXPECT_EQ(Segment(g, 0), -1);
  // Row 0's points cut short under row 0's id, and a hand-made grid edited in place.
  FreqList[0] = 2350.0;
  EXPECT_EQ(Segment(g, 0), 15);
  EXPECT_EQ(Segment(Grid{g.pts, 3, 0}, 0), -1);
  int32_t edited[3] = {10, 20, 30};
  const Grid editable{edited, 2, 0};
  FreqList[0] = 15.0;
  EXPECT_EQ(Segment(editable, 0), 1);
  edited[1] = 12;
  EXPECT_EQ(Segment(editable, 0), 2);
}

TEST(DeviceTableGenTest, EdgesAndPinsAreExact) {
  using namespace gen;
  constexpr Response r{-0.9, -1.8, 0.3, 7, false};
  static_assert(At(r, Row(0), 0) == -0.9);
  static_assert(At(r, Row(0), 15) == -1.8);
  constexpr auto t = Pinned<16, 5>(Table<4, 16, 5>([](int path, int point, int out) {
                                     return out == 0 ? At(Response{-0.8, -1.6}, Row(0), point)
                                                     : At(Response{-7.5 - path * 0.1, -9.5, 0.4, out}, Row(0), point);
                                   }),
                                   std::array<Pin, 2>{{{0, 0, 0, -0.86}, {0, 0, 1, -7.93}}});
  static_assert(t[Index(16, 5, 0, 0, 0)] == -0.86);
  static_assert(t[Index(16, 5, 0, 0, 1)] == -7.93);
  // Every generated value stays within edge values plus the ripple and is rounded to 0.01 dB.
  for (int p = 0; p < 16; ++p) {
    const double v = t[Index(16, 5, 3, p, 2)];
    EXPECT_GE(v, -9.5 - 0.4 - 1e-9);
    EXPECT_LE(v, -7.8 + 0.4 + 1e-9);
    EXPECT_NEAR(v * 100.0, static_cast<double>(static_cast<long long>(v * 100.0 - 0.5)), 1e-6);
  }
  EXPECT_NEAR(Sqrt(2.15), 1.466287, 1e-6);
}

}  // namespace
}  // namespace kavrix
