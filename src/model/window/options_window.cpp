#include "model/window/options_window.hpp"

namespace kavrix {

TForm3::TForm3(QWidget* parent) : QWidget(parent) { setWindowTitle("Project Options"); }

}  // namespace kavrix
