#pragma once
// The canvas window "New Network": the surface the network is drawn on, with its editing modes,
// painting, the click that commits edits, the property panels and the level display. Each group
// of handlers below is defined in the file named in its heading.
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;

#include "editor/canvas_state.hpp"
#include "editor/help_pictures.hpp"
#include "model/source_file.hpp"
#include "model/window_modes.hpp"
#include "platform/platform.hpp"
#include "symbols/canvas_surface.hpp"

namespace kavrix {

class KnobStepper;
class SourceGridView;

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

  // in-place editors and the double-click dispatch (inline_editors.cpp)
  void CreatePanels();
  // Opens the editor(s) of row `row` for a double click at drawing point (x, y), as the double
  // click does after its hit test; false when nothing opened.
  bool OpenObjectEditor(int row, int x, int y);
  // The row the open editors belong to, or -1 when the object they were opened for is gone.
  // Commits use it rather than SelObject, which a right click moves meanwhile; the object is
  // followed by its kind and position when a delete or an undo moves it to another row.
  int EditedRow() const;
  int m_editRow = -1;
  int m_editKind = 0;
  int m_editX = 0;
  int m_editY = 0;
  int m_editCount = 0;  // ObjectCount when the editor opened
  KnobStepper* UpDown1Stepper = nullptr;  // UpDown1 as the stepper it is
  int KnobScale = 1;
  int KnobStartPos = 0;
  void Edit1Change();
  void Edit1KeyDown(int key);
  void ComboBox1KeyDown(int key);
  void UpDown1Click();
  // A panel that stored into the cell the open stepper edits: the stepper takes the stored
  // value, so that its later commit keeps what the panel stored.
  void KnobFollowsStoredValue();
  // Keeps the comment text within what its file holds: 100 characters, all of them 8-bit.
  void Memo1Change();
  void Memo1KeyDown(int key);
  // Commits of the cable and comment editors, shared by their Enter keys and the canvas click.
  void CommitCableEditor();
  void CommitCommentEditor();
  // Shows a panel at canvas client point (left, top), kept inside the window.
  void PlacePanel(QWidget* panel, int left, int top);
  QString m_lengthText;  // last length text the cable editor accepted
  int m_fractionAt = -1;  // where a typed decimal mark was cut off; -1 when none was

  // source panel (source_panel.cpp); the grids' stores are StringGrid1 and StringGrid2 below
  QLabel* Label3 = nullptr;          // "Channel power map (dBuV)"
  QLabel* Panel3 = nullptr;          // band headers
  QLabel* Panel4 = nullptr;
  QLabel* Panel5 = nullptr;
  QLabel* Panel6 = nullptr;
  QLabel* Panel7 = nullptr;          // "Terr.TV"
  SourceGridView* StringGrid1View = nullptr;
  SourceGridView* StringGrid2View = nullptr;
  QCheckBox* CheckBox1 = nullptr;    // "Use average values"
  QLineEdit* Edit2 = nullptr;        // LNB current
  QLabel* Label1 = nullptr;
  QGroupBox* RadioGroup1 = nullptr;  // "Outputs arrangement:"
  QRadioButton* RadioButton1 = nullptr;
  QRadioButton* RadioButton2 = nullptr;
  QPushButton* Button1 = nullptr;    // "Close"
  QPushButton* Button2 = nullptr;    // "Apply"
  QPushButton* Button3 = nullptr;    // "Save to file"
  QPushButton* Button4 = nullptr;    // "Import data"
  void CreateSourcePanel();
  bool OpenSourcePanel(int row);
  void CheckBox1Click();
  void Button1Click();
  void Edit2Change();
  void StringGrid1KeyDown(int key);
  void RefreshSourceGrids();         // views from the grids' stores
  int StringGrid1Tag = -1;           // row of the source being edited

  // streamer, converter and single-cable panels (device_panels.cpp)
  QFrame* Panel8 = nullptr;          // "Legacy outputs"
  QFrame* Panel9 = nullptr;          // IP streamers
  QFrame* Panel10 = nullptr;         // four-input converter
  QFrame* Panel11 = nullptr;         // 16-channel converter
  QLabel* Label13 = nullptr;
  std::array<QCheckBox*, 11> LegacyBoxes{};  // [n] = CheckBox n, n = 2..10
  QPushButton* Button7 = nullptr;
  QLabel* Label17 = nullptr;
  QLabel* Label18 = nullptr;
  QLabel* Label19 = nullptr;
  QLabel* Label20 = nullptr;
  QLabel* Label21 = nullptr;
  QLabel* Label22 = nullptr;
  QLabel* Label23 = nullptr;
  QLineEdit* Edit3 = nullptr;        // LNB oscillators Lo, Hi
  QLineEdit* Edit4 = nullptr;
  QLineEdit* Edit5 = nullptr;        // input frequency
  QComboBox* ComboBox7 = nullptr;    // "LNB Power"
  QComboBox* ComboBox8 = nullptr;    // "Satellite"
  QComboBox* ComboBox9 = nullptr;    // "Polarization"
  QPushButton* Button8 = nullptr;    // "Cancel"
  QPushButton* Button9 = nullptr;    // "Apply"
  // Row i (1..16) of the 16-channel panel: ComboBox(10+i), MaskEdit i, Edit(11+i),
  // ComboBox(27+i), ComboBox(44+i), CheckBox(10+i).
  struct ConverterRowControls {
    QComboBox* input = nullptr;
    QLineEdit* inputMHz = nullptr;
    QLineEdit* output = nullptr;
    QComboBox* channel = nullptr;
    QComboBox* trim = nullptr;
    QCheckBox* enable = nullptr;
  };
  std::array<ConverterRowControls, 17> Panel11Rows{};  // [0] unused
  QLabel* Label16 = nullptr;
  QLineEdit* MaskEdit18 = nullptr;   // LNB LO Lo, Hi, Aux
  QLineEdit* MaskEdit19 = nullptr;
  QLineEdit* MaskEdit20 = nullptr;
  QComboBox* ComboBox27 = nullptr;   // attenuator
  QPushButton* Button12 = nullptr;   // "Cancel"
  QPushButton* Button13 = nullptr;   // "Update"
  QLineEdit* Edit6 = nullptr;        // output bandwidth
  QLineEdit* Edit7 = nullptr;        // output frequency
  std::array<QLineEdit*, 4> Edit8To11{};  // input frequencies
  QComboBox* ComboBox10 = nullptr;   // input bandwidth
  KnobStepper* UpDown6 = nullptr;
  QLabel* Label26 = nullptr;
  QPushButton* Button10 = nullptr;   // "Cancel"
  QPushButton* Button11 = nullptr;   // "Apply"
  void CreateDevicePanels();
  bool OpenStreamerPanel(int row);
  bool OpenConverter16Panel(int row);
  bool OpenConverter4Panel(int row);
  bool OpenLegacyOutputsPanel(int row);
  void Button7Click();
  void Button8Click();
  void Button9Click();
  void Button10Click();
  void Button11Click();
  void Button12Click();
  void Button13Click();
  void ConverterChannelChange(int channel);  // ComboBox28Change .. ComboBox43Change
  void UpDown6Click();

  // channel amplifier and modulator panels (modulator_panels.cpp)
  QLabel* Label12 = nullptr;
  QComboBox* ComboBox6 = nullptr;    // mode or TV standard
  std::array<QLabel*, 4> Label4To7{};        // "F1".."F4"
  std::array<QComboBox*, 4> ComboBox2To5{};  // channel lists; [0] is ComboBox2
  std::array<KnobStepper*, 4> UpDown2To5{};
  std::array<QLabel*, 4> Label8To11{};       // stepper values
  QPushButton* Button5 = nullptr;    // "Apply"
  QPushButton* Button6 = nullptr;    // "Cancel"
  QFrame* Panel12 = nullptr;         // DVB modulator
  QComboBox* ComboBox44 = nullptr;   // step (bandwidth)
  QComboBox* ComboBox61 = nullptr;   // attenuator
  QLineEdit* Edit28 = nullptr;
  QLineEdit* Edit29 = nullptr;
  QComboBox* ComboBox62 = nullptr;
  QComboBox* ComboBox63 = nullptr;
  QCheckBox* CheckBox27 = nullptr;
  QCheckBox* CheckBox28 = nullptr;
  QPushButton* Button14 = nullptr;   // "Cancel"
  QPushButton* Button15 = nullptr;   // "Update"
  void CreateModulatorPanels();
  bool OpenChannelPanel(int row);
  bool OpenDvbModulatorPanel(int row);
  void Button6Click();
  void Button14Click();
  void ComboBox6Exit();
  void ComboBox62Change();
  // Project loading: the kind-97 lists with standard `item` selected.
  void SelectTvStandard(int item);
  int m_channelListMode = -1;  // mode or standard the channel lists were filled for

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
  void childEvent(QChildEvent* event) override;

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
  bool m_pressOutsideSelection = false;  // that press went down outside a made selection
  int m_wheelDelta = 0;         // wheel angle not yet turned into scroll steps
  QWidget* m_frame = nullptr;   // top-level window whose title shows the caption
};

}  // namespace kavrix
