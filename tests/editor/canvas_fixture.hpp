#pragma once
// Canvas tests run against the real windows: every window created in start-up order, a scripted
// platform, projects opened through the main window's Open command, and pictures written next to
// the test binary (or into KAVRIX_ARTIFACT_DIR) for review.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QString>
#include <string>

#include "app/main_window.hpp"
#include "editor/canvas_paint.hpp"
#include "editor/canvas_window.hpp"
#include "model/drawing_extent.hpp"
#include "model/network_model.hpp"
#include "model/project_options.hpp"
#include "support/app_guard.hpp"
#include "symbols/glyph_store.hpp"

namespace kavrix::test {

class CanvasTest : public ::testing::Test {
 protected:
  AppFixture app;
  platform::ScriptedPlatform& ui() { return app.ui.fake; }

  void Open(const std::string& fixture) {
    ui().files.push_back(platform::FileDialogResult{std::string(KAVRIX_TEST_DATA) + "/" + fixture, 1});
    Form1->Open1Click();
  }

  // Every row drawn in canvas coordinates into a bitmap 100 pixels larger than the drawing's
  // extent, which counts line anchors only and so leaves out outer cables and labels.
  static Bitmap WholeDrawing() {
    CalcDrawingExtent();
    Bitmap b(DrawExtentX + 100, DrawExtentY + 100);
    Canvas c(b);
    c.brush.color = static_cast<TColor>(CanvasColor);
    c.fillRect(0, 0, b.width(), b.height());
    for (std::size_t row = 0; row < NetObjects.size(); ++row) DrawComponent(static_cast<int>(row), b, 0, 0);
    return b;
  }

  static TColor Background() { return static_cast<TColor>(CanvasColor); }

  static QString ArtifactPath(const QString& name) {
    const QByteArray dir = qgetenv("KAVRIX_ARTIFACT_DIR");
    return QDir(dir.isEmpty() ? QCoreApplication::applicationDirPath() : QString::fromUtf8(dir)).filePath(name);
  }
};

}  // namespace kavrix::test
