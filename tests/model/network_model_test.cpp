#include <gtest/gtest.h>

#include <fstream>

#include "model/network_model.hpp"
#include "model/run_records.hpp"
#include "model/source_tables.hpp"
#include "support/model_guard.hpp"

namespace kavrix {
namespace {

void ExpectResetSpectra(int n) {
  for (int s = 0; s < kSpectraPerNode; ++s) {
    const double* sp = SpectrumRead(n, s);
    for (int k = 0; k <= 100; ++k) ASSERT_EQ(sp[k], -1000000.0) << "node " << n << " s " << s;
    EXPECT_EQ(sp[101], 1000000.0);
    EXPECT_EQ(sp[102], -1000000.0);
  }
}

TEST(NetworkModel, NewNetworkGivesEmptyDrawingAndResetArrays) {
  test::TempCurrentDir dir;
  test::FreshModel fresh;
  ASSERT_EQ(NetObjects.size(), 20u);
  for (const auto& r : NetObjects)
    for (int v : r) EXPECT_EQ(v, 0);
  EXPECT_EQ(CurObject, 0);
  EXPECT_EQ(EditSerial, 1);
  EXPECT_EQ(UndoPos, 0);
  EXPECT_EQ(ObjValues.size(), 20u);
  ASSERT_EQ(Nodes.size(), 300u);
  EXPECT_EQ(NodeSpectra.size(), 300u);
  EXPECT_EQ(Links.size(), 30u);
  EXPECT_EQ(ChainQueue.size(), 10u);
  for (std::size_t n = 0; n < Nodes.size(); ++n) {
    for (int f = 0; f < kNodeFields; ++f) {
      const int want = (f == 13 || f == 16 || f == 17) ? 1000000 : (f >= 19 && f <= 22) ? -1 : 0;
      ASSERT_EQ(Nodes[n][f], want) << "node " << n << " field " << f;
    }
  }
  ExpectResetSpectra(0);
  ExpectResetSpectra(299);
  EXPECT_EQ(StatusBarText, "   ");
  EXPECT_EQ(SaveDialogFileName, "Network1.stn");
  EXPECT_FALSE(ProjectModified);
  EXPECT_EQ(TerrSourceIndex, -1);
}

// A new network used to keep the comment texts, the maximum limits, the socket losses and parts
// of the terrestrial tables of the project before it, so the next save wrote them into another
// project's file.
TEST(NetworkModel, NewNetworkForgetsEveryValueOfThePreviousProject) {
  test::TempCurrentDir dir;
  test::FreshModel fresh;
  ItemTexts[0] = "old comment";
  ItemTexts[7] = "another";
  ItemTexts[100] = "last slot";
  ItemTextCount = 8;
  SatMaxLevel = 77.0;
  TerrMaxLevel = 88.0;
  SatSocketLoss = 1.5;
  TerrSocketLoss = 2.5;
  TerrMinLevel = 45.0;
  TerrTables[2][0][0] = 474;
  TerrTables[2][0][5] = 506;
  TerrTables[2][1][0] = 70;
  TerrParams[1] = {10, 70, 100, 200, 1};
  FreqList[100] = 123.0;
  NewNetworkModel();
  EXPECT_EQ(ItemTexts, StartupItemTexts());
  EXPECT_EQ(ItemTexts[0], "abcd");
  EXPECT_EQ(ItemTexts[1], "efgh");
  EXPECT_EQ(ItemTextCount, 0);
  EXPECT_EQ(SatMinLevel, 50.0);
  EXPECT_EQ(SatMaxLevel, 80.0);
  EXPECT_EQ(TerrMinLevel, 60.0);
  EXPECT_EQ(TerrMaxLevel, 90.0);
  EXPECT_EQ(SatSocketLoss, 2.0);
  EXPECT_EQ(TerrSocketLoss, 3.0);
  for (const auto& slot : TerrTables)
    for (const auto& side : slot)
      for (int v : side) ASSERT_EQ(v, 0);
  for (const auto& p : TerrParams) EXPECT_EQ(p, (std::array<int32_t, 5>{}));
  EXPECT_EQ(FreqList[100], 123.0) << "run state, not project data";
}

TEST(NetworkModel, ResetSimulationClearsRunResultsOnly) {
  test::FreshModel fresh;
  Nodes[5][kNodeCode] = 991001;
  Nodes[5][kNodePort3Link] = 7;
  NodeSpectra(5, 1, 3) = 60.0;
  ObjValues[2] = {1.0, 2.0};
  Links[0][kLinkSatX] = 9;
  LevelMarks[10] = {1, 2, 3};
  ChainQueue[4] = 8;
  FreqList[0] = 950.0;
  FreqList[100] = 5.0;
  TerrSpectra[3][7] = 12.0;
  TerrSourceIds[2] = 107;
  SourcePassed[3] = true;
  SourceCount = 9;
  MarkX = 3;
  ChainMarkCount = 2;
  NetObjects[0] = {210, 100, 100, 5, 1, 1};
  ResetSimulation();
  EXPECT_EQ(Nodes[5][kNodeCode], 0);
  EXPECT_EQ(Nodes[5][kNodePort3Link], -1);
  EXPECT_EQ(NodeSpectra(5, 1, 3), -1000000.0);
  EXPECT_EQ(ObjValues[2][0], 0.0);
  EXPECT_EQ(Links[0][kLinkSatX], 0);
  EXPECT_EQ(LevelMarks[10].Kind, 0);
  EXPECT_EQ(ChainQueue[4], 0);
  EXPECT_EQ(FreqList[0], 0.0);
  EXPECT_EQ(FreqList[100], 5.0);
  EXPECT_EQ(TerrSpectra[3][7], -100000.0);
  EXPECT_EQ(TerrSpectra[2][7], 0.0);
  EXPECT_EQ(TerrSourceIds[2], 0);
  EXPECT_FALSE(SourcePassed[3]);
  EXPECT_EQ(SourceCount, 0);
  EXPECT_EQ(TerrSourceIndex, -1);
  EXPECT_EQ(MarkX, 0);
  EXPECT_EQ(ChainMarkCount, 0);
  EXPECT_EQ(NetObjects[0][0], 210) << "the drawing is not part of the calculation state";
}

// The reset writes only the spectra that mutable access reached: every way of writing must be
// noted, or a value would survive into the next run.
TEST(NetworkModel, ResetRestoresEverySpectrumHoweverItWasWritten) {
  test::FreshModel fresh;
  EnsureNodeRows(400);  // rows added in the reset state
  ExpectResetSpectra(350);
  SpectrumAt(10, 4)[99] = 1.0;                  // through a spectrum pointer
  NodeSpectra(11, 2, 102) = 2.0;                // through the element accessor
  NodeSpectra.data()[(12 * kSpectraPerNode + 5) * kSpectrumLen] = 3.0;  // through raw memory
  Nodes.resize(420);
  NodeSpectra.resize(420);
  ExpectResetSpectra(419);  // rows are written with the reset values when first reached
  NodeSpectra.resize(200);
  NodeSpectra.resize(420);  // a row dropped and added again holds the reset values, not the old ones
  ExpectResetSpectra(350);
  ResetSimulation();
  for (int n : {10, 11, 12, 350, 419}) ExpectResetSpectra(n);
  // After the reset no spectrum counts as written; reading leaves it so.
  EXPECT_EQ(SpectrumRead(10, 4)[99], kNoSignal);
  EXPECT_FALSE(NodeSpectra.touched(10, 4));
  // A sweep's read of many nodes sees the same values, written or reset.
  EXPECT_EQ(SpectrumPeek(11, 2)[102], kNoSignal);
  EXPECT_EQ(SpectrumPeek(11, 2)[101], 1000000.0);
  SpectrumAt(10, 4)[0] = 5.0;
  EXPECT_TRUE(NodeSpectra.touched(10, 4));
  EXPECT_EQ(SpectrumPeek(10, 4)[0], 5.0);
  ClearNodeSpectra(10);
  ExpectResetSpectra(10);
  EXPECT_EQ(SpectrumPeek(10, 4)[0], kNoSignal);
  // A writer that names its leading entries: those and 100..102 are reset, the rest never moved.
  double* sp = NodeSpectra.atLeading(20, 1, 4);
  for (int k : {0, 3, 100, 101, 102}) sp[k] = 7.0;
  EXPECT_EQ(NodeSpectra.written(20), 4);
  NodeSpectra.at(20, 2)[60] = 8.0;  // a later writer of every entry widens the node's extent
  EXPECT_EQ(NodeSpectra.written(20), 100);
  ClearNodeSpectra(20);
  ExpectResetSpectra(20);
  // A reader's note on a node lasts until the node is written or reset.
  SpectrumAt(30, 1)[0] = 1.0;
  NodeSpectra.note(30);
  EXPECT_TRUE(NodeSpectra.noted(30));
  EXPECT_EQ(SpectrumRead(30, 1)[0], 1.0);
  EXPECT_TRUE(NodeSpectra.noted(30));
  NodeSpectra.atLeading(30, 3, 0);
  EXPECT_FALSE(NodeSpectra.noted(30));
  NodeSpectra.note(30);
  ClearNodeSpectra(30);
  EXPECT_FALSE(NodeSpectra.noted(30));
  NodeSpectra.note(30);
  ResetSimulation();
  EXPECT_FALSE(NodeSpectra.noted(30));
}

TEST(NetworkModel, FirstFreeNameSkipsOnlyExistingFiles) {
  test::TempCurrentDir dir;
  std::ofstream("Network1.stn") << "x";
  std::ofstream("Network2.stn") << "x";
  std::ofstream("Network4.stn") << "x";
  EXPECT_EQ(FirstFreeNetworkName(), "Network3.stn");
  std::ofstream("Source1.lnb") << "x";
  EXPECT_EQ(FirstFreeFileName("Source", ".lnb"), "Source2.lnb");
  EXPECT_EQ(FirstFreeFileName("Source", ".ter"), "Source1.ter");
}

TEST(NetworkModel, GrowthFollowsTheCatalogue) {
  test::FreshModel fresh;
  const std::size_t nodes = Nodes.size(), queue = ChainQueue.size(), links = Links.size();
  test::AddObject(16, 200, 200);  // 18 paths, 2 groups
  EXPECT_EQ(Nodes.size(), nodes + 18);
  EXPECT_EQ(NodeSpectra.size(), nodes + 18);
  EXPECT_EQ(ChainQueue.size(), queue + 1);
  ExpectResetSpectra(static_cast<int>(nodes + 17));
  test::AddObject(210, 300, 300, 5, 1, 1);
  EXPECT_EQ(Links.size(), links + 1);
  EXPECT_EQ(Nodes.size(), nodes + 18) << "a TV socket adds a link, not nodes";
  test::AddObject(91, 50, 50);  // LNB: 4 paths in the catalogue
  EXPECT_EQ(Nodes.size(), nodes + 22);
  EXPECT_EQ(ObjValues.size(), NetObjects.size());
  EXPECT_GT(NetObjects.size(), static_cast<std::size_t>(CurObject)) << "a free zero row follows the list";
}

TEST(SourceTables, CableLossFollowsSquareRootOfFrequency) {
  test::FreshModel fresh;
  CableCoef[2] = 0.2;
  EXPECT_NEAR(CableLoss(2, 1000.0, 10.0), 2.0, 1e-12);
  EXPECT_NEAR(CableLoss(2, 250.0, 10.0), 1.0, 1e-12);
  EXPECT_EQ(CableLoss(0, 1000.0, 10.0), 0.0);
  EXPECT_EQ(CableLoss(6, 1000.0, 10.0), 0.0);
  EXPECT_EQ(CableLoss(-3, 1000.0, 10.0), 0.0);
}

}  // namespace
}  // namespace kavrix
