// The canvas window driven by real pointer, wheel and key events on the shown main window.
#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <QWindow>

#include "catalogue/type_catalogue.hpp"
#include "editor/canvas_fixture.hpp"
#include "editor/help_pictures.hpp"
#include "model/source_tables.hpp"
#include "simulation/window/analyzer_window.hpp"
#include "symbols/object_glyphs.hpp"

namespace kavrix {
namespace {

class CanvasWindowTest : public test::CanvasTest {
 protected:
  void SetUp() override {
    Form1->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form1));
    Form5->VertScrollRange = 5000;
    Form5->HorzScrollRange = 5000;
    Form5->Repaint();
  }

  QPoint Global(QPoint p) const { return Form5->mapToGlobal(p); }

  void Move(QPoint p, Qt::MouseButtons held = Qt::NoButton) {
    const QPoint g = Global(p);
    ui().cursorX = g.x();
    ui().cursorY = g.y();
    QMouseEvent e(QEvent::MouseMove, p, g, Qt::NoButton, held, Qt::NoModifier);
    QCoreApplication::sendEvent(Form5, &e);
  }
  void Press(QPoint p, Qt::MouseButton b = Qt::LeftButton) {
    QMouseEvent e(QEvent::MouseButtonPress, p, Global(p), b, b, Qt::NoModifier);
    QCoreApplication::sendEvent(Form5, &e);
  }
  void Release(QPoint p, Qt::MouseButton b = Qt::LeftButton) {
    QMouseEvent e(QEvent::MouseButtonRelease, p, Global(p), b, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(Form5, &e);
  }
  void Drag(QPoint from, QPoint to) {
    Press(from);
    Move(to, Qt::LeftButton);
  }
  void Key(int key) {
    QTest::keyPress(Form5, static_cast<Qt::Key>(key));
    QTest::keyRelease(Form5, static_cast<Qt::Key>(key));
  }
  void Wheel(int angle) {
    const QPoint p(200, 200);
    QWheelEvent e(p, Global(p), QPoint(), QPoint(0, angle), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(Form5, &e);
  }

  // An armed object as a palette command leaves it: its row at CurObject, PendingKind set.
  int Arm(int kind, std::initializer_list<int> bends = {}) {
    const int row = CurObject;
    test::AddObject(kind, 0, 0, 1, 1, 0);
    if (bends.size() > 0) {
      std::vector<int> b(bends);
      b.resize(5);
      test::AddContinuation(b[0], b[1], b[2], b[3], b[4]);
    }
    if (kind < 200 || kind == 210) RebuildObjectGlyph(row);
    CurObject = row;
    PendingKind = static_cast<uint8_t>(kind);
    return row;
  }

  static std::vector<QString> VisibleItems() {
    std::vector<QString> items;
    for (QAction* a : Form5->PopupMenu1->actions())
      if (a->isVisible()) items.push_back(a->text());
    return items;
  }
};

TEST_F(CanvasWindowTest, SelectionRectangleNeedsHeightToStartAndWidthToStay) {
  Drag({100, 100}, {150, 108});  // 50 wide, 8 high
  EXPECT_EQ(Form5->Tag, kCanvasIdle);
  Release({150, 108});
  EXPECT_EQ(Form5->Tag, kCanvasIdle);

  Drag({100, 100}, {108, 150});  // 8 wide, 50 high
  EXPECT_EQ(Form5->Tag, kCanvasSelecting);
  Release({108, 150});
  EXPECT_EQ(Form5->Tag, kCanvasIdle);

  Form5->VertScrollBar->setValue(40);
  Drag({200, 160}, {100, 100});  // dragged up and left
  EXPECT_EQ(Form5->Tag, kCanvasSelecting);
  EXPECT_EQ(SelFrame, (FrameRect{100, 100, 200, 160})) << "framed in client coordinates";
  Release({100, 100});
  EXPECT_EQ(Form5->Tag, kCanvasSelected);
  EXPECT_EQ(SelRect, (SelectionRect{100, 200, 140, 200})) << "normalised, in canvas coordinates";

  // Pressing inside the made selection keeps it.
  Press({150, 120});
  EXPECT_EQ(SelRect.Left, 100);
  EXPECT_EQ(SelRect.Top, 140);
}

TEST_F(CanvasWindowTest, PopupMenuOffersWhatFitsThePointUnderIt) {
  const int row = test::AddObject(131, 300, 300, 0, 1, 0);
  RebuildObjectGlyph(row);

  Press({600, 500}, Qt::RightButton);  // nothing there
  EXPECT_FALSE(Form5->PopupMenu1->isVisible());

  Press({300, 300}, Qt::RightButton);
  ASSERT_TRUE(Form5->PopupMenu1->isVisible());
  EXPECT_EQ(SelObject, row);
  EXPECT_EQ(VisibleItems(), (std::vector<QString>{"Delete", "Rotate"}));
  EXPECT_TRUE(Form5->Rotate1->isEnabled());
  EXPECT_EQ(Form5->PopupMenu1->pos(), Global({340, 220}));
  const QList<QAction*> turns = Form5->Rotate1->menu()->actions();
  ASSERT_EQ(turns.size(), 2);
  EXPECT_EQ(turns[0], Form5->N1);
  EXPECT_TRUE(Form5->N1->text().isEmpty() && !Form5->N1->icon().isNull());
  EXPECT_TRUE(Form5->N2->text().isEmpty() && !Form5->N2->icon().isNull());
  Form5->PopupMenu1->hide();

  // A made selection: inside it the menu acts on the selection, outside there is none.
  Form5->Tag = kCanvasSelected;
  SelRect = {250, 350, 250, 350};
  Press({500, 300}, Qt::RightButton);
  EXPECT_FALSE(Form5->PopupMenu1->isVisible());
  Press({300, 300}, Qt::RightButton);
  ASSERT_TRUE(Form5->PopupMenu1->isVisible());
  EXPECT_EQ(VisibleItems(), (std::vector<QString>{"Delete", "Copy", "Move"}));
  Form5->Copy1->trigger();
  EXPECT_EQ(CopyNotMove, 1);
  Form5->Move1->trigger();
  EXPECT_EQ(CopyNotMove, 0);
  Form5->PopupMenu1->hide();

  // While a property editor is open the menu stays shut.
  Form5->Tag = kCanvasIdle;
  Form1Tag = kMainInlineEditor;
  Press({300, 300}, Qt::RightButton);
  EXPECT_FALSE(Form5->PopupMenu1->isVisible());
}

// A press on a control of the canvas that the control has no use for (a panel's caption or
// frame) used to reach the canvas as a press on the drawing under it: it started a selection
// there, and a right press opened the menu of the object below the panel.
TEST_F(CanvasWindowTest, PointerPressesOnAPanelStayWithThePanel) {
  const int row = test::AddObject(131, 300, 300, 0, 1, 0);
  RebuildObjectGlyph(row);
  QFrame panel(Form5);
  panel.setGeometry(300, 300, 150, 100);  // over the lower right of the object
  QLabel caption("Channel", &panel);
  caption.move(40, 40);
  panel.show();
  SelRect = {};
  QTest::mousePress(&caption, Qt::LeftButton, {}, QPoint(10, 5));
  QTest::mouseRelease(&caption, Qt::LeftButton, {}, QPoint(10, 5));
  EXPECT_EQ(SelRect, SelectionRect{});
  QTest::mousePress(&caption, Qt::RightButton, {}, QPoint(10, 5));
  EXPECT_FALSE(Form5->PopupMenu1->isVisible());

  // Beside the panel the drawing takes the pointer as before.
  Press({600, 500});
  EXPECT_EQ(SelRect.Left, ScrollX + 600);
  Release({600, 500});
  Press({290, 290}, Qt::RightButton);
  EXPECT_TRUE(Form5->PopupMenu1->isVisible());
  Form5->PopupMenu1->hide();
}

TEST_F(CanvasWindowTest, ArmedObjectFollowsThePointerSnappedToTheGrid) {
  GridStep = 10;
  const int row = Arm(131);
  PickOffset = {0, 0};
  Form5->HorzScrollBar->setValue(100);
  Move({25, 35});  // halves go to the even multiple: 20 and 40
  EXPECT_EQ(NetObjects[row][kX], 120);
  EXPECT_EQ(NetObjects[row][kY], 40);
  PickOffset = {7, -3};
  Move({44, 36});
  EXPECT_EQ(NetObjects[row][kX], 100 + 40 - 7);
  EXPECT_EQ(NetObjects[row][kY], 40 + 3);
  EXPECT_EQ(MouseX, 100 + 40) << "the pointer itself, snapped";
  EXPECT_EQ(MouseY, 40);
}

TEST_F(CanvasWindowTest, BendsOfATrunkLineFollowThePointerAndShortLegsCollapse) {
  const int row = Arm(201, {0, 0, 0, 0, 11});
  NetObjects[row][kX] = 100;
  NetObjects[row][kY] = 100;
  ExtraAngles = 1;
  Move({135, 300});
  EXPECT_EQ(NetObjects[row + 1][1], 200);
  EXPECT_EQ(NetObjects[row + 1][2], 0) << "a 35-pixel leg of a 5-cable trunk collapses";
  EXPECT_FALSE(Form5->Label15->isHidden()) << "the bend hint shows for a leg over 30";

  NetObjects[row][kKind] = 202;
  PendingKind = 202;
  Move({135, 300});
  EXPECT_EQ(NetObjects[row + 1][2], 35) << "a 4-cable trunk keeps it";

  ExtraAngles = 2;  // odd orientation: the second bend moves the horizontal leg and the next one
  Move({185, 360});
  EXPECT_EQ(NetObjects[row + 1][2], 85);
  EXPECT_EQ(NetObjects[row + 1][3], 60);
  ExtraAngles = 3;
  Move({225, 380});
  EXPECT_EQ(NetObjects[row + 1][3], 80);
  EXPECT_EQ(NetObjects[row + 1][4], 40);
  EXPECT_TRUE(Form5->Label15->isHidden());
}

TEST_F(CanvasWindowTest, PointerNearAnEdgeScrollsByGridStepsEachTick) {
  Arm(131);
  const int H = Form5->ClientHeight(), W = Form5->ClientWidth();
  Form5->VertScrollBar->setValue(500);
  Form5->HorzScrollBar->setValue(500);
  Move({10, H - 4});
  EXPECT_EQ(AutoScrollDY, 4);
  EXPECT_EQ(AutoScrollDX, -2);
  EXPECT_TRUE(Form5->Timer1->isActive());
  EXPECT_EQ(Form5->Timer1->interval(), 50);
  Form5->Timer1Timer();
  EXPECT_EQ(Form5->VertScrollBar->value(), 500 + 4 * 5);
  EXPECT_EQ(Form5->HorzScrollBar->value(), 500 - 2 * 5);

  Move({W / 2, 2});
  EXPECT_EQ(AutoScrollDY, -2) << "the top edge has no fast step";
  Move({W - 3, H / 2});
  EXPECT_EQ(AutoScrollDX, 4);
  Move({30, H / 2});
  EXPECT_EQ(AutoScrollDX, 0);
  EXPECT_EQ(AutoScrollDY, 0);
  EXPECT_TRUE(Form5->Timer1->isActive()) << "exactly 30 from the left edge leaves the timer on";
  Move({W / 2, H / 2});
  EXPECT_FALSE(Form5->Timer1->isActive());

  Move({W - 3, H / 2});
  Release({W - 3, H / 2});
  EXPECT_FALSE(Form5->Timer1->isActive()) << "releasing a button stops it";

  PendingKind = 0;  // nothing placed, dragged or moved: no auto-scroll
  Move({10, H - 4});
  EXPECT_EQ(AutoScrollDY, 0);
  EXPECT_FALSE(Form5->Timer1->isActive());
}

TEST_F(CanvasWindowTest, WheelNotchScrollsFourGridSteps) {
  Form5->VertScrollBar->setValue(100);
  Wheel(-120);
  EXPECT_EQ(Form5->VertScrollBar->value(), 120);
  EXPECT_EQ(ScrollY, 120);
  Wheel(60);  // half a notch waits for the other half
  EXPECT_EQ(Form5->VertScrollBar->value(), 120);
  Wheel(60);
  EXPECT_EQ(Form5->VertScrollBar->value(), 100);
}

TEST_F(CanvasWindowTest, ScrollBarsFollowTheRangesAndScrollPositionsSnap) {
  Form5->HorzScrollRange = Form5->ClientWidth() + 300;
  Form5->VertScrollRange = Form5->ClientHeight() + 100;
  Form5->Repaint();
  EXPECT_EQ(Form5->HorzScrollBar->maximum(), 300);
  EXPECT_EQ(Form5->VertScrollBar->maximum(), 100);
  EXPECT_EQ(Form5->HorzScrollBar->singleStep(), 5);
  EXPECT_EQ(Form5->VertScrollBar->singleStep(), 20);
  Form5->HorzScrollBar->setValue(263);
  EXPECT_EQ(ScrollX, 265);
  Form5->HorzScrollBar->setValue(1000);
  EXPECT_EQ(ScrollX, 300) << "clamped to the range";
}

TEST_F(CanvasWindowTest, ShiftChangesTheRouteStyleOfAnArmedTrunkLine) {
  const int row = Arm(201, {0, 0, 0, 0, 11});
  std::vector<int> styles;
  for (int i = 0; i < 4; ++i) {
    Key(Qt::Key_Shift);
    styles.push_back(NetObjects[row + 1][5]);
  }
  EXPECT_EQ(styles, (std::vector<int>{22, 11, 22, 11}));
  ExtraAngles = 1;  // with bends only the end arrangement changes
  Key(Qt::Key_Shift);
  EXPECT_EQ(NetObjects[row + 1][5], 12);
  Key(Qt::Key_Shift);
  EXPECT_EQ(NetObjects[row + 1][5], 11);
  NetObjects[row + 1][5] = 21;
  Key(Qt::Key_Shift);
  EXPECT_EQ(NetObjects[row + 1][5], 22);
  Key(Qt::Key_Shift);
  EXPECT_EQ(NetObjects[row + 1][5], 21);
  EXPECT_EQ(Form5->Tag, kCanvasIdle);

  // Anything else armed, or nothing: Shift switches the navigation view.
  PendingKind = 0;
  Key(Qt::Key_Shift);
  EXPECT_EQ(Form5->Tag, kCanvasNavigation);
  EXPECT_TRUE(Form5->HorzScrollBar->isHidden());
  Key(Qt::Key_Shift);
  EXPECT_EQ(Form5->Tag, kCanvasIdle);
  EXPECT_FALSE(Form5->HorzScrollBar->isHidden());
}

TEST_F(CanvasWindowTest, SpaceAddsBendsAndTheFourthFinishesTheLine) {
  Arm(203, {0, 0, 0, 0, 3});
  ExtraAngles = 1;
  Form5->Label15->show();
  std::vector<int> seen;
  for (int i = 0; i < 3; ++i) {
    Key(Qt::Key_Space);
    seen.push_back(ExtraAngles);
    if (ExtraAngles == 3) {
      EXPECT_TRUE(Form5->Label15->isHidden());
    }
  }
  EXPECT_EQ(seen, (std::vector<int>{2, 3, 0})) << "the fourth bend is a click, then the count starts again";
  PendingKind = 131;  // not a line: Space adds nothing
  Key(Qt::Key_Space);
  EXPECT_EQ(ExtraAngles, 0);
}

TEST_F(CanvasWindowTest, CtrlIsHeldOnlyWhileMovingAndEnterClosesHints) {
  Form5->Tag = kCanvasMoving;
  QTest::keyPress(Form5, Qt::Key_Control);
  EXPECT_EQ(CtrlDown, 1);
  QTest::keyRelease(Form5, Qt::Key_Control);
  EXPECT_EQ(CtrlDown, 0);
  QTest::keyPress(Form5, Qt::Key_Control);
  Key(Qt::Key_A);
  EXPECT_EQ(CtrlDown, 0) << "any other key";
  Form5->Tag = kCanvasIdle;
  QTest::keyPress(Form5, Qt::Key_Control);
  EXPECT_EQ(CtrlDown, 0);

  Form5->Label14->show();
  Form5->Label15->show();
  InlineEdit = 1;
  Key(Qt::Key_Return);
  EXPECT_TRUE(Form5->Label14->isHidden());
  EXPECT_TRUE(Form5->Label15->isHidden());
  EXPECT_EQ(InlineEdit, 0);
}

// A key that a field on the canvas has no use for comes on to the canvas. A Shift typed for a
// capital letter in such a field used to switch the navigation view.
TEST_F(CanvasWindowTest, KeysTypedIntoAFieldOnTheCanvasStayWithIt) {
  QLineEdit field(Form5);
  field.show();
  Form1->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
  field.setFocus();
  ASSERT_EQ(QApplication::focusWidget(), &field);
  QTest::keyPress(&field, Qt::Key_Shift);
  QTest::keyClicks(&field, "A");
  QTest::keyRelease(&field, Qt::Key_Shift);
  QTest::keyClick(&field, Qt::Key_F1);
  EXPECT_EQ(field.text(), "A");
  EXPECT_EQ(Form5->Tag, kCanvasIdle);
  EXPECT_FALSE(Form5->HorzScrollBar->isHidden());

  // Enter, which commits the editors, still reaches the canvas.
  Form5->Label14->show();
  InlineEdit = 1;
  QTest::keyClick(&field, Qt::Key_Return);
  EXPECT_EQ(InlineEdit, 0);
  EXPECT_TRUE(Form5->Label14->isHidden());
  field.hide();

  // The comment editor opened by a double click: a capital letter typed into it.
  ItemTexts[3] = "x";
  const int comment = test::AddObject(100, 300, 300, 3);
  RebuildObjectGlyph(comment);
  Move({300, 300});
  Press({300, 300});
  Release({300, 300});
  QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(300, 300), QPointF(Global({300, 300})), Qt::LeftButton,
                  Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(Form5, &dbl);
  Release({300, 300});
  ASSERT_FALSE(Form5->Memo1->isHidden());
  ASSERT_EQ(QApplication::focusWidget(), Form5->Memo1);
  Form5->Memo1->clear();
  QTest::keyPress(Form5->Memo1, Qt::Key_Shift);
  QTest::keyClicks(Form5->Memo1, "Riser A");
  QTest::keyRelease(Form5->Memo1, Qt::Key_Shift);
  EXPECT_EQ(Form5->Tag, kCanvasIdle);
  QTest::keyClick(Form5->Memo1, Qt::Key_Return);
  EXPECT_TRUE(Form5->Memo1->isHidden());
  EXPECT_EQ(ItemTexts[3], "Riser A");
  EXPECT_EQ(Form5->Tag, kCanvasIdle);
}

TEST_F(CanvasWindowTest, F1ShowsTheHelpPictureOfTheComponentUnderThePointer) {
  const int row = test::AddObject(131, 300, 300, 0, 1, 0);
  RebuildObjectGlyph(row);
  test::AddObject(210, 600, 300, 5, 1, 1);
  RebuildObjectGlyph(row + 1);
  Form5->HorzScrollBar->setValue(50);
  Move({260, 310});  // canvas (310, 310)
  QTest::keyPress(Form5, Qt::Key_F1);
  ASSERT_FALSE(Form5->HelpImage->isHidden());
  EXPECT_EQ(Form5->HelpRow, row);
  EXPECT_EQ(Form5->HelpImage->pos(), QPoint(300 - 100 - 50, 300 - 100));
  const QImage& picture = Form5->HelpImages.at(TypeOf(131)[kHelpPicture]);
  EXPECT_EQ(Form5->HelpImage->size(), picture.size());
  EXPECT_TRUE(Form5->grab().save(ArtifactPath("canvas_help_picture.png")));
  QTest::keyRelease(Form5, Qt::Key_F1);
  EXPECT_TRUE(Form5->HelpImage->isHidden());

  QTest::keyPress(Form5, Qt::Key_F1);
  Move({550, 300});  // the TV socket has no help of its own on the canvas
  QTest::keyPress(Form5, Qt::Key_F1);
  EXPECT_TRUE(Form5->HelpImage->isHidden());
  Move({50, 50});  // nothing
  QTest::keyPress(Form5, Qt::Key_F1);
  EXPECT_TRUE(Form5->HelpImage->isHidden());
}

// The list holds 108 pictures, numbers 0..107. One kind of the catalogue used to carry help
// number 108, which only a list grown past that size could show.
TEST(HelpPictures, EveryHelpNumberOfTheCatalogueHasADecodedPicture) {
  HelpPictureList list;
  ASSERT_EQ(list.count(), 108);
  for (const TypeRecord& t : TypeCatalogue) {
    const int n = t[kHelpPicture];
    if (n <= 0) continue;
    ASSERT_LT(n, list.count());
    const QImage& picture = list.at(n);
    ASSERT_FALSE(picture.isNull()) << n;
    EXPECT_GE(picture.width(), 200) << n;
    EXPECT_LE(picture.width(), 400) << n;
  }
  EXPECT_FALSE(list.at(TypeOf(61)[kHelpPicture]).isNull());
  EXPECT_EQ(list.at(0), list.at(43)) << "entry 0 repeats picture 43";
  EXPECT_TRUE(list.at(108).isNull());
  EXPECT_TRUE(list.at(-1).isNull());
  EXPECT_TRUE(list.at(1).isNull()) << "a number no kind uses";
  EXPECT_TRUE(DecodeJpeg(QByteArray("not a picture at all")).isNull());
  EXPECT_TRUE(DecodeJpeg(QByteArray("\xFF\xD8\xFF\xE0", 4)).isNull()) << "a cut-off file";
}

TEST_F(CanvasWindowTest, CaptionShowsInTheFramesTitleBar) {
  QWindow* frame = Form1->windowHandle();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->title(), "Kavrix_v4.4.1 - [New Network]");
  Open("lines_sockets.stn");
  EXPECT_EQ(Form5->windowTitle(), "lines_sockets.stn");
  EXPECT_EQ(frame->title(), "Kavrix_v4.4.1 - [lines_sockets.stn]");
  EXPECT_EQ(Form1->windowTitle(), "Kavrix_v4.4.1") << "the main window's own caption is unchanged";
}

// The road a new user takes: File > Open of a fixture shows its network, and a wheel notch
// moves all of it up by four grid steps.
TEST_F(CanvasWindowTest, AnOpenedNetworkIsVisibleAndScrolls) {
  ui().files.push_back(platform::FileDialogResult{std::string(KAVRIX_TEST_DATA) + "/tap_riser.stn", 1});
  Form1->Open1->trigger();
  ASSERT_EQ(NetObjects[0][kKind], 91);
  ASSERT_GT(Form5->VertScrollBar->maximum(), 20) << "the drawing reaches below the window";
  const QRect client(0, 0, Form5->ClientWidth(), Form5->ClientHeight());
  Form5->Repaint();
  const QImage before = Form5->grab(client).toImage();
  EXPECT_TRUE(before.save(ArtifactPath("canvas_opened.png")));
  const QPoint lnb(NetObjects[0][kX], NetObjects[0][kY]);
  EXPECT_NE(FromRgb(before.pixel(lnb)), Background()) << "the LNB's symbol is on screen";

  Wheel(-120);
  ASSERT_EQ(ScrollY, 20);
  const QImage after = Form5->grab(client).toImage();
  const int h = client.height() - 20;
  EXPECT_EQ(after.copy(0, 0, client.width(), h), before.copy(0, 20, client.width(), h));
}

TEST_F(CanvasWindowTest, MainWindowWithAnAnalysedNetworkForReview) {
  Open("tap_riser.stn");
  Form1->ToolButton5->trigger();
  ASSERT_EQ(Form1Tag, kMainLevelsShown);
  Form4->hide();
  Form5->Timer2Timer();
  const QImage shot = Form1->grab().toImage();
  EXPECT_TRUE(shot.save(ArtifactPath("canvas_main_window.png")));
  const QPoint origin = Form5->mapTo(Form1, QPoint(0, 0));
  // The drawing is on screen: the LNB's symbol sits at its row's point.
  EXPECT_NE(shot.pixel(origin + QPoint(NetObjects[0][kX], NetObjects[0][kY])) & 0xFFFFFF, 0xFEFEE9u);
}

}  // namespace
}  // namespace kavrix
