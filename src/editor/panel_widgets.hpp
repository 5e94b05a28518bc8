#pragma once
// Small widgets and helpers shared by the canvas window's property panels and in-place
// editors: a stepper that also takes the inverted ranges some knobs use, a grid view over the
// source panel's backing store, key hooks, number texts and the store of one object's rows.
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "model/network_model.hpp"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace kavrix {

class SourceGrid;

// Up/down stepper. The range may run either way: with the minimum above the maximum the up
// arrow counts down, as the attenuator knobs expect. The position always lies in the range.
class KnobStepper : public QWidget {
  Q_OBJECT
 public:
  explicit KnobStepper(QWidget* parent = nullptr);
  void setRange(int min, int max);
  int minimum() const { return m_min; }
  int maximum() const { return m_max; }
  void setPosition(int p);
  int position() const { return m_pos; }
  void stepUp();    // one step toward the maximum
  void stepDown();  // one step toward the minimum

 signals:
  void stepped();   // after every arrow click, also at the end of the range

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  void moveBy(int towardMax);
  QToolButton* m_up = nullptr;
  QToolButton* m_down = nullptr;
  int m_min = 0;
  int m_max = 100;
  int m_pos = 0;
};

// Cell editor of the source grids: at most five digits; Enter commits the cell and then
// runs the grid's Enter action.
class DigitCellDelegate : public QStyledItemDelegate {
 public:
  DigitCellDelegate(std::function<void()> onEnter, QObject* parent);
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  std::function<void()> m_onEnter;
};

// A view of a SourceGrid. The store keeps every cell, also those below the rows shown; the
// view shows rows and columns up to the store's counts and writes each edited cell back.
// With `headerRow` the store's row 0 is the column header (carrier grid); otherwise its column
// 0 is the row header (summary grid).
class SourceGridView : public QTableWidget {
  Q_OBJECT
 public:
  SourceGridView(SourceGrid* store, bool headerRow, QWidget* parent);
  void reload();  // store -> view
  std::function<void()> onEnter;

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  void cellEdited(int row, int col);
  SourceGrid* m_store;
  bool m_headerRow;
  bool m_loading = false;
};

// Building blocks of the panels: a raised panel in the application's font, and controls placed
// at panel coordinates (height 20 unless given).
QFrame* MakePanel(QWidget* parent, const char* name, int width, int height);
QLabel* MakeLabel(QWidget* parent, const QString& text, int x, int y);
QPushButton* MakeButton(QWidget* parent, const QString& text, int x, int y, int width, int height = 24);
QLineEdit* MakeEdit(QWidget* parent, int x, int y, int width);
QComboBox* MakeCombo(QWidget* parent, const QStringList& items, int x, int y, int width);
QCheckBox* MakeCheck(QWidget* parent, const QString& text, int x, int y, int width);
// The narrow face of `base` for texts that must fit tight grid headers.
QFont NarrowFont(const QFont& base);

// Calls `onKey` for every key press on `w`; a true result consumes the key.
void HookKeys(QWidget* w, std::function<bool(int key)> onKey);
inline bool IsEnterKey(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

// The widget's own visibility, whether or not its window is on screen.
inline bool Shown(const QWidget* w) { return w && !w->isHidden(); }

// Number texts of the panels. Texts that are not numbers, or whose value leaves the range a
// project file holds (a larger one would make the saved file unreadable), give the fallback.
int32_t IntOr(const std::string& text, int32_t fallback);
// Tenths of a real text (474.5 -> 4745), the value x 10 truncated; binary representation noise
// of a typed one-decimal value does not cost a tenth.
int32_t TenthsOr(const std::string& text, int32_t fallback);
// A real number text of a stored tenths value (4745 -> "474.5", 4740 -> "474").
std::string TenthsText(int32_t tenths);

// Channel lists of the converter and modulator panels: items 0..48 are C21..C69, item 49 the
// dash. The lower edge in MHz of an item (the dash stands at 174 MHz), and the item whose
// channel centre (edge + 4 MHz) is `tenths`, or the dash when no channel has it.
constexpr int kUhfDashItem = 49;
int UhfChannelEdge(int item);
int UhfItemOfCentre(int32_t tenths);

// Proposed values of one object's rows: the object row and its continuation rows. `commit`
// stores the rows that differ, each after a settings undo entry, as one edit step, marks the
// project modified and ends the display of a run's levels; with no difference it changes
// nothing and records nothing.
class ObjectRowsEdit {
 public:
  explicit ObjectRowsEdit(int objRow);
  int rowCount() const { return static_cast<int>(m_rows.size()); }  // 1 + continuation rows
  bool has(int offset) const { return offset >= 0 && offset < rowCount(); }
  ObjRow& at(int offset) { return m_rows[static_cast<std::size_t>(offset)]; }
  bool commit();

 private:
  int m_obj;
  std::vector<ObjRow> m_rows;
};

}  // namespace kavrix
