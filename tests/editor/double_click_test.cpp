// Editors opened by real double clicks on placed objects of the shown canvas.
#include <algorithm>
#include <vector>

#include <QComboBox>
#include <QRect>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include "app/main_window.hpp"
#include "catalogue/knob_table.hpp"
#include "catalogue/type_catalogue.hpp"
#include "model/undo_ring.hpp"
#include "editor/panel_widgets.hpp"
#include "panel_fixture.hpp"

namespace kavrix {
namespace {

using test::PlaceDefault;

class DoubleClick : public test::PanelTest {
 protected:
  void SetUp() override {
    PanelTest::SetUp();
    Form1->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form1));
    Form5->VertScrollRange = 3000;
    Form5->HorzScrollRange = 3000;
    Form5->Repaint();
  }
};

TEST_F(DoubleClick, OpensTheEditorsOfTheObjectUnderThePointer) {
  const int converter = PlaceDefault(60, 300, 250);
  const int modulator = PlaceDefault(96, 600, 250);
  Form5->Repaint();

  DoubleClickAt(300, 250);
  EXPECT_TRUE(Shown(f().UpDown1));
  EXPECT_TRUE(Shown(f().Panel11));
  EXPECT_EQ(SelObject, converter);
  EXPECT_EQ(InlineEdit, 1);
  EXPECT_EQ(PendingKind, 0) << "the first click's pick-up is undone";
  EXPECT_EQ(PanelOpen, 0);
  EXPECT_EQ(Form1Tag, kMainEditing);

  // The first click of a double click elsewhere commits the stepper; the converter's panel stays.
  DoubleClickAt(600, 250);
  EXPECT_FALSE(Shown(f().Panel12)) << "no second editor while one is open";
  EXPECT_FALSE(Shown(f().UpDown1));
  EXPECT_TRUE(Shown(f().Panel11));
  f().Button12Click();

  DoubleClickAt(300, 250);
  f().UpDown1Stepper->stepUp();
  test::PressKey(Form5, Qt::Key_Return);
  EXPECT_FALSE(Shown(f().UpDown1));
  EXPECT_EQ(NetObjects[converter][kInst], 9);
  f().Button12Click();

  DoubleClickAt(600 + 20, 250);
  EXPECT_TRUE(Shown(f().Panel12));
  EXPECT_EQ(SelObject, modulator);
  f().Button14Click();
  EXPECT_EQ(InlineEdit, 0);
}

TEST_F(DoubleClick, ConverterAttenuatorUpdatedInThePanelSurvivesTheStepperOpenedWithIt) {
  const int converter = PlaceDefault(60, 300, 250);
  Form5->Repaint();
  const test::ModelState before;
  const int serial = EditSerial;

  DoubleClickAt(300, 250);
  ASSERT_TRUE(Shown(f().UpDown1));
  ASSERT_TRUE(Shown(f().Panel11));
  f().ComboBox27->setCurrentIndex(20);
  QTest::mouseClick(f().Button13, Qt::LeftButton);
  EXPECT_EQ(NetObjects[converter][kInst], 20);

  // The next canvas click commits the stepper, which must not put the opening value back.
  const QPoint empty(700 - ScrollX, 500 - ScrollY);
  Send(QEvent::MouseButtonPress, empty, Qt::LeftButton);
  Send(QEvent::MouseButtonRelease, empty, Qt::NoButton);
  EXPECT_FALSE(Shown(f().UpDown1));
  EXPECT_EQ(NetObjects[converter][kInst], 20);
  EXPECT_EQ(EditSerial, serial + 1) << "one step for the Update";

  UndoLastStep();
  EXPECT_TRUE(test::ModelState() == before);
}

// Centre of the drawn knob dot nearest to glyph point (px, py), or (-1, -1) when none is near.
QPoint DrawnKnobCentre(const Bitmap& g, int px, int py) {
  QPoint seed(-1, -1);
  for (int d = 0; d <= 12 && seed.x() < 0; ++d)
    for (int y = py - d; y <= py + d && seed.x() < 0; ++y)
      for (int x = px - d; x <= px + d; ++x)
        if (g.pixel(x, y) == colors::kBlue) {
          seed = QPoint(x, y);
          break;
        }
  if (seed.x() < 0) return seed;
  QRect box(seed, seed);
  std::vector<QPoint> todo{seed};
  std::vector<QPoint> seen{seed};
  while (!todo.empty()) {
    const QPoint p = todo.back();
    todo.pop_back();
    box |= QRect(p, p);
    for (const QPoint n : {p + QPoint(1, 0), p - QPoint(1, 0), p + QPoint(0, 1), p - QPoint(0, 1)}) {
      if (g.pixel(n.x(), n.y()) != colors::kBlue || std::find(seen.begin(), seen.end(), n) != seen.end()) continue;
      seen.push_back(n);
      todo.push_back(n);
    }
  }
  return box.center();
}

TEST_F(DoubleClick, EachDrawnKnobOpensItsOwnStepper) {
  for (const int kind : {44, 77, 78, 79}) {
    NewNetworkModel();
    const int row = PlaceDefault(kind, 400, 300);
    Form5->Repaint();
    const Bitmap& g = ObjGlyphAt(row);
    const int left = 400 - g.width() / 2;
    const int top = 300 - g.height() / 2;
    const int first = TypeOf(kind)[kFirstKnob];
    for (int i = 0; i < KnobTable[first][kKnobCount]; ++i) {
      const KnobRecord& k = KnobTable[first + i];
      const QPoint dot = DrawnKnobCentre(g, g.width() / 2 + k[kKnobDx], g.height() / 2 + k[kKnobDy]);
      ASSERT_GE(dot.x(), 0) << "kind " << kind << " knob " << i << " is not drawn";
      DoubleClickAt(left + dot.x(), top + dot.y());
      EXPECT_TRUE(Shown(f().UpDown1)) << "kind " << kind << " knob " << i;
      EXPECT_EQ(f().UpDown1Tag, k[kKnobRowOffset] * 10 + k[kKnobColumn]) << "kind " << kind << " knob " << i;
      test::PressKey(Form5, Qt::Key_Return);
      ASSERT_FALSE(Shown(f().UpDown1));
    }
  }
}

TEST_F(DoubleClick, OnASocketOpensItsLengthEditorAndEnterStoresTheLength) {
  const int socket = PlaceDefault(210, 400, 200);
  Form5->Repaint();
  DoubleClickAt(400, 200);
  ASSERT_TRUE(Shown(f().Edit1));
  f().Edit1->selectAll();
  QTest::keyClicks(f().Edit1, "25");
  QTest::keyClick(f().Edit1, Qt::Key_Return);
  EXPECT_FALSE(Shown(f().Edit1));
  EXPECT_EQ(NetObjects[socket][kInst], 25);
  EXPECT_EQ(InlineEdit, 0);

  // A length typed with decimals keeps its whole metres; the fraction never joins them.
  DoubleClickAt(400, 200);
  ASSERT_TRUE(Shown(f().Edit1));
  f().Edit1->selectAll();
  QTest::keyClicks(f().Edit1, "12.75");
  EXPECT_EQ(f().Edit1->text(), "12");
  QTest::keyClick(f().Edit1, Qt::Key_Return);
  EXPECT_EQ(NetObjects[socket][kInst], 12);

  // Once the user edits on, digits count again.
  DoubleClickAt(400, 200);
  f().Edit1->selectAll();
  QTest::keyClicks(f().Edit1, "17,5");
  QTest::keyClick(f().Edit1, Qt::Key_Backspace);
  QTest::keyClicks(f().Edit1, "9");
  EXPECT_EQ(f().Edit1->text(), "19");
  QTest::keyClick(f().Edit1, Qt::Key_Return);
  EXPECT_EQ(NetObjects[socket][kInst], 19);
}

// The stepper's value lies over the symbol's text of the same setting; the old value must not
// show through the new one.
TEST_F(DoubleClick, KnobValueHidesTheSettingTextOfTheSymbol) {
  PlaceDefault(45, 400, 250);
  Form5->Repaint();
  DoubleClickAt(400 - 50, 250 + 5);  // the gain knob
  ASSERT_TRUE(Shown(f().UpDown1));
  ASSERT_TRUE(Shown(f().Label2));
  for (int step = 0; step < 3; ++step) {
    f().UpDown1Stepper->stepDown();
    const QImage shown = Form5->grab(f().Label2->geometry()).toImage().convertToFormat(QImage::Format_RGB32);
    const QImage own = f().Label2->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown, own) << "at " << f().Label2->text().toStdString();
  }
  test::PressKey(Form5, Qt::Key_Return);
}

TEST_F(DoubleClick, OnAnLnbOpensTheSourcePanel) {
  const int lnb = test::PlaceLnb(400, 200);
  Form5->Repaint();
  DoubleClickAt(400 + 30, 200 + 5);
  ASSERT_TRUE(Shown(f().Panel1));
  EXPECT_EQ(f().StringGrid1Tag, lnb);
  f().Button1Click();
}

// On a small screen the canvas is lower than the source panel: the panel must still show the
// bottom of its channel grid, where the grid's scroll bar ends.
TEST_F(DoubleClick, SourcePanelFitsALowCanvas) {
  Form1->resize(1024, 560);
  QCoreApplication::processEvents();
  ASSERT_LT(Form5->ClientHeight(), 500);
  const int lnb = test::PlaceLnb(400, 200);
  LnbParams[NetObjects[lnb][kInst]][0][4] = 0;  // a plan entered by hand shows the grid
  Form5->Repaint();
  DoubleClickAt(400 + 30, 200 + 5);
  ASSERT_TRUE(Shown(f().Panel1));
  ASSERT_TRUE(f().StringGrid1View->isVisible());
  EXPECT_GE(f().Panel1->y(), 0);
  EXPECT_LE(f().Panel1->geometry().bottom(), Form5->ClientHeight() - 1);
  EXPECT_LE(f().StringGrid1View->geometry().bottom(), f().Panel1->height() - 1);
  EXPECT_GT(f().StringGrid1View->height(), 100);
  f().Button1Click();
}

TEST_F(DoubleClick, OpensNoSecondEditorWhileAPanelIsStillShown) {
  // Enter in a panel's field reaches the canvas, whose Enter ends the editing state although
  // the panel stays open; the panel must still be the only editor, or its Apply would store
  // into the object of the second one.
  const int converter = PlaceDefault(61, 300, 250);
  const int streamer = PlaceDefault(58, 600, 250);
  const ObjRow streamerRow = NetObjects[streamer];
  Form5->Repaint();
  DoubleClickAt(300, 250);
  ASSERT_TRUE(Shown(f().Panel10));
  f().Edit7->setFocus();
  QTest::keyClick(f().Edit7, Qt::Key_Return);
  ASSERT_TRUE(Shown(f().Panel10));

  DoubleClickAt(600, 250);
  EXPECT_FALSE(Shown(f().Panel9));
  f().UpDown6->stepUp();
  f().Button11Click();
  EXPECT_EQ(NetObjects[converter][kInst], 1);
  EXPECT_EQ(NetObjects[streamer], streamerRow);

  DoubleClickAt(600, 250);
  EXPECT_TRUE(Shown(f().Panel9)) << "once the panel is closed the next object opens";
  f().Button8Click();
}

}  // namespace
}  // namespace kavrix
