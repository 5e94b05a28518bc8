// The price list: its file in the start directory, the price-list mode of the price window and
// the check of typed prices.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <filesystem>
#include <tuple>

#include "app/forms.hpp"
#include "catalogue/model_names.hpp"
#include "model/price_rows.hpp"
#include "model/text_file.hpp"
#include "model/project_options.hpp"
#include "reports/price_window.hpp"
#include "reports/ui_events.hpp"
#include "support/app_guard.hpp"

namespace kavrix {
namespace {

namespace fs = std::filesystem;

std::string PriceOf(const std::string& name, int column) {
  for (int r = 1; r < PriceListRows.RowCount(); ++r)
    if (PriceListRows.Rows[r][0] == name) return PriceListRows.Rows[r][column];
  return "<no row>";
}

std::string Crlf(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& l : lines) out += l + "\r\n";
  return out;
}

TEST(PriceList, GridHoldsModelNamesHeadingsAndCableNames) {
  test::AppFixture app;
  Form2->BuildPriceGrid({"ZM-1", "ZM-2", "TV socket"});
  EXPECT_EQ(CablePriceRow, 4);
  QTableWidget* g = Form2->StringGrid2;
  ASSERT_EQ(g->rowCount(), 3 + 12);  // grid rows 1 .. N+13 without the header
  auto name = [g](int gridRow) { return g->item(gridRow - 1, 0)->text(); };
  EXPECT_EQ(name(CablePriceRow), "---  RF  Cables:  ---");
  EXPECT_EQ(name(CablePriceRow + 1), "RG-59");
  EXPECT_EQ(name(CablePriceRow + 5), "Custom");
  EXPECT_EQ(name(CablePriceRow + 6), "Fiber Optics Cables:");
  EXPECT_EQ(name(CablePriceRow + 11), "Type 5");
  EXPECT_EQ(g->horizontalHeaderItem(2)->text(), "     Special 1 price");
  EXPECT_FALSE(g->item(0, 0)->flags() & Qt::ItemIsEditable) << "names are fixed";
  EXPECT_TRUE(g->item(0, 1)->flags() & Qt::ItemIsEditable);
  EXPECT_EQ(Form2->ComboBox1->currentText(), "Main");
  EXPECT_EQ(Form2->ComboBox1->count(), 3);
}

// The start-up price list used to hold only the TV socket, so no component found its price.
TEST(PriceList, StartUpListNamesEveryModelOfTheBrandInKindOrder) {
  test::AppFixture app;
  const std::vector<std::string> names = DefaultPriceListNames();
  ASSERT_EQ(names.size(), 162u + 1u);
  EXPECT_EQ(names.front(), ModelName(1));
  EXPECT_EQ(names.back(), "TV socket");
  EXPECT_EQ(CablePriceRow, 162 + 2);
  EXPECT_EQ(Form2->StringGrid2->rowCount(), 162 + 13);
}

TEST(PriceList, FileInTheStartDirectoryIsReadAtStartUp) {
  test::TempCurrentDir dir;
  platform::ScopedScriptedPlatform ui;
  test::FreshProject project;
  test::WriteBytes("Prices.kna", Crlf({"4410", "Kelv1;10;11;12", "curr;USD;;", "TV socket;2.5;;", "Kelv1;20;21;22",
                                       "RG-6;0.4;0.35;0.3", "Kelv2;1;2", "Kelv3;1;2;3;4", "abc", ";;;", "", "Type 2;1.5;;"}));
  test::AppWindows windows;
  EXPECT_EQ(StartDir, fs::current_path().string());
  EXPECT_EQ(PriceOf("Kelv1", 1), "20") << "the later line of a name stands";
  EXPECT_EQ(PriceOf("Kelv1", 3), "22");
  EXPECT_EQ(PriceOf("TV socket", 1), "2.5");
  EXPECT_EQ(PriceOf("RG-6", 2), "0.35");
  EXPECT_EQ(PriceOf("Type 2", 1), "1.5");
  // Fields end at the first three separators; what has no separator goes to the last field.
  EXPECT_EQ(PriceOf("Kelv2", 1), "1");
  EXPECT_EQ(PriceOf("Kelv2", 2), "");
  EXPECT_EQ(PriceOf("Kelv2", 3), "2");
  EXPECT_EQ(PriceOf("Kelv3", 3), "3;4");
  EXPECT_EQ(PriceListRows.Rows[CablePriceRow][1], "") << "the heading row keeps empty prices";
  EXPECT_EQ(Form2->Label4->text(), "Prices in USD");
  EXPECT_TRUE(Form2->Edit1->isHidden());
  EXPECT_EQ(Form2->Edit1->text(), "USD");
  EXPECT_EQ(Form2->StringGrid2->item(0, 1)->text(), "20") << "the grid shows the loaded prices";
  EXPECT_TRUE(ui->messages.empty());
}

TEST(PriceList, FileWithAnOldOrBadVersionLineLoadsNothing) {
  for (const std::string first : {"2499", "4410;", "44x0", ""}) {
    test::AppFixture app;
    test::WriteBytes("Prices.kna", Crlf({first, "Kelv1;10;11;12", "curr;USD;;"}));
    Form2->LoadPriceFile();
    EXPECT_EQ(PriceOf("Kelv1", 1), "") << first;
    EXPECT_EQ(Form2->Label4->text(), "Prices in EUR") << first;
    EXPECT_TRUE(Form2->Edit1->isHidden()) << first;
  }
  test::AppFixture app;
  EXPECT_EQ(Form2->Label4->text(), "Currency:") << "no file at all";
  EXPECT_FALSE(Form2->Edit1->isHidden());
  EXPECT_EQ(Form2->Edit1->text(), "EUR");
}

TEST(PriceList, NamesOfTheOtherBrandRenamedCablesAndNamelessLinesGetNoPrice) {
  test::AppFixture app;
  test::WriteBytes("Prices.kna", Crlf({"4410", "Ulva1;5;;", "LNB;30;;", "Old cable;0.9;;", ";7;8;9"}));
  OptionControls.RfGrid[2].type = "Riser";
  Form2->SetCableNames(1, {"RG-59", "Riser", "Triset-113", "", "Custom"});
  Form2->LoadPriceFile();
  EXPECT_EQ(PriceOf("LNB", 1), "30") << "a name both brands share";
  EXPECT_EQ(PriceOf("Ulva1", 1), "<no row>");
  EXPECT_EQ(PriceOf("Riser", 1), "");
  EXPECT_EQ(PriceListRows.Rows[CablePriceRow + 4][1], "") << "a line without a name matches no row";
}

// A price saved for a project's own cable name matched no row at start-up: it was dropped, and
// the next save of the list erased it from the file.
TEST(PriceList, PricesOfNamesNoRowHoldsAreKeptAppliedAndSavedBack) {
  test::AppFixture app;
  test::WriteBytes("Prices.kna", Crlf({"4410", "RG-59;0.3;;", "Koax-A;0.9;;", "Ulva1;5;;"}));
  Form2->LoadPriceFile();
  Form2->SetCableNames(1, {"Koax-A", "RG-6", "Triset-113", "RG-11", "Custom"});  // a project's names
  EXPECT_EQ(PriceOf("Koax-A", 1), "0.9");
  Form2->Button3Click();
  Form2->Button2Click();
  const std::string saved = test::FileBytes("Prices.kna");
  EXPECT_NE(saved.find("\r\nKoax-A;0.9;;\r\n"), std::string::npos);
  EXPECT_EQ(saved.substr(saved.size() - 24), "Ulva1;5;;\r\nRG-59;0.3;;\r\n") << "and the name renamed away";
}

// Rows renamed one by one lost the price of a name that changed places; passed names got lines.
TEST(PriceList, RenamesMovePricesWithTheirNamesAndLoseNone) {
  // Cables at 1, 2, 3, fibers at 7, 8, Tri kept at 9; renames from cable or fiber 1, the priced lines.
  using Steps = std::vector<std::vector<std::string>>;
  for (const auto& [first, steps, priced] : std::vector<std::tuple<int, Steps, std::string>>{
           {1, {{"RG-6", "RG-59"}}, "RG-6;2 RG-59;1 Koax;3 T1;7 T2;8 Tri;9"},
           {1, {{"RG-6", "Koax", "RG-59"}}, "RG-6;2 Koax;3 RG-59;1 T1;7 T2;8 Tri;9"},
           {1, {{"Tri"}, {"RG-5"}, {"RG-59"}}, "RG-59;1 RG-6;2 Koax;3 T1;7 T2;8 Tri;9"},
           {1, {{"RG-5"}, {"RG-5x"}, {"Neu"}}, "Neu;1 RG-6;2 Koax;3 T1;7 T2;8 Tri;9 RG-59;1"},
           {7, {{"T2", "T1"}}, "RG-59;1 RG-6;2 Koax;3 T2;8 T1;7 Tri;9"}}) {
    PriceListGrid list;
    BuildPriceList(list, {"M"}, {"RG-59", "RG-6", "Koax"}, {"T1", "T2"});
    for (const int i : {1, 2, 3, 7, 8}) list.Rows[CablePriceRow + i][1] = std::to_string(i);
    list.Kept = {{"Tri", "9", "", ""}};
    for (const auto& names : steps) RenamePriceListRows(list, CablePriceRow + first, names);
    std::string got;
    for (const std::string& l : PriceFileLines(list))
      if (l.ends_with(";;") && !l.ends_with(";;;") && !l.starts_with("curr;")) got += " " + l.substr(0, l.size() - 2);
    EXPECT_EQ(got, " " + priced) << steps.front().front();
  }
}

// The currency is a field of an 8-bit file: "R;D" came back as "R", and "руб." as "???.".
TEST(PriceList, CurrencyRefusesWhatItsFileCannotKeep) {
  test::AppFixture app;
  test::TypeText(Form2->Edit1, QString::fromUtf8(" R;D р."));
  EXPECT_EQ(PriceListRows.Currency, "EUR RD .");
  test::KeyClick(Form2->Edit1, Qt::Key_Return);
  EXPECT_EQ(app.ui->texts(), std::vector<std::string>{CharsLeftOutMessage("price list file", ";р")});
  EXPECT_EQ(KeepTypedText("R;D р.", true, "").text, "R;D .") << "the last field of a line keeps a \";\"";
}

TEST(PriceList, SavedFileReadsBackByteForByte) {
  const std::vector<std::string> names = DefaultPriceListNames();
  std::vector<std::string> lines{"4410"};
  for (std::size_t i = 0; i < names.size(); ++i)
    lines.push_back(names[i] + ";" + (i % 3 ? std::to_string(i) + ".5" : "") + ";" + (i % 5 ? "" : "7") + ";" +
                    (i % 7 ? "" : "1E3"));
  lines.push_back("curr;\x80 net;;");  // the euro sign is one byte in the file's code page
  for (const char* n : {"RG-59;0.3;;", "RG-6;;0.4;", "Triset-113;;;", "RG-11;;;0.9", "Custom;;;"}) lines.push_back(n);
  lines.push_back("Fiber Optics Cables:;;;");
  for (const char* n : {"Type 1;2;;", "Type 2;;;", "Type 3;;;", "Type 4;;;", "Type 5;;;3"}) lines.push_back(n);
  const std::string bytes = Crlf(lines);

  test::AppFixture app;
  test::WriteBytes("Prices.kna", bytes);
  Form2->LoadPriceFile();
  EXPECT_EQ(Form2->Edit1->text(), QString::fromUtf8("\u20ac net"));
  Form2->Button3Click();
  ASSERT_TRUE(Form2->InPriceListMode());
  EXPECT_EQ(Form2->Button2->text(), "Save");
  fs::remove("Prices.kna");
  Form2->Button2Click();
  EXPECT_EQ(test::FileBytes("Prices.kna"), bytes);
  EXPECT_EQ(lines.size(), (names.size() - 1) + 14) << "version line plus N+13 rows (N without the socket)";
  EXPECT_TRUE(Form2->InPriceListMode()) << "saving stays in the price list";
}

TEST(PriceList, SaveWritesIntoTheStartDirectoryAndReportsAFailure) {
  test::AppFixture app;
  const fs::path start = fs::current_path();
  fs::create_directory("elsewhere");
  fs::current_path("elsewhere");
  Form2->Button3Click();
  Form2->Edit1->setText("CHF");
  Form2->Button2Click();
  EXPECT_TRUE(fs::exists(start / "Prices.kna"));
  EXPECT_FALSE(fs::exists("Prices.kna"));
  EXPECT_NE(test::FileBytes((start / "Prices.kna").string()).find("\r\ncurr;CHF;;\r\n"), std::string::npos);
  fs::current_path(start);

  // A start directory that is no directory: the user is told, and the grid stays as it was.
  StartDir = (start / "Prices.kna").string();
  EXPECT_FALSE(Form2->SavePriceFile());
  ASSERT_EQ(app.ui->messages.size(), 1u);
  EXPECT_EQ(app.ui->messages[0].caption, "Error");
  EXPECT_NE(app.ui->lastText().find("Prices.kna"), std::string::npos);
  EXPECT_NE(test::FileBytes((start / "Prices.kna").string()).find("curr;CHF;;"), std::string::npos)
      << "the old file is kept";
}

TEST(PriceList, TypingCheckMatchesRealNumbersAndKeepsALoneDot) {
  for (const char* good : {"", "12", " 12", "-1.5", "+3", ".", "1.", "2.5E3", "1e-2", ".5"})
    EXPECT_TRUE(IsPriceCellText(good)) << good;
  for (const char* bad : {"12,", "1e", "-", "+", "1.2.", "abc", "1 ", "1e+"}) EXPECT_FALSE(IsPriceCellText(bad)) << bad;
}

// Typing goes through the cell editor: a comma after a digit is refused at once, with the message.
TEST(PriceList, TypedCommaIsRemovedWithTheMessage) {
  test::AppFixture app;
  Form2->show();
  Form2->Button3Click();
  QTableWidget* g = Form2->StringGrid2;
  g->setCurrentCell(0, 1);
  g->editItem(g->item(0, 1));
  auto* editor = g->viewport()->findChild<QLineEdit*>();
  ASSERT_NE(editor, nullptr);
  test::TypeText(editor, "12,5");
  EXPECT_EQ(editor->text(), "125");
  test::KeyClick(editor, Qt::Key_Return);
  QApplication::processEvents();  // the grid commits the editor after the key
  EXPECT_EQ(PriceListRows.Rows[1][1], "125");
  ASSERT_EQ(app.ui->messages.size(), 1u);
  EXPECT_EQ(app.ui->messages[0].caption, "Error");
  EXPECT_EQ(app.ui->messages[0].text, "The value must be of a real type number!");
}

// The message box took the focus from the cell editor; the grid closed and freed the editor
// while its key press was still being handled, and the program went down when the box closed.
TEST(PriceList, TypedCommaWithARealMessageBoxKeepsTheEditorAndTheProgram) {
  test::AppFixture app;
  Form2->show();
  Form2->Button3Click();
  QApplication::setActiveWindow(Form2);
  ASSERT_TRUE(QTest::qWaitForWindowActive(Form2));
  QTableWidget* g = Form2->StringGrid2;
  g->setFocus();
  g->setCurrentCell(0, 1);
  {
    test::MessageBoxAnswerer boxes;
    for (const char c : std::string("12,")) QTest::keyClick(QApplication::focusWidget(), c);
    EXPECT_EQ(boxes.texts, std::vector<std::string>{"The value must be of a real type number!"});
  }
  QApplication::setActiveWindow(Form2);  // as the desktop does when the box has gone
  auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->text(), "12");
  QTest::keyClicks(editor, ".5");
  QTest::keyClick(editor, Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_EQ(PriceListRows.Rows[1][1], "12.5");
}

TEST(PriceList, LeavingThePriceListRestoresTheReportControlsAndRebuilds) {
  test::AppFixture app;
  Form2->Button3Click();
  EXPECT_TRUE(Form2->Button3->isHidden());
  EXPECT_FALSE(Form2->Edit1->isHidden());
  EXPECT_EQ(Form2->Label4->text(), "Currency");
  EXPECT_EQ(Form2->StringGrid2->geometry(), QRect(24, 16, 553, 489));
  Form2->Edit1->setText("GBP");
  Form2->Button1Click();
  EXPECT_FALSE(Form2->InPriceListMode());
  EXPECT_FALSE(Form2->Button3->isHidden());
  EXPECT_TRUE(Form2->Edit1->isHidden());
  EXPECT_EQ(Form2->Button2->text(), "Print");
  EXPECT_EQ(Form2->Label4->text(), "Prices in GBP");
  EXPECT_EQ(Form2->windowTitle(), "Report") << "the estimate was rebuilt";
  ASSERT_EQ(EstimateGrid.RowCount(), 3);
  EXPECT_EQ(EstimateGrid.Rows[1][0], "Installation costs");
}

}  // namespace
}  // namespace kavrix
