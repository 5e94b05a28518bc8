#pragma once
// The price window: the estimation grid (rows stored in the project file, kept in EstimateGrid)
// and the price list grid, whose name column ends with the project's RF and fiber cable names.
#include <QWidget>
#include <string>
#include <vector>

class QComboBox;
class QTableWidget;

namespace kavrix {

// Row of the "---  RF  Cables:  ---" heading in the price list grid.
extern int CablePriceRow;

// Names of the price list rows before the cable rows: the component model names in kind order,
// then the TV socket's.
std::vector<std::string> DefaultPriceListNames();

class TForm2 : public QWidget {
  Q_OBJECT
 public:
  explicit TForm2(QWidget* parent = nullptr);

  // Fills the price list grid: the given names, the cable headings and the cable names of the
  // project options; sets CablePriceRow and the price column choice.
  void BuildPriceGrid(const std::vector<std::string>& names);
  // Name cells of RF cable types 1..5 (first = 1) or fiber types 1..5 (first = 7).
  void SetCableNames(int first, const std::vector<std::string>& names);
  // Shows EstimateGrid in StringGrid1 (row 0 is the header).
  void ShowEstimateRows();

  QTableWidget* StringGrid1 = nullptr;  // estimation
  QTableWidget* StringGrid2 = nullptr;  // price list
  QComboBox* ComboBox1 = nullptr;       // price column

 private:
  void StringGrid1Edited(int row, int column);
  bool m_showing = false;
};

}  // namespace kavrix
