#include <gtest/gtest.h>

#include <QComboBox>
#include <QTableWidget>

#include "catalogue/model_names.hpp"
#include "model/price_rows.hpp"
#include "model/project_options.hpp"
#include "reports/price_window.hpp"
#include "support/app_guard.hpp"

namespace kavrix {
namespace {

TEST(PriceWindow, PriceListRowsEndWithTheCableNames) {
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
  EXPECT_EQ(Form2->ComboBox1->currentText(), "Main");
  EXPECT_EQ(Form2->ComboBox1->count(), 3);
}

// The start-up price list used to hold only the TV socket, so no component found its price.
TEST(PriceWindow, StartUpPriceListNamesEveryModelOfTheBrandInKindOrder) {
  test::AppFixture app;
  const std::vector<std::string> names = DefaultPriceListNames();
  ASSERT_EQ(names.size(), 162u + 1u);
  EXPECT_EQ(names.front(), ModelName(1));
  EXPECT_EQ(names.back(), "TV socket");
  EXPECT_EQ(CablePriceRow, 162 + 2);
  EXPECT_EQ(Form2->StringGrid2->rowCount(), 162 + 13);
  EXPECT_EQ(Form2->StringGrid2->item(CablePriceRow - 2, 0)->text(), "TV socket");
}

TEST(PriceWindow, EstimateGridShowsAndEditsTheStoredRows) {
  test::AppFixture app;
  EstimateGrid.SetRowCount(3);
  EstimateGrid.Rows[2] = {"Cable RG-6", "40m", "0.5", "20", ""};
  Form2->ShowEstimateRows();
  ASSERT_EQ(Form2->StringGrid1->rowCount(), 2);
  EXPECT_EQ(Form2->StringGrid1->item(1, 1)->text(), "40m");
  Form2->StringGrid1->item(1, 4)->setText("riser");
  EXPECT_EQ(EstimateGrid.Rows[2][4], "riser");
}

}  // namespace
}  // namespace kavrix
