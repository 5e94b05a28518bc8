// Cable and optical blocks: hand-computed levels on tiny chains and the rule edges that guard
// real faults (thresholds, knees, unlit fibres, source ids that name no LNB band).
#include <gtest/gtest.h>

#include <cmath>

#include "catalogue/frequency_grids.hpp"
#include "engine/device_table_gen.hpp"
#include "engine/engine_fixture.hpp"
#include "engine/optical_cable.hpp"
#include "engine/node_frame.hpp"
#include "engine/propagation.hpp"

namespace kavrix {
namespace {

using test::SetFreqs;
using test::SetNode;
using test::SetObject;

constexpr double kTol = 1e-9;
constexpr int kEnd = 1000000;

// The band-grid loss factors are sqrt(f / 1000) at the cable grid points, to three decimals.
constexpr bool RootFactorsMatchTheGrid() {
  for (int j = 0; j < 7; ++j) {
    const double d = engine::optics::kCableGridRootF[j] - engine::gen::Sqrt(CableGrid7[j] / 1000.0);
    if (d > 0.0005 || d < -0.0005) return false;
  }
  return true;
}
static_assert(RootFactorsMatchTheGrid());

class OpticalCableTest : public ::testing::Test {
 protected:
  test::FreshModel m_model;
};

TEST_F(OpticalCableTest, TwoCoaxLinesLoseTheirHandComputedLoss) {
  // Satellite source slot 1 band 1 feeding two single lines of different cable kinds.
  SourceCount = 0;
  SatCell(1, 0, 1) = 1000;
  SatCell(1, 0, 2) = 1500;
  SatCell(1, 0, 3) = 2150;
  SetNode(0, 911, {{kNodeSourceId, 11}, {kNodeNext, 1}});
  for (int k = 0; k < 3; ++k) SpectrumAt(0, 1)[k] = 80.0;
  SetObject(1, 203, 20, 2);
  SetObject(2, 203, 30, 4);
  SetNode(1, 20300, {{kLineLength, 20}, {kLineCable, 2}, {kNodeObject, 1}, {kNodeNext, 2}});
  SetNode(2, 20300, {{kLineLength, 30}, {kLineCable, 4}, {kNodeObject, 2}, {kNodeNext, kEnd}});
  RunSourcePasses(false);

  const double f[3] = {1000.0, 1500.0, 2150.0};
  for (int k = 0; k < 3; ++k) {
    const double root = std::sqrt(f[k] / 1000.0);
    const double first = 80.0 - root * 0.21 * 20;  // CableCoef[2] = 0.21 dB/m at 1 GHz
    const double second = first - root * 0.14 * 30;  // CableCoef[4] = 0.14
    EXPECT_NEAR(SpectrumAt(2, 0)[k], first, kTol) << k;
    EXPECT_NEAR(SpectrumAt(2, 1)[k], second, kTol) << k;
  }
  EXPECT_EQ(SpectrumAt(2, 1)[3], kNoSignal);
  EXPECT_EQ(SpectrumAt(2, 1)[100], kNoSignal);  // the optical entry is not a coax matter
}

TEST_F(OpticalCableTest, CoaxOnTheBandGridAndInSingleFrequencyMode) {
  SetFreqs({1000.0, 2150.0});
  SetNode(1, 20100, {{kLineLength, 10}, {kLineCable, 1}, {kNodeChainMark, 50}});
  for (int k = 0; k < 28; ++k) SpectrumAt(1, 0)[k] = 70.0;
  CalcNode(1, 0);  // the band grid ignores the list and the position
  EXPECT_NEAR(SpectrumAt(1, 1)[6], 70.0 - 1.466 * 0.27 * 10, kTol);
  EXPECT_NEAR(SpectrumAt(1, 1)[27], 70.0 - 1.466 * 0.27 * 10, kTol);
  EXPECT_NEAR(SpectrumAt(1, 1)[7], 70.0 - 0.975 * 0.27 * 10, kTol);
  EXPECT_EQ(SpectrumAt(1, 1)[28], kNoSignal);

  SetNode(2, 20100, {{kLineLength, 10}, {kLineCable, 1}});
  SpectrumAt(2, 0)[0] = SpectrumAt(2, 0)[1] = 70.0;
  CalcNode(2, 0);  // a single position still recomputes the whole list
  EXPECT_NEAR(SpectrumAt(2, 1)[1], 70.0 - std::sqrt(2.15) * 0.27 * 10, kTol);

  SetNode(3, 20300, {{kLineLength, 0}, {kLineCable, 1}});
  SpectrumAt(3, 0)[1] = 66.6;
  CalcNode(3, -1);
  EXPECT_EQ(SpectrumAt(3, 1)[1], 66.6);
}

TEST_F(OpticalCableTest, FibreLowersOnlyALitOpticalLevel) {
  SetFreqs({1000.0});
  SetNode(1, 20500, {{kLineLength, 10000}, {kLineCable, 1}, {kNodeWavelength, -1310}});
  SpectrumAt(1, 0)[0] = 61.0;
  SpectrumAt(1, 0)[99] = 12.0;
  SpectrumAt(1, 0)[100] = 6.0;
  CalcNode(1, 0);
  EXPECT_NEAR(SpectrumAt(1, 1)[100], 6.0 - 3.7, kTol);  // 0.35 dB/km x 10 km + 0.2
  EXPECT_EQ(SpectrumAt(1, 1)[0], 61.0);
  EXPECT_EQ(SpectrumAt(1, 1)[99], 12.0);

  SetNode(2, 20502, {{kLineLength, 10000}, {kLineCable, 1}});  // no transmitter has lit it
  SpectrumAt(2, 0)[100] = 6.0;
  CalcNode(2, -1);
  EXPECT_EQ(SpectrumAt(2, 1)[100], kNoSignal);
}

TEST_F(OpticalCableTest, TransmitterThresholdAndShortfall) {
  SetObject(1, 141);
  SetNode(1, 141001, {{kNodeSourceId, 11}, {kNodeObject, 1}});
  SetFreqs({1000.0, 1100.0, 1200.0});
  double* in = SpectrumAt(1, 0);
  in[0] = 50.0;
  in[1] = 49.9;
  in[2] = 72.0;
  CalcNode(1, -1);
  EXPECT_EQ(SpectrumAt(1, 1)[0], kNoSignal);  // exactly at the threshold: neither sent nor muted
  EXPECT_EQ(SpectrumAt(1, 1)[1], -1000.0);
  EXPECT_EQ(SpectrumAt(1, 1)[2], 72.0);
  const double total = 10.0 * std::log10(1e5 + std::pow(10.0, 4.99) + std::pow(10.0, 7.2));
  EXPECT_NEAR(SpectrumAt(1, 3)[100], total, 1e-9);  // the muted carrier still drives the laser
  EXPECT_NEAR(SpectrumAt(1, 2)[100], total - 75.0, 1e-9);
  EXPECT_EQ(SpectrumAt(1, 1)[100], 6.0);
  EXPECT_EQ(Nodes[1][kNodeWavelength], -1310);

  // One carrier at 72 dB: shortfall -3; single position: that carrier alone.
  CalcNode(1, 2);
  EXPECT_NEAR(SpectrumAt(1, 2)[100], -3.0, 1e-9);
  in[2] = 75.0;
  CalcNode(1, 2);
  EXPECT_EQ(SpectrumAt(1, 2)[100], 0.0);
}

TEST_F(OpticalCableTest, TerrestrialTransmitterAccumulatesTheRunsDrive) {
  SetObject(1, 141);
  SetNode(1, 141005, {{kNodeSourceId, 105}, {kNodeObject, 1}});
  SetFreqs({200.0});
  SpectrumAt(1, 0)[0] = 66.0;
  CalcNode(1, -1);
  EXPECT_NEAR(ObjValues[1][0], std::pow(10.0, 6.6), 1e-3);
  EXPECT_NEAR(SpectrumAt(1, 2)[100], 66.0 - 69.0, 1e-9);
  EXPECT_EQ(Nodes[1][kNodeWavelength], -1550);
  // A second source of the same run adds its carriers: together they drive the laser fully.
  CalcNode(1, -1);
  EXPECT_EQ(SpectrumAt(1, 2)[100], 0.0);
}

// Receiver node 1 (kind 142) on path 1 with a satellite band of ten carriers.
class ReceiverTest : public OpticalCableTest {
 protected:
  void SetUp() override {
    SetObject(1, 142);
    SetNode(1, 142001, {{kNodeSourceId, 11}, {kNodeObject, 1}});
    LnbParams[1][0][0] = 10;
    SetFreqs({1000.0, 1500.0});
    SpectrumAt(1, 0)[0] = 60.0;
    SpectrumAt(1, 0)[1] = 64.0;
    SpectrumAt(1, 2)[100] = 0.0;
  }
  double OutAt(double optical) {
    SpectrumAt(1, 1)[0] = kNoSignal;
    SpectrumAt(1, 0)[100] = optical;
    CalcNode(1, -1);
    return SpectrumAt(1, 1)[0];
  }
};

TEST_F(ReceiverTest, CarrierAtTheMeanLeavesAtReferencePlusBandTerm) {
  SpectrumAt(1, 0)[1] = 60.0;
  EXPECT_NEAR(OutAt(-10.0), 80.0 + 14.0 - 10.0, kTol);
}

TEST_F(ReceiverTest, OpticalKneesAndWindow) {
  const double base = 60.0 - 62.0 + 80.0 + 4.0;
  EXPECT_NEAR(OutAt(-15.0), base, kTol);
  EXPECT_NEAR(OutAt(-5.0), base, kTol);
  EXPECT_NEAR(OutAt(-17.0), base - 4.0, kTol);
  EXPECT_NEAR(OutAt(-3.0), base - 4.0, kTol);
  EXPECT_EQ(OutAt(-20.0), kNoSignal);
  EXPECT_EQ(OutAt(0.0), kNoSignal);
  SpectrumAt(1, 2)[100] = -2.5;  // shortfall carried from the transmitter
  EXPECT_NEAR(OutAt(-10.0), base - 2.5, kTol);
}

TEST_F(ReceiverTest, TerrestrialSourceOnASatellitePathNamesNoBand) {
  Nodes[1][kNodeSourceId] = 107;  // row 1 grid; id 107 must not read LnbParams[10][6]
  SetFreqs({200.0, 400.0});
  EXPECT_NEAR(OutAt(-10.0), 60.0 - 62.0 + 80.0, kTol);
}

TEST_F(ReceiverTest, TerrestrialPathUsesTheFeedingTransmitter) {
  SetNode(5, 141005, {{kNodeCarriers, 4}, {kNodeStep, -2}});
  SetNode(1, 142005, {{kNodeSourceId, 105}, {kNodeObject, 1}, {kNodeTransmitter, 5}});
  SetFreqs({200.0, 900.0});  // 900 MHz lies above this receiver's 863 MHz edge
  SpectrumAt(1, 0)[1] = 60.0;
  EXPECT_NEAR(OutAt(-10.0), 60.0 - 60.0 + 80.0 - 10.0 * std::log10(4.0) + 6.0, kTol);
  EXPECT_EQ(SpectrumAt(1, 1)[1], kNoSignal);
}

TEST_F(OpticalCableTest, FourOutputReceiverWritesAllOutputsEvenAtOnePosition) {
  SetObject(1, 146);
  SetNode(1, 143002, {{kNodeSourceId, 12}, {kNodeObject, 1}});
  SetFreqs({1000.0});
  SpectrumAt(1, 0)[0] = 70.0;
  SpectrumAt(1, 0)[100] = -10.0;
  SpectrumAt(1, 2)[100] = 0.0;
  CalcNode(1, 0);
  for (int s = 2; s <= 5; ++s) EXPECT_NEAR(SpectrumAt(1, s)[0], 75.0, kTol) << s;
  EXPECT_EQ(SpectrumAt(1, 1)[0], kNoSignal);
}

TEST_F(OpticalCableTest, SplittersAndAttenuators) {
  SetFreqs({1000.0});
  const struct {
    int code;
    double loss;
  } cases[] = {{154101, 4.0}, {157701, 10.2}, {158005, 5.4}, {158001, 5.0}, {159001, 10.0}};
  for (const auto& c : cases) {
    SetNode(1, c.code);
    SpectrumAt(1, 0)[0] = 55.0;
    SpectrumAt(1, 0)[100] = -2.0;
    CalcNode(1, -1);
    EXPECT_EQ(SpectrumAt(1, 1)[0], 55.0);
    EXPECT_NEAR(SpectrumAt(1, 1)[100], -2.0 - c.loss, kTol) << c.code;
  }
}

TEST_F(OpticalCableTest, TransmitterFibreReceiverChain) {
  SourceCount = 0;
  SatCell(1, 0, 1) = 1000;
  SatCell(1, 0, 2) = 1200;
  LnbParams[1][0][0] = 10;
  SetNode(0, 911, {{kNodeSourceId, 11}, {kNodeNext, 1}});
  SpectrumAt(0, 1)[0] = 60.0;
  SpectrumAt(0, 1)[1] = 64.0;
  SetObject(1, 141);
  SetObject(2, 205, 40000, 1);
  SetObject(3, 142);
  SetNode(1, 141001, {{kNodeSourceId, 11}, {kNodeObject, 1}, {kNodeNext, 2}});
  SetNode(2, 20500, {{kLineLength, 40000}, {kLineCable, 1}, {kNodeObject, 2}, {kNodeNext, 3}});
  SetNode(3, 142001, {{kNodeSourceId, 11}, {kNodeObject, 3}, {kNodeNext, kEnd}});
  RunSourcePasses(false);

  const double total = 10.0 * std::log10(1e6 + std::pow(10.0, 6.4));
  const double shortfall = total - 75.0;
  EXPECT_EQ(Nodes[3][kNodeWavelength], -1310);
  EXPECT_NEAR(SpectrumAt(3, 0)[100], 6.0 - 0.35 * 40 - 0.2, kTol);  // -8.2 dBm: inside both knees
  EXPECT_NEAR(SpectrumAt(3, 2)[100], shortfall, 1e-9);
  EXPECT_NEAR(SpectrumAt(3, 1)[0], 60.0 - 62.0 + 80.0 + shortfall + 4.0, 1e-9);
  EXPECT_NEAR(SpectrumAt(3, 1)[1], 64.0 - 62.0 + 80.0 + shortfall + 4.0, 1e-9);
}

}  // namespace
}  // namespace kavrix
