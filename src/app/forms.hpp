#pragma once
// The program's six windows, created once at start-up in a fixed order (later windows read the
// earlier ones), and the services of windows whose own code comes with other commands.
#include <functional>
#include <string>

namespace kavrix {

class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TForm6;

extern TForm1* Form1;  // main window
extern TForm2* Form2;  // price window
extern TForm3* Form3;  // project options
extern TForm4* Form4;  // Analyzer
extern TForm5* Form5;  // canvas
extern TForm6* Form6;  // path-loss calculator

extern std::string StartDir;  // the directory current at start-up

// Each may stay empty; the commands that own these services fill them.
struct WindowHooks {
  std::function<void()> createDeviceGlyphs;                 // type symbols, once at start-up
  std::function<void()> leaveNavigation;                    // main window's navigation toggle
  std::function<void()> clearAnalyzerCharts;                // every series of both charts, filter 0
  std::function<void()> clearAnalyzerSeries0;               // first series of the level chart
  std::function<bool(const std::string&)> exportPicture;    // drawing as a bitmap file
  std::function<void()> releaseObsoletePaletteButtons;      // obsolete groups released as by the user
  std::function<void(bool)> showObsoleteFamilies;           // palette buttons and Draw menu entries
};
WindowHooks& Windows();

// Creates the windows in order: main, price, options, Analyzer, canvas, calculator, then runs
// what the canvas window's creation provides to the others (price list names, options applied).
void CreateApplicationWindows();
// Fills the model hooks and the table above with the symbol layer and the windows' services.
void InstallApplicationServices();
void DestroyApplicationWindows();

}  // namespace kavrix
