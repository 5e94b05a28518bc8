#include "model/window/options_window.hpp"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <algorithm>
#include <array>

#include "app/forms.hpp"
#include "editor/canvas_window.hpp"
#include "model/network_model.hpp"
#include "model/number_text.hpp"
#include "model/window_modes.hpp"
#include "model/project_options.hpp"
#include "model/price_rows.hpp"
#include "platform/platform.hpp"
#include "reports/price_window.hpp"
#include "symbols/object_glyphs.hpp"

namespace kavrix {
namespace {

constexpr const char* kIntegerMessage = "The value must be of an integer type number!";
constexpr const char* kRealMessage = "The value must be of a real type number!";

QString Q(const std::string& s) { return QString::fromStdString(s); }

void Label(QWidget* parent, int x, int y, const char* text) {
  auto* l = new QLabel(text, parent);
  l->adjustSize();
  l->move(x, y);
}

constexpr int kGridRowHeight = 20;

// Every change of a setting marks the project and leaves any analysis state.
void MarkChanged() {
  EndLevelDisplay();
  ProjectModified = true;
}

void DropLastCharacter(QLineEdit* edit) {
  QString t = edit->text();
  t.chop(1);
  edit->setText(t);
  edit->setCursorPosition(t.size());
}

CableGridRow& GridRow(QTableWidget* grid, int row) {
  return grid->objectName() == "StringGrid1" ? OptionControls.RfGrid[row] : OptionControls.FiberGrid[row];
}

std::string& GridCell(QTableWidget* grid, int row, int col) {
  CableGridRow& r = GridRow(grid, row);
  return col == 1 ? r.type : col == 2 ? r.first : r.second;
}

QColor ColorOf(int bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

}  // namespace

// Knows the cell editor it has open, so closing the window or saving can commit what is typed
// in it: the grid only commits on its own when the focus leaves the editor.
class CableCellDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    m_open = QStyledItemDelegate::createEditor(parent, option, index);
    return m_open;
  }
  void destroyEditor(QWidget* editor, const QModelIndex& index) const override {
    if (m_open == editor) m_open = nullptr;
    QStyledItemDelegate::destroyEditor(editor, index);
  }
  void CommitOpenEditor() {
    QWidget* editor = m_open;
    if (!editor) return;
    m_open = nullptr;
    emit commitData(editor);
    emit closeEditor(editor);
  }

 private:
  mutable QPointer<QWidget> m_open;
};

namespace {

// Checks every keystroke in the RF grid's number cells, so a bad character goes as it is typed.
// While the check's message box is up the editor keeps its place: a box taking the focus must
// not commit the rejected text, nor close the editor the check goes on to correct.
class RfNumberCellDelegate : public CableCellDelegate {
 public:
  RfNumberCellDelegate(TForm3* form) : CableCellDelegate(form), m_form(form) {}
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QWidget* editor = CableCellDelegate::createEditor(parent, option, index);
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (line && index.column() >= 2) {
      TForm3* form = m_form;
      const int col = index.column(), row = index.row() + 1;
      line->setProperty(kAccepted, index.data().toString());
      QObject::connect(line, &QLineEdit::textEdited, line, [form, line, col, row](const QString& text) {
        QPointer<QLineEdit> alive(line);
        const std::string before = line->property(kAccepted).toString().toStdString();
        const QString kept = Q(form->RfCellKeystroke(col, row, text.toStdString(), before));
        if (!alive) return;
        line->setProperty(kAccepted, kept);
        if (kept == line->text()) return;
        line->setText(kept);
        line->setCursorPosition(kept.size());
      });
    }
    return editor;
  }
  bool eventFilter(QObject* editor, QEvent* e) override {
    if (m_form->CheckingKeystroke() && (e->type() == QEvent::FocusOut || e->type() == QEvent::Hide)) return false;
    return CableCellDelegate::eventFilter(editor, e);
  }

 private:
  static constexpr const char* kAccepted = "kvAcceptedText";
  TForm3* m_form;
};

}  // namespace

TForm3::TForm3(QWidget* parent) : QWidget(parent, Qt::Tool) {
  setWindowTitle("Project Options");
  setFixedSize(434, 517);
  setObjectName("Form3");

  // Positions are laid out for the application's 8-point face; labels take their text's width.
  auto* limits = new QGroupBox("Limits of Signal's Level from subscriber outlet", this);
  limits->setObjectName("GroupBox1");
  limits->setGeometry(8, 4, 418, 76);
  Label(limits, 8, 25, "For SAT TV           min:");
  Edit6 = AddEdit(limits, 150, 22, &OptionControls.Edit6, true);
  Label(limits, 196, 25, "dBuV     max:");
  Edit1 = AddEdit(limits, 280, 22, &OptionControls.Edit1, true);
  Label(limits, 326, 25, "dBuV");
  Label(limits, 8, 51, "For Terrestrial TV   min:");
  Edit11 = AddEdit(limits, 150, 48, &OptionControls.Edit11, true);
  Label(limits, 196, 51, "dBuV     max:");
  Edit2 = AddEdit(limits, 280, 48, &OptionControls.Edit2, true);
  Label(limits, 326, 51, "dBuV");

  Label(this, 16, 86, " Socket loss:");
  Label(this, 16, 106, "For SAT TV band");
  Edit4 = AddEdit(this, 156, 103, &OptionControls.Edit4, false);
  Label(this, 204, 106, "dB");
  Label(this, 16, 130, "For Terrestrial TV band");
  Edit5 = AddEdit(this, 156, 127, &OptionControls.Edit5, false);
  Label(this, 204, 130, "dB");

  Label(this, 236, 86, "Print scale:");
  Label(this, 236, 102, "(Resolution)");
  Edit3 = AddEdit(this, 316, 90, &OptionControls.Edit3, false);
  Edit3->installEventFilter(this);

  Label(this, 16, 182, "Specification of cables:");
  auto makeGrid = [this](const char* name, int y, const QStringList& headers, const std::array<int, 4>& widths) {
    auto* g = new QTableWidget(kCableGridRows, 4, this);
    g->setObjectName(name);
    g->setHorizontalHeaderLabels(headers);
    g->verticalHeader()->hide();
    g->verticalHeader()->setMinimumSectionSize(kGridRowHeight);
    g->verticalHeader()->setDefaultSectionSize(kGridRowHeight);
    g->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    g->horizontalHeader()->setFixedHeight(kGridRowHeight);
    g->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    g->horizontalHeader()->setHighlightSections(false);
    for (int c = 0; c < 4; ++c) g->setColumnWidth(c, widths[c]);
    // Every row shows: the grid is exactly as tall as its header and five rows.
    g->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    g->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    g->setGeometry(56, y, 370, (kCableGridRows + 1) * kGridRowHeight + 2 * g->frameWidth());
    for (int k = 1; k <= kCableGridRows; ++k) {
      auto* number = new QTableWidgetItem(QString::number(k));
      number->setFlags(Qt::ItemIsEnabled);
      g->setItem(k - 1, 0, number);
    }
    g->installEventFilter(this);
    connect(g, &QTableWidget::cellChanged, this, [this, g](int r, int c) { GridEdited(g, r, c); });
    return g;
  };
  Label(this, 16, 200, "RF:");
  StringGrid1 = makeGrid("StringGrid1", 198, {"No:", "Type", "dB/m", "GHz"}, {30, 150, 92, 94});
  m_rfCells = new RfNumberCellDelegate(this);
  StringGrid1->setItemDelegate(m_rfCells);
  Label(this, 16, 330, "Fiber:");
  StringGrid2 = makeGrid("StringGrid2", 328, {"No:", "Type", "dB/km(1550nm)", "dB/km(1310nm)"}, {30, 108, 114, 114});
  m_fiberCells = new CableCellDelegate(this);
  StringGrid2->setItemDelegate(m_fiberCells);

  Panel1 = new QFrame(this);
  Panel1->setObjectName("Panel1");
  Panel1->setGeometry(236, 158, 130, 24);
  Panel1->setFrameShape(QFrame::Panel);
  Panel1->setAutoFillBackground(true);
  Panel1->installEventFilter(this);
  auto* panelText = new QLabel("Background Color", Panel1);
  panelText->adjustSize();
  panelText->move((Panel1->width() - panelText->width()) / 2, (Panel1->height() - panelText->height()) / 2);

  CheckBox1 = new QCheckBox("Show page layout", this);
  CheckBox2 = new QCheckBox("Show designators", this);
  CheckBox3 = new QCheckBox("Include obsolete components", this);
  CheckBox4 = new QCheckBox("Cancel input,output capture", this);
  auto place = [](QCheckBox* box, int x, int y) {
    box->adjustSize();
    box->move(x, y);
  };
  place(CheckBox1, 16, 470);
  place(CheckBox2, 150, 470);
  place(CheckBox3, 236, 118);
  place(CheckBox4, 16, 156);
  // The note belongs to the box above it: it starts where the box's caption starts.
  QStyleOptionButton option;
  option.initFrom(CheckBox3);
  const int captionX = style()->subElementRect(QStyle::SE_CheckBoxContents, &option, CheckBox3).x();
  Label(this, CheckBox3->x() + captionX, CheckBox3->y() + CheckBox3->height(), "(Only in \"Draw\" menu)");
  connect(CheckBox1, &QCheckBox::toggled, this, [this](bool on) {
    if (m_showing) return;
    OptionControls.CheckBox1 = on;
    RepaintCanvas();
  });
  connect(CheckBox2, &QCheckBox::toggled, this, [this](bool) {
    if (!m_showing) CheckBox2Click();
  });
  connect(CheckBox3, &QCheckBox::toggled, this, [this](bool on) {
    if (m_showing) return;
    OptionControls.CheckBox3 = on;
    CheckBox3Click();
  });
  connect(CheckBox4, &QCheckBox::toggled, this, [this](bool on) {
    if (!m_showing) OptionControls.CheckBox4 = on;
  });

  Button1 = new QPushButton("Close", this);
  Button1->setGeometry(346, 466, 80, 26);
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });

  FormCreate();
}

QLineEdit* TForm3::AddEdit(QWidget* parent, int x, int y, std::string* field, bool integer) {
  auto* e = new QLineEdit(parent);
  e->setGeometry(x, y, 40, 21);
  connect(e, &QLineEdit::textChanged, this, [this, e, integer](const QString&) {
    if (m_showing) return;
    if (e == Edit3) {
      if (!e->text().isEmpty()) CheckRealEdit(e);
    } else if (integer) {
      CheckIntegerEdit(e);
    } else {
      CheckRealEdit(e);
    }
    StoreEdit(e);
    if (e != Edit3) ApplyLimitsAndLosses(OptionControls);
  });
  m_fields.emplace_back(e, field);
  return e;
}

void TForm3::StoreEdit(QLineEdit* edit) {
  for (auto& [e, field] : m_fields)
    if (e == edit) *field = edit->text().toStdString();
}

void TForm3::FormCreate() {
  ApplyOptionsAtStartup(OptionControls);
  Edit6->setFocusPolicy(Qt::ClickFocus);  // out of the tab order
  ShowValues();
}

void TForm3::ShowValues() {
  m_showing = true;
  const ProjectOptions& o = OptionControls;
  Edit6->setText(Q(o.Edit6));
  Edit1->setText(Q(o.Edit1));
  Edit11->setText(Q(o.Edit11));
  Edit2->setText(Q(o.Edit2));
  Edit4->setText(Q(o.Edit4));
  Edit5->setText(Q(o.Edit5));
  Edit3->setText(Q(o.Edit3));
  ShowGrid(StringGrid1, true);
  ShowGrid(StringGrid2, false);
  CheckBox1->setChecked(o.CheckBox1);
  CheckBox2->setChecked(o.CheckBox2);
  CheckBox3->setChecked(o.CheckBox3);
  CheckBox4->setChecked(o.CheckBox4);
  ShowPanelColor();
  m_showing = false;
}

void TForm3::ShowGrid(QTableWidget* grid, bool rf) {
  const bool was = m_showing;
  m_showing = true;
  const auto& rows = rf ? OptionControls.RfGrid : OptionControls.FiberGrid;
  for (int k = 1; k <= kCableGridRows; ++k) {
    const std::string* cells[] = {&rows[k].type, &rows[k].first, &rows[k].second};
    for (int c = 1; c <= 3; ++c) {
      auto* item = grid->item(k - 1, c);
      if (!item) {
        item = new QTableWidgetItem();
        grid->setItem(k - 1, c, item);
      }
      item->setText(Q(*cells[c - 1]));
    }
  }
  m_showing = was;
}

void TForm3::ShowPanelColor() {
  QPalette p = Panel1->palette();
  p.setColor(QPalette::Window, ColorOf(CanvasColor));
  Panel1->setPalette(p);
}

void TForm3::RepaintCanvas() {
  if (Form5) Form5->update();
}

void TForm3::CheckIntegerEdit(QLineEdit* edit) {
  if (!OptionInt(edit->text().toStdString())) {
    platform::ShowError("Error", kIntegerMessage);
    DropLastCharacter(edit);
  }
  MarkChanged();
}

void TForm3::CheckRealEdit(QLineEdit* edit) {
  QString t = edit->text();
  const int comma = t.indexOf(',');
  if (comma >= 0) {
    t[comma] = '.';
    edit->setText(t);
    edit->setCursorPosition(t.size());
  }
  double v = 0.0;
  if (ParseReal(edit->text().toStdString(), v) != 0) {
    platform::ShowError("Error", kRealMessage);
    DropLastCharacter(edit);
  } else if (const OptionRange* range = RangeOf(edit); range && !InTypingRange(v, *range)) {
    // The file keeps these x1000 in 32-bit integers and a negative loss would amplify: the
    // value typed last goes, the one before it stays.
    platform::ShowError("Error", RangeMessage(*range));
    RestoreStoredText(edit);
  }
  MarkChanged();
}

const OptionRange* TForm3::RangeOf(const QLineEdit* edit) const {
  if (edit == Edit4 || edit == Edit5) return &kSocketLossRange;
  if (edit == Edit3) return &kPrintScaleRange;
  return nullptr;
}

void TForm3::RestoreStoredText(QLineEdit* edit) {
  for (auto& [e, field] : m_fields)
    if (e == edit) {
      const QString t = Q(*field);
      edit->setText(t);
      edit->setCursorPosition(t.size());
    }
}

bool TForm3::IsRealText(const std::string& text) {
  MarkChanged();
  if (OptionReal(text)) return true;
  platform::ShowError("Error", kRealMessage);
  return false;
}

void TForm3::FormShow() {
  ShowPanelColor();
  m_showing = true;
  Edit3->setText(Q(FormatGeneral(PrintScale)));
  OptionControls.Edit3 = FormatGeneral(PrintScale);
  m_showing = false;
}

void TForm3::showEvent(QShowEvent* e) {
  if (!m_placed) PlaceBesideMenu();
  FormShow();
  QWidget::showEvent(e);
}

void TForm3::PlaceBesideMenu() {
  // The first time it opens, the window takes the top right corner of the main window's drawing
  // area, clear of its menu and palette; afterwards it stays where the user leaves it.
  auto* main = qobject_cast<QMainWindow*>(parentWidget());
  if (!main || !main->isVisible()) return;
  m_placed = true;
  const QWidget* area = main->centralWidget();
  const QPoint topRight = area ? area->mapToGlobal(QPoint(area->width(), 0)) : main->geometry().topRight();
  QPoint at(topRight.x() - frameGeometry().width() - 8, topRight.y() + 8);
  if (const QScreen* screen = main->screen()) {
    const QRect avail = screen->availableGeometry();
    at.setX(std::clamp(at.x(), avail.left(), std::max(avail.left(), avail.right() + 1 - frameGeometry().width())));
  }
  move(at);
}

void TForm3::Edit3Exit() {
  // The scale in use is not applied again: each pass through the page tile rounds it.
  if (OptionPrintScale(OptionControls.Edit3) == PrintScale) return;
  const bool applied = !OptionControls.Edit3.empty() && ApplyPrintScaleText(OptionControls.Edit3);
  if (!applied) {
    // An empty edit, or a scale the page tile cannot take: show the scale still in use.
    if (!OptionControls.Edit3.empty()) platform::ShowError("Error", RangeMessage(kPrintScaleRange));
    const bool was = m_showing;
    m_showing = true;
    OptionControls.Edit3 = FormatGeneral(PrintScale);
    Edit3->setText(Q(OptionControls.Edit3));
    m_showing = was;
  }
  RepaintCanvas();
}

void TForm3::GridEdited(QTableWidget* grid, int tableRow, int col) {
  // A commit while a keystroke's message is up carries the text being rejected; the check
  // itself sets what the cell keeps.
  if (m_checkingKeystroke) return;
  if (m_showing || tableRow < 0 || tableRow >= kCableGridRows || col < 1 || col > 3) return;
  const int row = tableRow + 1;
  const std::string text = grid->item(tableRow, col) ? grid->item(tableRow, col)->text().toStdString() : "";
  std::string& cell = GridCell(grid, row, col);
  const std::string before = cell;
  // The RF number cells go through the keystroke check, which keeps the cell's text when a new
  // one is refused; a fiber number that is no number keeps the one before it.
  if (grid == StringGrid1 && col >= 2) StringGrid1SetEditText(col, row, text);
  else if (grid == StringGrid2 && col >= 2 && !text.empty() && !IsRealText(text)) ShowGrid(StringGrid2, false);
  else if (col == 1) SetCableName(grid, cell, text);
  else cell = text;
  if (cell != before) MarkChanged();
  // A committed cell counts at once, however the grid is left afterwards: the coefficients the
  // run uses and the names the price list shows follow it.
  if (grid == StringGrid1) StringGrid1Exit();
  else StringGrid2Exit();
}

void TForm3::SetCableName(QTableWidget* grid, std::string& cell, const std::string& text) {
  // The name is a field of the project file and of the price list's ";"-separated lines: what
  // they cannot keep is left out with a word, not turned into "?" or a split line on disk.
  KeptText kept = KeepTypedText(text, false, "project and price list files");
  cell = std::move(kept.text);
  if (kept.note.empty()) return;
  ShowGrid(grid, grid == StringGrid1);
  platform::ShowNote(kept.note);
}

void TForm3::StringGrid1SetEditText(int col, int row, const std::string& value) {
  if (col < 2 || row < 1 || row > kCableGridRows) return;
  std::string& cell = GridCell(StringGrid1, row, col);
  const std::string kept = CheckRfCellText(col, value, cell);
  cell = kept;
  if (kept != value) ShowGrid(StringGrid1, true);
}

std::string TForm3::CheckRfCellText(int col, const std::string& value, const std::string& before) {
  if (value.empty()) return value;
  if (!IsRealText(value)) return value.substr(0, value.size() - 1);
  const OptionRange& range = col == 2 ? kCableAttenuationRange : kCableFrequencyRange;
  if (InTypingRange(*OptionReal(value), range)) return value;
  // A negative attenuation would make the cable amplify; an absurd one swamps every level.
  platform::ShowError("Error", RangeMessage(range));
  return before;
}

std::string TForm3::RfCellKeystroke(int col, int row, const std::string& value, const std::string& before) {
  if (col < 2 || row < 1 || row > kCableGridRows) return value;
  m_checkingKeystroke = true;
  const std::string kept = CheckRfCellText(col, value, before);
  m_checkingKeystroke = false;
  return kept;
}

void TForm3::StringGrid1Exit() {
  ApplyRfGrid(OptionControls);
  ShowGrid(StringGrid1, true);
  std::vector<std::string> names;
  for (int k = 1; k <= kCableGridRows; ++k) names.push_back(OptionControls.RfGrid[k].type);
  if (Form2) Form2->SetCableNames(1, names);
}

void TForm3::StringGrid2Exit() {
  ApplyFiberGrid(OptionControls);
  ShowGrid(StringGrid2, false);
  std::vector<std::string> names;
  for (int k = 1; k <= kCableGridRows; ++k) names.push_back(OptionControls.FiberGrid[k].type);
  if (Form2) Form2->SetCableNames(7, names);
}

bool TForm3::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::FocusOut) {
    // Leaving a grid for one of its own cell editors is no exit.
    auto* grid = qobject_cast<QTableWidget*>(watched);
    QWidget* now = QApplication::focusWidget();
    const bool inside = grid && now && grid->isAncestorOf(now);
    if (watched == Edit3) Edit3Exit();
    else if (watched == StringGrid1 && !inside) StringGrid1Exit();
    else if (watched == StringGrid2 && !inside) StringGrid2Exit();
  } else if (watched == Panel1 && e->type() == QEvent::MouseButtonRelease) {
    Panel1Click();
    return true;
  }
  return QWidget::eventFilter(watched, e);
}

void TForm3::Panel1Click() {
  const auto chosen = platform::Current().chooseColor(0x00FFFFFF);
  if (!chosen) return;
  if (*chosen != CanvasColor) ProjectModified = true;  // the project file keeps the colour
  CanvasColor = *chosen;
  ShowPanelColor();
  RepaintCanvas();
}

void TForm3::CheckBox2Click() {
  ApplyShowDesignators(CheckBox2->isChecked());
  RepaintCanvas();
}

void TForm3::CheckBox3Click() {
  if (Windows().releaseObsoletePaletteButtons) Windows().releaseObsoletePaletteButtons();
}

void TForm3::CommitEdits() {
  m_rfCells->CommitOpenEditor();
  m_fiberCells->CommitOpenEditor();
  Edit3Exit();
}

void TForm3::closeEvent(QCloseEvent* e) {
  // "Close" and the title bar both come here: however the window is closed, what it shows counts.
  ApplyOnClose();
  QWidget::closeEvent(e);
}

void TForm3::Button1Click() {
  if (isVisible()) close();
  else ApplyOnClose();  // a window no longer shown gets no close event
}

void TForm3::ApplyOnClose() {
  CommitEdits();
  ApplyLimitsAndLosses(OptionControls);
  ShowLimitsInUse(OptionControls);
  ShowValues();
  if (Windows().showObsoleteFamilies) Windows().showObsoleteFamilies(CheckBox3->isChecked());
  if (CheckBox3->isChecked() && !IncludeObsolete) {
    if (Hooks().createSwitchAmpGlyphs) Hooks().createSwitchAmpGlyphs();
    IncludeObsolete = true;
  } else if (!CheckBox3->isChecked() && IncludeObsolete) {
    IncludeObsolete = false;
    if (Hooks().releaseSwitchAmpGlyphs) Hooks().releaseSwitchAmpGlyphs();
  }
  RepaintCanvas();
}

}  // namespace kavrix
