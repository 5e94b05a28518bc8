#include <QApplication>
#include <QLocale>

#include "app/forms.hpp"
#include "app/main_window.hpp"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Kavrix");
  kavrix::CreateApplicationWindows();
  kavrix::Form1->showMaximized();
  const int rc = app.exec();
  kavrix::DestroyApplicationWindows();
  return rc;
}
