#pragma once
// The main window: frame of the program with its menus, status bar and the project commands
// (New/Close, Open, Save, Save As, Exit, About, Help, Options). Handlers translate: they ask
// through the platform seams, call the project functions and update the other windows.
#include <QImage>
#include <QMainWindow>
#include <array>
#include <string>

#include "catalogue/model_names.hpp"
#include "platform/platform.hpp"
#include "symbols/canvas_surface.hpp"

class QAction;
class QMenu;
class QToolBar;
class QStatusBar;

namespace kavrix {

class PaletteBar;

// The canvas's off-screen drawing buffer, made by the main window at its client size + 100.
extern Bitmap BackBuffer;

// Window title: "Kavrix_v" + the program version (4410 gives 4.4.1).
QString MainWindowTitle();
// Version as the About text gives it (4410 gives 4.4.1, 4400 gives 4.4).
std::string AboutVersionText(int version);

class TForm1 : public QMainWindow {
  Q_OBJECT
 public:
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  // Commands. Those returning bool report whether the command went through (false: the user
  // cancelled or the save failed).
  bool Close1Click();
  bool Save1Click();
  void Open1Click();
  void SaveAs1Click();
  bool Exit1Click();
  // The picture under `path` with ".bmp" in place of its last four characters.
  void S1Click(const std::string& path);
  void About1Click();
  void Help2Click();
  void Options1Click();
  void SaveActionUpdate();
  // Close check of the save dialog: the project name the chosen file name stands for.
  std::string SaveDialog1CanClose(const std::string& fileName) const;
  // The save question; false when the command must stop (Yes, then nothing was saved; or the
  // question closed unanswered).
  bool AskSaveProject();

  QStatusBar* StatusBar1 = nullptr;
  QAction* Open1 = nullptr;
  QAction* Save1 = nullptr;
  QAction* SaveAs1 = nullptr;
  QAction* S1 = nullptr;
  QAction* Close1 = nullptr;
  QAction* Exit1 = nullptr;
  QAction* Options1 = nullptr;
  QAction* About1 = nullptr;
  QAction* Help2 = nullptr;
  QAction* SaveAction = nullptr;
  // Edit and run commands and the toolbar; a toolbar button's Click is its action's trigger().
  QToolBar* ToolBar1 = nullptr;
  QMenu* Edit1 = nullptr;
  QAction* Undo1 = nullptr;
  QAction* RFAnalyze1 = nullptr;    // "&Run" > "RF Analyze"
  QAction* ToolButton5 = nullptr;   // "RF Analyze"
  QAction* ToolButton90 = nullptr;  // "Navigation ('Shift')"
  QAction* ToolButton91 = nullptr;  // undo
  QAction* ToolButton86 = nullptr;  // "Tune"
  QAction* ToolButton93 = nullptr;  // "Returns controls to initial position"
  QAction* ToolButton94 = nullptr;  // "Adjustment with optimizing structure"
  QAction* Adjustingoflevels1 = nullptr;
  QAction* Optimizationofnetwork1 = nullptr;
  void ToolButton86Click();
  void ToolButton93Click();
  void Optimizationofnetwork1Click();
  // ToolButton94 shows OptimizeMode, the criteria of the next optimisation: its image index, down
  // while only satellite levels are watched, and a tool tip that names the criteria.
  void ShowOptimizeMode();
  int ToolButton90ImageIndex = 71;
  void Simulate1Click();            // the "RF Analyze" run (run_command.cpp)
  void ToolButton90Click();         // navigation view on/off (navigation_view.cpp)
  void Undo1Click();
  void Edit1Click();                // enables Undo1 when the menu opens

  // ---- palette, Draw menu and the Edit menu's commands (palette.cpp, placement_menus.cpp)
  QMenu* Draw1 = nullptr;
  QAction* Copy1 = nullptr;
  QAction* Move1 = nullptr;
  QAction* Delete1 = nullptr;
  PaletteBar* Palette = nullptr;  // on ToolBar1; ToolButton<id> is Palette->ToolButton(id)
  // Every placement command arms one kind; the palette buttons and the Draw items call it.
  void PlacementClick(int kind);
  void LNBIdeal1Click() { PlacementClick(91); }
  void TerrTV1Click() { PlacementClick(92); }
  void UHFantena1Click() { PlacementClick(93); }
  void VHFIII1Click() { PlacementClick(94); }
  void FMantena1Click() { PlacementClick(95); }
  void ToolButton63Click() { PlacementClick(100); }  // comment
  void Copy1Click();
  void Move1Click();
  void Delete1Click();
  void ToolBar1MouseMove();  // pointer over the palette: an open in-place editor is committed
  // ---- reports, calculator and documents (reports/report_menus.cpp)
  void Billofmaterials1Click();     // "Price Estimation"
  void PathLossCalculator1Click();
  void Catalog1Click();
  void CatalogRussian1Click();
  void HelpRussian1Click();
  QAction* Billofmaterials1 = nullptr;
  QAction* PathLossCalculator1 = nullptr;
  QAction* Catalog1 = nullptr;
  QAction* CatalogRussian1 = nullptr;
  QAction* HelpRussian1 = nullptr;
  // ---- printing and picture export (reports/drawing_print_commands.cpp)
  void S1Click();                   // "Save As Picture": the project's name, or one asked for
  void Print1Click();
  void PrintSetup1Click();
  QAction* Print1 = nullptr;
  QAction* PrintSetup1 = nullptr;
  QAction* ToolButtonPrint = nullptr;  // "Print"

  platform::FileDialogRequest OpenDialog1;
  platform::FileDialogRequest SaveDialog1;
  int ToolButton94ImageIndex = 76;
  bool Exited = false;

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  void FormCreate();
  void BuildMenus();
  void BuildPlacementCommands();  // palette, Draw menu, Edit menu items (placement_menus.cpp)
  void BuildReportMenus();
  void BuildPrintMenus();
  bool SaveProjectTo(const std::string& path);
  void ShowProjectInWindows();
};

}  // namespace kavrix
