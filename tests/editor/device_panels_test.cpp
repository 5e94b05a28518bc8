#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "editor/panel_widgets.hpp"
#include "panel_fixture.hpp"

namespace kavrix {
namespace {

using test::ModelState;
using test::PlaceDefault;
using test::UndoEntries;

struct DevicePanels : test::PanelTest {
  TForm5::ConverterRowControls& Channel(int i) { return f().Panel11Rows[static_cast<std::size_t>(i)]; }
  QCheckBox* Box(int n) { return f().LegacyBoxes[static_cast<std::size_t>(n)]; }
  std::vector<int> CheckedBoxes() {
    std::vector<int> on;
    for (int n = 2; n <= 10; ++n)
      if (Shown(Box(n)) && Box(n)->isChecked()) on.push_back(n);
    return on;
  }
};

TEST_F(DevicePanels, StreamerShowsItsSettingsAndAnUnchangedApplyLeavesNoTrace) {
  const int sat = PlaceDefault(58, 300, 300);
  const ModelState before;
  ASSERT_TRUE(Open(sat));
  EXPECT_EQ(f().Edit5->text(), "11000");
  EXPECT_EQ(f().ComboBox7->currentText(), "Auto");
  EXPECT_EQ(f().ComboBox8->currentText(), "SAT A");
  EXPECT_EQ(f().ComboBox9->currentText(), "Horizontal");
  EXPECT_EQ(f().Edit3->text(), "9750");
  EXPECT_EQ(f().Edit4->text(), "10600");
  EXPECT_EQ(f().Panel9->pos(), QPoint(250, 220));
  test::SaveShot(f().Panel9, "panel_streamer_sat");
  f().Button9Click();
  EXPECT_FALSE(Shown(f().Panel9));
  EXPECT_EQ(InlineEdit, 0);
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(ModelState(), before);
  EXPECT_EQ(UndoEntries(), 0);

  const int terr = PlaceDefault(59, 600, 300);
  ASSERT_TRUE(Open(terr));
  EXPECT_FALSE(Shown(f().Label17));
  EXPECT_FALSE(Shown(f().ComboBox7));
  EXPECT_TRUE(Shown(f().Edit5));
  test::SaveShot(f().Panel9, "panel_streamer_terrestrial");
  f().Edit5->setText("610");
  Form1Tag = kMainLevelsShown;
  f().Button9Click();
  EXPECT_EQ(NetObjects[terr][kInst], 610);
  EXPECT_EQ(UndoEntries(), 1);
  EXPECT_EQ(Form1Tag, kMainEditing) << "a changed setting ends the display of the levels";

  // On a scrolled canvas the panel still opens beside its object.
  ScrollX = 100;
  ScrollY = 40;
  ASSERT_TRUE(Open(sat));
  EXPECT_EQ(f().Panel9->pos(), QPoint(300 - 50 - 100, 300 - 80 - 40));
  f().Button8Click();
}

TEST_F(DevicePanels, StreamerCodesSatelliteAndPowerAndWarnsOnAMismatch) {
  const int row = PlaceDefault(58, 300, 300);
  const ModelState before;
  ASSERT_TRUE(Open(row));
  f().ComboBox8->setCurrentText("None");
  f().ComboBox7->setCurrentText("Auto");
  f().Button9Click();
  EXPECT_EQ(NetObjects[row + 1][1], 98);
  ASSERT_TRUE(Open(row));
  EXPECT_EQ(f().ComboBox8->currentText(), "None");
  EXPECT_EQ(f().ComboBox7->currentText(), "Auto");
  f().ComboBox8->setCurrentText("SAT C");
  f().ComboBox7->setCurrentText("13V");
  f().ComboBox9->setCurrentText("Vertical");
  f().Button9Click();
  EXPECT_EQ(NetObjects[row + 1][1], 23);
  EXPECT_EQ(NetObjects[row + 1][2], 1);
  ASSERT_TRUE(Open(row));
  EXPECT_EQ(f().ComboBox8->currentText(), "SAT C");
  EXPECT_EQ(f().ComboBox7->currentText(), "13V");
  EXPECT_TRUE(Messages().empty());

  f().ComboBox7->setCurrentText("18V/22kHz");
  f().Button9Click();
  ASSERT_TRUE(Open(row));
  f().Edit5->setText("11700");
  f().ComboBox7->setCurrentText("18V");
  f().Button9Click();
  EXPECT_EQ(Messages(), std::vector<std::string>(2, "Input frequency and LNB power does not match"));
  EXPECT_EQ(NetObjects[row][kInst], 11700) << "the values stay stored";
  ASSERT_TRUE(Open(row));
  f().ComboBox7->setCurrentText("Off");
  f().Button9Click();
  EXPECT_EQ(Messages().size(), 2u);
  for (int i = 0; i < 5; ++i) UndoLastStep();
  EXPECT_EQ(ModelState(), before);
}

TEST_F(DevicePanels, ConverterLoadsItsChannelsAndChecksThemAfterStoring) {
  const int row = PlaceDefault(60, 400, 400);
  const ModelState before;
  ASSERT_TRUE(Open(row, 30, 30));
  EXPECT_TRUE(Channel(1).enable->isChecked());
  EXPECT_EQ(Channel(1).input->currentText(), "H,Lo");
  EXPECT_EQ(Channel(1).inputMHz->text(), "10744");
  EXPECT_EQ(Channel(1).output->text(), "482");
  EXPECT_EQ(Channel(1).channel->currentText(), "C22");
  EXPECT_EQ(Channel(1).trim->currentText(), "0");
  EXPECT_EQ(Channel(16).channel->currentText(), "  -");
  EXPECT_EQ(f().MaskEdit18->text(), "9750");
  EXPECT_EQ(f().ComboBox27->currentText(), "5");
  test::SaveShot(f().Panel11, "panel_converter16");
  f().Button13Click();
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(ModelState(), before);
  EXPECT_EQ(UndoEntries(), 0);

  // The last failing check of the highest channel is the one reported.
  ASSERT_TRUE(Open(row, 30, 30));
  Channel(3).output->setText("856.1");
  Channel(12).input->setCurrentText("Aux In1");
  Channel(12).inputMHz->setText("2200");
  f().MaskEdit20->setText("0");
  f().Button13Click();
  EXPECT_EQ(Messages(), std::vector<std::string>{"For channel 12 SAT input or LNB LO frequency is incorrect"});
  EXPECT_EQ(NetObjects[row + 3][4], 8561);
  EXPECT_EQ(NetObjects[row + 12][2], 4);
  EXPECT_EQ(NetObjects[row + 17][3], 0);
  UndoLastStep();
  EXPECT_EQ(ModelState(), before) << "every changed row comes back with one undo";

  const struct {
    int channel;
    const char* output;
    bool enabled;
    const char* input;
    const char* inputMHz;
    const char* message;
  } cases[] = {
      {4, "900", true, "H,Lo", "10744", "For channel 4 output frequency is incorrect"},
      {2, "482", true, "Aux In2", "10744", "For channel 2  SAT input is incorrect"},
      {5, "0", false, "H,Lo", "100", "For channel 5 SAT input or LNB LO frequency is incorrect"},
      {6, "0", false, "H,Lo", "10744", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.channel);
    app.ui->messages.clear();
    ASSERT_TRUE(Open(row, 30, 30));
    Channel(c.channel).output->setText(c.output);
    Channel(c.channel).enable->setChecked(c.enabled);
    Channel(c.channel).input->setCurrentText(c.input);
    Channel(c.channel).inputMHz->setText(c.inputMHz);
    f().MaskEdit20->setText("9750");
    f().Button13Click();
    EXPECT_EQ(Messages(), c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});
    UndoLastStep();
  }
}

TEST_F(DevicePanels, ConverterChannelListSetsTheOutputToTheChannelCentre) {
  const int row = PlaceDefault(60, 400, 400);
  ASSERT_TRUE(Open(row, 30, 30));
  QComboBox* list = Channel(7).channel;
  const struct {
    int item;
    const char* text;
  } cases[] = {{0, "474"}, {48, "858"}, {49, "178"}};
  for (const auto& c : cases) {
    list->setCurrentIndex(c.item);
    emit list->activated(c.item);
    EXPECT_EQ(Channel(7).output->text(), c.text);
  }
  f().Button13Click();
  EXPECT_EQ(NetObjects[row + 7][4], 1780);
}

TEST_F(DevicePanels, FourInputConverterChecksOutputAndBandwidth) {
  const int row = PlaceDefault(61, 300, 300);
  const ModelState before;
  ASSERT_TRUE(Open(row));
  EXPECT_EQ(f().Edit8To11[0]->text(), "474");
  EXPECT_EQ(f().Edit7->text(), "610");
  EXPECT_EQ(f().Edit6->text(), "8");
  EXPECT_EQ(f().ComboBox10->currentText(), "8");
  EXPECT_EQ(f().Label26->text(), "0");
  test::SaveShot(f().Panel10, "panel_converter4");
  f().Button11Click();
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(UndoEntries(), 0);

  ASSERT_TRUE(Open(row));
  f().UpDown6->stepUp();
  f().UpDown6->stepUp();
  EXPECT_EQ(f().Label26->text(), "2");
  f().Edit7->setText("20.0");
  f().Edit8To11[1]->setText("490.5");
  f().ComboBox10->setCurrentText("7");
  f().Button11Click();
  EXPECT_EQ(Messages(), std::vector<std::string>{"Entered parameters are incorrect"});
  EXPECT_EQ(NetObjects[row][kInst], 2);
  EXPECT_EQ(NetObjects[row + 1], (ObjRow{-7, 4740, 4905, 5060, 5220, 200})) << "the values stay stored";
  UndoLastStep();
  EXPECT_EQ(ModelState(), before);

  ASSERT_TRUE(Open(row));
  f().Edit6->setText("0");
  f().Button11Click();
  EXPECT_EQ(Messages().size(), 2u) << "no output bandwidth";
}

TEST_F(DevicePanels, LegacyOutputsCodeTheCheckedBoxesAsDigits) {
  const int k184 = PlaceDefault(184, 300, 300);
  ASSERT_TRUE(Open(k184));
  EXPECT_EQ(Box(2)->text(), "A2");
  EXPECT_EQ(Box(5)->text(), "B1");
  EXPECT_FALSE(Shown(Box(6)));
  EXPECT_EQ(CheckedBoxes(), std::vector<int>{});
  f().Button7Click();
  EXPECT_EQ(UndoEntries(), 0) << "an unchanged Apply records nothing";
  ASSERT_TRUE(Open(k184));
  Box(2)->setChecked(true);
  Box(5)->setChecked(true);
  f().Button7Click();
  EXPECT_EQ(NetObjects[k184][kInst], 11001);
  ASSERT_TRUE(Open(k184));
  EXPECT_EQ(CheckedBoxes(), (std::vector<int>{2, 5}));
  f().Button7Click();
  UndoLastStep();
  EXPECT_EQ(NetObjects[k184][kInst], 10000);

  const int k183 = PlaceDefault(183, 500, 300);
  ASSERT_TRUE(Open(k183));
  EXPECT_EQ(f().Panel8->height(), 143);
  EXPECT_EQ(f().Button7->y(), 123);
  Box(10)->setChecked(true);
  Box(9)->setChecked(true);
  test::SaveShot(f().Panel8, "panel_legacy_outputs_183");
  f().Button7Click();
  EXPECT_EQ(NetObjects[k183][kInst], 200000001);
  ASSERT_TRUE(Open(k183));
  EXPECT_EQ(CheckedBoxes(), (std::vector<int>{9, 10}));
  f().Button7Click();

  const int k181 = PlaceDefault(181, 700, 300);
  ScrollX = 200;
  ScrollY = 100;
  ASSERT_TRUE(Open(k181));
  EXPECT_EQ(f().Panel8->pos(), QPoint(700 - 65 - 200, 300 - 29 - 100));
  EXPECT_EQ(Box(7)->geometry(), QRect(95, 40, 18, 17));
  EXPECT_EQ(f().Panel8->height(), 60);
  test::SaveShot(f().Panel8, "panel_legacy_outputs_181");
  f().Button7Click();
  const int k186 = PlaceDefault(186, 700, 500);
  ASSERT_TRUE(Open(k186));
  EXPECT_EQ(Box(8)->pos(), QPoint(80, 60));
  test::SaveShot(f().Panel8, "panel_legacy_outputs_186");
  f().Button7Click();
  const int k185 = PlaceDefault(185, 700, 500);
  ASSERT_TRUE(Open(k185));
  test::SaveShot(f().Panel8, "panel_legacy_outputs_185");
  f().Button7Click();
}

TEST_F(DevicePanels, ApplyStoresIntoTheObjectThePanelWasOpenedFor) {
  // A right click while a panel is open moves SelObject to the object under it.
  const int a = PlaceDefault(58, 300, 300);
  const int b = PlaceDefault(58, 600, 300);
  const ObjRow other = NetObjects[b];
  ASSERT_TRUE(Open(a));
  SelObject = b;
  f().Edit5->setText("12000");
  f().Button9Click();
  EXPECT_EQ(NetObjects[a][kInst], 12000);
  EXPECT_EQ(NetObjects[b], other);

  // The object was deleted meanwhile and its row holds another one: nothing is stored.
  const int knob = PlaceDefault(50, 300, 500);
  ASSERT_TRUE(Open(a));
  NetObjects[a][kKind] = 1;
  const ModelState before;
  f().Edit5->setText("11111");
  f().Button9Click();
  EXPECT_EQ(ModelState(), before);
  EXPECT_FALSE(Shown(f().Panel9));
  EXPECT_EQ(InlineEdit, 0);

  // The stepper too keeps to its own object.
  ASSERT_TRUE(Open(knob, -40, 10));
  SelObject = b;
  f().UpDown1Stepper->stepDown();
  f().UpDown1Exit();
  EXPECT_EQ(NetObjects[knob + 1][1], -1);
  EXPECT_EQ(NetObjects[b], other);
}

TEST_F(DevicePanels, ApplyFollowsItsObjectWhenRowsBeforeItAreDeletedOrPutBack) {
  const int a = PlaceDefault(59, 100, 300);
  const int b = PlaceDefault(59, 300, 300);
  PlaceDefault(59, 500, 300);
  ASSERT_TRUE(Open(b));
  SelObject = a;
  f().Delete1Click();  // the rows after the deleted streamer move up by one
  ASSERT_EQ(NetObjects[1][kX], 500);
  f().Edit5->setText("777");
  f().Button9Click();
  EXPECT_EQ(NetObjects[0][kInst], 777) << "the streamer the panel was opened for";
  EXPECT_EQ(NetObjects[1][kInst], 474) << "not the one that took its row";

  // An undo that puts the deleted streamer back moves them down again.
  const int c = 1;
  ASSERT_TRUE(Open(c));
  UndoLastStep();  // the Apply
  UndoLastStep();  // the delete
  ASSERT_EQ(NetObjects[2][kX], 500);
  f().Edit5->setText("600");
  f().Button9Click();
  EXPECT_EQ(NetObjects[2][kInst], 600);
  EXPECT_EQ(NetObjects[1][kInst], 474);

  // Moved while its panel is open, it still gets what the panel stores.
  ASSERT_TRUE(Open(2));
  NetObjects[2][kX] = 520;
  f().Edit5->setText("610");
  f().Button9Click();
  EXPECT_EQ(NetObjects[2][kInst], 610);
}

TEST_F(DevicePanels, PanelsOfObjectsWithoutTheirSettingsRowsDoNotOpen) {
  for (int kind : {58, 60, 61, 81, 84, 96, 97}) {
    const int row = test::AddObject(kind, 300, 300);
    EXPECT_FALSE(Open(row, 30, 30)) << kind;
  }
}

}  // namespace
}  // namespace kavrix
