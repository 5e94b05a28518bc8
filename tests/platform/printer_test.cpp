// The printer seam: jobs of the scripted platform write PDF files whose pages have the scripted
// page size, and a list of drawing operations plays page by page.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QPainter>
#include <QPrintDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <fstream>
#include <regex>
#include <sstream>

#include "platform/printer.hpp"
#include "support/image_print_job.hpp"

namespace kavrix::platform {
namespace {

std::string Bytes(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

int PdfPages(const std::string& pdf) {
  static const std::regex page("/Type\\s*/Page[^s]");
  return static_cast<int>(std::distance(std::sregex_iterator(pdf.begin(), pdf.end(), page), std::sregex_iterator()));
}

TEST(Printer, ScriptedJobPrintsPdfPagesOfTheScriptedSize) {
  QTemporaryDir dir;
  ScopedScriptedPlatform ui;
  ui->page = {4800, 6000};  // 8 x 10 inches at 600 dpi
  ui->printFile = dir.filePath("out.pdf").toStdString();
  std::unique_ptr<PrintJob> job = Current().printDialog("test");
  ASSERT_TRUE(job);
  EXPECT_EQ(job->pageSize().widthPx, 4800);
  EXPECT_EQ(job->pageSize().heightPx, 6000);
  ASSERT_TRUE(job->beginDoc("test"));
  job->painter().drawLine(0, 0, 4799, 5999);
  EXPECT_TRUE(job->newPage());
  EXPECT_TRUE(job->newPage());
  EXPECT_EQ(job->pageCount(), 3);
  EXPECT_TRUE(job->endDoc());
  job.reset();
  const std::string pdf = Bytes(ui->printFile);
  EXPECT_EQ(PdfPages(pdf), 3);
  EXPECT_NE(pdf.find("/MediaBox [0 0 576.000000 720.000000]"), std::string::npos) << "8 x 10 inches";
  EXPECT_EQ(ui->printedFiles, std::vector<std::string>{ui->printFile});
}

TEST(Printer, CancelledDialogGivesNoJob) {
  ScopedScriptedPlatform ui;
  ui->printAccepted = false;
  EXPECT_FALSE(Current().printDialog("test"));
  EXPECT_EQ(ui->printDialogs, 1);
  EXPECT_TRUE(ui->printedFiles.empty());
}

// The setup dialog's confirm button read "Print" although the setup prints nothing.
TEST(Printer, SetupDialogConfirmsWithOkNotPrint) {
  QtPlatform qt;
  QStringList buttons;
  QString title;
  QTimer::singleShot(0, [&] {
    auto* dlg = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dlg, nullptr);
    title = dlg->windowTitle();
    for (QDialogButtonBox* box : dlg->findChildren<QDialogButtonBox*>())
      for (QAbstractButton* b : box->buttons()) buttons << b->text().remove('&');
    dlg->reject();
  });
  EXPECT_FALSE(qt.printerSetup());
  EXPECT_EQ(title, "Print Setup");
  EXPECT_TRUE(buttons.contains("OK")) << buttons.join(",").toStdString();
  EXPECT_FALSE(buttons.contains("Print")) << buttons.join(",").toStdString();
}

TEST(Printer, OperationsPlayPageByPage) {
  QTemporaryDir dir;
  ScopedScriptedPlatform ui;
  ui->printFile = dir.filePath("ops.pdf").toStdString();
  std::unique_ptr<PrintJob> job = Current().printDialog("ops");
  ASSERT_TRUE(job && job->beginDoc("ops"));
  std::vector<PrintOp> ops(4);
  ops[0].kind = PrintOp::Kind::Font;
  ops[0].size = 100;
  ops[1].kind = PrintOp::Kind::Text;
  ops[1].text = "first page";
  ops[2].kind = PrintOp::Kind::NewPage;
  ops[3].kind = PrintOp::Kind::Image;
  ops[3].x2 = ops[3].y2 = 200;
  ops[3].image = QImage(4, 4, QImage::Format_RGB32);
  ops[3].image.fill(Qt::red);
  PlayPrintOps(*job, ops);
  EXPECT_EQ(job->pageCount(), 2);
  EXPECT_TRUE(job->endDoc());
  job.reset();
  EXPECT_EQ(PdfPages(Bytes(ui->printFile)), 2);
}

// A font height is the height of the text's line, as the layouts place texts line by line: ink
// of ascenders and descenders stays inside it (with the em as height the descenders ran into the
// line below). A frame of a whole page keeps all four sides on the paper.
TEST(Printer, TextsAndFramesStayInsideTheirBoxes) {
  test::ImagePrintJob job({800, 400});
  ASSERT_TRUE(job.beginDoc("boxes"));
  std::vector<PrintOp> ops(6);
  ops[0].kind = PrintOp::Kind::Rect;  // filled with the white brush: drawn first
  ops[0].x2 = 800;
  ops[0].y2 = 400;
  ops[1].kind = PrintOp::Kind::Font;
  ops[1].size = 100;
  ops[2].x1 = 50;
  ops[2].y1 = 40;
  ops[2].text = "Hgjy";
  ops[3].x1 = 700;
  ops[3].y1 = 200;
  ops[3].text = "Wy";
  ops[3].alignRight = true;
  ops[4].kind = PrintOp::Kind::Font;
  ops[4].size = 100;
  ops[4].bold = true;
  ops[5].x1 = 50;
  ops[5].y1 = 200;
  ops[5].text = "Bold gy";
  PlayPrintOps(job, ops);
  ASSERT_TRUE(job.endDoc());
  const QImage& page = job.pages[0];
  const QRect regular = test::InkBox(page, QRect(2, 2, 600, 180));
  ASSERT_FALSE(regular.isEmpty());
  EXPECT_GE(regular.top(), 40);
  EXPECT_LT(regular.bottom(), 140);
  EXPECT_GT(regular.height(), 80) << "the line is used, not shrunk";
  const QRect bold = test::InkBox(page, QRect(2, 190, 500, 200));
  EXPECT_GE(bold.top(), 200);
  EXPECT_LT(bold.bottom(), 300);
  const QRect right = test::InkBox(page, QRect(600, 190, 196, 200));
  EXPECT_LE(right.right(), 700);
  EXPECT_GT(right.right(), 680);
  for (QPoint corner : {QPoint(0, 0), QPoint(799, 0), QPoint(0, 399), QPoint(799, 399), QPoint(400, 399), QPoint(799, 200)})
    EXPECT_LT(qGray(page.pixel(corner)), 128) << corner.x() << "," << corner.y();
}

}  // namespace
}  // namespace kavrix::platform
