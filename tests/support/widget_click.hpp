#pragma once
// A left click at the centre of a widget, sent through the application as the user makes it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

namespace kavrix::test {

inline void ClickWidgetCentre(QWidget* w) {
  ASSERT_NE(w, nullptr);
  ASSERT_TRUE(w->isVisible()) << w->objectName().toStdString() << " cannot be clicked while hidden";
  const QPointF at(w->width() / 2.0, w->height() / 2.0);
  QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(w, &release);
}

}  // namespace kavrix::test
