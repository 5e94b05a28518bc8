// The canvas click on the shown windows: placing, picking up and putting down, moving and copying
// a selection, the in-place editors and the hand-over to the level display, each undone through
// the toolbar back to the exact earlier model.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStatusBar>

#include "catalogue/type_catalogue.hpp"
#include "editor/canvas_click.hpp"
#include "editor/click_fixture.hpp"
#include "editor/level_display.hpp"
#include "simulation/window/analyzer_window.hpp"
#include "symbols/glyph_store.hpp"

namespace kavrix {
namespace {

class CanvasClickTest : public test::ClickTest {
 protected:
  // Arms `kind` as its palette command does and clicks it down at (x, y); returns its row.
  int Place(int kind, int x, int y) {
    Form1->PlacementClick(kind);
    const int row = CurObject;
    ClickAt(x, y);
    return row;
  }
  // A selection rectangle dragged from one corner to the other.
  void Select(int x0, int y0, int x1, int y1) {
    DragTo(x0, y0, x1, y1);
    ASSERT_EQ(Form5->Tag, kCanvasSelected);
  }
  // The popup menu's Copy or Move on the selection, then a click inside it starts the drag.
  void StartSelectionDrag(QAction* choice, int x, int y) {
    Press(x, y, Qt::RightButton);
    ASSERT_TRUE(Form5->PopupMenu1->isVisible());
    choice->trigger();
    Form5->PopupMenu1->hide();
    ClickAt(x, y);
    ASSERT_EQ(Form5->Tag, kCanvasMoving);
  }
  static bool RowsBehindTableAreZero() {
    for (std::size_t r = static_cast<std::size_t>(CurObject); r < NetObjects.size(); ++r)
      if (NetObjects[r] != ObjRow{}) return false;
    return true;
  }
  static int Newest() { return NewestUndoEntry(); }
};

TEST_F(CanvasClickTest, PlacingCommitsEveryRowAsOneStepAndGrowsTheModel) {
  for (int i = 0; i < 5; ++i) Place(107, 100 + 60 * i, 100);
  ASSERT_EQ(CurObject, 5);
  const test::DrawingState before = test::DrawingState::Take();
  const std::size_t rows = NetObjects.size(), nodes = Nodes.size(), queue = ChainQueue.size();
  const int serial = EditSerial;
  const int pos = UndoPos;

  Form1->PlacementClick(53);  // an object with two settings rows
  ASSERT_EQ(ContinuationRows(CurObject), 2);
  ClickAt(400, 300);
  EXPECT_EQ(CurObject, 8);
  EXPECT_EQ(ObjectCount, 8);
  EXPECT_EQ(NetObjects[8], ObjRow{});
  EXPECT_EQ(NetObjects[5][kX], 400);
  EXPECT_EQ(NetObjects[5][kY], 300);
  EXPECT_EQ(NetObjects.size(), rows + 3) << "the free rows behind the table stay as many";
  EXPECT_EQ(ObjGlyphs.size(), NetObjects.size());
  EXPECT_EQ(ObjValues.size(), NetObjects.size());
  EXPECT_EQ(Nodes.size(), nodes + static_cast<std::size_t>(TypeOf(53)[kPaths]));
  EXPECT_EQ(NodeSpectra.size(), Nodes.size());
  EXPECT_EQ(ChainQueue.size(), queue + static_cast<std::size_t>(TypeOf(53)[kGroupsMinus1]));
  for (int k = 0; k < 3; ++k) {
    const UndoEntry& e = UndoRing[static_cast<std::size_t>(pos + k)];
    EXPECT_EQ(e[kUndoSerial], serial);
    EXPECT_EQ(e[kUndoKindField], kUndoAdded);
    EXPECT_EQ(e[kUndoIndex], 5 + k);
  }
  EXPECT_EQ(UndoPos, pos + 3);
  EXPECT_EQ(EditSerial, serial + 1);
  EXPECT_EQ(PendingKind, 0);
  EXPECT_TRUE(ProjectModified);

  Undo();
  EXPECT_EQ(test::DrawingState::Take(), before);

  // A socket adds a link row and no nodes; an LNB adds a node per band.
  const std::size_t links = Links.size();
  const std::size_t nodesBefore = Nodes.size();
  Place(210, 300, 400);
  EXPECT_EQ(Links.size(), links + 1);
  EXPECT_EQ(Nodes.size(), nodesBefore);
  Place(91, 500, 400);
  EXPECT_EQ(Nodes.size(), nodesBefore + 4);
}

TEST_F(CanvasClickTest, DoubleClickGivesOneClickOnly) {
  Form1->PlacementClick(152);
  DoubleClickAt(300, 300);  // its first click places the multiswitch
  EXPECT_EQ(CurObject, 1);
  EXPECT_EQ(PanelOpen, 0) << "a second click would have picked the multiswitch up";

  // A double click where a new line starts gives the line up whole: no uncommitted rows stay
  // behind the table, and no editor opens on them.
  const test::DrawingState placed = test::DrawingState::Take();
  Form1->PlacementClick(201);
  ClickAt(100, 100);
  ASSERT_EQ(ExtraAngles, 1);
  SecondClickAt(100, 100);
  EXPECT_EQ(PendingKind, 0);
  EXPECT_EQ(ExtraAngles, 0);
  EXPECT_TRUE(Form5->Edit1->isHidden());
  EXPECT_EQ(InlineEdit, 0);
  EXPECT_TRUE(RowsBehindTableAreZero());
  EXPECT_EQ(test::DrawingState::Take(), placed);
}

TEST_F(CanvasClickTest, PickedUpObjectFollowsThePointerAndPutsDownAsOneStep) {
  const int row = Place(152, 300, 300);
  const test::DrawingState placed = test::DrawingState::Take();

  ClickAt(312, 318);  // on the body, off its centre
  EXPECT_EQ(PanelOpen, 1);
  EXPECT_EQ(CurObject, row);
  EXPECT_EQ(PendingKind, 152);
  EXPECT_EQ(PickOffset, (IntPoint{10, 20}));
  MoveTo(412, 218);
  EXPECT_EQ(NetObjects[static_cast<std::size_t>(row)][kX], 400) << "the grab point stays under the pointer";
  const int serial = EditSerial;
  ClickAt(412, 218);
  EXPECT_EQ(PanelOpen, 0);
  EXPECT_EQ(PendingKind, 0);
  EXPECT_EQ(CurObject, ObjectCount);
  EXPECT_EQ(PickOffset, (IntPoint{}));
  EXPECT_EQ((std::array{NetObjects[static_cast<std::size_t>(row)][kX], NetObjects[static_cast<std::size_t>(row)][kY]}),
            (std::array{400, 200}));
  EXPECT_EQ(EditSerial, serial + 1);
  EXPECT_EQ(UndoRing[static_cast<std::size_t>(Newest())][kUndoKindField], kUndoLineDrag);

  Undo();
  EXPECT_EQ(test::DrawingState::Take(), placed);

  // Put down where it was: no entry, but the step still counts.
  const int pos = UndoPos;
  ClickAt(300, 300);
  ClickAt(300, 300);
  EXPECT_EQ(PanelOpen, 0);
  EXPECT_EQ(UndoPos, pos);
  EXPECT_EQ(EditSerial, serial + 2);
  EXPECT_EQ(test::DrawingState::Take(), placed);

  // Picked up off its centre, then a new network: the next object lands under the pointer.
  ClickAt(312, 318);
  ASSERT_NE(PickOffset, (IntPoint{}));
  ui().answers.push_back(platform::Answer::No);
  ASSERT_TRUE(Form1->Close1Click());
  const int fresh = Place(107, 500, 400);
  EXPECT_EQ((std::array{NetObjects[static_cast<std::size_t>(fresh)][kX], NetObjects[static_cast<std::size_t>(fresh)][kY]}),
            (std::array{500, 400}));
}

// A kind-79 amplifier short of a settings row showed the next object's, kept after that one moved.
TEST_F(CanvasClickTest, ASymbolShowsOnlyItsOwnObjectsValues) {
  Open("amplifiers.stn");
  int amp = 0;
  while (NetObjects[static_cast<std::size_t>(amp)][kKind] != 79) ++amp;
  const int next = amp + 1 + ContinuationRows(amp);
  const QImage shown = ObjGlyphAt(amp).image().copy();
  ClickAt(1000, 120);
  ClickAt(725, 630);
  ASSERT_EQ((std::array{NetObjects[next][kKind], NetObjects[next][kX]}), (std::array{80, 725}));
  Hooks().rowGlyphChanged(amp);  // composed afresh
  EXPECT_EQ(ObjGlyphAt(amp).image(), shown);
}

TEST_F(CanvasClickTest, PaletteCommandOrUndoPutsAPickedUpObjectBackWhole) {
  Place(91, 200, 100);
  const test::DrawingState lnbOnly = test::DrawingState::Take();
  const int ms = Place(152, 210, 300);
  // A 5-cable line from the LNB down to the multiswitch.
  Form1->PlacementClick(201);
  const int line = CurObject;
  ClickAt(210, 140);
  MoveTo(210, 240);
  ClickAt(210, 240);
  ASSERT_EQ(CurObject, line + 2);
  const test::DrawingState drawn = test::DrawingState::Take();

  // A device picked up and moved, then a palette command: it goes back, and the new object arms
  // behind the table.
  ClickAt(210, 300);
  ASSERT_EQ(CurObject, ms);
  MoveTo(500, 400);
  Form1->PlacementClick(107);
  EXPECT_EQ(PanelOpen, 0);
  EXPECT_EQ(PendingKind, 107);
  EXPECT_EQ(CurObject, ObjectCount);
  ClickAt(600, 300);
  Undo();
  EXPECT_EQ(test::DrawingState::Take(), drawn);

  // The line picked up and given a new start (one step), then a palette command: the whole line
  // comes back, bends and direction too.
  const int lx = NetObjects[static_cast<std::size_t>(line)][kX], ly = NetObjects[static_cast<std::size_t>(line)][kY];
  ClickAt(lx + 5, ly + 25);
  ASSERT_EQ(CurObject, line);
  ASSERT_EQ(PendingKind, 201);
  EXPECT_TRUE(Form5->Label14->isVisibleTo(Form5));
  MoveTo(505, 425);
  ClickAt(505, 425);
  EXPECT_EQ(ExtraAngles, 1);
  MoveTo(650, 600);
  Form1->PlacementClick(107);
  EXPECT_FALSE(Form5->Label14->isVisibleTo(Form5));
  Form1->PlacementClick(107);
  ClickAt(700, 300);
  Undo();
  EXPECT_EQ(test::DrawingState::Take(), drawn) << "placing undone; the line was put back as it was";
  Undo();
  EXPECT_EQ(test::DrawingState::Take(), drawn) << "the new start's step restores the same line";

  // Undo while an object is armed or picked up leaves no stray rows.
  Form1->PlacementClick(53);
  Undo();
  EXPECT_EQ(PendingKind, 0);
  EXPECT_TRUE(RowsBehindTableAreZero());
  EXPECT_EQ(CurObject, line);
  ClickAt(210, 300);
  ASSERT_EQ(PanelOpen, 1);
  MoveTo(400, 500);
  Undo();
  EXPECT_EQ(PanelOpen, 0);
  EXPECT_EQ(test::DrawingState::Take(), lnbOnly) << "put back where it was, then its placement undone";
  EXPECT_TRUE(RowsBehindTableAreZero());
}

TEST_F(CanvasClickTest, LineReRouteIsTwoStepsBackToTheSameLine) {
  Place(91, 200, 100);
  Place(152, 210, 300);
  Form1->PlacementClick(202);
  const int line = CurObject;
  ClickAt(210, 140);
  MoveTo(215, 240);
  ClickAt(215, 240);
  const test::DrawingState drawn = test::DrawingState::Take();

  // Picked up and re-routed from the same start: the end moves, which is still an edit.
  const int sx = NetObjects[static_cast<std::size_t>(line)][kX], sy = NetObjects[static_cast<std::size_t>(line)][kY];
  ClickAt(sx + 5, sy + 25);
  ASSERT_EQ(PendingKind, 202);
  MoveTo(sx + 5, sy + 25);
  ClickAt(sx + 5, sy + 25);  // start where it was
  MoveTo(sx + 200, sy + 60);
  ClickAt(sx + 200, sy + 60);
  EXPECT_EQ(PanelOpen, 0);
  EXPECT_NE(test::DrawingState::Take(), drawn);
  Undo();
  EXPECT_EQ(test::DrawingState::Take(), drawn);

  // A fibre keeps its bends in the row after it as every line does: re-routed, it comes back
  // with them.
  Form1->PlacementClick(205);
  const int fibre = CurObject;
  ClickAt(600, 100);
  MoveTo(600, 200);
  Key(Qt::Key_Space);
  MoveTo(700, 250);
  ClickAt(700, 250);
  const test::DrawingState withFibre = test::DrawingState::Take();
  ASSERT_EQ(NetObjects[static_cast<std::size_t>(fibre) + 1], (ObjRow{-1, 100, 100, 50, 0, 8}));
  ClickAt(600, 118);
  ASSERT_EQ(PendingKind, 205);
  MoveTo(800, 168);
  ClickAt(800, 168);
  MoveTo(850, 400);
  ClickAt(850, 400);
  ASSERT_NE(test::DrawingState::Take(), withFibre);
  Undo();
  EXPECT_EQ(test::DrawingState::Take(), withFibre);
}

// A single cable or fibre started on no terminal has no leg yet to take its orientation from: it
// keeps the one it was armed with, however many times the pointer moved (and the canvas repainted)
// before the start, so the same gestures always give the same route.
TEST_F(CanvasClickTest, AFreeStartedCableRoutesAlikeHoweverOftenThePointerMovedBefore) {
  for (int kind : {203, 205})
    for (int moves = 1; moves <= 3; ++moves) {
      SCOPED_TRACE(testing::Message() << "kind " << kind << ", " << moves << " moves");
      Form1->PlacementClick(kind);
      const int line = CurObject;
      const int y = 100 + 120 * moves, x = kind == 203 ? 200 : 600;
      for (int k = moves; k > 0; --k) MoveTo(x - 10 * k, y);
      ClickAt(x, y);
      MoveTo(x + 100, y + 80);
      ClickAt(x + 100, y + 80);
      ASSERT_EQ(PendingKind, 0);
      EXPECT_EQ(NetObjects[static_cast<std::size_t>(line)][kOrient], 1) << "vertical first, as armed";
      EXPECT_EQ(NetObjects[static_cast<std::size_t>(line) + 1][1], 80);
      EXPECT_EQ(NetObjects[static_cast<std::size_t>(line) + 1][2], 100);
    }
}

TEST_F(CanvasClickTest, SelectionCopyAndMoveUndoToTheExactModel) {
  Place(91, 200, 100);
  Place(152, 210, 300);
  Form1->PlacementClick(201);
  ClickAt(210, 140);
  MoveTo(210, 240);
  ClickAt(210, 240);
  Place(60, 420, 300);  // seventeen settings rows
  const test::DrawingState drawn = test::DrawingState::Take();

  Select(120, 50, 500, 400);
  StartSelectionDrag(Form5->Copy1, 300, 200);
  MoveTo(900, 200);
  ClickAt(900, 200);
  EXPECT_EQ(Form5->Tag, kCanvasIdle);
  EXPECT_EQ(SelRect, (SelectionRect{}));
  // Every object again, 600 to the right, with all its rows; the LNB in a slot of its own.
  const int n = drawn.curObject;
  ASSERT_EQ(CurObject, 2 * n);
  for (int r = 0; r < n; ++r) {
    ObjRow expect = drawn.rows[static_cast<std::size_t>(r)];
    if (expect[kKind] > 0) {
      expect[kX] += 600;
      if (expect[kKind] == 91) expect[kInst] = 1;
    }
    EXPECT_EQ(NetObjects[static_cast<std::size_t>(n + r)], expect) << "row " << n + r;
  }
  EXPECT_TRUE(SatUsed[1]);
  EXPECT_EQ(SatTables[1], SatTables[0]);
  EXPECT_FALSE(ObjGlyphAt(n).empty());
  EXPECT_EQ(Form5->HorzScrollRange, 3000);
  Undo();
  EXPECT_EQ(test::DrawingState::Take(), drawn);

  Select(120, 50, 500, 400);
  StartSelectionDrag(Form5->Move1, 300, 200);
  MoveTo(300, 350);
  ClickAt(300, 350);
  EXPECT_EQ(NetObjects[0][kY], 250);
  EXPECT_EQ(NetObjects[2][kY], 140 + 150) << "the line moves with its bends";
  EXPECT_EQ(NetObjects[3], drawn.rows[3]);
  Undo();
  EXPECT_EQ(test::DrawingState::Take(), drawn);

  // A move entered and committed with no pointer move between leaves everything in place, whatever
  // offset the last move had.
  Select(120, 50, 500, 400);
  StartSelectionDrag(Form5->Move1, 300, 200);
  Press(300, 200);
  Release(300, 200);
  EXPECT_EQ(Form5->Tag, kCanvasIdle);
  EXPECT_EQ(test::DrawingState::Take(), drawn);
}

// A committed move must leave every moved object within the scroll range, and a commit made after
// a save (the move was started before it) still counts as a change.
TEST_F(CanvasClickTest, MoveCommitReachesTheMovedObjectsAndMarksTheProjectModified) {
  Place(152, 300, 200);
  Place(152, 700, 400);
  Form5->HorzScrollRange = 1000;
  Form5->VertScrollRange = 700;
  Form5->SyncScrollBars();
  Select(200, 100, 800, 500);
  StartSelectionDrag(Form5->Move1, 300, 200);

  Form1->SaveActionUpdate();
  ui().files.push_back(platform::FileDialogResult{(app.dir.path() / "moved.stn").string(), 1});
  ClickWidget(CommandButton(Form1->SaveAction));
  ASSERT_FALSE(ProjectModified);
  ASSERT_EQ(Form5->Tag, kCanvasMoving);

  MoveTo(700, 350);
  ClickAt(700, 350);
  ASSERT_EQ(NetObjects[1][kX], 1100);
  ASSERT_EQ(NetObjects[1][kY], 550);
  EXPECT_EQ(Form5->HorzScrollRange, 1300) << "the object moved farthest right plus the margin";
  EXPECT_EQ(Form5->VertScrollRange, 750);
  EXPECT_TRUE(ProjectModified);
}

TEST_F(CanvasClickTest, CtrlKeepsTheSelectionAndSourceCopiesNeedFreeSlots) {
  Place(91, 100, 100);
  Place(91, 200, 100);
  Place(91, 600, 100);
  const test::DrawingState three = test::DrawingState::Take();

  Select(50, 50, 300, 200);
  StartSelectionDrag(Form5->Copy1, 150, 120);
  MoveTo(150, 320);
  QTest::keyPress(Form5, Qt::Key_Control);
  ClickAt(150, 320);
  EXPECT_EQ(CurObject, 4) << "the first copy takes the last slot, the second is dropped";
  EXPECT_EQ(NetObjects[3][kInst], 3);
  EXPECT_EQ(NetObjects[4], ObjRow{});
  ASSERT_EQ(ui().messages.size(), 1u);
  EXPECT_EQ(ui().messages[0].caption, "Note");
  EXPECT_EQ(ui().messages[0].text, kSourceCopyDroppedMessage);
  EXPECT_EQ(Form5->Tag, kCanvasMoving) << "Ctrl held: the same selection serves the next click";
  EXPECT_EQ(SelRect, (SelectionRect{50, 300, 50, 200}));
  QTest::keyRelease(Form5, Qt::Key_Control);
  Undo();
  EXPECT_EQ(test::DrawingState::Take(), three);

  // A click on the rectangle's edge neither starts a move nor ends the selection.
  Form5->Tag = kCanvasIdle;
  Select(50, 50, 300, 200);
  ClickAt(300, 150);
  EXPECT_EQ(Form5->Tag, kCanvasSelected);
  ClickAt(400, 150);
  EXPECT_EQ(Form5->Tag, kCanvasIdle);
}

// Each comment holds its own text: editing a copy leaves the text of the comment it was copied
// from as it was.
TEST_F(CanvasClickTest, ACopiedCommentGetsATextOfItsOwn) {
  const int comment = Place(100, 200, 150);
  auto writeComment = [this](int x, int y, const char* text) {
    DoubleClickAt(x, y);
    ASSERT_FALSE(Form5->Memo1->isHidden());
    QTest::keyClick(Form5->Memo1, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(Form5->Memo1, text);
    QTest::keyClick(Form5->Memo1, Qt::Key_Return);
    ASSERT_TRUE(Form5->Memo1->isHidden());
  };
  auto textOf = [](int row) { return ItemTexts[static_cast<std::size_t>(NetObjects[static_cast<std::size_t>(row)][kInst])]; };
  writeComment(200, 150, "Riser A");

  Select(50, 100, 350, 200);
  StartSelectionDrag(Form5->Copy1, 200, 150);
  MoveTo(200, 350);
  ClickAt(200, 350);
  const int copy = comment + 1;
  ASSERT_EQ(NetObjects[copy][kKind], 100);
  EXPECT_EQ(textOf(copy), "Riser A");
  writeComment(200, 350, "Riser B");
  EXPECT_EQ(textOf(comment), "Riser A");
  EXPECT_EQ(textOf(copy), "Riser B");
}

// A drag too flat to select leaves its rectangle behind unseen; the next drag starting inside it
// must still start where it is pressed, or the selection takes in objects the user left out.
TEST_F(CanvasClickTest, ASelectionStartsWherePressedAfterADragTooFlatToSelect) {
  Place(152, 150, 300);
  const int inside = Place(152, 400, 350);
  DragTo(100, 200, 600, 205);
  ASSERT_EQ(Form5->Tag, kCanvasIdle);
  Select(300, 203, 500, 420);
  EXPECT_EQ(SelRect, (SelectionRect{300, 500, 203, 420}));
  StartSelectionDrag(Form5->Move1, 400, 300);
  MoveTo(400, 400);
  ClickAt(400, 400);
  EXPECT_EQ(NetObjects[0][kY], 300) << "outside the dragged rectangle";
  EXPECT_EQ(NetObjects[static_cast<std::size_t>(inside)][kY], 450);
}

TEST_F(CanvasClickTest, ReleasingASelectionDragOverAnObjectSelectsAndPicksNothingUp) {
  Place(152, 300, 300);
  DragTo(100, 100, 300, 300);
  EXPECT_EQ(Form5->Tag, kCanvasSelected);
  EXPECT_EQ(PanelOpen, 0);
  EXPECT_EQ(PendingKind, 0);
}

TEST_F(CanvasClickTest, AfterARunBodiesArePickedUpAndOutletsAndPinsAreProbed) {
  // An LNB straight onto a socket through a single cable.
  Place(91, 300, 100);
  Form1->PlacementClick(203);
  ClickAt(290, 140);  // H-Lo under the arrangement "VLo HLo VHi HHi"
  MoveTo(290, 240);
  ClickAt(290, 240);
  const int socket = Place(210, 315, 240);
  Form4->move(2000, 2000);  // the Analyzer keeps clear of the drawing
  Form1->ToolButton5->trigger();
  ASSERT_EQ(Form1Tag, kMainLevelsShown);
  ASSERT_EQ(Links[0][7], socket);

  ClickAt(Links[0][3], Links[0][4]);  // the socket's satellite outlet, on its symbol
  EXPECT_EQ(PanelOpen, 0);
  EXPECT_EQ(Form1Tag, kMainLevelsShown);
  ASSERT_TRUE(LastProbePoint.has_value());
  EXPECT_EQ(LastProbePoint->X, Links[0][3]);
  EXPECT_GT(Form4->Chart1->pointCount(1), 0);

  // The Analyzer's refill shows the same point again, whatever is armed or under the pointer.
  Form1->PlacementClick(107);
  Form1->ToolButton5->trigger();
  ASSERT_EQ(Form1Tag, kMainLevelsShown);
  const int armed = CurObject;
  const ObjRow armedRow = NetObjects[static_cast<std::size_t>(armed)];
  MoveTo(300, 100);
  Form4->A1->trigger();
  EXPECT_EQ(PendingKind, 107) << "the refill places nothing";
  EXPECT_EQ(CurObject, armed);
  EXPECT_EQ(NetObjects[static_cast<std::size_t>(armed)], armedRow);
  EXPECT_EQ(LastProbePoint->X, Links[0][3]);
  Undo();  // gives up the armed object
  ASSERT_EQ(PendingKind, 0);
  ASSERT_EQ(CurObject, armed - 1) << "and undid the socket";

  Form1->ToolButton5->trigger();
  ClickAt(300, 100);  // the LNB's body
  EXPECT_EQ(PanelOpen, 1);
  EXPECT_EQ(Form1Tag, kMainEditing) << "the pick-up ends the display of levels";
  EXPECT_FALSE(Form5->Timer2->isActive());
}

TEST_F(CanvasClickTest, InPlaceEditorsCommitOnTheNextClick) {
  Form1->PlacementClick(203);
  ClickAt(100, 100);
  MoveTo(100, 200);
  ClickAt(100, 200);
  const int comment = Place(100, 400, 300);
  const test::DrawingState drawn = test::DrawingState::Take();
  auto doubleClickAt = [this](int x, int y) { DoubleClickAt(x, y); };

  doubleClickAt(105, 110);  // the line's length label
  ASSERT_FALSE(Form5->Edit1->isHidden());
  Form5->Edit1->setText("25");
  Form5->ComboBox1->setCurrentIndex(2);
  ClickAt(600, 450);
  EXPECT_TRUE(Form5->Edit1->isHidden());
  EXPECT_TRUE(Form5->ComboBox1->isHidden());
  EXPECT_EQ(InlineEdit, 0);
  EXPECT_EQ(NetObjects[0][kInst], 25);
  EXPECT_EQ(NetObjects[0][kStyle], 3);
  EXPECT_EQ(CurObject, drawn.curObject) << "the click placed and picked up nothing";
  EXPECT_EQ(PanelOpen, 0);
  Undo();
  EXPECT_EQ(test::DrawingState::Take(), drawn);

  doubleClickAt(400, 300);
  ASSERT_FALSE(Form5->Memo1->isHidden());
  Form5->Memo1->setPlainText("Riser A");
  ClickAt(600, 450);
  EXPECT_TRUE(Form5->Memo1->isHidden());
  EXPECT_EQ(ItemTexts[static_cast<std::size_t>(NetObjects[static_cast<std::size_t>(comment)][kInst])], "Riser A");
  EXPECT_EQ(InlineEdit, 0);
}

// A press outside a made selection used to move the rectangle's corner to it: the click then
// kept a selection the frame no longer showed, and Delete removed objects never selected.
struct OutsidePress {
  int x, y, grid;
  friend void PrintTo(const OutsidePress& p, std::ostream* os) { *os << '(' << p.x << ", " << p.y << ") grid " << p.grid; }
};
class ClickOutsideSelectionTest : public CanvasClickTest, public ::testing::WithParamInterface<OutsidePress> {};

TEST_P(ClickOutsideSelectionTest, EndsTheSelectionAndTheMenuActsOnTheObjectClicked) {
  GridStep = static_cast<uint8_t>(GetParam().grid);
  Place(107, 320, 360);
  Place(107, 370, 250);
  Select(300, 330, 400, 400);
  ClickAt(GetParam().x, GetParam().y);
  EXPECT_EQ(Form5->Tag, kCanvasIdle);
  EXPECT_EQ(SelRect, SelectionRect{});
  EXPECT_EQ(PanelOpen, 0) << "the click ends the selection and picks nothing up";
  Press(375, 260, Qt::RightButton);
  ASSERT_TRUE(Form5->PopupMenu1->isVisible());
  EXPECT_TRUE(Form5->Rotate1->isVisible()) << "the menu of one object, not of a selection";
  EXPECT_FALSE(Form5->Copy1->isVisible());
  Form5->PopupMenu1->hide();
}
// Above, left, right and below; some presses snap onto the frame's edge, which alone would not end it.
INSTANTIATE_TEST_SUITE_P(Sides, ClickOutsideSelectionTest,
                         ::testing::Values(OutsidePress{350, 200, 5}, OutsidePress{296, 360, 10},
                                           OutsidePress{404, 360, 10}, OutsidePress{350, 403, 5},
                                           OutsidePress{350, 326, 10}));

// Results of a run stayed on show after commands that change the drawing without a canvas click:
// marks of deleted sockets blinked on and the status bar kept the old supply current.
enum class EditCommand { kUndo, kDelete, kRotate, kCableEditor };
class EditEndsLevelDisplayTest : public CanvasClickTest, public ::testing::WithParamInterface<EditCommand> {};

TEST_P(EditEndsLevelDisplayTest, TheMarksStopAndTheSupplyCurrentGoes) {
  Place(91, 300, 100);
  Form1->PlacementClick(203);
  ClickAt(290, 140);
  MoveTo(290, 240);
  ClickAt(290, 240);
  Place(210, 315, 240);
  Form4->move(2000, 2000);
  Form1->ToolButton5->trigger();
  ASSERT_EQ(Form1Tag, kMainLevelsShown);
  ASSERT_TRUE(Form5->Timer2->isActive());
  ASSERT_NE(Form1->StatusBar1->currentMessage().trimmed(), "");

  const test::DrawingState analysed = test::DrawingState::Take();
  switch (GetParam()) {
    case EditCommand::kUndo:
      Undo();
      break;
    case EditCommand::kDelete:
    case EditCommand::kRotate:
      MoveTo(315, 240);
      Press(315, 240, Qt::RightButton);
      ASSERT_TRUE(Form5->PopupMenu1->isVisible());
      (GetParam() == EditCommand::kDelete ? Form5->Delete1 : Form5->N1)->trigger();
      Form5->PopupMenu1->hide();
      break;
    case EditCommand::kCableEditor:
      DoubleClickAt(295, 150);
      ASSERT_FALSE(Form5->Edit1->isHidden());
      Form5->Edit1->setText("40");
      QTest::keyClick(Form5->Edit1, Qt::Key_Return);
      break;
  }
  ASSERT_NE(test::DrawingState::Take(), analysed) << "the command changed the drawing";
  EXPECT_EQ(Form1Tag, kMainEditing);
  EXPECT_FALSE(Form5->Timer2->isActive());
  EXPECT_EQ(Form1->StatusBar1->currentMessage(), QString(kIdleStatusText));
}
INSTANTIATE_TEST_SUITE_P(Commands, EditEndsLevelDisplayTest,
                         ::testing::Values(EditCommand::kUndo, EditCommand::kDelete, EditCommand::kRotate,
                                           EditCommand::kCableEditor));

}  // namespace
}  // namespace kavrix
