#pragma once
// Rows of the price window's estimation grid as the project file stores them: five texts per
// row (item, quantity, unit price, whole price, comment); row 0 is the grid's header and holds
// no data. The price window shows and edits these rows.
#include <array>
#include <string>
#include <vector>

namespace kavrix {

constexpr int kPriceColumns = 5;
using PriceRow = std::array<std::string, kPriceColumns>;

struct PriceEstimateGrid {
  std::vector<PriceRow> Rows = std::vector<PriceRow>(2);  // RowCount rows, header included
  int Tag = 0;                                            // number of user rows

  int RowCount() const { return static_cast<int>(Rows.size()); }
  void SetRowCount(int n) { Rows.resize(n < 1 ? 1 : static_cast<std::size_t>(n)); }
  // New/Close: every data row emptied, two rows left, no user rows.
  void Clear() {
    for (std::size_t i = 1; i < Rows.size(); ++i) Rows[i] = PriceRow{};
    SetRowCount(2);
    Tag = 0;
  }
};

extern PriceEstimateGrid EstimateGrid;

}  // namespace kavrix
