#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "editor/panel_widgets.hpp"
#include "panel_fixture.hpp"

namespace kavrix {
namespace {

using test::ModelState;
using test::UndoEntries;

struct SourcePanel : test::PanelTest {
  // Edits a cell through the view, as typing into the grid does.
  void TypeSummary(int band, int row, const char* text) { f().StringGrid2View->item(row, band - 1)->setText(text); }
  void TypePlan(int col, int row, const char* text) { f().StringGrid1View->item(row - 1, col)->setText(text); }
  std::string Summary(int col, int row) { return f().StringGrid2.cell(col, row); }
  void UseTable() {
    ASSERT_TRUE(f().CheckBox1->isChecked());
    f().CheckBox1->click();
  }
};

TEST_F(SourcePanel, LnbOpensWithItsSlotAndAnUnchangedApplyLeavesNoTrace) {
  ScrollX = 20;
  ScrollY = 200;
  const int row = test::PlaceLnb(400, 300);
  const ModelState before;
  const int serial = EditSerial;
  ASSERT_TRUE(Open(row));

  EXPECT_TRUE(Shown(f().Panel1));
  for (QWidget* w : {static_cast<QWidget*>(f().Panel3), static_cast<QWidget*>(f().Edit2),
                     static_cast<QWidget*>(f().RadioGroup1)})
    EXPECT_TRUE(Shown(w));
  EXPECT_FALSE(Shown(f().Panel7));
  EXPECT_EQ(f().Panel1->pos(), QPoint(400 - 20 - 100, 0)) << "kept inside the window";
  EXPECT_EQ(f().Edit2->text(), "220");
  EXPECT_TRUE(f().RadioButton2->isChecked());
  EXPECT_TRUE(f().CheckBox1->isChecked());
  EXPECT_FALSE(Shown(f().StringGrid1View)) << "average mode hides the plan";
  EXPECT_FALSE(Shown(f().Button3));
  EXPECT_EQ(Summary(1, 0), "25");
  EXPECT_EQ(Summary(4, 3), "2120");
  test::SaveShot(f().Panel1, "source_panel_lnb_average");

  f().Button2Click();
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(ModelState(), before);
  EXPECT_EQ(UndoEntries(), 0);
  EXPECT_EQ(EditSerial, serial);
  EXPECT_FALSE(ProjectModified);
  EXPECT_TRUE(Shown(f().Panel1)) << "the panel stays open after Apply";
  EXPECT_EQ(InlineEdit, 1);
  f().Button1Click();
  EXPECT_FALSE(Shown(f().Panel1));
  EXPECT_EQ(InlineEdit, 0);
}

TEST_F(SourcePanel, AverageModeRegeneratesTheBandsAsOneUndoStep) {
  const int row = test::PlaceLnb(400, 300);
  const ModelState before;
  ASSERT_TRUE(Open(row));
  TypeSummary(1, 0, "5");
  TypeSummary(1, 1, "77");
  TypeSummary(1, 2, "950");
  TypeSummary(1, 3, "1950");
  TypeSummary(2, 0, "0");
  f().Edit2->setText("250");
  f().RadioButton1->setChecked(true);
  const QImage glyph = Glyph(row).image();
  const int serial = EditSerial;
  f().Button2Click();

  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(LnbParams[0][0], (std::array<int32_t, 5>{5, 77, 950, 1950, 1}));
  EXPECT_EQ(LnbParams[0][1][0], 0);
  EXPECT_EQ(LnbParams[0][1][4], 250);
  const int32_t expected[] = {950, 1200, 1450, 1700, 1950, 0};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(SatTables[0][0][i], expected[i]) << i;
  EXPECT_EQ(SatTables[0][1][4], 77);
  EXPECT_EQ(SatTables[0][2][0], 0) << "a count of 0 is an empty band";
  EXPECT_EQ(SatTables[0][4][24], 1950) << "untouched bands keep their plan";
  EXPECT_EQ(NetObjects[row][kStyle], 1);
  EXPECT_NE(Glyph(row).image(), glyph) << "the symbol shows the new outputs arrangement";
  EXPECT_TRUE(ProjectModified);
  EXPECT_EQ(EditSerial, serial + 1);

  UndoLastStep();
  EXPECT_EQ(ModelState(), before);
}

TEST_F(SourcePanel, CountsTheTablesCannotHoldAreRefusedBeforeAnythingIsStored) {
  const int lnb = test::PlaceLnb(400, 300);
  const int catv = test::PlaceAntenna(92, 700, 300);
  const ModelState before;
  ASSERT_TRUE(Open(lnb));
  TypeSummary(3, 0, "32");
  TypeSummary(1, 1, "60");
  f().Button2Click();
  ASSERT_TRUE(Open(catv));
  TypeSummary(1, 0, "101");
  f().Button2Click();
  EXPECT_EQ(Messages(), (std::vector<std::string>{"Incorrect number of transponders was entered (0 to 31)",
                                                  "Incorrect number of channels was entered (0 to 100)"}));
  EXPECT_EQ(ModelState(), before);
  EXPECT_EQ(UndoEntries(), 0);
}

TEST_F(SourcePanel, TableModeClosesUpTheTakenRowsAndSummarisesEachBand) {
  const int row = test::PlaceLnb(400, 300);
  const ModelState before;
  ASSERT_TRUE(Open(row));
  UseTable();
  EXPECT_TRUE(Shown(f().StringGrid1View));
  EXPECT_TRUE(Shown(f().Button4));
  EXPECT_EQ(f().StringGrid1.cell(0, 1), "970");
  EXPECT_EQ(f().StringGrid1.cell(7, 26), "80");
  test::SaveShot(f().Panel1, "source_panel_lnb_table");

  TypePlan(1, 3, "");  // a frequency without level: skipped in both columns of the band
  for (int r = 1; r <= 31; ++r) {  // band H,Hi emptied
    TypePlan(2, r, "");
    TypePlan(3, r, "");
  }
  TypePlan(5, 2, "83");
  test::PressKey(f().StringGrid1View, Qt::Key_Return);  // Enter in the grid applies

  EXPECT_EQ(SatTables[0][0][1], 1010);
  EXPECT_EQ(SatTables[0][0][2], 1090) << "the rows below close up";
  EXPECT_EQ(SatTables[0][0][23], 1930);
  EXPECT_EQ(SatTables[0][0][24], 0);
  EXPECT_EQ(SatTables[0][1][23], 80);
  EXPECT_EQ(Summary(1, 0), "24");
  EXPECT_EQ(Summary(2, 0), "0");
  EXPECT_EQ(Summary(2, 2), "2400");
  EXPECT_EQ(Summary(2, 3), "950");
  EXPECT_EQ(Summary(2, 1), "80") << "an empty band keeps its average";
  EXPECT_EQ(Summary(3, 1), "80") << "(24 x 80 + 83) / 25 rounds to 80";
  EXPECT_EQ(LnbParams[0][0], (std::array<int32_t, 5>{24, 80, 970, 1930, 0}));
  EXPECT_EQ(LnbParams[0][1][0], 0);
  EXPECT_TRUE(Messages().empty());

  UndoLastStep();
  EXPECT_EQ(ModelState(), before);

  // A stale entry behind a column's plan does not survive a table-mode Apply.
  SatTables[0][6][30] = 2150;
  f().Button2Click();
  EXPECT_EQ(SatTables[0][6][30], 0);
}

TEST_F(SourcePanel, EmptyTablesGetADefaultPlanWithoutRowsOfOtherSources) {
  const int first = test::PlaceLnb(400, 300);
  ASSERT_TRUE(Open(first));
  UseTable();
  f().Button1Click();
  for (auto& column : SatTables[0]) column.fill(0);
  LnbParams[0][1][0] = 3;
  LnbParams[0][3][0] = 0;
  ASSERT_TRUE(Open(first));
  UseTable();
  EXPECT_EQ(f().StringGrid1.cell(0, 1), "970");
  EXPECT_EQ(f().StringGrid1.cell(6, 1), "1120") << "a band without carriers still shows its start";
  EXPECT_EQ(f().StringGrid1.cell(7, 1), "");
  EXPECT_EQ(f().StringGrid1.cell(0, 25), "1930");
  EXPECT_EQ(f().StringGrid1.cell(1, 25), "80");
  EXPECT_EQ(f().StringGrid1.cell(2, 3), "1180");
  EXPECT_EQ(f().StringGrid1.cell(2, 4), "") << "nothing of the earlier plan is left below the band";

  const int uhf = test::PlaceAntenna(93, 700, 300, 1);
  for (auto& half : TerrTables[1]) half.fill(0);
  ASSERT_TRUE(Open(uhf));
  UseTable();
  EXPECT_EQ(f().StringGrid1.cell(0, 1), "470");
  EXPECT_EQ(f().StringGrid1.cell(0, 2), "170");
  EXPECT_EQ(f().StringGrid1.cell(0, 3), "178");
  EXPECT_EQ(f().StringGrid1.cell(0, 61), "790");
  EXPECT_EQ(f().StringGrid1.cell(1, 61), "75");
  EXPECT_EQ(f().StringGrid1.cell(2, 1), "");
  f().Button1Click();

  // A plan of one channel is a plan: the grid shows it rather than a default that Apply would
  // store over it.
  TerrTables[1][0][0] = 600;
  TerrTables[1][1][0] = 70;
  ASSERT_TRUE(Open(uhf));
  UseTable();
  EXPECT_EQ(f().StringGrid1.cell(0, 1), "600");
  EXPECT_EQ(f().StringGrid1.cell(0, 2), "0");
}

TEST_F(SourcePanel, CatvAverageModeGeneratesCountPlusOneChannels) {
  const int row = test::PlaceAntenna(92, 400, 300);
  const ModelState before;
  ASSERT_TRUE(Open(row));
  EXPECT_TRUE(Shown(f().Panel7));
  EXPECT_FALSE(Shown(f().RadioGroup1));
  EXPECT_EQ(f().StringGrid2.colCount(), 2);
  test::SaveShot(f().Panel1, "source_panel_terrestrial_average");
  f().Button2Click();

  // The palette's plan is spaced differently, so the first Apply replaces it.
  EXPECT_EQ(TerrTables[0][0][1], 65);
  EXPECT_EQ(TerrTables[0][0][52], 830);
  EXPECT_EQ(TerrTables[0][0][53], 862);
  EXPECT_EQ(TerrTables[0][1][53], 75);
  EXPECT_EQ(TerrTables[0][0][54], 0);
  EXPECT_EQ(TerrParams[0], (std::array<int32_t, 5>{53, 75, 50, 862, 1}));
  const int entries = UndoEntries();
  EXPECT_GT(entries, 0);
  f().Button2Click();
  EXPECT_EQ(UndoEntries(), entries) << "a second Apply changes nothing";
  UndoLastStep();
  EXPECT_EQ(ModelState(), before);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(SourcePanel, TerrestrialTableIsSortedAndItsBandChecked) {
  const int row = test::PlaceAntenna(93, 400, 300);
  const ModelState before;
  ASSERT_TRUE(Open(row));
  UseTable();
  EXPECT_EQ(f().StringGrid1.rowCount(), 31);
  for (int r = 1; r <= 30; ++r) {
    TypePlan(0, r, "");
    TypePlan(1, r, "");
  }
  TypePlan(0, 1, "600");
  TypePlan(1, 1, "60");
  TypePlan(0, 2, "600");
  TypePlan(1, 2, "61");
  TypePlan(0, 3, "500");
  TypePlan(1, 3, "62");
  TypePlan(0, 4, "700");
  f().Button2Click();
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(TerrTables[0][0][0], 500);
  EXPECT_EQ(TerrTables[0][1][1], 60) << "equal frequencies keep the grid's order";
  EXPECT_EQ(TerrTables[0][1][2], 61);
  EXPECT_EQ(TerrTables[0][0][3], 0);
  EXPECT_EQ(TerrParams[0], (std::array<int32_t, 5>{3, 61, 470, 790, 0})) << "the band limits stand for the extremes";
  const ModelState applied;

  TypePlan(0, 5, "460");
  TypePlan(1, 5, "70");
  f().Button2Click();
  EXPECT_EQ(Messages(), std::vector<std::string>{"Incorrect frequency was entered"});
  EXPECT_EQ(TerrTables[0][0][0], 460) << "what was stored before the check stays";
  EXPECT_EQ(TerrParams[0], applied.terrParams[0]);
  EXPECT_EQ(Summary(1, 2), "460");
  UndoLastStep();
  EXPECT_EQ(ModelState(), applied);
  UndoLastStep();
  EXPECT_EQ(ModelState(), before);
}

TEST_F(SourcePanel, AnAntennaApplyLeavesTheHiddenArrangementAlone) {
  const int lnb = test::PlaceLnb(400, 300);
  const int fm = test::PlaceAntenna(95, 700, 300);
  NetObjects[fm][kStyle] = 0;
  ASSERT_TRUE(Open(lnb));
  f().RadioButton1->setChecked(true);
  f().Button1Click();
  ASSERT_TRUE(Open(fm));
  f().Button2Click();
  f().Button2Click();
  EXPECT_EQ(NetObjects[fm][kStyle], 0);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(SourcePanel, AnLnbThatIsNoSourceStaysNoSource) {
  // An arrangement of 3 or above makes the LNB no source of the run; opening it after an LNB
  // with arrangement 2 must not leave that LNB's button checked for Apply to store.
  const int first = test::PlaceLnb(400, 300);
  const int spare = test::PlaceLnb(700, 300);
  NetObjects[spare][kStyle] = 3;
  ASSERT_TRUE(Open(first));
  EXPECT_TRUE(f().RadioButton2->isChecked());
  f().Button1Click();
  ASSERT_TRUE(Open(spare));
  EXPECT_FALSE(f().RadioButton1->isChecked());
  EXPECT_FALSE(f().RadioButton2->isChecked());
  f().Button2Click();
  EXPECT_EQ(NetObjects[spare][kStyle], 3);
  EXPECT_EQ(UndoEntries(), 0);

  // The buttons still exclude each other when the user picks one.
  f().RadioButton1->click();
  f().RadioButton2->click();
  EXPECT_FALSE(f().RadioButton1->isChecked());
  f().Button2Click();
  EXPECT_EQ(NetObjects[spare][kStyle], 2);
}

TEST_F(SourcePanel, ApplyFollowsItsLnbWhenARowBeforeItIsDeleted) {
  const int plain = test::AddObject(1, 100, 300);
  const int first = test::PlaceLnb(400, 300);
  SatUsed[1] = true;
  LnbParams[1] = LnbParams[0];
  SatTables[1] = SatTables[0];
  test::AddObject(91, 700, 300, 1, 1, 2);
  const auto otherSlot = LnbParams[1];
  ASSERT_TRUE(Open(first));
  SelObject = plain;
  f().Delete1Click();
  ASSERT_EQ(NetObjects[first][kInst], 1) << "the other LNB took the row";
  TypeSummary(1, 1, "70");
  f().Button2Click();
  EXPECT_EQ(LnbParams[0][0][1], 70);
  EXPECT_EQ(LnbParams[1], otherSlot);
}

TEST_F(SourcePanel, LnbCurrentTakesOnlyWholeNumbers) {
  const int row = test::PlaceLnb(400, 300);
  ASSERT_TRUE(Open(row));
  QLineEdit* e = f().Edit2;
  e->setFocus();
  e->end(false);
  test::PressKey(e, Qt::Key_X, "x");
  EXPECT_EQ(e->text(), "220");
  EXPECT_TRUE(ProjectModified);
  ASSERT_EQ(app.ui->messages.size(), 1u);
  EXPECT_EQ(app.ui->messages[0].caption, "Error");
  EXPECT_EQ(app.ui->messages[0].text, "The value must be of an integer type number!");

  e->selectAll();
  test::PressKey(e, Qt::Key_Backspace);
  EXPECT_EQ(e->text(), "");
  EXPECT_EQ(app.ui->messages.size(), 2u) << "emptying the field warns once";
  f().Button2Click();
  EXPECT_EQ(LnbParams[0][1][4], 0);
}

TEST_F(SourcePanel, OpeningASourceShowsNoRowsOfTheSourceBefore) {
  const int catv = test::PlaceAntenna(92, 400, 300);
  const int uhf = test::PlaceAntenna(93, 700, 300, 1);
  TerrParams[0][4] = 0;
  TerrParams[1][4] = 0;
  ASSERT_TRUE(Open(catv));
  EXPECT_EQ(f().StringGrid1.cell(0, 52), "862");
  ASSERT_TRUE(Open(uhf));
  EXPECT_EQ(f().StringGrid1.cell(0, 30), "790");
  EXPECT_EQ(f().StringGrid1.cell(0, 31), "0") << "the row below the grid holds entry 30";
  for (int r = 32; r <= 100; ++r) EXPECT_EQ(f().StringGrid1.cell(0, r), "") << r;
  test::SaveShot(f().Panel1, "source_panel_terrestrial_table");
}

}  // namespace
}  // namespace kavrix
