#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/port_templates.hpp"
#include "catalogue/type_catalogue.hpp"
#include "model/network_model.hpp"
#include "model/run_records.hpp"
#include "model/source_tables.hpp"
#include "simulation/command_clicks.hpp"
#include "simulation/structure_optimisation.hpp"
#include "support/model_guard.hpp"

namespace kavrix {
namespace {

class Optimisation : public ::testing::Test {
 protected:
  test::TempCurrentDir dir;
  test::FreshModel fresh;
  std::vector<int> images;
  CommandChain chain{RunInput{"50", "60"}, RunCallbacks{}};
  bool savedMode = OptimizeMode;
  void SetUp() override {
    CableCoef = {0.0, 0.27, 0.21, 0.18, 0.14, 0.1};
    SatMaxLevel = 80;
    TerrMaxLevel = 80;
    SatSocketLoss = 2;
    TerrSocketLoss = 3;
    chain.clicks().optimizeImage = [this](int i) { images.push_back(i); };
    OptimizeMode = false;
  }
  void TearDown() override { OptimizeMode = savedMode; }

  // LNB in slot 0, all four bands with `level` dBuV on four carriers; band outputs at
  // (x - 30 + 20 (b - 1), y + 40).
  void AddLnb(int x, int y, int level) {
    test::AddObject(91, x, y, 0, 1, 1);
    for (int b = 0; b < 4; ++b) {
      LnbParams[0][b][0] = 4;
      for (int r = 1; r <= 4; ++r) {
        SatCell(0, 2 * b, r) = 1000 + 300 * r;
        SatCell(0, 2 * b + 1, r) = level;
      }
    }
    SatUsed[0] = true;
  }

  // A small multiswitch of `kind` under the LNB at (x, y), its inputs on the band outputs, and a
  // socket on every subscriber port. Returns its row.
  int sockets = 0;
  int AddSwitchWithSockets(int kind, int lnbX, int lnbY) {
    const TypeRecord& t = TypeOf(kind);
    const int first = t[kFirstTemplateRow];
    const TemplateRow& r = PortTemplates[static_cast<std::size_t>(first)];
    const int x = lnbX - 30 - r[kTplInDx];
    const int y = lnbY + 40 - r[kTplInDy] + t[kTerminalShift];
    const int row = test::AddObject(kind, x, y, 0, 1, 0);
    const TemplateRow& e = PortTemplates[static_cast<std::size_t>(first + r[kTplExtraRow])];
    for (int q = 0; q < 4; ++q)
      if (e[2 * q + 1] < kNoPinOffset) {
        test::AddObject(210, x + e[2 * q] + 25, y - t[kTerminalShift] + e[2 * q + 1], 2, 1, 5);
        ++sockets;
      }
    return row;
  }
};

TEST_F(Optimisation, MissingCascadedComponentOnlyReportsIt) {
  AddLnb(200, 100, 80);
  const auto before = NetObjects;
  const OptimisationOutcome out = OptimizeStructure(chain.clicks());
  EXPECT_FALSE(out.ran);
  EXPECT_EQ(out.message, "Missing signal source or network does not contain interchangeable cascaded components");
  EXPECT_EQ(chain.runs(), 0);
  EXPECT_EQ(NetObjects, before);
  EXPECT_TRUE(TuneOutletLimits);
}

// Fault pinned: a cascade member in object row 0 was taken for "none" and kept its weakest variant.
class WeakSwitch : public Optimisation, public ::testing::WithParamInterface<bool> {};

TEST_P(WeakSwitch, IsExchangedForAStrongerVariantInAnyRowOrder) {
  if (!GetParam()) AddLnb(200, 100, 62);
  const int sw = AddSwitchWithSockets(3, 200, 100);
  if (GetParam()) AddLnb(200, 100, 62);
  ASSERT_EQ(sockets, 4);
  const OptimisationOutcome out = OptimizeStructure(chain.clicks());
  ASSERT_TRUE(out.ran);
  EXPECT_TRUE(out.message.empty());
  EXPECT_TRUE(TuneOutletLimits);
  EXPECT_EQ(NetObjects[sw][kInst], 0) << "the variant under trial never outlives the command";
  const int committed = NetObjects[sw][kKind];
  EXPECT_GE(committed, 1);
  EXPECT_LE(committed, 4);
  EXPECT_NE(committed, 3);
  for (int s = 0; s < sockets; ++s) EXPECT_EQ(Links[s][kLinkStatus] % 10, 9) << "socket " << s;
  // Without a CATV feed the criteria start from the satellite set every time.
  EXPECT_TRUE(OptimizeMode);
  EXPECT_EQ(out.imageIndex, 76);
  OptimizeStructure(chain.clicks());
  EXPECT_TRUE(OptimizeMode);
}
INSTANTIATE_TEST_SUITE_P(DrawingOrder, WeakSwitch, ::testing::Bool());

// Fault pinned: a tap in object row 0 took cascade id 0, "none", and the switch it feeds never chose its variant.
TEST_F(Optimisation, TapInRowZeroIsJudgedByTheSwitchItFeeds) {
  const int tap = test::AddObject(121, 190, 200);  // path-1 input on the LNB's band-1 output (170, 140)
  AddLnb(200, 100, 62);
  test::AddObject(131, 280, 280);  // path-1 input on the tap's path-1 branch output (260, 220)
  OptimizeStructure(chain.clicks());
  EXPECT_EQ(NetObjects[tap][kKind], 122) << "variant 3, as in any other row; 124 (variant 1) when never judged";
}

TEST_F(Optimisation, CriteriaSetsAlternateWithACatvFeed) {
  AddLnb(200, 100, 62);
  AddSwitchWithSockets(3, 200, 100);
  test::AddObject(92, 2000, 2000, 1, 1, 0);  // a feed without channels
  OptimizeStructure(chain.clicks());
  EXPECT_TRUE(OptimizeMode);
  OptimizeStructure(chain.clicks());
  EXPECT_FALSE(OptimizeMode);
  EXPECT_EQ((std::vector<int>{76, 78}), images);
}

TEST(OptimisationCommit, VariantsMapOntoTheirKinds) {
  EXPECT_EQ(optimisation::CommittedKind(3, 4), 4);
  EXPECT_EQ(optimisation::CommittedKind(6, 1), 5);
  EXPECT_EQ(optimisation::CommittedKind(22, 2), 23);
  EXPECT_EQ(optimisation::CommittedKind(117, 1), 119);
  EXPECT_EQ(optimisation::CommittedKind(124, 4), 121);
  EXPECT_EQ(optimisation::CommittedKind(203, 2), 0) << "a line's Inst is its length";
  EXPECT_EQ(optimisation::CommittedKind(3, 5), 0);
}

}  // namespace
}  // namespace kavrix
