#pragma once

#include <QTimer>
#include <QWidget>

namespace kavrix {

class TForm5 : public QWidget {
  Q_OBJECT
 public:
  explicit TForm5(QWidget* parent = nullptr);

  int Tag = 0;               // canvas mode; 10 and above: navigation view
  int HorzScrollRange = 0;   // scroll ranges in canvas pixels
  int VertScrollRange = 0;
  QTimer* Timer1 = nullptr;  // auto-scroll
  QTimer* Timer2 = nullptr;  // level mark blinker
};

}  // namespace kavrix
