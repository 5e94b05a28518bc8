#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QToolBar>
#include <QToolButton>
#include <set>

#include "support/widget_click.hpp"
#include "app/main_window.hpp"
#include "app/palette.hpp"
#include "app/palette_table.hpp"
#include "catalogue/placement_defaults.hpp"
#include "editor/canvas_state.hpp"
#include "editor/canvas_window.hpp"
#include "editor/placement_commands.hpp"
#include "model/network_model.hpp"
#include "model/source_tables.hpp"
#include "model/window/options_window.hpp"
#include "support/app_guard.hpp"

namespace kavrix {
namespace {

using palette::Role;

void Click(QWidget* w) { test::ClickWidgetCentre(w); }

void CollectItems(QMenu* menu, std::vector<QAction*>& out) {
  for (QAction* a : menu->actions()) {
    if (a->menu()) CollectItems(a->menu(), out);
    else out.push_back(a);
  }
}

// The user can reach the item: it and every menu on its way are shown.
bool Reachable(QAction* item) {
  if (!item || !item->isVisible()) return false;
  for (QObject* p = item->parent(); auto* menu = qobject_cast<QMenu*>(p); p = p->parent())
    if (!menu->menuAction()->isVisible()) return false;
  return true;
}

int ContinuationRows(int row) {
  int n = 0;
  while (NetObjects[row + 1 + n][kKind] < 0) ++n;
  return n;
}

class PaletteTest : public ::testing::Test {
 protected:
  PaletteTest() {
    ResetCanvasState();
    Form1->show();
    QApplication::processEvents();
  }
  ~PaletteTest() override { ResetCanvasState(); }

  test::AppFixture app;
  platform::ScriptedPlatform& ui() { return app.ui.fake; }
  QToolButton* Button(int id) { return Form1->Palette->ToolButton(id); }
  std::vector<QAction*> DrawItems() {
    std::vector<QAction*> items;
    CollectItems(Form1->Draw1, items);
    return items;
  }
  QAction* DrawItem(int kind) {
    for (QAction* a : DrawItems())
      if (a->data().toInt() == kind) return a;
    return nullptr;
  }
  QToolButton* CommandButton(QAction* action) {
    for (QToolButton* b : Form1->Palette->findChildren<QToolButton*>())
      if (b->defaultAction() == action) return b;
    return nullptr;
  }
  // Every visible palette button.
  std::vector<QToolButton*> Shown() {
    std::vector<QToolButton*> out;
    for (QToolButton* b : Form1->Palette->findChildren<QToolButton*>())
      if (b->isVisible()) out.push_back(b);
    return out;
  }
  void ExpectArmed(int kind) {
    EXPECT_EQ(PendingKind, kind);
    const ObjRow& head = NetObjects[CurObject];
    EXPECT_EQ(head[kKind], kind);
    const PlacementDefaults* d = FindPlacementDefaults(kind);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(head[kOrient], d->orient == kFromLastSocket ? LastSocketOrient : d->orient) << kind;
    EXPECT_EQ(ContinuationRows(CurObject), DefaultContinuationRows(kind)) << kind;
  }
};

TEST_F(PaletteTest, StartUpShowsTheCommandsTheSourcesAndTheCategories) {
  for (const palette::ButtonDef& def : palette::PaletteButtons())
    EXPECT_EQ(Button(def.id)->isVisible(), def.show == palette::Show::kAlways) << def.id;
  // Bar order: open, save, undo, navigation, the sources ...; the run commands, then the comment.
  const std::vector<QWidget*> order{CommandButton(Form1->Open1),        CommandButton(Form1->SaveAction),
                                    CommandButton(Form1->ToolButton91), CommandButton(Form1->ToolButton90),
                                    Button(8),                          Button(15),
                                    Button(177),                        CommandButton(Form1->ToolButton5),
                                    CommandButton(Form1->ToolButton86), CommandButton(Form1->ToolButton93),
                                    CommandButton(Form1->ToolButton94), Button(63)};
  for (std::size_t i = 0; i + 1 < order.size(); ++i) {
    ASSERT_NE(order[i], nullptr) << i;
    const QWidget* a = order[i];
    const QWidget* b = order[i + 1];
    EXPECT_TRUE(a->y() < b->y() || (a->y() == b->y() && a->x() < b->x())) << i;
  }
  EXPECT_TRUE(Form1->ToolBar1->actions().contains(Form1->ToolButton5)) << "the bar still lists its commands";
}

// Commands another window's builder adds to the bar later still appear, among the palette's
// buttons; such a command used to land after Undo and Navigation instead of beside Save.
TEST_F(PaletteTest, ACommandAddedToTheBarLaterJoinsThePalette) {
  int fired = 0;
  QAction* print = Form1->ToolBar1->addAction("Print", Form1, [&] { ++fired; });
  QApplication::processEvents();
  QToolButton* b = CommandButton(print);
  ASSERT_NE(b, nullptr);
  EXPECT_TRUE(b->isVisible());
  const std::vector<QWidget*> order{CommandButton(Form1->SaveAction), b, CommandButton(Form1->ToolButton91),
                                    CommandButton(Form1->ToolButton90), Button(8)};
  for (std::size_t i = 0; i + 1 < order.size(); ++i) {
    EXPECT_EQ(order[i]->y(), order[i + 1]->y()) << i;
    EXPECT_LT(order[i]->x(), order[i + 1]->x()) << i;
  }
  Click(b);
  EXPECT_EQ(fired, 1);
}

TEST_F(PaletteTest, EachCategoryArmsItsDevicesFromThePalette) {
  struct Case {
    int category, group, device, kind;
  };
  const Case cases[] = {{105, 0, 174, 29},   {97, 0, 30, 60},     {71, 99, 107, 101},  {71, 109, 23, 131},
                        {71, 112, 21, 14},   {122, 43, 133, 105}, {122, 153, 157, 168}, {61, 0, 170, 184},
                        {89, 0, 131, 84},    {177, 0, 178, 159}};
  for (const Case& c : cases) {
    if (Form1->Palette->CategoryTag(c.category) == 0) Click(Button(c.category));
    if (c.group && !Button(c.group)->isChecked()) Click(Button(c.group));
    Click(Button(c.device));
    ExpectArmed(c.kind);
  }
  EXPECT_EQ(NetObjects[CurObject][kInst], 0);
  // The modulator brings its TV standard, "Europe", and that standard's channels into the canvas's lists.
  Form5->ComboBox6->setCurrentIndex(Form5->ComboBox6->count() - 1);
  Click(Button(191));
  ExpectArmed(97);
  ASSERT_EQ(Form5->ComboBox6->count(), 5);
  EXPECT_EQ(Form5->ComboBox6->currentText(), "Europe");
  EXPECT_EQ(Form5->ComboBox2To5[0]->currentIndex(), 0);
  EXPECT_EQ(Form5->ComboBox2To5[0]->currentText(), "5");
  Click(Button(170));
  EXPECT_EQ(NetObjects[CurObject][kInst], 10000);
  EXPECT_EQ(CurObject, 0) << "arming never commits";
  EXPECT_TRUE(ui().messages.empty());
}

TEST_F(PaletteTest, SourceLineSocketAndCommentButtons) {
  if (!Form5->Label14) Form5->Label14 = new QLabel(Form5);
  Form5->Label14->hide();
  Click(Button(8));
  ExpectArmed(91);
  EXPECT_TRUE(SatUsed[0]);
  Click(Button(28));
  ExpectArmed(201);
  EXPECT_FALSE(SatUsed[0]) << "the LNB was never placed: its slot is free again";
  EXPECT_TRUE(Form5->Label14->isVisibleTo(Form5));
  EXPECT_EQ(Form5->Label14->pos(), QPoint(Form5->width() - 350, 10));
  // The Shift hint goes with the trunk line: with a single cable or a socket armed instead, Shift
  // would switch the navigation view, not the arrangement the hint speaks of.
  Click(Button(22));
  ExpectArmed(203);
  EXPECT_FALSE(Form5->Label14->isVisibleTo(Form5));
  Click(Button(9));
  EXPECT_TRUE(Form5->Label14->isVisibleTo(Form5));
  LastSocketOrient = 4;
  Click(Button(15));
  ExpectArmed(210);
  EXPECT_FALSE(Form5->Label14->isVisibleTo(Form5));
  Click(Button(63));
  ExpectArmed(100);
  EXPECT_EQ(ItemTexts[NetObjects[CurObject][kInst]], "Double click and enter a text");
}

TEST_F(PaletteTest, FifthLnbAndFifthAntennaAreRefusedWithTheirMessages) {
  SatUsed.fill(true);
  Click(Button(8));
  ASSERT_EQ(ui().messages.size(), 1u);
  EXPECT_EQ(ui().messages[0].caption, "Note");
  EXPECT_EQ(ui().messages[0].text, "This application supports networks with no more than four LNB components!");
  EXPECT_EQ(PendingKind, 0);
  TerrUsed.fill(true);
  for (int id : {25, 160, 161, 162}) Click(Button(id));
  ASSERT_EQ(ui().messages.size(), 5u);
  EXPECT_EQ(ui().messages[4].caption, "");
  EXPECT_EQ(ui().lastText(), "The number of antenna components must be up to 4");
  EXPECT_EQ(NetObjects[0], ObjRow{});
  // Every comment text slot handed out: the comment is refused rather than written past the table.
  ItemTextCount = kItemTextSlots;
  Click(Button(63));
  ASSERT_EQ(ui().messages.size(), 6u);
  EXPECT_EQ(ui().lastText(), kCommentLimitMessage);
  EXPECT_EQ(PendingKind, 0);
  EXPECT_EQ(ItemTextCount, kItemTextSlots);
  EXPECT_EQ(NetObjects[0], ObjRow{});
}

TEST_F(PaletteTest, NavigationModeIgnoresThePalette) {
  Form5->Tag = kCanvasNavigation;
  Click(Button(8));
  DrawItem(45)->trigger();
  EXPECT_EQ(PendingKind, 0);
  EXPECT_FALSE(SatUsed[0]);
  EXPECT_TRUE(ui().messages.empty());
  Form5->Tag = kCanvasIdle;
}

TEST_F(PaletteTest, EveryDrawItemArmsItsKind) {
  int items = 0;
  for (QAction* a : DrawItems()) {
    const int kind = a->data().toInt();
    if (!FindPlacementDefaults(kind)) continue;
    a->setVisible(true);  // obsolete entries too
    a->trigger();
    ExpectArmed(kind);
    ++items;
  }
  EXPECT_GT(items, 150);
  // The 9-cable "Pold-Series" holds an item that runs no command.
  CancelPlacement();
  QAction* unbound = DrawItem(16);
  ASSERT_NE(unbound, nullptr);
  EXPECT_EQ(unbound->text(), "Pold1");
  unbound->trigger();
  EXPECT_EQ(PendingKind, 0);
}

// Every device button and Draw item arms a kind with defaults, and every kind with defaults has a
// control; the exceptions are the stored layout's own.
TEST_F(PaletteTest, PaletteAndDrawMenuCoverTheDefaultsTable) {
  std::set<int> withDefaults, onPalette, inMenu;
  for (int k = 1; k <= 220; ++k)
    if (FindPlacementDefaults(k)) withDefaults.insert(k);
  for (const palette::ButtonDef& def : palette::PaletteButtons()) {
    if (def.kind == 0) continue;
    EXPECT_TRUE(withDefaults.count(def.kind)) << "ToolButton" << def.id;
    onPalette.insert(def.kind);
  }
  for (QAction* a : DrawItems()) {
    const int kind = a->data().toInt();
    EXPECT_TRUE(withDefaults.count(kind) || kind == 16) << a->text().toStdString();
    inMenu.insert(kind);
  }
  std::set<int> paletteOnly, menuOnly, neither;
  for (int k : withDefaults) {
    EXPECT_STRNE(palette::PlacementCommandName(k), "") << k;
    if (onPalette.count(k) && !inMenu.count(k)) paletteOnly.insert(k);
    if (!onPalette.count(k) && inMenu.count(k)) menuOnly.insert(k);
    if (!onPalette.count(k) && !inMenu.count(k)) neither.insert(k);
  }
  EXPECT_EQ(paletteOnly, (std::set<int>{100}));
  EXPECT_EQ(menuOnly, (std::set<int>{17, 18, 19, 20, 23, 24, 25, 30}));
  EXPECT_EQ(neither, (std::set<int>{103, 104, 186})) << "handlers with no control";
}

TEST_F(PaletteTest, CaptionsHintsAndNamesAsStored) {
  EXPECT_EQ(Button(105)->text(), "ccessories");
  EXPECT_EQ(Button(100)->toolTip(), "Splitters and Taps made in die-casd housing");
  EXPECT_EQ(Button(112)->toolTip(), "5-input Lines  Multiswitches powered with external powe supply");
  EXPECT_EQ(Button(72)->toolTip(), "Medium power huose amplifier");
  EXPECT_EQ(Form1->Draw1->title(), "&Draw");
  EXPECT_EQ(Form1->Edit1->title(), "Edit");
  const QList<QAction*> menus = Form1->menuBar()->actions();
  EXPECT_EQ(menus.indexOf(Form1->Draw1->menuAction()), menus.indexOf(Form1->Edit1->menuAction()) + 1);
  QAction* trunk = DrawItem(201);
  ASSERT_NE(trunk, nullptr);
  EXPECT_EQ(trunk->objectName(), "N5cableTrunkLines1");
  EXPECT_EQ(DrawItem(92)->objectName(), "TerrTV1");
  EXPECT_EQ(DrawItem(92)->text(), "CATV");
  EXPECT_EQ(DrawItem(30)->text(), "Power Supply");
  EXPECT_EQ(DrawItem(98)->text(), "Load with DC block");
  EXPECT_EQ(DrawItem(131)->text(), "Gavn1");
  auto* amplifiers = qobject_cast<QMenu*>(DrawItem(51)->parent());
  ASSERT_NE(amplifiers, nullptr);
  EXPECT_EQ(amplifiers->title(), "Amplfiers");
}

// A right click on the palette used to offer the main window's tool-bar menu, whose one item hid
// the whole palette with nothing left to right-click to bring it back.
TEST_F(PaletteTest, ARightClickCannotHideThePalette) {
  for (QWidget* w : {static_cast<QWidget*>(Button(8)), static_cast<QWidget*>(Form1->Palette),
                     static_cast<QWidget*>(Form1->ToolBar1)}) {
    const QPoint at(2, 2);
    QContextMenuEvent e(QContextMenuEvent::Mouse, at, w->mapToGlobal(at));
    QApplication::sendEvent(w, &e);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << w->objectName().toStdString();
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
  }
  EXPECT_TRUE(Form1->Palette->isVisible());
}

TEST_F(PaletteTest, ClosingACategoryClosesItsOpenGroupsFirst) {
  Click(Button(71));
  EXPECT_EQ(Form1->Palette->CategoryTag(71), 1);
  EXPECT_TRUE(Button(71)->isChecked());
  Click(Button(109));
  for (int id : {23, 115, 117, 119, 120}) EXPECT_TRUE(Button(id)->isVisible()) << id;
  Click(Button(71));
  EXPECT_EQ(Form1->Palette->CategoryTag(71), 0);
  EXPECT_FALSE(Button(109)->isChecked());
  for (int id : {109, 23, 115, 117, 119, 120}) EXPECT_FALSE(Button(id)->isVisible()) << id;
  Click(Button(71));
  for (int id : {99, 26, 109, 54, 100, 112, 158}) {
    EXPECT_TRUE(Button(id)->isVisible()) << id;
    EXPECT_FALSE(Button(id)->isChecked()) << id;
  }
  EXPECT_FALSE(Button(23)->isVisible());
  // A group closing hides its obsolete devices too.
  Click(Button(99));
  Button(19)->show();
  Click(Button(99));
  EXPECT_FALSE(Button(19)->isVisible());
}

TEST_F(PaletteTest, RetiredButtonsNeverAppearWhileObsoleteComponentsAreOff) {
  for (const palette::ButtonDef& def : palette::PaletteButtons())
    if (def.role == Role::kCategory && def.show == palette::Show::kAlways) Click(Button(def.id));
  for (const palette::ButtonDef& def : palette::PaletteButtons())
    if (def.role == Role::kGroup && Button(def.id)->isVisible()) Click(Button(def.id));
  for (int id : {106, 7, 98, 110, 111, 125, 126, 127, 56, 60, 19, 81, 49, 50, 24, 31, 38, 45, 12, 46, 51, 87})
    EXPECT_FALSE(Button(id)->isVisible()) << id;
  for (int kind : {55, 56, 1, 8, 51, 21, 31, 32, 53, 16, 17, 67, 68, 65, 77})
    EXPECT_FALSE(Reachable(DrawItem(kind))) << kind;
  for (int kind : {109, 101, 121, 131, 105, 116, 161, 171}) EXPECT_TRUE(Reachable(DrawItem(kind))) << kind;
}

TEST_F(PaletteTest, IncludeObsoleteComponentsShowsTheOldFamiliesOfOpenGroups) {
  Click(Button(105));
  Click(Button(71));
  Click(Button(99));
  Click(Button(122));
  Form3->CheckBox3->setChecked(true);
  // Changing the option releases the open obsolete groups as the user would.
  EXPECT_EQ(Form1->Palette->CategoryTag(105), 0);
  EXPECT_FALSE(Button(99)->isChecked());
  EXPECT_FALSE(Button(107)->isVisible());
  EXPECT_TRUE(Button(99)->isVisible()) << "its category stays open";
  Click(Button(105));
  Click(Button(99));
  Click(Button(122));
  Click(Button(43));
  Form3->Button1Click();
  for (int id : {56, 57, 58, 59, 60, 19, 81, 95, 20, 98, 111, 110, 49, 50}) EXPECT_TRUE(Button(id)->isVisible()) << id;
  for (int kind : {55, 26, 27, 28, 56, 1, 51, 50, 57, 52, 21, 31, 32, 53, 54, 16, 67, 68, 65, 77})
    EXPECT_TRUE(Reachable(DrawItem(kind))) << kind;
  // The old families' buttons carry their symbols once painted.
  Form1->grab();
  for (int id : {56, 19, 49}) EXPECT_FALSE(Button(id)->icon().isNull()) << id;
  Click(Button(111));
  EXPECT_TRUE(Button(31)->isVisible());
  Click(Button(56));
  ExpectArmed(55);
  // Closing the category takes its retired group buttons along, the 16-mm splitters' one too.
  Click(Button(71));
  for (int id : {98, 111, 110, 31}) EXPECT_FALSE(Button(id)->isVisible()) << id;
  Click(Button(71));
  Click(Button(99));
  Form3->Button1Click();

  Form3->CheckBox3->setChecked(false);
  Form3->Button1Click();
  for (int id : {56, 19, 49, 50, 98, 111, 110, 31}) EXPECT_FALSE(Button(id)->isVisible()) << id;
  EXPECT_FALSE(Reachable(DrawItem(55)));
  EXPECT_FALSE(Reachable(DrawItem(31)));
  EXPECT_TRUE(Reachable(DrawItem(109)));
}

TEST_F(PaletteTest, EditMenuFollowsTheUndoRingAndTheSelection) {
  const QList<QAction*> items = Form1->Edit1->actions();
  ASSERT_GE(items.size(), 4);
  EXPECT_EQ(items[0], Form1->Undo1);
  EXPECT_EQ(items[1], Form1->Copy1);
  EXPECT_EQ(items[2], Form1->Move1);
  EXPECT_EQ(items[3], Form1->Delete1);
  EXPECT_EQ(Form1->Copy1->text(), "Copy");

  auto open = [] { emit Form1->Edit1->aboutToShow(); };
  auto selection = [](bool on) {
    return Form1->Copy1->isEnabled() == on && Form1->Move1->isEnabled() == on && Form1->Delete1->isEnabled() == on;
  };
  SelRect = {};
  open();
  EXPECT_TRUE(selection(false));
  EXPECT_FALSE(Form1->Undo1->isEnabled());
  SelRect = {100, 150, 200, 205};  // 50 wide, 5 high
  open();
  EXPECT_TRUE(selection(true));
  SelRect = {100, 110, 200, 210};  // exactly 10 x 10 keeps the former state
  open();
  EXPECT_TRUE(selection(true));
  SelRect = {100, 105, 200, 205};
  open();
  EXPECT_TRUE(selection(false));
  SelRect = {100, 110, 200, 210};
  open();
  EXPECT_TRUE(selection(false));

  UndoRing[0] = {EditSerial, 1, 0, 0, 0, 0, 0, 0, 0};
  UndoPos = 1;
  open();
  EXPECT_TRUE(Form1->Undo1->isEnabled());

  SelRect = {100, 300, 200, 400};
  open();
  Form1->Copy1->trigger();
  EXPECT_EQ(CopyNotMove, 1);
  Form1->Move1->trigger();
  EXPECT_EQ(CopyNotMove, 0);
  SelRect = {};
}

// Look at palette.png in the test binary's directory: every category and group unfolded.
TEST_F(PaletteTest, UnfoldedPaletteWrapsWithoutOverlap) {
  for (const palette::ButtonDef& def : palette::PaletteButtons())
    if (def.role == Role::kCategory && def.show == palette::Show::kAlways) Click(Button(def.id));
  for (const palette::ButtonDef& def : palette::PaletteButtons())
    if (def.role == Role::kGroup && Button(def.id)->isVisible()) Click(Button(def.id));
  for (int width : {1024, 640}) {
    Form1->resize(width, 720);
    QApplication::processEvents();
    const QRect area = Form1->Palette->rect();
    const std::vector<QToolButton*> shown = Shown();
    EXPECT_GT(shown.size(), 120u);
    for (std::size_t i = 0; i < shown.size(); ++i) {
      EXPECT_TRUE(area.contains(shown[i]->geometry())) << shown[i]->objectName().toStdString() << " at " << width;
      for (std::size_t j = i + 1; j < shown.size(); ++j)
        EXPECT_FALSE(shown[i]->geometry().intersects(shown[j]->geometry()))
            << shown[i]->objectName().toStdString() << " / " << shown[j]->objectName().toStdString();
    }
    // The canvas starts below the palette.
    EXPECT_GE(Form5->mapTo(Form1, QPoint(0, 0)).y(), Form1->Palette->mapTo(Form1, QPoint(0, area.height())).y());
    const QImage shot = Form1->grab().toImage();
    const QString name = width == 1024 ? "palette.png" : "palette_narrow.png";
    EXPECT_TRUE(shot.save(QDir(QCoreApplication::applicationDirPath()).filePath(name), "PNG"));
  }
}

}  // namespace
}  // namespace kavrix
