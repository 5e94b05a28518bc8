#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "app/main_window.hpp"
#include "model/network_model.hpp"
#include "platform/platform.hpp"
#include "simulation/window/tune_commands.hpp"
#include "support/app_guard.hpp"
#include "support/generated_buildings.hpp"
#include "support/model_guard.hpp"
#include "support/realistic_buildings.hpp"
#include "symbols/glyph_store.hpp"
#include "symbols/object_glyphs.hpp"

namespace kavrix {
namespace {

TEST(TuneCommands, OptimisationWithoutCascadeShowsItsMessageWithTheHourglassBalanced) {
  test::FreshModel fresh;
  platform::ScopedScriptedPlatform ui;
  test::AddObject(91, 200, 100, 0, 1, 1);
  CommandChain chain(RunInput{"50", "60"}, RunCallbacks{});
  Optimizationofnetwork1Click(chain.clicks());
  EXPECT_EQ(ui->lastText(), "Missing signal source or network does not contain interchangeable cascaded components");
  EXPECT_EQ(ui->busyDepth, 0);
  EXPECT_GT(ui->busyCalls, 0);
}

// The exchange of cascaded taps for stronger variants was not recorded, and Undo stayed
// disabled after it. The whole command is now one undo step back to the drawing as it was.
class OptimisationUndo : public ::testing::Test, protected test::AppFixture {};

TEST_F(OptimisationUndo, ExchangedTapsComeBackWithOneUndo) {
  test::BuildTapRiser(6);
  const std::vector<ObjRow> before = NetObjects;
  const int serial = EditSerial;
  Form1->ToolButton94->trigger();
  int exchanged = 0;
  for (std::size_t r = 0; r < before.size(); ++r)
    if (before[r][kKind] == 116 && NetObjects[r][kKind] != 116) ++exchanged;
  ASSERT_GT(exchanged, 0) << "the riser's taps become stronger variants";
  EXPECT_EQ(EditSerial, serial + 1) << "one step for the whole command";
  Form1->Edit1Click();
  ASSERT_TRUE(Form1->Undo1->isEnabled());

  Form1->ToolButton91->trigger();
  for (std::size_t r = 0; r < before.size(); ++r) {
    // The run rewrites a single line's content code (field 5 of its geometry row) every time.
    const bool lineGeometry = r > 0 && before[r - 1][kKind] == 203;
    for (int f = 0; f < kObjFields; ++f)
      if (!(lineGeometry && f == kStyle)) {
        EXPECT_EQ(NetObjects[r][f], before[r][f]) << "row " << r << " field " << f;
      }
  }
  Form1->Edit1Click();
  EXPECT_FALSE(Form1->Undo1->isEnabled()) << "nothing older to undo";
  EXPECT_TRUE(ui->messages.empty());
}

// Tune's write-back draws an object's labels again only when one of its rows changed since they
// were last drawn (a floor multiswitch has dozens of nodes). Every adjusted symbol must still show
// its final settings: the last labels drawn are those of the rows as Tune leaves them, and each
// symbol is the one a fresh composition of the object gives.
class TuneLabels : public ::testing::Test, protected test::AppFixture {};

TEST_F(TuneLabels, AdjustedSymbolsShowTheFinalSettings) {
  test::BuildRealisticBuilding(100);
  RebuildAllObjectGlyphs();
  auto rowsOf = [](int row) {
    std::vector<ObjRow> rows;
    for (int r = row; r <= row + 4 && r < static_cast<int>(NetObjects.size()); ++r) rows.push_back(NetObjects[r]);
    return rows;
  };
  std::map<int, std::vector<ObjRow>> drawn;
  const auto draw = Hooks().rowLabelsChanged;
  Hooks().rowLabelsChanged = [&](int row) {
    drawn[row] = rowsOf(row);
    draw(row);
  };
  const std::vector<ObjRow> before = NetObjects;
  Form1->ToolButton86->trigger();
  Hooks().rowLabelsChanged = draw;

  int adjusted = 0;
  for (std::size_t r = 0; r < before.size(); ++r) adjusted += before[r] != NetObjects[r];
  ASSERT_GT(adjusted, 10) << "Tune sets the building's amplifiers and multiswitch outputs";
  for (const auto& [row, rows] : drawn) EXPECT_EQ(rows, rowsOf(row)) << "labels of row " << row << " are stale";
  for (int row = 0; row < static_cast<int>(NetObjects.size()); ++row) {
    const int kind = NetObjects[row][kKind];
    if (kind < 1 || kind > 199) continue;
    const QImage shown = ObjGlyphAt(row).image();
    RebuildObjectGlyph(row);
    EXPECT_EQ(shown, ObjGlyphAt(row).image()) << "symbol of row " << row << " kind " << kind;
  }
}

}  // namespace
}  // namespace kavrix
