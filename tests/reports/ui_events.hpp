#pragma once
// Real input events for the report windows' tests: mouse clicks and typed keys, sent through
// the application as the platform would deliver them.
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QString>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <string>
#include <vector>

#include "platform/platform.hpp"

namespace kavrix::test {

inline void MouseClick(QWidget* w, Qt::MouseButton button, QPoint pos = QPoint(5, 5)) {
  const QPointF local(pos);
  const QPointF global(w->mapToGlobal(pos));
  QMouseEvent press(QEvent::MouseButtonPress, local, global, button, button, Qt::NoModifier);
  QApplication::sendEvent(w, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, local, global, button, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(w, &release);
}

inline void KeyClick(QWidget* w, int key, const QString& text = QString()) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(w, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(w, &release);
}

inline void TypeText(QWidget* w, const QString& text) {
  for (const QChar c : text) KeyClick(w, c.toUpper().unicode(), QString(c));
}

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
