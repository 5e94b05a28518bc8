#pragma once
// The logo of the price estimate, drawn by the program itself; the build writes it as
// "logo.bmp", the file the price window and the printed estimate show when it is present.
#include <QImage>

namespace kavrix {

constexpr int kLogoWidth = 497;   // the price window's logo area
constexpr int kLogoHeight = 151;

QImage DrawEstimateLogo();

}  // namespace kavrix
