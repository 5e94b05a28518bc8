#include "reports/calculator_window.hpp"

#include <QButtonGroup>
#include <QFocusEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>

#include "model/number_text.hpp"
#include "platform/platform.hpp"
#include "platform/stay_on_top.hpp"
#include "reports/document_commands.hpp"
#include "reports/path_loss.hpp"

namespace kavrix {

namespace {

// A row label: its words, blanks up to a common column, then the unit.
QString RowLabel(const QWidget* parent, const char* words, const char* unit) {
  const QFontMetrics fm(parent->font());
  QString text = QString(words) + ' ';
  while (fm.horizontalAdvance(text) < 96) text += ' ';
  return text + unit;
}

QLineEdit* AddEdit(QWidget* parent, int x, int y, const char* text) {
  auto* e = new QLineEdit(text, parent);
  e->setGeometry(x, y, 64, 22);
  return e;
}

QLabel* AddLabel(QWidget* parent, int x, int y, const QString& text) {
  auto* l = new QLabel(text, parent);
  l->setGeometry(x, y, 132, 22);
  return l;
}

QRadioButton* AddRadio(QWidget* parent, int x, int y, const char* text, QButtonGroup* group, bool checked) {
  auto* r = new QRadioButton(text, parent);
  r->setGeometry(x, y, 80, 22);
  r->setChecked(checked);
  group->addButton(r);
  return r;
}

QFrame* AddPanel(QWidget* parent, int x, int y, int w, int h) {
  auto* p = new QFrame(parent);
  p->setGeometry(x, y, w, h);
  p->setFrameShape(QFrame::StyledPanel);
  return p;
}

std::string RoundedText(double v) { return FormatGeneral(std::nearbyint(v)); }

}  // namespace

TForm6::TForm6(QWidget* parent) : QWidget(parent) {
  setWindowTitle("Path Loss Calculator");
  platform::KeepOnTop(this);
  setFixedSize(461, 430);
  move(320, 250);
  QFont face("Liberation Sans");
  face.setPointSize(9);
  setFont(face);

  auto* sat = new QGroupBox("Satellite parameters:", this);
  sat->setGeometry(8, 8, 445, 84);
  AddLabel(sat, 12, 22, RowLabel(this, "Position,", "deg"));
  Edit1 = AddEdit(sat, 150, 22, "0");
  auto* positionSide = new QButtonGroup(this);
  RadioButton1 = AddRadio(sat, 250, 22, "West", positionSide, true);
  RadioButton2 = AddRadio(sat, 340, 22, "East", positionSide, false);
  AddLabel(sat, 12, 52, RowLabel(this, "EIRP,", "dBw"));
  Edit2 = AddEdit(sat, 150, 52, "50");
  auto* band = new QButtonGroup(this);
  RadioButton7 = AddRadio(sat, 250, 52, "Ku-Band", band, true);
  RadioButton8 = AddRadio(sat, 340, 52, "C-Band", band, false);

  auto* site = new QGroupBox("Location Parameters:", this);
  site->setGeometry(8, 100, 445, 84);
  AddLabel(site, 12, 22, RowLabel(this, "Longitude,", "deg"));
  Edit3 = AddEdit(site, 150, 22, "0");
  auto* longitudeSide = new QButtonGroup(this);
  RadioButton3 = AddRadio(site, 250, 22, "West", longitudeSide, true);
  RadioButton4 = AddRadio(site, 340, 22, "East", longitudeSide, false);
  AddLabel(site, 12, 52, RowLabel(this, "Latitude,", "deg"));
  Edit4 = AddEdit(site, 150, 52, "0");
  auto* latitudeSide = new QButtonGroup(this);
  RadioButton5 = AddRadio(site, 250, 52, "North", latitudeSide, true);
  RadioButton6 = AddRadio(site, 340, 52, "South", latitudeSide, false);

  auto* dish = new QGroupBox("Antenna Parameters:", this);
  dish->setGeometry(8, 192, 445, 160);
  Panel5 = AddPanel(dish, 8, 20, 240, 64);
  Label6 = AddLabel(Panel5, 4, 6, RowLabel(this, "Diameter,", "cm"));
  Edit5 = AddEdit(Panel5, 142, 6, "100");
  Label8 = AddLabel(Panel5, 4, 36, RowLabel(this, "Efficiency,", "%"));
  Edit7 = AddEdit(Panel5, 142, 36, "60");
  Panel6 = AddPanel(dish, 8, 88, 240, 32);
  Label7 = AddLabel(Panel6, 4, 5, RowLabel(this, "Antenna Gain,", "dB"));
  Edit6 = AddEdit(Panel6, 142, 5, "");
  Panel7 = AddPanel(dish, 8, 124, 240, 32);
  AddLabel(Panel7, 4, 5, RowLabel(this, "LNB Gain,", "dB"));
  Edit8 = AddEdit(Panel7, 142, 5, "55");
  Label7->setEnabled(false);
  Edit6->setEnabled(false);
  Panel5->installEventFilter(this);
  Panel6->installEventFilter(this);

  Button1 = new QPushButton("Caltulate Signal Power", this);
  QFont bold = Button1->font();
  bold.setBold(true);
  Button1->setFont(bold);
  Button1->setGeometry(16, 362, 200, 28);
  Label1 = new QLabel(this);
  Label1->setFont(bold);
  Label1->setGeometry(232, 362, 200, 28);
  Label1->setWordWrap(true);  // the horizon message takes two lines in a larger font
  Button2 = new QPushButton("Close", this);
  Button2->setGeometry(16, 396, 90, 26);
  Button3 = new QPushButton("Help", this);
  Button3->setGeometry(126, 396, 90, 26);
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
  connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });

  for (QLineEdit* e : {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8}) e->installEventFilter(this);
}

bool TForm6::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::FocusOut) {
    // Only a move to another control leaves a field; the window losing the focus does not.
    const Qt::FocusReason why = static_cast<QFocusEvent*>(e)->reason();
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (edit && why != Qt::ActiveWindowFocusReason && why != Qt::PopupFocusReason) EditExit(edit);
  } else if (e->type() == QEvent::MouseButtonPress) {
    // Clicks on a panel's disabled fields reach the panel too.
    if (watched == Panel5) Panel5Click();
    else if (watched == Panel6) Panel6Click();
  }
  return QWidget::eventFilter(watched, e);
}

std::string TForm6::CheckNumberText(const std::string& text) {
  std::string t = text;
  if (const std::size_t comma = t.find(','); comma != std::string::npos) t[comma] = '.';
  // A lone "." or a number beyond the range of reals is no value either.
  double v = 0;
  PathLossValCode = ParseReal(t, v);
  if (PathLossValCode != 0) platform::ShowError("Error", kBadParameter);
  return t;
}

void TForm6::EditExit(QLineEdit* edit) { edit->setText(QString::fromStdString(CheckNumberText(edit->text().toStdString()))); }

void TForm6::Panel5Click() {
  Label7->setEnabled(false);
  Edit6->setEnabled(false);
  Label6->setEnabled(true);
  Label8->setEnabled(true);
  Edit5->setEnabled(true);
  Edit7->setEnabled(true);
}

void TForm6::Panel6Click() {
  Label6->setEnabled(false);
  Label8->setEnabled(false);
  Edit5->setEnabled(false);
  Edit7->setEnabled(false);
  Label7->setEnabled(true);
  Edit6->setEnabled(true);
  Edit5->clear();
  Edit7->clear();
}

bool TForm6::GainMode() const { return Edit6->isEnabled(); }

bool TForm6::TestField(QLineEdit* edit, double& value) {
  const std::string t = CheckNumberText(edit->text().toStdString());
  edit->setText(QString::fromStdString(t));
  return PathLossValCode == 0 && ParseReal(t, value) == 0;
}

void TForm6::Button1Click() {
  PathLossInput in;
  bool ok = true;
  double position = 0, longitude = 0;
  ok &= TestField(Edit1, position);
  ok &= TestField(Edit2, in.eirp);
  ok &= TestField(Edit3, longitude);
  ok &= TestField(Edit4, in.latitude);
  in.gainGiven = GainMode();
  if (Edit5->isEnabled()) ok &= TestField(Edit5, in.diameter);
  if (Edit6->isEnabled()) ok &= TestField(Edit6, in.antennaGain);
  if (Edit7->isEnabled()) ok &= TestField(Edit7, in.efficiency);
  ok &= TestField(Edit8, in.lnbGain);
  if (!ok) return;
  if (!in.gainGiven) {
    // The gain's logarithm has no value for a dish without size or efficiency.
    for (double v : {in.diameter, in.efficiency}) {
      if (v > 0) continue;
      platform::ShowError("Error", kBadParameter);
      ok = false;
    }
    if (!ok) return;
  }
  in.position = RadioButton2->isChecked() ? -position : position;
  in.longitude = RadioButton4->isChecked() ? -longitude : longitude;
  in.kuBand = RadioButton7->isChecked();
  const PathLossResult r = ComputeSignalLevel(in);
  if (!std::isfinite(r.antennaGain) || (r.visible && !std::isfinite(r.level))) {
    platform::ShowError("Error", kBadParameter);
    return;
  }
  if (!in.gainGiven) Edit6->setText(QString::fromStdString(RoundedText(r.antennaGain)));
  Label1->setText(r.visible ? QString::fromStdString(RoundedText(r.level) + "   dBuV") : kSatelliteNotVisible);
}

void TForm6::Button2Click() { close(); }

void TForm6::Button3Click() { OpenDocumentFile("", "Kavrix_Help.chm"); }

}  // namespace kavrix
