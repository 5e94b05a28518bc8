#include <QApplication>
#include <QLocale>

#include "app/main_window.hpp"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Kavrix");
  // Numbers are always written and read with "." as the decimal separator.
  QLocale::setDefault(QLocale::c());
  kavrix::TForm1 form1;
  form1.show();
  return app.exec();
}
