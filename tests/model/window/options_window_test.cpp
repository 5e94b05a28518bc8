#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QTableWidget>
#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <cmath>

#include "model/network_model.hpp"
#include "model/number_text.hpp"
#include "model/project_options.hpp"
#include "model/source_tables.hpp"
#include "model/window/options_window.hpp"
#include "reports/price_window.hpp"
#include "support/app_guard.hpp"

namespace kavrix {
namespace {

class OptionsWindowTest : public ::testing::Test {
 protected:
  test::AppFixture app;
  platform::ScriptedPlatform& ui() { return app.ui.fake; }
  void SetCell(QTableWidget* g, int row, int col, const char* text) { g->item(row - 1, col - 1)->setText(text); }
  QString Cell(QTableWidget* g, int row, int col) { return g->item(row - 1, col - 1)->text(); }
};

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
  Form3->Button1Click();
  EXPECT_DOUBLE_EQ(SatSocketLoss, 0.25);
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
  g->setCurrentCell(1, 2);
  g->editItem(g->item(1, 2));
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

// Answers every real message box the window opens, the way a user presses Enter on it.
class MessageBoxAnswerer {
 public:
  MessageBoxAnswerer() : m_prev(platform::Install(&m_qt)) {
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        texts.push_back(box->text().toStdString());
        QTest::keyClick(box, Qt::Key_Return);
      }
    });
    m_timer.start(10);
  }
  ~MessageBoxAnswerer() { platform::Install(m_prev); }
  std::vector<std::string> texts;

 private:
  platform::QtPlatform m_qt;
  platform::Platform* m_prev;
  QTimer m_timer;
};

TEST_F(OptionsWindowTest, BadKeyInRfCellShowsOneMessageAndKeepsTheProgramUp) {
  // The message box took the focus from the cell editor, which then committed the bad text,
  // asked a second time and wrote into the editor the box's event loop had already deleted.
  Form3->show();
  QApplication::setActiveWindow(Form3);
  ASSERT_TRUE(QTest::qWaitForWindowActive(Form3));
  QTableWidget* g = Form3->StringGrid1;
  g->setFocus();
  g->setCurrentCell(0, 1);
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
  g->setCurrentCell(2, 1);
  g->editItem(g->item(2, 1));
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

  // A file may still carry one: leaving the grid treats it as empty.
  SetCell(g, 4, 2, "-0.14");
  SetCell(g, 5, 3, "1e300");
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
  ui().colors.push_back(0x00123456);
  Form3->Panel1Click();
  EXPECT_EQ(CanvasColor, 0x00123456);
}

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

TEST_F(OptionsWindowTest, DesignatorsOffRecomposesSymbolsBeforeLabels) {
  test::AddObject(131, 100, 100);
  test::AddContinuation();
  test::AddObject(210, 300, 100);
  std::vector<std::string> calls;
  Hooks().makeObjectGlyph = [&](int r) { calls.push_back("glyph " + std::to_string(r)); };
  Hooks().drawObjectLabels = [&](int r) { calls.push_back("labels " + std::to_string(r)); };
  Form3->CheckBox2->setChecked(true);
  EXPECT_EQ(calls, (std::vector<std::string>{"labels 0", "labels 2"}));
  calls.clear();
  Form3->CheckBox2->setChecked(false);
  EXPECT_EQ(calls, (std::vector<std::string>{"glyph 0", "glyph 2", "labels 0", "labels 2"}));
}

}  // namespace
}  // namespace kavrix
