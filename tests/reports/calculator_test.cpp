// The path-loss calculator on its documented cases and on cases worked out by hand, its gain
// modes and its checks of the fields.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>
#include <filesystem>

#include "app/forms.hpp"
#include "reports/calculator_window.hpp"
#include "reports/path_loss.hpp"
#include "reports/ui_events.hpp"
#include "support/app_guard.hpp"

namespace kavrix {
namespace {

TEST(PathLoss, DefaultsGiveTheDocumentedLevelInBothBands) {
  PathLossInput in;
  const PathLossResult ku = ComputeSignalLevel(in);
  EXPECT_NEAR(ku.level, 78.40, 0.005);
  EXPECT_NEAR(ku.antennaGain, 39.55, 0.005);
  in.kuBand = false;
  const PathLossResult c = ComputeSignalLevel(in);
  EXPECT_NEAR(c.antennaGain, 30.11, 0.005);
  EXPECT_NEAR(c.level, ku.level, 1e-9) << "the band's effect on loss and computed gain cancels";
}

TEST(PathLoss, HandWorkedSite) {
  // Satellite 13 W, site 10 E, latitude 45, EIRP 48, dish 80 cm at 70 %, LNB gain 60, Ku.
  // c = cos(23 deg) x cos(45 deg) = 0.920505 x 0.707107 = 0.650895
  // A = 10 log10(1 - 0.295 c) + 185.05 + 20 log10(11.7) = -0.925962 + 185.05 + 21.363717 = 205.487755
  // G = 10 log10((80 pi / 2.564103)^2 x 0.70) = 10 log10(9607.47 x 0.70) = 38.277070
  // level = 60 + (48 - 205.487755 + 30) + 38.277070 + 108.75 = 79.539315
  PathLossInput in;
  in.position = 13;
  in.longitude = -10;
  in.latitude = 45;
  in.eirp = 48;
  in.diameter = 80;
  in.efficiency = 70;
  in.lnbGain = 60;
  const PathLossResult r = ComputeSignalLevel(in);
  EXPECT_NEAR(r.pathLoss, 205.487755, 1e-5);
  EXPECT_NEAR(r.antennaGain, 38.277070, 1e-5);
  EXPECT_NEAR(r.level, 79.539315, 1e-5);
  in.gainGiven = true;
  in.antennaGain = 35;  // 60 - 127.487755 + 35 + 108.75
  EXPECT_NEAR(ComputeSignalLevel(in).level, 76.262245, 1e-5);
}

// A satellite below the site's horizon, where cos(dlon) x cos(lat) <= 6378 / 42164, got a level.
TEST(PathLoss, LevelOnlyWhileTheSatelliteIsAboveTheHorizon) {
  const double sites[][4] = {{-19.2, 120, 54.7, 0}, {0, 81.29, 0, 77.08}, {0, -81.31, 0, 0}, {5, -76.29, -5, 0},
                             {0, 0, 90, 0}, {-170, 175, 0, 78.34}};  // position, longitude west, latitude; 0: hidden
  for (const auto& s : sites) {
    const PathLossResult r = ComputeSignalLevel({.position = s[0], .longitude = s[1], .latitude = s[2]});
    EXPECT_NEAR(r.visible ? r.level : 0.0, s[3], 0.005) << s[0] << " " << s[1] << " " << s[2];
  }
}

class CalculatorTest : public ::testing::Test {
 protected:
  test::AppFixture app;
  TForm6& f = *Form6;
};

TEST_F(CalculatorTest, DefaultsShowTheGainAndTheLevel) {
  f.Button1Click();
  EXPECT_EQ(f.Edit6->text(), "40");
  EXPECT_EQ(f.Label1->text(), "78   dBuV");
  f.RadioButton8->setChecked(true);
  f.Button1Click();
  EXPECT_EQ(f.Edit6->text(), "30");
  EXPECT_EQ(f.Label1->text(), "78   dBuV");
  EXPECT_TRUE(app.ui->messages.empty());
}

TEST_F(CalculatorTest, EastPositionsAndEitherHemisphere) {
  f.Edit1->setText("19,2");  // a comma is taken as the decimal mark
  f.RadioButton2->setChecked(true);
  f.Edit3->setText("25");
  f.RadioButton4->setChecked(true);
  f.Edit4->setText("54.7");
  f.Edit2->setText("52");
  f.Button1Click();
  EXPECT_EQ(f.Edit1->text(), "19.2");
  EXPECT_EQ(f.Label1->text(), "80   dBuV");  // 79.69
  f.RadioButton6->setChecked(true);
  f.Label1->clear();
  f.Button1Click();
  EXPECT_EQ(f.Label1->text(), "80   dBuV");
  EXPECT_TRUE(app.ui->messages.empty());
}

TEST_F(CalculatorTest, GainModeUsesTheTypedGain) {
  f.show();
  // A click on the disabled gain field reaches its panel.
  test::MouseClick(f.Edit6, Qt::LeftButton);
  ASSERT_TRUE(f.GainMode());
  EXPECT_TRUE(f.Edit5->text().isEmpty());
  EXPECT_TRUE(f.Edit7->text().isEmpty());
  EXPECT_FALSE(f.Edit5->isEnabled());
  f.Edit6->setText("35");
  f.Edit1->setText("13");
  f.Edit3->setText("10");
  f.RadioButton4->setChecked(true);
  f.Edit4->setText("45");
  f.Edit2->setText("48");
  f.Edit8->setText("60");
  f.Button1Click();
  EXPECT_EQ(f.Label1->text(), "76   dBuV") << "empty disabled fields are not checked";
  EXPECT_TRUE(app.ui->messages.empty());
  f.Panel5Click();
  EXPECT_FALSE(f.GainMode());
  EXPECT_TRUE(f.Edit5->text().isEmpty()) << "switching back does not restore the dish";
}

// A dish of size or efficiency 0 used to leave the gain without a value and the result undefined.
TEST_F(CalculatorTest, InvalidValuesShowTheMessageAndNoResult) {
  struct Case {
    QLineEdit* edit;
    const char* text;
    int messages;
  };
  const Case cases[] = {{f.Edit2, "5x", 1}, {f.Edit2, ".", 1},  {f.Edit8, "1e999", 1}, {f.Edit5, "0", 1},
                        {f.Edit7, "-5", 1}, {f.Edit1, "", 1},   {f.Edit4, "1,2,3", 1}};
  for (const Case& c : cases) {
    f.Label1->setText("kept");
    const QString before = c.edit->text();
    c.edit->setText(c.text);
    app.ui->messages.clear();
    f.Button1Click();
    EXPECT_EQ(f.Label1->text(), "kept") << c.text;
    ASSERT_EQ(static_cast<int>(app.ui->messages.size()), c.messages) << c.text;
    EXPECT_EQ(app.ui->messages[0].caption, "Error");
    EXPECT_EQ(app.ui->messages[0].text, "The value you entered is not a valid parameter!");
    c.edit->setText(before);
  }
  // Two bad fields: one message each.
  f.Edit2->setText("a");
  f.Edit8->setText("b");
  app.ui->messages.clear();
  f.Button1Click();
  EXPECT_EQ(app.ui->messages.size(), 2u);
}

TEST_F(CalculatorTest, LeavingAFieldChecksIt) {
  f.show();
  QApplication::setActiveWindow(&f);
  f.Edit1->setFocus(Qt::TabFocusReason);
  f.Edit1->setText("1,5");
  f.Edit2->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(f.Edit1->text(), "1.5");
  EXPECT_TRUE(app.ui->messages.empty());
  f.Edit2->setText("x");
  f.Edit3->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(f.PathLossValCode, 1);
  ASSERT_EQ(app.ui->messages.size(), 1u);
  EXPECT_EQ(app.ui->lastText(), "The value you entered is not a valid parameter!");
}

TEST_F(CalculatorTest, HelpOpensTheHelpFileOfTheCurrentDirectory) {
  f.Button3Click();
  ASSERT_EQ(app.ui->messages.size(), 1u);
  EXPECT_NE(app.ui->lastText().find("Kavrix_Help.chm"), std::string::npos);
  EXPECT_TRUE(app.ui->openedDocuments.empty());
  test::WriteBytes("Kavrix_Help.chm", "help");
  f.Button3Click();
  ASSERT_EQ(app.ui->openedDocuments.size(), 1u);
  EXPECT_EQ(app.ui->openedDocuments[0], (std::filesystem::current_path() / "Kavrix_Help.chm").string());
}

}  // namespace
}  // namespace kavrix
