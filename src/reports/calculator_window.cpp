#include "reports/calculator_window.hpp"

namespace kavrix {

TForm6::TForm6(QWidget* parent) : QWidget(parent) { setWindowTitle("Path Loss Calculator"); }

}  // namespace kavrix
