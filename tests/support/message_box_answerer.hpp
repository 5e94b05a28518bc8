#pragma once
// Real modal windows answered by a timer, for tests that must see what a box taking the focus
// does to the windows around it.
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.hpp"

namespace kavrix::test {

// Shows the program's real message boxes and answers each with Enter, as a user does; a box
// takes the focus from whatever was being typed into. Given `answer`, it hands every modal window
// to it instead, once the window is up.
class MessageBoxAnswerer {
 public:
  explicit MessageBoxAnswerer(std::function<void(QDialog&)> answer = {}) : m_prev(platform::Install(&m_qt)) {
    QObject::connect(&m_timer, &QTimer::timeout, [this, answer] {
      auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (modal && answer) {
        answer(*modal);
      } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
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
