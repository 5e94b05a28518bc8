#pragma once
// A left click at the centre of a widget, sent through the application as the user makes it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
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

// A left click on a menu item where the shown menu draws it.
inline void ClickMenuItem(QMenu* menu, QAction* item) {
  ASSERT_TRUE(menu->isVisible());
  const QRect r = menu->actionGeometry(item);
  ASSERT_FALSE(r.isEmpty());
  QTest::mouseMove(menu, r.center());
  QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, r.center());
}

}  // namespace kavrix::test
