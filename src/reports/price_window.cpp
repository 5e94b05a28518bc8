#include "reports/price_window.hpp"

#include <QComboBox>
#include <QHeaderView>
#include <QTableWidget>

#include "catalogue/model_names.hpp"
#include "model/price_rows.hpp"
#include "model/project_options.hpp"

namespace kavrix {

int CablePriceRow = 0;

std::vector<std::string> DefaultPriceListNames() {
  std::vector<std::string> names;
  for (int kind = 1; kind <= 200; ++kind)
    if (const std::string_view n = ModelName(kind, BrandIndex); !n.empty()) names.emplace_back(n);
  names.emplace_back(ModelName(210, BrandIndex));
  return names;
}

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

void SetCell(QTableWidget* g, int row, int col, const std::string& text) {
  auto* item = g->item(row, col);
  if (!item) {
    item = new QTableWidgetItem();
    g->setItem(row, col, item);
  }
  item->setText(Q(text));
}

}  // namespace

TForm2::TForm2(QWidget* parent) : QWidget(parent) {
  setWindowTitle("Help");
  setWindowFlag(Qt::WindowStaysOnTopHint);
  resize(602, 568);

  StringGrid1 = new QTableWidget(this);
  StringGrid1->setGeometry(8, 235, 586, 257);
  StringGrid1->setColumnCount(kPriceColumns);
  StringGrid1->setHorizontalHeaderLabels({"     Item", " Quantity", "Unit Price", "Whole Price", "     Comment"});
  const int widths1[] = {130, 57, 62, 74, 236};
  for (int c = 0; c < kPriceColumns; ++c) StringGrid1->setColumnWidth(c, widths1[c]);
  StringGrid1->hide();
  connect(StringGrid1, &QTableWidget::cellChanged, this, &TForm2::StringGrid1Edited);

  StringGrid2 = new QTableWidget(this);
  StringGrid2->setGeometry(24, 16, 553, 121);
  StringGrid2->setColumnCount(4);
  StringGrid2->hide();

  ComboBox1 = new QComboBox(this);
  ComboBox1->setGeometry(272, 165, 89, 24);
  ShowEstimateRows();
}

void TForm2::BuildPriceGrid(const std::vector<std::string>& names) {
  StringGrid2->setHorizontalHeaderLabels(
      {"      Component", "       Main price", "     Special 1 price", "     Special 2 price"});
  const int widths[] = {124, 132, 136, 134};
  for (int c = 0; c < 4; ++c) StringGrid2->setColumnWidth(c, widths[c]);
  StringGrid2->verticalHeader()->setDefaultSectionSize(24);
  ComboBox1->clear();
  ComboBox1->addItem("Main");
  ComboBox1->setCurrentIndex(0);
  ComboBox1->addItem("Special 1");
  ComboBox1->addItem("Special 2");

  // Grid row r is table row r - 1: row 0 is the header.
  std::vector<std::string> rows = names;
  CablePriceRow = static_cast<int>(rows.size()) + 1;
  rows.push_back("---  RF  Cables:  ---");
  for (int k = 1; k <= kCableGridRows; ++k) rows.push_back(OptionControls.RfGrid[k].type);
  rows.push_back("Fiber Optics Cables:");
  for (int k = 1; k <= kCableGridRows; ++k) rows.push_back(OptionControls.FiberGrid[k].type);
  StringGrid2->setRowCount(static_cast<int>(rows.size()));
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    SetCell(StringGrid2, r, 0, rows[r]);
    StringGrid2->item(r, 0)->setFlags(Qt::ItemIsEnabled);
  }
}

void TForm2::SetCableNames(int first, const std::vector<std::string>& names) {
  for (std::size_t i = 0; i < names.size(); ++i) {
    const int row = CablePriceRow + first + static_cast<int>(i) - 1;  // table row of grid row
    if (row >= 0 && row < StringGrid2->rowCount()) SetCell(StringGrid2, row, 0, names[i]);
  }
}

void TForm2::ShowEstimateRows() {
  m_showing = true;
  const int rows = EstimateGrid.RowCount() - 1;
  StringGrid1->setRowCount(rows < 0 ? 0 : rows);
  for (int r = 1; r < EstimateGrid.RowCount(); ++r)
    for (int c = 0; c < kPriceColumns; ++c) SetCell(StringGrid1, r - 1, c, EstimateGrid.Rows[r][c]);
  m_showing = false;
}

void TForm2::StringGrid1Edited(int row, int column) {
  if (m_showing || column < 0 || column >= kPriceColumns) return;
  if (row + 1 >= EstimateGrid.RowCount()) EstimateGrid.SetRowCount(row + 2);
  const auto* item = StringGrid1->item(row, column);
  EstimateGrid.Rows[row + 1][column] = item ? item->text().toStdString() : std::string();
}

}  // namespace kavrix
