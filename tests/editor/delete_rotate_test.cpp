#include "editor/delete_rotate.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>
#include <vector>

#include "app/undo_command.hpp"
#include "editor/canvas_click.hpp"
#include "editor/canvas_state.hpp"
#include "editor/canvas_window.hpp"
#include "editor/placement_commands.hpp"
#include "model/network_model.hpp"
#include "model/source_tables.hpp"
#include "model/undo_ring.hpp"
#include "editor/model_snapshot.hpp"
#include "support/model_guard.hpp"
#include "support/project_guard.hpp"
#include "symbols/glyph_store.hpp"
#include "symbols/object_glyphs.hpp"
#include "symbols/switch_amp_glyphs.hpp"
#include "symbols/type_glyphs.hpp"

namespace kavrix {
namespace {

namespace fs = std::filesystem;
using platform::Answer;
using platform::FileDialogResult;
using test::ExpectSameModel;
using test::ModelSnapshot;

class DeleteRotateTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    CreateDeviceGlyphs();
    CreateSwitchAmpGlyphs();
  }
  void SetUp() override {
    InstallGlyphHooks();
    InstallObjectGlyphHooks();
    NewNetworkModel();
    ResetCanvasState();
    LineEditSave = {};
    SourceFileName.clear();
  }
  void TearDown() override {
    CancelPlacement();
    ResetCanvasState();
    RemoveObjectGlyphHooks();
    RemoveGlyphHooks();
  }

  // Arms `kind` from the palette and commits it at (x, y) as the canvas click does.
  static int Place(int kind, int x, int y) {
    EXPECT_TRUE(ArmPlacement(kind, kCanvasIdle).armed()) << kind;
    const int row = CurObject;
    NetObjects[row][kX] = x;
    NetObjects[row][kY] = y;
    CurObject += ObjectRowCount(row);
    ObjectCount = CurObject;
    PendingKind = 0;
    EnsureFreeObjectRows(20);
    SyncRowCompanions();
    return row;
  }

  // An object with `continuation` settings rows whose field 1 tells them apart.
  static int PlaceRows(int kind, int x, int y, int continuation) {
    const int row = test::AddObject(kind, x, y);
    for (int c = 0; c < continuation; ++c) test::AddContinuation(100 * (row + 1) + c);
    RebuildObjectGlyph(row);
    return row;
  }

  static bool Delete(int row) {
    EditStep step;
    SelObject = row;
    return DeleteComponent(dialog);
  }

  static std::vector<UndoEntry> NewestEntries(int count) {
    std::vector<UndoEntry> e;
    for (int i = 0, p = NewestUndoEntry(); i < count; ++i, p = p == 0 ? kUndoLast : p - 1) e.push_back(UndoRing[p]);
    return e;
  }

  // The kinds of the newest action's entries, oldest first, each with how many entries in a row.
  static std::vector<std::pair<int, int>> ActionKinds() {
    std::vector<std::pair<int, int>> runs;
    const int32_t serial = UndoRing[NewestUndoEntry()][kUndoSerial];
    int p = NewestUndoEntry();
    while (UndoRing[p][kUndoSerial] == serial && UndoRing[p][kUndoKindField] != 0) p = p == 0 ? kUndoLast : p - 1;
    for (p = p == kUndoLast ? 0 : p + 1; UndoRing[p][kUndoSerial] == serial && UndoRing[p][kUndoKindField] != 0;
         p = p == kUndoLast ? 0 : p + 1) {
      const int kind = UndoRing[p][kUndoKindField];
      if (runs.empty() || runs.back().first != kind) runs.emplace_back(kind, 0);
      ++runs.back().second;
      if (p == NewestUndoEntry()) break;
    }
    return runs;
  }

  // The table ends right at ObjectCount and every row before it belongs to the drawing.
  static void ExpectCountersSound() {
    EXPECT_EQ(CurObject, ObjectCount);
    ASSERT_TRUE(ValidObjRow(ObjectCount));
    EXPECT_EQ(NetObjects[ObjectCount][kKind], 0);
    for (int r = 0; r < ObjectCount; ++r) EXPECT_NE(NetObjects[r][kKind], 0) << r;
    EXPECT_EQ(PendingKind, 0);
  }

  test::TempCurrentDir dir;
  platform::ScopedScriptedPlatform ui;
  test::FreshProject project;
  static inline platform::FileDialogRequest dialog{"LNB file(*.lnb)|*.lnb|Terrestrial source file(*.ter)|*.ter",
                                                   ".lnb", "Source.lnb", "", 1};
};

// Only the main row and two settings rows used to be recorded, so undo brought back a 4-row
// object without its last settings row and every later row sat one place off.
TEST_F(DeleteRotateTest, EveryRowIsRecordedLastFirstAndUndoPutsTheWholeObjectBack) {
  PlaceRows(45, 100, 100, 1);
  const int big = PlaceRows(58, 300, 100, 3);
  const int after = PlaceRows(5, 500, 100, 0);
  const ModelSnapshot before;
  const int32_t serial = EditSerial;

  ASSERT_TRUE(Delete(big));
  EXPECT_EQ(EditSerial, serial + 1);
  const auto entries = NewestEntries(4);
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(entries[k][kUndoKindField], kUndoDelete);
    EXPECT_EQ(entries[k][kUndoIndex], big + k) << "newest entry holds the main row";
    EXPECT_EQ(entries[k][kUndoSerial], serial);
  }
  EXPECT_EQ(NetObjects[big], before.rows[after]);
  EXPECT_EQ(ObjGlyphAt(big).image(), before.glyphs[after]) << "the symbol moved up with its row";
  EXPECT_TRUE(ObjGlyphAt(big + 1).empty());
  EXPECT_EQ(ObjectCount, before.objectCount - 4);
  ExpectCountersSound();

  ASSERT_TRUE(UndoLastStep().undone);
  ExpectSameModel(ModelSnapshot(), before);
}

TEST_F(DeleteRotateTest, RowsKeptOutsideTheTableStayWithTheirObjects) {
  const int first = PlaceRows(45, 100, 100, 1);
  const int big = PlaceRows(58, 300, 100, 3);
  const int after = PlaceRows(5, 500, 100, 0);
  int before = first, on = big + 2, behind = after, none = -1;
  SelObject = big;
  {
    EditStep step;
    ASSERT_TRUE(DeleteComponent(dialog, {&before, &on, &behind, &none}));
  }
  EXPECT_EQ(before, first);
  EXPECT_EQ(on, -1) << "its object is gone";
  EXPECT_EQ(behind, big);
  EXPECT_EQ(NetObjects[behind][kKind], 5);
  EXPECT_EQ(none, -1);
}

TEST_F(DeleteRotateTest, DeletingTheLastObjectLeavesTheEndRowInItsPlace) {
  PlaceRows(45, 100, 100, 1);
  const int last = PlaceRows(5, 500, 100, 0);
  const ObjRow first = NetObjects[0];
  ASSERT_TRUE(Delete(last));
  EXPECT_EQ(NetObjects[0], first);
  EXPECT_EQ(NetObjects[last], ObjRow{});
  EXPECT_EQ(ObjectCount, last);
  ExpectCountersSound();
}

TEST_F(DeleteRotateTest, NothingButACommittedMainRowIsDeleted) {
  PlaceRows(45, 100, 100, 1);
  const ModelSnapshot before;
  const int32_t undoPos = UndoPos;
  for (int row : {-1, 1, 2, 5, 1000}) {
    EXPECT_FALSE(Delete(row)) << row;
  }
  ExpectSameModel(ModelSnapshot(), before);
  EXPECT_EQ(UndoPos, undoPos);
}

TEST_F(DeleteRotateTest, AnLnbGivesUpItsSlotAndUndoTakesItAgainWithItsPlan) {
  Place(91, 100, 100);
  const int lnb = Place(91, 300, 100);
  ASSERT_EQ(NetObjects[lnb][kInst], 1);
  LnbParams[1][0][4] = 0;  // the plan was entered by hand
  SatCell(1, 0, 3) = 1012;
  SatCell(1, 7, 26) = 77;
  const ModelSnapshot before;

  ui->answers.push_back(Answer::No);
  ASSERT_TRUE(Delete(lnb));
  // The four band headers, then both polarisations' 31 carrier rows, then the row itself.
  EXPECT_EQ(ActionKinds(), (std::vector<std::pair<int, int>>{{kUndoLnbHeader, 4}, {kUndoLnbCarriers, 62}, {kUndoDelete, 1}}));
  ASSERT_EQ(ui->texts(), std::vector<std::string>{"Do you want to save LNB B parameters?"});
  EXPECT_EQ(ui->messages[0].buttons, platform::Buttons::YesNo);
  EXPECT_TRUE(ui->fileRequests.empty()) << "No deletes without saving";
  EXPECT_FALSE(SatUsed[1]);
  EXPECT_TRUE(SatUsed[0]);
  for (const auto& column : SatTables[1])
    for (int32_t v : column) EXPECT_EQ(v, 0);
  EXPECT_EQ(LnbParams, before.lnb);

  // The freed slot is the next LNB's, with a plan of its own. Undo with that LNB still armed
  // drops it and gives the deleted one its slot and plan back.
  ASSERT_TRUE(ArmPlacement(91, kCanvasIdle).armed());
  EXPECT_EQ(NetObjects[CurObject][kInst], 1);
  EXPECT_TRUE(SatUsed[1]);
  EXPECT_NE(SatCell(1, 0, 3), 1012);
  ASSERT_TRUE(Undo1Click(nullptr));
  EXPECT_EQ(PendingKind, 0);
  ExpectSameModel(ModelSnapshot(), before);
}

TEST_F(DeleteRotateTest, AGeneratedLnbPlanIsDroppedWithoutAskingAndComesBackOnUndo) {
  const int lnb = Place(91, 100, 100);
  ASSERT_EQ(LnbParams[0][0][4], 1);
  const ModelSnapshot before;
  ASSERT_TRUE(Delete(lnb));
  EXPECT_TRUE(ui->messages.empty());
  EXPECT_FALSE(SatUsed[0]);
  ASSERT_TRUE(UndoLastStep().undone);
  ExpectSameModel(ModelSnapshot(), before);
}

// The CATV default plan (51 carriers 16 MHz apart, then 862 MHz) is not what its header
// (53 channels, 50..862 MHz) regenerates to; undo used to bring back the regenerated plan.
TEST_F(DeleteRotateTest, AnAntennaPlanComesBackExactlyThoughItsHeaderWouldRegenerateAnother) {
  Place(93, 100, 100);
  const int catv = Place(92, 300, 100);
  ASSERT_EQ(NetObjects[catv][kInst], 1);
  TerrTables[1][0][100] = 999;  // entry 100 carries no channel and stays
  const ModelSnapshot before;

  ui->answers.push_back(Answer::No);
  ASSERT_TRUE(Delete(catv));
  EXPECT_EQ(ActionKinds(), (std::vector<std::pair<int, int>>{{kUndoTerrHeader, 1}, {kUndoTerrChannels + 1, 34}, {kUndoDelete, 1}}));
  EXPECT_EQ(ui->texts(), std::vector<std::string>{kSaveTerrPlanQuestion});
  EXPECT_FALSE(TerrUsed[1]);
  EXPECT_TRUE(TerrUsed[0]);
  EXPECT_EQ(TerrParams[1], (std::array<int32_t, 5>{}));
  for (int i = 0; i < 100; ++i) EXPECT_EQ(TerrTables[1][0][i] | TerrTables[1][1][i], 0) << i;
  EXPECT_EQ(TerrTables[1][0][100], 999);

  ASSERT_TRUE(UndoLastStep().undone);
  ExpectSameModel(ModelSnapshot(), before);
}

TEST_F(DeleteRotateTest, ACancelledSaveStillDeletesAndAFailedOneKeepsTheSource) {
  const int catv = Place(92, 100, 100);
  const ModelSnapshot before;
  const int32_t undoPos = UndoPos;
  ui->answers.push_back(Answer::Yes);
  ui->files.push_back(FileDialogResult{(dir.path() / "missing" / "plan.ter").string(), 2});
  EXPECT_FALSE(Delete(catv));
  EXPECT_EQ(ui->messages.size(), 2u) << "the write error is shown";
  ExpectSameModel(ModelSnapshot(), before);
  EXPECT_EQ(UndoPos, undoPos);

  ui->answers.push_back(Answer::Yes);
  ui->files.push_back(std::nullopt);
  EXPECT_TRUE(Delete(catv));
  EXPECT_FALSE(TerrUsed[0]);
  EXPECT_TRUE(fs::is_empty(dir.path())) << "nothing written";
}

TEST_F(DeleteRotateTest, ASelectionDeletesEveryAnchorStrictlyInsideAsOneStep) {
  const int a = PlaceRows(45, 100, 100, 1);
  PlaceRows(5, 150, 150, 0);           // right behind the first: examined after it moved up
  PlaceRows(7, 300, 300, 1);           // outside
  PlaceRows(9, 50, 120, 0);            // on the left edge: outside
  test::AddObject(201, 120, 180, 10, 1, 1);
  test::AddContinuation(400, 600, 0, 0, 11);  // its bends leave the rectangle; the anchor counts
  Place(93, 160, 110);
  const ModelSnapshot before;
  const int32_t serial = EditSerial;

  {
    EditStep step;
    EXPECT_EQ(DeleteObjectsInside(SelectionRect{50, 200, 50, 200}, dialog), 4);
  }
  EXPECT_EQ(EditSerial, serial + 1);
  EXPECT_EQ(ObjectCount, 3);
  EXPECT_EQ(NetObjects[a], before.rows[3]);
  EXPECT_EQ(NetObjects[a + 1], before.rows[4]);
  EXPECT_EQ(NetObjects[a + 2], before.rows[5]);
  EXPECT_FALSE(TerrUsed[0]);
  ExpectCountersSound();
  for (int i = 0, p = NewestUndoEntry(); UndoRing[p][kUndoKindField] != 0; ++i, p = p == 0 ? kUndoLast : p - 1)
    ASSERT_EQ(UndoRing[p][kUndoSerial], serial) << i;

  ASSERT_TRUE(UndoLastStep().undone);
  ExpectSameModel(ModelSnapshot(), before);
  EXPECT_FALSE(UndoEnabled());
}

TEST_F(DeleteRotateTest, TurningStepsOrientRoundAndRebuildsTheSymbol) {
  const int amp = PlaceRows(101, 200, 200, 0);
  const int socket = test::AddObject(210, 400, 200, 10, 4, 1);
  RebuildObjectGlyph(socket);
  const int line = test::AddObject(203, 500, 500, 10, 1, 1);
  test::AddContinuation(0, 100, 0, 0, 1);
  const int w = ObjGlyphAt(amp).width(), h = ObjGlyphAt(amp).height();
  ASSERT_NE(w, h);

  TurnObject(amp, +1);
  EXPECT_EQ(NetObjects[amp][kOrient], 2);
  EXPECT_EQ(ObjGlyphAt(amp).width(), h);
  EXPECT_EQ(ObjGlyphAt(amp).height(), w);
  TurnObject(amp, -1);
  TurnObject(amp, -1);
  EXPECT_EQ(NetObjects[amp][kOrient], 4);

  TurnObject(socket, +1);
  EXPECT_EQ(NetObjects[socket][kOrient], 1);
  EXPECT_EQ(LastSocketOrient, 1) << "the next socket is placed the same way";

  NetObjects[line][kOrient] = 7;  // out of range in a file
  TurnObject(line, -1);
  EXPECT_EQ(NetObjects[line][kOrient], 4);
  EXPECT_TRUE(ObjGlyphAt(line).empty());
  EXPECT_EQ(NetObjects[line + 1], (ObjRow{-1, 0, 100, 0, 0, 1}));
}

// ---- the popup handlers on a canvas window

class DeleteCommandTest : public DeleteRotateTest {
 protected:
  TForm5 form;
};

// Deleting the armed object used to run the committed-object delete with the counters left
// alone: its rows stayed behind the drawing and its source slot stayed taken.
TEST_F(DeleteCommandTest, DeletingTheArmedObjectOnlyDropsTheArm) {
  Place(45, 100, 100);
  Place(5, 200, 100);
  const ModelSnapshot before;
  ASSERT_TRUE(ArmPlacement(92, kCanvasIdle).armed());
  ASSERT_TRUE(TerrUsed[0]);
  SelObject = CurObject;  // the popup's row with a kind armed
  const int32_t serial = EditSerial;

  form.Delete1Click();
  ASSERT_EQ(ui->texts(), std::vector<std::string>{kConfirmDeleteText});
  EXPECT_EQ(ui->messages[0].caption, kConfirmDeleteCaption);
  EXPECT_EQ(ui->messages[0].buttons, platform::Buttons::OkCancel);
  EXPECT_FALSE(TerrUsed[0]);
  EXPECT_EQ(NetObjects, before.rows);
  ExpectCountersSound();
  EXPECT_EQ(ObjectCount, before.objectCount);
  EXPECT_EQ(EditSerial, serial + 1);
  EXPECT_FALSE(UndoEnabled()) << "nothing of the drawing changed";
  EXPECT_TRUE(ProjectModified);
}

TEST_F(DeleteCommandTest, APickedUpObjectIsPutBackThenDeletedAndUndoReturnsItWhereItWas) {
  Place(45, 100, 100);
  const int held = Place(5, 200, 100);
  Place(7, 300, 100);
  const ModelSnapshot before;
  // The click picked up the middle object and the pointer carried it away.
  LineEditSave.X = 200;
  LineEditSave.Y = 100;
  CurObject = held;
  PanelOpen = 1;
  PendingKind = 5;
  NetObjects[held][kX] = 640;
  SelObject = 0;  // from an earlier popup

  form.Delete1Click();
  EXPECT_EQ(NetObjects[0], before.rows[0]);
  EXPECT_EQ(NetObjects[held], before.rows[held + 1]);
  EXPECT_EQ(PanelOpen, 0);
  ExpectCountersSound();
  ASSERT_TRUE(UndoLastStep().undone);
  ExpectSameModel(ModelSnapshot(), before);
}

TEST_F(DeleteCommandTest, AStaleRowAsksNothingAndChangesNothing) {
  Place(45, 100, 100);
  const ModelSnapshot before;
  const int32_t serial = EditSerial;
  for (int row : {1, 2, 40, -1}) {
    SelObject = row;
    form.Delete1Click();
  }
  EXPECT_TRUE(ui->messages.empty());
  ExpectSameModel(ModelSnapshot(), before);
  EXPECT_EQ(EditSerial, serial);
}

TEST_F(DeleteCommandTest, ASelectionIsDeletedAndClearedWhileAnArmedObjectInsideIsOnlyDropped) {
  Place(45, 100, 100);
  Place(5, 400, 400);
  ASSERT_TRUE(ArmPlacement(7, kCanvasIdle).armed());
  NetObjects[CurObject][kX] = 120;
  NetObjects[CurObject][kY] = 120;
  form.Tag = kCanvasSelected;
  SelRect = {50, 200, 50, 200};

  form.Delete1Click();
  EXPECT_EQ(ObjectCount, 1);
  EXPECT_EQ(NetObjects[0][kX], 400);
  ExpectCountersSound();
  EXPECT_EQ(SelRect, SelectionRect{});
  EXPECT_EQ(form.Tag, kCanvasIdle);
}

// A selection on its way to a new place (the Edit menu stays reachable while it follows the
// pointer) used to be left alone after the confirmed question: nothing was deleted and the move
// was dropped.
TEST_F(DeleteCommandTest, ASelectionBeingMovedIsDeletedWhereItStands) {
  Place(45, 100, 100);
  Place(5, 400, 400);
  Place(93, 150, 150);
  const ModelSnapshot before;
  form.Tag = kCanvasMoving;
  SelRect = {50, 200, 50, 200};
  MoveDelta = {300, 0};
  ui->answers = {Answer::Ok, Answer::No};

  form.Delete1Click();
  EXPECT_EQ(ui->texts(), (std::vector<std::string>{kConfirmDeleteText, kSaveTerrPlanQuestion}));
  EXPECT_EQ(ObjectCount, 1);
  EXPECT_EQ(NetObjects[0], before.rows[2]);
  EXPECT_FALSE(TerrUsed[0]);
  ExpectCountersSound();
  EXPECT_EQ(SelRect, SelectionRect{});
  EXPECT_EQ(form.Tag, kCanvasIdle);
  ASSERT_TRUE(UndoLastStep().undone);
  ExpectSameModel(ModelSnapshot(), before);
}

TEST_F(DeleteCommandTest, CancelOrTheOverviewLeaveEverythingAsItWas) {
  Place(45, 100, 100);
  const ModelSnapshot before;
  SelObject = 0;
  ui->answers.push_back(Answer::Cancel);
  form.Delete1Click();
  form.Tag = kCanvasNavigation;
  form.Delete1Click();
  EXPECT_EQ(ui->messages.size(), 1u);
  ExpectSameModel(ModelSnapshot(), before);
  EXPECT_EQ(form.Tag, kCanvasNavigation);
  EXPECT_FALSE(ProjectModified);
}

// A turn of the armed object used to be recorded; once that object was placed, undoing the
// placement and then the turn wrote the row back behind the end of the table.
TEST_F(DeleteCommandTest, TurningTheArmedObjectRecordsNothing) {
  Place(45, 100, 100);
  ASSERT_TRUE(ArmPlacement(101, kCanvasIdle).armed());
  SelObject = CurObject;
  form.N2Click();
  EXPECT_EQ(NetObjects[CurObject][kOrient], 2);
  EXPECT_FALSE(UndoEnabled());
}

// Move, copy and delete of a selection take the objects whose anchor lies strictly inside the
// rectangle: one on an edge stays out of all three, one a pixel inside is in all three.
class SelectionBoundsTest : public DeleteRotateTest,
                            public ::testing::WithParamInterface<std::tuple<int, int, bool>> {};

TEST_P(SelectionBoundsTest, MoveCopyAndDeleteTakeOnlyAnchorsStrictlyInside) {
  const auto [x, y, inside] = GetParam();
  const SelectionRect rect{100, 300, 100, 200};
  SelRect = rect;
  MoveDelta = {300, 20};
  const int row = PlaceRows(5, x, y, 0);
  CommitSelectionMoveCopy();
  EXPECT_EQ(NetObjects[row][kX], inside ? x + 300 : x) << "move";
  NetObjects[row][kX] = x;
  NetObjects[row][kY] = y;
  CopyNotMove = 1;
  CommitSelectionMoveCopy();
  EXPECT_EQ(ObjectCount, inside ? 2 : 1) << "copy";
  EditStep step;
  EXPECT_EQ(DeleteObjectsInside(rect, dialog), inside ? 1 : 0) << "delete; the copy lies outside";
}

INSTANTIATE_TEST_SUITE_P(Edges, SelectionBoundsTest,
                         ::testing::Values(std::tuple{100, 150, false}, std::tuple{101, 150, true},
                                           std::tuple{300, 150, false}, std::tuple{299, 150, true},
                                           std::tuple{200, 100, false}, std::tuple{200, 101, true},
                                           std::tuple{200, 200, false}, std::tuple{200, 199, true}));

// The socket placed next takes the orientation of the last one turned, not the default.
TEST_F(DeleteRotateTest, ANewSocketTakesTheOrientationOfTheLastOneTurned) {
  const int socket = Place(210, 200, 200);
  ASSERT_EQ(NetObjects[socket][kOrient], 1);
  TurnObject(socket, -1);
  ASSERT_TRUE(ArmPlacement(210, kCanvasIdle).armed());
  EXPECT_EQ(NetObjects[CurObject][kOrient], 4);
}

}  // namespace
}  // namespace kavrix
