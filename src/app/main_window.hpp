#pragma once
// The main window: frame of the program with its menus, palette toolbar and status bar.
#include <QMainWindow>

class QStatusBar;

namespace kavrix {

class TForm1 : public QMainWindow {
  Q_OBJECT
 public:
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  QStatusBar* StatusBar1 = nullptr;
};

// Window title: "Kavrix_v" + the program version (4410 gives 4.4.1).
QString MainWindowTitle();

}  // namespace kavrix
