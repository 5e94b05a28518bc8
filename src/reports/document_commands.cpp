#include "reports/document_commands.hpp"

#include <filesystem>

#include "platform/platform.hpp"

namespace kavrix {

bool OpenDocumentFile(const std::string& dir, const std::string& name) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path base = dir.empty() ? fs::current_path(ec) : fs::path(dir);
  const std::string path = (base / name).string();
  if (!fs::is_regular_file(path, ec)) {
    platform::ShowError("Error", "The document \"" + name + "\" was not found (" + path + ").");
    return false;
  }
  if (!platform::Current().openDocument(path)) {
    platform::ShowError("Error", "No program could be found to open the document \"" + name + "\" (" + path + ").");
    return false;
  }
  return true;
}

}  // namespace kavrix
