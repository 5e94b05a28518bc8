// The printer seam: jobs of the scripted platform write PDF files whose pages have the scripted
// page size, and a list of drawing operations plays page by page.
#include <gtest/gtest.h>

#include <QDir>
#include <QPainter>
#include <QTemporaryDir>
#include <fstream>
#include <regex>
#include <sstream>

#include "platform/printer.hpp"

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

}  // namespace
}  // namespace kavrix::platform
