#include "app/main_window.hpp"

#include <QStatusBar>

#include "model/network_model.hpp"
#include "model/source_tables.hpp"

namespace kavrix {

QString MainWindowTitle() {
  const int v = FileVersion;
  return QString("Kavrix_v%1.%2.%3").arg(v / 1000).arg(v / 100 % 10).arg(v / 10 % 10);
}

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(MainWindowTitle());
  StatusBar1 = statusBar();
  Hooks().statusText = [this](const std::string& s) { StatusBar1->showMessage(QString::fromStdString(s)); };
  NewNetworkModel();
  resize(1024, 720);
}

TForm1::~TForm1() { Hooks().statusText = nullptr; }

}  // namespace kavrix
