#pragma once
// The application windows for benchmarks that need them, created once per benchmark program on
// the offscreen platform with scripted dialogs (a program may hold only one application).
#include <QApplication>

#include "app/forms.hpp"
#include "editor/canvas_window.hpp"
#include "platform/platform.hpp"

namespace kavrix::bench {

inline platform::ScriptedPlatform& BenchPlatform() {
  static platform::ScriptedPlatform* scripted = new platform::ScriptedPlatform;
  return *scripted;
}

inline TForm5& BenchWindows() {
  static TForm5* canvas = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "kavrix_bench";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
    platform::Install(&BenchPlatform());
    CreateApplicationWindows();
    Form5->resize(1024, 720);
    return Form5;
  }();
  return *canvas;
}

}  // namespace kavrix::bench
