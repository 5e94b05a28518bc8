#include "app/main_window.hpp"

#include "app/undo_command.hpp"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLocale>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QTimer>
#include <filesystem>

#include "app/forms.hpp"
#include "editor/canvas_window.hpp"
#include "editor/placement_commands.hpp"
#include "model/committed_drawing.hpp"
#include "model/network_model.hpp"
#include "model/number_text.hpp"
#include "model/price_rows.hpp"
#include "model/project_file.hpp"
#include "model/project_options.hpp"
#include "model/source_file.hpp"
#include "model/source_tables.hpp"
#include "model/text_file.hpp"
#include "model/window/options_window.hpp"
#include "reports/document_commands.hpp"
#include "reports/price_window.hpp"
#include "simulation/structure_optimisation.hpp"
#include "simulation/window/analyzer_window.hpp"

namespace kavrix {

Bitmap BackBuffer;

namespace {

constexpr int kSilver = 0xC0C0C0;
constexpr int kLnbFilter = 2;
constexpr int kTerrFilter = 3;
constexpr int kPictureFilter = 4;

void ShowProjectCaption(const std::string& projectFileName) {
  if (Form5) Form5->setWindowTitle(QString::fromStdString(ProjectCaption(projectFileName)));
}

// An older version gets the plain note it always had; every other refusal is an error.
void ShowReadRefusal(const ProjectReadResult& r) {
  if (r.status == ProjectReadResult::Status::TooOld) platform::ShowMessage(r.message);
  else platform::ShowError("Error", r.message);
}

}  // namespace

QString MainWindowTitle() {
  const int v = FileVersion;
  if (BrandIndex == 1) return "Quorvalen_v" + QString::fromStdString(FormatGeneral(v / 1000.0));
  return QString("Kavrix_v%1.%2.%3").arg(v / 1000).arg(v % 1000 / 100).arg(v % 100 / 10);
}

std::string AboutVersionText(int version) {
  std::string text = FormatGeneral(version / 1000.0).substr(0, 3);
  const std::string digits = std::to_string(version);
  if (version % 100 != 0 && digits.size() >= 3) text += std::string(".") + digits[2];
  return text;
}

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
  resize(1024, 720);
  StatusBar1 = statusBar();
  Hooks().statusText = [this](const std::string& s) { StatusBar1->showMessage(QString::fromStdString(s)); };
  OpenDialog1.filter = "Kavrix file (.stn)|*.stn|LNB file (.lnb)|*.lnb|Terrestrial source file (.ter)|*.ter";
  OpenDialog1.defaultExt = "*.stn";
  SaveDialog1.filter =
      "Kavrix file (*.stn)|*.STN|LNB file(*.lnb)|*.lnb|Terrestrial source file(*.ter)|*.ter|"
      "Network as Picture(*.bmp)|*.bmp";
  SaveDialog1.defaultExt = ".stn";
  SaveDialog1.fileName = "Network1.stn";
  Hooks().saveDialogName = [this](const std::string& s) { SaveDialog1.fileName = s; };
  BuildMenus();
  FormCreate();
}

TForm1::~TForm1() {
  Hooks().statusText = nullptr;
  Hooks().saveDialogName = nullptr;
}

void TForm1::BuildMenus() {
  QMenu* file = menuBar()->addMenu("&File");
  Open1 = file->addAction("&Open...", this, [this] { Open1Click(); });
  Save1 = file->addAction("&Save", this, [this] { Save1Click(); });
  SaveAction = Save1;
  SaveAs1 = file->addAction("Save &As...", this, [this] { SaveAs1Click(); });
  S1 = file->addAction("Save As Picture", this, [this] { S1Click(); });
  Close1 = file->addAction("Close", this, [this] { Close1Click(); });
  file->addSeparator();
  Exit1 = file->addAction("E&xit", this, [this] { Exit1Click(); });
  Edit1 = menuBar()->addMenu("Edit");
  Undo1 = Edit1->addAction("Undo", this, [this] { Undo1Click(); });
  connect(Edit1, &QMenu::aboutToShow, this, [this] { Edit1Click(); });
  QMenu* run = menuBar()->addMenu("&Run");
  RFAnalyze1 = run->addAction("RF Analyze", this, [this] { Simulate1Click(); });
  Adjustingoflevels1 = run->addAction("Adjustment of levels", this, [this] { ToolButton86Click(); });
  Optimizationofnetwork1 =
      run->addAction("Adjustment with optimizing structure", this, [this] { Optimizationofnetwork1Click(); });
  Options1 = menuBar()->addAction("&Options", this, [this] { Options1Click(); });
  ToolBar1 = addToolBar("Palette");
  // The toolbar's "Open" and "Save" run the same commands; "Save" shares SaveAction's state.
  ToolBar1->addAction(Open1);
  Open1->setToolTip("Open");
  ToolBar1->addAction(SaveAction);
  SaveAction->setToolTip("Save");
  ToolButton5 = ToolBar1->addAction("RF Analyze", this, [this] { Simulate1Click(); });
  ToolButton5->setToolTip("RF Analyze");
  ToolButton90 = ToolBar1->addAction("Navigation", this, [this] { ToolButton90Click(); });
  ToolButton90->setToolTip("Navigation ('Shift')");
  ToolButton90->setCheckable(true);  // shown down while the overview is on
  ToolButton91 = ToolBar1->addAction("Undo", this, [this] { Undo1Click(); });
  ToolButton93 = ToolBar1->addAction("Reset", this, [this] { ToolButton93Click(); });
  ToolButton93->setToolTip("Returns controls to initial position");
  ToolButton86 = ToolBar1->addAction("Tune", this, [this] { ToolButton86Click(); });
  ToolButton86->setToolTip("Automatic adjustment of levels");
  ToolButton94 = ToolBar1->addAction("Optimize", this, [this] { Optimizationofnetwork1Click(); });
  ToolButton94->setCheckable(true);
  QMenu* help = menuBar()->addMenu("&Help");
  About1 = help->addAction("About", this, [this] { About1Click(); });
  Help2 = help->addAction("Help", this, [this] { Help2Click(); });
  BuildPlacementCommands();
  BuildReportMenus();
  BuildPrintMenus();
  // The save action follows the project state as an idle update would.
  auto* update = new QTimer(this);
  connect(update, &QTimer::timeout, this, [this] { SaveActionUpdate(); });
  update->start(250);
}

void TForm1::Undo1Click() {
  // The undo command drops an armed object or puts a picked-up one back; the line hints that
  // belonged to it go with it.
  if ((PendingKind != 0 || PanelOpen != 0) && Form5)
    for (QWidget* hint : {static_cast<QWidget*>(Form5->Label14), static_cast<QWidget*>(Form5->Label15)})
      if (hint) hint->hide();
  kavrix::Undo1Click(Form5);
}

void TForm1::FormCreate() {
  const QSize client = size();
  BackBuffer = Bitmap(client.width() + 100, client.height() + 100);
  BackBuffer.image().fill(QColor(QRgb(kSilver)));
  if (Hooks().resizeGlyphs) Hooks().resizeGlyphs(3);
  if (Windows().createDeviceGlyphs) Windows().createDeviceGlyphs();
  DrawExtentX = 0;
  DrawExtentY = 0;
  ItemTextCount = 0;
  OptimizeMode = true;
  ObjValues.assign(10, {0.0, 0.0});
  setWindowTitle(MainWindowTitle());
  QLocale::setDefault(QLocale::c());  // "." in every number written and read
  NewNetworkModel();
  ProjectFileName = kUnsavedProjectName;
  LastSocketOrient = 1;
  const platform::PageSize page = platform::Current().printerPageSize();
  PageWidthPx = page.widthPx;
  PageHeightPx = page.heightPx;
  ItemTexts[0] = "abcd";
  ItemTexts[1] = "efgh";
  ShowOptimizeMode();
}

void TForm1::ShowOptimizeMode() {
  ToolButton94ImageIndex = OptimizeModeImage(OptimizeMode);
  if (!ToolButton94) return;
  ToolButton94->setChecked(!OptimizeMode);
  ToolButton94->setToolTip(OptimizeMode ? "Adjustment with optimizing structure\nNext: satellite and terrestrial levels"
                                        : "Adjustment with optimizing structure\nNext: satellite levels only");
}

bool TForm1::AskSaveProject() {
  if (Form3) Form3->CommitEdits();  // an option typed but not yet committed counts as a change
  if (!ProjectModified || NetObjects.empty() || NetObjects[0][kKind] == 0) return true;
  switch (platform::Ask("Confirm", "Do you want to save project?", platform::Buttons::YesNo)) {
    case platform::Answer::Yes:
      // Unsaved work is never discarded: a cancelled or failed save stops the command.
      return Save1Click();
    case platform::Answer::No: return true;
    default: return false;  // the question was closed unanswered: keep the drawing
  }
}

bool TForm1::Close1Click() {
  if (!AskSaveProject()) return false;
  if (Form5 && IsNavigation(Form5->Tag) && Windows().leaveNavigation) Windows().leaveNavigation();
  NewProjectState();
  if (Form5) {
    Form5->VertScrollRange = Form5->ClientHeight() + 100;
    Form5->HorzScrollRange = Form5->ClientWidth() + 100;
    // The smaller ranges take the view back at once, so a drawing opened next is not shown
    // from where the previous one was scrolled to.
    Form5->SyncScrollBars();
  }
  if (Form3) Form3->ShowValues();
  if (Form5) Form5->update();
  if (Windows().clearAnalyzerCharts) Windows().clearAnalyzerCharts();
  if (Form4) Form4->hide();
  ProjectFileName = kUnsavedProjectName;
  ShowProjectCaption(ProjectFileName);
  ShowProjectInWindows();  // the reset cable names reach the price list too
  ShowOptimizeMode();
  return true;
}

std::string TForm1::SaveDialog1CanClose(const std::string& fileName) const {
  if (fileName.find(".stn") == std::string::npos && fileName.find(".bmp") == std::string::npos)
    return fileName + SaveDialog1.defaultExt;
  return fileName;
}

bool TForm1::SaveProjectTo(const std::string& path) {
  if (Form3) Form3->CommitEdits();
  std::string error;
  bool written;
  {
    CommittedDrawing committed;
    written = WriteProjectFile(path, &error);
  }
  if (!written) {
    platform::ShowError("Error", error);
    return false;
  }
  ProjectFileName = path;
  ProjectModified = false;
  // The first save of a new network names it too, as Open and Save As do.
  ShowProjectCaption(path);
  return true;
}

bool TForm1::Save1Click() {
  SaveDialog1.defaultExt = ".stn";
  SaveDialog1.filterIndex = 1;
  std::string target = ProjectFileName;
  if (target == kUnsavedProjectName) {
    const auto chosen = platform::Current().saveFile(SaveDialog1);
    if (!chosen) return false;
    target = SaveDialog1CanClose(chosen->fileName);
  }
  if (target.empty() || target == kUnsavedProjectName) return false;
  return SaveProjectTo(target);
}

void TForm1::SaveAs1Click() {
  SaveDialog1.initialDir.clear();  // current directory
  SaveDialog1.fileName = FirstFreeNetworkName();
  const auto chosen = platform::Current().saveFile(SaveDialog1);
  if (!chosen) return;
  if (chosen->filterIndex == kPictureFilter) {
    S1Click(SaveDialog1CanClose(chosen->fileName));
    return;
  }
  if (chosen->filterIndex == kLnbFilter || chosen->filterIndex == kTerrFilter) {
    platform::ShowMessage(chosen->filterIndex == kLnbFilter ? kLnbTypeNotSavedMessage : kTerrTypeNotSavedMessage);
    return;
  }
  if (chosen->filterIndex == 1 && SaveDialog1.defaultExt == ".stn") {
    // The save dialog gives a name typed without any extension its default one, or the project
    // would not be listed when it is opened again; so does a plan file's name, which a project
    // must never replace. Any other name with an extension stays as typed.
    const std::string& name = chosen->fileName;
    const bool ownExt = !FileNameExtension(name).empty() && !SourcePlanKindOfName(name);
    const std::string path = ownExt ? name : name + SaveDialog1.defaultExt;
    SaveProjectTo(path);
  }
}

void TForm1::S1Click(const std::string& path) {
  // The project's extension (".stn") gives way to ".bmp"; a name without one keeps every
  // character, so the picture never lands in another folder or under a cut name.
  std::string target = path;
  const std::string base = std::filesystem::path(path).filename().string();
  if (base.size() > 4 && base[base.size() - 4] == '.') target.replace(target.size() - 4, 4, ".bmp");
  else target += ".bmp";
  if (Windows().exportPicture) Windows().exportPicture(target);
  SaveDialog1.defaultExt = ".stn";
  SaveDialog1.filterIndex = 1;
}

void TForm1::ShowProjectInWindows() {
  if (Form3) Form3->ShowValues();
  if (Form2) {
    Form2->ShowEstimateRows();
    std::vector<std::string> rf, fiber;
    for (int k = 1; k <= kCableGridRows; ++k) {
      rf.push_back(OptionControls.RfGrid[k].type);
      fiber.push_back(OptionControls.FiberGrid[k].type);
    }
    Form2->SetCableNames(1, rf);
    Form2->SetCableNames(7, fiber);
  }
}

void TForm1::Open1Click() {
  // The overview is left the whole way, so the canvas gets its scroll bars back.
  if (Form5 && IsNavigation(Form5->Tag) && Windows().leaveNavigation) Windows().leaveNavigation();
  if (Form5) Form5->Tag = kCanvasIdle;
  OpenDialog1.defaultExt = ".stn";
  OpenDialog1.filterIndex = 1;
  OpenDialog1.fileName.clear();
  const auto chosen = platform::Current().openFile(OpenDialog1);
  if (!chosen || chosen->fileName.empty()) return;
  const std::string path = chosen->fileName;
  // A file that cannot be read, or holds no project the reader takes, is refused before the save
  // question: the drawing, its name and its modified flag stay as they were.
  {
    std::vector<std::string> lines;
    std::string error;
    if (!ReadTextLines(path, lines, &error)) {
      platform::ShowError("Error", error);
      return;
    }
    if (const ProjectReadResult check = CheckProjectLines(lines); check.status != ProjectReadResult::Status::Ok) {
      ShowReadRefusal(check);
      return;
    }
  }
  if (!Close1Click()) return;

  OptimizeMode = true;
  platform::Current().setBusyCursor(true);
  ShowProjectCaption(path);
  EstimateGrid.SetRowCount(2);
  const bool obsoleteBefore = OptionControls.CheckBox3;
  const platform::PageSize page = platform::Current().printerPageSize();
  const ProjectReadResult r = ReadProjectFile(path, page.widthPx, page.heightPx);
  if (r.status == ProjectReadResult::Status::Ok) {
    ProjectFileName = path;
  } else {
    // The new network keeps its unsaved name, so a later Save cannot replace the rejected file.
    ShowProjectCaption(ProjectFileName);
    ShowReadRefusal(r);
  }
  ShowProjectInWindows();
  if (Form3 && OptionControls.CheckBox3 && !obsoleteBefore) Form3->CheckBox3Click();
  if (Form5) {
    Form5->VertScrollRange = Form5->ClientHeight() + DrawExtentY;
    Form5->HorzScrollRange = Form5->ClientWidth() + DrawExtentX;
    Form5->update();
  }
  if (Windows().clearAnalyzerSeries0) Windows().clearAnalyzerSeries0();
  ProjectModified = false;
  platform::Current().setBusyCursor(false);
}

bool TForm1::Exit1Click() {
  if (!AskSaveProject()) return false;
  // The canvas timers read the arrays released below.
  if (Form5) {
    Form5->Timer1->stop();
    Form5->Timer2->stop();
  }
  if (Hooks().releaseGlyphs) Hooks().releaseGlyphs();
  NetObjects.assign(1, ObjRow{});
  ObjValues.assign(1, {0.0, 0.0});
  Nodes.clear();
  Nodes.shrink_to_fit();
  Links.clear();
  NodeSpectra.clear();
  ChainQueue.clear();
  BackBuffer.release();
  Exited = true;
  QApplication::quit();
  return true;
}

void TForm1::closeEvent(QCloseEvent* e) {
  if (Exited) {
    e->accept();
    return;
  }
  if (Form5 && IsNavigation(Form5->Tag) && Windows().leaveNavigation) Windows().leaveNavigation();
  if (Exit1Click()) e->accept();
  else e->ignore();
}

void TForm1::About1Click() {
  platform::Current().messageBox("About",
                                 std::string("Kavrix ") + AboutVersionText(FileVersion) + "\n" + std::string(BrandNames[BrandIndex]),
                                 platform::Buttons::Ok);
}

void TForm1::Help2Click() { OpenDocumentFile(StartDir, "Kavrix_Help.chm"); }

void TForm1::Options1Click() {
  if (!Form3) return;
  Form3->show();
  Form3->raise();
}

void TForm1::SaveActionUpdate() {
  SaveAction->setEnabled(ProjectModified && !NetObjects.empty() && NetObjects[0][kKind] != 0);
}

}  // namespace kavrix
