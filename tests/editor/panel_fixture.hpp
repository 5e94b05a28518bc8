#pragma once
// Panel tests run against the real canvas window with every application window created,
// objects placed with the defaults their palette command gives them, and the model compared
// as a whole before and after an edit and its undo.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QFont>
#include <QDir>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <string>
#include <vector>

#include "app/forms.hpp"
#include "catalogue/placement_defaults.hpp"
#include "editor/canvas_state.hpp"
#include "editor/canvas_window.hpp"
#include "model/network_model.hpp"
#include "model/source_tables.hpp"
#include "model/undo_ring.hpp"
#include "support/app_guard.hpp"
#include "symbols/canvas_surface.hpp"
#include "symbols/glyph_store.hpp"
#include "symbols/object_glyphs.hpp"

namespace kavrix::test {

// Everything an editor command may change.
struct ModelState {
  std::vector<ObjRow> rows = NetObjects;
  decltype(SatTables) sat = SatTables;
  decltype(LnbParams) lnb = LnbParams;
  decltype(TerrTables) terr = TerrTables;
  decltype(TerrParams) terrParams = TerrParams;
  bool operator==(const ModelState&) const = default;
};

// A committed object of `kind` at (x, y) holding what its placement command writes.
inline int PlaceDefault(int kind, int x, int y) {
  const PlacementDefaults* d = FindPlacementDefaults(kind);
  EXPECT_NE(d, nullptr) << kind;
  auto value = [](int32_t v) {
    if (v == kFromLastSocket) return LastSocketOrient;
    if (v == kFromCableKind) return static_cast<int32_t>(CurCableKind);
    return v == kNotWritten ? 0 : v;
  };
  const int row = AddObject(kind, x, y, value(d->inst), value(d->orient), value(d->style));
  for (const DefaultRow& c : d->continuation)
    AddContinuation(value(c[1]), value(c[2]), value(c[3]), value(c[4]), value(c[5]), value(c[0]));
  RebuildObjectGlyph(row);
  return row;
}

// An LNB in slot 0 with the default plan of the palette command.
inline int PlaceLnb(int x, int y) {
  const int s = 0;
  SatUsed[s] = true;
  const int bands[4][5] = {{25, 80, 970, 1930, 1}, {26, 80, 1100, 2100, 220}, {25, 80, 990, 1950, 0},
                           {26, 80, 1120, 2120, 0}};
  for (int b = 0; b < 4; ++b) {
    for (int k = 0; k < 5; ++k) LnbParams[s][b][k] = bands[b][k];
    for (int i = 0; i < bands[b][0]; ++i) {
      SatTables[s][2 * b][i] = bands[b][2] + 40 * i;
      SatTables[s][2 * b + 1][i] = 80;
    }
  }
  const int row = AddObject(91, x, y, s, 1, 2);
  RebuildObjectGlyph(row);
  return row;
}

// A terrestrial source of kind 92..95 in slot `s` with the palette command's plan.
inline int PlaceAntenna(int kind, int x, int y, int s = 0) {
  struct Plan {
    int count, first, last, step, entries;
  };
  const Plan plans[] = {{53, 50, 862, 16, 52}, {30, 470, 790, 11, 30}, {12, 174, 230, 8, 12}, {20, 88, 108, 1, 21}};
  const Plan& p = plans[kind - 92];
  TerrUsed[s] = true;
  TerrParams[s] = {p.count, 75, p.first, p.last, 1};
  for (int i = 0; i < p.entries - 1; ++i) {
    TerrTables[s][0][i] = p.first + p.step * i;
    TerrTables[s][1][i] = 75;
  }
  TerrTables[s][0][p.entries - 1] = kind == 94 ? 260 : p.last;
  TerrTables[s][1][p.entries - 1] = 75;
  const int row = AddObject(kind, x, y, s);
  RebuildObjectGlyph(row);
  return row;
}

// A key press and release delivered to `w` as the window system would (event filters included).
inline void PressKey(QWidget* w, int key, const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QCoreApplication::sendEvent(w, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QCoreApplication::sendEvent(w, &release);
}

// Entries written since the fresh ring.
inline int UndoEntries() { return UndoPos; }

// Writes a picture of `w` into the build directory (or KAVRIX_ARTIFACT_DIR) for review.
inline void SaveShot(QWidget* w, const char* name, const QRect& area = QRect(QPoint(0, 0), QSize(-1, -1))) {
  const char* dir = std::getenv("KAVRIX_ARTIFACT_DIR");
  const QString path =
      QDir(dir ? QString::fromUtf8(dir) : QCoreApplication::applicationDirPath()).filePath(QString(name) + ".png");
  EXPECT_TRUE(w->grab(area).save(path, "PNG")) << path.toStdString();
}

// The application font of the running program, for the time of a test.
class ApplicationFont {
 public:
  ApplicationFont() : m_saved(QApplication::font()) { UseSymbolFontForApplication(8); }
  ~ApplicationFont() { QApplication::setFont(m_saved); }
  ApplicationFont(const ApplicationFont&) = delete;
  ApplicationFont& operator=(const ApplicationFont&) = delete;

 private:
  QFont m_saved;
};

class PanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetCanvasState();
    SelObject = 0;
    for (auto& slot : SatTables)
      for (auto& column : slot) column.fill(0);
    for (auto& slot : LnbParams)
      for (auto& band : slot) band.fill(0);
    Form5->resize(1000, 700);
  }
  TForm5& f() { return *Form5; }
  // Opens the editor of `row` as a double click at the object's own point does.
  bool Open(int row, int dx = 0, int dy = 0) {
    const ObjRow& o = NetObjects[static_cast<std::size_t>(row)];
    return Form5->OpenObjectEditor(row, o[kX] + dx, o[kY] + dy);
  }
  std::vector<std::string> Messages() { return app.ui->texts(); }
  const Bitmap& Glyph(int row) { return ObjGlyphAt(row); }

  // A mouse event at client point p, the platform cursor placed there first.
  void Send(QEvent::Type type, QPoint p, Qt::MouseButtons held) {
    const QPoint g = Form5->mapToGlobal(p);
    app.ui->cursorX = g.x();
    app.ui->cursorY = g.y();
    QMouseEvent e(type, QPointF(p), QPointF(g), Qt::LeftButton, held, Qt::NoModifier);
    QCoreApplication::sendEvent(Form5, &e);
  }
  // The event sequence of a double click at the canvas point (x, y).
  void DoubleClickAt(int x, int y) {
    const QPoint p(x - ScrollX, y - ScrollY);
    Send(QEvent::MouseButtonPress, p, Qt::LeftButton);
    Send(QEvent::MouseButtonRelease, p, Qt::NoButton);
    Send(QEvent::MouseButtonDblClick, p, Qt::LeftButton);
    Send(QEvent::MouseButtonRelease, p, Qt::NoButton);
  }

  ApplicationFont font;  // before the windows, which take it when created
  AppFixture app;
};

}  // namespace kavrix::test
