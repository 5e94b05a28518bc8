// Pictures of the price window in both modes and of the calculator, written as PNG files into
// the build directory for review.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QLineEdit>
#include <QTableWidget>

#include "app/forms.hpp"
#include "app/main_window.hpp"
#include "reports/calculator_window.hpp"
#include "reports/estimate_logo.hpp"
#include "reports/price_window.hpp"
#include "support/app_guard.hpp"

namespace kavrix {
namespace {

// Beside the test binary, in the build directory (the fixtures run in a temporary directory).
void Shoot(QWidget* w, const char* name) {
  const QImage shot = w->grab().toImage();
  EXPECT_EQ(shot.size(), w->size());
  EXPECT_TRUE(shot.save(QDir(QCoreApplication::applicationDirPath()).filePath(name), "PNG")) << name;
}

TEST(WindowShots, PriceWindowInBothModesAndTheCalculator) {
  test::AppFixture app;
  ASSERT_TRUE(DrawEstimateLogo().save("logo.bmp", "BMP"));
  app.ui->files.push_back(platform::FileDialogResult{std::string(KAVRIX_TEST_DATA) + "/sources.stn", 1});
  Form1->Open1Click();
  for (int r = 1; r < PriceListRows.RowCount(); ++r)
    if (PriceListRows.Rows[r][0] == "LNB") PriceListRows.Rows[r][1] = "20";
  Form1->Billofmaterials1Click();
  EXPECT_FALSE(Form2->Image1->pixmap().isNull()) << "the logo is shown";
  // The Comment column used to run 7 pixels under the scroll bar that eleven rows bring.
  QApplication::processEvents();
  QTableWidget* estimate = Form2->StringGrid1;
  ASSERT_TRUE(estimate->verticalScrollBar()->isVisible());
  EXPECT_LE(estimate->horizontalHeader()->length(), estimate->viewport()->width());
  EXPECT_EQ(estimate->columnWidth(3), 74);
  EXPECT_GE(estimate->columnWidth(4), 220);
  Shoot(Form2, "price_window_report.png");
  Form2->Button3Click();
  QApplication::processEvents();
  EXPECT_LE(Form2->StringGrid2->horizontalHeader()->length(), Form2->StringGrid2->viewport()->width());
  Shoot(Form2, "price_window_list.png");

  Form6->Button1Click();
  Shoot(Form6, "calculator_window.png");
  EXPECT_TRUE(app.ui->messages.empty());
}

}  // namespace
}  // namespace kavrix
