#pragma once
// Drawing on the shown canvas as a user does: palette buttons, pointer moves, presses and releases,
// keys. The pointer is placed through the scripted platform's cursor, where the canvas click reads
// it, and every event is sent to the real windows. DrawingState is what an edit may change and undo
// must give back.
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <QToolButton>
#include <array>
#include <ostream>
#include <vector>

#include "support/widget_click.hpp"
#include "app/palette.hpp"
#include "catalogue/geometry.hpp"
#include "catalogue/port_templates.hpp"
#include "catalogue/type_catalogue.hpp"
#include "editor/canvas_fixture.hpp"
#include "editor/canvas_state.hpp"
#include "model/source_tables.hpp"
#include "model/undo_ring.hpp"

namespace kavrix {
inline void PrintTo(const Point& p, std::ostream* os) { *os << '(' << p.x << ", " << p.y << ')'; }
}  // namespace kavrix

namespace kavrix::test {

// Rows past the table's last non-zero row count as zero, whatever the array's length; the tables
// of a source slot count only while the slot is in use.
struct DrawingState {
  std::vector<ObjRow> rows;
  int curObject = 0;
  int objectCount = 0;
  std::array<bool, kSatSlots> satUsed{};
  std::array<bool, kTerrSlots> terrUsed{};
  decltype(LnbParams) lnbParams{};
  decltype(SatTables) satTables{};
  decltype(TerrParams) terrParams{};
  decltype(TerrTables) terrTables{};
  bool operator==(const DrawingState&) const = default;

  static DrawingState Take() {
    DrawingState m;
    std::size_t end = NetObjects.size();
    while (end > 0 && NetObjects[end - 1] == ObjRow{}) --end;
    m.rows.assign(NetObjects.begin(), NetObjects.begin() + static_cast<std::ptrdiff_t>(end));
    m.curObject = CurObject;
    m.objectCount = ObjectCount;
    m.satUsed = SatUsed;
    m.terrUsed = TerrUsed;
    for (int s = 0; s < kSatSlots; ++s)
      if (SatUsed[s]) {
        m.lnbParams[s] = LnbParams[s];
        m.satTables[s] = SatTables[s];
      }
    for (int s = 0; s < kTerrSlots; ++s)
      if (TerrUsed[s]) {
        m.terrParams[s] = TerrParams[s];
        m.terrTables[s] = TerrTables[s];
      }
    return m;
  }
};

inline std::ostream& operator<<(std::ostream& os, const DrawingState& m) {
  os << "CurObject " << m.curObject << ", ObjectCount " << m.objectCount << ", rows:";
  for (const ObjRow& r : m.rows) os << " [" << r[0] << ' ' << r[1] << ' ' << r[2] << ' ' << r[3] << ' ' << r[4] << ' ' << r[5] << ']';
  return os;
}

class ClickTest : public CanvasTest {
 protected:
  void SetUp() override {
    Form1->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form1));
    Form5->VertScrollRange = 3000;
    Form5->HorzScrollRange = 3000;
    Form5->Repaint();
  }

  static QPoint Client(int x, int y) { return {x - ScrollX, y - ScrollY}; }

  // Pointer to canvas point (x, y): the cursor goes there, then the canvas hears the move.
  void MoveTo(int x, int y, Qt::MouseButtons held = Qt::NoButton) {
    const QPoint p = Client(x, y);
    const QPoint g = Form5->mapToGlobal(p);
    ui().cursorX = g.x();
    ui().cursorY = g.y();
    QMouseEvent e(QEvent::MouseMove, p, g, Qt::NoButton, held, Qt::NoModifier);
    QApplication::sendEvent(Form5, &e);
  }
  void Press(int x, int y, Qt::MouseButton b = Qt::LeftButton) {
    const QPoint p = Client(x, y);
    QMouseEvent e(QEvent::MouseButtonPress, p, Form5->mapToGlobal(p), b, b, Qt::NoModifier);
    QApplication::sendEvent(Form5, &e);
  }
  void Release(int x, int y, Qt::MouseButton b = Qt::LeftButton) {
    const QPoint p = Client(x, y);
    QMouseEvent e(QEvent::MouseButtonRelease, p, Form5->mapToGlobal(p), b, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(Form5, &e);
  }
  void ClickAt(int x, int y) {
    MoveTo(x, y);
    Press(x, y);
    Release(x, y);
  }
  // A double click as the platform delivers it: press, release, double-click press, release.
  void DoubleClickAt(int x, int y) {
    ClickAt(x, y);
    SecondClickAt(x, y);
  }
  void SecondClickAt(int x, int y) {
    const QPoint p = Client(x, y);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, p, Form5->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(Form5, &dbl);
    Release(x, y);
  }
  // A left drag from one point to another, released there.
  void DragTo(int x0, int y0, int x1, int y1) {
    MoveTo(x0, y0);
    Press(x0, y0);
    MoveTo(x1, y1, Qt::LeftButton);
    Release(x1, y1);
  }
  void Key(Qt::Key key) {
    QTest::keyPress(Form5, key);
    QTest::keyRelease(Form5, key);
  }

  // A left click at the centre of a widget, as the user makes it.
  static void ClickWidget(QWidget* w) { ClickWidgetCentre(w); }
  static QToolButton* PaletteButton(int id) { return Form1->Palette->ToolButton(id); }
  // The palette button that shows a tool bar command.
  static QToolButton* CommandButton(QAction* action) {
    for (QToolButton* b : Form1->Palette->findChildren<QToolButton*>())
      if (b->defaultAction() == action) return b;
    return nullptr;
  }
  // Palette buttons clicked in order; a category already open or a group already down stays so.
  static void Palette(std::initializer_list<int> ids) {
    for (int id : ids) {
      QToolButton* b = PaletteButton(id);
      if (Form1->Palette->CategoryTag(id) == 1 || (b && b->isCheckable() && b->isChecked())) continue;
      ClickWidget(b);
    }
  }
  static void Undo() { ClickWidget(CommandButton(Form1->ToolButton91)); }

  // Pin of path `path` (0-based) of row `row`, placed as the node builder places it: from the
  // base point shifted by the terminal shift, then the turned offset.
  static Point Pin(int row, int path, bool output) {
    const ObjRow& o = NetObjects[static_cast<std::size_t>(row)];
    const TypeRecord& t = TypeOf(o[kKind]);
    const TemplateRow& r = PortTemplates[static_cast<std::size_t>(t[kFirstTemplateRow] + path)];
    const Point base = Point{o[kX], o[kY]} + Rotated(o[kOrient], 0, -t[kTerminalShift]);
    return output ? base + Rotated(o[kOrient], r[kTplOutDx], r[kTplOutDy]) : base + Rotated(o[kOrient], r[kTplInDx], r[kTplInDy]);
  }
};

}  // namespace kavrix::test
