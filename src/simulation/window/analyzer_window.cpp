#include "simulation/window/analyzer_window.hpp"

namespace kavrix {

TForm4::TForm4(QWidget* parent) : QWidget(parent) { setWindowTitle("Analyzer"); }

}  // namespace kavrix
