// Property panels of the IP streamers, the two channel converters and the single-cable
// multiswitches' legacy outputs. Each stores its controls into the object's rows, then checks
// what was stored and reports a failed check; what was stored stays, and one undo takes it back.
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include "editor/canvas_window.hpp"
#include "editor/panel_widgets.hpp"
#include "model/network_model.hpp"
#include "model/number_text.hpp"
#include "model/object_rows.hpp"
#include "model/panel_encodings.hpp"
#include "symbols/object_glyphs.hpp"

namespace kavrix {

namespace {

void SetItem(QComboBox* c, int item) { c->setCurrentIndex(item >= 0 && item < c->count() ? item : -1); }
// The chosen item, or `stored` when the list shows none (a value the list cannot show stays).
int ItemOr(const QComboBox* c, int stored) { return c->currentIndex() >= 0 ? c->currentIndex() : stored; }
std::string Text(const QLineEdit* e) { return e->text().toStdString(); }

QLineEdit* DigitsEdit(QWidget* parent, int x, int y, int width) {
  QLineEdit* e = MakeEdit(parent, x, y, width);
  e->setValidator(new QRegularExpressionValidator(QRegularExpression("\\d{0,5}"), e));
  return e;
}

// Legacy outputs: which check box shows which digit of the code, per kind.
struct DigitBox {
  int digit;
  int box;
  const char* caption;
};
struct LegacyLayout {
  int height;
  int buttonTop;
  std::vector<DigitBox> boxes;
};

const LegacyLayout* LegacyLayoutOf(int kind) {
  static const LegacyLayout k181{60, 40, {{3, 7, ""}}};
  static const LegacyLayout k183{143, 123,
                                 {{2, 2, "D2"}, {3, 6, "A1"}, {4, 3, "D1"}, {5, 7, "A2"},
                                  {6, 4, "C2"}, {7, 8, "B1"}, {8, 5, "C1"}, {9, 9, "B2"}}};
  static const LegacyLayout k184{143, 123, {{2, 2, "A2"}, {3, 3, "A1"}, {4, 4, "B2"}, {5, 5, "B1"}}};
  static const LegacyLayout k185{90, 60, {{2, 2, "2"}, {3, 3, "1"}}};
  static const LegacyLayout k186{103, 25, {{2, 5, "A2"}, {3, 4, "A1"}, {4, 9, "B2"}, {5, 8, "B1"}}};
  switch (kind) {
    case 181: return &k181;
    case 183: return &k183;
    case 184: return &k184;
    case 185: return &k185;
    case 186: return &k186;
    default: return nullptr;
  }
}

constexpr int kLegacyBoxX[11] = {0, 0, 16, 16, 16, 16, 70, 70, 70, 70, 16};
constexpr int kLegacyBoxY[11] = {0, 0, 20, 40, 60, 80, 20, 40, 60, 80, 100};

void CloseAndRelabel(TForm5& f, QWidget* panel, int row) {
  panel->hide();
  InlineEdit = 0;
  if (ValidObjRow(row)) RebuildObjectGlyph(row);
  f.Repaint();
}

}  // namespace

void TForm5::CreateDevicePanels() {
  // ---- streamers
  Panel9 = MakePanel(this, "Panel9", 204, 196);
  Label17 = MakeLabel(Panel9, "LNB frrquency, MHz", 8, 6);
  Label18 = MakeLabel(Panel9, "Lo", 8, 29);
  Edit3 = DigitsEdit(Panel9, 26, 26, 66);
  Label19 = MakeLabel(Panel9, "Hi", 104, 29);
  Edit4 = DigitsEdit(Panel9, 122, 26, 66);
  Label20 = MakeLabel(Panel9, "LNB Power", 8, 55);
  ComboBox7 = MakeCombo(Panel9, {}, 92, 52, 100);
  Label21 = MakeLabel(Panel9, "Satellite", 8, 81);
  ComboBox8 = MakeCombo(Panel9, {}, 92, 78, 100);
  Label22 = MakeLabel(Panel9, "Polarization", 8, 107);
  ComboBox9 = MakeCombo(Panel9, {}, 92, 104, 100);
  Label23 = MakeLabel(Panel9, "Input Freq.", 8, 133);
  Edit5 = DigitsEdit(Panel9, 92, 130, 100);
  Button8 = MakeButton(Panel9, "Cancel", 8, 162, 88);
  Button9 = MakeButton(Panel9, "Apply", 104, 162, 88);
  connect(Button8, &QPushButton::clicked, this, [this] { Button8Click(); });
  connect(Button9, &QPushButton::clicked, this, [this] { Button9Click(); });

  // ---- 16-channel converter
  Panel11 = MakePanel(this, "Panel11", 358, 456);
  Label16 = new QLabel(Panel11);
  Label16->setText(
      "<table cellspacing=0 cellpadding=0><tr><td width=40>Ch.</td><td width=76>Input</td>"
      "<td width=54>F in</td><td width=54>F out</td><td width=62>Channel</td><td>Level</td></tr></table>");
  Label16->setGeometry(8, 2, 340, 16);
  QStringList inputs{"V,Lo", "H,Lo", "V,Hi", "H,Hi", "Aux In1", "Aux In2"};
  QStringList channels;
  for (int ch = 21; ch <= 69; ++ch) channels << QString("C%1").arg(ch);
  channels << "  -";
  QStringList trims{"+3", "+2.5", "+2", "+1.5", "+1", "+0.5", "0", "-0.5", "-1", "-1.5", "-2", "-2.5", "-3"};
  for (int i = 1; i <= panel::kConverterChannels; ++i) {
    ConverterRowControls& c = Panel11Rows[static_cast<std::size_t>(i)];
    const int top = 20 * i;
    c.enable = MakeCheck(Panel11, QString::number(i), 8, top + 1, 38);
    c.input = MakeCombo(Panel11, inputs, 48, top, 72);
    c.inputMHz = DigitsEdit(Panel11, 124, top, 50);
    c.output = MakeEdit(Panel11, 178, top, 50);
    c.channel = MakeCombo(Panel11, channels, 232, top, 58);
    c.trim = MakeCombo(Panel11, trims, 294, top, 54);
    connect(c.channel, &QComboBox::activated, this, [this, i] { ConverterChannelChange(i); });
  }
  MakeLabel(Panel11, "LNB LO Frequencies (MHz):", 8, 350);
  MakeLabel(Panel11, "Lo:", 8, 373);
  MaskEdit18 = DigitsEdit(Panel11, 30, 370, 56);
  MakeLabel(Panel11, "Hi:", 98, 373);
  MaskEdit19 = DigitsEdit(Panel11, 118, 370, 56);
  MakeLabel(Panel11, "Aux:", 186, 373);
  MaskEdit20 = DigitsEdit(Panel11, 214, 370, 56);
  QStringList steps;
  for (int k = 0; k <= 30; ++k) steps << QString::fromStdString(FormatGeneral(k / 2.0));
  MakeLabel(Panel11, "Attenuator (dB):", 8, 399);
  ComboBox27 = MakeCombo(Panel11, steps, 118, 396, 56);
  Button12 = MakeButton(Panel11, "Cancel", 8, 424, 100);
  Button13 = MakeButton(Panel11, "Update", 118, 424, 100);
  connect(Button12, &QPushButton::clicked, this, [this] { Button12Click(); });
  connect(Button13, &QPushButton::clicked, this, [this] { Button13Click(); });

  // ---- four-input converter
  Panel10 = MakePanel(this, "Panel10", 224, 190);
  MakeLabel(Panel10, "Input frequencies (MHz):", 8, 6);
  for (int k = 0; k < 4; ++k) Edit8To11[static_cast<std::size_t>(k)] = MakeEdit(Panel10, 8 + 52 * k, 24, 48);
  MakeLabel(Panel10, "Output frequency (MHz):", 8, 55);
  Edit7 = MakeEdit(Panel10, 152, 52, 60);
  MakeLabel(Panel10, "Input bandwidth (MHz):", 8, 81);
  ComboBox10 = MakeCombo(Panel10, {"8", "7"}, 152, 78, 60);
  MakeLabel(Panel10, "Output bandwidth (MHz):", 8, 107);
  Edit6 = MakeEdit(Panel10, 152, 104, 60);
  MakeLabel(Panel10, "Attenuation (dB):", 8, 133);
  Label26 = MakeLabel(Panel10, "0", 152, 133);
  UpDown6 = new KnobStepper(Panel10);
  UpDown6->setGeometry(190, 126, 16, 26);
  UpDown6->setRange(0, 15);
  connect(UpDown6, &KnobStepper::stepped, this, [this] { UpDown6Click(); });
  Button10 = MakeButton(Panel10, "Cancel", 8, 158, 96);
  Button11 = MakeButton(Panel10, "Apply", 116, 158, 96);
  connect(Button10, &QPushButton::clicked, this, [this] { Button10Click(); });
  connect(Button11, &QPushButton::clicked, this, [this] { Button11Click(); });

  // ---- legacy outputs
  Panel8 = MakePanel(this, "Panel8", 130, 143);
  Label13 = MakeLabel(Panel8, "Legacy outputs:", 8, 3);
  for (int n = 2; n <= 10; ++n) LegacyBoxes[static_cast<std::size_t>(n)] = MakeCheck(Panel8, "", 0, 0, 44);
  LegacyBoxes[10]->setText("Terr TV passive");
  Button7 = MakeButton(Panel8, "Apply", 8, 123, 75, 18);
  connect(Button7, &QPushButton::clicked, this, [this] { Button7Click(); });
}

// ---- streamers (58 satellite input, 59 terrestrial input)

bool TForm5::OpenStreamerPanel(int row) {
  const ObjRow& o = NetObjects[static_cast<std::size_t>(row)];
  const bool sat = o[kKind] == 58;
  if (sat && ContinuationRows(row) < 1) return false;
  for (QWidget* w : std::initializer_list<QWidget*>{Label17, Label18, Edit3, Label19, Edit4, Label20, ComboBox7,
                                                    Label21, ComboBox8, Label22, ComboBox9})
    w->setVisible(sat);
  Edit5->setText(QString::number(o[kInst]));
  if (sat) {
    const ObjRow& c = NetObjects[static_cast<std::size_t>(row + 1)];
    ComboBox7->clear();
    ComboBox7->addItems({"Off", "Auto", "13V", "18V", "13V/22kHz", "18V/22kHz"});
    SetItem(ComboBox7, panel::StreamerPowerItem(panel::StreamerPowerOf(c[kStreamerSource])));
    ComboBox8->clear();
    ComboBox8->addItems({"None", "SAT A", "SAT B", "SAT C", "SAT D"});
    SetItem(ComboBox8, panel::StreamerSatelliteItem(c[kStreamerSource]));
    ComboBox9->clear();
    ComboBox9->addItems({"Horizontal", "Vertical"});
    SetItem(ComboBox9, c[kStreamerPolarisation]);
    Edit3->setText(QString::number(c[kStreamerLoLow]));
    Edit4->setText(QString::number(c[kStreamerLoHigh]));
  }
  // The terrestrial streamer shows only its input frequency.
  const int top = sat ? 130 : 8;
  Label23->move(8, top + 3);
  Edit5->move(92, top);
  Button8->move(8, top + 32);
  Button9->move(104, top + 32);
  Panel9->resize(Panel9->width(), top + 66);
  PlacePanel(Panel9, o[kX] - 50 - ScrollX, o[kY] - 80 - ScrollY);
  return true;
}

void TForm5::Button8Click() {
  Panel9->hide();
  InlineEdit = 0;
}

void TForm5::Button9Click() {
  const int row = EditedRow();
  if (row < 0) {
    CloseAndRelabel(*this, Panel9, row);  // the object is gone: nothing to store
    return;
  }
  ObjectRowsEdit e(row);
  ObjRow& o = e.at(0);
  const bool sat = o[kKind] == 58 && e.has(1);
  o[kInst] = IntOr(Text(Edit5), 0);
  int32_t power = 0;
  if (sat) {
    ObjRow& c = e.at(1);
    panel::StreamerChoice choice;
    choice.satelliteItem = ComboBox8->currentIndex();
    choice.powerItem = ComboBox7->currentIndex();
    choice.polarisation = ItemOr(ComboBox9, c[kStreamerPolarisation]);
    choice.loLow = IntOr(Text(Edit3), 0);
    choice.loHigh = IntOr(Text(Edit4), 0);
    power = panel::WriteStreamerRow(choice, c);
  }
  e.commit();
  if (sat && panel::StreamerPowerMismatch(o[kInst], power)) platform::ShowMessage(panel::kPowerMismatchMessage);
  CloseAndRelabel(*this, Panel9, row);
}

// ---- 16-channel converter (60)

bool TForm5::OpenConverter16Panel(int row) {
  if (ContinuationRows(row) < panel::kConverterChannels + 1) return false;
  const ObjRow& o = NetObjects[static_cast<std::size_t>(row)];
  for (int i = 1; i <= panel::kConverterChannels; ++i) {
    const panel::ConverterChannel r = panel::ConverterChannelOf(NetObjects[static_cast<std::size_t>(row + i)]);
    ConverterRowControls& c = Panel11Rows[static_cast<std::size_t>(i)];
    c.enable->setChecked(r.enabled);
    SetItem(c.input, r.inputLine);
    SetItem(c.trim, r.levelItem);
    c.inputMHz->setText(QString::number(r.inputMHz));
    c.output->setText(QString::fromStdString(TenthsText(r.outputTenths)));
    SetItem(c.channel, UhfItemOfCentre(r.outputTenths));
  }
  panel::ConverterOscillators lo;
  panel::ReadConverterOscillators(row, lo);
  MaskEdit18->setText(QString::number(lo.lo));
  MaskEdit19->setText(QString::number(lo.hi));
  MaskEdit20->setText(QString::number(lo.aux));
  SetItem(ComboBox27, o[kInst]);
  PlacePanel(Panel11, o[kX] - 50 - ScrollX, o[kY] - 160 - ScrollY);
  return true;
}

void TForm5::ConverterChannelChange(int channel) {
  if (channel < 1 || channel > panel::kConverterChannels) return;
  const ConverterRowControls& c = Panel11Rows[static_cast<std::size_t>(channel)];
  c.output->setText(QString::number(UhfChannelEdge(c.channel->currentIndex()) + 4));
}

void TForm5::Button12Click() {
  Panel11->hide();
  InlineEdit = 0;
}

void TForm5::Button13Click() {
  const int row = EditedRow();
  if (row < 0 || ContinuationRows(row) < panel::kConverterChannels + 1) {
    CloseAndRelabel(*this, Panel11, -1);  // the object is gone: nothing to store
    return;
  }
  ObjectRowsEdit e(row);
  e.at(0)[kInst] = ItemOr(ComboBox27, e.at(0)[kInst]);
  std::array<panel::ConverterChannel, panel::kConverterChannels> channels;
  for (int i = 1; i <= panel::kConverterChannels; ++i) {
    const ConverterRowControls& c = Panel11Rows[static_cast<std::size_t>(i)];
    ObjRow& r = e.at(i);
    panel::ConverterChannel& ch = channels[static_cast<std::size_t>(i - 1)];
    ch.enabled = c.enable->isChecked();
    ch.levelItem = ItemOr(c.trim, r[kChannelTrim]);
    ch.inputLine = ItemOr(c.input, r[kChannelInput]);
    ch.inputMHz = IntOr(Text(c.inputMHz), 0);
    ch.outputTenths = TenthsOr(Text(c.output), -10);
    panel::WriteConverterChannel(ch, r);
  }
  const panel::ConverterOscillators oscillators{IntOr(Text(MaskEdit18), 0), IntOr(Text(MaskEdit19), 0),
                                                IntOr(Text(MaskEdit20), 0)};
  panel::WriteConverterOscillators(oscillators, e.at(kConverterOscillatorRow));
  e.commit();
  // The attenuator stepper opened with this panel edits the same setting.
  KnobFollowsStoredValue();
  const std::string message = panel::ConverterFailureMessage(panel::ConverterFailure(channels, oscillators));
  if (!message.empty()) platform::ShowMessage(message);
  CloseAndRelabel(*this, Panel11, row);
}

// ---- four-input converter (61)

bool TForm5::OpenConverter4Panel(int row) {
  if (ContinuationRows(row) < 1) return false;
  const ObjRow& o = NetObjects[static_cast<std::size_t>(row)];
  const ObjRow& c = NetObjects[static_cast<std::size_t>(row + 1)];
  UpDown6->setRange(0, 15);
  UpDown6->setPosition(o[kInst]);
  UpDown6Click();
  for (int k = 0; k < 4; ++k)
    Edit8To11[static_cast<std::size_t>(k)]->setText(QString::fromStdString(TenthsText(c[kFourInCentre1 + k])));
  Edit7->setText(QString::fromStdString(TenthsText(c[kFourOutCentre])));
  Edit6->setText(QString::fromStdString(TenthsText(o[kStyle])));
  ComboBox10->setCurrentIndex(c[kFourInBandwidth] == -8 ? 0 : 1);
  PlacePanel(Panel10, o[kX] - 50 - ScrollX, o[kY] - 80 - ScrollY);
  return true;
}

void TForm5::UpDown6Click() {
  Label26->setText(QString::number(UpDown6->position()));
  Label26->adjustSize();
}

void TForm5::Button10Click() {
  Panel10->hide();
  InlineEdit = 0;
}

void TForm5::Button11Click() {
  const int row = EditedRow();
  if (row < 0 || ContinuationRows(row) < 1) {
    CloseAndRelabel(*this, Panel10, -1);  // the object is gone: nothing to store
    return;
  }
  panel::FourChannelConverter c;
  c.attenuation = UpDown6->position();
  c.inBandwidthMHz = IntOr(ComboBox10->currentText().toStdString(), 0);
  for (int k = 0; k < 4; ++k) {
    const auto n = static_cast<std::size_t>(k);
    c.inCentreTenths[n] = TenthsOr(Text(Edit8To11[n]), 0);
  }
  c.outCentreTenths = TenthsOr(Text(Edit7), 0);
  c.outBandwidthTenths = TenthsOr(Text(Edit6), 0);
  ObjectRowsEdit e(row);
  panel::WriteFourChannelConverter(c, e.at(0), e.at(1));
  e.commit();
  if (!panel::FourChannelConverterAccepted(c)) platform::ShowMessage(panel::kFourInputMessage);
  CloseAndRelabel(*this, Panel10, row);
}

// ---- legacy outputs (181, 183..186)

bool TForm5::OpenLegacyOutputsPanel(int row) {
  const ObjRow& o = NetObjects[static_cast<std::size_t>(row)];
  const LegacyLayout* layout = LegacyLayoutOf(o[kKind]);
  if (!layout) return false;
  for (int n = 2; n <= 10; ++n) {
    QCheckBox* box = LegacyBoxes[static_cast<std::size_t>(n)];
    box->setGeometry(kLegacyBoxX[n], kLegacyBoxY[n], n == 10 ? 110 : 44, 17);
    box->hide();
  }
  for (const DigitBox& d : layout->boxes) {
    QCheckBox* box = LegacyBoxes[static_cast<std::size_t>(d.box)];
    box->setText(d.caption);
    box->setChecked(panel::LegacyOutputChecked(o[kInst], d.digit));
    box->show();
  }
  switch (o[kKind]) {
    case 181:
      LegacyBoxes[7]->setGeometry(95, 40, 18, 17);
      break;
    case 183:
      LegacyBoxes[7]->setGeometry(70, 40, 38, 17);
      LegacyBoxes[10]->setChecked(panel::DecimalDigitAt(o[kInst], 1) == '2');
      LegacyBoxes[10]->show();
      break;
    case 186:
      LegacyBoxes[4]->move(36, 60);
      LegacyBoxes[9]->move(60, 80);
      LegacyBoxes[8]->move(80, 60);
      for (int n : {4, 5, 8, 9}) LegacyBoxes[static_cast<std::size_t>(n)]->resize(40, 17);
      break;
    default:
      break;
  }
  Panel8->resize(Panel8->width(), layout->height);
  Button7->move(8, layout->buttonTop);
  const int dx = o[kKind] == 181 ? 65 : o[kKind] == 183 ? 59 : 55;
  const int dy = o[kKind] == 181 ? 29 : 59;
  PlacePanel(Panel8, o[kX] - dx - ScrollX, o[kY] - dy - ScrollY);
  return true;
}

void TForm5::Button7Click() {
  Panel8->hide();
  const int row = EditedRow();
  if (row < 0) {
    CloseAndRelabel(*this, Panel8, row);  // the object is gone: nothing to store
    return;
  }
  ObjectRowsEdit e(row);
  ObjRow& o = e.at(0);
  if (const LegacyLayout* layout = LegacyLayoutOf(o[kKind])) {
    uint32_t checked = 0;
    for (const DigitBox& d : layout->boxes)
      if (LegacyBoxes[static_cast<std::size_t>(d.box)]->isChecked()) checked |= 1u << d.digit;
    o[kInst] = panel::EncodeLegacyOutputs(o[kKind], checked, o[kKind] == 183 && LegacyBoxes[10]->isChecked());
    e.commit();
  }
  CloseAndRelabel(*this, Panel8, row);
}

}  // namespace kavrix
