// Printing of the drawing: page counts and tile grid of fixture drawings, the overview's picture
// and legend, tile pages played on page images, and a printout through the main window's menu.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QMenu>
#include <QToolBar>
#include <algorithm>
#include <regex>

#include "app/forms.hpp"
#include "app/main_window.hpp"
#include "editor/canvas_window.hpp"
#include "model/drawing_extent.hpp"
#include "model/network_model.hpp"
#include "model/number_text.hpp"
#include "model/project_options.hpp"
#include "reports/drawing_print.hpp"
#include "support/app_guard.hpp"
#include "support/image_print_job.hpp"

namespace kavrix {
namespace {

using platform::PageSize;
using platform::PrintOp;
using Kind = PrintOp::Kind;

int Round(double v) { return static_cast<int>(RoundHalfEven(v)); }

using ImageJob = test::ImagePrintJob;

int PdfPages(const std::string& path) {
  const std::string pdf = test::FileBytes(path);
  static const std::regex page("/Type\\s*/Page[^s]");
  return static_cast<int>(std::distance(std::sregex_iterator(pdf.begin(), pdf.end(), page), std::sregex_iterator()));
}

std::vector<std::vector<PrintOp>> SplitPages(const std::vector<PrintOp>& ops) {
  std::vector<std::vector<PrintOp>> pages(1);
  for (const PrintOp& op : ops) {
    if (op.kind == Kind::NewPage) pages.emplace_back();
    else pages.back().push_back(op);
  }
  return pages;
}

std::vector<PrintOp> OfKind(const std::vector<PrintOp>& ops, Kind kind) {
  std::vector<PrintOp> out;
  std::copy_if(ops.begin(), ops.end(), std::back_inserter(out), [&](const PrintOp& op) { return op.kind == kind; });
  return out;
}

const PrintOp* FindText(const std::vector<PrintOp>& ops, const std::string& text) {
  for (const PrintOp& op : ops)
    if (op.kind == Kind::Text && op.text == text) return &op;
  return nullptr;
}

QRect RectOf(const PrintOp& op) { return QRect(QPoint(op.x1, op.y1), QPoint(op.x2, op.y2)); }

// The default printer page of the scripted platform: at print scale 5 a tile is 960 x 1333
// drawing units (Round(6800 x 0.98 / 5) = Round(1332.8)).
constexpr PageSize kPage{4800, 6800};

class DrawingPrintTest : public ::testing::Test {
 protected:
  test::AppFixture app;
  platform::ScriptedPlatform& ui() { return app.ui.fake; }

  void Open(const std::string& fixture) {
    ui().files.push_back(platform::FileDialogResult{std::string(KAVRIX_TEST_DATA) + "/" + fixture, 1});
    Form1->Open1Click();
    ASSERT_TRUE(ui().messages.empty()) << ui().lastText();
  }

  static DrawingPrintInput Input(const std::string& title) {
    DrawingPrintInput in;
    in.drawing = RenderWholeDrawing().image();
    in.printScale = PrintScale;
    in.title = title;
    for (int k : UsedRfCableTypes()) in.legend.emplace_back(k, OptionControls.RfGrid[static_cast<std::size_t>(k)].type);
    return in;
  }

  static QString ArtifactPath(const QString& name) {
    const QByteArray dir = qgetenv("KAVRIX_ARTIFACT_DIR");
    return QDir(dir.isEmpty() ? QCoreApplication::applicationDirPath() : QString::fromUtf8(dir)).filePath(name);
  }
};

TEST_F(DrawingPrintTest, OneTileDrawingPrintsOnlyTheOverview) {
  Open("tap_riser.stn");  // 428 x 1218, inside one 960 x 1333 tile
  const DrawingPrintInput in = Input("tap_riser.stn");
  const std::vector<PrintOp> ops = DrawingPrintLayout(in, kPage);
  EXPECT_TRUE(OfKind(ops, Kind::NewPage).empty());
  EXPECT_TRUE(OfKind(ops, Kind::Line).empty()) << "no tile grid";
  // Taller than the band between the header (Top = 136) and the legend (6664): the band's
  // height sets the scale, 6528 / 1218, and the width follows at that scale.
  const std::vector<PrintOp> images = OfKind(ops, Kind::Image);
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(RectOf(images[0]), QRect(QPoint(0, 136), QPoint(Round(428 * 6528.0 / 1218), 6664)));
  EXPECT_EQ(images[0].image.size(), QSize(428, 1218));
  EXPECT_TRUE(images[0].source.isNull()) << "the whole drawing";
  const PrintOp* title = FindText(ops, "tap_riser.stn");
  ASSERT_TRUE(title);
  EXPECT_EQ(QPoint(title->x1, title->y1), QPoint(2000, 14));  // Round(4800 / 2.4), Round(6800 / 500)
  EXPECT_EQ(OfKind(ops, Kind::Font).front().size, 85);  // Round(6800 / 80)

  // Wider than the page's share: the page width sets the scale.
  Open("lines_sockets.stn");  // 623 x 523
  const std::vector<PrintOp> wide = OfKind(DrawingPrintLayout(Input("t"), kPage), Kind::Image);
  ASSERT_EQ(wide.size(), 1u);
  EXPECT_EQ(RectOf(wide[0]), QRect(QPoint(0, 136), QPoint(4800, 136 + Round(523 * 4800.0 / 623))));
}

TEST_F(DrawingPrintTest, LegendListsEveryRfTypeInUseOnThePage) {
  Open("lines_sockets.stn");  // coax lines of types 1 to 3, sockets of types 1 to 5
  const std::vector<PrintOp> ops = DrawingPrintLayout(Input("t"), kPage);
  const PrintOp* cables = FindText(ops, "Cables:");
  ASSERT_TRUE(cables);
  EXPECT_EQ(cables->y1, 6664);
  const std::vector<std::string> entries{"1 - RG-59", "2 - RG-6", "3 - Triset-113", "4 - RG-11", "5 - Custom"};
  int end = cables->x1 + platform::PrintTextWidth("Cables:", 85, false);
  for (const std::string& e : entries) {
    const PrintOp* op = FindText(ops, e);
    ASSERT_TRUE(op) << e;
    EXPECT_EQ(op->y1, 6664);
    EXPECT_GT(op->x1, end) << e << " overlaps the text before it";
    end = op->x1 + platform::PrintTextWidth(e, 85, false);
  }
  // The fifth slot lies at the page's right edge: the legend moved left to keep it on paper.
  EXPECT_LE(end, kPage.widthPx);
  EXPECT_GE(cables->x1, 0);

  // Played on a page the legend's last entry shows whole (the frame is the page's edge).
  ImageJob job({960, 1360});
  std::string error;
  ASSERT_TRUE(PrintDrawingOn(job, "lines_sockets.stn", &error)) << error;
  EXPECT_TRUE(job.pages[0].save(ArtifactPath("print_lines_sockets_overview.png")));
  const QImage& page = job.pages[0];
  int lastInk = -1;
  for (int y = 1332; y < 1360; ++y)
    for (int x = 0; x < 960; ++x)
      if (qGray(page.pixel(x, y)) < 128) lastInk = std::max(lastInk, x);
  EXPECT_GT(lastInk, 900) << "the legend reaches the right part of the page";
  EXPECT_LT(lastInk, 959) << "and stops inside it";
}

TEST_F(DrawingPrintTest, LegendTakesCoaxTypesOnlyAndShortLegendsKeepTheirSlots) {
  test::AddObject(205, 100, 100, 30, 1, 2);  // fibre of fibre type 2
  test::AddContinuation(0, 200, 0, 0, 1);
  test::AddObject(201, 100, 300, 10, 1, 4);
  test::AddContinuation(100, 0, 0, 0, 11);
  test::AddObject(210, 400, 400, 5, 1, 11);  // socket: cable type in the units digit
  EXPECT_EQ(UsedRfCableTypes(), (std::vector<int>{1, 4}));

  const std::vector<PrintOp> ops = DrawingPrintLayout(Input("t"), kPage);
  EXPECT_FALSE(FindText(ops, "2 - RG-6"));
  // col = 480: "Cables:" at Round((4800 - 480) / 2), the entries in their slots 2400 + 480 k.
  ASSERT_TRUE(FindText(ops, "Cables:") && FindText(ops, "1 - RG-59") && FindText(ops, "4 - RG-11"));
  EXPECT_EQ(FindText(ops, "Cables:")->x1, 2160);
  EXPECT_EQ(FindText(ops, "1 - RG-59")->x1, 2880);
  EXPECT_EQ(FindText(ops, "4 - RG-11")->x1, 4320);
}

TEST_F(DrawingPrintTest, TwoTilesWideGivesGridNumbersAndTwoTilePages) {
  Open("amplifiers.stn");  // 1241 x 371: two tiles wide, one high
  const DrawingPrintInput in = Input("amplifiers.stn");
  ASSERT_EQ(in.drawing.size(), QSize(1241, 371));
  const PageTiling t = TileDrawing(kPage, 5.0, 1241, 371);
  EXPECT_EQ(t.tileWidth, 960);
  EXPECT_EQ(t.tileHeight, 1333);
  EXPECT_EQ(t.pagesX, 2);
  EXPECT_EQ(t.pagesY, 1);

  const auto pages = SplitPages(DrawingPrintLayout(in, kPage));
  ASSERT_EQ(pages.size(), 3u);
  // Wider than the page's share: the width sets the scale, fit = 4800 / 1241.
  const double fit = 4800.0 / 1241;
  const std::vector<PrintOp> picture = OfKind(pages[0], Kind::Image);
  ASSERT_EQ(picture.size(), 1u);
  EXPECT_EQ(RectOf(picture[0]), QRect(QPoint(0, 136), QPoint(4800, 136 + Round(371 * fit))));
  // Vertical lines at the right edges of tiles 1 and 2, one line under the tile row.
  const std::vector<PrintOp> lines = OfKind(pages[0], Kind::Line);
  ASSERT_EQ(lines.size(), 3u);
  const int stepX = Round(960 * fit), stepY = Round(1333 * fit);
  // Column borders run from Top to the page's foot, 6800.
  EXPECT_EQ(RectOf(lines[0]), QRect(QPoint(stepX, 136), QPoint(stepX, 6800)));
  EXPECT_EQ(RectOf(lines[1]), QRect(QPoint(2 * stepX, 136), QPoint(2 * stepX, 6800)));
  EXPECT_EQ(RectOf(lines[2]), QRect(QPoint(0, stepY + 136), QPoint(4800, stepY + 136)));
  const PrintOp* one = FindText(pages[0], "1");
  const PrintOp* two = FindText(pages[0], "2");
  ASSERT_TRUE(one && two);
  EXPECT_EQ(QPoint(one->x1, one->y1), QPoint(Round(10 * fit), Round(10 * fit) + 136));
  EXPECT_EQ(QPoint(two->x1, two->y1), QPoint(Round(970 * fit), Round(10 * fit) + 136));

  // Tile 1 is a whole tile; tile 2 holds the last 281 units and leaves the rest of its page blank.
  const std::vector<PrintOp> tile1 = OfKind(pages[1], Kind::Image), tile2 = OfKind(pages[2], Kind::Image);
  ASSERT_EQ(tile1.size(), 1u);
  ASSERT_EQ(tile2.size(), 1u);
  EXPECT_EQ(tile1[0].source, QRect(0, 0, 960, 371));
  EXPECT_EQ(tile2[0].source, QRect(960, 0, 281, 371));
  const double sy = (6800.0 - 137) / 1333;
  EXPECT_EQ(RectOf(tile1[0]), QRect(QPoint(0, 137), QPoint(4800, 137 + Round(371 * sy))));
  EXPECT_EQ(RectOf(tile2[0]), QRect(QPoint(0, 137), QPoint(1405, 137 + Round(371 * sy))));
  for (int p = 1; p <= 2; ++p) {
    const PrintOp* number = FindText(pages[p], std::to_string(p));
    ASSERT_TRUE(number);
    EXPECT_EQ(QPoint(number->x1, number->y1), QPoint(50, 10));
    const PrintOp* caption = FindText(pages[p], "amplifiers.stn");
    ASSERT_TRUE(caption);
    EXPECT_TRUE(caption->alignRight);
    EXPECT_EQ(QPoint(caption->x1, caption->y1), QPoint(4704, 14));
    EXPECT_EQ(OfKind(pages[p], Kind::Font).back().size, Round(1333 / 60.0 * 5));
    EXPECT_EQ(RectOf(OfKind(pages[p], Kind::Rect).back()), QRect(QPoint(0, 0), QPoint(4800, 136)));
  }
}

// The tile rows keep out of the legend: a tall drawing fills the band between header and legend,
// and the bottom border of its last tile row, past the drawing, would strike through the legend's
// text (y 6728 on a legend line from 6664 to 6749). Column borders run to the page's foot.
TEST_F(DrawingPrintTest, TileGridStaysAboveTheLegend) {
  DrawingPrintInput in;
  in.drawing = QImage(500, 2640, QImage::Format_RGB32);
  in.drawing.fill(Qt::white);
  in.title = "riser";
  in.legend = {{1, "RG-59"}};
  const auto pages = SplitPages(DrawingPrintLayout(in, kPage));
  ASSERT_EQ(pages.size(), 3u) << "one column, two rows of tiles";
  const double fit = 6528.0 / 2640;
  std::vector<int> rows;
  for (const PrintOp& line : OfKind(pages[0], Kind::Line)) {
    EXPECT_GE(std::min(line.y1, line.y2), 136);
    EXPECT_LE(std::max(line.y1, line.y2), line.y1 == line.y2 ? 6664 : 6800);
    if (line.y1 == line.y2) rows.push_back(line.y1);
  }
  EXPECT_EQ(rows, std::vector<int>{Round(1333 * fit) + 136});
  EXPECT_TRUE(FindText(pages[0], "2")) << "both tiles keep their numbers";
}

TEST_F(DrawingPrintTest, PageCountsCoverTheDrawingWithWholeTiles) {
  Open("tap_riser.stn");  // 428 x 1218
  CalcDrawingExtent();
  ASSERT_EQ(DrawExtentY, 1218);
  // A page 6100 high at scale 5 holds 1220 units, but its tile only Round(1195.6) = 1196: the
  // last 22 units need a second row of tiles.
  EXPECT_EQ(TileDrawing({4800, 6100}, 5.0, 428, 1218).pagesY, 2);
  EXPECT_EQ(TileDrawing({4800, 6100}, 5.0, 428, 1196).pagesY, 2);
  EXPECT_EQ(TileDrawing({4800, 6100}, 5.0, 428, 1195).pagesY, 1);
  // A larger print scale makes smaller tiles: 480 x 666 at scale 10.
  const PageTiling ten = TileDrawing(kPage, 10.0, 1241, 1218);
  EXPECT_EQ(ten.tileWidth, 480);
  EXPECT_EQ(ten.tileHeight, 666);
  EXPECT_EQ(ten.pagesX, 3);
  EXPECT_EQ(ten.pagesY, 2);
  // Tiles smaller than a drawing unit still count as one.
  EXPECT_EQ(TileDrawing({3, 3}, 5.0, 100, 100).tileWidth, 1);

  // More than 255 pages keep counting: 20 x 20 unit tiles over 428 x 1218 give 22 x 61.
  PrintScale = 5.0;
  DrawingPrintInput in = Input("riser");
  const auto pages = SplitPages(DrawingPrintLayout(in, {100, 100}));
  ASSERT_EQ(pages.size(), 1u + 22 * 61);
  EXPECT_TRUE(FindText(pages.back(), std::to_string(22 * 61)));
  EXPECT_TRUE(FindText(pages[0], "1342")) << "the overview numbers every tile";
}

TEST_F(DrawingPrintTest, TilePagesShowTheirPartOfTheDrawingAndBlankPaperBeyondIt) {
  Open("amplifiers.stn");
  // A page of 960 x 1360 printer pixels at scale 1 tiles like the default page at scale 5.
  PrintScale = 1.0;
  ImageJob job({960, 1360});
  std::string error;
  ASSERT_TRUE(PrintDrawingOn(job, "amplifiers.stn", &error)) << error;
  ASSERT_EQ(job.pageCount(), 3);
  EXPECT_EQ(PrintPagesX, 2);
  EXPECT_EQ(PrintPagesY, 1);
  for (int p = 0; p < job.pageCount(); ++p)
    EXPECT_TRUE(job.pages[static_cast<std::size_t>(p)].save(ArtifactPath(QString("print_amplifiers_%1.png").arg(p))));

  const QImage drawing = RenderWholeDrawing().image();
  // Tile 2 starts at drawing x 960; the page shows it from x 0 below the 28-pixel header band.
  const QImage& tile2 = job.pages[2];
  int same = 0, ink = 0;
  for (int y = 0; y < 371; y += 3) {
    for (int x = 0; x < 281; x += 3) {
      const QRgb want = drawing.pixel(960 + x, y);
      if (want == qRgb(255, 255, 255)) continue;
      ++ink;
      const int py = 28 + (y * (1360 - 28)) / 1333;
      if (tile2.pixel(x, py) == want || tile2.pixel(x, py + 1) == want) ++same;
    }
  }
  ASSERT_GT(ink, 50);
  EXPECT_GT(same, ink * 9 / 10);
  // Right of the drawing's edge and below it the page stays white (the frame aside).
  for (int y = 40; y < 1350; y += 7)
    for (int x = 290; x < 950; x += 7) ASSERT_EQ(tile2.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
  for (int x = 5; x < 280; x += 7) ASSERT_EQ(tile2.pixel(x, 1000), qRgb(255, 255, 255)) << x;
  // The caption in the header band ends at Round(960 x 0.98) = 941.
  auto inked = [&](int x0, int x1) {
    for (int y = 4; y < 25; ++y)  // above the band's bottom line at 26
      for (int x = x0; x < x1; ++x)
        if (qGray(tile2.pixel(x, y)) < 128) return true;
    return false;
  };
  EXPECT_TRUE(inked(900, 941));
  EXPECT_FALSE(inked(943, 958));
}

TEST_F(DrawingPrintTest, PrintMenuWritesThePdfAndCancelPrintsNothing) {
  ASSERT_TRUE(Form1->Print1 && Form1->PrintSetup1 && Form1->ToolButtonPrint);
  QMenu* file = qobject_cast<QMenu*>(Form1->Close1->parent());
  ASSERT_TRUE(file);
  QStringList captions;
  for (QAction* a : file->actions()) captions << (a->isSeparator() ? "-" : a->text());
  EXPECT_EQ(captions, (QStringList{"&Open...", "&Save", "Save &As...", "Save As Picture", "Close", "&Print...",
                                   "P&rint Setup...", "-", "E&xit"}));
  EXPECT_EQ(Form1->ToolButtonPrint->toolTip(), "Print");
  EXPECT_TRUE(Form1->ToolBar1->actions().contains(Form1->ToolButtonPrint));

  Open("amplifiers.stn");
  ui().printAccepted = false;
  PrintPagesX = PrintPagesY = 0;
  Form1->Print1->trigger();
  EXPECT_EQ(ui().printDialogs, 1);
  EXPECT_TRUE(ui().printedFiles.empty());
  EXPECT_EQ(PrintPagesX, 0);

  ui().printAccepted = true;
  ui().printFile = (app.dir.path() / "drawing.pdf").string();
  Form1->ToolButtonPrint->trigger();
  ASSERT_EQ(ui().printedFiles.size(), 1u);
  EXPECT_EQ(PdfPages(ui().printFile), 3) << "overview and two tiles";
  EXPECT_EQ(PrintPagesX, 2);
  EXPECT_EQ(PrintPagesY, 1);
  EXPECT_TRUE(ui().messages.empty()) << ui().lastText();
  EXPECT_EQ(ui().busyDepth, 0);

  // A printer that cannot start is reported, not taken for a printout.
  ui().printFile = (app.dir.path() / "missing" / "drawing.pdf").string();
  Form1->Print1->trigger();
  ASSERT_EQ(ui().messages.size(), 1u);
  EXPECT_EQ(ui().messages[0].caption, "Error");
  EXPECT_EQ(ui().lastText(), "The drawing could not be printed: the printer did not start.");
  EXPECT_EQ(ui().busyDepth, 0);
}

TEST_F(DrawingPrintTest, PrintAndPrintSetupTakeTheTileFromThePrinter) {
  ui().page = {2400, 3400};  // at scale 5: 480 x Round(666.4) = 666
  Form1->PrintSetup1->trigger();
  EXPECT_EQ(PageWidthPx, 480);
  EXPECT_EQ(PageHeightPx, 666);

  // Cancelled: the printer that stays selected gives the tile.
  ui().setupAccepted = false;
  ui().page = {4800, 6800};
  PrintScale = 10.0;
  Form1->PrintSetup1Click();
  EXPECT_EQ(PageWidthPx, 480);
  EXPECT_EQ(PageHeightPx, 666);  // Round(6800 x 0.98 / 10)

  // The print dialog's printer sets the tile before the pages are cut: 623 units need two.
  Open("lines_sockets.stn");
  PrintScale = 5.0;
  ui().page = {2400, 3400};
  ui().printFile = (app.dir.path() / "small.pdf").string();
  Form1->Print1Click();
  EXPECT_EQ(PdfPages(ui().printFile), 3);
  EXPECT_EQ(PrintPagesX, 2);
  EXPECT_TRUE(ui().messages.empty());
}

}  // namespace
}  // namespace kavrix
