#include "editor/canvas_window.hpp"

namespace kavrix {

TForm5::TForm5(QWidget* parent) : QWidget(parent) { setWindowTitle("New Network"); }

}  // namespace kavrix
