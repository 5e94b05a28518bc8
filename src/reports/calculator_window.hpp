#pragma once
// The path-loss calculator: satellite, site and dish parameters as texts, checked as they are
// left and again before calculating; the level at the LNB output in Label1. It exchanges no
// data with the drawing.
#include <QWidget>
#include <string>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kavrix {

inline constexpr char kBadParameter[] = "The value you entered is not a valid parameter!";

class TForm6 : public QWidget {
  Q_OBJECT
 public:
  explicit TForm6(QWidget* parent = nullptr);

  // Replaces the first "," by "." and checks the number; an invalid text (the message is shown)
  // leaves its error position in PathLossValCode. Returns the text with the comma replaced.
  std::string CheckNumberText(const std::string& text);
  // Leaving one of the eight fields: its text is checked and written back.
  void EditExit(QLineEdit* edit);
  void Panel5Click();  // antenna gain from diameter and efficiency
  void Panel6Click();  // antenna gain typed in
  void Button1Click();  // "Caltulate Signal Power"
  void Button2Click();  // "Close"
  void Button3Click();  // "Help"
  bool GainMode() const;

  int PathLossValCode = 0;

  QLineEdit* Edit1 = nullptr;  // position
  QLineEdit* Edit2 = nullptr;  // EIRP
  QLineEdit* Edit3 = nullptr;  // longitude
  QLineEdit* Edit4 = nullptr;  // latitude
  QLineEdit* Edit5 = nullptr;  // diameter
  QLineEdit* Edit6 = nullptr;  // antenna gain
  QLineEdit* Edit7 = nullptr;  // efficiency
  QLineEdit* Edit8 = nullptr;  // LNB gain
  QRadioButton* RadioButton1 = nullptr;  // position West
  QRadioButton* RadioButton2 = nullptr;  // position East
  QRadioButton* RadioButton3 = nullptr;  // longitude West
  QRadioButton* RadioButton4 = nullptr;  // longitude East
  QRadioButton* RadioButton5 = nullptr;  // North
  QRadioButton* RadioButton6 = nullptr;  // South
  QRadioButton* RadioButton7 = nullptr;  // Ku-Band
  QRadioButton* RadioButton8 = nullptr;  // C-Band
  QFrame* Panel5 = nullptr;
  QFrame* Panel6 = nullptr;
  QFrame* Panel7 = nullptr;
  QLabel* Label6 = nullptr;  // diameter
  QLabel* Label7 = nullptr;  // antenna gain
  QLabel* Label8 = nullptr;  // efficiency
  QLabel* Label1 = nullptr;  // result
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;
  QPushButton* Button3 = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  // Checks a field for the calculation; false when it holds no usable value.
  bool TestField(QLineEdit* edit, double& value);
};

}  // namespace kavrix
