#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QWindow>

#include "app/main_window.hpp"
#include "model/window/options_window.hpp"
#include "reports/calculator_window.hpp"
#include "reports/price_window.hpp"
#include "simulation/window/analyzer_window.hpp"
#include "support/app_guard.hpp"
#include "support/message_box_answerer.hpp"
#include "support/widget_click.hpp"

namespace kavrix {
namespace {

// The windows now in the stay-on-top layer; Project Options, a tool window, is never in it.
std::string OnTop() {
  std::string names;
  const std::pair<const char*, QWidget*> windows[] = {
      {"Analyzer", Form4}, {"Report", Form2}, {"Calculator", Form6}, {"Options", Form3}};
  for (auto [name, w] : windows)
    if (w->windowHandle() && (w->windowHandle()->flags() & Qt::WindowStaysOnTopHint))
      names += std::string(names.empty() ? "" : " ") + name;
  return names;
}

// Runs `open`, closing each modal window it opens with Escape once it is up, and gives the
// windows that were on top while each was up, then once the last had gone; `meanwhile(n)` runs
// while the n-th one is up.
std::vector<std::string> OnTopWhileUp(const std::function<void()>& open,
                                      const std::function<void(std::size_t)>& meanwhile = {}) {
  std::vector<std::string> seen;
  test::MessageBoxAnswerer closer([&](QDialog& modal) {
    if (meanwhile) meanwhile(seen.size());
    seen.push_back(OnTop());
    QTest::keyClick(&modal, Qt::Key_Escape);
  });
  open();
  QTest::qWait(20);
  seen.push_back(OnTop());
  return seen;
}

// Only the Analyzer gave way to a modal window: the price window and the calculator stayed on
// top of the boxes and file dialogs of the main window and hid them.
TEST(WindowStacking, ModalWindowsComeAboveEveryStayOnTopWindowButTheOneTheyBelongTo) {
  test::AppFixture app;
  for (QWidget* w : std::initializer_list<QWidget*>{Form1, Form3, Form4}) w->show();
  Form1->Billofmaterials1Click();
  Form1->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
  // While the first box is up the Report is closed and a box opened from inside it comes and
  // goes, as the file dialog asks before replacing a file; while the last one is up the
  // calculator is opened for the first time.
  const auto meanwhile = [](std::size_t n) {
    if (n == 0) {
      Form2->close();
      QTimer::singleShot(20, [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape); });
      platform::ShowError("Confirm Save As", "Do you want to replace it?");
      QTest::qWait(20);
    }
    if (n == 2) Form1->PathLossCalculator1Click();
  };
  const auto boxes = [] {
    platform::ShowError("Error", "Missing signal source (LNB)");
    platform::Current().openFile({"Kavrix file (.stn)|*.stn", "*.stn", "", "", 1});
    platform::Ask("Confirm", "Do you want to save project?", platform::Buttons::YesNoCancel);
  };
  EXPECT_EQ(OnTopWhileUp(boxes, meanwhile), (std::vector<std::string>{"", "", "", "Analyzer Report Calculator"}));
  EXPECT_TRUE(Form2->isHidden()) << "a window closed while the box was up stays closed";

  Form6->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(Form6));
  Form6->Edit1->setText("x");
  EXPECT_EQ(OnTopWhileUp([] { test::ClickWidgetCentre(Form6->Button1); }),
            (std::vector<std::string>{"Calculator", "Analyzer Report Calculator"}))
      << "the calculator's own box stays above it";
}

}  // namespace
}  // namespace kavrix
