// "Delete" and "Rotate" reached the way the user reaches them: a right click on the shown canvas,
// then a click on the popup's item; undo from the main window's tool button.
#include <QAction>
#include <QMenu>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <optional>

#include "app/palette.hpp"
#include "editor/canvas_fixture.hpp"
#include "editor/delete_rotate.hpp"
#include "editor/model_snapshot.hpp"
#include "model/source_tables.hpp"
#include "model/undo_ring.hpp"
#include "simulation/window/analyzer_window.hpp"
#include "support/widget_click.hpp"

namespace kavrix {
namespace {

using platform::Answer;
using platform::FileDialogResult;
using test::ExpectSameModel;
using test::ModelSnapshot;

class DeleteRotateWindowTest : public test::CanvasTest {
 protected:
  void SetUp() override {
    Form1->resize(1300, 900);
    Form1->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form1));
  }

  void OpenLarge(const std::string& fixture) {
    Open(fixture);
    if (Form4) Form4->hide();
    Form5->HorzScrollRange = Form5->VertScrollRange = 8000;
    Form5->Repaint();
  }

  QPoint Global(QPoint p) const { return Form5->mapToGlobal(p); }
  void Press(QPoint p, Qt::MouseButton b) {
    QMouseEvent e(QEvent::MouseButtonPress, p, Global(p), b, b, Qt::NoModifier);
    QCoreApplication::sendEvent(Form5, &e);
  }
  void Release(QPoint p, Qt::MouseButton b) {
    QMouseEvent e(QEvent::MouseButtonRelease, p, Global(p), b, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(Form5, &e);
  }
  void Move(QPoint p, Qt::MouseButtons held) {
    const QPoint g = Global(p);
    ui().cursorX = g.x();
    ui().cursorY = g.y();
    QMouseEvent e(QEvent::MouseMove, p, g, Qt::NoButton, held, Qt::NoModifier);
    QCoreApplication::sendEvent(Form5, &e);
  }
  void RightClick(QPoint p) {
    Move(p, Qt::NoButton);
    Press(p, Qt::RightButton);
    Release(p, Qt::RightButton);
  }

  static std::vector<QString> VisibleItems() {
    std::vector<QString> items;
    for (QAction* a : Form5->PopupMenu1->actions())
      if (a->isVisible()) items.push_back(a->text());
    return items;
  }

  static void ClickItem(QMenu* menu, QAction* item) { test::ClickMenuItem(menu, item); }
  static void ClickTurn(QAction* turn) {
    ClickItem(Form5->PopupMenu1, Form5->Rotate1);
    QMenu* sub = Form5->Rotate1->menu();
    ASSERT_TRUE(QTest::qWaitFor([sub] { return sub->isVisible(); }, 2000));
    ClickItem(sub, turn);
  }

  static void Undo() { Form1->ToolButton91->trigger(); }

  // A canvas point the hit test gives `row` for, with the canvas scrolled so that it lies well
  // inside the window; the point is returned in client coordinates. None when other objects
  // cover the whole body of `row`.
  std::optional<QPoint> ShowRow(int row) {
    const ObjRow& o = NetObjects[static_cast<std::size_t>(row)];
    std::optional<QPoint> at;
    for (int d = 0; d <= 60 && !at; d += 2)
      for (int dx = -d; dx <= d && !at; dx += 2)
        for (int dy : {-d, d})
          if (!at && HitTestComponent(o[kX] + dx, o[kY] + dy) == row) at = QPoint(o[kX] + dx, o[kY] + dy);
    if (!at) return std::nullopt;
    Form5->HorzScrollBar->setValue(std::max(0, (at->x() - 400) / 5 * 5));
    Form5->VertScrollBar->setValue(std::max(0, (at->y() - 300) / 5 * 5));
    Form5->Repaint();
    return QPoint(at->x() - ScrollX, at->y() - ScrollY);
  }

  static std::vector<int> MainRows() {
    std::vector<int> rows;
    for (int r = 0; r < ObjectCount; ++r)
      if (NetObjects[static_cast<std::size_t>(r)][kKind] > 0) rows.push_back(r);
    return rows;
  }
};

// ---- every family of the fixtures: turn on, turn back, delete, each undone to the model before

class EachFamily : public DeleteRotateWindowTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(EachFamily, TurnAndDeleteFromThePopupAndUndoEach) {
  OpenLarge(GetParam());
  const ModelSnapshot before;
  const int32_t serial = EditSerial;
  int tested = 0;
  for (int row : MainRows()) {
    SCOPED_TRACE("row " + std::to_string(row) + " kind " + std::to_string(NetObjects[static_cast<std::size_t>(row)][kKind]));
    const std::optional<QPoint> p = ShowRow(row);
    if (!p) continue;
    ++tested;
    const int32_t orient = NetObjects[static_cast<std::size_t>(row)][kOrient];

    RightClick(*p);
    ASSERT_TRUE(Form5->PopupMenu1->isVisible());
    EXPECT_EQ(SelObject, row);
    EXPECT_EQ(VisibleItems(), (std::vector<QString>{"Delete", "Rotate"}));
    ProjectModified = false;
    ClickTurn(Form5->N2);
    EXPECT_FALSE(Form5->PopupMenu1->isVisible());
    EXPECT_TRUE(ProjectModified);
    EXPECT_EQ(NetObjects[static_cast<std::size_t>(row)][kOrient], orient >= 4 || orient < 1 ? 1 : orient + 1);
    Undo();
    ExpectSameModel(ModelSnapshot(), before);

    RightClick(*p);
    ClickTurn(Form5->N1);
    EXPECT_EQ(NetObjects[static_cast<std::size_t>(row)][kOrient], orient <= 1 || orient > 4 ? 4 : orient - 1);
    Undo();
    ExpectSameModel(ModelSnapshot(), before);

    const int rows = ObjectRowCount(row);
    RightClick(*p);
    ClickItem(Form5->PopupMenu1, Form5->Delete1);
    EXPECT_EQ(ObjectCount, before.objectCount - rows);
    EXPECT_EQ(NetObjects[static_cast<std::size_t>(ObjectCount)][kKind], 0);
    EXPECT_EQ(Form5->Tag, kCanvasIdle);
    Undo();
    ExpectSameModel(ModelSnapshot(), before);
    if (HasFatalFailure()) return;
  }
  EXPECT_GT(tested, 0);
  EXPECT_EQ(EditSerial, serial + 3 * tested) << "each command is one step";
  EXPECT_FALSE(UndoEnabled());
}

INSTANTIATE_TEST_SUITE_P(Fixtures, EachFamily,
                         ::testing::Values("sources.stn", "lines_sockets.stn", "amplifiers.stn", "multiswitches.stn",
                                           "splitters_taps.stn", "optical.stn", "single_cable_links.stn",
                                           "comments_options.stn", "obsolete.stn"),
                         [](const auto& info) {
                           std::string n = info.param;
                           return n.substr(0, n.find('.'));
                         });

// ---- several objects at once

TEST_F(DeleteRotateWindowTest, ASelectionDraggedOverSeveralObjectsIsDeletedAsOneStep) {
  OpenLarge("sources.stn");
  Form5->HorzScrollBar->setValue(0);
  Form5->VertScrollBar->setValue(0);
  Form5->Repaint();
  const ModelSnapshot before;
  // The LNB and the three antennas left of x 700 on the first row.
  Press({50, 40}, Qt::LeftButton);
  Move({400, 120}, Qt::LeftButton);
  Move({700, 200}, Qt::LeftButton);
  Release({700, 200}, Qt::LeftButton);
  ASSERT_EQ(Form5->Tag, kCanvasSelected);

  RightClick({300, 150});
  ASSERT_TRUE(Form5->PopupMenu1->isVisible());
  EXPECT_EQ(VisibleItems(), (std::vector<QString>{"Delete", "Copy", "Move"}));
  ui().answers = {Answer::Ok, Answer::No, Answer::No, Answer::No, Answer::No};
  ClickItem(Form5->PopupMenu1, Form5->Delete1);

  EXPECT_TRUE(ui().answers.empty()) << "one save question per antenna, and the LNB's if entered by hand";
  EXPECT_EQ(Form5->Tag, kCanvasIdle);
  EXPECT_EQ(SelRect, SelectionRect{});
  for (int r = 0; r < ObjectCount; ++r) {
    const ObjRow& o = NetObjects[static_cast<std::size_t>(r)];
    if (o[kKind] > 0) {
      EXPECT_FALSE(o[kX] < 700 && o[kY] < 200) << "row " << r << " kind " << o[kKind];
    }
  }
  EXPECT_FALSE(SatUsed[0]);
  EXPECT_FALSE(TerrUsed[0] || TerrUsed[1] || TerrUsed[2]);
  EXPECT_TRUE(TerrUsed[3]) << "the FM antenna lies outside";

  Undo();
  ExpectSameModel(ModelSnapshot(), before);
}

// ---- a line still being drawn

// "Delete" on the line that follows the pointer drops it; its hints asking for Shift and Space
// must not stay on the canvas with no line left to draw.
TEST_F(DeleteRotateWindowTest, DeletingALineBeingDrawnTakesItsHintsAway) {
  OpenLarge("sources.stn");
  Form5->HorzScrollBar->setValue(3000);
  Form5->VertScrollBar->setValue(3000);
  Form5->Repaint();
  const ModelSnapshot before;
  QToolButton* trunk = Form1->Palette->ToolButton(28);
  ASSERT_TRUE(trunk && trunk->isVisible());
  QTest::mouseClick(trunk, Qt::LeftButton);
  ASSERT_EQ(PendingKind, 201);
  ASSERT_TRUE(Form5->Label14->isVisible());
  Move({300, 200}, Qt::NoButton);
  Press({300, 200}, Qt::LeftButton);
  Release({300, 200}, Qt::LeftButton);
  ASSERT_EQ(ExtraAngles, 1) << "the start is set";
  Move({500, 400}, Qt::NoButton);
  ASSERT_TRUE(Form5->Label15->isVisible());

  RightClick({500, 400});
  ASSERT_TRUE(Form5->PopupMenu1->isVisible());
  ClickItem(Form5->PopupMenu1, Form5->Delete1);
  EXPECT_EQ(PendingKind, 0);
  EXPECT_FALSE(Form5->Label14->isVisible());
  EXPECT_FALSE(Form5->Label15->isVisible());
  ExpectSameModel(ModelSnapshot(), before);
}

// ---- an editor left open on another object

// The source panel keeps the row it was opened on. Deleting a source before it moved the edited
// antenna up and the next antenna into that row, so Apply wrote the panel into the wrong slot.
TEST_F(DeleteRotateWindowTest, AnOpenSourcePanelStaysWithItsAntennaWhenAnEarlierOneIsDeleted) {
  OpenLarge("sources.stn");
  Form5->HorzScrollBar->setValue(0);
  Form5->VertScrollBar->setValue(0);
  Form5->Repaint();
  const int catv = 2, uhf = 4, vhf = 6;
  ASSERT_EQ(NetObjects[catv][kKind], 92);
  ASSERT_EQ(NetObjects[uhf][kKind], 93);
  ASSERT_EQ(NetObjects[vhf][kKind], 94);
  const int uhfSlot = NetObjects[uhf][kInst], vhfSlot = NetObjects[vhf][kInst];
  const auto vhfParams = TerrParams[vhfSlot];
  const auto vhfTable = TerrTables[vhfSlot];

  const QPoint at(NetObjects[uhf][kX], NetObjects[uhf][kY] + 15);
  Move(at, Qt::NoButton);
  Press(at, Qt::LeftButton);
  Release(at, Qt::LeftButton);
  QMouseEvent dbl(QEvent::MouseButtonDblClick, at, Global(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(Form5, &dbl);
  Release(at, Qt::LeftButton);
  ASSERT_TRUE(Form5->Panel1->isVisible());
  ASSERT_TRUE(Form5->CheckBox1->isChecked()) << "the antenna's plan is generated from its header";
  // A new average level over the UHF band.
  Form5->StringGrid2.setCell(1, 1, "70");
  Form5->StringGrid2.setCell(1, 2, "470");
  Form5->StringGrid2.setCell(1, 3, "790");

  const QPoint c(NetObjects[catv][kX], NetObjects[catv][kY]);
  ASSERT_EQ(HitTestComponent(c.x(), c.y()), catv);
  RightClick(c);
  ui().answers = {Answer::Ok, Answer::No};
  ClickItem(Form5->PopupMenu1, Form5->Delete1);
  ASSERT_EQ(NetObjects[catv][kKind], 93) << "the antenna under the panel moved up";

  ui().messages.clear();
  QTest::mouseClick(Form5->Button2, Qt::LeftButton);
  EXPECT_TRUE(ui().messages.empty());
  EXPECT_EQ(TerrParams[uhfSlot][1], 70);
  EXPECT_EQ(TerrParams[vhfSlot], vhfParams);
  EXPECT_EQ(TerrTables[vhfSlot], vhfTable);
}

// ---- the plan files written on request

TEST_F(DeleteRotateWindowTest, DeletingAnLnbAnsweredYesWritesItsPlanByteForByte) {
  OpenLarge("sources.stn");
  const int lnb = 0;
  ASSERT_EQ(NetObjects[lnb][kKind], 91);
  const int s = NetObjects[lnb][kInst];
  // A plan entered by hand: three carriers per band, frequency 1000 + 100 c + j, level 60 + j.
  LnbParams[s][0][4] = 0;
  for (auto& column : SatTables[s]) column.fill(0);
  for (int b = 0; b < 4; ++b)
    for (int j = 1; j <= 3; ++j) {
      SatCell(s, 2 * b, j) = 1000 + 100 * b + j;
      SatCell(s, 2 * b + 1, j) = 60 + j;
    }
  test::WriteBytes("Source1.lnb", "taken");
  test::WriteBytes("Source2.lnb", "taken");
  test::WriteBytes("Source1.ter", "taken");
  const std::optional<QPoint> p = ShowRow(lnb);
  ASSERT_TRUE(p);
  ui().answers = {Answer::Ok, Answer::Yes};
  ui().files.push_back(FileDialogResult{"Source3", 1});
  ui().messages.clear();
  ui().fileRequests.clear();
  RightClick(*p);
  ClickItem(Form5->PopupMenu1, Form5->Delete1);

  ASSERT_EQ(ui().texts(), (std::vector<std::string>{kConfirmDeleteText, SaveLnbPlanQuestion(s)}));
  ASSERT_EQ(ui().fileRequests.size(), 1u);
  const auto& req = ui().fileRequests[0];
  EXPECT_EQ(req.fileName, "Source3.lnb") << "the first free name in the current directory";
  EXPECT_EQ(req.defaultExt, ".lnb");
  EXPECT_EQ(req.filterIndex, 1);
  EXPECT_EQ(req.filter, "LNB file(*.lnb)|*.lnb|Terrestrial source file(*.ter)|*.ter");
  EXPECT_EQ(std::filesystem::path(req.initialDir), std::filesystem::current_path());
  EXPECT_EQ(SourceFileName, "Source3.lnb");
  std::string expected = "4410\r\n";
  for (int j = 1; j <= 31; ++j) {
    for (int b = 0; b < 4; ++b) {
      if (b) expected += "  ";
      expected += j <= 3 ? std::to_string(1000 + 100 * b + j) + "  " + std::to_string(60 + j) : "0  0";
    }
    expected += "\r\n";
  }
  EXPECT_EQ(test::FileBytes("Source3.lnb"), expected);
  EXPECT_EQ(test::FileBytes("Source2.lnb"), "taken");
}

// The source panel's grid may show another source (or nothing): the file holds the plan of the
// deleted antenna's own slot.
TEST_F(DeleteRotateWindowTest, DeletingAnAntennaWritesThePlanOfItsSlotWhateverThePanelShows) {
  OpenLarge("sources.stn");
  int fm = -1;
  for (int r : MainRows())
    if (NetObjects[static_cast<std::size_t>(r)][kKind] == 95) fm = r;
  ASSERT_GE(fm, 0);
  const int s = NetObjects[static_cast<std::size_t>(fm)][kInst];
  Form5->StringGrid2.setColCount(2);
  Form5->StringGrid1.setColCount(2);
  for (int r = 1; r <= 100; ++r) Form5->StringGrid1.setCell(0, r, "999");
  std::string expected = "4410\r\n";
  for (int i = 0; i < 100; ++i)
    expected += std::to_string(TerrTables[s][0][i]) + "  " + std::to_string(TerrTables[s][1][i]) + "\r\n";
  ASSERT_NE(TerrTables[s][0][0], 0);

  const std::optional<QPoint> p = ShowRow(fm);
  ASSERT_TRUE(p);
  ui().answers = {Answer::Ok, Answer::Yes};
  ui().files.push_back(FileDialogResult{"fm", 2});
  ui().fileRequests.clear();
  RightClick(*p);
  ClickItem(Form5->PopupMenu1, Form5->Delete1);
  ASSERT_EQ(ui().fileRequests.size(), 1u);
  EXPECT_EQ(ui().fileRequests[0].fileName, "Source1.ter");
  EXPECT_EQ(ui().fileRequests[0].filterIndex, 2);
  EXPECT_EQ(test::FileBytes("fm.ter"), expected);
  EXPECT_FALSE(TerrUsed[s]);
}

}  // namespace
}  // namespace kavrix
