#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>

#include "platform/platform.hpp"

namespace kavrix::platform {
namespace {

// Runs `act` on the message box once it is shown, then returns what the box answered.
Answer AnswerWhenShown(Buttons buttons, std::function<void(QMessageBox&)> act) {
  QTimer::singleShot(0, [act] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    act(*box);
  });
  QtPlatform qt;
  return qt.messageBox("Confirm", "Do you want to save project?", buttons);
}

// Escape on a Yes/No question was taken for No, so "Do you want to save project?" closed with
// Escape or the title bar dropped the drawing.
TEST(QtMessageBox, AYesNoQuestionClosedUnansweredReportsCancel) {
  EXPECT_EQ(AnswerWhenShown(Buttons::YesNo, [](QMessageBox& b) { QTest::keyClick(&b, Qt::Key_Escape); }),
            Answer::Cancel);
  EXPECT_EQ(AnswerWhenShown(Buttons::YesNo, [](QMessageBox& b) { b.close(); }), Answer::Cancel);
  EXPECT_EQ(AnswerWhenShown(Buttons::YesNo, [](QMessageBox& b) { b.button(QMessageBox::No)->click(); }),
            Answer::No);
  EXPECT_EQ(AnswerWhenShown(Buttons::YesNo,
                            [](QMessageBox& b) {
                              const QAbstractButton* cancel = b.button(QMessageBox::Cancel);
                              EXPECT_TRUE(!cancel || !cancel->isVisible()) << "only Yes and No are offered";
                              b.button(QMessageBox::Yes)->click();
                            }),
            Answer::Yes);
}

}  // namespace
}  // namespace kavrix::platform
