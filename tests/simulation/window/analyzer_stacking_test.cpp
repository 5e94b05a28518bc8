#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <string>
#include <vector>

#include "platform/platform.hpp"
#include "simulation/window/analyzer_window.hpp"

namespace kavrix {
namespace {

bool OnTop(QWidget* w) { return w->windowHandle() && (w->windowHandle()->flags() & Qt::WindowStaysOnTopHint); }

// Closes each modal window as it comes up, noting whether the Analyzer stayed on top of it.
class ModalCloser {
 public:
  explicit ModalCloser(QWidget* analyzer) : m_prev(platform::Install(&m_qt)) {
    QObject::connect(&m_timer, &QTimer::timeout, [this, analyzer] {
      if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
        analyzerOnTop.push_back(OnTop(analyzer));
        modal->reject();
      }
    });
    m_timer.start(10);
  }
  ~ModalCloser() { platform::Install(m_prev); }
  std::vector<bool> analyzerOnTop;

 private:
  platform::QtPlatform m_qt;
  platform::Platform* m_prev;
  QTimer m_timer;
};

TEST(AnalyzerStacking, MessagesAndFileDialogsComeAboveTheAnalyzer) {
  // The Analyzer kept on top of the Open and Save As dialogs and of message boxes, hiding them.
  TForm4 analyzer;
  analyzer.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&analyzer));
  ASSERT_TRUE(OnTop(&analyzer));
  {
    ModalCloser closer(&analyzer);
    platform::ShowError("Error", "The value must be of a real type number!");
    platform::Current().openFile({"Kavrix file (.stn)|*.stn", "*.stn", "", "", 1});
    platform::Current().saveFile({"Kavrix file (*.stn)|*.STN", ".stn", "", "", 1});
    EXPECT_EQ(closer.analyzerOnTop, (std::vector<bool>{false, false, false}));
  }
  QTest::qWait(20);
  EXPECT_TRUE(OnTop(&analyzer)) << "back on top once the last dialog has gone";
}

}  // namespace
}  // namespace kavrix
