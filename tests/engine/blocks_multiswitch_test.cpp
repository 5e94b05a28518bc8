#include <gtest/gtest.h>

#include "block_test_support.hpp"
#include "engine/tables_multiswitch.hpp"

namespace kavrix::test {
namespace {

using engine::MultiswitchData;
using engine::MultiswitchFamilyData;

TEST(MultiswitchTables, CarryTheFixedFiguresAndPlausibleShapes) {
  const auto& d = MultiswitchData();
  // Kelv1 path 1 at 950 MHz: through, then the four subscriber outputs.
  const double kelv1[5] = {-0.86, -7.93, -7.80, -7.68, -7.81};
  for (int o = 0; o < 5; ++o) EXPECT_DOUBLE_EQ(d.small4[0].at(0, 0, o), kelv1[o]);
  EXPECT_DOUBLE_EQ(d.tap[1].at(0, 0, 0), -0.59);
  EXPECT_DOUBLE_EQ(d.tap[1].at(0, 0, 1), -11.84);
  EXPECT_DOUBLE_EQ(d.tap[2].at(0, 0, 0), -0.35);
  EXPECT_DOUBLE_EQ(d.tap[2].at(0, 0, 1), -17.84);
  EXPECT_DOUBLE_EQ(d.tap[3].at(0, 0, 0), -0.31);
  EXPECT_DOUBLE_EQ(d.tap[3].at(0, 0, 1), -21.88);
  const double dovr4[4] = {7.3, 7.6, 7.9, 7.9};
  for (int o = 0; o < 4; ++o) EXPECT_DOUBLE_EQ(d.casc37.at(0, 0, 0, o), dovr4[o]);
  EXPECT_DOUBLE_EQ(d.pairs37.at(0, 0, 0), 4.4);
  EXPECT_DOUBLE_EQ(d.pairs37.at(0, 0, 1), 9.4);

  // Through loss of the small switches lies within 0.5..4 dB and grows with frequency.
  for (int v = 0; v < 4; ++v)
    for (int p = 0; p < 4; ++p)
      for (int j = 0; j < 16; ++j) {
        const double th = d.small4[v].at(p, j, 0);
        EXPECT_LE(th, -0.5);
        EXPECT_GE(th, -4.0);
        if (j > 0) { EXPECT_LE(th, d.small4[v].at(p, j - 1, 0)); }
      }
  // Outputs that do not carry the path.
  for (int p = 0; p < 4; ++p) EXPECT_EQ(d.small8[0].at(p, 3, 0, 0), engine::kNoPath);
  for (int p = 0; p < 5; ++p) EXPECT_EQ(d.kelv10.at(p, 7, 0), engine::kNoPath);
}

TEST(MultiswitchTables, HigherVariantGivesMoreLevel) {
  const auto& d = MultiswitchData();
  for (int v = 0; v < 3; ++v)
    for (int p = 0; p < 4; ++p)
      for (int j = 0; j < 16; ++j) {
        for (int o = 1; o <= 4; ++o) {
          EXPECT_GT(d.small4[v + 1].at(p, j, o), d.small4[v].at(p, j, o));
          for (int g = 0; g < 2; ++g) EXPECT_GT(d.small8[v + 1].at(p, j, g, o), d.small8[v].at(p, j, g, o));
        }
        EXPECT_GE(d.small4[v + 1].at(p, j, 0), d.small4[v].at(p, j, 0));
        EXPECT_GE(d.small8[v + 1].at(p, j, 1, 0), d.small8[v].at(p, j, 1, 0));
      }
  // Variant v of a tap is category 25 - v: the branch output gains with v on every path.
  for (int v = 1; v < 4; ++v)
    for (int p = 0; p < 5; ++p)
      for (int j = 0; j < 16; ++j) EXPECT_GT(d.tap[4 - v - 1].at(p, j, 1), d.tap[4 - v].at(p, j, 1));
}

TEST(MultiswitchBlocks, VariantRemapThroughCalcNode) {
  BlockNet net;
  BlockNet::freqs({950, 1700, 2400});
  double prev = -1e9;
  for (int v = 1; v <= 4; ++v) {
    const int o = net.object(3, v);
    const int n = net.node(991001, o);
    BlockNet::input(n, 80.0);
    CalcNode(n, -1);
    EXPECT_NEAR(BlockNet::out(n, 2, 0), 80.0 + MultiswitchData().small4[v - 1].at(0, 0, 1), kTol);
    EXPECT_GT(BlockNet::out(n, 2, 2), prev);
    prev = BlockNet::out(n, 2, 2);
  }
  // Inst 0 or 5 keeps the category; a tap with Inst 1 is computed as category 24.
  const int keep = net.node(991001, net.object(1, 5));
  BlockNet::input(keep, 80.0);
  CalcNode(keep, -1);
  EXPECT_NEAR(BlockNet::out(keep, 1, 0), 80.0 - 0.86, kTol);
  const int tap = net.node(23101, net.object(23, 1));
  BlockNet::input(tap, 70.0);
  CalcNode(tap, -1);
  EXPECT_NEAR(BlockNet::out(tap, 1, 0), 70.0 - 21.88, kTol);
}

TEST(MultiswitchBlocks, PortsAndSingleFrequencyMode) {
  BlockNet net;
  BlockNet::freqs({950, 1000});
  const int small = net.node(991001, net.object(1));
  const int casc = net.node(37001, net.object(37));
  const int ms17 = net.node(77001, net.object(77));
  for (int n : {small, casc, ms17}) BlockNet::input(n, 80.0);
  for (int n : {small, casc, ms17}) CalcNode(n, 1);
  EXPECT_NEAR(BlockNet::out(small, 1, 1), 80.0 + MultiswitchData().small4[0].at(0, 1, 0), kTol);
  EXPECT_EQ(BlockNet::out(small, 2, 1), kNoSignal);
  for (int s = 1; s <= 5; ++s) EXPECT_EQ(BlockNet::out(casc, s, 1), kNoSignal);
  EXPECT_NE(BlockNet::out(ms17, 2, 1), kNoSignal);
  EXPECT_EQ(BlockNet::out(ms17, 3, 1), kNoSignal);
  // All frequencies: outputs 1..4 of the cascade, and nothing accumulates over repeated calls.
  CalcNode(casc, -1);
  const double first = BlockNet::out(casc, 5, 0);
  CalcNode(casc, -1);
  EXPECT_EQ(BlockNet::out(casc, 5, 0), first);
  EXPECT_NEAR(first, 80.0 + 7.9, kTol);
  EXPECT_EQ(BlockNet::out(casc, 1, 0), kNoSignal);
}

TEST(MultiswitchBlocks, OutputAttenuatorWhereTheTableSaysSo) {
  BlockNet net;
  BlockNet::freqs({950});
  const auto& d = MultiswitchData();
  const int dovr = net.node(37001, net.object(37));
  BlockNet::settings(dovr, kNoLimit, -15);
  BlockNet::input(dovr, 80.0);
  CalcNode(dovr, -1);
  EXPECT_NEAR(BlockNet::out(dovr, 2, 0), 80.0 + 7.3 - 4.4 - 9.4 / 2, kTol);

  // Fesk1..Fesk4: only the terrestrial line is attenuated.
  const int o = net.object(32);
  const int sat = net.node(38001, o);
  const int terr = net.node(38005, o);
  for (int n : {sat, terr}) {
    BlockNet::settings(n, kNoLimit, -10);
    BlockNet::input(n, 80.0);
  }
  BlockNet::freqs({950, 5});
  CalcNode(sat, -1);
  CalcNode(terr, -1);
  EXPECT_NEAR(BlockNet::out(sat, 2, 0), 80.0 + d.casc38.at(0, 0, 0, 0), kTol);
  EXPECT_NEAR(BlockNet::out(terr, 2, 1), 80.0 + d.casc38.at(4, 0, 0, 0) - d.pairs38.at(0, 0), kTol);

  // Kelv17 through group: field 17 is ignored, field 16 acts on the terrestrial line only.
  const int k17 = net.object(77);
  const int thruSat = net.node(77401, k17);
  const int thruTerr = net.node(77405, k17);
  const int outTerr = net.node(77205, k17);
  for (int n : {thruSat, thruTerr, outTerr}) {
    BlockNet::settings(n, -10, -10);
    BlockNet::input(n, 80.0);
    CalcNode(n, -1);
  }
  EXPECT_NEAR(BlockNet::out(thruSat, 1, 0), 80.0 + d.ms77.at(0, 0, 8), kTol);
  EXPECT_NEAR(BlockNet::out(thruTerr, 1, 1), 80.0 + d.ms77.at(4, 0, 8) - d.steps77.at(0, 4, 0, 0), kTol);
  // Groups 0..3 on the terrestrial line take their pairs from the group-4 row.
  EXPECT_NEAR(BlockNet::out(outTerr, 3, 1), 80.0 + d.ms77.at(4, 0, 5) - d.steps77.at(0, 4, 1, 0), kTol);
}

TEST(MultiswitchBlocks, TapFoldsPathsAndInserterServesItsTwoPaths) {
  BlockNet net;
  const auto& d = MultiswitchData();
  const int o = net.object(17);
  const int satSrc = net.node(22107, o, 12);
  const int terrSrc = net.node(22107, o, 105);
  BlockNet::freqs({1000, 30});
  for (int n : {satSrc, terrSrc}) {
    BlockNet::input(n, 70.0);
    CalcNode(n, -1);
  }
  EXPECT_NEAR(BlockNet::out(satSrc, 1, 0), 70.0 + d.tap[1].at(1, 1, 1), kTol);
  EXPECT_EQ(BlockNet::out(satSrc, 1, 1), kNoSignal);  // 30 MHz is below row 0
  EXPECT_NEAR(BlockNet::out(terrSrc, 1, 1), 70.0 + d.tap[1].at(1, 1, 1), kTol);  // path-2 table on row 1

  const int ins = net.object(29);
  const int p3 = net.node(29003, ins);
  const int p99 = net.node(29099, ins);
  BlockNet::freqs({950});
  for (int n : {p3, p99}) {
    BlockNet::input(n, 70.0);
    CalcNode(n, -1);
  }
  EXPECT_EQ(BlockNet::out(p3, 1, 0), kNoSignal);
  EXPECT_NEAR(BlockNet::out(p99, 1, 0), 70.0 + d.inserter29.at(0, 1), kTol);
}

TEST(MultiswitchFamilies, FixedFigures) {
  const auto& d = MultiswitchFamilyData();
  EXPECT_DOUBLE_EQ(d.jarn1.at(0, 0, 0), -4.06);
  EXPECT_DOUBLE_EQ(d.jarn1.at(0, 15, 0), 1.81);
  EXPECT_DOUBLE_EQ(d.jarn1.at(4, 0, 0), -14.38);
  EXPECT_NEAR(d.jarn1.at(4, 9, 0), -8.6, 0.15);  // 400 MHz
  EXPECT_DOUBLE_EQ(d.gavn[0].at(0, 0, 0, 0), 7.82);
  EXPECT_DOUBLE_EQ(d.gavn[0].at(0, 19, 0, 0), 15.44);  // 2300 MHz
  const double hulm[4][2] = {{0, -50.74}, {2, 1.92}, {15, 7.48}, {21, -24.2}};
  for (const auto& h : hulm) EXPECT_DOUBLE_EQ(d.hulmTerr[0].at(static_cast<int>(h[0]), 0, 0), h[1]);
  const double coarse[3] = {4.33, 8.45, 12.02}, fine[3] = {1.1, 2.72, 4.06};
  for (int a = 0; a < 3; ++a) {
    EXPECT_DOUBLE_EQ(d.coarse[0].at(0, 0, a), coarse[a]);
    EXPECT_DOUBLE_EQ(d.fine[0].at(1, a), fine[a]);
  }
  // Every setting attenuates more than the one before: 0..15 on the terrestrial line (coarse
  // and fine), 0..3 on a satellite line (coarse only).
  for (int p = 0; p < 5; ++p)
    for (int j = 0; j < 22; ++j) {
      double prev = -1.0;
      for (int s = 0; s <= 15; ++s) {
        const int a = s / 4, b = s % 4;
        const double v = (a > 0 ? d.coarse[p].at(j, 4, a - 1) : 0.0) + (b > 0 ? d.fine[p].at(j, b - 1) : 0.0);
        EXPECT_GT(v, prev) << "pair " << p << " point " << j << " setting " << s;
        prev = v;
      }
      for (int a = 1; a < 3; ++a) EXPECT_GT(d.coarse[p].at(j, 0, a), d.coarse[p].at(j, 0, a - 1));
    }
}

TEST(MultiswitchFamilies, CoarseAndFineAttenuation) {
  BlockNet net;
  const auto& d = MultiswitchFamilyData();
  const int o = net.object(170);
  const int hulm = net.node(170005, o);
  const int gavn = net.node(171001, o);
  BlockNet::freqs({25});
  BlockNet::input(hulm, 80.0);
  const double base = 80.0 + d.hulmTerr[0].at(1, 0, 0);
  auto atten = [&](int setting) {
    BlockNet::settings(hulm, kNoLimit, -setting);
    CalcNode(hulm, -1);
    return base - BlockNet::out(hulm, 2, 0);
  };
  EXPECT_NEAR(atten(0), 0.0, kTol);
  EXPECT_NEAR(atten(3), d.fine[0].at(1, 2), kTol);
  EXPECT_NEAR(atten(4), d.coarse[0].at(1, 4, 0), kTol);
  EXPECT_NEAR(atten(5), d.coarse[0].at(1, 4, 0) + d.fine[0].at(1, 0), kTol);
  EXPECT_NEAR(atten(-1), 0.0, kTol);
  EXPECT_NEAR(atten(40), atten(15), kTol);  // beyond the tables: the largest setting

  BlockNet::freqs({950, 2400.9, 2401});
  BlockNet::input(gavn, 80.0);
  BlockNet::settings(gavn, kNoLimit, -2);
  CalcNode(gavn, -1);
  EXPECT_NEAR(BlockNet::out(gavn, 2, 0), 80.0 + 7.82 - 8.45, kTol);
  EXPECT_NE(BlockNet::out(gavn, 2, 1), kNoSignal);
  EXPECT_EQ(BlockNet::out(gavn, 2, 2), kNoSignal);
  BlockNet::settings(gavn, kNoLimit, -9);
  CalcNode(gavn, -1);
  EXPECT_NEAR(BlockNet::out(gavn, 2, 0), 80.0 + 7.82 - d.coarse[0].at(0, 0, 2), kTol);
  // Single-frequency mode writes nothing.
  BlockNet::input(gavn, 0.0);
  CalcNode(gavn, 0);
  EXPECT_NEAR(BlockNet::out(gavn, 2, 0), 80.0 + 7.82 - d.coarse[0].at(0, 0, 2), kTol);
}

// A small satellite distribution by hand: a tap feeding a passive multiswitch, then a nine-input
// switch of the 161 series behind it.
TEST(MultiswitchChain, LevelsAddUpAlongTheChain) {
  BlockNet net;
  BlockNet::freqs({950, 1500, 2150});
  const int tap = net.node(22101, net.object(22));
  const int ms = net.node(991001, net.object(1));
  const int jarn = net.node(161001, net.object(161));
  BlockNet::input(tap, 85.0);
  CalcNode(tap, -1);
  BlockNet::feed(tap, ms);
  BlockNet::feed(ms, jarn, 2);
  EXPECT_NEAR(BlockNet::out(jarn, 2, 0), 85.0 - 11.84 - 7.93 + MultiswitchFamilyData().jarn[0].at(0, 0, 0, 0),
              kTol);
  for (int k = 0; k < 3; ++k) EXPECT_LT(BlockNet::out(jarn, 5, k), 85.0);
}

}  // namespace
}  // namespace kavrix::test
