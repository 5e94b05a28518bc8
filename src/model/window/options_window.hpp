#pragma once
// The Project Options window: limits, socket losses, print scale, canvas colour, the RF and
// fiber cable grids and four switches. Its controls edit OptionControls and, as each value is
// committed, the globals it sets (the store the project file and the run read); ShowValues puts
// the model back into the controls after a load or reset.
#include <QWidget>
#include <string>
#include <utility>
#include <vector>

class QCheckBox;
class QFrame;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace kavrix {

struct OptionRange;
class CableCellDelegate;

class TForm3 : public QWidget {
  Q_OBJECT
 public:
  explicit TForm3(QWidget* parent = nullptr);

  // Controls -> values of OptionControls, with signals held back (no modification marks).
  void ShowValues();

  // Handlers, callable directly as the other windows and tests do.
  void CheckIntegerEdit(QLineEdit* edit);
  void CheckRealEdit(QLineEdit* edit);
  bool IsRealText(const std::string& text);
  void Edit3Exit();
  // A committed cable or fiber name, less what its files cannot keep.
  void SetCableName(QTableWidget* grid, std::string& cell, const std::string& text);
  void StringGrid1SetEditText(int col, int row, const std::string& value);
  // One keystroke in the RF grid's cell editor: `value` is the editor's text after it, `before`
  // the text the cell held; returns the text the editor keeps.
  std::string RfCellKeystroke(int col, int row, const std::string& value, const std::string& before);
  bool CheckingKeystroke() const { return m_checkingKeystroke; }
  void StringGrid1Exit();
  void StringGrid2Exit();
  void Panel1Click();
  void CheckBox2Click();
  void CheckBox3Click();
  void Button1Click();
  // Applies what is typed but not yet committed: an open cell editor, the print scale. Saving,
  // the save question and the run call it, whichever window has the focus.
  void CommitEdits();

  QLineEdit* Edit6 = nullptr;   // SAT min
  QLineEdit* Edit1 = nullptr;   // SAT max
  QLineEdit* Edit11 = nullptr;  // terrestrial min
  QLineEdit* Edit2 = nullptr;   // terrestrial max
  QLineEdit* Edit4 = nullptr;   // SAT socket loss
  QLineEdit* Edit5 = nullptr;   // terrestrial socket loss
  QLineEdit* Edit3 = nullptr;   // print scale
  QTableWidget* StringGrid1 = nullptr;  // RF cables; columns as in the file: 0 "No:", 1 type, 2, 3 numbers
  QTableWidget* StringGrid2 = nullptr;  // fiber
  QFrame* Panel1 = nullptr;
  QCheckBox* CheckBox1 = nullptr;
  QCheckBox* CheckBox2 = nullptr;
  QCheckBox* CheckBox3 = nullptr;
  QCheckBox* CheckBox4 = nullptr;
  QPushButton* Button1 = nullptr;

 protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void FormCreate();
  void ApplyOnClose();
  void FormShow();
  QLineEdit* AddEdit(QWidget* parent, int x, int y, std::string* field, bool integer);
  void StoreEdit(QLineEdit* edit);
  const OptionRange* RangeOf(const QLineEdit* edit) const;
  void RestoreStoredText(QLineEdit* edit);
  std::string CheckRfCellText(int col, const std::string& value, const std::string& before);
  void GridEdited(QTableWidget* grid, int tableRow, int col);
  void ShowGrid(QTableWidget* grid, bool rf);
  void ShowPanelColor();
  void RepaintCanvas();
  void PlaceBesideMenu();

  CableCellDelegate* m_rfCells = nullptr;
  CableCellDelegate* m_fiberCells = nullptr;
  bool m_showing = false;
  bool m_placed = false;  // placed beside the main window's menu on its first showing
  bool m_checkingKeystroke = false;  // an RF cell keystroke's message may be on screen
  std::vector<std::pair<QLineEdit*, std::string*>> m_fields;  // edit -> its OptionControls text
};

}  // namespace kavrix
