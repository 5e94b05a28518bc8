// A new user draws a small network with the mouse and keys only: an LNB, a five-input multiswitch
// and two TV sockets from the palette, a 5-cable trunk line from the LNB's outputs to the
// multiswitch's inputs; runs RF Analyze from the tool bar, reads the socket levels from the
// Analyzer, saves, undoes every step back to the empty network, reopens the file and saves it again.
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QScrollBar>
#include <cmath>
#include <filesystem>
#include <vector>

#include "catalogue/frequency_grids.hpp"
#include "editor/click_fixture.hpp"
#include "editor/placement_commands.hpp"
#include "model/price_rows.hpp"
#include "engine/tables_multiswitch.hpp"
#include "simulation/window/analyzer_window.hpp"

namespace kavrix {
namespace {

constexpr double kTol = 1e-6;

class DrawNetworkTest : public test::ClickTest {
 protected:
  std::string PathIn(const char* name) const { return (app.dir.path() / name).string(); }

  static void SaveShot(const char* name) {
    Form5->Repaint();
    const QImage shot = Form5->grab().toImage();
    EXPECT_TRUE(shot.save(ArtifactPath(name), "PNG"));
  }
  static std::vector<QPointF> Points(AnalyzerChart* c, int series) {
    std::vector<QPointF> out;
    for (int k = 0; k < c->pointCount(series); ++k) out.push_back(c->point(series, k));
    return out;
  }
  // A multiswitch table value at f MHz, on the straight line between the grid points around f.
  static double TableAt(const engine::DeviceTable& t, int path, int group, int output, double f) {
    const auto& g = FreqGrids[0];
    int i = 0;
    while (i < FreqGridLast[0] && g[static_cast<std::size_t>(i)] < f) ++i;
    const double hi = t.at(path - 1, i, group, output - 1);
    if (i == 0) return hi;
    const double lo = t.at(path - 1, i - 1, group, output - 1);
    const double g0 = g[static_cast<std::size_t>(i - 1)], g1 = g[static_cast<std::size_t>(i)];
    return lo + (hi - lo) * (f - g0) / (g1 - g0);
  }
  static double CableDb(double f, int kind, int metres) { return std::sqrt(f / 1000.0) * CableCoef[kind] * metres; }
};

TEST_F(DrawNetworkTest, UserDrawsAnalysesSavesUndoesAndReopensANetwork) {
  std::vector<test::DrawingState> steps{test::DrawingState::Take()};
  auto done = [&steps] {
    EXPECT_EQ(PendingKind, 0);
    steps.push_back(test::DrawingState::Take());
  };

  Palette({8});  // LNB
  ClickAt(300, 100);
  done();
  Palette({71, 26, 66});  // five inputs, eight outputs
  ClickAt(310, 300);
  done();
  // The sockets plug onto the multiswitch's right-hand outputs 1 and 3; each brings its own cable.
  Palette({15});
  ClickAt(395, 280);
  done();
  Palette({15});
  ClickAt(395, 320);
  done();
  Palette({28});  // 5-cable trunk line
  EXPECT_TRUE(Form5->Label14->isVisibleTo(Form5));
  ClickAt(313, 143);  // near the LNB's outputs
  MoveTo(308, 236);
  ClickAt(308, 236);  // near the multiswitch's inputs
  done();
  EXPECT_FALSE(Form5->Label14->isVisibleTo(Form5));
  EXPECT_TRUE(ui().messages.empty());

  const int lnb = 0, ms = 1, line = 4;
  ASSERT_EQ(CurObject, 6);
  const ObjRow& head = NetObjects[line];
  EXPECT_EQ((std::array{head[kKind], head[kX], head[kY], head[kOrient]}), (std::array{201, 310, 140, 1}));
  EXPECT_EQ(NetObjects[line + 1], (ObjRow{-1, 100, 0, 0, 0, 22})) << "straight down, arranged alike at both ends";
  EXPECT_EQ(NetObjects[lnb][kStyle], 2);

  ClickWidget(CommandButton(Form1->ToolButton5));  // RF Analyze
  ASSERT_EQ(Form1Tag, kMainLevelsShown);
  SaveShot("drawn_network.png");

  // Levels at each socket, worked out from the LNB's plan, the trunk's and the socket's cables
  // and the multiswitch's table for the output it plugs into.
  const auto& table = engine::MultiswitchFamilyData().jarn2;
  const int trunkM = NetObjects[line][kInst], trunkCable = NetObjects[line][kStyle];
  struct Socket {
    int row, output;
  };
  for (const Socket s : {Socket{2, 1}, Socket{3, 3}}) {
    const ObjRow& sock = NetObjects[static_cast<std::size_t>(s.row)];
    const int k = s.row - 2;
    ASSERT_EQ(Links[static_cast<std::size_t>(k)][7], s.row);
    ClickAt(sock[kX] + 23, sock[kY]);  // the socket's satellite outlet
    EXPECT_EQ(PanelOpen, 0);
    double lo = 1e9, hi = -1e9;
    for (int band = 1; band <= 4; ++band) {
      SCOPED_TRACE(testing::Message() << "socket row " << s.row << ", band " << band);
      const std::vector<QPointF> pts = Points(Form4->Chart1, band);
      const int count = LnbParams[0][band - 1][0];
      ASSERT_EQ(pts.size(), static_cast<std::size_t>(count));
      for (int c = 0; c < count; ++c) {
        const double f = SatTables[0][static_cast<std::size_t>(2 * (band - 1))][static_cast<std::size_t>(c)];
        const double lnbLevel = SatTables[0][static_cast<std::size_t>(2 * band - 1)][static_cast<std::size_t>(c)];
        const double input = lnbLevel - CableDb(f, trunkCable, trunkM);
        const double output = input + TableAt(table, band, 1, s.output, f);
        const double outlet = output - CableDb(f, sock[kStyle], sock[kInst]) - SatSocketLoss;
        EXPECT_NEAR(pts[static_cast<std::size_t>(c)].x(), f / 1000, kTol);
        EXPECT_NEAR(pts[static_cast<std::size_t>(c)].y(), outlet, kTol) << f << " MHz";
        lo = std::min(lo, outlet);
        hi = std::max(hi, outlet);
      }
    }
    // Within the project's limits the socket is marked good, with no terrestrial status.
    EXPECT_GT(lo, SatMinLevel);
    EXPECT_LT(hi, SatMaxLevel);
    EXPECT_EQ(Links[static_cast<std::size_t>(k)][0], 9);
  }
  EXPECT_TRUE(Form4->Chart1->isVisible());
  EXPECT_FALSE(Form4->Chart2->isVisible());
  EXPECT_NE(Nodes[0][15], 1000000) << "the LNB's first band feeds the trunk";
  (void)ms;

  // Save through the tool bar.
  Form1->SaveActionUpdate();
  ui().files.push_back(platform::FileDialogResult{PathIn("house.stn"), 1});
  ClickWidget(CommandButton(Form1->SaveAction));
  const std::string saved = test::FileBytes(PathIn("house.stn"));
  ASSERT_FALSE(saved.empty());
  EXPECT_FALSE(ProjectModified);

  // Undo, step by step, back to the empty network.
  for (std::size_t i = steps.size() - 1; i > 0; --i) {
    Undo();
    EXPECT_EQ(test::DrawingState::Take(), steps[i - 1]) << "after undoing step " << i;
  }
  Undo();
  EXPECT_EQ(test::DrawingState::Take(), steps.front()) << "nothing more to undo";

  // Reopen the saved file (the emptied drawing is not saved) and save it again elsewhere.
  ui().answers.push_back(platform::Answer::No);
  ui().files.push_back(platform::FileDialogResult{PathIn("house.stn"), 1});
  ClickWidget(CommandButton(Form1->Open1));
  EXPECT_EQ(test::DrawingState::Take().rows, steps.back().rows);
  ui().files.push_back(platform::FileDialogResult{PathIn("again.stn"), 1});
  Form1->SaveAs1->trigger();
  EXPECT_EQ(test::FileBytes(PathIn("again.stn")), saved);
}

// Opening a project after working far down and right in a larger one shows the opened drawing,
// not an empty canvas beyond its end: the new network's ranges leave at most 100 pixels of
// scroll.
TEST_F(DrawNetworkTest, AnOpenedProjectIsNotShownFromWhereTheLastOneWasScrolled) {
  Open("tap_riser.stn");
  Form5->Repaint();
  Form5->HorzScrollBar->setValue(Form5->HorzScrollBar->maximum());
  Form5->VertScrollBar->setValue(Form5->VertScrollBar->maximum());
  Form5->Repaint();
  ASSERT_GT(ScrollY, 100);

  ui().files.push_back(platform::FileDialogResult{std::string(KAVRIX_TEST_DATA) + "/lines_sockets.stn", 1});
  ClickWidget(CommandButton(Form1->Open1));
  ASSERT_GT(CurObject, 0);
  Form5->Repaint();
  EXPECT_LE(ScrollX, 100);
  EXPECT_LE(ScrollY, 100);
}

// A project saved while an object is picked up is the drawing as committed: the held object where
// it was picked up and every object behind it, not a table cut off at the held row.
TEST_F(DrawNetworkTest, SavingWhileAnObjectIsPickedUpKeepsEveryObject) {
  Palette({8});  // LNB
  ClickAt(300, 100);
  Palette({15});
  ClickAt(500, 300);
  Palette({15});
  ClickAt(500, 400);
  Palette({28});
  ClickAt(200, 300);
  ClickAt(260, 400);
  ASSERT_EQ(PendingKind, 0);
  Form1->SaveActionUpdate();
  ui().files.push_back(platform::FileDialogResult{PathIn("held.stn"), 1});
  ClickWidget(CommandButton(Form1->SaveAction));
  const std::string committed = test::FileBytes(PathIn("held.stn"));
  ASSERT_FALSE(committed.empty());

  const auto saveWhileHeld = [&](Point at) {
    ClickAt(at.x, at.y);
    ASSERT_EQ(PanelOpen, 1);
    MoveTo(at.x + 300, at.y + 150);
    const test::DrawingState held = test::DrawingState::Take();
    Form1->SaveActionUpdate();
    ClickWidget(CommandButton(Form1->SaveAction));
    EXPECT_EQ(test::FileBytes(PathIn("held.stn")), committed);
    EXPECT_EQ(test::DrawingState::Take(), held) << "the object is still held where the pointer has it";
    EXPECT_EQ(PanelOpen, 1);
  };
  saveWhileHeld({300, 100});  // the LNB, the first row
  ClickAt(300, 100);          // put down where it was
  ASSERT_EQ(PanelOpen, 0);

  const int line = 3;
  ASSERT_EQ(NetObjects[line][kKind], 201);
  Point onLine{200, 300};
  while (onLine.y < 400 && HitTestComponent(onLine.x, onLine.y) != line) onLine.y += 5;
  ASSERT_EQ(HitTestComponent(onLine.x, onLine.y), line);
  saveWhileHeld(onLine);
}

// A component picked from the palette but not yet placed sits in the table's free row: the run
// counted its supply current and took an armed LNB as a source, and the estimate, the picture
// and the print took it as drawn.
TEST_F(DrawNetworkTest, AnArmedComponentIsNotPartOfTheDrawing) {
  std::filesystem::copy_file(std::string(KAVRIX_TEST_DATA) + "/lines_sockets.stn", PathIn("net.stn"));
  ui().files.push_back(platform::FileDialogResult{PathIn("net.stn"), 1});
  ClickWidget(CommandButton(Form1->Open1));
  for (PriceListRow& r : PriceListRows.Rows)
    if (r[0] == "TV socket" || r[0] == "RG-59") r[1] = r[0] == "RG-59" ? "1" : "3";
  const auto results = [&] {
    Form1->ToolButton5->trigger();  // first, as it colours single lines by their content
    Form1->Billofmaterials1Click();
    Form1->S1Click(PathIn("net.stn"));
    return std::tuple{EstimateGrid.Rows, test::FileBytes(PathIn("net.bmp")), StatusBarText};
  };
  const auto drawn = results();
  EXPECT_EQ(std::get<0>(drawn).back()[kPriceWhole], "158");  // 6 sockets x 3 + 140 m x 1
  for (int kind : {210, 183}) {
    Form1->PlacementClick(kind);
    MoveTo(600, 600);
    ASSERT_EQ(NetObjects[CurObject][kKind], kind);
    const auto armed = results();
    EXPECT_EQ(std::get<0>(armed), std::get<0>(drawn)) << kind;
    EXPECT_TRUE(std::get<1>(armed) == std::get<1>(drawn)) << kind << ": the picture shows the armed component";
    EXPECT_EQ(std::get<2>(armed), std::get<2>(drawn)) << kind;
    EXPECT_EQ(PendingKind, kind) << "the arm itself stays";
  }
  CancelPlacement();
  ClickAt(100, 100);  // the LNB picked up counts where it was
  MoveTo(700, 650);
  ASSERT_EQ(PanelOpen, 1);
  const auto held = results();
  EXPECT_EQ(std::get<0>(held), std::get<0>(drawn));
  EXPECT_TRUE(std::get<1>(held) == std::get<1>(drawn));
  EXPECT_EQ(std::get<2>(held), std::get<2>(drawn));
  EXPECT_EQ(NetObjects[0][kX], 700);

  Form1->Close1->trigger();
  test::AddObject(203, 170, 140, 10, 1, 1);
  test::AddContinuation(100, 0, 0, 0, 11);
  Form1->PlacementClick(91);
  MoveTo(200, 100);  // its band 1 output on the line's start
  ASSERT_EQ(NetObjects[CurObject][kX], 200);
  ui().messages.clear();
  Form1->ToolButton5->trigger();
  ASSERT_FALSE(ui().messages.empty());
  EXPECT_EQ(ui().messages[0].text, "Missing signal source (LNB)");
  EXPECT_TRUE(SatUsed[static_cast<std::size_t>(NetObjects[CurObject][kInst])]) << "the armed LNB keeps its slot";
}

// Each cable kind drawn with the keys the user has: Shift for the arrangement, Space for bends
// and to finish at the pointer; then each undone back to the model before it.
TEST_F(DrawNetworkTest, EachLineKindDrawsWithItsKeysAndUndoesExactly) {
  const struct {
    int kind, x, y;
  } devices[] = {{91, 300, 100}, {152, 610, 330}, {91, 760, 100}, {152, 880, 330},
                 {93, 60, 250},  {141, 200, 480}, {142, 500, 480}};
  for (const auto& d : devices) {
    Form1->PlacementClick(d.kind);
    ClickAt(d.x, d.y);
  }
  std::vector<test::DrawingState> steps{test::DrawingState::Take()};
  auto geometry = [](int row) { return NetObjects[static_cast<std::size_t>(row) + 1]; };

  // 5-cable line: Shift swaps the arrangement before the start; the LNB's terminals then decide.
  Palette({28});
  const int trunk = CurObject;
  Key(Qt::Key_Shift);
  EXPECT_EQ(geometry(trunk)[5], 11);
  Key(Qt::Key_Shift);
  EXPECT_EQ(geometry(trunk)[5], 22);
  ClickAt(310, 140);
  MoveTo(300, 200);
  Key(Qt::Key_Space);  // a second corner
  MoveTo(610, 270);
  ClickAt(610, 270);
  EXPECT_EQ(NetObjects[static_cast<std::size_t>(trunk)][kX], 310);
  EXPECT_EQ(geometry(trunk), (ObjRow{-1, 60, 300, 70, 0, 22}));
  EXPECT_EQ(ExtraAngles, 0);
  steps.push_back(test::DrawingState::Take());

  // 4-cable line from the second LNB, with a bend, onto the second multiswitch.
  Palette({9});
  const int four = CurObject;
  ClickAt(760, 140);
  MoveTo(760, 200);
  Key(Qt::Key_Space);
  MoveTo(870, 267);
  ClickAt(870, 267);
  EXPECT_EQ(NetObjects[static_cast<std::size_t>(four)][kX], 760);
  EXPECT_EQ(geometry(four), (ObjRow{-1, 60, 110, 70, 0, 22}));
  steps.push_back(test::DrawingState::Take());

  // Single cable from the antenna: three presses of Space finish it at the pointer.
  Palette({22});
  const int single = CurObject;
  ClickAt(60, 340);
  EXPECT_EQ(geometry(single)[5], 5) << "the antenna's terrestrial line";
  MoveTo(60, 370);
  Key(Qt::Key_Space);
  MoveTo(120, 390);
  Key(Qt::Key_Space);
  EXPECT_FALSE(Form5->Label15->isVisibleTo(Form5));
  MoveTo(160, 400);
  Key(Qt::Key_Space);
  EXPECT_EQ(PendingKind, 0) << "committed on the third press";
  EXPECT_EQ(ExtraAngles, 0);
  EXPECT_EQ(CurObject, single + 2);
  EXPECT_EQ(geometry(single), (ObjRow{-1, 30, 60, 30, 40, 5}));
  steps.push_back(test::DrawingState::Take());

  // Fibre from the transmitter's output round to the receiver's input, three corners.
  Palette({189});
  const int fibre = CurObject;
  ClickAt(152, 538);
  MoveTo(150, 550);
  Key(Qt::Key_Space);
  MoveTo(380, 430);
  Key(Qt::Key_Space);
  MoveTo(450, 430);
  ClickAt(450, 430);
  EXPECT_EQ(NetObjects[static_cast<std::size_t>(fibre)][kX], 150);
  EXPECT_EQ(NetObjects[static_cast<std::size_t>(fibre)][kY], 540);
  EXPECT_EQ(geometry(fibre), (ObjRow{-1, 10, 230, -120, 70, 8}));
  EXPECT_TRUE(ui().messages.empty());
  steps.push_back(test::DrawingState::Take());
  SaveShot("line_kinds.png");

  for (std::size_t i = steps.size() - 1; i > 0; --i) {
    Undo();
    EXPECT_EQ(test::DrawingState::Take(), steps[i - 1]) << "after undoing line " << i;
  }

  // A fibre from an LNB is told unsuitable; a line ended on its own start stays in drawing.
  Palette({189});
  ClickAt(290, 140);
  EXPECT_EQ(ui().lastText(), "This cable line is not suitable for this input");
  ClickAt(290, 140);  // on its own start
  EXPECT_EQ(PendingKind, 205);
  EXPECT_EQ(ExtraAngles, 1);
  EXPECT_EQ(CurObject, steps.front().curObject);
  MoveTo(400, 140);
  ClickAt(400, 140);
  EXPECT_EQ(PendingKind, 0);
  EXPECT_EQ(CurObject, steps.front().curObject + 2);
  Undo();
  EXPECT_EQ(test::DrawingState::Take(), steps.front());
}

}  // namespace
}  // namespace kavrix
