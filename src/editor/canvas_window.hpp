#pragma once
// The canvas window "New Network": the surface the network is drawn on, with its editing modes,
// painting, the click that commits edits, the property panels and the level display. Each group
// of handlers below is defined in the file named in its heading.
#include <QImage>
#include <QTimer>
#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;

#include "editor/canvas_state.hpp"
#include "model/source_file.hpp"
#include "model/window_modes.hpp"
#include "platform/platform.hpp"

namespace kavrix {

class TForm5 : public QWidget {
  Q_OBJECT
 public:
  explicit TForm5(QWidget* parent = nullptr);

  int Tag = kCanvasIdle;     // CanvasMode
  int HorzScrollRange = 0;   // scroll ranges in canvas pixels
  int VertScrollRange = 0;
  QTimer* Timer1 = nullptr;  // auto-scroll
  QTimer* Timer2 = nullptr;  // level mark blinker

  // Synchronous repaint (the editor repaints after every change).
  void Repaint() { repaint(); }

  // ---- canvas window: creation, pointer, keys, timers, popup menu (canvas_window.cpp)
  QLabel* Label14 = nullptr;  // line hints
  QLabel* Label15 = nullptr;

  // ---- painting, blinker (canvas_paint.cpp, navigation_view.cpp)
  bool BlinkPhase = false;
  QImage Overview;           // the navigation view's picture; empty outside the view
  void Timer2Timer();        // one blink: toggles the phase and repaints the marks
  // Colour of a level mark or socket status marker in the current phase; invalid = not drawn.
  static QColor MarkColour(int kind, bool phase, QColor under);
  static QColor StatusColour(int digit, bool phase);

  // ---- click and commit, cable lines (canvas_click.cpp, line_snapping.cpp)
  // `sender` is informational (the Analyzer's refill passes the Analyzer); the pointer is read
  // through the platform cursor seam, so programmatic clicks act at the current pointer.
  void FormClick(QObject* sender);

  // ---- property panels and in-place editors (panel files)
  // Created by the panel code; other handlers only show, hide and read them.
  QLineEdit* Edit1 = nullptr;        // cable length
  QComboBox* ComboBox1 = nullptr;    // cable kind
  QWidget* UpDown1 = nullptr;        // attenuation stepper
  int UpDown1Tag = 0;
  QLabel* Label2 = nullptr;          // its value
  QPlainTextEdit* Memo1 = nullptr;   // comment editor
  QWidget* Panel1 = nullptr;         // source panel
  QWidget* Panel2 = nullptr;         // modulator / channel amplifier panel
  void FormDblClick(QObject* sender);
  void UpDown1Exit();        // stores the attenuation stepper into the object
  void ComboBox1Exit();      // cable kind list left
  void Button5Click();       // "Apply" of Panel2
  void Button15Click();      // "Update" of Panel12

  // ---- source panel: grid data and the plan file commands (source_panel_files.cpp)
  SourceGrid StringGrid1{8, 32};  // carrier grid: 8 columns (LNB) or 2 (terrestrial), row 0 headers
  SourceGrid StringGrid2{5, 5};   // header grid; its column count tells the mode: 5 LNB, 2 terrestrial
  platform::FileDialogRequest SaveDialog1{"LNB file(*.lnb)|*.lnb|Terrestrial source file(*.ter)|*.ter", ".lnb",
                                          "Source.lnb", "", 1};
  bool SourcePanelIsLnb() const { return StringGrid2.colCount() == 5; }
  void Button2Click();                 // "Apply" of the source panel
  void Button3Click(QObject* sender);  // "Save to file"
  void Button4Click(QObject* sender);  // "Import data"

  // ---- deleting and rotating (delete_rotate.cpp)
  void Delete1Click();
  void N1Click();
  void N2Click();

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace kavrix
