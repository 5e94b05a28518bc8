// "Save to file" and "Import data" of the source panel: the carrier grid to and from a plan file.
#include <filesystem>

#include "editor/canvas_window.hpp"
#include "editor/source_plans.hpp"
#include "model/network_model.hpp"

namespace kavrix {

namespace {
// The import runs through the main window's open dialog, with its filter and one of its
// entries (2 LNB, 3 terrestrial) preselected.
constexpr const char* kOpenDialog1Filter =
    "Kavrix file (.stn)|*.stn|LNB file (.lnb)|*.lnb|Terrestrial source file (.ter)|*.ter";

std::string CurrentDir() {
  std::error_code ec;
  return std::filesystem::current_path(ec).string();
}

// The save seam leaves the default extension to us: a name without one gets it.
std::string WithDefaultExt(const std::string& name, const std::string& ext) {
  return FileNameExtension(name).empty() ? name + ext : name;
}
}  // namespace

void TForm5::Button3Click(QObject* /*sender*/) {
  const SourceFileKind kind = SourcePanelIsLnb() ? SourceFileKind::Lnb : SourceFileKind::Terr;
  const std::string ext = std::string(".") + SourceFileExtension(kind);
  if (SaveDialog1.initialDir.empty()) SaveDialog1.initialDir = CurrentDir();
  SaveDialog1.fileName = FirstFreeFileName("Source", ext);
  SaveDialog1.defaultExt = ext;
  SaveDialog1.filterIndex = kind == SourceFileKind::Lnb ? 1 : 2;
  const auto chosen = platform::Current().saveFile(SaveDialog1);
  if (!chosen) return;
  SourceFileName = WithDefaultExt(chosen->fileName, ext);
  std::string error;
  if (!WriteSourceFile(SourceFileName, StringGrid1, kind, &error)) platform::ShowMessage(error);
}

void TForm5::Button4Click(QObject* /*sender*/) {
  const SourceFileKind kind = SourcePanelIsLnb() ? SourceFileKind::Lnb : SourceFileKind::Terr;
  platform::FileDialogRequest open;
  open.filter = kOpenDialog1Filter;
  open.defaultExt = std::string(".") + SourceFileExtension(kind);
  open.filterIndex = kind == SourceFileKind::Lnb ? 2 : 3;
  open.initialDir = CurrentDir();
  const auto chosen = platform::Current().openFile(open);
  if (!chosen) return;
  SourceFileName = chosen->fileName;

  // Nothing reaches the grid unless the whole file is a plan of the panel's kind.
  if (FileNameExtension(SourceFileName) != SourceFileExtension(kind)) {
    platform::ShowMessage(NotSourceFileMessage(kind));
    return;
  }
  const SourcePlanRead plan = ReadSourceFile(SourceFileName, kind);
  if (!plan.ok) {
    platform::ShowMessage(plan.error);
    return;
  }
  if (plan.oldVersion) platform::ShowMessage(kOldSourceFileMessage);
  ApplySourcePlan(plan, kind, StringGrid1);
  RefreshSourceGrids();
  // An antenna's grid is shorter than a channel file: what it cannot take is said, not dropped.
  const int row = EditedRow();
  if (!ValidObjRow(row)) return;
  const int sourceKind = NetObjects[static_cast<std::size_t>(row)][kKind];
  const std::string left = source_plan::ChannelsNotTakenMessage(StringGrid1, sourceKind);
  if (!left.empty()) platform::ShowMessage(left);
}

}  // namespace kavrix
