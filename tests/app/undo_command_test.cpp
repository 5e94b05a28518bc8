#include "app/undo_command.hpp"

#include <gtest/gtest.h>

#include <QWidget>

#include "editor/delete_rotate.hpp"
#include "editor/placement_commands.hpp"
#include "model/network_model.hpp"
#include "model/source_tables.hpp"
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

// After a save, an undone step leaves a drawing that differs from the file: Save must be offered
// and closing must ask. An undo with nothing to undo leaves the saved state alone.
TEST(UndoCommand, UndoAfterASaveMarksTheProjectModified) {
  test::FreshModel fresh;
  platform::ScopedScriptedPlatform fake;
  const int row = test::AddObject(60, 100, 100);
  {
    EditStep step;
    PushUndo(kUndoSettings, row);
    NetObjects[row][kInst] = 20;
  }
  ProjectModified = false;
  ASSERT_TRUE(Undo1Click(nullptr));
  EXPECT_TRUE(ProjectModified);
  ProjectModified = false;
  EXPECT_FALSE(Undo1Click(nullptr));
  EXPECT_FALSE(ProjectModified);
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

// Undoing a deletion while an LNB was armed shifted the restored rows over the armed ones and
// kept the LNB's slot taken: the arm must be dropped first.
TEST(UndoCommand, UndoWhileAKindIsArmedDropsTheArmFirst) {
  test::FreshModel fresh;
  platform::ScopedScriptedPlatform fake;
  const int first = test::AddObject(60, 100, 100);
  const int second = test::AddObject(60, 300, 100);
  const auto before = NetObjects;
  {
    EditStep step;
    SelObject = first;
    platform::FileDialogRequest dialog;
    ASSERT_TRUE(DeleteComponent(dialog));
  }
  ASSERT_EQ(NetObjects[0][kX], 300);
  ASSERT_EQ(ArmPlacement(91, 0).status, ArmStatus::kArmed);
  ASSERT_TRUE(SatUsed[0]);

  EXPECT_TRUE(Undo1Click(nullptr));
  EXPECT_EQ(PendingKind, 0);
  EXPECT_FALSE(SatUsed[0]);
  for (int r = 0; r <= second + 1; ++r) EXPECT_EQ(NetObjects[r], before[r]) << "row " << r;
}

}  // namespace
}  // namespace kavrix
