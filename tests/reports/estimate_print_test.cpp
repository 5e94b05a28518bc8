// The printed estimate: its layout in page units, page breaks of long estimates, and the PDF that
// a print through the platform's printer produces.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QLabel>
#include <algorithm>
#include <filesystem>
#include <regex>

#include "app/forms.hpp"
#include "model/price_rows.hpp"
#include "reports/estimate_logo.hpp"
#include "reports/estimate_print.hpp"
#include "reports/price_window.hpp"
#include "support/app_guard.hpp"
#include "support/image_print_job.hpp"

namespace kavrix {
namespace {

using platform::PrintOp;
using Kind = PrintOp::Kind;

int PdfPages(const std::string& path) {
  const std::string pdf = test::FileBytes(path);
  static const std::regex page("/Type\\s*/Page[^s]");
  return static_cast<int>(std::distance(std::sregex_iterator(pdf.begin(), pdf.end(), page), std::sregex_iterator()));
}

EstimatePrintInput Estimate(int dataRows, QImage logo = QImage()) {
  EstimatePrintInput in;
  in.title = "Report";
  in.currency = "Prices in EUR";
  in.network = "house.stn";
  in.rows.push_back({});
  for (int r = 1; r <= dataRows; ++r) in.rows.push_back({"item " + std::to_string(r), "1", "2", "2", ""});
  in.rows.push_back({"Total:", "", "", std::to_string(2 * dataRows), ""});
  in.logo = logo;
  return in;
}

const PrintOp* FindText(const std::vector<PrintOp>& ops, const std::string& text) {
  for (const auto& op : ops)
    if (op.kind == Kind::Text && op.text == text) return &op;
  return nullptr;
}

// Page 4800 x 6800 device pixels: ux = 4800 / 200 = 24, uy = Round(6800 / 300 = 22.67) = 23.
constexpr platform::PageSize kPage{4800, 6800};

TEST(EstimatePrint, LogoTitleAndHeaderSitInPageUnits) {
  const std::vector<PrintOp> ops = EstimatePrintLayout(Estimate(2, DrawEstimateLogo()), kPage);
  // Logo 497 x 151: right = Round(15 x 23 x 3.2914) + 30 x 24 = 1136 + 720, bottom = 25 x 23.
  ASSERT_EQ(ops[0].kind, Kind::Image);
  EXPECT_EQ(QRect(QPoint(ops[0].x1, ops[0].y1), QPoint(ops[0].x2, ops[0].y2)), QRect(QPoint(720, 230), QPoint(1856, 575)));
  const int b = 575;
  const PrintOp* title = FindText(ops, "Report");
  ASSERT_TRUE(title);
  EXPECT_EQ(QPoint(title->x1, title->y1), QPoint(90 * 24, b + 10 * 23));
  ASSERT_TRUE(FindText(ops, "house.stn"));
  EXPECT_EQ(QPoint(FindText(ops, "house.stn")->x1, FindText(ops, "house.stn")->y1), QPoint(161 * 24, b + 20 * 23));
  const auto rect = std::find_if(ops.begin(), ops.end(), [](const PrintOp& op) { return op.kind == Kind::Rect; });
  ASSERT_NE(rect, ops.end());
  EXPECT_EQ(QRect(QPoint(rect->x1, rect->y1), QPoint(rect->x2, rect->y2)), QRect(QPoint(720, b + 690), QPoint(4320, b + 920)));
  const PrintOp* quantity = FindText(ops, " Quantity");
  ASSERT_TRUE(quantity);
  EXPECT_EQ(QPoint(quantity->x1, quantity->y1), QPoint(62 * 24, b + 33 * 23));
  // Row 1 starts 8 units below the header box's top.
  ASSERT_TRUE(FindText(ops, "item 1"));
  EXPECT_EQ(FindText(ops, "item 1")->y1, b + 30 * 23 + 8 * 23 + 3 * 23);
  const PrintOp* total = FindText(ops, "Total:");
  ASSERT_TRUE(total);
  EXPECT_EQ(total->y1, b + 30 * 23 + 3 * 8 * 23 + 3 * 23);
  EXPECT_EQ(FindText(ops, "4")->x1, 103 * 24) << "the total under Whole Price";
  const auto pen = std::find_if(ops.begin(), ops.end(), [](const PrintOp& op) { return op.kind == Kind::Pen; });
  EXPECT_EQ(pen->size, 8);
}

TEST(EstimatePrint, WideLogoIsFittedToThePageWidth) {
  // a = 20: 15 x 23 x 20 + 720 lies beyond 4800, so right = 180 x 24 and bottom = 150 x 24 / 20 + 230.
  const std::vector<PrintOp> ops = EstimatePrintLayout(Estimate(1, QImage(2000, 100, QImage::Format_RGB32)), kPage);
  ASSERT_EQ(ops[0].kind, Kind::Image);
  EXPECT_EQ(ops[0].x2, 4320);
  EXPECT_EQ(ops[0].y2, 410);
  EXPECT_EQ(FindText(ops, "Report")->y1, 410 + 230);
  // Without a logo the text starts below where it would end.
  const std::vector<PrintOp> none = EstimatePrintLayout(Estimate(1), kPage);
  EXPECT_TRUE(std::none_of(none.begin(), none.end(), [](const PrintOp& op) { return op.kind == Kind::Image; }));
  EXPECT_EQ(FindText(none, "Report")->y1, 25 * 23 + 10 * 23);
}

TEST(EstimatePrint, LongEstimatesBreakEveryPageAndStayOnThePage) {
  // Row 29 opens page two 12 units below its top.
  const std::vector<PrintOp> two = EstimatePrintLayout(Estimate(29), kPage);
  const auto brk = std::find_if(two.begin(), two.end(), [](const PrintOp& op) { return op.kind == Kind::NewPage; });
  ASSERT_NE(brk, two.end());
  EXPECT_LT(brk - std::find_if(two.begin(), two.end(), [](const PrintOp& op) { return op.text == "item 29"; }), 0);
  EXPECT_EQ(FindText(two, "item 29")->y1, 12 * 23 + 3 * 23);

  for (int rows : {0, 1, 27, 28, 29, 62, 63, 96, 97, 150}) {
    const std::vector<PrintOp> ops = EstimatePrintLayout(Estimate(rows), kPage);
    int pages = 1;
    for (int after : {28, 62, 96, 130}) pages += rows >= after ? 1 : 0;
    EXPECT_EQ(std::count_if(ops.begin(), ops.end(), [](const PrintOp& op) { return op.kind == Kind::NewPage; }), pages - 1)
        << rows << " rows";
    for (const PrintOp& op : ops) {
      if (op.kind != Kind::Text && op.kind != Kind::Line) continue;
      EXPECT_GE(std::min(op.y1, op.kind == Kind::Line ? op.y2 : op.y1), 0) << rows << " rows: " << op.text;
      EXPECT_LE(std::max(op.y1 + 4 * 23, op.y2), kPage.heightPx) << rows << " rows: " << op.text;
    }
  }
}

TEST(EstimatePrint, PrintButtonWritesEveryPage) {
  test::AppFixture app;
  EstimateGrid.Rows.assign(1, PriceRow{});
  for (int r = 1; r <= 70; ++r) EstimateGrid.Rows.push_back({"Kelv1", "1", "1", "1", ""});
  EstimateGrid.Rows.push_back({"Total:", "", "", "70", ""});
  app.ui->printFile = (app.dir.path() / "estimate.pdf").string();
  Form2->Button2Click();
  ASSERT_EQ(app.ui->printDialogs, 1);
  EXPECT_EQ(PdfPages(app.ui->printFile), 3);  // rows 1..28, 29..62, 63..70 with the total
  EXPECT_TRUE(app.ui->messages.empty());

  // A cancelled dialog prints nothing.
  std::filesystem::remove(app.ui->printFile);
  app.ui->printAccepted = false;
  EXPECT_FALSE(Form2->PrintEstimate());
  EXPECT_FALSE(std::filesystem::exists(app.ui->printFile));
}

TEST(EstimatePrint, LogoFileIsPrintedWhenPresent) {
  test::AppFixture app;
  ASSERT_TRUE(DrawEstimateLogo().save("logo.bmp", "BMP"));
  app.ui->printFile = (app.dir.path() / "with_logo.pdf").string();
  EXPECT_TRUE(Form2->PrintEstimate());
  const std::string withLogo = test::FileBytes(app.ui->printFile);
  EXPECT_NE(withLogo.find("/Subtype /Image"), std::string::npos);
  std::filesystem::remove("logo.bmp");
  app.ui->printFile = (app.dir.path() / "without_logo.pdf").string();
  EXPECT_TRUE(Form2->PrintEstimate());
  EXPECT_EQ(test::FileBytes(app.ui->printFile).find("/Subtype /Image"), std::string::npos);
  EXPECT_EQ(PdfPages(app.ui->printFile), 1);
}

// Column texts keep to their columns at the fixed positions: the 4-unit font is the height of
// the text's line, in a narrow face ("Cable Triset-113" ran into its quantity and "Whole Price"
// across its separator when the font's em was taken as its height).
TEST(EstimatePrint, ColumnTextsStayInsideTheirColumns) {
  EstimatePrintInput in = Estimate(0);
  in.rows.insert(in.rows.begin() + 1, {{"Cable Triset-113", "15m", "0.45", "6.75", ""}, {"Fiber Type 2", "128m", "1.2", "153.6", ""}});
  const std::vector<PrintOp> ops = EstimatePrintLayout(in, kPage);
  const int ux = 24;
  const int rightOf[] = {60 * ux, 80 * ux, 100 * ux, 120 * ux, 180 * ux};  // separators, box edge
  const int columnX[] = {35 * ux, 62 * ux, 82 * ux, 103 * ux, 135 * ux};
  PrintOp font;
  int checked = 0;
  for (const PrintOp& op : ops) {
    if (op.kind == Kind::Font) font = op;
    if (op.kind != Kind::Text || op.text.empty()) continue;
    const auto column = std::find(std::begin(columnX), std::end(columnX), op.x1);
    if (column == std::end(columnX)) continue;
    // Each text alone on a strip of the page's width, so only its own ink is measured.
    PrintOp placed = op;
    placed.y1 = 0;
    test::ImagePrintJob strip({kPage.widthPx, font.size + 4});
    ASSERT_TRUE(strip.beginDoc("strip"));
    platform::PlayPrintOps(strip, {font, placed});
    ASSERT_TRUE(strip.endDoc());
    const QRect ink = test::InkBox(strip.pages[0], strip.pages[0].rect());
    ASSERT_FALSE(ink.isEmpty()) << op.text;
    EXPECT_LT(ink.bottom(), font.size) << op.text;
    // Clear of the pen (8 pixels wide) of the separator on its right.
    EXPECT_LT(ink.right(), rightOf[column - std::begin(columnX)] - 4) << '"' << op.text << "\" crosses its column's edge";
    ++checked;
  }
  EXPECT_EQ(checked, 5 + 2 * 4 + 2) << "headers, two rows without comments, the total";
}

}  // namespace
}  // namespace kavrix
