#include "model/undo_ring.hpp"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "model/network_model.hpp"
#include "model/source_tables.hpp"
#include "support/model_guard.hpp"

namespace kavrix {
namespace {

// Everything an undo may touch, compared as a whole.
struct ModelSnapshot {
  std::vector<ObjRow> objects;
  int32_t curObject, objectCount;
  decltype(SatTables) satTables;
  decltype(LnbParams) lnbParams;
  decltype(SatUsed) satUsed;
  decltype(TerrTables) terrTables;
  decltype(TerrParams) terrParams;
  decltype(TerrUsed) terrUsed;

  static ModelSnapshot Take() {
    return {std::vector<ObjRow>(NetObjects.begin(), NetObjects.begin() + CurObject + 1),
            CurObject, ObjectCount, SatTables, LnbParams, SatUsed, TerrTables, TerrParams, TerrUsed};
  }
  bool operator==(const ModelSnapshot&) const = default;
};

// Records which rows the undo asked to rebuild or relabel.
class HookRecorder {
 public:
  HookRecorder() {
    Hooks().rowGlyphChanged = [this](int r) { glyphs.push_back(r); };
    Hooks().rowLabelsChanged = [this](int r) { labels.push_back(r); };
  }
  ~HookRecorder() {
    Hooks().rowGlyphChanged = nullptr;
    Hooks().rowLabelsChanged = nullptr;
  }
  std::vector<int> glyphs;
  std::vector<int> labels;
};

// Removes one row as the canvas's delete does: later rows move up by one.
void RemoveRow(int row) {
  for (int r = row; r < CurObject; ++r) NetObjects[r] = NetObjects[r + 1];
  --CurObject;
  ObjectCount = CurObject;
}

// Deletes the object at `row` with its continuation rows, recording last row first.
void DeleteObject(int row) {
  int last = row;
  while (ValidObjRow(last + 1) && NetObjects[last + 1][kKind] < 0) ++last;
  for (int r = last; r >= row; --r) {
    PushUndo(kUndoDelete, r);
    RemoveRow(r);
  }
}

// A small drawing: a device with two settings rows between two other objects and a socket.
void BuildDrawing() {
  test::AddObject(60, 100, 100);
  test::AddObject(61, 200, 100);
  test::AddContinuation(1, 2, 3, 4, 5, -8);
  test::AddContinuation(6, 7, 8, 9, 10);
  test::AddObject(210, 300, 300, 12, 1, 3);
  test::AddObject(203, 100, 100, 25, 2, 1);
  test::AddContinuation(50, 100, 0, 0, 11);
}

TEST(UndoRing, EmptyRingHasNothingToUndo) {
  test::FreshModel fresh;
  BuildDrawing();
  const auto before = ModelSnapshot::Take();
  EXPECT_FALSE(UndoEnabled());
  const UndoOutcome r = UndoLastStep();
  EXPECT_FALSE(r.undone);
  EXPECT_TRUE(r.message.empty());
  EXPECT_EQ(ModelSnapshot::Take(), before);
  EXPECT_EQ(UndoPos, 0);
}

TEST(UndoRing, PlacementOfEveryRowOfAnObjectIsUndoneAsOneStep) {
  test::FreshModel fresh;
  BuildDrawing();
  const auto before = ModelSnapshot::Take();
  // An object with five settings rows: all of them must go, not only the first three rows.
  {
    EditStep step;
    const int head = test::AddObject(84, 400, 400);
    for (int k = 0; k < 5; ++k) test::AddContinuation(k, k, k, k, k);
    PushUndo(kUndoAdded, head);
  }
  EXPECT_EQ(UndoPos, 6);
  EXPECT_TRUE(UndoEnabled());
  EXPECT_TRUE(UndoLastStep().undone);
  EXPECT_EQ(ModelSnapshot::Take(), before);
  EXPECT_FALSE(UndoEnabled());
  EXPECT_FALSE(UndoLastStep().undone);
}

TEST(UndoRing, UndoingASourcePlacementFreesItsSlot) {
  test::FreshModel fresh;
  BuildDrawing();
  const auto before = ModelSnapshot::Take();
  {
    EditStep step;
    const int lnb = test::AddObject(91, 50, 50, 2, 1, 1);
    SatUsed[2] = true;
    PushUndo(kUndoAdded, lnb);
  }
  {
    EditStep step;
    const int ant = test::AddObject(93, 80, 50, 1);
    TerrUsed[1] = true;
    PushUndo(kUndoAdded, ant);
  }
  ASSERT_TRUE(UndoLastStep().undone);
  EXPECT_FALSE(TerrUsed[1]);
  EXPECT_TRUE(SatUsed[2]);
  ASSERT_TRUE(UndoLastStep().undone);
  EXPECT_EQ(ModelSnapshot::Take(), before);
}

TEST(UndoRing, DeletedObjectReturnsToItsRowsAndLaterSymbolsAreRebuilt) {
  test::FreshModel fresh;
  BuildDrawing();
  const auto before = ModelSnapshot::Take();
  {
    EditStep step;
    DeleteObject(1);
  }
  ASSERT_EQ(CurObject, 4);
  HookRecorder hooks;
  ASSERT_TRUE(UndoLastStep().undone);
  EXPECT_EQ(ModelSnapshot::Take(), before);
  // From two rows before the reinserted object: device rows and the socket, not settings or lines.
  EXPECT_EQ(hooks.glyphs, (std::vector<int>{0, 1, 4}));
}

TEST(UndoRing, DeletedSourcesComeBackWithTheirTablesAndSlots) {
  test::FreshModel fresh;
  BuildDrawing();
  const int lnb = test::AddObject(91, 50, 50, 1, 1, 1);
  SatUsed[1] = true;
  LnbParams[1][0] = {3, 70, 970, 1050, 0};
  LnbParams[1][1] = {0, 0, 0, 0, 350};
  for (int j = 1; j <= 3; ++j) {
    SatCell(1, 0, j) = 930 + 40 * j;
    SatCell(1, 1, j) = 70;
  }
  SatCell(1, 6, 1) = 1120;
  SatCell(1, 7, 1) = 72;
  test::AddObject(92, 80, 50, 3);
  TerrUsed[3] = true;
  TerrParams[3] = {4, 60, 100, 400, 0};
  for (int k = 0; k < 4; ++k) {
    TerrTables[3][0][k] = 100 + 100 * k;
    TerrTables[3][1][k] = 60 + k;
  }
  const auto before = ModelSnapshot::Take();
  {
    EditStep step;
    SatUsed[1] = false;
    PushUndo(kUndoLnbHeader, lnb);
    PushUndo(kUndoLnbCarriers, lnb);
    for (auto& col : SatTables[1]) col.fill(0);
    DeleteObject(lnb);
  }
  {
    EditStep step;
    const int row = CurObject - 1;
    TerrUsed[3] = false;
    PushUndo(kUndoTerrHeader, 3);
    PushUndo(kUndoTerrChannels + 3, 3);
    TerrTables[3] = {};
    DeleteObject(row);
  }
  ASSERT_TRUE(UndoLastStep().undone);
  ASSERT_TRUE(UndoLastStep().undone);
  EXPECT_EQ(ModelSnapshot::Take(), before);
}

TEST(UndoRing, ChannelAndCarrierTablesReturnExactlyAfterGrowingOrChangingTheFirstEntry) {
  test::FreshModel fresh;
  const int lnb = test::AddObject(91, 50, 50, 0);
  TerrTables[2][0][0] = 474;  // a one-channel plan: its only channel sits in entry 0
  TerrTables[2][1][0] = 66;
  SatCell(0, 4, 1) = 990;
  SatCell(0, 5, 1) = 71;
  const auto before = ModelSnapshot::Take();
  {
    EditStep step;
    PushUndo(kUndoTerrChannels + 2, 2);
    PushUndo(kUndoLnbCarriers, lnb);
    for (int k = 0; k < 100; ++k) {
      TerrTables[2][0][k] = 170 + 7 * k;
      TerrTables[2][1][k] = 50;
    }
    for (int j = 1; j <= 31; ++j)
      for (int c = 0; c < 8; ++c) SatCell(0, c, j) = c % 2 == 0 ? 900 + j : 60;
  }
  ASSERT_TRUE(UndoLastStep().undone);
  EXPECT_EQ(ModelSnapshot::Take(), before);

  // A full table walks every entry 0..99 and still fits the entry layout.
  for (int k = 0; k < 100; ++k) TerrTables[2][0][k] = 170 + 7 * k;
  const auto full = ModelSnapshot::Take();
  const int pos = UndoPos;
  {
    EditStep step;
    PushUndo(kUndoTerrChannels + 2, 2);
    TerrTables[2] = {};
  }
  EXPECT_EQ(UndoPos - pos, 34);
  ASSERT_TRUE(UndoLastStep().undone);
  EXPECT_EQ(ModelSnapshot::Take(), full);
}

// Recording stopped at the first empty row and the replay cleared every row after it, so a plan
// with entries after a gap lost them on undo.
TEST(UndoRing, TablesWithGapsComeBackWhole) {
  test::FreshModel fresh;
  const int lnb = test::AddObject(91, 50, 50, 1);
  for (int e = 0; e < kTerrEntries; ++e)
    if (e != 3) TerrTables[0][0][e] = 100 + 8 * e, TerrTables[0][1][e] = 60 + e % 20;  // entry 3 empty
  for (int j = 1; j <= kSatRows; ++j) {
    if (j == 2 || j == 17) continue;  // empty carrier rows inside both polarisations' plans
    for (int c = 0; c < kSatColumns; ++c) SatCell(1, c, j) = c % 2 == 0 ? 10700 + 30 * j + c : 70 + c;
  }
  const auto before = ModelSnapshot::Take();
  {
    EditStep step;
    PushUndo(kUndoTerrChannels + 0, 0);
    PushUndo(kUndoLnbCarriers, lnb);
    TerrTables[0][0].fill(0);
    TerrTables[0][1].fill(55);
    for (auto& col : SatTables[1]) col.fill(1);
  }
  ASSERT_TRUE(UndoLastStep().undone);
  EXPECT_EQ(ModelSnapshot::Take(), before);
}

// With the regenerate flag at 1 the replay of the header rebuilt the table from count, level,
// first and last, over the rows the same action had just restored.
TEST(UndoRing, RecordedRowsOfAGeneratedTableAreRestoredNotRebuilt) {
  test::FreshModel fresh;
  TerrParams[2] = {10, 75, 147, 619, 1};
  const int32_t freq[] = {147, 155, 203, 250, 300, 380, 450, 500, 560, 619};
  for (int e = 0; e < 10; ++e) TerrTables[2][0][e] = freq[e], TerrTables[2][1][e] = 60 + e + (e > 4 ? 5 : 0);
  const int lnb = test::AddObject(91, 50, 50, 3);
  LnbParams[3][0] = {5, 70, 950, 1950, 1};
  LnbParams[3][1] = {3, 65, 1100, 1200, 0};
  for (int j = 1; j <= 5; ++j) SatCell(3, 0, j) = 940 + 200 * j + j, SatCell(3, 1, j) = 60 + j;
  const auto before = ModelSnapshot::Take();
  {
    EditStep step;
    PushUndo(kUndoTerrHeader, 2);
    PushUndo(kUndoTerrChannels + 2, 2);
    PushUndo(kUndoLnbHeader, lnb);
    PushUndo(kUndoLnbCarriers, lnb);
    TerrParams[2] = {3, 70, 100, 200, 1};
    RegenerateTerrTable(2);
    LnbParams[3][0] = {2, 80, 1000, 1010, 1};
    RegenerateLnbBand(3, 0);
  }
  ASSERT_TRUE(UndoLastStep().undone);
  EXPECT_EQ(ModelSnapshot::Take(), before);
  EXPECT_EQ(TerrTables[2][0][1], 155);
  EXPECT_EQ(TerrTables[2][1][9], 74);
}

TEST(UndoRing, LnbHeaderUndoRegeneratesBandsInAverageMode) {
  test::FreshModel fresh;
  const int lnb = test::AddObject(91, 50, 50, 2);
  LnbParams[2][0] = {5, 70, 950, 1950, 1};
  LnbParams[2][1] = {3, 65, 1100, 1200, 300};
  {
    EditStep step;
    PushUndo(kUndoLnbHeader, lnb);
    LnbParams[2][0] = {2, 80, 1000, 1010, 1};
    LnbParams[2][1] = {4, 80, 1000, 1600, 300};
    for (int j = 1; j <= 31; ++j) SatCell(2, 0, j) = SatCell(2, 2, j) = 5;
  }
  ASSERT_TRUE(UndoLastStep().undone);
  EXPECT_EQ((LnbParams[2][0]), (std::array<int32_t, 5>{5, 70, 950, 1950, 1}));
  const int expected[] = {950, 1200, 1450, 1700, 1950};
  for (int j = 1; j <= 5; ++j) {
    EXPECT_EQ(SatCell(2, 0, j), expected[j - 1]);
    EXPECT_EQ(SatCell(2, 1, j), 70);
  }
  for (int j = 6; j <= 31; ++j) EXPECT_EQ(SatCell(2, 0, j), 0);
  // Band 1: 1100, 1150, 1200 (step 50).
  EXPECT_EQ(SatCell(2, 2, 1), 1100);
  EXPECT_EQ(SatCell(2, 2, 2), 1150);
  EXPECT_EQ(SatCell(2, 2, 3), 1200);
  EXPECT_EQ(SatCell(2, 3, 3), 65);
  EXPECT_EQ(SatCell(2, 2, 4), 0);
}

TEST(UndoRing, RegenerationOfCountsTheTablesCannotHoldLeavesThemCleared) {
  test::FreshModel fresh;
  for (int count : {0, 1, 32, -3}) {
    SCOPED_TRACE(count);
    for (int j = 1; j <= 31; ++j) SatCell(0, 2, j) = 123;
    LnbParams[0][1] = {count, 70, 950, 1950, 0};
    RegenerateLnbBand(0, 1);
    for (int j = 1; j <= 31; ++j) ASSERT_EQ(SatCell(0, 2, j), 0);
  }
  for (int count : {0, 101, -1}) {
    SCOPED_TRACE(count);
    TerrTables[0][0].fill(9);
    TerrParams[0] = {count, 60, 100, 500, 1};
    RegenerateTerrTable(0);
    for (int k = 0; k < 100; ++k) ASSERT_EQ(TerrTables[0][0][k], 0);
  }
  // As the source panel builds it: count + 1 entries from entry 0, step over count.
  TerrParams[1] = {53, 70, 50, 862, 1};
  RegenerateTerrTable(1);
  EXPECT_EQ(TerrTables[1][0][0], 50);
  EXPECT_EQ(TerrTables[1][0][1], 65);
  EXPECT_EQ(TerrTables[1][0][52], 830);
  EXPECT_EQ(TerrTables[1][0][53], 862);
  EXPECT_EQ(TerrTables[1][1][53], 70);
  EXPECT_EQ(TerrTables[1][0][54], 0);
}

TEST(UndoRing, TerrestrialHeaderUndoRebuildsTheTableThePanelHadBuilt) {
  test::FreshModel fresh;
  TerrParams[0] = {10, 65, 474, 858, 1};
  RegenerateTerrTable(0);
  const auto before = ModelSnapshot::Take();
  {
    EditStep step;
    PushUndo(kUndoTerrHeader, 0);
    TerrParams[0] = {3, 70, 100, 200, 1};
    RegenerateTerrTable(0);
  }
  ASSERT_TRUE(UndoLastStep().undone);
  EXPECT_EQ(ModelSnapshot::Take(), before);
}

TEST(UndoRing, LineDragRestoresTheBendRowOfEveryLineKind) {
  for (int kind : {201, 203, 207}) {
    SCOPED_TRACE(kind);
    test::FreshModel fresh;
    const int line = test::AddObject(kind, 10, 20, 30, 2, 4);
    test::AddContinuation(100, 200, 300, 400, 12);
    const auto before = ModelSnapshot::Take();
    LineEditSave = {10, 20, 2, {100, 200, 300, 400, 12}};
    NetObjects[line] = {kind, 50, 60, 30, 3, 4};
    NetObjects[line + 1] = {-1, 1, 2, 3, 4, 21};
    {
      EditStep step;
      PushUndo(kUndoLineDrag, line);
    }
    EXPECT_EQ(UndoPos, 2);
    ASSERT_TRUE(UndoLastStep().undone);
    EXPECT_EQ(ModelSnapshot::Take(), before);
  }
}

TEST(UndoRing, RowEditsRestoreFieldsAndAskForTheRightSymbols) {
  test::FreshModel fresh;
  BuildDrawing();
  const auto before = ModelSnapshot::Take();
  HookRecorder hooks;
  {
    EditStep step;
    PushUndo(kUndoMove, 0);
    NetObjects[0][kX] = 500;
    PushUndo(kUndoRotate, 1);
    NetObjects[1][kOrient] = 3;
    PushUndo(kUndoSettings, 3);  // second settings row of the object in row 1
    NetObjects[3][kY] = 99;
    PushUndo(kUndoInlineEdit, 4);  // the socket's drop length
    NetObjects[4][kInst] = 40;
    PushUndo(kUndoSettings, 0);
    NetObjects[0][kStyle] = 7;
  }
  ASSERT_TRUE(UndoLastStep().undone);
  EXPECT_EQ(ModelSnapshot::Take(), before);
  // Settings are shown by the object's symbol, rebuilt whole so that no old digit stays.
  EXPECT_EQ(hooks.glyphs, (std::vector<int>{0, 4, 1, 1}));
  EXPECT_TRUE(hooks.labels.empty());
}

TEST(UndoRing, ActionsAreUndoneOneSerialAtATimeNewestFirst) {
  test::FreshModel fresh;
  BuildDrawing();
  const auto first = ModelSnapshot::Take();
  {
    EditStep step;
    PushUndo(kUndoMove, 0);
    NetObjects[0][kX] = 1;
    PushUndo(kUndoMove, 0);  // the same row twice in one action: the older value wins
    NetObjects[0][kX] = 2;
  }
  const auto second = ModelSnapshot::Take();
  {
    EditStep step;
    PushUndo(kUndoMove, 4);
    NetObjects[4][kX] = 3;
  }
  ASSERT_TRUE(UndoLastStep().undone);
  EXPECT_EQ(ModelSnapshot::Take(), second);
  EXPECT_EQ(UndoPos, 2);
  ASSERT_TRUE(UndoLastStep().undone);
  EXPECT_EQ(ModelSnapshot::Take(), first);
  EXPECT_FALSE(UndoEnabled());
  // The next action overwrites the undone entries.
  {
    EditStep step;
    PushUndo(kUndoMove, 4);
  }
  EXPECT_EQ(UndoPos, 1);
  EXPECT_TRUE(UndoEnabled());
}

TEST(UndoRing, WrapAtTheRingEnd) {
  test::FreshModel fresh;
  const int lnb = test::AddObject(91, 50, 50, 0);
  UndoPos = 998;
  PushUndo(kUndoLnbHeader, lnb);
  EXPECT_EQ(UndoPos, 1);
  for (int e : {998, 999, 1000, 0}) EXPECT_EQ(UndoRing[e][kUndoKindField], kUndoLnbHeader) << e;
  EXPECT_EQ(UndoRing[0][kUndoValue1], 3);
  ++EditSerial;

  // An action that ends at entry 1000 leaves UndoPos at 0 and is still undone.
  test::FreshModel again;
  BuildDrawing();
  const auto before = ModelSnapshot::Take();
  for (int k = 0; k < 997; ++k) {
    PushUndo(kUndoMove, 4);
    ++EditSerial;
  }
  {
    EditStep step;
    for (int k = 0; k < 4; ++k) {
      PushUndo(kUndoMove, k);
      NetObjects[k][kY] += 10;
    }
  }
  ASSERT_EQ(UndoPos, 0);
  EXPECT_TRUE(UndoEnabled());
  ASSERT_TRUE(UndoLastStep().undone);
  EXPECT_EQ(ModelSnapshot::Take(), before);
  EXPECT_EQ(UndoPos, 997);
}

TEST(UndoRing, OldestActionCutByTheWrapIsNotUndoneInPart) {
  test::FreshModel fresh;
  BuildDrawing();
  // A first action of five entries, then enough one-entry actions to overwrite two of them.
  {
    EditStep step;
    for (int k = 0; k < 5; ++k) PushUndo(kUndoMove, 0);
  }
  for (int k = 0; k < 998; ++k) {
    EditStep step;
    PushUndo(kUndoMove, 4);
  }
  ASSERT_EQ(UndoPos, 2);
  int undone = 0;
  while (UndoLastStep().undone) ASSERT_LT(++undone, 1100);
  EXPECT_EQ(undone, 998);
  for (int e = 2; e <= 4; ++e) EXPECT_EQ(UndoRing[e][kUndoKindField], 0) << e;
}

TEST(UndoRing, ActionsOf998EntriesExceedTheCapacity) {
  test::FreshModel fresh;
  BuildDrawing();
  const auto before = ModelSnapshot::Take();
  {
    EditStep step;
    for (int k = 0; k < 997; ++k) PushUndo(kUndoMove, 0);
    NetObjects[0][kX] = 1;
  }
  ASSERT_TRUE(UndoLastStep().undone);
  EXPECT_EQ(ModelSnapshot::Take(), before);

  {
    EditStep step;
    for (int k = 0; k < 998; ++k) PushUndo(kUndoMove, 0);
    NetObjects[0][kX] = 1;
  }
  const auto changed = ModelSnapshot::Take();
  const int pos = UndoPos;
  const UndoOutcome r = UndoLastStep();
  EXPECT_FALSE(r.undone);
  EXPECT_EQ(r.message, "Cannot undo last step because buffer capacity was overspent");
  EXPECT_EQ(ModelSnapshot::Take(), changed);
  EXPECT_EQ(UndoPos, pos);
}

TEST(UndoRing, ReplayStopsAfterOnePassOverTheRing) {
  test::FreshModel fresh;
  BuildDrawing();
  // Serials alike everywhere with only the newest entry live: nothing ends the walk but its bound.
  for (auto& e : UndoRing) e = {7, 0, 0, 0, 0, 0, 0, 0, 0};
  UndoRing[500] = {7, kUndoMove, 0, 0, 11, 12, 0, 1, 0};
  UndoPos = 501;
  EXPECT_TRUE(UndoLastStep().undone);
  EXPECT_EQ(NetObjects[0][kX], 11);
}

TEST(UndoRing, RecordingIgnoresRowsAndSlotsOutOfRange) {
  test::FreshModel fresh;
  BuildDrawing();
  NetObjects[0][kInst] = 9;  // not a satellite slot
  for (auto [kind, index] : std::vector<std::pair<int, int>>{{kUndoMove, -1},
                                                             {kUndoDelete, static_cast<int>(NetObjects.size())},
                                                             {kUndoAdded, 100000},
                                                             {kUndoLnbHeader, 0},
                                                             {kUndoLnbCarriers, 0},
                                                             {kUndoTerrHeader, 4},
                                                             {kUndoTerrHeader, -1},
                                                             {kUndoTerrChannels + 4, 0},
                                                             {10, 0},
                                                             {0, 0}}) {
    PushUndo(kind, index);
    ASSERT_EQ(UndoPos, 0) << kind << " " << index;
  }
  EXPECT_FALSE(UndoEnabled());
}

TEST(UndoRing, EditStepAdvancesTheSerialOnEveryPath) {
  test::FreshModel fresh;
  auto command = [](bool cancel) {
    EditStep step;
    if (cancel) return;
    PushUndo(kUndoMove, 0);
  };
  command(true);
  EXPECT_EQ(EditSerial, 2);
  command(false);
  command(false);
  EXPECT_EQ(EditSerial, 4);
  EXPECT_EQ(UndoRing[0][kUndoSerial], 2);
  EXPECT_EQ(UndoRing[1][kUndoSerial], 3);
}

}  // namespace
}  // namespace kavrix
