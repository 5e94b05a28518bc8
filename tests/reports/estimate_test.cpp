// The price estimate: rebuilt from fixture drawings with totals worked out by hand, the user's
// rows kept over rebuilds, and the grid's own commands.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>

#include "app/forms.hpp"
#include "app/main_window.hpp"
#include "model/price_rows.hpp"
#include "reports/price_window.hpp"
#include "reports/ui_events.hpp"
#include "support/app_guard.hpp"

namespace kavrix {
namespace {

void SetPrice(const std::string& name, int column, const std::string& price) {
  for (int r = 1; r < PriceListRows.RowCount(); ++r)
    if (PriceListRows.Rows[r][0] == name) PriceListRows.Rows[r][column] = price;
}

void OpenFixture(test::AppFixture& app, const char* name) {
  app.ui->files.push_back(platform::FileDialogResult{std::string(KAVRIX_TEST_DATA) + "/" + name, 1});
  Form1->Open1Click();
}

// Types into an estimate cell as the user would commit it (grid row r, column c).
void TypeCell(int r, int c, const char* text) { Form2->StringGrid1->item(r - 1, c)->setText(text); }

TEST(Estimate, LinesAndSocketsDrawingCountsCableMetresPerType) {
  test::AppFixture app;
  OpenFixture(app, "lines_sockets.stn");
  SetPrice("LNB", 1, "12.5");
  SetPrice("TV socket", 1, "3");
  SetPrice("RG-59", 1, "0.3");
  SetPrice("Type 2", 1, "1.2");
  Form1->Billofmaterials1Click();
  EXPECT_EQ(Form2->windowTitle(), "Report");
  EXPECT_EQ(Form2->Label2->text(), "lines_sockets.stn");
  ASSERT_EQ(EstimateGrid.RowCount(), 11);
  // The file's rows held no "Installation costs", so the grid starts over. "Cable RG-6" keeps
  // its comment; its unit price comes from the price list, where RG-6 has none.
  const std::vector<PriceRow> expected{
      {"LNB", "1", "12.5", "12.5", ""},
      {"TV socket", "6", "3", "18", ""},
      {"Cable RG-59", "140m", "0.3", "42", ""},  // five-cable line 5 x 25 + sockets 5 + 10
      {"Cable RG-6", "110m", "0", "0", "riser, line 1"},  // four-cable line 4 x 26 + socket 6
      {"Cable Triset-113", "34m", "0", "0", ""},                // single line 27 + socket 7
      {"Cable RG-11", "8m", "0", "0", ""},
      {"Cable Custom", "9m", "0", "0", ""},
      {"Fiber Type 2", "28m", "1.2", "33.6", ""},
      {"Installation costs", "", "", "0", ""},
      {"Total:", "", "", "106.1", ""},  // 12.5 + 18 + 42 + 33.6
  };
  for (int r = 1; r <= 10; ++r) EXPECT_EQ(EstimateGrid.Rows[r], expected[r - 1]) << "row " << r;
  EXPECT_EQ(EstimateGrid.Tag, 0);
  EXPECT_EQ(Form2->StringGrid1->rowCount(), 10);
  EXPECT_EQ(Form2->StringGrid1->item(9, 3)->text(), "106.1");
}

TEST(Estimate, SourcesDrawingKeepsUserRowsOverRebuildsAndPriceColumns) {
  test::AppFixture app;
  OpenFixture(app, "sources.stn");
  SetPrice("LNB", 1, "20");
  SetPrice("LNB", 3, "18");
  SetPrice("UHF", 1, "15");
  SetPrice("VHFIII", 1, "12");
  SetPrice("FM", 1, "8");
  SetPrice("TV socket", 1, "2.5");
  SetPrice("Triset-113", 1, "0.8");
  Form1->Billofmaterials1Click();
  ASSERT_EQ(EstimateGrid.RowCount(), 12);
  const char* items[] = {"LNB", "CATV sorce", "UHF antenna", "VHFIII antenna", "FM antenna", "Bavk1", "Zirn1",
                         "TV socket", "Cable Triset-113", "Installation costs", "Total:"};
  for (int r = 1; r <= 11; ++r) EXPECT_EQ(EstimateGrid.Rows[r][0], items[r - 1]) << "row " << r;
  EXPECT_EQ(EstimateGrid.Rows[1][1], "2");
  EXPECT_EQ(EstimateGrid.Rows[9][1], "15m");
  EXPECT_EQ(EstimateGrid.Rows[11][3], "89.5");  // 2 x 20 + 15 + 12 + 8 + 2.5 + 15 x 0.8

  // Installation costs and two user rows, one with an amount, one with a fractional quantity.
  TypeCell(10, 3, "100");
  Form2->AddRow1Click();
  Form2->AddRow1Click();
  EXPECT_EQ(EstimateGrid.Tag, 2);
  EXPECT_TRUE(Form2->DeleteRow1->isEnabled());
  TypeCell(11, 0, "Mast");
  TypeCell(11, 3, "10.5");
  TypeCell(12, 0, "Travel");
  TypeCell(12, 1, "2.5");
  TypeCell(12, 2, "4");
  Form2->StringGrid1->setCurrentCell(0, 4);  // every selection recomputes
  EXPECT_EQ(EstimateGrid.Rows[12][3], "10");
  EXPECT_EQ(EstimateGrid.Rows[13][3], "210");  // 89.5 + 100 + 10.5 + 2.5 x 4

  // "Special 2" prices: only the LNB has one; the user rows move along unchanged.
  Form2->ComboBox1->setCurrentIndex(2);
  Form2->ComboBox1Change();
  ASSERT_EQ(EstimateGrid.RowCount(), 14);
  EXPECT_EQ(EstimateGrid.Rows[1][2], "18");
  EXPECT_EQ(EstimateGrid.Rows[3][2], "0") << "the antenna's Special 2 price is empty";
  EXPECT_EQ(EstimateGrid.Rows[10], (PriceRow{"Installation costs", "", "", "100", ""}));
  EXPECT_EQ(EstimateGrid.Rows[11][0], "Mast");
  EXPECT_EQ(EstimateGrid.Rows[12][0], "Travel");
  EXPECT_EQ(EstimateGrid.Rows[13][3], "156.5");  // 2 x 18 + 100 + 10.5 + 10

  Form2->DeleteRow1Click();
  ASSERT_EQ(EstimateGrid.RowCount(), 13);
  EXPECT_EQ(EstimateGrid.Rows[12][0], "Total:");
  EXPECT_EQ(EstimateGrid.Rows[12][3], "146.5");
  Form2->DeleteRow1Click();
  EXPECT_EQ(EstimateGrid.Tag, 0);
  EXPECT_FALSE(Form2->DeleteRow1->isEnabled());
  EXPECT_EQ(EstimateGrid.Rows[11], (PriceRow{"Total:", "", "", "136", ""}));
  Form2->DeleteRow1Click();  // nothing left to delete: the fixed rows stay
  EXPECT_EQ(EstimateGrid.RowCount(), 12);
  EXPECT_EQ(EstimateGrid.Rows[10][0], "Installation costs");
}

// An empty drawing used to put "Installation costs" into row 1, which the next rebuild took for
// "not found" and dropped every user row with it.
TEST(Estimate, RebuildOfAnEmptyDrawingKeepsTheUserRows) {
  test::AppFixture app;
  Form1->Billofmaterials1Click();
  ASSERT_EQ(EstimateGrid.RowCount(), 3);
  EXPECT_EQ(EstimateGrid.Rows[1][0], "Installation costs");
  EXPECT_EQ(EstimateGrid.Rows[2], (PriceRow{"Total:", "", "", "0", ""}));
  Form2->AddRow1Click();
  TypeCell(2, 0, "Survey");
  TypeCell(2, 3, "7");
  Form1->Billofmaterials1Click();
  ASSERT_EQ(EstimateGrid.RowCount(), 4);
  EXPECT_EQ(EstimateGrid.Rows[2], (PriceRow{"Survey", "", "", "7", ""}));
  EXPECT_EQ(EstimateGrid.Rows[3][3], "7");
  EXPECT_EQ(EstimateGrid.Tag, 1);
}

// A row added to the emptied grid of a closed project was still counted as a user row after the
// next rebuild started over, so "Delete Row" then removed "Installation costs".
TEST(Estimate, FreshRebuildCountsNoUserRows) {
  test::AppFixture app;
  test::AddObject(1, 100, 100);
  Form1->Billofmaterials1Click();
  Form1->Close1Click();
  ASSERT_EQ(EstimateGrid.RowCount(), 2);
  Form2->AddRow1Click();
  ASSERT_EQ(EstimateGrid.Tag, 1);
  Form1->Billofmaterials1Click();
  EXPECT_EQ(EstimateGrid.Tag, 0);
  EXPECT_FALSE(Form2->DeleteRow1->isEnabled());
  Form2->DeleteRow1Click();
  ASSERT_EQ(EstimateGrid.RowCount(), 3);
  EXPECT_EQ(EstimateGrid.Rows[1][0], "Installation costs");
  EXPECT_EQ(EstimateGrid.Rows[2][0], "Total:");
}

// Rows used to keep whatever the grid held at their position, so a price typed for one model
// ended up on another after the drawing changed.
TEST(Estimate, TypedPricesAndCommentsFollowTheirItemWhenRowsShift) {
  test::AppFixture app;
  for (auto& row : PriceListRows.Rows)
    if (row[0] == "Kelv3") row[0] = "Kelv3 (old)";  // no price list row: the typed price counts
  const int first = test::AddObject(1, 100, 100);
  test::AddObject(3, 200, 100);
  test::AddObject(203, 300, 100, 0, 1, 1);  // a line of length 0 gets no cable row
  test::AddContinuation(0, 40);
  Form1->Billofmaterials1Click();
  ASSERT_EQ(EstimateGrid.RowCount(), 5);
  EXPECT_EQ(EstimateGrid.Rows[2][0], "Kelv3");
  EXPECT_EQ(EstimateGrid.Rows[3][0], "Installation costs");
  TypeCell(1, 4, "cellar");
  TypeCell(2, 2, "5");
  TypeCell(2, 4, "roof");

  NetObjects[first][kKind] = 4;  // the first object becomes another model
  Form1->Billofmaterials1Click();
  ASSERT_EQ(EstimateGrid.RowCount(), 5);
  EXPECT_EQ(EstimateGrid.Rows[1], (PriceRow{"Kelv4", "1", "0", "0", ""}));
  EXPECT_EQ(EstimateGrid.Rows[2], (PriceRow{"Kelv3", "1", "5", "5", "roof"}));
  NetObjects.erase(NetObjects.begin() + first);
  Form1->Billofmaterials1Click();
  ASSERT_EQ(EstimateGrid.RowCount(), 4);
  EXPECT_EQ(EstimateGrid.Rows[1], (PriceRow{"Kelv3", "1", "5", "5", "roof"}));
  EXPECT_EQ(EstimateGrid.Rows[3][3], "5");
}

// Dragging "Total:" up, or a row below it, left a row under the total: the next recalculation
// counted the old total into the new one and the next rebuild wrote "Total:" over that row.
// Dragged across "Installation costs", the next rebuild counted items twice or dropped user rows.
TEST(Estimate, TotalRowStaysLastAndRowsKeepTheirSideWhenDragged) {
  test::AppFixture app;
  SetPrice("Kelv1", 1, "4");
  test::AddObject(1, 100, 100);
  Form1->Billofmaterials1Click();
  Form2->AddRow1Click();
  TypeCell(3, 0, "Mast");
  TypeCell(3, 3, "6");
  QHeaderView* h = Form2->StringGrid1->verticalHeader();
  const std::vector<PriceRow> before = EstimateGrid.Rows;
  h->moveSection(3, 0);  // "Total:" to the top
  h->moveSection(2, 3);  // "Mast" below "Total:"
  h->moveSection(2, 0);  // "Mast" above "Installation costs"
  h->moveSection(1, 0);  // "Installation costs" above the item
  EXPECT_EQ(EstimateGrid.Rows, before);
  EXPECT_EQ(h->visualIndex(3), 3);
  EXPECT_EQ(Form2->StringGrid1->item(3, 0)->text().toStdString(), "Total:");
  Form1->Billofmaterials1Click();
  EXPECT_EQ(EstimateGrid.Rows[4], (PriceRow{"Total:", "", "", "10", ""}));
}

// An item row dropped onto or below "Installation costs" crossed to the user rows (a bound off by one).
TEST(Estimate, DraggedRowsStayOnTheirSideOfInstallationCosts) {
  // Items A, B; "Installation costs"; user rows U, V; the total T. Each case: drag, drop, rows after.
  for (const std::string c : {"13BAIUVT", "15BAIUVT", "26ABIUVT", "43ABIUVT", "51ABIVUT", "45ABIVUT"}) {
    PriceEstimateGrid g;
    g.Rows = {{}, {"A"}, {"B"}, {std::string(kInstallationCosts)}, {"U"}, {"V"}, {"T"}};
    MoveEstimateRow(g, c[0] - '0', c[1] - '0');
    std::string got;
    for (const PriceRow& r : g.Rows) got += r[kPriceItem].substr(0, 1);
    EXPECT_EQ(got, c.substr(2)) << c;
  }
}

// A user row named "Installation costs" was taken for the fixed row by the next rebuild, dropping the real one.
TEST(Estimate, ReservedItemNameIsRefusedAndARowOfThatNameFromAFileStaysAUserRow) {
  test::AppFixture app;
  Form1->Billofmaterials1Click();
  Form2->AddRow1Click();
  TypeCell(1, 3, "50");
  TypeCell(2, 3, "10");
  TypeCell(2, 0, "Installation costs");
  EXPECT_EQ(app.ui->texts(), std::vector<std::string>{kReservedItemName});
  EstimateGrid.Rows[2][kPriceItem] = "Installation costs";  // as an older project file holds it
  Form1->Billofmaterials1Click();
  EXPECT_EQ(EstimateGrid.Rows[3][kPriceWhole], "60");
}

// A committed price was counted only at the next cell selection, so Print showed the old total,
// and a typed cell never marked the project for the save question.
TEST(Estimate, CommittedPriceCountsAtOnceAndMarksTheProject) {
  test::AppFixture app;
  test::AddObject(1, 100, 100);
  Form1->Billofmaterials1Click();
  ProjectModified = false;  // as after a save
  QTableWidget* g = Form2->StringGrid1;
  g->editItem(g->item(0, 2));
  auto* editor = g->viewport()->findChild<QLineEdit*>();
  test::TypeText(editor, "99");
  test::KeyClick(editor, Qt::Key_Return);
  QApplication::processEvents();  // the grid commits the editor after the key
  EXPECT_EQ(EstimateGrid.Rows[1][3], "99");
  EXPECT_EQ(EstimateGrid.Rows[3][3], "99");
  EXPECT_TRUE(ProjectModified);
  EstimateGrid.Rows[1][2] = "2";  // totals as a file left them: Print counts them again
  EXPECT_TRUE(Form2->PrintEstimate() && EstimateGrid.Rows[3][3] == "2");
}

// Prices come unchecked from the file; a bad one must not turn the total into "NAN" or "INF".
TEST(Estimate, WholePricesOfOddTextsStayNumbers) {
  PriceEstimateGrid g;
  g.Rows = {{},
            {"A", "2.5", "4", "", ""},        // 10: the fraction is used as typed
            {"B", "3", "abc", "", ""},        // 0
            {"C", "1", "1e400", "", ""},      // 0
            {"D", "x", "2", "", ""},          // 2: a quantity that is no number is one piece
            {"E", "10m", "0.5", "", ""},      // 5
            {"F", "1e300", "1e300", "", ""},  // 0, the product overflows
            {"G", "", "", "", ""},            // 0
            {"Installation costs", "", "", "12.5", ""},
            {"H", "", "", ".", ""},  // a lone "." counts 0
            {"Total:", "", "", "", ""}};
  RecalcWholePrices(g);
  const char* whole[] = {"10", "0", "0", "2", "5", "0", "0", "12.5", "."};
  for (int r = 1; r <= 9; ++r) EXPECT_EQ(g.Rows[r][3], whole[r - 1]) << "row " << r;
  EXPECT_EQ(g.Rows[7][2], "") << "a row without quantity keeps its empty price";
  EXPECT_EQ(g.Rows[2][2], "abc");
  EXPECT_EQ(g.Rows[10][3], "29.5");
}

TEST(Estimate, GridShowsAndEditsTheStoredRows) {
  test::AppFixture app;
  EstimateGrid.SetRowCount(3);
  EstimateGrid.Rows[2] = {"Cable RG-6", "40m", "0.5", "20", ""};
  Form2->ShowEstimateRows();
  ASSERT_EQ(Form2->StringGrid1->rowCount(), 2);
  EXPECT_EQ(Form2->StringGrid1->item(1, 1)->text(), "40m");
  Form2->StringGrid1->item(1, 4)->setText("riser");
  EXPECT_EQ(EstimateGrid.Rows[2][4], "riser");
}

TEST(Estimate, GridCommandsAndWindowStates) {
  test::AppFixture app;
  test::AddObject(1, 100, 100);
  Form1->Billofmaterials1Click();
  QTableWidget* g = Form2->StringGrid1;
  EXPECT_FALSE(g->item(1, 0)->flags() & Qt::ItemIsSelectable) << "\"Installation costs\" cannot be selected";
  EXPECT_TRUE(g->item(1, 3)->flags() & Qt::ItemIsEditable);
  EXPECT_FALSE(Form2->Image1->isHidden());
  EXPECT_FALSE(Form2->Label1->isHidden());

  // Right button: the popup with "Delete Row" only while user rows exist.
  test::MouseClick(g->viewport(), Qt::RightButton, QPoint(20, 10));
  EXPECT_TRUE(Form2->PopupMenu1->isVisible());
  EXPECT_FALSE(Form2->DeleteRow1->isEnabled());
  Form2->PopupMenu1->hide();

  // A user row dragged to the top stays below "Installation costs", the header in its place.
  Form2->AddRow1Click();
  TypeCell(3, 0, "Extra");
  g->verticalHeader()->moveSection(2, 0);
  EXPECT_EQ(EstimateGrid.Rows[3][0], "Extra");
  EXPECT_EQ(g->item(2, 0)->text(), "Extra");
  EXPECT_EQ(g->verticalHeader()->visualIndex(0), 0);

  // Closing keeps the rows; the next command rebuilds from them.
  Form2->Button1Click();
  EXPECT_EQ(Form2->windowTitle(), "Help");
  EXPECT_TRUE(Form2->StringGrid1->isHidden());
  EXPECT_EQ(EstimateGrid.RowCount(), 5);

  // A rebuild while the price list is shown comes back to report mode with its own buttons.
  Form2->Button3Click();
  Form1->Billofmaterials1Click();
  EXPECT_FALSE(Form2->InPriceListMode());
  EXPECT_EQ(Form2->Button2->text(), "Print");
  EXPECT_FALSE(Form2->Button3->isHidden());
  EXPECT_TRUE(app.ui->messages.empty());
}

}  // namespace
}  // namespace kavrix
