#pragma once
// The price window: in report mode the price estimate (EstimateGrid) with the logo, the price
// column choice and printing; in price-list mode the price list (PriceListRows) with its
// currency, saved to the price list file of the start directory. The grids show the model rows
// and write every edit back to them.
#include <QWidget>
#include <string>
#include <vector>

#include "model/price_rows.hpp"

class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QAction;
class QPushButton;
class QTableWidget;

namespace kavrix {

// Names of the price list rows before the cable rows: the component model names in kind order,
// then the TV socket's.
std::vector<std::string> DefaultPriceListNames();

inline constexpr char kBadRealNumber[] = "The value must be of a real type number!";

class TForm2 : public QWidget {
  Q_OBJECT
 public:
  explicit TForm2(QWidget* parent = nullptr);

  // Fills the price list: the given names, the cable headings and the cable names of the
  // project options; sets CablePriceRow and the price column choice.
  void BuildPriceGrid(const std::vector<std::string>& names);
  // Reads the price list file of the current directory, which becomes StartDir.
  void LoadPriceFile();
  // Writes the price list file into StartDir; false (and a message) when that fails.
  bool SavePriceFile();
  // Name cells of RF cable types 1..5 (first = 1) or fiber types 1..5 (first = 7); prices go
  // with the names (RenamePriceListRows).
  void SetCableNames(int first, const std::vector<std::string>& names);
  // Shows EstimateGrid in StringGrid1 and PriceListRows in StringGrid2 (row 0 is the header).
  void ShowEstimateRows();
  void ShowPriceList();
  // Report mode as every rebuild enters it: caption, logo, estimate parts, window shown.
  void EnterReportMode();
  // Price column of the estimate: the combo box's index + 1.
  int PriceColumn() const;

  void Button1Click();  // "Close"
  void Button2Click();  // "Print", or "Save" in price-list mode
  void Button3Click();  // "Price list"
  void ComboBox1Change();
  void AddRow1Click();
  void DeleteRow1Click();
  void FormClose();
  // Right button on the estimate grid at `pos` (grid coordinates).
  void StringGrid1MouseDown(QPoint pos);
  void StringGrid1SelectCell();
  // Checks a cell text as typed: an invalid price or quantity loses its last character;
  // `message` then says why (else it is empty).
  QString CheckedCellText(int column, const QString& text, std::string& message);
  // The currency's edit committed: it shows what the price list keeps, saying what was left out.
  void Edit1Exit();
  bool PrintEstimate();
  bool InPriceListMode() const;

  QLabel* Image1 = nullptr;  // logo
  QLabel* Label1 = nullptr;  // "Report"
  QLabel* Label2 = nullptr;  // network title
  QLabel* Label3 = nullptr;  // "Choise of price list"
  QLabel* Label4 = nullptr;  // currency text
  QComboBox* ComboBox1 = nullptr;  // price column
  QLineEdit* Edit1 = nullptr;      // currency
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;
  QPushButton* Button3 = nullptr;
  QTableWidget* StringGrid1 = nullptr;  // estimation
  QTableWidget* StringGrid2 = nullptr;  // price list
  QMenu* PopupMenu1 = nullptr;
  QAction* AddRow1 = nullptr;
  QAction* DeleteRow1 = nullptr;

 protected:
  void closeEvent(QCloseEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void StringGrid1Edited(int row, int column);
  void StringGrid2Edited(int row, int column);
  void StringGrid1RowMoved(int from, int to);
  void ShowReportControls();
  bool m_showing = false;
};

}  // namespace kavrix
