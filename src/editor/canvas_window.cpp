#include "editor/canvas_window.hpp"

namespace kavrix {

TForm5::TForm5(QWidget* parent) : QWidget(parent) {
  setWindowTitle("New Network");
  Timer1 = new QTimer(this);
  Timer2 = new QTimer(this);
}

}  // namespace kavrix
