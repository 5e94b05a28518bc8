#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "catalogue/geometry.hpp"
#include "editor/panel_widgets.hpp"
#include "model/project_options.hpp"
#include "panel_fixture.hpp"

namespace kavrix {
namespace {

using test::ModelState;
using test::PlaceDefault;
using test::UndoEntries;

struct InlineEditors : test::PanelTest {
  // Drawing point of knob (dx, dy) of `row`, turned with the object.
  Point KnobPoint(int row, int dx, int dy) {
    const ObjRow& o = NetObjects[static_cast<std::size_t>(row)];
    const Point p = Rotated(o[kOrient], dx, dy);
    return {o[kX] + p.x, o[kY] + p.y};
  }
  bool OpenKnob(int row, int dx, int dy) {
    const Point p = KnobPoint(row, dx, dy);
    return f().OpenObjectEditor(row, p.x, p.y);
  }
};

TEST_F(InlineEditors, DoubleClickIsIgnoredInNavigationOrWhileAnEditorIsOpenAndOnEmptyCanvasOnlyEnds) {
  ObjectCount = 0;
  CurObject = 4;
  PickOffset = {5, 5};
  Form1Tag = 1;
  f().Tag = kCanvasNavigation;
  f().FormDblClick(nullptr);
  EXPECT_EQ(CurObject, 4);
  EXPECT_EQ(Form1Tag, 1);
  f().Tag = kCanvasIdle;
  InlineEdit = 1;
  f().FormDblClick(nullptr);
  EXPECT_EQ(CurObject, 4);

  // Nothing under the pointer: the pick-up of the first click is undone and the state restored.
  InlineEdit = 0;
  ClickMode = 1;
  PendingKind = 7;
  PanelOpen = 1;
  f().FormDblClick(nullptr);
  EXPECT_EQ(CurObject, ObjectCount);
  EXPECT_EQ(PickOffset, (IntPoint{0, 0}));
  EXPECT_EQ(PendingKind, 0);
  EXPECT_EQ(PanelOpen, 0);
  EXPECT_EQ(Form1Tag, 1) << "the main window goes back to the state of the first click";
  EXPECT_EQ(InlineEdit, 0);
}

TEST_F(InlineEditors, DispatchOpensTheEditorOfTheKindAndZone) {
  const int plain = PlaceDefault(1, 100, 100);
  EXPECT_FALSE(Open(plain));
  EXPECT_EQ(InlineEdit, 0);
  const int obsolete = test::AddObject(62, 100, 300);
  EXPECT_FALSE(Open(obsolete)) << "a switch whose symbol shows no knob";

  // The 16-channel converter's attenuator knob sits at its centre: stepper and panel together.
  const int converter = PlaceDefault(60, 300, 300);
  EXPECT_TRUE(Open(converter));
  EXPECT_TRUE(Shown(f().UpDown1));
  EXPECT_TRUE(Shown(f().Panel11));
  EXPECT_EQ(SelObject, converter);
  EXPECT_EQ(InlineEdit, 1);
  f().Button12Click();
  f().UpDown1->hide();
  EXPECT_TRUE(Open(converter, 30, 30));
  EXPECT_FALSE(Shown(f().UpDown1)) << "elsewhere on the symbol only the panel";
  f().Button12Click();

  // A knob kind clicked beside its knobs selects the row and opens nothing.
  const int cascade = PlaceDefault(31, 500, 300);
  SelObject = -1;
  EXPECT_FALSE(Open(cascade, 45, 45));
  EXPECT_EQ(SelObject, cascade);

  // Sources open only inside their zone.
  const int lnb = test::PlaceLnb(600, 500);
  EXPECT_FALSE(Open(lnb, 50, 0));
  EXPECT_TRUE(Open(lnb, 45, 25));
  EXPECT_TRUE(Shown(f().Panel1));
  f().Button1Click();
  const int uhf = test::PlaceAntenna(93, 200, 500);
  EXPECT_FALSE(Open(uhf, 0, -15));
  EXPECT_TRUE(Open(uhf, 0, 40));
  EXPECT_TRUE(Shown(f().Panel1));
}

TEST_F(InlineEditors, CableEditorSitsAtTheLineAndListsTheCableNames) {
  const int line = PlaceDefault(201, 200, 200);
  NetObjects[line + 1][1] = 40;  // the first leg runs down
  const int fiber = PlaceDefault(205, 400, 200);
  NetObjects[fiber][kOrient] = 2;
  NetObjects[fiber + 1][2] = -30;
  const int socket = PlaceDefault(210, 600, 200);
  NetObjects[socket][kOrient] = 2;
  // Painting may bring the scroll position back into the window's ranges; each opening below
  // starts from the same scroll.
  auto scrolled = [] {
    ScrollX = 100;
    ScrollY = 50;
  };

  scrolled();
  ASSERT_TRUE(Open(line));
  EXPECT_EQ(f().Edit1->pos(), QPoint(200 - 15 - 100, 200 - 5 + 15 - 50));
  EXPECT_EQ(f().ComboBox1->pos(), QPoint(f().Edit1->x(), f().Edit1->y() - 20));
  EXPECT_EQ(f().Edit1->text(), "3");
  ASSERT_EQ(f().ComboBox1->count(), 5);
  EXPECT_EQ(f().ComboBox1->itemText(0).toStdString(), OptionControls.RfGrid[1].type);
  EXPECT_EQ(f().ComboBox1->currentIndex(), 0);
  f().CommitCableEditor();

  scrolled();
  ASSERT_TRUE(Open(fiber));
  EXPECT_EQ(f().Edit1->pos(), QPoint(400 - 13 - 23 - 100, 200 - 6 - 50));
  EXPECT_EQ(f().ComboBox1->itemText(4).toStdString(), OptionControls.FiberGrid[5].type);
  f().CommitCableEditor();

  scrolled();
  ASSERT_TRUE(Open(socket));
  EXPECT_EQ(f().Edit1->pos(), QPoint(600 - 10 - 100, 200 - 10 - 50));
  test::SaveShot(Form5, "inline_cable_editor", QRect(450, 90, 140, 90));
}

TEST_F(InlineEditors, LengthTextStaysAWholeNonNegativeNumber) {
  const int line = PlaceDefault(201, 200, 200);
  ASSERT_TRUE(Open(line));
  QLineEdit* e = f().Edit1;
  e->setText("12.7");
  EXPECT_EQ(e->text(), "12");
  e->setText("8,5.2");
  EXPECT_EQ(e->text(), "8");
  e->setText("x");
  EXPECT_EQ(e->text(), "0");
  e->setText("25");
  e->setText("-5");
  EXPECT_EQ(e->text(), "25") << "a pasted negative length is refused";
  e->setText("99999999999");
  EXPECT_EQ(e->text(), "0") << "beyond the Integer range counts as not a number";
}

TEST_F(InlineEditors, EnterCommitsLengthAndCableKindAsOneUndoStep) {
  const int line = PlaceDefault(201, 200, 200);
  const ModelState before;
  ASSERT_TRUE(Open(line));
  const int serial = EditSerial;
  f().Edit1->setText("17");
  f().ComboBox1->setCurrentIndex(2);
  test::PressKey(f().Edit1, Qt::Key_Return);

  EXPECT_FALSE(Shown(f().Edit1));
  EXPECT_FALSE(Shown(f().ComboBox1));
  EXPECT_EQ(NetObjects[line][kInst], 17);
  EXPECT_EQ(NetObjects[line][kStyle], 3);
  EXPECT_EQ(CurCableKind, 3);
  EXPECT_EQ(InlineEdit, 0);
  EXPECT_TRUE(ProjectModified);
  EXPECT_EQ(EditSerial, serial + 1);
  ASSERT_EQ(UndoEntries(), 1);
  EXPECT_EQ(UndoRing[0][kUndoKindField], kUndoInlineEdit);
  UndoLastStep();
  EXPECT_EQ(ModelState(), before);

  // Enter with nothing changed still ends the command, without an undo entry.
  ProjectModified = false;
  ASSERT_TRUE(Open(line));
  test::PressKey(f().ComboBox1, Qt::Key_Return);
  EXPECT_FALSE(Shown(f().Edit1));
  EXPECT_EQ(EditSerial, serial + 2);
  EXPECT_EQ(UndoEntries(), 0);
  EXPECT_TRUE(ProjectModified);
}

TEST_F(InlineEditors, CommentEditorHidesThePlaceholderAndCommitsOnEnter) {
  ItemTexts[3] = "Double click and enter a text";
  const int comment = test::AddObject(100, 300, 300, 3);
  ASSERT_TRUE(Open(comment));
  EXPECT_TRUE(f().Memo1->toPlainText().isEmpty());
  EXPECT_EQ(f().Memo1->pos(), QPoint(300 - 60, 300 - 15));
  f().Memo1->setPlainText(QString(120, 'a'));
  EXPECT_EQ(f().Memo1->toPlainText().size(), 100) << "a comment holds at most 100 characters";
  // "Riser A: žė € 5" came back from the 8-bit project file as "Riser A: ž? € 5", without a word.
  f().Memo1->setPlainText("Riser A: žė € 5");
  test::SaveShot(Form5, "inline_comment_editor", QRect(220, 265, 260, 90));
  test::PressKey(f().Memo1, Qt::Key_Return);
  EXPECT_EQ(ItemTexts[3], "Riser A: ž € 5");
  EXPECT_EQ(Messages(), std::vector<std::string>{"The project file cannot keep these characters, so they were left out: \"ė\""});
  EXPECT_FALSE(Shown(f().Memo1));
  EXPECT_EQ(InlineEdit, 0);
  EXPECT_TRUE(ProjectModified);
  EXPECT_FALSE(Glyph(comment).empty());

  // An emptied comment stays empty; the placeholder is not put back.
  ASSERT_TRUE(Open(comment));
  f().Memo1->clear();
  test::PressKey(f().Memo1, Qt::Key_Return);
  EXPECT_EQ(ItemTexts[3], "");

  NetObjects[comment][kInst] = 500;  // a damaged text index opens nothing
  EXPECT_FALSE(Open(comment));
}

TEST_F(InlineEditors, StepperShowsEachKnobInItsScale) {
  const int k131 = PlaceDefault(131, 200, 300);
  NetObjects[k131 + 1][3] = 2;
  ASSERT_TRUE(OpenKnob(k131, -40, -35));
  EXPECT_EQ(f().UpDown1Tag, 13);
  EXPECT_EQ(f().Label2->text(), "8");
  const Point p = KnobPoint(k131, -40, -35);
  EXPECT_EQ(f().UpDown1->pos(), QPoint(p.x - 8, p.y - 5));
  EXPECT_EQ(f().Label2->pos(), QPoint(p.x - 8, p.y - 18));
  test::SaveShot(Form5, "inline_knob_stepper", QRect(p.x - 40, p.y - 40, 80, 80));
  f().UpDown1Exit();
  f().UpDown1->hide();

  struct Case {
    int kind, dx, dy, offset, field, value;
    const char* text;
  } cases[] = {{108, 10, -30, 1, 2, 2, "6"}, {101, 22, 17, 2, 5, 2, "12"}, {101, -58, 17, 2, 3, 2, "5"},
               {141, 60, 5, 0, 3, -4, "1"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    const int row = PlaceDefault(c.kind, 600, 300);
    NetObjects[row + c.offset][c.field] = c.value;
    ASSERT_TRUE(OpenKnob(row, c.dx, c.dy));
    EXPECT_EQ(f().Label2->text(), c.text);
    f().UpDown1Exit();
    f().UpDown1->hide();
  }

  // Turned objects turn their knobs: a cascade at orientation 2.
  const int cascade = PlaceDefault(31, 400, 400);
  NetObjects[cascade][kOrient] = 2;
  ASSERT_TRUE(f().OpenObjectEditor(cascade, 400 - 15, 400 + 20));
  EXPECT_EQ(f().UpDown1Tag, 12);
}

TEST_F(InlineEditors, InvertedRangesCountTheOtherWay) {
  const int k44 = PlaceDefault(44, 300, 300);
  ASSERT_TRUE(OpenKnob(k44, -25, 0));
  f().UpDown1Stepper->stepUp();
  EXPECT_EQ(f().UpDown1Stepper->position(), -1);
  EXPECT_EQ(f().Label2->text(), "-1");
  f().UpDown1Stepper->stepDown();
  f().UpDown1Stepper->stepDown();
  EXPECT_EQ(f().UpDown1Stepper->position(), 0) << "kept inside 0..-20";
  f().UpDown1Exit();
  f().UpDown1->hide();

  const int k60 = PlaceDefault(60, 600, 300);
  ASSERT_TRUE(Open(k60));
  EXPECT_EQ(f().UpDown1Stepper->position(), 10);
  f().UpDown1Stepper->stepUp();
  EXPECT_EQ(f().UpDown1Stepper->position(), 9);
}

TEST_F(InlineEditors, StepperStoresAChangeAsOneSettingsUndoEntry) {
  const int row = PlaceDefault(50, 300, 300);
  const ModelState before;
  const int serial = EditSerial;

  ASSERT_TRUE(OpenKnob(row, -40, 10));  // 1.1
  f().UpDown1Exit();
  EXPECT_EQ(UndoEntries(), 0) << "closing without a change records nothing";
  EXPECT_EQ(EditSerial, serial);
  EXPECT_EQ(InlineEdit, 0);
  f().UpDown1->hide();

  ASSERT_TRUE(OpenKnob(row, -40, 10));
  const QImage glyph = Glyph(row).image();
  f().UpDown1Stepper->stepDown();
  f().UpDown1Stepper->stepDown();
  f().UpDown1Exit();
  f().UpDown1Exit();  // a second exit after the first stores nothing
  EXPECT_EQ(NetObjects[row + 1][1], -2);
  EXPECT_EQ(EditSerial, serial + 1);
  ASSERT_EQ(UndoEntries(), 1);
  EXPECT_EQ(UndoRing[0][kUndoKindField], kUndoSettings);
  EXPECT_EQ(UndoRing[0][kUndoIndex], row + 1) << "the row that holds the field";
  EXPECT_TRUE(ProjectModified);
  EXPECT_NE(Glyph(row).image(), glyph) << "the label shows the new setting";
  UndoLastStep();
  EXPECT_EQ(ModelState(), before);
}

TEST_F(InlineEditors, StepperStoresAValueItHadToBringIntoRange) {
  // A setting outside the knob's range (a damaged file) is shown clamped; storing the clamped
  // value is a change and can be undone.
  const int row = PlaceDefault(141, 300, 300);
  NetObjects[row][kInst] = 7;
  ASSERT_TRUE(OpenKnob(row, 60, 5));
  EXPECT_EQ(f().UpDown1Stepper->position(), 0);
  test::PressKey(f().UpDown1, Qt::Key_Return);
  EXPECT_FALSE(Shown(f().UpDown1));
  EXPECT_FALSE(Shown(f().Label2));
  EXPECT_EQ(NetObjects[row][kInst], 0);
  ASSERT_EQ(UndoEntries(), 1);
  UndoLastStep();
  EXPECT_EQ(NetObjects[row][kInst], 7);
}

TEST_F(InlineEditors, KnobWithoutItsSettingsRowOpensNothing) {
  const int row = test::AddObject(50, 300, 300);  // no continuation rows
  EXPECT_FALSE(Open(row, -40, 10));
  EXPECT_FALSE(Shown(f().UpDown1));
}

}  // namespace
}  // namespace kavrix
