// The source panel: the transponder plan of an LNB or the channel plan of a terrestrial source,
// edited entry by entry in the carrier grid or generated from the summary grid.
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <algorithm>

#include "editor/canvas_window.hpp"
#include "editor/panel_widgets.hpp"
#include "editor/source_plans.hpp"
#include "model/network_model.hpp"
#include "model/number_text.hpp"
#include "model/project_file.hpp"
#include "model/source_tables.hpp"
#include "model/undo_ring.hpp"
#include "symbols/object_glyphs.hpp"

namespace kavrix {

namespace {

constexpr int kLnbPanelWidth = 575;
constexpr int kTerrPanelWidth = 392;
constexpr int kSourcePanelHeight = 585;
constexpr int kGridTop = 190;
constexpr int kSummaryLabelWidth = 119;

constexpr const char* kIntegerMessage = "The value must be of an integer type number!";

using source_plan::LnbHeader;
using source_plan::SatSlot;
using source_plan::TerrHeader;
using source_plan::TerrTable;

void SetCellInt(SourceGrid& g, int col, int row, int64_t v) { g.setCell(col, row, std::to_string(v)); }

void ClearSummaryCells(SourceGrid& g) {
  for (int r = 0; r < 4; ++r)
    for (int c = 1; c < 5; ++c) g.setCell(c, r, "");
}

// The stored tables and the row's Style: only what differs is recorded and written, as one
// edit step. Tables are recorded before their headers, so that undo restores the headers first
// and then exactly the recorded tables.
void StoreLnb(int row, int s, const SatSlot& sat, const LnbHeader& params, int32_t style) {
  ObjRow& o = NetObjects[static_cast<std::size_t>(row)];
  const bool plan = sat != SatTables[s] || params != LnbParams[s];
  const bool styled = style != o[kStyle];
  if (!plan && !styled) return;
  EditStep step;
  if (plan) {
    PushUndo(kUndoLnbCarriers, row);
    PushUndo(kUndoLnbHeader, row);
    SatTables[s] = sat;
    LnbParams[s] = params;
  }
  if (styled) {
    PushUndo(kUndoSettings, row);
    o[kStyle] = style;
  }
  ProjectModified = true;
}

void StoreTerr(int s, const TerrTable& t, const TerrHeader& h) {
  if (t == TerrTables[s] && h == TerrParams[s]) return;
  EditStep step;
  PushUndo(kUndoTerrChannels + s, s);
  PushUndo(kUndoTerrHeader, s);
  TerrTables[s] = t;
  TerrParams[s] = h;
  ProjectModified = true;
}

}  // namespace

void TForm5::CreateSourcePanel() {
  QFrame* panel = MakePanel(this, "Panel1", kLnbPanelWidth, kSourcePanelHeight);
  Panel1 = panel;
  Label3 = MakeLabel(panel, "Channel power map (dBuV)", 8, 4);
  QFont bold = Label3->font();
  bold.setBold(true);
  Label3->setFont(bold);
  Label3->adjustSize();

  auto header = [panel](const char* text, QColor colour, int x) {
    auto* h = new QLabel(text, panel);
    h->setAlignment(Qt::AlignCenter);
    h->setFrameShape(QFrame::Panel);
    h->setFrameShadow(QFrame::Raised);
    h->setAutoFillBackground(true);
    QPalette pal = h->palette();
    pal.setColor(QPalette::Window, colour);
    h->setPalette(pal);
    h->setGeometry(x, 22, 104, 19);
    return h;
  };
  constexpr int kBandX = 8 + 1 + kSummaryLabelWidth;
  Panel3 = header("H,Lo", QColor(0x00, 0xC0, 0x00), kBandX);
  Panel4 = header("H,Hi", QColor(0xFF, 0xFF, 0x00), kBandX + 105);
  Panel5 = header("V,Lo", QColor(0xC0, 0xC0, 0xC0), kBandX + 210);
  Panel6 = header("V,Hi", QColor(0xFF, 0x40, 0x40), kBandX + 315);
  Panel7 = header("Terr.TV", QColor(0xC0, 0xC0, 0xC0), kBandX + 120);

  for (int k = 0; k < 4; ++k) {
    StringGrid1.setCell(2 * k, 0, "Freq.(MHz)");
    StringGrid1.setCell(2 * k + 1, 0, "   level");
  }
  const char* rowNames[] = {"Number of Transponders", "Average level", "Lowest Freq.(MHz)", "Highest Freq.(MHz)"};
  for (int r = 0; r < 4; ++r) StringGrid2.setCell(0, r, rowNames[r]);
  StringGrid2.setRowCount(4);

  StringGrid2View = new SourceGridView(&StringGrid2, false, panel);
  StringGrid2View->setObjectName("StringGrid2");
  StringGrid2View->verticalHeader()->setFont(NarrowFont(panel->font()));
  StringGrid2View->verticalHeader()->setFixedWidth(kSummaryLabelWidth);
  StringGrid2View->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  StringGrid2View->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  StringGrid2View->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

  StringGrid1View = new SourceGridView(&StringGrid1, true, panel);
  StringGrid1View->setObjectName("StringGrid1");
  StringGrid1View->horizontalHeader()->setFont(NarrowFont(panel->font()));
  StringGrid1View->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  StringGrid1View->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  StringGrid1View->onEnter = [this] { StringGrid1KeyDown(Qt::Key_Return); };

  CheckBox1 = MakeCheck(panel, "Use average values", 8, 132, 140);
  CheckBox1->setChecked(true);
  connect(CheckBox1, &QCheckBox::clicked, this, [this] { CheckBox1Click(); });
  Label1 = MakeLabel(panel, "LNB current (mA)", 160, 133);
  Edit2 = MakeEdit(panel, 262, 130, 48);
  connect(Edit2, &QLineEdit::textEdited, this, [this] { Edit2Change(); });
  RadioGroup1 = new QGroupBox("Outputs arrangement:", panel);
  RadioGroup1->setGeometry(330, 126, 230, 58);
  RadioButton1 = new QRadioButton("HLo HHi Vlo VHi", RadioGroup1);
  RadioButton1->setGeometry(10, 18, 210, 17);
  RadioButton2 = new QRadioButton("VLo HLo VHi HHi", RadioGroup1);
  RadioButton2->setGeometry(10, 36, 210, 17);

  Button2 = MakeButton(panel, "Apply", 8, kGridTop, 110);
  Button1 = MakeButton(panel, "Close", 8, kGridTop + 30, 110);
  Button3 = MakeButton(panel, "Save to file", 8, kGridTop + 80, 110);
  Button4 = MakeButton(panel, "Import data", 8, kGridTop + 110, 110);
  connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(Button3); });
  connect(Button4, &QPushButton::clicked, this, [this] { Button4Click(Button4); });
}

void TForm5::RefreshSourceGrids() {
  StringGrid1View->reload();
  StringGrid2View->reload();
  const bool lnb = SourcePanelIsLnb();
  const int cols = StringGrid1.colCount();
  const int width = (StringGrid1View->width() - 2 - StringGrid1View->verticalScrollBar()->sizeHint().width()) / cols;
  for (int c = 0; c < cols; ++c) StringGrid1View->setColumnWidth(c, width);
  const int summaryCols = StringGrid2.colCount() - 1;
  const int summaryWidth = (StringGrid2View->width() - 2 - kSummaryLabelWidth) / std::max(1, summaryCols);
  for (int c = 0; c < summaryCols; ++c) StringGrid2View->setColumnWidth(c, lnb ? 105 : summaryWidth);
}

bool TForm5::OpenSourcePanel(int row) {
  if (!ValidObjRow(row)) return false;
  const ObjRow& o = NetObjects[static_cast<std::size_t>(row)];
  const int kind = o[kKind];
  const int s = o[kInst];
  const bool lnb = kind == 91;
  if (lnb ? !ValidSatSlot(s) : !(kind >= 92 && kind <= 95 && ValidTerrSlot(s))) return false;

  for (QWidget* w : std::initializer_list<QWidget*>{Panel3, Panel4, Panel5, Panel6, Edit2, Label1, RadioGroup1})
    w->setVisible(lnb);
  Panel7->setVisible(!lnb);
  StringGrid1Tag = row;
  ClearSummaryCells(StringGrid2);
  bool average = false;
  if (lnb) {
    Edit2->setText(QString::number(LnbCurrentMa(s)));
    // An LNB with another arrangement (3 and above: no source) checks neither button. Exclusive
    // buttons refuse to be unchecked, and the one left checked by the LNB opened before would
    // be stored by Apply.
    RadioButton1->setAutoExclusive(false);
    RadioButton2->setAutoExclusive(false);
    RadioButton1->setChecked(o[kStyle] == 1);
    RadioButton2->setChecked(o[kStyle] == 2);
    RadioButton1->setAutoExclusive(true);
    RadioButton2->setAutoExclusive(true);
    average = LnbUseAverage(s) >= 1;
    StringGrid1.setColCount(8);
    StringGrid1.setRowCount(32);
    StringGrid1View->setGeometry(128, kGridTop, 437, kSourcePanelHeight - kGridTop - 8);
    StringGrid2.setColCount(5);
    StringGrid2View->setGeometry(8, 42, 541, 82);
    for (int b = 0; b < 4; ++b)
      for (int k = kLnbCarriers; k <= kLnbHighest; ++k) SetCellInt(StringGrid2, b + 1, k, LnbParams[s][b][k]);
    if (average) {
      source_plan::ClearPlanCells(StringGrid1);
    } else {
      source_plan::ShowLnbTable(StringGrid1, SatTables[s]);
    }
  } else {
    const int rows = source_plan::TerrGridRows(kind);
    StringGrid1.setColCount(2);
    StringGrid1.setRowCount(rows);
    StringGrid1View->setGeometry(248, kGridTop, 126, kSourcePanelHeight - kGridTop - 8);
    StringGrid2.setColCount(2);
    StringGrid2View->setGeometry(128, 42, 226, 82);
    for (int k = kTerrCarriers; k <= kTerrLast; ++k) SetCellInt(StringGrid2, 1, k, TerrParams[s][k]);
    average = TerrParams[s][kTerrRegenerate] >= 1;
    if (average) {
      source_plan::ClearPlanCells(StringGrid1);
    } else {
      source_plan::ShowTerrTable(StringGrid1, TerrTables[s], rows);
    }
  }
  CheckBox1->setChecked(average);
  for (QWidget* w : std::initializer_list<QWidget*>{StringGrid1View, Button3, Button4}) w->setVisible(!average);
  RefreshSourceGrids();

  // On a canvas lower than the panel (a small screen) the panel and its channel grid get shorter,
  // so the grid's last rows and its scroll bar stay within reach.
  const int panelHeight = std::clamp(ClientHeight(), kGridTop + 120, kSourcePanelHeight);
  Panel1->resize(lnb ? kLnbPanelWidth : kTerrPanelWidth, panelHeight);
  StringGrid1View->resize(StringGrid1View->width(), panelHeight - kGridTop - 8);
  const int h = ClientHeight();
  const int top = h <= o[kY] + 600 ? h - ScrollY - 600 : o[kY] - ScrollY;
  PlacePanel(Panel1, o[kX] - ScrollX - 100, top);
  EndLevelDisplay();
  return true;
}

void TForm5::CheckBox1Click() {
  StringGrid1Tag = EditedRow();
  if (!ValidObjRow(StringGrid1Tag)) return;
  const ObjRow& o = NetObjects[static_cast<std::size_t>(StringGrid1Tag)];
  const int s = o[kInst];
  const bool lnb = SourcePanelIsLnb();
  if (lnb ? !ValidSatSlot(s) : !ValidTerrSlot(s)) return;
  if (CheckBox1->isChecked()) {
    for (QWidget* w : std::initializer_list<QWidget*>{StringGrid1View, Button3, Button4}) w->hide();
    return;
  }
  for (QWidget* w : std::initializer_list<QWidget*>{StringGrid1View, Button3, Button4}) w->show();
  if (lnb) {
    StringGrid1.setRowCount(32);
    StringGrid1View->setGeometry(128, kGridTop, 437, StringGrid1View->height());
    source_plan::FillLnbTableGrid(StringGrid1, SatTables[s], LnbParams[s]);
  } else {
    const int rows = source_plan::TerrGridRows(o[kKind]);
    StringGrid1.setRowCount(rows);
    StringGrid1View->setGeometry(248, kGridTop, 126, StringGrid1View->height());
    source_plan::FillTerrTableGrid(StringGrid1, TerrTables[s], TerrParams[s], rows);
  }
  RefreshSourceGrids();
}

void TForm5::Button2Click() {
  // The source may have moved to another row while the panel stayed open.
  StringGrid1Tag = EditedRow();
  if (!ValidObjRow(StringGrid1Tag)) return;
  const int row = StringGrid1Tag;
  const ObjRow& o = NetObjects[static_cast<std::size_t>(row)];
  const int kind = o[kKind];
  const int s = o[kInst];
  const bool lnb = SourcePanelIsLnb();
  // The row may have been deleted or replaced while the panel stayed open.
  if (lnb ? kind != 91 || !ValidSatSlot(s) : !(kind >= 92 && kind <= 95 && ValidTerrSlot(s))) return;
  const bool average = CheckBox1->isChecked();

  if (lnb) {
    source_plan::LnbPlan plan{SatTables[s], LnbParams[s]};
    const int32_t current = IntOr(Edit2->text().toStdString(), 0);
    if (const char* refused = source_plan::ApplyLnbPlan(StringGrid1, StringGrid2, average, current, plan)) {
      platform::ShowMessage(refused);
      return;
    }
    int32_t style = o[kStyle];
    if (RadioButton1->isChecked()) style = 1;
    if (RadioButton2->isChecked()) style = 2;
    StoreLnb(row, s, plan.sat, plan.header, style);
  } else {
    source_plan::TerrPlan plan{TerrTables[s], TerrParams[s]};
    const source_plan::TerrApply result = source_plan::ApplyTerrPlan(StringGrid1, StringGrid2, kind, average, plan);
    if (!result.store) {
      platform::ShowMessage(result.message);
      return;
    }
    StoreTerr(s, plan.table, plan.header);
    if (result.message) {
      StringGrid2View->reload();
      platform::ShowMessage(result.message);
      return;
    }
  }
  StringGrid2View->reload();
  RebuildObjectGlyph(row);
  Repaint();
  EndLevelDisplay();
  PanelOpen = 0;
}

void TForm5::Button1Click() {
  Panel1->hide();
  InlineEdit = 0;
}

void TForm5::Edit2Change() {
  ProjectModified = true;
  const QString text = Edit2->text();
  int32_t v = 0;
  if (ParseInt(text.toStdString(), v) == 0 && IsStorableValue(v)) return;
  platform::ShowError("Error", kIntegerMessage);
  Edit2->setText(text.left(std::max<qsizetype>(0, text.size() - 1)));
  Edit2->setCursorPosition(static_cast<int>(Edit2->text().size()));
}

void TForm5::StringGrid1KeyDown(int key) {
  if (IsEnterKey(key)) Button2Click();
}

}  // namespace kavrix
