#include <QApplication>
#include <QLocale>

#include "app/forms.hpp"
#include "app/main_window.hpp"
#include "symbols/canvas_surface.hpp"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Kavrix");
  // The windows are laid out for this face at 8 points, whatever the desktop's own font is.
  kavrix::UseSymbolFontForApplication(8);
  kavrix::CreateApplicationWindows();
  kavrix::Form1->showMaximized();
  const int rc = app.exec();
  kavrix::DestroyApplicationWindows();
  return rc;
}
