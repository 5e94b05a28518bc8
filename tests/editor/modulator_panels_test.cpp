#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>

#include "editor/panel_widgets.hpp"
#include "panel_fixture.hpp"

namespace kavrix {
namespace {

using test::ModelState;
using test::PlaceDefault;
using test::UndoEntries;

struct ModulatorPanels : test::PanelTest {
  QComboBox* List(int i) { return f().ComboBox2To5[static_cast<std::size_t>(i)]; }
  KnobStepper* Stepper(int i) { return f().UpDown2To5[static_cast<std::size_t>(i)]; }
  // A choice in a list as the user makes it.
  void Choose(QComboBox* c, const QString& text) {
    const int item = c->findText(text);
    ASSERT_GE(item, 0) << text.toStdString();
    c->setCurrentIndex(item);
    emit c->activated(item);
  }
};

TEST_F(ModulatorPanels, ChannelAmplifierSelectsItsChannelsAndStoresTheChoice) {
  const int row = PlaceDefault(81, 300, 300);
  const ModelState before;
  ASSERT_TRUE(Open(row));
  EXPECT_EQ(f().Panel2->pos(), QPoint(270, 226));
  EXPECT_EQ(List(0)->currentText(), "21");
  EXPECT_EQ(List(1)->currentText(), "22");
  EXPECT_EQ(List(0)->count(), 49);
  EXPECT_EQ(f().ComboBox6->currentText(), "A/D On");
  EXPECT_FALSE(Shown(List(2)));
  EXPECT_FALSE(Shown(f().Label4To7[2]));
  test::SaveShot(f().Panel2, "panel_channel_amplifier");
  f().Button5Click();
  EXPECT_EQ(ModelState(), before);
  EXPECT_EQ(UndoEntries(), 0);
  EXPECT_FALSE(Shown(f().Panel2));
  EXPECT_EQ(InlineEdit, 0);

  ASSERT_TRUE(Open(row));
  Choose(List(1), "45");
  Choose(f().ComboBox6, "A/D OF");
  Stepper(0)->stepUp();
  Stepper(0)->stepUp();
  EXPECT_EQ(f().Label8To11[0]->text(), "2");
  const QImage glyph = Glyph(row).image();
  f().Button5Click();
  EXPECT_EQ(NetObjects[row][kInst], 1);
  EXPECT_EQ(NetObjects[row + 1], (ObjRow{-1, 21, 45, 2, 0, 0}));
  EXPECT_NE(Glyph(row).image(), glyph) << "the labels show the new channel";
  EXPECT_TRUE(ProjectModified);
  UndoLastStep();
  EXPECT_EQ(ModelState(), before);
}

TEST_F(ModulatorPanels, BandThreeAmplifierSwitchesBetweenItsTwoNumberings) {
  const int row = PlaceDefault(83, 300, 300);  // B_A/D On with channels 6 and 9
  ASSERT_TRUE(Open(row));
  EXPECT_EQ(List(0)->currentText(), "6");
  Choose(f().ComboBox6, "AU_A/D On");
  EXPECT_EQ(List(0)->count(), 10);
  EXPECT_EQ(List(0)->currentText(), "6");
  EXPECT_EQ(List(1)->currentText(), "9");
  Choose(List(0), "9R");
  Choose(f().ComboBox6, "AU_A/D OF");  // the same numbering keeps the choice
  EXPECT_EQ(List(0)->currentText(), "9R");
  f().Button5Click();
  EXPECT_EQ(NetObjects[row][kInst], 3);
  EXPECT_EQ(NetObjects[row + 1][1], 4) << "the item index of 9R";
  EXPECT_EQ(NetObjects[row + 1][2], 3);

  ASSERT_TRUE(Open(row));
  EXPECT_EQ(List(0)->currentText(), "9R");
  Choose(f().ComboBox6, "AU_A/D On");
  EXPECT_EQ(List(0)->currentText(), "9R");
}

TEST_F(ModulatorPanels, BandThreeAmplifierShowsTheSameChannelInTheOtherNumbering) {
  const int row = PlaceDefault(83, 300, 300);
  NetObjects[row + 1][1] = 10;
  NetObjects[row + 1][2] = 12;
  ASSERT_TRUE(Open(row));
  Choose(f().ComboBox6, "AU_A/D On");
  EXPECT_EQ(List(0)->currentText(), "10");
  EXPECT_EQ(List(1)->currentText(), "12");
  f().Button5Click();
  EXPECT_EQ(NetObjects[row + 1][1], 6) << "the item index of 10";
  EXPECT_EQ(NetObjects[row + 1][2], 9);

  // Back to the channel numbers: a name they do not have selects nothing.
  NetObjects[row + 1][1] = 4;  // 9R
  ASSERT_TRUE(Open(row));
  Choose(f().ComboBox6, "B_A/D On");
  EXPECT_EQ(List(0)->currentIndex(), -1);
  EXPECT_EQ(List(1)->currentText(), "12");
}

TEST_F(ModulatorPanels, FourChannelAmplifierKeepsItsListsAndItsInst) {
  const int hdmi = PlaceDefault(97, 600, 300);
  const int row = PlaceDefault(84, 300, 300);
  ASSERT_TRUE(Open(hdmi));
  Choose(f().ComboBox6, "Russia");
  f().Button6Click();
  for (int k = 0; k < 3; ++k) {
    ASSERT_TRUE(Open(row));
    f().Button6Click();
  }
  ASSERT_TRUE(Open(row));
  for (int i = 0; i < 4; ++i) EXPECT_EQ(List(i)->count(), 40) << i;
  EXPECT_FALSE(Shown(f().ComboBox6));
  EXPECT_EQ(List(2)->currentText(), "23");
  EXPECT_EQ(List(3)->currentText(), "24");
  test::SaveShot(f().Panel2, "panel_channel_amplifier_four");
  Choose(List(3), "60");
  Stepper(3)->stepUp();
  f().Button5Click();
  EXPECT_EQ(NetObjects[row][kInst], 0) << "a hidden list another object left behind is not stored";
  EXPECT_EQ(NetObjects[row + 2], (ObjRow{-1, 23, 60, 0, 1, 0}));
}

TEST_F(ModulatorPanels, HdmiModulatorStoresStandardChannelAndLevel) {
  const int amp = PlaceDefault(81, 600, 300);
  const int row = PlaceDefault(97, 300, 300);
  const ModelState before;
  ASSERT_TRUE(Open(row));
  EXPECT_FALSE(Shown(List(1)));
  EXPECT_FALSE(Shown(f().Label4To7[1]));
  EXPECT_EQ(f().ComboBox6->currentText(), "Europe");
  EXPECT_EQ(List(0)->count(), 57);
  EXPECT_EQ(Stepper(0)->minimum(), -30);
  test::SaveShot(f().Panel2, "panel_hdmi_modulator");
  f().Button5Click();
  EXPECT_EQ(ModelState(), before);

  ASSERT_TRUE(Open(row));
  Choose(List(0), "22");
  Choose(f().ComboBox6, "Europe");  // the same standard keeps the channel
  EXPECT_EQ(List(0)->currentText(), "22");
  Choose(f().ComboBox6, "Australia");
  EXPECT_EQ(List(0)->currentText(), "6") << "a new standard starts at its first channel";
  Choose(List(0), "9A");
  Stepper(0)->stepDown();
  Stepper(0)->stepDown();
  f().Button5Click();
  EXPECT_EQ(NetObjects[row][kInst], -2);
  EXPECT_EQ(NetObjects[row + 1][1], 3);
  EXPECT_EQ(NetObjects[row + 1][2], 4);
  UndoLastStep();
  EXPECT_EQ(ModelState(), before);

  ASSERT_TRUE(Open(amp));
  EXPECT_TRUE(Shown(List(1))) << "the amplifier's F2 row is back";
  EXPECT_TRUE(Shown(f().Label8To11[1]));
}

TEST_F(ModulatorPanels, DvbModulatorFollowsItsChannelAndRefusesFrequenciesOutsideItsBand) {
  const int row = PlaceDefault(96, 300, 300);
  const ModelState before;
  ASSERT_TRUE(Open(row));
  EXPECT_EQ(f().Edit28->text(), "474");
  EXPECT_EQ(f().Edit29->text(), "482");
  EXPECT_EQ(f().ComboBox44->currentText(), "8");
  EXPECT_EQ(f().ComboBox62->currentText(), "C21");
  EXPECT_EQ(f().ComboBox63->currentText(), "C22");
  EXPECT_TRUE(f().CheckBox27->isChecked());
  test::SaveShot(f().Panel12, "panel_dvb_modulator");
  f().Button15Click();
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(ModelState(), before);

  ASSERT_TRUE(Open(row));
  f().ComboBox44->setCurrentText("7");
  Choose(f().ComboBox62, "C69");
  EXPECT_EQ(f().Edit28->text(), "858");
  EXPECT_EQ(f().Edit29->text(), "865");
  EXPECT_EQ(f().ComboBox63->currentIndex(), 48);
  f().Button15Click();
  EXPECT_EQ(NetObjects[row + 1], (ObjRow{-1, -1, 8580, 2, 0, 0}));

  const struct {
    const char* text;
    bool refused;
    int32_t stored;
  } cases[] = {{"95.5", true, 8580}, {"862.9", false, 8629}, {"863", true, 8629}, {"abc", true, 8629}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    app.ui->messages.clear();
    ASSERT_TRUE(Open(row));
    f().Edit28->setText(c.text);
    f().CheckBox28->setChecked(false);
    f().Button15Click();
    EXPECT_EQ(Messages(), c.refused ? std::vector<std::string>{"Entered output frequency is incorrect"}
                                    : std::vector<std::string>{});
    EXPECT_EQ(NetObjects[row + 1][2], c.stored);
    EXPECT_EQ(NetObjects[row + 1][1], -2) << "the other settings of the Update are stored";
  }

  NetObjects[row + 1][2] = 4745;
  ASSERT_TRUE(Open(row));
  EXPECT_EQ(f().ComboBox62->currentText(), " -");
  EXPECT_EQ(f().Edit28->text(), "474.5");
}

}  // namespace
}  // namespace kavrix
