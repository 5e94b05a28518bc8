#include "app/undo_command.hpp"

#include <gtest/gtest.h>

#include <QWidget>

#include "model/network_model.hpp"
#include "model/undo_ring.hpp"
#include "platform/platform.hpp"
#include "support/model_guard.hpp"

namespace kavrix {
namespace {

TEST(UndoCommand, RevertBringsTheDrawingBackToEditingState) {
  test::FreshModel fresh;
  platform::ScopedScriptedPlatform fake;
  QWidget canvas;
  const int row = test::AddObject(60, 100, 100);
  EXPECT_FALSE(Undo1Enabled());
  {
    EditStep step;
    PushUndo(kUndoMove, row);
    NetObjects[row][kX] = 400;
  }
  Form1Tag = 1;
  EXPECT_TRUE(Undo1Enabled());
  EXPECT_TRUE(Undo1Click(&canvas));
  EXPECT_EQ(NetObjects[row][kX], 100);
  EXPECT_EQ(Form1Tag, 0);
  EXPECT_FALSE(Undo1Enabled());
  EXPECT_TRUE(fake->messages.empty());
  EXPECT_EQ(fake->busyDepth, 0);

  // The toolbar button stays enabled: a click with nothing to undo changes nothing.
  Form1Tag = 1;
  EXPECT_FALSE(Undo1Click(&canvas));
  EXPECT_EQ(Form1Tag, 1);
  EXPECT_TRUE(fake->messages.empty());
  EXPECT_EQ(fake->busyDepth, 0);
}

TEST(UndoCommand, OversizedActionShowsTheCapacityMessageAndKeepsState) {
  test::FreshModel fresh;
  platform::ScopedScriptedPlatform fake;
  const int row = test::AddObject(60, 100, 100);
  {
    EditStep step;
    for (int k = 0; k < 998; ++k) PushUndo(kUndoMove, row);
    NetObjects[row][kX] = 400;
  }
  Form1Tag = 1;
  EXPECT_FALSE(Undo1Click(nullptr));
  EXPECT_EQ(NetObjects[row][kX], 400);
  EXPECT_EQ(Form1Tag, 1);
  ASSERT_EQ(fake->messages.size(), 1u);
  EXPECT_EQ(fake->lastText(), "Cannot undo last step because buffer capacity was overspent");
  EXPECT_EQ(fake->busyDepth, 0);
}

}  // namespace
}  // namespace kavrix
