#include <gtest/gtest.h>

#include "model/network_model.hpp"
#include "platform/platform.hpp"
#include "simulation/window/tune_commands.hpp"
#include "support/model_guard.hpp"

namespace kavrix {
namespace {

TEST(TuneCommands, OptimisationWithoutCascadeShowsItsMessageWithTheHourglassBalanced) {
  test::FreshModel fresh;
  platform::ScopedScriptedPlatform ui;
  test::AddObject(91, 200, 100, 0, 1, 1);
  CommandChain chain(RunInput{"50", "60"}, RunCallbacks{});
  Optimizationofnetwork1Click(chain.clicks());
  EXPECT_EQ(ui->lastText(), "Missing signal source or network does not contain interchangeable cascaded components");
  EXPECT_EQ(ui->busyDepth, 0);
  EXPECT_GT(ui->busyCalls, 0);
}

}  // namespace
}  // namespace kavrix
