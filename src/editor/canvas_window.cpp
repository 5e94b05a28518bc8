#include "editor/canvas_window.hpp"

namespace kavrix {

TForm5::TForm5(QWidget* parent) : QWidget(parent) {
  setWindowTitle("New Network");
  Timer1 = new QTimer(this);
  Timer2 = new QTimer(this);
  Timer2->setInterval(300);
  connect(Timer2, &QTimer::timeout, this, [this] { Timer2Timer(); });
}

}  // namespace kavrix
