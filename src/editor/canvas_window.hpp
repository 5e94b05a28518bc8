#pragma once
// The canvas window "New Network": the surface the network is drawn on, with its editing modes,
// painting, the click that commits edits, the property panels and the level display. Each group
// of handlers below is defined in the file named in its heading.
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QScrollBar;

#include "editor/canvas_state.hpp"
#include "editor/help_pictures.hpp"
#include "model/source_file.hpp"
#include "model/window_modes.hpp"
#include "platform/platform.hpp"
#include "symbols/canvas_surface.hpp"

namespace kavrix {

class TForm5 : public QWidget {
  Q_OBJECT
 public:
  explicit TForm5(QWidget* parent = nullptr);

  int Tag = kCanvasIdle;     // CanvasMode
  int HorzScrollRange = 0;   // scroll ranges in canvas pixels; the scroll bars follow at each paint
  int VertScrollRange = 0;
  QTimer* Timer1 = nullptr;  // auto-scroll
  QTimer* Timer2 = nullptr;  // level mark blinker

  // Synchronous repaint (the editor repaints after every change): rebuilds the back buffer and
  // copies it to the window. The back buffer is rebuilt even while the window is not shown.
  void Repaint();

  // ---- canvas window: creation, pointer, keys, timers, popup menu (canvas_window.cpp)
  QScrollBar* HorzScrollBar = nullptr;  // positions in canvas pixels
  QScrollBar* VertScrollBar = nullptr;
  // The drawing area: the window less its scroll bars.
  int ClientWidth() const;
  int ClientHeight() const;
  // Scroll bar ranges from HorzScrollRange / VertScrollRange and the client size.
  void SyncScrollBars();
  // The navigation overview hides the scroll bars.
  void ShowScrollBars(bool visible);

  QLabel* Label14 = nullptr;  // line hints
  QLabel* Label15 = nullptr;
  QMenu* PopupMenu1 = nullptr;
  QAction* Delete1 = nullptr;
  QAction* Rotate1 = nullptr;  // submenu holding N1 (a quarter turn back) and N2 (a quarter turn on)
  QAction* N1 = nullptr;
  QAction* N2 = nullptr;
  QAction* Copy1 = nullptr;
  QAction* Move1 = nullptr;
  HelpPictureList HelpImages;     // picture n belongs to help number n of the type catalogue
  QLabel* HelpImage = nullptr;    // the picture on show
  int HelpRow = 0;

  // Pointer and key handlers in client coordinates; the Qt events call them, tests may too.
  void FormMouseMove(bool leftHeld, int X, int Y);
  void FormMouseDown(Qt::MouseButton button, int X, int Y);
  void FormMouseUp(Qt::MouseButton button, int X, int Y);
  void FormKeyDown(int key);
  void FormKeyUp(int key);
  void FormMouseWheelDown();
  void FormMouseWheelUp();
  void Timer1Timer();
  void Copy1Click();
  void Move1Click();

  // ---- painting, blinker (canvas_paint.cpp)
  int BlinkPhase = 0;        // 0 or 1, toggled by each blink
  QImage Overview;           // the navigation view's whole drawing; empty outside the view
  void FormPaint();          // rebuilds the back buffer from the object rows
  void Timer2Timer();        // one blink: toggles the phase and repaints
  static bool HasBlinkMarks();  // any level mark or out-of-limit socket end to blink
  // Fill of a level mark in `phase` over the pixel `under`; `current` for an unknown mark kind.
  static TColor MarkColour(int kind, int phase, TColor under, TColor current);
  // Fill of a socket end for a status digit in `phase`; none for digits that are not marked.
  static std::optional<TColor> StatusColour(int digit, int phase);

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
  void resizeEvent(QResizeEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void PaintOverview(Canvas& bb);
  void PaintDrawing(Canvas& bb, int w, int h);
  void PaintRunResults(Canvas& bb, const std::function<bool(int, int)>& inside);
  void PaintBlinkMarks(Canvas& bb);
  void UpdateUndoButton();
  void BuildPopupMenu();
  void PopupAt(int X, int Y);
  void ShowCaptionInFrame();
  void WatchFrame();
  void LayoutScrollBars();
  int ScrollBarExtent() const;
  bool m_bufferFresh = false;   // the back buffer was just rebuilt for this repaint
  bool m_clickPending = false;  // left button went down on the canvas: its release is a click
  int m_wheelDelta = 0;         // wheel angle not yet turned into scroll steps
  QWidget* m_frame = nullptr;   // top-level window whose title shows the caption
};

}  // namespace kavrix
