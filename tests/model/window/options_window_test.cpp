#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QLineEdit>
#include <QTableWidget>
#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <cmath>

#include "model/network_model.hpp"
#include "model/number_text.hpp"
#include "model/project_options.hpp"
#include "model/text_file.hpp"
#include "model/source_tables.hpp"
#include "app/main_window.hpp"
#include "editor/canvas_window.hpp"
#include "model/window/options_window.hpp"
#include "reports/price_window.hpp"
#include "support/app_guard.hpp"
#include "support/message_box_answerer.hpp"
#include "support/model_guard.hpp"
#include "symbols/canvas_surface.hpp"
#include "symbols/glyph_store.hpp"

namespace kavrix {
namespace {

// The program runs its windows in the symbol face at 8 points; the windows are laid out for it.
class ApplicationFont {
 public:
  ApplicationFont() : m_saved(QApplication::font()) { UseSymbolFontForApplication(8); }
  ~ApplicationFont() { QApplication::setFont(m_saved); }

 private:
  QFont m_saved;
};

class OptionsWindowTest : public ::testing::Test {
 protected:
  ApplicationFont font;
  test::AppFixture app;
  platform::ScriptedPlatform& ui() { return app.ui.fake; }
  // Rows and columns as the grids number them: row 1..5 under the header, column 0 "No:".
  void SetCell(QTableWidget* g, int row, int col, const char* text) { g->item(row - 1, col)->setText(text); }
  QString Cell(QTableWidget* g, int row, int col) { return g->item(row - 1, col)->text(); }
};

// Width the caption of a control needs, and the width it has for it.
std::pair<int, int> CaptionFit(const QWidget* w) {
  if (auto* l = qobject_cast<const QLabel*>(w)) return {l->sizeHint().width(), l->width()};
  if (auto* c = qobject_cast<const QCheckBox*>(w)) return {c->sizeHint().width(), c->width()};
  if (auto* b = qobject_cast<const QPushButton*>(w)) return {b->fontMetrics().horizontalAdvance(b->text()) + 8, b->width()};
  if (auto* g = qobject_cast<const QGroupBox*>(w)) return {g->fontMetrics().horizontalAdvance(g->title()) + 16, g->width()};
  return {0, 0};
}

std::string Name(const QWidget* w) {
  std::string n = w->metaObject()->className();
  if (auto* l = qobject_cast<const QLabel*>(w)) n += " \"" + l->text().toStdString() + "\"";
  if (auto* c = qobject_cast<const QAbstractButton*>(w)) n += " \"" + c->text().toStdString() + "\"";
  if (!w->objectName().isEmpty()) n += " " + w->objectName().toStdString();
  return n;
}

TEST_F(OptionsWindowTest, EveryControlFitsTheWindowBesideItsNeighbours) {
  // The grids ran over the check boxes below them, the RF grid hid row 5 behind a scroll bar,
  // captions were cut and the "No:" heading was missing.
  Form3->show();
  QCoreApplication::processEvents();
  const QRect window = Form3->rect();
  for (QWidget* parent : {static_cast<QWidget*>(Form3), static_cast<QWidget*>(Form3->findChild<QGroupBox*>()),
                          static_cast<QWidget*>(Form3->Panel1)}) {
    ASSERT_NE(parent, nullptr);
    std::vector<QWidget*> kids;
    for (QObject* o : parent->children())
      if (auto* w = qobject_cast<QWidget*>(o); w && !w->isWindow() && w->isVisibleTo(Form3)) kids.push_back(w);
    for (std::size_t i = 0; i < kids.size(); ++i) {
      const QRect r(kids[i]->mapTo(Form3, QPoint(0, 0)), kids[i]->size());
      EXPECT_TRUE(window.contains(r)) << Name(kids[i]) << " leaves the window";
      EXPECT_TRUE(QRect(QPoint(0, 0), parent->size()).contains(kids[i]->geometry())) << Name(kids[i]);
      const auto [needs, has] = CaptionFit(kids[i]);
      EXPECT_LE(needs, has) << Name(kids[i]) << " is cut";
      for (std::size_t j = i + 1; j < kids.size(); ++j)
        EXPECT_FALSE(kids[i]->geometry().intersects(kids[j]->geometry())) << Name(kids[i]) << " covers " << Name(kids[j]);
    }
  }
  for (QTableWidget* g : {Form3->StringGrid1, Form3->StringGrid2}) {
    EXPECT_FALSE(g->verticalScrollBar()->isVisible());
    EXPECT_FALSE(g->horizontalScrollBar()->isVisible());
    EXPECT_EQ(g->horizontalHeaderItem(0)->text(), "No:");
    EXPECT_EQ(g->item(4, 0)->text(), "5");
    int width = 0;
    for (int c = 0; c < g->columnCount(); ++c) {
      const QString head = g->horizontalHeaderItem(c)->text();
      EXPECT_LE(g->fontMetrics().horizontalAdvance(head) + 8, g->columnWidth(c)) << head.toStdString();
      width += g->columnWidth(c);
      for (int r = 0; r < g->rowCount(); ++r) {
        EXPECT_TRUE(g->viewport()->rect().contains(g->visualItemRect(g->item(r, c))))
            << g->objectName().toStdString() << " row " << r + 1 << " column " << c;
        EXPECT_LE(g->fontMetrics().horizontalAdvance(g->item(r, c)->text()) + 6, g->columnWidth(c));
      }
    }
    EXPECT_LE(width, g->viewport()->width());
  }

  // A picture of the window beside the test binary, for a look at it as a user would see it.
  const QString path = QDir(QCoreApplication::applicationDirPath()).filePath("options_window.png");
  EXPECT_TRUE(Form3->grab().save(path, "PNG"));
}

TEST_F(OptionsWindowTest, OpensClearOfTheMainWindowsMenu) {
  Form1->showMaximized();
  // The palette wraps its rows once the window has its size: wait until the drawing area stays put.
  int lastTop = -1, unchanged = 0;
  (void)QTest::qWaitFor([&] {
    const int top = Form1->centralWidget()->mapToGlobal(QPoint(0, 0)).y();
    unchanged = top == lastTop ? unchanged + 1 : 0;
    lastTop = top;
    return unchanged >= 5;
  });
  Form1->Options1Click();
  QCoreApplication::processEvents();
  const QRect menu(Form1->menuBar()->mapToGlobal(QPoint(0, 0)), Form1->menuBar()->size());
  EXPECT_FALSE(Form3->frameGeometry().intersects(menu));
  EXPECT_GE(Form3->frameGeometry().top(), Form1->centralWidget()->mapToGlobal(QPoint(0, 0)).y());
  // Where the user puts it, it stays.
  Form3->hide();
  Form3->move(20, 300);
  Form1->Options1Click();
  EXPECT_EQ(Form3->pos(), QPoint(20, 300));
}

TEST_F(OptionsWindowTest, LimitEditsAcceptIntegersOnly) {
  ProjectModified = false;
  Form3->Edit6->setText("");
  ASSERT_EQ(ui().messages.size(), 1u);
  EXPECT_EQ(ui().messages[0].text, "The value must be of an integer type number!");
  EXPECT_EQ(ui().messages[0].caption, "Error");
  EXPECT_EQ(Form3->Edit6->text(), "");
  EXPECT_TRUE(ProjectModified);

  Form3->Edit1->setText("8x");
  EXPECT_EQ(Form3->Edit1->text(), "8");
  EXPECT_EQ(OptionControls.Edit1, "8");
  EXPECT_EQ(ui().messages.size(), 2u);
}

TEST_F(OptionsWindowTest, RealEditsTakeACommaAsDecimalMark) {
  Form3->Edit4->setText("0,25");
  EXPECT_EQ(Form3->Edit4->text(), "0.25");
  EXPECT_TRUE(ui().messages.empty());
  EXPECT_EQ(OptionControls.Edit4, "0.25");
  Form3->Edit5->setText("");  // no value: the loss in use stays, and "Close" shows it again
  Form3->Button1Click();
  EXPECT_DOUBLE_EQ(SatSocketLoss, 0.25);
  EXPECT_EQ(Form3->Edit5->text(), "3");
  EXPECT_FALSE(Form3->isVisible());
}

TEST_F(OptionsWindowTest, LeavingTheCableGridsRepairsCellsAndSetsTheTables) {
  SetCell(Form3->StringGrid1, 1, 3, "4");
  SetCell(Form3->StringGrid1, 2, 3, "0");
  SetCell(Form3->StringGrid1, 3, 2, "");
  SetCell(Form3->StringGrid1, 4, 1, "Drop cable");
  Form3->StringGrid1Exit();
  EXPECT_NEAR(CableCoef[1], 0.135, 1e-12);
  EXPECT_EQ(Cell(Form3->StringGrid1, 2, 3), "1");
  EXPECT_NEAR(CableCoef[2], 0.21, 1e-12);
  EXPECT_EQ(Cell(Form3->StringGrid1, 3, 2), "0");
  EXPECT_EQ(CableCoef[3], 0.0);
  EXPECT_EQ(Form2->StringGrid2->item(CablePriceRow + 3, 0)->text(), "Drop cable");

  SetCell(Form3->StringGrid2, 2, 2, "-0.1");
  SetCell(Form3->StringGrid2, 2, 3, "0.9");
  SetCell(Form3->StringGrid2, 5, 1, "Outdoor");
  SetCell(Form3->StringGrid2, 3, 3, "0.5x");  // no number: its message, and the cell keeps its value
  EXPECT_EQ(Cell(Form3->StringGrid2, 3, 3), "0.55");
  Form3->StringGrid2Exit();
  EXPECT_EQ(Cell(Form3->StringGrid2, 2, 2), "0");
  EXPECT_EQ(FiberAtt[2][0], 0.0);
  EXPECT_DOUBLE_EQ(FiberAtt[2][1], 0.9);
  EXPECT_EQ(Form2->StringGrid2->item(CablePriceRow + 10, 0)->text(), "Outdoor");
}

TEST_F(OptionsWindowTest, RfNumberCellLosesAKeystrokeThatIsNoNumber) {
  SetCell(Form3->StringGrid1, 1, 2, "0.2x");
  EXPECT_EQ(ui().lastText(), "The value must be of a real type number!");
  EXPECT_EQ(Cell(Form3->StringGrid1, 1, 2), "0.2");
  EXPECT_EQ(OptionControls.RfGrid[1].first, "0.2");

  // Typed in the cell editor, each bad key goes at once; checking only the finished text
  // used to keep all but the last of several bad keys.
  QTableWidget* g = Form3->StringGrid1;
  Form3->show();
  g->setCurrentCell(1, 3);
  g->editItem(g->item(1, 3));
  auto* editor = g->findChild<QLineEdit*>();
  ASSERT_NE(editor, nullptr);
  editor->clear();
  for (const QChar c : QString("2x,y5")) {
    QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QCoreApplication::sendEvent(editor, &key);
  }
  EXPECT_EQ(editor->text(), "2,5");  // the check reads "," as a decimal mark but keeps it
  EXPECT_EQ(ui().messages.size(), 3u);
  g->setCurrentCell(0, 0);  // commits the editor
  EXPECT_EQ(OptionControls.RfGrid[2].second, "2,5");
}

using test::MessageBoxAnswerer;

TEST_F(OptionsWindowTest, BadKeyInRfCellShowsOneMessageAndKeepsTheProgramUp) {
  // The message box took the focus from the cell editor, which then committed the bad text,
  // asked a second time and wrote into the editor the box's event loop had already deleted.
  Form3->show();
  QApplication::setActiveWindow(Form3);
  ASSERT_TRUE(QTest::qWaitForWindowActive(Form3));
  QTableWidget* g = Form3->StringGrid1;
  g->setFocus();
  g->setCurrentCell(0, 2);
  {
    MessageBoxAnswerer boxes;
    for (const char c : std::string("0.2x")) QTest::keyClick(QApplication::focusWidget(), c);
    EXPECT_EQ(boxes.texts, std::vector<std::string>{"The value must be of a real type number!"});
  }
  QApplication::setActiveWindow(Form3);  // as the desktop does when the box has gone
  auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->text(), "0.2");
  QTest::keyClick(editor, '5');
  QTest::keyClick(editor, Qt::Key_Return);
  QCoreApplication::processEvents();  // the editor commits on a queued call
  EXPECT_EQ(Cell(g, 1, 2), "0.25");
  EXPECT_EQ(OptionControls.RfGrid[1].first, "0.25");
}

// A refused character opened a box while keys still came: the keys after it went to the box and
// the rest of the text was lost. And a cable or fiber name edited alone left the project unmarked.
using Place = std::tuple<QWidget* (*)(), std::string (*)(), const char*>;  // editor, what it keeps, file
class TypedText : public OptionsWindowTest, public ::testing::WithParamInterface<Place> {};
QWidget* Cell(QTableWidget* g, int col) { g->editItem(g->item(0, col)); return g->findChildren<QLineEdit*>().last(); }
QWidget* Comment() { Form5->OpenObjectEditor(test::AddObject(100, 0, 0, 3), 0, 0); return Form5->focusWidget(); }
TEST_P(TypedText, EveryKeyAfterARefusedCharacterCountsAndOneNoteFollowsTheCommit) {
  MessageBoxAnswerer boxes;
  QWidget* editor = std::get<0>(GetParam())();
  for (const QChar c : QString("ABжCD")) QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_unknown, c, Qt::NoModifier);
  EXPECT_TRUE(boxes.texts.empty()) << "no box while keys still come";
  QTest::keyClick(editor, Qt::Key_Return);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !boxes.texts.empty(); }, 5000)) << "a note after the commit";
  QTest::qWait(50);  // room for a second note, which must not come
  EXPECT_EQ(std::get<1>(GetParam())(), "ABCD");
  EXPECT_EQ(boxes.texts, std::vector<std::string>{CharsLeftOutMessage(std::get<2>(GetParam()), "ж")});
  EXPECT_TRUE(ProjectModified);
}
constexpr const char* kBoth = "project and price list files";
INSTANTIATE_TEST_SUITE_P(Places, TypedText, ::testing::Values(
    Place{Comment, [] { return ItemTexts[3]; }, "project file"},
    Place{[] { Form1->Billofmaterials1Click(); return Cell(Form2->StringGrid1, kPriceComment); },
          [] { return EstimateGrid.Rows[1][kPriceComment]; }, "project file"},
    Place{[] { return Cell(Form3->StringGrid1, 1); }, [] { return OptionControls.RfGrid[1].type; }, kBoth},
    Place{[] { return Cell(Form3->StringGrid2, 1); }, [] { return OptionControls.FiberGrid[1].type; }, kBoth}));

TEST_F(OptionsWindowTest, ValuesTheFileCannotHoldOrThatWouldAmplifyAreRefused) {
  // A loss of 3000000 was saved x1000 past the 32-bit record and came back as 0; 1e300 was
  // undefined; a negative dB/m made cables amplify. Each now keeps the value before it.
  Form3->show();
  QApplication::setActiveWindow(Form3);
  Form3->Edit4->setFocus();
  Form3->Edit4->selectAll();
  QTest::keyClicks(Form3->Edit4, "150");
  EXPECT_EQ(Form3->Edit4->text(), "15");
  EXPECT_EQ(ui().texts(), std::vector<std::string>{"The value must lie between 0 and 100!"});
  Form3->Edit5->setText("1e300");  // pasted
  EXPECT_EQ(Form3->Edit5->text(), "3");
  EXPECT_EQ(OptionControls.Edit5, "3");
  Form3->Button1Click();
  EXPECT_DOUBLE_EQ(SatSocketLoss, 15.0);
  EXPECT_DOUBLE_EQ(TerrSocketLoss, 3.0);

  Form3->Edit3->setText("3000000");
  EXPECT_EQ(Form3->Edit3->text(), "5");
  Form3->Edit3->setText("0");  // passes while typed ("0.5" starts so), refused on leaving
  const std::size_t shown = ui().messages.size();
  Form3->Edit3Exit();
  EXPECT_EQ(ui().messages.size(), shown + 1);
  EXPECT_EQ(ui().lastText(), "The value must lie between 0.001 and 1000!");
  EXPECT_EQ(PrintScale, 5.0);
  EXPECT_EQ(Form3->Edit3->text(), "5");

  Form3->show();  // "Close" hid it
  QTableWidget* g = Form3->StringGrid1;
  g->setCurrentCell(2, 2);
  g->editItem(g->item(2, 2));
  auto* editor = g->findChild<QLineEdit*>();
  ASSERT_NE(editor, nullptr);
  editor->selectAll();
  editor->insert("-0.2");  // pasted
  EXPECT_EQ(editor->text(), "0.18");
  EXPECT_EQ(ui().lastText(), "The value must lie between 0 and 100!");
  QTest::keyClick(editor, Qt::Key_Return);
  QCoreApplication::processEvents();
  Form3->StringGrid1Exit();
  EXPECT_NEAR(CableCoef[3], 0.18, 1e-12);

  SetCell(g, 4, 2, "-0.14");  // set as a whole, the cell keeps its value too
  EXPECT_EQ(Cell(g, 4, 2), "0.14");
  EXPECT_EQ(OptionControls.RfGrid[4].first, "0.14");

  // A file may still carry one: leaving the grid treats it as empty.
  OptionControls.RfGrid[4].first = "-0.14";
  OptionControls.RfGrid[5].second = "1e300";
  Form3->ShowValues();
  Form3->StringGrid1Exit();
  EXPECT_EQ(Cell(g, 4, 2), "0");
  EXPECT_EQ(CableCoef[4], 0.0);
  EXPECT_EQ(Cell(g, 5, 3), "1");
}

TEST_F(OptionsWindowTest, PrintScaleRescalesThePageTile) {
  PageWidthPx = 961;
  PageHeightPx = 1333;
  Form3->Edit3->setText("10");
  Form3->Edit3Exit();
  EXPECT_EQ(PrintScale, 10.0);
  EXPECT_EQ(PageWidthPx, RoundHalfEven(4805 / 10.0));  // 480.5 -> 480
  EXPECT_EQ(PageHeightPx, RoundHalfEven(6665 / 10.0));  // 666.5 -> 666

  Form3->Edit3->setText("0");  // refused: the tile would be infinite
  Form3->Edit3Exit();
  EXPECT_EQ(PrintScale, 10.0);
}

TEST_F(OptionsWindowTest, CanvasColourOnlyChangesWhenChosen) {
  const int before = CanvasColor;
  ui().colors.push_back(std::nullopt);
  Form3->Panel1Click();
  EXPECT_EQ(CanvasColor, before);
  EXPECT_FALSE(ProjectModified);
  ui().colors.push_back(0x00123456);
  Form3->Panel1Click();
  EXPECT_EQ(CanvasColor, 0x00123456);
  EXPECT_TRUE(ProjectModified);
}

enum class LeaveBy { CloseButton, TitleBar, Save };
class OptionsLeftTest : public OptionsWindowTest, public ::testing::WithParamInterface<LeaveBy> {};

TEST_P(OptionsLeftTest, WhatIsTypedCountsHoweverTheWindowIsLeft) {
  // Cells counted only when their grid lost the focus, a loss only through "Close"; run and Save kept the old.
  ProjectFileName = (app.dir.path() / "p.stn").string();
  Form3->Edit4->setText("5");
  EXPECT_DOUBLE_EQ(SatSocketLoss, 5.0);
  for (auto [g, row, col, text] : {std::tuple{Form3->StringGrid1, 1, 1, "Koax-A;"},
                                   {Form3->StringGrid1, 1, 2, "0.5"}, {Form3->StringGrid2, 2, 2, "0.9"}}) {
    Form3->show();
    g->editItem(g->item(row - 1, col));  // typed over, and left with the editor open
    QTest::keyClicks(g->findChildren<QLineEdit*>().last(), text);
    if (GetParam() == LeaveBy::CloseButton) QTest::mouseClick(Form3->Button1, Qt::LeftButton);
    else if (GetParam() == LeaveBy::TitleBar) Form3->windowHandle()->close();
    else Form1->Save1Click();
  }
  EXPECT_EQ(Form2->StringGrid2->item(CablePriceRow, 0)->text(), "Koax-A");
  EXPECT_EQ(ui().texts(), std::vector<std::string>{CharsLeftOutMessage("project and price list files", ";")});
  EXPECT_DOUBLE_EQ(CableCoef[1], 0.5);
  EXPECT_EQ(ProjectModified, GetParam() != LeaveBy::Save);
  ASSERT_TRUE(Form1->Save1Click());
  const std::string s = test::FileBytes(ProjectFileName);
  for (const char* line : {"\r\nKoax-A:0.5:1\r\n", "\r\nType 2:0.9:0.45\r\n", "\r\n2002  5000  3000  50  80   0\r\n"})
    EXPECT_NE(s.find(line), std::string::npos) << line;
}

INSTANTIATE_TEST_SUITE_P(Leaving, OptionsLeftTest, ::testing::Values(LeaveBy::CloseButton, LeaveBy::TitleBar, LeaveBy::Save));

TEST_F(OptionsWindowTest, ObsoleteSetIsBuiltAndReleasedOncePerChange) {
  int built = 0, released = 0;
  Hooks().createSwitchAmpGlyphs = [&] { ++built; };
  Hooks().releaseSwitchAmpGlyphs = [&] { ++released; };
  Form3->CheckBox3->setChecked(true);
  Form3->Button1Click();
  Form3->Button1Click();
  EXPECT_EQ(built, 1);
  EXPECT_TRUE(IncludeObsolete);
  Form3->CheckBox3->setChecked(false);
  Form3->Button1Click();
  Form3->Button1Click();
  EXPECT_EQ(released, 1);
  EXPECT_FALSE(IncludeObsolete);
  Form3->CheckBox3->setChecked(true);
  Form3->Button1Click();
  EXPECT_EQ(built, 2);
}

// Ticking "Show designators" drew no row number: the labels read a switch that the box never set.
TEST_F(OptionsWindowTest, DesignatorsComeAndGoWithTheBox) {
  Hooks().rowGlyphChanged(test::AddObject(131, 100, 100, 0, 3));  // a turned tap, as placed
  const QImage plain = ObjGlyphAt(0).image().copy();
  for (bool ticked : {true, false}) {
    QTest::mouseClick(Form3->CheckBox2, Qt::LeftButton);
    EXPECT_EQ(ObjGlyphAt(0).image() != plain, ticked);
  }
}

}  // namespace
}  // namespace kavrix
