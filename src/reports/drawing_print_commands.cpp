// The main window's "Save As Picture", "Print..." and "Print Setup..." commands with their menu
// entries and toolbar button.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "app/forms.hpp"
#include "app/main_window.hpp"
#include "editor/canvas_window.hpp"
#include "model/network_model.hpp"
#include "model/project_file.hpp"
#include "model/project_options.hpp"
#include "reports/drawing_print.hpp"

namespace kavrix {

namespace {

constexpr int kPictureFilter = 4;

QString CanvasCaption() { return Form5 ? Form5->windowTitle() : QString(); }

void RefreshPageBorders(platform::PageSize page) {
  SetPageTileFromPrinter(page.widthPx, page.heightPx);
  if (Form5) Form5->Repaint();
}

}  // namespace

void TForm1::BuildPrintMenus() {
  Print1 = new QAction("&Print...", this);
  connect(Print1, &QAction::triggered, this, [this] { Print1Click(); });
  PrintSetup1 = new QAction("P&rint Setup...", this);
  connect(PrintSetup1, &QAction::triggered, this, [this] { PrintSetup1Click(); });
  // Below "Close", before the separator that sets "Exit" apart.
  if (QMenu* file = Close1 ? qobject_cast<QMenu*>(Close1->parent()) : nullptr) {
    const QList<QAction*> items = file->actions();
    const qsizetype close = items.indexOf(Close1);
    QAction* before = close >= 0 && close + 1 < items.size() ? items[close + 1] : nullptr;
    file->insertAction(before, Print1);
    file->insertAction(before, PrintSetup1);
  }
  ToolButtonPrint = new QAction("Print", this);
  ToolButtonPrint->setToolTip("Print");
  connect(ToolButtonPrint, &QAction::triggered, this, [this] { Print1Click(); });
  if (ToolBar1) ToolBar1->insertAction(ToolButton5, ToolButtonPrint);
  Windows().exportPicture = [](const std::string& path) {
    std::string error;
    if (ExportDrawingPicture(path, &error)) return true;
    platform::ShowError("Error", error);
    return false;
  };
}

// The picture gets a name of its own: a name chosen here is never taken as the project's.
void TForm1::S1Click() {
  SaveDialog1.defaultExt = ".bmp";
  SaveDialog1.filterIndex = kPictureFilter;
  std::string name = ProjectFileName;
  if (name == kUnsavedProjectName) {
    name.clear();
    const auto chosen = platform::Current().saveFile(SaveDialog1);
    if (chosen && !chosen->fileName.empty()) name = SaveDialog1CanClose(chosen->fileName);
  }
  if (name.empty() || name == kUnsavedProjectName) {
    SaveDialog1.defaultExt = ".stn";
    SaveDialog1.filterIndex = 1;
    return;
  }
  S1Click(name);
}

void TForm1::PrintSetup1Click() {
  platform::Current().printerSetup();  // a cancelled setup keeps the printer chosen before
  RefreshPageBorders(platform::Current().printerPageSize());
}

void TForm1::Print1Click() {
  const std::string title = CanvasCaption().toStdString();
  const std::unique_ptr<platform::PrintJob> job = platform::Current().printDialog(title);
  if (!job) return;
  RefreshPageBorders(job->pageSize());
  std::string error;
  platform::Current().setBusyCursor(true);
  const bool printed = PrintDrawingOn(*job, title, &error);
  platform::Current().setBusyCursor(false);
  if (!printed) platform::ShowError("Error", error);
}

}  // namespace kavrix
