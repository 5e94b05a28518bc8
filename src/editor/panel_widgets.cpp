#include "editor/panel_widgets.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <algorithm>
#include <cmath>
#include <limits>

#include "catalogue/label_lists.hpp"
#include "model/number_text.hpp"
#include "model/project_file.hpp"
#include "model/source_file.hpp"
#include "model/undo_ring.hpp"
#include "model/window_modes.hpp"

namespace kavrix {

// ---- KnobStepper

KnobStepper::KnobStepper(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::StrongFocus);
  m_up = new QToolButton(this);
  m_down = new QToolButton(this);
  m_up->setArrowType(Qt::UpArrow);
  m_down->setArrowType(Qt::DownArrow);
  for (QToolButton* b : {m_up, m_down}) {
    b->setFocusPolicy(Qt::NoFocus);
    b->setAutoRepeat(true);
  }
  connect(m_up, &QToolButton::clicked, this, [this] { stepUp(); });
  connect(m_down, &QToolButton::clicked, this, [this] { stepDown(); });
  resize(16, 24);
}

void KnobStepper::setRange(int min, int max) {
  m_min = min;
  m_max = max;
  setPosition(m_pos);
}

void KnobStepper::setPosition(int p) {
  m_pos = std::clamp(p, std::min(m_min, m_max), std::max(m_min, m_max));
}

void KnobStepper::moveBy(int towardMax) {
  const int dir = m_max >= m_min ? 1 : -1;
  setPosition(m_pos + towardMax * dir);
  emit stepped();
}

void KnobStepper::stepUp() { moveBy(1); }
void KnobStepper::stepDown() { moveBy(-1); }

void KnobStepper::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Up) {
    stepUp();
  } else if (e->key() == Qt::Key_Down) {
    stepDown();
  } else {
    QWidget::keyPressEvent(e);
  }
}

void KnobStepper::resizeEvent(QResizeEvent*) {
  const int half = height() / 2;
  m_up->setGeometry(0, 0, width(), half);
  m_down->setGeometry(0, half, width(), height() - half);
}

// ---- grids

DigitCellDelegate::DigitCellDelegate(std::function<void()> onEnter, QObject* parent)
    : QStyledItemDelegate(parent), m_onEnter(std::move(onEnter)) {}

QWidget* DigitCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const {
  auto* edit = new QLineEdit(parent);
  edit->setFrame(false);
  edit->setValidator(new QRegularExpressionValidator(QRegularExpression("\\d{0,5}"), edit));
  return edit;
}

bool DigitCellDelegate::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::KeyPress && IsEnterKey(static_cast<QKeyEvent*>(e)->key())) {
    if (auto* editor = qobject_cast<QWidget*>(watched)) {
      emit commitData(editor);
      emit closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
    if (m_onEnter) m_onEnter();
    return true;
  }
  return QStyledItemDelegate::eventFilter(watched, e);
}

SourceGridView::SourceGridView(SourceGrid* store, bool headerRow, QWidget* parent)
    : QTableWidget(parent), m_store(store), m_headerRow(headerRow) {
  setItemDelegate(new DigitCellDelegate([this] { if (onEnter) onEnter(); }, this));
  setEditTriggers(QAbstractItemView::AllEditTriggers);
  setSelectionMode(QAbstractItemView::SingleSelection);
  verticalHeader()->setDefaultSectionSize(20);
  horizontalHeader()->setMinimumSectionSize(10);
  if (headerRow) {
    verticalHeader()->hide();
  } else {
    horizontalHeader()->hide();
  }
  connect(this, &QTableWidget::cellChanged, this, [this](int r, int c) { cellEdited(r, c); });
}

void SourceGridView::reload() {
  m_loading = true;
  const int cols = m_store->colCount();
  const int rows = m_store->rowCount();
  const int firstCol = m_headerRow ? 0 : 1;
  const int firstRow = m_headerRow ? 1 : 0;
  setColumnCount(std::max(0, cols - firstCol));
  setRowCount(std::max(0, rows - firstRow));
  QStringList headers;
  if (m_headerRow) {
    for (int c = 0; c < cols; ++c) headers << QString::fromStdString(m_store->cell(c, 0));
    setHorizontalHeaderLabels(headers);
  } else {
    for (int r = 0; r < rows; ++r) headers << QString::fromStdString(m_store->cell(0, r));
    setVerticalHeaderLabels(headers);
  }
  for (int r = firstRow; r < rows; ++r) {
    for (int c = firstCol; c < cols; ++c) {
      const QString text = QString::fromStdString(m_store->cell(c, r));
      QTableWidgetItem* it = item(r - firstRow, c - firstCol);
      if (!it) {
        setItem(r - firstRow, c - firstCol, new QTableWidgetItem(text));
      } else if (it->text() != text) {
        it->setText(text);
      }
    }
  }
  m_loading = false;
}

void SourceGridView::cellEdited(int row, int col) {
  if (m_loading) return;
  const QTableWidgetItem* it = item(row, col);
  const int storeRow = row + (m_headerRow ? 1 : 0);
  const int storeCol = col + (m_headerRow ? 0 : 1);
  m_store->setCell(storeCol, storeRow, it ? it->text().trimmed().toStdString() : std::string());
}

void SourceGridView::keyPressEvent(QKeyEvent* e) {
  if (IsEnterKey(e->key()) && state() != QAbstractItemView::EditingState) {
    if (onEnter) onEnter();
    return;
  }
  QTableWidget::keyPressEvent(e);
}

// ---- building blocks

QFrame* MakePanel(QWidget* parent, const char* name, int width, int height) {
  auto* p = new QFrame(parent);
  p->setObjectName(name);
  p->setFrameShape(QFrame::Panel);
  p->setFrameShadow(QFrame::Raised);
  p->setLineWidth(2);
  p->setAutoFillBackground(true);
  QPalette pal = p->palette();
  pal.setColor(QPalette::Window, QColor(0xF0, 0xF0, 0xF0));
  p->setPalette(pal);
  p->resize(width, height);
  p->hide();
  return p;
}

QLabel* MakeLabel(QWidget* parent, const QString& text, int x, int y) {
  auto* l = new QLabel(text, parent);
  l->move(x, y);
  l->adjustSize();
  return l;
}

QPushButton* MakeButton(QWidget* parent, const QString& text, int x, int y, int width, int height) {
  auto* b = new QPushButton(text, parent);
  b->setGeometry(x, y, width, height);
  b->setAutoDefault(false);
  return b;
}

QLineEdit* MakeEdit(QWidget* parent, int x, int y, int width) {
  auto* e = new QLineEdit(parent);
  e->setGeometry(x, y, width, 20);
  return e;
}

QComboBox* MakeCombo(QWidget* parent, const QStringList& items, int x, int y, int width) {
  auto* c = new QComboBox(parent);
  c->addItems(items);
  c->setGeometry(x, y, width, 20);
  return c;
}

QCheckBox* MakeCheck(QWidget* parent, const QString& text, int x, int y, int width) {
  auto* c = new QCheckBox(text, parent);
  c->setGeometry(x, y, width, 17);
  return c;
}

QFont NarrowFont(const QFont& base) {
  QFont f = base;
  f.setFamily("Liberation Sans Narrow");
  return f;
}

// ---- key hooks

namespace {
class KeyHook : public QObject {
 public:
  KeyHook(std::function<bool(int)> f, QObject* parent) : QObject(parent), m_f(std::move(f)) {}
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::KeyPress) return m_f(static_cast<QKeyEvent*>(e)->key());
    return false;
  }

 private:
  std::function<bool(int)> m_f;
};
}  // namespace

void HookKeys(QWidget* w, std::function<bool(int)> onKey) { w->installEventFilter(new KeyHook(std::move(onKey), w)); }

// ---- number texts

int32_t IntOr(const std::string& text, int32_t fallback) {
  int32_t v = 0;
  return ParseInt(text, v) == 0 && IsStorableValue(v) ? v : fallback;
}

int32_t TenthsOr(const std::string& text, int32_t fallback) {
  double v = 0;
  if (ParseReal(text, v) != 0 || !std::isfinite(v)) return fallback;
  const double t = v * 10.0;
  const double nearest = std::nearbyint(t);
  const double tenths = std::fabs(t - nearest) < 1e-6 ? nearest : std::trunc(t);
  if (tenths < -kMaxFileValue || tenths > kMaxFileValue) return fallback;
  return static_cast<int32_t>(tenths);
}

std::string TenthsText(int32_t tenths) { return FormatGeneral(tenths / 10.0); }

// ---- channel lists

int UhfChannelEdge(int item) {
  if (item >= 0 && item < kUhfDashItem) return UhfLowerEdge(kFirstUhfChannel + item);
  return 174;
}

int UhfItemOfCentre(int32_t tenths) {
  for (int item = 0; item < kUhfDashItem; ++item)
    if ((UhfChannelEdge(item) + 4) * 10 == tenths) return item;
  return kUhfDashItem;
}

// ---- object rows

ObjectRowsEdit::ObjectRowsEdit(int objRow) : m_obj(objRow) {
  if (!ValidObjRow(objRow)) return;
  const int n = 1 + ContinuationRows(objRow);
  for (int k = 0; k < n; ++k) m_rows.push_back(NetObjects[static_cast<std::size_t>(objRow + k)]);
}

bool ObjectRowsEdit::commit() {
  bool changed = false;
  for (int k = 0; k < rowCount(); ++k)
    if (NetObjects[static_cast<std::size_t>(m_obj + k)] != m_rows[static_cast<std::size_t>(k)]) changed = true;
  if (!changed) return false;
  EditStep step;
  for (int k = 0; k < rowCount(); ++k) {
    ObjRow& stored = NetObjects[static_cast<std::size_t>(m_obj + k)];
    if (stored == m_rows[static_cast<std::size_t>(k)]) continue;
    PushUndo(kUndoSettings, m_obj + k);
    stored = m_rows[static_cast<std::size_t>(k)];
  }
  ProjectModified = true;
  EndLevelDisplay();  // levels of an earlier run no longer fit the settings
  return true;
}

}  // namespace kavrix
