#include <gtest/gtest.h>

#include "platform/platform.hpp"

namespace kavrix::platform {
namespace {

TEST(ScriptedPlatform, RecordsTextsAndAnswersFromItsQueue) {
  ScopedScriptedPlatform ui;
  ui->answers = {Answer::No, Answer::Cancel};
  EXPECT_EQ(Ask("", "Do you want to save project?", Buttons::YesNoCancel), Answer::No);
  EXPECT_EQ(Ask("", "again", Buttons::YesNoCancel), Answer::Cancel);
  EXPECT_EQ(Ask("", "default", Buttons::YesNo), Answer::Yes) << "an empty queue answers Yes";
  ShowError("Error", "The value must be of a real type number!");
  ASSERT_EQ(ui->messages.size(), 4u);
  EXPECT_EQ(ui->messages[3].caption, "Error");
  EXPECT_EQ(ui->lastText(), "The value must be of a real type number!");
}

TEST(ScriptedPlatform, FileDialogsRecordRequestsAndCancelWhenUnscripted) {
  ScopedScriptedPlatform ui;
  FileDialogRequest req;
  req.filter = "Kavrix file (.stn)|*.stn";
  EXPECT_FALSE(Current().openFile(req).has_value());
  ui->files.push_back(FileDialogResult{"/tmp/a.stn", 1});
  auto r = Current().saveFile(req);
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(r->fileName, "/tmp/a.stn");
  EXPECT_EQ(ui->fileRequests.size(), 2u);
  EXPECT_EQ(ui->fileRequests[0].filter, req.filter);
}

TEST(ScriptedPlatform, GuardRestoresThePreviousPlatform) {
  Platform* before = &Current();
  {
    ScopedScriptedPlatform ui;
    EXPECT_EQ(&Current(), &ui.fake);
    {
      ScopedScriptedPlatform inner;
      EXPECT_EQ(&Current(), &inner.fake);
    }
    EXPECT_EQ(&Current(), &ui.fake);
  }
  EXPECT_EQ(&Current(), before);
}

}  // namespace
}  // namespace kavrix::platform
