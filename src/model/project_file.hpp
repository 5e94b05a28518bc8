#pragma once
// The project file (".stn"): a line-based text file, Windows-1252 on disk with CR LF line ends,
// holding the cable tables, every object row, the options and limits records, the carrier plans
// of the slots in use, the estimation rows and the comment texts. Reading starts from a new
// network, accepts every file version from 2000 on and converts older conventions.
#include <string>
#include <vector>

namespace kavrix {

inline constexpr const char* kUnsavedProjectName = "naujas";
inline constexpr const char* kTooOldProjectMessage =
    "This file is created by older Kavrix version and is not supported by this software";

// The model half of New/Close: a new network, the minimum limits shown again in the options,
// the estimation grid emptied.
void NewProjectState();

// '1' when a head row among 0 .. ObjectCount belongs to an obsolete family.
bool HasObsoleteObjects();

// Every record of the project in writing order, without line ends.
std::vector<std::string> ProjectFileLines();
// Writes the project atomically; on failure the previous file stays and error says why.
bool WriteProjectFile(const std::string& path, std::string* error = nullptr);

struct ProjectReadResult {
  enum class Status { Ok, OpenFailed, TooOld };
  Status status = Status::Ok;
  int version = 0;
  std::string message;  // text to show for OpenFailed and TooOld
};

// Reads the records into the model (which must be a new network, see NewProjectState), runs the
// version conversions and rebuilds symbols and labels through the model hooks. The printer page
// size (device pixels) gives the page tile when the options record sets the print scale.
ProjectReadResult ReadProjectLines(const std::vector<std::string>& lines, int printerWidthPx, int printerHeightPx);
ProjectReadResult ReadProjectFile(const std::string& path, int printerWidthPx, int printerHeightPx);

}  // namespace kavrix
