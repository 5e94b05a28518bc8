// The channel panel of the channel amplifiers and the HDMI modulator, and the panel of the
// digital TV modulator.
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "catalogue/label_lists.hpp"
#include "editor/canvas_window.hpp"
#include "editor/panel_widgets.hpp"
#include "editor/tv_channel_combos.hpp"
#include "model/network_model.hpp"
#include "model/number_text.hpp"
#include "model/object_rows.hpp"
#include "model/panel_encodings.hpp"
#include "symbols/object_glyphs.hpp"

namespace kavrix {

namespace {

bool IsChannelAmplifier(int kind) { return kind >= 81 && kind <= 84; }
// Kind 83 in its "AU" modes lists the VHF channel names and stores item indices.
bool VhfNumbering(int mode) { return mode == 2 || mode == 3; }

void FillNumbers(QComboBox* c, int first, int last) {
  c->clear();
  for (int ch = first; ch <= last; ++ch) c->addItem(QString::number(ch));
}

void FillVhfNames(QComboBox* c) {
  c->clear();
  for (const char* name : VhfChannelNames) c->addItem(name);
}

void SetItem(QComboBox* c, int item) { c->setCurrentIndex(item >= 0 && item < c->count() ? item : -1); }
int ItemOr(const QComboBox* c, int stored) { return c->currentIndex() >= 0 ? c->currentIndex() : stored; }

// First channel of the list each amplifier kind offers (channel number = item + first).
int FirstListedChannel(int kind) {
  switch (kind) {
    case 82: return 20;
    case 83: return 5;
    default: return 21;
  }
}

}  // namespace

void TForm5::CreateModulatorPanels() {
  QFrame* panel = MakePanel(this, "Panel2", 232, 158);
  Panel2 = panel;
  Label12 = MakeLabel(panel, "TV Standard      Channel       Attenuation", 8, 4);
  ComboBox6 = MakeCombo(panel, {}, 8, 22, 84);
  connect(ComboBox6, &QComboBox::activated, this, [this] {
    setFocus();  // the list gives up the focus once an item is chosen
    ComboBox6Exit();
  });
  for (int i = 0; i < 4; ++i) {
    const int top = 22 + 24 * i;
    const auto n = static_cast<std::size_t>(i);
    Label4To7[n] = MakeLabel(panel, QString("F%1").arg(i + 1), 98, top + 3);
    ComboBox2To5[n] = MakeCombo(panel, {}, 116, top, 58);
    connect(ComboBox2To5[n], &QComboBox::activated, this, [this] { setFocus(); });
    Label8To11[n] = new QLabel("0", panel);
    Label8To11[n]->setGeometry(178, top + 3, 26, 14);
    Label8To11[n]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    UpDown2To5[n] = new KnobStepper(panel);
    UpDown2To5[n]->setGeometry(208, top - 1, 16, 22);
    connect(UpDown2To5[n], &KnobStepper::stepped, this, [this, n] {
      Label8To11[n]->setText(QString::number(UpDown2To5[n]->position()));
    });
  }
  Button5 = MakeButton(panel, "Apply", 8, 124, 100);
  Button6 = MakeButton(panel, "Cancel", 122, 124, 100);
  connect(Button5, &QPushButton::clicked, this, [this] { Button5Click(); });
  connect(Button6, &QPushButton::clicked, this, [this] { Button6Click(); });

  Panel12 = MakePanel(this, "Panel12", 236, 168);
  MakeLabel(Panel12, "Step (MHz)", 8, 4);
  MakeLabel(Panel12, "(Bandwidth)", 8, 18);
  ComboBox44 = MakeCombo(Panel12, {}, 8, 36, 70);
  for (const char* step : ModulatorStepItems) ComboBox44->addItem(step);
  MakeLabel(Panel12, "Attenuator", 104, 18);
  QStringList attenuator;
  for (int k = 0; k <= 30; ++k) attenuator << QString::number(k);
  ComboBox61 = MakeCombo(Panel12, attenuator, 104, 36, 60);
  MakeLabel(Panel12, "F(MHz)   Channel (UHF Europa)", 8, 64);
  QStringList first;
  QStringList second;
  for (int ch = 21; ch <= 69; ++ch) first << QString("C%1").arg(ch);
  for (int ch = 22; ch <= 69; ++ch) second << QString("C%1").arg(ch);
  first << " -";
  second << " -" << " -";
  Edit28 = MakeEdit(Panel12, 8, 82, 60);
  ComboBox62 = MakeCombo(Panel12, first, 74, 82, 62);
  connect(ComboBox62, &QComboBox::activated, this, [this] { ComboBox62Change(); });
  CheckBox27 = MakeCheck(Panel12, "Enable", 144, 84, 80);
  Edit29 = MakeEdit(Panel12, 8, 106, 60);
  Edit29->setEnabled(false);
  ComboBox63 = MakeCombo(Panel12, second, 74, 106, 62);
  ComboBox63->setEnabled(false);
  CheckBox28 = MakeCheck(Panel12, "Enable", 144, 108, 80);
  Button14 = MakeButton(Panel12, "Cancel", 8, 136, 100);
  Button15 = MakeButton(Panel12, "Update", 122, 136, 100);
  connect(Button14, &QPushButton::clicked, this, [this] { Button14Click(); });
  connect(Button15, &QPushButton::clicked, this, [this] { Button15Click(); });
}

// ---- channel amplifiers (81..84) and the HDMI modulator (97)

bool TForm5::OpenChannelPanel(int row) {
  const ObjRow& o = NetObjects[static_cast<std::size_t>(row)];
  const int kind = o[kKind];
  const bool four = kind == 84;
  if (ContinuationRows(row) < (four ? 2 : 1)) return false;
  const ObjRow& c1 = NetObjects[static_cast<std::size_t>(row + 1)];
  auto showRow = [this](int i, bool on) {
    const auto n = static_cast<std::size_t>(i);
    for (QWidget* w : std::initializer_list<QWidget*>{Label4To7[n], ComboBox2To5[n], UpDown2To5[n], Label8To11[n]})
      w->setVisible(on);
  };
  auto setStepper = [this](int i, int min, int max, int value) {
    const auto n = static_cast<std::size_t>(i);
    UpDown2To5[n]->setRange(min, max);
    UpDown2To5[n]->setPosition(value);
    Label8To11[n]->setText(QString::number(UpDown2To5[n]->position()));
  };

  if (kind == 97) {
    showRow(0, true);
    showRow(1, false);
    showRow(2, false);
    showRow(3, false);
    setStepper(0, -30, 0, o[kInst]);
    ComboBox6->show();
    FillTvStandardCombo(ComboBox6);
    SetItem(ComboBox6, c1[kHdmiStandard]);
    FillChannelCombo(ComboBox6, ComboBox2To5[0]);
    SetItem(ComboBox2To5[0], c1[kHdmiChannel]);
    m_channelListMode = ComboBox6->currentIndex();
  } else {
    showRow(0, true);
    showRow(1, true);
    showRow(2, four);
    showRow(3, four);
    setStepper(0, 0, 10, c1[kAmpAttenuationA]);
    setStepper(1, 0, 10, c1[kAmpAttenuationB]);
    ComboBox6->setVisible(!four);
    if (four) {
      const ObjRow& c2 = NetObjects[static_cast<std::size_t>(row + 2)];
      setStepper(2, 0, 10, c2[kAmpAttenuationA]);
      setStepper(3, 0, 10, c2[kAmpAttenuationB]);
      for (int i = 0; i < 4; ++i) FillNumbers(ComboBox2To5[static_cast<std::size_t>(i)], 21, 60);
      SetItem(ComboBox2To5[2], c2[kAmpChannelA] - 21);
      SetItem(ComboBox2To5[3], c2[kAmpChannelB] - 21);
    } else {
      ComboBox6->clear();
      if (kind == 83) {
        ComboBox6->addItems({"B_A/D On", "B_A/D OF", "AU_A/D On", "AU_A/D OF"});
      } else {
        ComboBox6->addItems({"A/D On", "A/D OF"});
      }
      SetItem(ComboBox6, o[kInst]);
    }
    const bool vhf = kind == 83 && VhfNumbering(o[kInst]);
    for (int i = 0; i < 2; ++i) {
      QComboBox* list = ComboBox2To5[static_cast<std::size_t>(i)];
      const int stored = c1[kAmpChannelA + i];
      if (vhf) {
        FillVhfNames(list);
        SetItem(list, stored);
      } else {
        const int firstChannel = FirstListedChannel(kind);
        FillNumbers(list, firstChannel, kind == 81 ? 69 : kind == 82 ? 75 : kind == 83 ? 12 : 60);
        SetItem(list, stored - firstChannel);
      }
    }
    m_channelListMode = vhf ? 1 : 0;
  }
  // The buttons follow the last row shown.
  const int rows = kind == 97 ? 1 : four ? 4 : 2;
  const int buttonTop = 22 + 24 * rows + 8;
  Button5->move(Button5->x(), buttonTop);
  Button6->move(Button6->x(), buttonTop);
  Panel2->resize(Panel2->width(), buttonTop + 34);
  PlacePanel(Panel2, o[kX] - 30 - ScrollX, o[kY] - 74 - ScrollY);
  return true;
}

void TForm5::ComboBox6Exit() {
  const int row = EditedRow();
  if (row < 0 || !Shown(Panel2)) return;
  const ObjRow& o = NetObjects[static_cast<std::size_t>(row)];
  const int chosen = ComboBox6->currentIndex();
  if (o[kKind] == 97) {
    // Leaving the list on the standard already shown keeps the chosen channel.
    if (chosen == m_channelListMode) return;
    FillChannelCombo(ComboBox6, ComboBox2To5[0]);
    m_channelListMode = chosen;
    return;
  }
  if (o[kKind] != 83 || ContinuationRows(row) < 1) return;
  const int group = VhfNumbering(chosen) ? 1 : 0;
  if (group == m_channelListMode) return;
  const ObjRow& c1 = NetObjects[static_cast<std::size_t>(row + 1)];
  const bool storedVhf = VhfNumbering(o[kInst]);
  for (int i = 0; i < 2; ++i) {
    QComboBox* list = ComboBox2To5[static_cast<std::size_t>(i)];
    const int stored = c1[kAmpChannelA + i];
    // The other numbering shows the same channel by its name, or nothing when it has no such
    // channel: an offset would select a neighbour ("9R" for channel 10).
    const QString name = storedVhf ? QString::fromStdString(VhfChannelName(stored)) : QString::number(stored);
    if (group == 1) {
      FillVhfNames(list);
    } else {
      FillNumbers(list, 5, 12);
    }
    list->setCurrentIndex(name.isEmpty() ? -1 : list->findText(name));
  }
  m_channelListMode = group;
}

void TForm5::Button5Click() {
  if (!Shown(Panel2)) return;
  const int row = EditedRow();
  const int kind = row >= 0 ? NetObjects[static_cast<std::size_t>(row)][kKind] : 0;
  ObjectRowsEdit e(row);
  if (!(IsChannelAmplifier(kind) || kind == 97) || !e.has(kind == 84 ? 2 : 1)) {
    Button6Click();  // the object is gone: nothing to store
    return;
  }
  ObjRow& o = e.at(0);
  ObjRow& c1 = e.at(1);
  // Kind 84 has no mode list; its Inst is not the panel's to change.
  if (kind != 84) o[kInst] = ItemOr(ComboBox6, o[kInst]);
  if (kind == 97) {
    o[kInst] = UpDown2To5[0]->position();
    c1[kHdmiStandard] = ItemOr(ComboBox6, c1[kHdmiStandard]);
    c1[kHdmiChannel] = ItemOr(ComboBox2To5[0], c1[kHdmiChannel]);
  } else {
    for (int i = 0; i < 2; ++i) {
      const QComboBox* list = ComboBox2To5[static_cast<std::size_t>(i)];
      int32_t& channel = c1[kAmpChannelA + i];
      if (kind == 83 && VhfNumbering(o[kInst])) {
        channel = ItemOr(list, channel);
      } else {
        channel = IntOr(list->currentText().toStdString(), 0);
      }
      c1[kAmpAttenuationA + i] = UpDown2To5[static_cast<std::size_t>(i)]->position();
    }
    if (kind == 84) {
      ObjRow& c2 = e.at(2);
      for (int i = 0; i < 2; ++i) {
        const auto n = static_cast<std::size_t>(2 + i);
        c2[kAmpChannelA + i] = IntOr(ComboBox2To5[n]->currentText().toStdString(), 0);
        c2[kAmpAttenuationA + i] = UpDown2To5[n]->position();
      }
    }
  }
  e.commit();
  Panel2->hide();
  InlineEdit = 0;
  RebuildObjectGlyph(row);
  Repaint();
}

void TForm5::Button6Click() {
  Panel2->hide();
  InlineEdit = 0;
}

void TForm5::SelectTvStandard(int item) {
  // While the channel panel is shown its lists hold the choice of the object it was opened for;
  // refilled for a modulator elsewhere, its Apply would store that modulator's channels. Every
  // opening fills them anew.
  if (Shown(Panel2)) return;
  FillTvStandardCombo(ComboBox6);
  SetItem(ComboBox6, item);
  FillChannelCombo(ComboBox6, ComboBox2To5[0]);
}

// ---- digital TV modulator (96)

bool TForm5::OpenDvbModulatorPanel(int row) {
  if (ContinuationRows(row) < 1) return false;
  const ObjRow& o = NetObjects[static_cast<std::size_t>(row)];
  panel::DvbModulatorSettings c;
  panel::ReadDvbModulator(row, c);
  SetItem(ComboBox44, c.widthItem);
  SetItem(ComboBox61, c.attenuator);
  CheckBox27->setChecked(c.channel1);
  CheckBox28->setChecked(c.channel2);
  Edit28->setText(QString::fromStdString(TenthsText(c.outputTenths)));
  Edit29->setText(
      QString::fromStdString(FormatGeneral(panel::ModulatorChannelWidth(c.widthItem) + c.outputTenths / 10.0)));
  const int item = UhfItemOfCentre(c.outputTenths);
  SetItem(ComboBox62, item);
  SetItem(ComboBox63, item);
  PlacePanel(Panel12, o[kX] - 50 - ScrollX, o[kY] - 80 - ScrollY);
  return true;
}

void TForm5::ComboBox62Change() {
  const int item = ComboBox62->currentIndex();
  const int centre = UhfChannelEdge(item) + 4;
  Edit28->setText(QString::number(centre));
  double step = 0;
  if (ParseReal(ComboBox44->currentText().toStdString(), step) != 0) step = 0;
  Edit29->setText(QString::fromStdString(FormatGeneral(step + centre)));
  SetItem(ComboBox63, item);
}

void TForm5::Button14Click() {
  Panel12->hide();
  InlineEdit = 0;
}

void TForm5::Button15Click() {
  if (!Shown(Panel12)) return;
  const int row = EditedRow();
  ObjectRowsEdit e(row);
  if (row < 0 || NetObjects[static_cast<std::size_t>(row)][kKind] != 96 || !e.has(1)) {
    Button14Click();  // the object is gone: nothing to store
    return;
  }
  ObjRow& o = e.at(0);
  ObjRow& c = e.at(1);
  o[kInst] = ItemOr(ComboBox61, o[kInst]);
  c[kDvbWidthItem] = ItemOr(ComboBox44, c[kDvbWidthItem]);
  c[kDvbChannel1] = CheckBox27->isChecked() ? kChannelOn : kChannelOff;
  c[kDvbChannel2] = CheckBox28->isChecked() ? kChannelOn : kChannelOff;
  double f = -1;
  if (ParseReal(Edit28->text().toStdString(), f) != 0) f = -1;
  const bool inBand = panel::DvbOutputAccepted(f);
  if (inBand) c[kDvbOutputTenths] = TenthsOr(Edit28->text().toStdString(), c[kDvbOutputTenths]);
  e.commit();
  if (!inBand) platform::ShowMessage(panel::kDvbOutputMessage);
  Panel12->hide();
  InlineEdit = 0;
  RebuildObjectGlyph(row);
  Repaint();
}

}  // namespace kavrix
