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
constexpr const char* kFrequencyMessage = "Incorrect frequency was entered";
constexpr const char* kLnbCountMessage = "Incorrect number of transponders was entered (0 to 31)";
constexpr const char* kTerrCountMessage = "Incorrect number of channels was entered (0 to 100)";

constexpr int kTerrMaxChannels = 100;

using SatSlot = std::array<std::array<int32_t, kSatRows>, kSatColumns>;
using LnbSlot = std::array<std::array<int32_t, 5>, 4>;
using TerrTable = std::array<std::array<int32_t, kTerrEntries>, 2>;
using TerrHeader = std::array<int32_t, 5>;

int CellInt(const SourceGrid& g, int col, int row) { return IntOr(g.cell(col, row), 0); }
void SetCellInt(SourceGrid& g, int col, int row, int64_t v) { g.setCell(col, row, std::to_string(v)); }
int TerrRows(int kind) { return kind == 92 ? 100 : 31; }

// Every plan cell below the header row; the next plan is written into a clean grid, so no row
// of another source is carried into this one's table or file.
void ClearPlanCells(SourceGrid& g) {
  for (int r = 1; r < SourceGrid::kMaxRows; ++r)
    for (int c = 0; c < SourceGrid::kMaxCols; ++c) g.setCell(c, r, "");
}

void ClearSummaryCells(SourceGrid& g) {
  for (int r = 0; r < 4; ++r)
    for (int c = 1; c < 5; ++c) g.setCell(c, r, "");
}

void ShowLnbTable(SourceGrid& g, int s) {
  ClearPlanCells(g);
  for (int c = 0; c < kSatColumns; ++c)
    for (int i = 0; i < kSatRows; ++i) SetCellInt(g, c, i + 1, SatTables[s][c][i]);
}

void ShowTerrTable(SourceGrid& g, int s, int rows) {
  ClearPlanCells(g);
  for (int i = 0; i < rows; ++i) {
    SetCellInt(g, 0, i + 1, TerrTables[s][0][i]);
    SetCellInt(g, 1, i + 1, TerrTables[s][1][i]);
  }
}

// Band b of an average-mode plan: count carriers from lowest to highest at the average level.
// Counts were checked to lie in 0..31 before anything was stored.
void RegenerateBand(SatSlot& sat, const std::array<int32_t, 5>& band, int b) {
  auto& freq = sat[static_cast<std::size_t>(2 * b)];
  auto& level = sat[static_cast<std::size_t>(2 * b + 1)];
  freq.fill(0);
  level.fill(0);
  const int count = band[0];
  if (count < 1) return;
  const int64_t lowest = band[2];
  const int64_t highest = band[3];
  const int64_t step = count >= 2 ? (highest - lowest) / (count - 1) : 0;
  for (int i = 0; i < count - 1; ++i) {
    freq[static_cast<std::size_t>(i)] = static_cast<int32_t>(lowest + i * step);
    level[static_cast<std::size_t>(i)] = band[1];
  }
  freq[static_cast<std::size_t>(count - 1)] = static_cast<int32_t>(highest);
  level[static_cast<std::size_t>(count - 1)] = band[1];
}

// Column c of the carrier grid into the table: rows whose cell and the cell of the band's other
// column both hold a number of at least 1 close up in grid order; the rest of the column is
// cleared. The summary cells of the column are written from what was taken.
void TakeLnbColumn(SourceGrid& grid, SourceGrid& summary, SatSlot& sat, int c) {
  const int other = c % 2 == 0 ? c + 1 : c - 1;
  auto& column = sat[static_cast<std::size_t>(c)];
  int count = 0;
  int64_t sum = 0;
  int64_t lowest = 2400;
  int64_t highest = 950;
  for (int r = 1; r <= kSatRows; ++r) {
    const int v = CellInt(grid, c, r);
    if (v < 1 || CellInt(grid, other, r) < 1) continue;
    column[static_cast<std::size_t>(count++)] = v;
    sum += v;
    lowest = std::min<int64_t>(lowest, v);
    highest = std::max<int64_t>(highest, v);
  }
  for (int i = count; i < kSatRows; ++i) column[static_cast<std::size_t>(i)] = 0;
  const int band = c / 2 + 1;
  if (c % 2 == 0) {
    SetCellInt(summary, band, 0, count);
    SetCellInt(summary, band, 2, lowest);
    SetCellInt(summary, band, 3, highest);
  } else if (count >= 1) {
    SetCellInt(summary, band, 1, RoundHalfEven(static_cast<double>(sum) / count));
  }
}

struct TerrBand {
  int lowest;
  int highest;
  bool checked;
};

TerrBand TerrBandOf(int kind) {
  switch (kind) {
    case 93: return {470, 790, true};
    case 94: return {174, 260, true};
    case 95: return {88, 108, true};
    default: return {5, 862, false};
  }
}

// Rows 1..rows of the grid into a table sorted by frequency; rows with equal frequencies keep
// their grid order. Writes the summary cells; the rest of the table is cleared.
void TakeTerrTable(SourceGrid& grid, SourceGrid& summary, TerrTable& t, int kind) {
  const int rows = TerrRows(kind);
  auto& freq = t[0];
  auto& level = t[1];
  freq.fill(0);
  level.fill(0);
  const TerrBand band = TerrBandOf(kind);
  int count = 0;
  int64_t sum = 0;
  int lowest = band.lowest;
  int highest = band.highest;
  for (int r = 1; r <= rows; ++r) {
    const int f = CellInt(grid, 0, r);
    const int l = CellInt(grid, 1, r);
    if (f < 1 || l < 1) continue;
    int p = count;
    for (; p > 0 && freq[static_cast<std::size_t>(p - 1)] > f; --p) {
      freq[static_cast<std::size_t>(p)] = freq[static_cast<std::size_t>(p - 1)];
      level[static_cast<std::size_t>(p)] = level[static_cast<std::size_t>(p - 1)];
    }
    freq[static_cast<std::size_t>(p)] = f;
    level[static_cast<std::size_t>(p)] = l;
    ++count;
    sum += l;
    lowest = std::min(lowest, f);
    highest = std::max(highest, f);
  }
  SetCellInt(summary, 1, 0, count);
  SetCellInt(summary, 1, 2, lowest);
  SetCellInt(summary, 1, 3, highest);
  if (count > 0) SetCellInt(summary, 1, 1, RoundHalfEven(static_cast<double>(sum) / count));
}

// count + 1 entries from first to last at one level (the last one at exactly `last`).
void RegenerateTerr(TerrTable& t, const TerrHeader& h) {
  t[0].fill(0);
  t[1].fill(0);
  const int count = h[0];
  if (count < 1) return;
  const int64_t first = h[2];
  const int64_t step = (static_cast<int64_t>(h[3]) - first) / count;
  for (int k = 0; k < count; ++k) {
    t[0][static_cast<std::size_t>(k)] = static_cast<int32_t>(first + k * step);
    t[1][static_cast<std::size_t>(k)] = h[1];
  }
  t[0][static_cast<std::size_t>(count)] = h[3];
  t[1][static_cast<std::size_t>(count)] = h[1];
}

// The stored tables and the row's Style: only what differs is recorded and written, as one
// edit step. Tables are recorded before their headers, so that undo restores the headers first
// and then exactly the recorded tables.
void StoreLnb(int row, int s, const SatSlot& sat, const LnbSlot& params, int32_t style) {
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
    Edit2->setText(QString::number(LnbParams[s][1][4]));
    // An LNB with another arrangement (3 and above: no source) checks neither button. Exclusive
    // buttons refuse to be unchecked, and the one left checked by the LNB opened before would
    // be stored by Apply.
    RadioButton1->setAutoExclusive(false);
    RadioButton2->setAutoExclusive(false);
    RadioButton1->setChecked(o[kStyle] == 1);
    RadioButton2->setChecked(o[kStyle] == 2);
    RadioButton1->setAutoExclusive(true);
    RadioButton2->setAutoExclusive(true);
    average = LnbParams[s][0][4] >= 1;
    StringGrid1.setColCount(8);
    StringGrid1.setRowCount(32);
    StringGrid1View->setGeometry(128, kGridTop, 437, kSourcePanelHeight - kGridTop - 8);
    StringGrid2.setColCount(5);
    StringGrid2View->setGeometry(8, 42, 541, 82);
    for (int b = 0; b < 4; ++b)
      for (int k = 0; k < 4; ++k) SetCellInt(StringGrid2, b + 1, k, LnbParams[s][b][k]);
    if (average) {
      ClearPlanCells(StringGrid1);
    } else {
      ShowLnbTable(StringGrid1, s);
    }
  } else {
    const int rows = TerrRows(kind);
    StringGrid1.setColCount(2);
    StringGrid1.setRowCount(rows);
    StringGrid1View->setGeometry(248, kGridTop, 126, kSourcePanelHeight - kGridTop - 8);
    StringGrid2.setColCount(2);
    StringGrid2View->setGeometry(128, 42, 226, 82);
    for (int k = 0; k < 4; ++k) SetCellInt(StringGrid2, 1, k, TerrParams[s][k]);
    average = TerrParams[s][4] >= 1;
    if (average) {
      ClearPlanCells(StringGrid1);
    } else {
      ShowTerrTable(StringGrid1, s, rows);
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
    int64_t sum = 0;
    for (const auto& column : SatTables[s])
      for (int32_t v : column) sum += v;
    if (sum > 0) {
      ShowLnbTable(StringGrid1, s);
    } else {
      ClearPlanCells(StringGrid1);
      static constexpr int kFirst[4] = {970, 1100, 990, 1120};
      for (int b = 0; b < 4; ++b) {
        // Every band shows where its plan starts, also a band without carriers (its row has
        // no level, so Apply takes nothing from it).
        SetCellInt(StringGrid1, 2 * b, 1, kFirst[b]);
        const int n = std::min(LnbParams[s][b][0], kSatRows);
        for (int r = 2; r <= n; ++r) SetCellInt(StringGrid1, 2 * b, r, kFirst[b] + 40 * (r - 1));
        for (int r = 1; r <= n; ++r) SetCellInt(StringGrid1, 2 * b + 1, r, LnbParams[s][b][1]);
      }
    }
  } else {
    const int rows = TerrRows(o[kKind]);
    StringGrid1.setRowCount(rows);
    StringGrid1View->setGeometry(248, kGridTop, 126, StringGrid1View->height());
    int64_t sum = 0;
    for (int i = 0; i < rows; ++i) sum += TerrTables[s][0][i];
    if (sum > 0) {
      ShowTerrTable(StringGrid1, s, rows);
    } else {
      ClearPlanCells(StringGrid1);
      SetCellInt(StringGrid1, 0, 1, TerrParams[s][2]);
      SetCellInt(StringGrid1, 0, 2, 170);
      for (int r = 3; r <= 60; ++r) SetCellInt(StringGrid1, 0, r, 170 + 8 * (r - 2));
      for (int r = 1; r <= 61; ++r) SetCellInt(StringGrid1, 1, r, TerrParams[s][1]);
      SetCellInt(StringGrid1, 0, 61, TerrParams[s][3]);
    }
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
    if (average) {
      for (int b = 0; b < 4; ++b) {
        const int count = CellInt(StringGrid2, b + 1, 0);
        if (count < 0 || count > kSatRows) {
          platform::ShowMessage(kLnbCountMessage);
          return;
        }
      }
    }
    SatSlot sat = SatTables[s];
    LnbSlot params = LnbParams[s];
    if (!average)
      for (int c = 0; c < kSatColumns; ++c) TakeLnbColumn(StringGrid1, StringGrid2, sat, c);
    for (int b = 0; b < 4; ++b) {
      for (int k = 0; k < 4; ++k) params[b][k] = CellInt(StringGrid2, b + 1, k);
      if (average) RegenerateBand(sat, params[b], b);
    }
    params[0][4] = average ? 1 : 0;
    params[1][4] = IntOr(Edit2->text().toStdString(), 0);
    int32_t style = o[kStyle];
    if (RadioButton1->isChecked()) style = 1;
    if (RadioButton2->isChecked()) style = 2;
    StoreLnb(row, s, sat, params, style);
  } else {
    if (average) {
      const int count = CellInt(StringGrid2, 1, 0);
      if (count < 0 || count > kTerrMaxChannels) {
        platform::ShowMessage(kTerrCountMessage);
        return;
      }
    }
    TerrTable table = TerrTables[s];
    TerrHeader header = TerrParams[s];
    if (!average) TakeTerrTable(StringGrid1, StringGrid2, table, kind);
    const TerrBand band = TerrBandOf(kind);
    if (band.checked &&
        (CellInt(StringGrid2, 1, 2) < band.lowest || CellInt(StringGrid2, 1, 3) > band.highest)) {
      // What table mode took stays stored; the summary is not taken.
      StoreTerr(s, table, header);
      StringGrid2View->reload();
      platform::ShowMessage(kFrequencyMessage);
      return;
    }
    for (int k = 0; k < 4; ++k) header[static_cast<std::size_t>(k)] = CellInt(StringGrid2, 1, k);
    if (average) RegenerateTerr(table, header);
    header[4] = average ? 1 : 0;
    StoreTerr(s, table, header);
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
