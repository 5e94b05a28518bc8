#pragma once

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
};

}  // namespace kavrix
