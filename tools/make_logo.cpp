// Writes the price estimate's logo as a bitmap file: make_logo <path to logo.bmp>.
#include <QGuiApplication>

#include "reports/estimate_logo.hpp"

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  QGuiApplication app(argc, argv);
  return kavrix::DrawEstimateLogo().save(QString::fromLocal8Bit(argv[1]), "BMP") ? 0 : 1;
}
