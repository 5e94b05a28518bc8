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
#include "support/message_box_answerer.hpp"

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

}  // namespace kavrix::test
