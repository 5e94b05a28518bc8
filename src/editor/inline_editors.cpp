// The double click that opens an object's editor, and the three editors laid over the drawing:
// the length and cable-kind editor of lines and sockets, the comment editor and the stepper of
// a device's setting knobs.
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <algorithm>
#include <cstdlib>

#include "catalogue/geometry.hpp"
#include "catalogue/knob_table.hpp"
#include "catalogue/label_lists.hpp"
#include "catalogue/type_catalogue.hpp"
#include "editor/canvas_paint.hpp"
#include "editor/canvas_window.hpp"
#include "editor/panel_widgets.hpp"
#include "editor/placement_commands.hpp"
#include "model/network_model.hpp"
#include "model/number_text.hpp"
#include "model/object_rows.hpp"
#include "model/price_rows.hpp"
#include "model/project_file.hpp"
#include "model/project_options.hpp"
#include "model/source_tables.hpp"
#include "model/undo_ring.hpp"
#include "symbols/object_glyphs.hpp"

namespace kavrix {

namespace {

constexpr const char* kCommentPlaceholder = "Double click and enter a text";
constexpr int kCommentMaxChars = 100;

bool InRange(int v, int lo, int hi) { return v >= lo && v <= hi; }
int Sign(int v) { return (v > 0) - (v < 0); }
int Low16(int32_t v) { return static_cast<int16_t>(static_cast<uint16_t>(v & 0xFFFF)); }

bool HasKnobs(int kind) {
  // The runs of the obsolete 17-input switches only give the control reset their initial
  // settings; their symbols show no knob to turn.
  if (kind >= 62 && kind <= 64) return false;
  const int first = TypeOf(kind)[kFirstKnob];
  return first > 0 && first < kKnobRecordCount;
}

// Any editor or panel a double click opened. The canvas's Enter ends the editing state while a
// panel stays open; the open panel still owns the edit.
bool AnyEditorShown(const TForm5& f) {
  for (const QWidget* w : std::initializer_list<const QWidget*>{f.Edit1, f.UpDown1, f.Memo1, f.Panel1, f.Panel2,
                                                               f.Panel8, f.Panel9, f.Panel10, f.Panel11, f.Panel12})
    if (Shown(w)) return true;
  return false;
}

void ShowOver(QWidget* w, int left, int top) {
  w->move(left, top);
  w->show();
  w->raise();
}

// ---- cable editor

// Wide enough to hide the symbol's own setting text below it, whatever the value's length.
void FitKnobValue(QLabel& label) {
  label.adjustSize();
  label.resize(std::max(label.width(), 14), label.height());
}

void OpenCableEditor(TForm5& f, int row) {
  const ObjRow& o = NetObjects[static_cast<std::size_t>(row)];
  const bool odd = o[kOrient] % 2 != 0;
  int left = 0;
  int top = 0;
  if (o[kKind] == 210) {
    left = o[kX] - (odd ? 15 : 10) - ScrollX;
    top = o[kY] - 10 - ScrollY;
  } else {
    const bool bends = ContinuationRows(row) >= 1;
    const LineLegs legs = bends ? LineLegs::Of(NetObjects[static_cast<std::size_t>(row + 1)]) : LineLegs{};
    left = odd ? o[kX] - 15 - ScrollX : o[kX] - 13 + 23 * Sign(legs.h1) - ScrollX;
    top = odd ? o[kY] - 5 + 15 * Sign(legs.v1) - ScrollY : o[kY] - 6 - ScrollY;
  }
  f.Edit1->setEnabled(true);
  f.Edit1->move(left, top);

  const auto& grid = o[kKind] == 205 ? OptionControls.FiberGrid : OptionControls.RfGrid;
  f.ComboBox1->clear();
  for (int k = 1; k <= kCableKinds; ++k) f.ComboBox1->addItem(QString::fromStdString(grid[k].type));
  f.ComboBox1->setCurrentIndex(InRange(o[kStyle], 1, kCableKinds) ? o[kStyle] - 1 : -1);
  ShowOver(f.ComboBox1, left, top - 20);

  f.m_lengthText = QString::number(o[kInst] < 0 ? 0 : o[kInst]);
  f.m_fractionAt = -1;
  f.Edit1->setText(f.m_lengthText);
  ShowOver(f.Edit1, left, top);
  f.Edit1->setFocus();
  f.Edit1->selectAll();
}

// ---- comment editor

bool OpenCommentEditor(TForm5& f, int row) {
  const ObjRow& o = NetObjects[static_cast<std::size_t>(row)];
  if (!InRange(o[kInst], 0, kItemTextSlots - 1)) return false;
  const std::string& text = ItemTexts[static_cast<std::size_t>(o[kInst])];
  f.Memo1->setPlainText(text == kCommentPlaceholder ? QString() : QString::fromStdString(text));
  ShowOver(f.Memo1, o[kX] - TypeOf(100)[kHalfWidth] - ScrollX, o[kY] - TypeOf(100)[kHalfHeight] - ScrollY);
  f.Memo1->setFocus();
  f.Memo1->moveCursor(QTextCursor::End);
  return true;
}

// ---- setting knobs

QString KnobText(int position, int scale) {
  if (scale < 100) return QString::number(position * scale);
  if (scale == 100) {
    const auto v = SlopeStepAt(position);
    return v ? QString::number(*v) : QString();
  }
  const auto v = TransponderCountFor(position);
  return v ? QString::number(*v) : QString();
}

int KnobScaleFor(int kind, int tag, int maximum) {
  int scale = ((tag < 20 || kind > 169) && maximum == 3) ? 4 : 1;
  if (kind == 108 && maximum == 3) scale = 3;
  if (InRange(kind, 101, 104) && tag > 20) scale = tag == 25 ? 6 : 100;
  if (InRange(kind, 105, 106) && tag > 30) scale = tag == 35 ? 6 : 100;
  if (kind == 141 || kind == 144) scale = 110;
  return scale;
}

// The first knob of the row within 10 pixels of (x, y) on both axes opens the stepper.
bool OpenKnobAt(TForm5& f, int row, int x, int y) {
  const ObjRow& o = NetObjects[static_cast<std::size_t>(row)];
  const int kind = o[kKind];
  if (!HasKnobs(kind)) return false;
  const int first = TypeOf(kind)[kFirstKnob];
  const int count = KnobTable[static_cast<std::size_t>(first)][kKnobCount];
  const int settingsRows = ContinuationRows(row);
  for (int i = 0; i < count && first + i < kKnobRecordCount; ++i) {
    const KnobRecord& k = KnobTable[static_cast<std::size_t>(first + i)];
    Point p{k[kKnobDx], k[kKnobDy]};
    RotatePoint(k[kKnobDx], k[kKnobDy], o[kOrient], p);
    const int kx = o[kX] + p.x;
    const int ky = o[kY] + p.y;
    if (std::abs(kx - x) >= 10 || std::abs(ky - y) >= 10) continue;
    // A knob whose setting row is missing (a damaged file) has nothing to edit.
    const int offset = k[kKnobRowOffset];
    const int field = k[kKnobColumn];
    if (offset < 0 || offset > settingsRows || !InRange(field, 0, kObjFields - 1)) continue;

    f.UpDown1Tag = offset * 10 + field;
    int minimum = Low16(k[kKnobMin]);
    int maximum = Low16(k[kKnobMax]);
    // Field 0 of a settings row is also its continuation mark: at 0 the row would end the object
    // table and every object after it would be lost.
    if (offset > 0 && field == 0) {
      minimum = std::min(minimum, -1);
      maximum = std::min(maximum, -1);
    }
    f.UpDown1Stepper->setRange(minimum, maximum);
    f.UpDown1Stepper->setPosition(Low16(NetObjects[static_cast<std::size_t>(row + offset)][field]));
    ShowOver(f.UpDown1, kx - 8 - ScrollX, ky - 5 - ScrollY);
    f.KnobScale = KnobScaleFor(kind, f.UpDown1Tag, maximum);
    f.Label2->setText(KnobText(f.UpDown1Stepper->position(), f.KnobScale));
    FitKnobValue(*f.Label2);
    ShowOver(f.Label2, f.UpDown1->x(), f.UpDown1->y() - 13);
    f.KnobStartPos = f.UpDown1Stepper->position();
    f.UpDown1->setFocus();
    return true;
  }
  return false;
}

// Enter on the stepper: the same close as the canvas's Enter.
void CloseKnobStepper(TForm5& f) {
  f.UpDown1->hide();
  f.Label2->hide();
  EndLevelDisplay();
  f.UpDown1Exit();
  f.UpDown1Tag = 0;
  f.Repaint();
}

}  // namespace

void TForm5::CreatePanels() {
  Edit1 = new QLineEdit(this);
  Edit1->setObjectName("Edit1");
  Edit1->resize(40, 20);
  Edit1->hide();
  connect(Edit1, &QLineEdit::textChanged, this, [this] { Edit1Change(); });
  HookKeys(Edit1, [this](int key) {
    if (!IsEnterKey(key)) return false;
    Edit1KeyDown(key);
    return true;
  });

  ComboBox1 = new QComboBox(this);
  ComboBox1->setObjectName("ComboBox1");
  ComboBox1->resize(75, 20);
  ComboBox1->hide();
  HookKeys(ComboBox1, [this](int key) {
    if (!IsEnterKey(key)) return false;
    ComboBox1KeyDown(key);
    return true;
  });

  UpDown1Stepper = new KnobStepper(this);
  UpDown1Stepper->setObjectName("UpDown1");
  UpDown1 = UpDown1Stepper;
  UpDown1->hide();
  connect(UpDown1Stepper, &KnobStepper::stepped, this, [this] { UpDown1Click(); });
  HookKeys(UpDown1, [this](int key) {
    if (!IsEnterKey(key)) return false;
    CloseKnobStepper(*this);
    return true;
  });
  Label2 = new QLabel(this);
  Label2->setObjectName("Label2");
  // The stepper's value sits where the symbol shows the knob's setting: it covers that text
  // instead of printing over it.
  Label2->setAutoFillBackground(true);
  QPalette knobValue = Label2->palette();
  knobValue.setColor(QPalette::Window, Qt::white);
  Label2->setPalette(knobValue);
  Label2->hide();

  Memo1 = new QPlainTextEdit(this);
  Memo1->setObjectName("Memo1");
  Memo1->resize(220, 52);
  Memo1->hide();
  connect(Memo1, &QPlainTextEdit::textChanged, this, [this] { Memo1Change(); });
  HookKeys(Memo1, [this](int key) {
    if (!IsEnterKey(key)) return false;
    Memo1KeyDown(key);
    return true;
  });

  CreateSourcePanel();
  CreateDevicePanels();
  CreateModulatorPanels();
}

void TForm5::PlacePanel(QWidget* panel, int left, int top) {
  // A panel partly outside the window could not be reached to close it; keep it inside.
  left = std::max(0, std::min(left, ClientWidth() - panel->width()));
  top = std::max(0, std::min(top, ClientHeight() - panel->height()));
  ShowOver(panel, left, top);
}

void TForm5::FormDblClick(QObject* /*sender*/) {
  if (IsNavigation(Tag) || InlineEdit == 1 || AnyEditorShown(*this)) return;
  Form1Tag = kMainInlineEditor;
  // A new line whose start the first click set is given up whole: its rows are not committed and
  // must not stay behind the table, nor get an editor.
  if (PendingKind != 0 && PanelOpen == 0) CancelPlacement();
  PendingKind = 0;
  PanelOpen = 0;
  int sx = 0;
  int sy = 0;
  platform::Current().cursorPos(sx, sy);
  const QPoint origin = mapToGlobal(QPoint(0, 0));
  const int x = SnapToGrid(sx - origin.x(), GridStep) + ScrollX;
  const int y = SnapToGrid(sy - origin.y(), GridStep) + ScrollY;
  const int r = HitTestComponent(x, y);
  if (r >= 0) OpenObjectEditor(r, x, y);

  CurObject = ObjectCount;
  PickOffset = {};
  if (!Shown(Panel1) && !Shown(UpDown1) && !Shown(Edit1)) {
    Form1Tag = ClickMode;
    Repaint();
  } else {
    EndLevelDisplay();
  }
}

bool TForm5::OpenObjectEditor(int r, int x, int y) {
  if (!ValidObjRow(r)) return false;
  const ObjRow o = NetObjects[static_cast<std::size_t>(r)];
  const int k = o[kKind];
  bool opened = false;
  auto mark = [&](bool ok) {
    if (!ok) return;
    InlineEdit = 1;
    SelObject = r;
    m_editRow = r;
    m_editKind = k;
    m_editX = o[kX];
    m_editY = o[kY];
    m_editCount = ObjectCount;
    opened = true;
  };
  if (InRange(k, 201, 219)) {
    OpenCableEditor(*this, r);
    mark(true);
  }
  if (k == 100) mark(OpenCommentEditor(*this, r));
  if ((InRange(k, 31, 80) || InRange(k, 87, 90) || InRange(k, 101, 199)) && HasKnobs(k)) {
    SelObject = r;
    mark(OpenKnobAt(*this, r, x, y));
  }
  if (k == 58 || k == 59) mark(OpenStreamerPanel(r));
  if (k == 60) mark(OpenConverter16Panel(r));
  if (k == 61) mark(OpenConverter4Panel(r));
  if (k == 181 || InRange(k, 183, 186)) mark(OpenLegacyOutputsPanel(r));
  if (InRange(k, 81, 84)) mark(OpenChannelPanel(r));
  if (k == 91 && std::abs(x - o[kX]) < 50 && std::abs(y - o[kY]) < 30) mark(OpenSourcePanel(r));
  if (InRange(k, 92, 95) && std::abs(x - o[kX]) < 50 && std::abs(y - (o[kY] + 15)) < 30) mark(OpenSourcePanel(r));
  if (k == 96) mark(OpenDvbModulatorPanel(r));
  if (k == 97) mark(OpenChannelPanel(r));
  return opened;
}

int TForm5::EditedRow() const {
  auto holdsKind = [this](int r) {
    return ValidObjRow(r) && NetObjects[static_cast<std::size_t>(r)][kKind] == m_editKind;
  };
  auto holdsObject = [&](int r) {
    const ObjRow& o = NetObjects[static_cast<std::size_t>(r)];
    return holdsKind(r) && o[kX] == m_editX && o[kY] == m_editY;
  };
  if (holdsObject(m_editRow)) return m_editRow;
  // Rows before it were deleted, or put back by an undo, while the editor stayed open: the
  // object now lives in another row. Two such objects on one spot leave it unknown.
  int found = -1;
  for (int r = 0; r < ObjectCount && ValidObjRow(r); ++r) {
    if (!holdsObject(r)) continue;
    if (found >= 0) return -1;
    found = r;
  }
  if (found >= 0) return found;
  // The object itself was moved; with no row added or taken away it is still in its row.
  return holdsKind(m_editRow) && ObjectCount == m_editCount ? m_editRow : -1;
}

// ---- cable editor handlers

void TForm5::Edit1Change() {
  const QString text = Edit1->text();
  // Digits typed right where a decimal mark was cut off are its fraction: typing 12.7 leaves
  // 12, not 127.
  if (m_fractionAt >= 0) {
    const int added = static_cast<int>(text.size() - m_lengthText.size());
    bool fraction = added > 0 && text.left(m_fractionAt) == m_lengthText.left(m_fractionAt) &&
                    text.mid(m_fractionAt + added) == m_lengthText.mid(m_fractionAt);
    for (int i = 0; fraction && i < added; ++i) fraction = text[m_fractionAt + i].isDigit();
    if (fraction) {
      const QSignalBlocker block(Edit1);
      Edit1->setText(m_lengthText);
      Edit1->setCursorPosition(m_fractionAt);
      return;
    }
    m_fractionAt = -1;
  }
  QString t = text;
  int cut = t.indexOf(',');
  if (cut < 0) cut = t.indexOf('.');
  if (cut >= 0) t = t.left(cut);
  int32_t v = 0;
  QString out;
  if (ParseInt(t.toStdString(), v) != 0 || !IsStorableValue(v)) {
    out = "0";
  } else if (v < 0) {
    out = m_lengthText;  // a cable has no negative length
  } else {
    out = QString::number(v);
  }
  m_lengthText = out;
  if (cut >= 0 && out == t) m_fractionAt = static_cast<int>(cut);
  if (out == text) return;
  const int caret = Edit1->cursorPosition();
  const QSignalBlocker block(Edit1);
  Edit1->setText(out);
  Edit1->setCursorPosition(std::min(caret, static_cast<int>(out.size())));
}

void TForm5::Edit1KeyDown(int key) {
  if (IsEnterKey(key) && Shown(Edit1)) CommitCableEditor();
}

void TForm5::ComboBox1KeyDown(int key) {
  if (Shown(ComboBox1)) Edit1KeyDown(key);
}

void TForm5::CommitCableEditor() {
  Edit1->hide();
  Edit1->setEnabled(false);
  const int row = EditedRow();
  if (row >= 0) {
    ObjRow& r = NetObjects[static_cast<std::size_t>(row)];
    const int32_t length = IntOr(Edit1->text().toStdString(), 0);
    const bool cable = InRange(r[kKind], 201, 210);
    // With no cable kind chosen the line keeps its own.
    const int32_t style = ComboBox1->currentIndex() >= 0 ? ComboBox1->currentIndex() + 1 : r[kStyle];
    EditStep step;
    if (length != r[kInst] || style != r[kStyle]) PushUndo(kUndoInlineEdit, row);
    r[kInst] = length;
    if (cable) {
      r[kStyle] = style;
      if (InRange(style, 1, kCableKinds)) CurCableKind = static_cast<uint8_t>(style);
      ComboBox1->hide();
      if (r[kKind] == 210) RebuildObjectGlyph(row);
    }
  }
  CurObject = ObjectCount;
  PanelOpen = 0;
  PendingKind = 0;
  PickOffset = {};
  EndLevelDisplay();
  InlineEdit = 0;
  if (Label14) Label14->hide();
  if (Label15) Label15->hide();
  Repaint();
  ProjectModified = true;
}

void TForm5::ComboBox1Exit() {
  const int row = EditedRow();
  if (row >= 0 && NetObjects[static_cast<std::size_t>(row)][kKind] > 200 && ComboBox1->currentIndex() >= 0)
    CurCableKind = static_cast<uint8_t>(ComboBox1->currentIndex() + 1);
}

// ---- comment editor handlers

// A comment holds at most 100 characters. What the project file cannot keep is left out when the
// comment is committed, so a refused character never stops the typing.
void TForm5::Memo1Change() {
  const QString typed = Memo1->toPlainText();
  if (typed.size() <= kCommentMaxChars) return;
  const int kept = kCommentMaxChars - (typed.at(kCommentMaxChars - 1).isHighSurrogate() ? 1 : 0);
  const int caret = Memo1->textCursor().position();
  const QSignalBlocker block(Memo1);
  Memo1->setPlainText(typed.left(kept));
  QTextCursor cursor = Memo1->textCursor();
  cursor.setPosition(std::min(caret, kept));
  Memo1->setTextCursor(cursor);
}

void TForm5::Memo1KeyDown(int key) {
  if (IsEnterKey(key) && Shown(Memo1)) CommitCommentEditor();
}

void TForm5::CommitCommentEditor() {
  const int row = EditedRow();
  // The project file keeps comments in 8 bits: what it cannot hold is left out with a word,
  // instead of coming back as "?" from the next Save and Open.
  const KeptText kept = KeepTypedText(Memo1->toPlainText().toStdString(), true, "project file");
  std::string note;
  if (row >= 0) {
    const int inst = NetObjects[static_cast<std::size_t>(row)][kInst];
    if (InRange(inst, 0, kItemTextSlots - 1)) {
      ItemTexts[static_cast<std::size_t>(inst)] = kept.text;
      note = kept.note;
    }
  }
  Memo1->hide();
  PanelOpen = 0;
  PendingKind = 0;
  PickOffset = {};
  EndLevelDisplay();
  if (row >= 0) RebuildObjectGlyph(row);
  Repaint();
  ProjectModified = true;
  InlineEdit = 0;
  platform::ShowNote(note);
}

// ---- knob stepper handlers

void TForm5::UpDown1Click() {
  Label2->setText(KnobText(UpDown1Stepper->position(), KnobScale));
  FitKnobValue(*Label2);
}

void TForm5::KnobFollowsStoredValue() {
  if (UpDown1Tag == 0) return;
  const int row = EditedRow();
  const int target = row + UpDown1Tag / 10;
  if (row < 0 || !ValidObjRow(target)) return;
  UpDown1Stepper->setPosition(Low16(NetObjects[static_cast<std::size_t>(target)][UpDown1Tag % 10]));
  KnobStartPos = UpDown1Stepper->position();
  UpDown1Click();
}

void TForm5::UpDown1Exit() {
  if (UpDown1Tag == 0) return;
  const int offset = UpDown1Tag / 10;
  const int field = UpDown1Tag % 10;
  const int row = EditedRow();
  const int target = row + offset;
  if (row >= 0 && ValidObjRow(target)) {
    int32_t& cell = NetObjects[static_cast<std::size_t>(target)][field];
    const int position = UpDown1Stepper->position();
    // Compared with what is stored, so that a value the stepper had to bring into its range is
    // stored with an undo entry too.
    if (cell != position) {
      EditStep step;
      PushUndo(kUndoSettings, target);
      cell = position;
      ProjectModified = true;
      EndLevelDisplay();
    }
    const int kind = NetObjects[static_cast<std::size_t>(row)][kKind];
    if (InRange(kind, 31, 90) || InRange(kind, 101, 199)) RebuildObjectGlyph(row);
  }
  UpDown1Tag = 0;
  InlineEdit = 0;
}

}  // namespace kavrix
