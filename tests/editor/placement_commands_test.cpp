#include "editor/placement_commands.hpp"

#include <gtest/gtest.h>

#include "catalogue/placement_defaults.hpp"
#include "editor/canvas_state.hpp"
#include "model/network_model.hpp"
#include "model/source_tables.hpp"
#include "model/undo_ring.hpp"
#include "support/model_guard.hpp"
#include "support/project_guard.hpp"
#include "symbols/glyph_store.hpp"
#include "symbols/switch_amp_glyphs.hpp"
#include "symbols/type_glyphs.hpp"

namespace kavrix {
namespace {

class PlacementTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    CreateDeviceGlyphs();
    CreateSwitchAmpGlyphs();
  }
  void SetUp() override {
    InstallGlyphHooks();
    NewNetworkModel();
    ResetCanvasState();
    LineEditSave = {};
  }
  void TearDown() override {
    ResetCanvasState();
    RemoveGlyphHooks();
  }

  static ArmResult Arm(int kind) { return ArmPlacement(kind, kCanvasIdle); }

  // What the canvas click does with an armed object: the rows become part of the drawing.
  static void CommitArmed() {
    int n = 1;
    while (NetObjects[CurObject + n][kKind] < 0) ++n;
    CurObject += n;
    ObjectCount = CurObject;
    PendingKind = 0;
    EnsureFreeObjectRows(20);
  }

  static int ContinuationRowsAt(int row) {
    int n = 0;
    while (ValidObjRow(row + 1 + n) && NetObjects[row + 1 + n][kKind] < 0) ++n;
    return n;
  }

  test::FreshProject project;
};

TEST_F(PlacementTest, EveryKindWithACommandArmsItsRowsAndEndsTheTable) {
  for (int kind = 1; kind <= 210; ++kind) {
    const PlacementDefaults* d = FindPlacementDefaults(kind);
    if (!d) {
      EXPECT_EQ(Arm(kind).status, ArmStatus::kNoCommand) << kind;
      continue;
    }
    NewNetworkModel();
    ASSERT_TRUE(Arm(kind).armed()) << kind;
    EXPECT_EQ(PendingKind, kind);
    EXPECT_EQ(NetObjects[0][kKind], kind);
    EXPECT_EQ(ContinuationRowsAt(0), DefaultContinuationRows(kind)) << kind;
    EXPECT_EQ(NetObjects[1 + DefaultContinuationRows(kind)][kKind], 0) << kind;
    const bool line = kind >= 201 && kind <= 205;
    EXPECT_EQ(ObjGlyphAt(0).empty(), line) << kind << ": devices get their symbol, lines none";
  }
}

TEST_F(PlacementTest, DefaultsOfTellingKinds) {
  LastSocketOrient = 3;
  CurCableKind = 4;
  ASSERT_TRUE(Arm(210).armed());
  EXPECT_EQ(NetObjects[0], (ObjRow{210, 0, 0, 10, 3, 4}));

  ASSERT_TRUE(Arm(201).armed());
  EXPECT_EQ(NetObjects[0], (ObjRow{201, 0, 0, 3, 1, 4}));
  EXPECT_EQ(NetObjects[1], (ObjRow{-1, 0, 0, 0, 0, 22}));

  ASSERT_TRUE(Arm(84).armed());
  EXPECT_EQ(NetObjects[1], (ObjRow{-1, 21, 22, 0, 0, 0}));
  EXPECT_EQ(NetObjects[2], (ObjRow{-1, 23, 24, 0, 0, 0}));

  // Sixteen channel rows then the oscillator row; channel 9 takes the V,Hi input.
  ASSERT_TRUE(Arm(60).armed());
  EXPECT_EQ(NetObjects[0], (ObjRow{60, 0, 0, 10, 2, 0}));
  EXPECT_EQ(NetObjects[9], (ObjRow{-1, 6, 2, 11836, 5460, 0}));
  EXPECT_EQ(NetObjects[16], (ObjRow{-1, 6, 1, 11303, 7000, 0}));
  EXPECT_EQ(NetObjects[17], (ObjRow{-1, 9750, 10600, 9750, 0, 0}));
  EXPECT_EQ(NetObjects[18][kKind], 0);

  ASSERT_TRUE(Arm(61).armed());
  EXPECT_EQ(NetObjects[0], (ObjRow{61, 0, 0, 0, 1, 80}));
  EXPECT_EQ(NetObjects[1], (ObjRow{-8, 4740, 4900, 5060, 5220, 6100}));
}

// Arming kind 58 and then kind 5 used to leave 58's Inst and its settings row behind, so the
// multiswitch was committed with a stray continuation row.
TEST_F(PlacementTest, ReArmingNeverInheritsTheFormerKindsRows) {
  ASSERT_TRUE(Arm(60).armed());
  ASSERT_TRUE(Arm(58).armed());
  EXPECT_EQ(ContinuationRowsAt(0), 1);
  ASSERT_TRUE(Arm(5).armed());
  EXPECT_EQ(NetObjects[0], (ObjRow{5, 0, 0, 0, 1, 0}));
  EXPECT_EQ(ContinuationRowsAt(0), 0);
  for (int r = 1; r <= 18; ++r) EXPECT_EQ(NetObjects[r], ObjRow{}) << r;
}

TEST_F(PlacementTest, TheTableGrowsToHoldTheLargestObject) {
  CurObject = ObjectCount = static_cast<int>(NetObjects.size()) - 2;
  ASSERT_TRUE(Arm(60).armed());
  EXPECT_GE(NetObjects.size(), static_cast<std::size_t>(CurObject + 19));
  EXPECT_EQ(NetObjects[CurObject + 17][kKind], -1);
  EXPECT_EQ(NetObjects[CurObject + 18][kKind], 0);
  EXPECT_FALSE(ObjGlyphAt(CurObject).empty());
}

TEST_F(PlacementTest, WindowStateAfterArming) {
  Form1Tag = kMainLevelsShown;
  PanelOpen = 0;
  AutoScrollDY = 4;
  ExtraAngles = 2;
  ASSERT_TRUE(Arm(210).armed());
  EXPECT_EQ(Form1Tag, kMainEditing);
  EXPECT_EQ(AutoScrollDY, 4) << "a TV socket keeps the auto-scroll step";
  EXPECT_EQ(ExtraAngles, 2) << "only lines restart the bend count";
  ASSERT_TRUE(Arm(45).armed());
  EXPECT_EQ(AutoScrollDY, 0);
  const QImage before = ObjGlyphAt(0).image();
  const ArmResult line = Arm(202);
  EXPECT_TRUE(line.showLineHint);
  EXPECT_EQ(ExtraAngles, 0);
  EXPECT_EQ(ObjGlyphAt(0).image(), before) << "a line leaves the row's symbol as it was";
  EXPECT_FALSE(Arm(203).showLineHint);
}

TEST_F(PlacementTest, NavigationModeChangesNothing) {
  Form1Tag = kMainLevelsShown;
  SatUsed.fill(true);
  const auto rows = NetObjects;
  for (int kind : {5, 91, 92, 100, 201}) {
    const ArmResult r = ArmPlacement(kind, kCanvasNavigation);
    EXPECT_EQ(r.status, ArmStatus::kNavigation);
    EXPECT_TRUE(r.message.empty()) << "no message, not even for a fifth LNB";
  }
  EXPECT_EQ(NetObjects, rows);
  EXPECT_EQ(PendingKind, 0);
  EXPECT_EQ(Form1Tag, kMainLevelsShown);
  EXPECT_EQ(ItemTextCount, 0);
}

TEST_F(PlacementTest, LnbTakesTheLowestFreeSlotWithTheDefaultPlan) {
  SatUsed[0] = SatUsed[2] = true;
  // A reused slot starts from a clean plan: nothing of its former transponders survives.
  SatTables[1][0][30] = 12345;
  LnbParams[1][2][4] = 7;
  ASSERT_TRUE(Arm(91).armed());
  EXPECT_EQ(NetObjects[0], (ObjRow{91, 0, 0, 1, 1, 2}));
  EXPECT_TRUE(SatUsed[1]);
  EXPECT_EQ(LnbParams[1][0], (std::array<int32_t, 5>{25, 80, 970, 1930, 1}));
  EXPECT_EQ(LnbParams[1][1], (std::array<int32_t, 5>{26, 80, 1100, 2100, 220}));
  EXPECT_EQ(LnbParams[1][2], (std::array<int32_t, 5>{25, 80, 990, 1950, 0}));
  EXPECT_EQ(LnbParams[1][3], (std::array<int32_t, 5>{26, 80, 1120, 2120, 0}));
  EXPECT_EQ(SatCell(1, 0, 25), 1930);
  EXPECT_EQ(SatCell(1, 0, 26), 0);
  EXPECT_EQ(SatCell(1, 2, 26), 2100);
  EXPECT_EQ(SatCell(1, 6, 1), 1120);
  EXPECT_EQ(SatCell(1, 7, 26), 80);
  EXPECT_EQ(SatCell(1, 0, 31), 0);
}

TEST_F(PlacementTest, AntennaPlansAsWritten) {
  TerrTables[0][0][52] = 999;  // left from an earlier source in this slot
  ASSERT_TRUE(Arm(92).armed());
  EXPECT_EQ(TerrParams[0], (std::array<int32_t, 5>{53, 75, 50, 862, 1}));
  EXPECT_EQ(TerrTables[0][0][1], 66);
  EXPECT_EQ(TerrTables[0][0][50], 850);
  EXPECT_EQ(TerrTables[0][0][51], 862);
  EXPECT_EQ(TerrTables[0][1][51], 75);
  EXPECT_EQ(TerrTables[0][0][52], 0) << "the entry the count reaches beyond the list is empty";
  CommitArmed();

  ASSERT_TRUE(Arm(93).armed());
  EXPECT_EQ(NetObjects[CurObject][kInst], 1);
  EXPECT_EQ(TerrTables[1][0][28], 470 + 11 * 28);
  EXPECT_EQ(TerrTables[1][0][29], 790);
  CommitArmed();
  ASSERT_TRUE(Arm(94).armed());
  EXPECT_EQ(TerrTables[2][0][10], 254);
  EXPECT_EQ(TerrTables[2][0][11], 260);
  EXPECT_EQ(TerrParams[2][3], 230);
  CommitArmed();
  ASSERT_TRUE(Arm(95).armed());
  EXPECT_EQ(TerrTables[3][0][19], 107);
  EXPECT_EQ(TerrTables[3][0][20], 108);
  EXPECT_EQ(TerrParams[3][0], 20);
}

TEST_F(PlacementTest, FifthSourceOfAFamilyIsRefusedAndNothingChanges) {
  for (int kind : {92, 95, 93, 94}) {
    ASSERT_TRUE(Arm(kind).armed());
    CommitArmed();
  }
  ASSERT_TRUE(Arm(45).armed());
  const auto rows = NetObjects;
  const auto params = TerrParams;
  Form1Tag = kMainLevelsShown;
  const ArmResult antenna = Arm(93);
  EXPECT_EQ(antenna.status, ArmStatus::kNoAntennaSlot);
  EXPECT_EQ(antenna.message, "The number of antenna components must be up to 4");
  EXPECT_EQ(antenna.caption, "");
  EXPECT_EQ(NetObjects, rows);
  EXPECT_EQ(TerrParams, params);
  EXPECT_EQ(PendingKind, 45);
  EXPECT_EQ(Form1Tag, kMainLevelsShown);

  ASSERT_TRUE(Arm(91).armed()) << "LNBs have slots of their own";
  CommitArmed();
  SatUsed.fill(true);
  const ArmResult lnb = Arm(91);
  EXPECT_EQ(lnb.status, ArmStatus::kNoLnbSlot);
  EXPECT_EQ(lnb.caption, "Note");
  EXPECT_EQ(lnb.message, "This application supports networks with no more than four LNB components!");
}

TEST_F(PlacementTest, AnUnplacedArmGivesItsSlotBack) {
  ASSERT_TRUE(Arm(91).armed());
  ASSERT_TRUE(Arm(91).armed());
  EXPECT_EQ(NetObjects[0][kInst], 0) << "arming the LNB again reuses the slot it took";
  EXPECT_EQ(SatUsed, (std::array<bool, 4>{true, false, false, false}));
  ASSERT_TRUE(Arm(92).armed());
  EXPECT_FALSE(SatUsed[0]) << "replaced by an antenna";
  EXPECT_TRUE(TerrUsed[0]);

  CancelPlacement();
  EXPECT_FALSE(TerrUsed[0]);
  EXPECT_EQ(PendingKind, 0);
  EXPECT_EQ(NetObjects[0], ObjRow{});

  // Four LNBs with the fourth still armed: a fifth replaces the armed one instead of being refused.
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(Arm(91).armed());
    CommitArmed();
  }
  ASSERT_TRUE(Arm(91).armed());
  const ArmResult again = Arm(91);
  EXPECT_TRUE(again.armed());
  EXPECT_EQ(NetObjects[CurObject][kInst], 3);
}

TEST_F(PlacementTest, APlacedSourceKeepsItsSlot) {
  ASSERT_TRUE(Arm(91).armed());
  CommitArmed();
  ASSERT_TRUE(Arm(5).armed());
  CancelPlacement();
  EXPECT_TRUE(SatUsed[0]);
  ASSERT_TRUE(Arm(91).armed());
  EXPECT_EQ(NetObjects[CurObject][kInst], 1);
}

TEST_F(PlacementTest, CommentsTakeTextIndicesUpToTheTablesEnd) {
  ItemTexts[0] = "kept";
  ItemTextCount = 1;
  ASSERT_TRUE(Arm(100).armed());
  EXPECT_EQ(NetObjects[0], (ObjRow{100, 0, 0, 1, 1, 0}));
  EXPECT_EQ(ItemTexts[1], "Double click and enter a text");
  EXPECT_EQ(ItemTextCount, 2);
  ASSERT_TRUE(Arm(100).armed());
  EXPECT_EQ(NetObjects[0][kInst], 1) << "the unplaced comment's index is reused";
  EXPECT_EQ(ItemTextCount, 2);
  CancelPlacement();
  EXPECT_EQ(ItemTextCount, 1);
  EXPECT_EQ(ItemTexts[0], "kept");

  // A comment past the last text slot used to be written outside the table.
  ItemTextCount = kItemTextSlots;
  const auto rows = NetObjects;
  const ArmResult full = Arm(100);
  EXPECT_EQ(full.status, ArmStatus::kNoCommentSlot);
  EXPECT_FALSE(full.message.empty());
  EXPECT_EQ(ItemTextCount, kItemTextSlots);
  EXPECT_EQ(NetObjects, rows);
}

// A palette command while a placed object was picked up used to overwrite that object's rows
// with the new kind, cutting its settings rows loose.
TEST_F(PlacementTest, APickedUpObjectIsPutBackBeforeArming) {
  NetObjects[0] = {58, 300, 200, 11000, 1, 0};
  NetObjects[1] = {-1, 8, 0, 9750, 10600, 0};
  NetObjects[2] = {45, 100, 100, 0, 1, 0};
  NetObjects[3] = {-1, 0, 0, 0, 0, 0};
  CurObject = ObjectCount = 4;
  // The click picked up row 0 and the pointer has carried it away.
  LineEditSave.X = 300;
  LineEditSave.Y = 200;
  CurObject = 0;
  PanelOpen = 1;
  PendingKind = 58;
  PickOffset = {5, 5};
  NetObjects[0][kX] = 640;
  NetObjects[0][kY] = 480;

  ASSERT_TRUE(Arm(5).armed());
  EXPECT_EQ(NetObjects[0], (ObjRow{58, 300, 200, 11000, 1, 0}));
  EXPECT_EQ(NetObjects[1], (ObjRow{-1, 8, 0, 9750, 10600, 0}));
  EXPECT_EQ(NetObjects[2][kKind], 45);
  EXPECT_EQ(CurObject, 4);
  EXPECT_EQ(NetObjects[4][kKind], 5);
  EXPECT_EQ(PanelOpen, 0);
  EXPECT_EQ(PickOffset, IntPoint{});
}

TEST_F(PlacementTest, ModulatorSelectsItsTvStandard) {
  int selected = -1;
  Hooks().selectTvStandard = [&](int item) { selected = item; };
  ASSERT_TRUE(Arm(97).armed());
  EXPECT_EQ(selected, 0);
  Hooks().selectTvStandard = nullptr;
}

}  // namespace
}  // namespace kavrix
