#include "model/window/options_window.hpp"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>

#include "app/forms.hpp"
#include "editor/canvas_window.hpp"
#include "model/network_model.hpp"
#include "model/number_text.hpp"
#include "model/window_modes.hpp"
#include "model/project_options.hpp"
#include "platform/platform.hpp"
#include "reports/price_window.hpp"

namespace kavrix {
namespace {

constexpr const char* kIntegerMessage = "The value must be of an integer type number!";
constexpr const char* kRealMessage = "The value must be of a real type number!";

QString Q(const std::string& s) { return QString::fromStdString(s); }

void Label(QWidget* parent, int x, int y, const char* text) {
  auto* l = new QLabel(text, parent);
  l->move(x, y);
}

// Every change of a setting marks the project and leaves any analysis state.
void MarkChanged() {
  Form1Tag = kMainEditing;
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

// Checks every keystroke in the RF grid's number cells, so a bad character goes as it is typed.
class RfNumberCellDelegate : public QStyledItemDelegate {
 public:
  RfNumberCellDelegate(TForm3* form) : QStyledItemDelegate(form), m_form(form) {}
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (line && index.column() >= 1) {
      TForm3* form = m_form;
      QObject::connect(line, &QLineEdit::textEdited, line, [form, line](const QString& text) {
        if (text.isEmpty() || form->IsRealText(text.toStdString())) return;
        QString t = text;
        t.chop(1);
        line->setText(t);
        line->setCursorPosition(t.size());
      });
    }
    return editor;
  }

 private:
  TForm3* m_form;
};

}  // namespace

TForm3::TForm3(QWidget* parent) : QWidget(parent, Qt::Tool) {
  setWindowTitle("Project Options");
  setFixedSize(434, 517);
  setObjectName("Form3");

  auto* limits = new QGroupBox("Limits of Signal's Level from subscriber outlet", this);
  limits->setGeometry(8, 8, 418, 80);
  Label(limits, 8, 22, "For SAT TV           min:");
  Edit6 = AddEdit(150, 28, &OptionControls.Edit6, true);
  Label(this, 196, 32, "dBuV     max:");
  Edit1 = AddEdit(276, 28, &OptionControls.Edit1, true);
  Label(this, 322, 32, "dBuV");
  Label(limits, 8, 50, "For Terrestrial TV   min:");
  Edit11 = AddEdit(150, 56, &OptionControls.Edit11, true);
  Label(this, 196, 60, "dBuV     max:");
  Edit2 = AddEdit(276, 56, &OptionControls.Edit2, true);
  Label(this, 322, 60, "dBuV");

  Label(this, 16, 96, " Socket loss:");
  Label(this, 16, 116, "For SAT TV band");
  Edit4 = AddEdit(160, 112, &OptionControls.Edit4, false);
  Label(this, 206, 116, "dB");
  Label(this, 16, 140, "For Terrestrial TV band");
  Edit5 = AddEdit(160, 136, &OptionControls.Edit5, false);
  Label(this, 206, 140, "dB");

  Label(this, 250, 112, "Print scale:");
  Label(this, 250, 128, "(Resolution)");
  Edit3 = AddEdit(330, 112, &OptionControls.Edit3, false);
  Edit3->installEventFilter(this);

  Label(this, 16, 168, "Specification of cables:");
  Label(this, 16, 186, "RF:");
  auto makeGrid = [this](const char* name, int y, const QStringList& headers) {
    auto* g = new QTableWidget(kCableGridRows, 3, this);
    g->setObjectName(name);
    g->setGeometry(16, y, 402, 150);
    g->setHorizontalHeaderLabels(headers);
    QStringList numbers;
    for (int k = 1; k <= kCableGridRows; ++k) numbers << QString::number(k);
    g->setVerticalHeaderLabels(numbers);
    g->installEventFilter(this);
    connect(g, &QTableWidget::cellChanged, this, [this, g](int r, int c) { GridEdited(g, r, c); });
    return g;
  };
  // Column 0 "No:" of the grids is the vertical header; cells hold columns 1..3.
  StringGrid1 = makeGrid("StringGrid1", 202, {"Type", "dB/m", "GHz"});
  StringGrid1->setItemDelegate(new RfNumberCellDelegate(this));
  Label(this, 16, 356, "Fiber:");
  StringGrid2 = makeGrid("StringGrid2", 372, {"Type", "dB/km(1550nm)", "dB/km(1310nm)"});

  Panel1 = new QFrame(this);
  Panel1->setGeometry(250, 140, 120, 24);
  Panel1->setFrameShape(QFrame::Panel);
  Panel1->setAutoFillBackground(true);
  Panel1->installEventFilter(this);
  auto* panelText = new QLabel("Background Color", Panel1);
  panelText->move(8, 4);

  CheckBox1 = new QCheckBox("Show page layout", this);
  CheckBox2 = new QCheckBox("Show designators", this);
  CheckBox3 = new QCheckBox("Include obsolete components", this);
  CheckBox4 = new QCheckBox("Cancel input,output capture", this);
  CheckBox1->setGeometry(16, 488, 140, 20);
  CheckBox2->setGeometry(160, 488, 130, 20);
  CheckBox3->setGeometry(250, 96, 180, 20);
  Label(this, 270, 80, "(Only in \"Draw\" menu)");
  CheckBox4->setGeometry(280, 168, 150, 20);
  connect(CheckBox1, &QCheckBox::toggled, this, [this](bool on) {
    if (m_showing) return;
    OptionControls.CheckBox1 = on;
    RepaintCanvas();
  });
  connect(CheckBox2, &QCheckBox::toggled, this, [this](bool on) {
    if (m_showing) return;
    OptionControls.CheckBox2 = on;
    CheckBox2Click();
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
  Button1->setGeometry(340, 484, 75, 25);
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });

  FormCreate();
}

QLineEdit* TForm3::AddEdit(int x, int y, std::string* field, bool integer) {
  auto* e = new QLineEdit(this);
  e->setGeometry(x, y, 44, 22);
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
    for (int c = 0; c < 3; ++c) {
      auto* item = grid->item(k - 1, c);
      if (!item) {
        item = new QTableWidgetItem();
        grid->setItem(k - 1, c, item);
      }
      item->setText(Q(*cells[c]));
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
  }
  MarkChanged();
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
  FormShow();
  QWidget::showEvent(e);
}

void TForm3::Edit3Exit() {
  ApplyPrintScaleText(OptionControls.Edit3);
  RepaintCanvas();
}

void TForm3::GridEdited(QTableWidget* grid, int tableRow, int col) {
  if (m_showing || tableRow < 0 || tableRow >= kCableGridRows || col < 0 || col > 2) return;
  const int row = tableRow + 1;
  const std::string text = grid->item(tableRow, col) ? grid->item(tableRow, col)->text().toStdString() : "";
  GridCell(grid, row, col + 1) = text;
  if (grid == StringGrid1) StringGrid1SetEditText(col + 1, row, text);
}

void TForm3::StringGrid1SetEditText(int col, int row, const std::string& value) {
  if (col < 2 || row < 1 || row > kCableGridRows) return;
  std::string& cell = GridCell(StringGrid1, row, col);
  cell = value;
  if (cell.empty() || IsRealText(cell)) return;
  cell.pop_back();
  ShowGrid(StringGrid1, true);
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
  CanvasColor = *chosen;
  ShowPanelColor();
  RepaintCanvas();
}

void TForm3::CheckBox2Click() {
  const ModelHooks& h = Hooks();
  const int n = static_cast<int>(NetObjects.size());
  if (!CheckBox2->isChecked() && h.makeObjectGlyph)
    for (int i = 0; i < n; ++i)
      if (NetObjects[i][kKind] > 0) h.makeObjectGlyph(i);
  if (h.drawObjectLabels)
    for (int i = 0; i < n; ++i)
      if (NetObjects[i][kKind] > 0) h.drawObjectLabels(i);
  RepaintCanvas();
}

void TForm3::CheckBox3Click() {
  if (Windows().releaseObsoletePaletteButtons) Windows().releaseObsoletePaletteButtons();
}

void TForm3::Button1Click() {
  close();
  ApplyLimitsAndLosses(OptionControls);
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
