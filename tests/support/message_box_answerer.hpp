#pragma once
// Real message boxes answered by a timer, for tests that must see what a box taking the focus
// does to the window under it.
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <string>
#include <vector>

#include "platform/platform.hpp"

namespace kavrix::test {

// Shows the program's real message boxes and answers each with Enter, as a user does; a box
// takes the focus from whatever was being typed into.
class MessageBoxAnswerer {
 public:
  MessageBoxAnswerer() : m_prev(platform::Install(&m_qt)) {
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        texts.push_back(box->text().toStdString());
        QTest::keyClick(box, Qt::Key_Return);
      }
    });
    m_timer.start(10);
  }
  ~MessageBoxAnswerer() { platform::Install(m_prev); }
  std::vector<std::string> texts;

 private:
  platform::QtPlatform m_qt;
  platform::Platform* m_prev;
  QTimer m_timer;
};

}  // namespace kavrix::test
