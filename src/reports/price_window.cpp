#include "reports/price_window.hpp"

namespace kavrix {

TForm2::TForm2(QWidget* parent) : QWidget(parent) { setWindowTitle("Price Estimation"); }

}  // namespace kavrix
