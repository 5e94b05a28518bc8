#pragma once
// Runs a window test with every application window created in start-up order, a scripted
// platform, a temporary current directory and the project state restored afterwards.
#include "app/forms.hpp"
#include "platform/platform.hpp"
#include "support/model_guard.hpp"
#include "support/project_guard.hpp"

namespace kavrix::test {

class AppWindows {
 public:
  AppWindows() { CreateApplicationWindows(); }
  ~AppWindows() {
    DestroyApplicationWindows();
    Windows() = WindowHooks{};
  }
  AppWindows(const AppWindows&) = delete;
  AppWindows& operator=(const AppWindows&) = delete;
};

// Member order matters: the directory and platform outlive the windows.
struct AppFixture {
  TempCurrentDir dir;
  platform::ScopedScriptedPlatform ui;
  FreshProject project;
  AppWindows windows;
};

}  // namespace kavrix::test
