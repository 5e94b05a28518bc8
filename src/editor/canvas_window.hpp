#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>

#include "model/source_file.hpp"
#include "platform/platform.hpp"

namespace kavrix {

class TForm5 : public QWidget {
  Q_OBJECT
 public:
  explicit TForm5(QWidget* parent = nullptr);

  // ---- source panel: grid data and the plan file commands (source_panel_files.cpp)
  SourceGrid StringGrid1{8, 32};  // carrier grid: 8 columns (LNB) or 2 (terrestrial), row 0 headers
  SourceGrid StringGrid2{5, 5};   // header grid; its column count tells the mode: 5 LNB, 2 terrestrial
  platform::FileDialogRequest SaveDialog1{"LNB file(*.lnb)|*.lnb|Terrestrial source file(*.ter)|*.ter", ".lnb",
                                          "Source.lnb", "", 1};
  bool SourcePanelIsLnb() const { return StringGrid2.colCount() == 5; }
  void Button3Click(QObject* sender);  // "Save to file"
  void Button4Click(QObject* sender);  // "Import data"
  int Tag = 0;               // canvas mode; 10 and above: navigation view
  int HorzScrollRange = 0;   // scroll ranges in canvas pixels
  int VertScrollRange = 0;
  QTimer* Timer1 = nullptr;  // auto-scroll
  QTimer* Timer2 = nullptr;  // level mark blinker

  // ---- level-mark blinker and navigation view (navigation_view.cpp)
  bool BlinkPhase = false;
  QImage Overview;           // the navigation view's picture; empty outside the view
  void Timer2Timer();        // one blink: toggles the phase and repaints the marks
  // Colour of a level mark or socket status marker in the current phase; invalid = not drawn.
  static QColor MarkColour(int kind, bool phase, QColor under);
  static QColor StatusColour(int digit, bool phase);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace kavrix
