// The drawing as a picture: an 8-bit bitmap of the drawing's extent, named after the project or
// as the user chose (never renaming the project), through "Save As Picture" and through Save As.
#include <gtest/gtest.h>

#include <QAction>
#include <QImage>
#include <cstdint>
#include <filesystem>

#include "app/forms.hpp"
#include "app/main_window.hpp"
#include "editor/canvas_paint.hpp"
#include "editor/canvas_window.hpp"
#include "model/drawing_extent.hpp"
#include "model/network_model.hpp"
#include "reports/drawing_print.hpp"
#include "support/app_guard.hpp"
#include "symbols/glyph_store.hpp"
#include "symbols/object_glyphs.hpp"

namespace kavrix {
namespace {

namespace fs = std::filesystem;
using platform::FileDialogResult;

struct BmpHeader {
  bool magic = false;
  int32_t width = 0, height = 0;
  int bitsPerPixel = 0;
  uint32_t fileSize = 0;
};

BmpHeader ReadHeader(const std::string& path) {
  const std::string b = test::FileBytes(path);
  BmpHeader h;
  if (b.size() < 54) return h;
  auto u = [&](std::size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
    return v;
  };
  h.magic = b[0] == 'B' && b[1] == 'M';
  h.fileSize = u(2, 4);
  h.width = static_cast<int32_t>(u(18, 4));
  h.height = static_cast<int32_t>(u(22, 4));
  h.bitsPerPixel = static_cast<int>(u(28, 2));
  return h;
}

class PictureExportTest : public ::testing::Test {
 protected:
  test::AppFixture app;
  platform::ScriptedPlatform& ui() { return app.ui.fake; }
  std::string PathIn(const std::string& name) { return (app.dir.path() / name).string(); }

  // A fixture copied into the test's directory and opened, so its picture lands there too.
  void OpenCopy(const std::string& fixture, const std::string& as) {
    fs::copy_file(fs::path(KAVRIX_TEST_DATA) / fixture, PathIn(as));
    ui().files.push_back(FileDialogResult{PathIn(as), 1});
    Form1->Open1Click();
    ASSERT_EQ(ProjectFileName, PathIn(as));
  }

  static int Place(int kind, int x, int y) {
    const int row = test::AddObject(kind, x, y, 0, 1, 0);
    RebuildObjectGlyph(row);
    return row;
  }
};

TEST_F(PictureExportTest, SavedProjectExportsBesideItAsAnEightBitBitmapOfTheExtent) {
  OpenCopy("lines_sockets.stn", "house.stn");
  const std::size_t dialogs = ui().fileRequests.size();
  Form1->S1->trigger();
  EXPECT_EQ(ui().fileRequests.size(), dialogs) << "no dialog for a project with a name";
  EXPECT_EQ(ProjectFileName, PathIn("house.stn"));
  EXPECT_EQ(Form1->SaveDialog1.defaultExt, ".stn");
  EXPECT_EQ(Form1->SaveDialog1.filterIndex, 1);
  EXPECT_TRUE(ui().messages.empty()) << ui().lastText();

  const BmpHeader h = ReadHeader(PathIn("house.bmp"));
  CalcDrawingExtent();
  EXPECT_TRUE(h.magic);
  EXPECT_EQ(h.bitsPerPixel, 8);
  EXPECT_EQ(h.width, DrawExtentX);
  EXPECT_EQ(h.height, DrawExtentY);
  EXPECT_EQ(h.width, 623);
  EXPECT_EQ(h.fileSize, fs::file_size(PathIn("house.bmp")));
  // The palette holds every colour of the drawing: the file is the rendered drawing, pixel for pixel.
  const QImage picture(QString::fromStdString(PathIn("house.bmp")));
  const QImage drawn = RenderWholeDrawing().image();
  ASSERT_EQ(picture.size(), drawn.size());
  int differ = 0;
  for (int y = 0; y < drawn.height(); ++y)
    for (int x = 0; x < drawn.width(); ++x) differ += picture.pixel(x, y) != drawn.pixel(x, y);
  EXPECT_EQ(differ, 0);
}

// A project file without an extension lost its last four characters to ".bmp", so "nets/riser"
// became "nets.bmp" beside the folder.
TEST_F(PictureExportTest, ProjectWithoutAnExtensionKeepsItsWholeNameAndFolder) {
  fs::create_directory(PathIn("nets"));
  OpenCopy("lines_sockets.stn", "nets/riser");
  Form1->S1->trigger();
  EXPECT_TRUE(fs::exists(PathIn("nets/riser.bmp")));
  EXPECT_FALSE(fs::exists(PathIn("nets.bmp")));
  EXPECT_EQ(ProjectFileName, PathIn("nets/riser"));
}

TEST_F(PictureExportTest, PicturePixelsShowTheObjectsWhereTheyLie) {
  const int amp = Place(131, 120, 90);
  test::AddObject(201, 300, 200, 7, 1, 1);  // 5-cable trunk, one leg of 100, crossing over
  test::AddContinuation(100, 0, 0, 0, 12);
  Form1->SaveDialog1.fileName = "x";
  ui().files.push_back(FileDialogResult{PathIn("shapes"), 4});
  Form1->S1Click();
  const QImage picture(QString::fromStdString(PathIn("shapes.bmp")));
  ASSERT_FALSE(picture.isNull());
  EXPECT_EQ(ReadHeader(PathIn("shapes.bmp")).bitsPerPixel, 8);
  // Cable 1 of the trunk at x 300 - 40: arrangement 1 (green) above half its leg, 2 (grey) below.
  EXPECT_EQ(FromRgb(picture.pixel(259, 238)), colors::kGreen);
  EXPECT_EQ(FromRgb(picture.pixel(259, 280)), colors::kGrey);
  // The white core of the outer cable at x 340, once cut off by an extent that stopped at 315.
  EXPECT_EQ(FromRgb(picture.pixel(340, 250)), colors::kWhite);
  // The amplifier's symbol centred on its point.
  const Bitmap& g = ObjGlyphAt(amp);
  ASSERT_FALSE(g.empty());
  int drawn = 0, same = 0;
  for (int y = 0; y < g.height(); ++y) {
    for (int x = 0; x < g.width(); ++x) {
      if (g.transparent() && g.pixel(x, y) == g.transparentColor()) continue;
      ++drawn;
      same += FromRgb(picture.pixel(120 - g.width() / 2 + x, 90 - g.height() / 2 + y)) == g.pixel(x, y);
    }
  }
  ASSERT_GT(drawn, 100);
  EXPECT_EQ(same, drawn);
}

TEST_F(PictureExportTest, NewNetworkAsksForANameThatNeverBecomesTheProjectName) {
  Place(131, 200, 200);
  ui().files.push_back(FileDialogResult{PathIn("pic"), 4});
  Form1->S1->trigger();
  ASSERT_EQ(ui().fileRequests.size(), 1u);
  EXPECT_EQ(ui().fileRequests[0].defaultExt, ".bmp");
  EXPECT_EQ(ui().fileRequests[0].filterIndex, 4);
  EXPECT_TRUE(fs::exists(PathIn("pic.bmp")));
  EXPECT_EQ(ProjectFileName, "naujas");
  EXPECT_EQ(Form5->windowTitle(), "New Network");
  EXPECT_EQ(Form1->SaveDialog1.defaultExt, ".stn");
  EXPECT_EQ(Form1->SaveDialog1.filterIndex, 1);

  // A name typed with the project extension still gives a picture.
  ui().files.push_back(FileDialogResult{PathIn("plan.stn"), 4});
  Form1->S1Click();
  EXPECT_TRUE(fs::exists(PathIn("plan.bmp")));
  EXPECT_FALSE(fs::exists(PathIn("plan.stn")));

  // Cancelled: nothing written, nothing said, the dialog set back.
  const auto before = std::distance(fs::directory_iterator(app.dir.path()), fs::directory_iterator());
  Form1->S1Click();
  EXPECT_EQ(std::distance(fs::directory_iterator(app.dir.path()), fs::directory_iterator()), before);
  EXPECT_TRUE(ui().messages.empty());
  EXPECT_EQ(ProjectFileName, "naujas");
  EXPECT_EQ(Form1->SaveDialog1.defaultExt, ".stn");
  EXPECT_EQ(Form1->SaveDialog1.filterIndex, 1);
}

TEST_F(PictureExportTest, SaveAsWithThePictureFilterWritesThePictureOnly) {
  OpenCopy("amplifiers.stn", "amps.stn");
  ui().files.push_back(FileDialogResult{PathIn("copy"), 4});
  Form1->SaveAs1->trigger();
  const BmpHeader h = ReadHeader(PathIn("copy.bmp"));
  EXPECT_EQ(h.bitsPerPixel, 8);
  EXPECT_EQ(h.width, 1241);
  EXPECT_EQ(h.height, 371);
  EXPECT_FALSE(fs::exists(PathIn("copy.stn")));
  EXPECT_EQ(ProjectFileName, PathIn("amps.stn"));
  EXPECT_TRUE(ui().messages.empty()) << ui().lastText();
}

TEST_F(PictureExportTest, UnwritablePictureIsReportedAndAnOldOneKept) {
  Place(131, 200, 200);
  ui().files.push_back(FileDialogResult{PathIn("missing/pic.bmp"), 4});
  Form1->S1Click();
  ASSERT_EQ(ui().messages.size(), 1u);
  EXPECT_EQ(ui().messages[0].caption, "Error");
  EXPECT_EQ(ui().lastText().rfind("Cannot create file " + PathIn("missing/pic.bmp"), 0), 0u) << ui().lastText();

  // A drawing too large to hold as one picture is refused before any memory is taken for it.
  test::WriteBytes(PathIn("old.bmp"), "old picture");
  test::AddObject(201, 40000, 40000, 5, 1, 1);
  test::AddContinuation(10, 0, 0, 0, 11);
  ui().files.push_back(FileDialogResult{PathIn("old.bmp"), 4});
  Form1->S1Click();
  EXPECT_EQ(ui().lastText(), "The drawing is too large to be saved as a picture.");
  EXPECT_EQ(test::FileBytes(PathIn("old.bmp")), "old picture");
  ui().printFile = PathIn("big.pdf");
  Form1->Print1Click();
  EXPECT_EQ(ui().lastText(), "The drawing is too large to be printed.");
  EXPECT_FALSE(fs::exists(PathIn("big.pdf")));
}

TEST_F(PictureExportTest, NavigationOverviewKeepsItsBitmapWhileExportingAndPrinting) {
  Place(131, 200, 200);
  Form1->ToolButton90Click();
  ASSERT_EQ(Form5->Tag, 10);
  const qint64 key = PrintBitmap.image().cacheKey();
  const QSize size = PrintBitmap.image().size();
  ui().files.push_back(FileDialogResult{PathIn("nav"), 4});
  Form1->S1Click();
  ui().printFile = PathIn("nav.pdf");
  Form1->Print1Click();
  EXPECT_TRUE(fs::exists(PathIn("nav.bmp")));
  EXPECT_TRUE(fs::exists(PathIn("nav.pdf")));
  EXPECT_EQ(PrintBitmap.image().cacheKey(), key) << "the overview's bitmap was not touched";
  EXPECT_EQ(PrintBitmap.image().size(), size);
  EXPECT_EQ(Form5->Tag, 10);
  EXPECT_TRUE(ui().messages.empty()) << ui().lastText();
  Form1->ToolButton90Click();
}

}  // namespace
}  // namespace kavrix
