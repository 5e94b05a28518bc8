#include <QDir>

#include "app/forms.hpp"
#include "app/main_window.hpp"
#include "editor/canvas_window.hpp"
#include "model/window/options_window.hpp"
#include "reports/calculator_window.hpp"
#include "reports/price_window.hpp"
#include "simulation/window/analyzer_window.hpp"

namespace kavrix {

TForm1* Form1 = nullptr;
TForm2* Form2 = nullptr;
TForm3* Form3 = nullptr;
TForm4* Form4 = nullptr;
TForm5* Form5 = nullptr;
TForm6* Form6 = nullptr;
std::string StartDir;

WindowHooks& Windows() {
  static WindowHooks h;
  return h;
}

void CreateApplicationWindows() {
  InstallApplicationServices();
  Form1 = new TForm1();
  Form2 = new TForm2();
  Form3 = new TForm3(Form1);
  Form4 = new TForm4();
  Form5 = new TForm5(Form1);
  Form1->setCentralWidget(Form5);
  Form6 = new TForm6();
  // Services of the canvas window's creation that the other windows rely on.
  StartDir = QDir::currentPath().toStdString();
  Form2->BuildPriceGrid(DefaultPriceListNames());
  Form2->LoadPriceFile();
  Form3->Button1Click();
  Form4->NavigationClick = [] { Form1->ToolButton90Click(); };
  Windows().leaveNavigation = [] { Form1->ToolButton90Click(); };
  Form4->ActivateCanvas = [] { Form5->setFocus(); };
  Form4->Form5OnClick = [](QObject* sender) { Form5->FormClick(sender); };
}

void DestroyApplicationWindows() {
  delete Form6;
  delete Form4;
  delete Form3;
  delete Form2;
  delete Form1;  // owns the canvas window
  Form1 = nullptr;
  Form2 = nullptr;
  Form3 = nullptr;
  Form4 = nullptr;
  Form5 = nullptr;
  Form6 = nullptr;
}

}  // namespace kavrix
