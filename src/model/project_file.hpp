#pragma once
// The project file (".stn"): a line-based text file, Windows-1252 on disk with CR LF line ends,
// holding the cable tables, every object row, the options and limits records, the carrier plans
// of the slots in use, the estimation rows and the comment texts. Reading starts from a new
// network, accepts every file version from 2000 on and converts older conventions.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kavrix {

inline constexpr const char* kUnsavedProjectName = "naujas";
inline constexpr const char* kTooOldProjectMessage =
    "This file is created by older Kavrix version and is not supported by this software";

// The canvas window's caption for a project: its file name without the folders, "New Network"
// for a project never saved. Every command that names the project (Open, Save, Save As, New)
// shows it.
std::string ProjectCaption(const std::string& projectFileName);

// The model half of New/Close: a new network, the minimum limits shown again in the options,
// the estimation grid emptied.
void NewProjectState();

// '1' when a head row among 0 .. ObjectCount belongs to an obsolete family.
bool HasObsoleteObjects();

// Every record of the project in writing order, without line ends.
std::vector<std::string> ProjectFileLines();
// Writes the project atomically; on failure the previous file stays and error says why.
bool WriteProjectFile(const std::string& path, std::string* error = nullptr);

// Calculation nodes (signal paths) the objects of a loaded project may add. Each node carries six
// spectra, about 5 KB, so this bounds what a file can make the program allocate to about 1 GB,
// far beyond any building.
inline constexpr std::size_t kMaxProjectNodes = 200000;
inline constexpr const char* kProjectTooLargeMessage =
    "This file cannot be opened: its network needs more than 200000 signal paths";
// Every number of an object row and of a source table lies within this range: far beyond any
// coordinate, length, frequency or level a drawing holds, and small enough that the geometry
// and the run never overflow adding or scaling them.
inline constexpr int32_t kMaxFileValue = 1000000;
// True when a project file can hold v: a panel that stored more would write a file Open refuses.
inline bool IsStorableValue(int64_t v) { return v >= -kMaxFileValue && v <= kMaxFileValue; }
// The one exception: the legacy-outputs code a single-cable unit (kinds 181..186) keeps in its Inst,
// a decimal number of up to nine digits that is only ever taken apart digit by digit.
inline constexpr int32_t kMaxOutputsCode = 999999999;
// "This file cannot be opened: line <n> holds a value outside -1000000..1000000".
std::string ValueOutOfRangeMessage(std::size_t lineNumber);

inline constexpr const char* kNotAProjectMessage = "This file is not a Kavrix project and was not opened.";
inline constexpr const char* kEmptyFileMessage = "This file is empty: it holds no Kavrix project and was not opened.";
inline constexpr const char* kLnbNotAProjectMessage =
    "This is an LNB file, not a Kavrix project: load it with \"Import data\" in an LNB's panel.";
inline constexpr const char* kTerrNotAProjectMessage =
    "This is a terrestrial source file, not a Kavrix project: load it with \"Import data\" in an antenna's panel.";
// Save As with a plan's file type writes nothing: the main window knows no single plan to write.
inline constexpr const char* kLnbTypeNotSavedMessage =
    "Nothing was saved: a network is saved as a Kavrix file (*.stn). An LNB's plan is saved with "
    "\"Save to file\" in the LNB's panel.";
inline constexpr const char* kTerrTypeNotSavedMessage =
    "Nothing was saved: a network is saved as a Kavrix file (*.stn). An antenna's channel plan is saved with "
    "\"Save to file\" in the antenna's panel.";

// True when the lines are laid out as a project the reader takes: a version from 2000 on, then the
// five cable lines every such version writes, each with its ":".
bool HoldsProjectText(const std::vector<std::string>& lines);

struct ProjectReadResult {
  // Refused: the file was checked and refused before anything was read (no project, a network
  // too large, or values no drawing holds); the model is still the new network.
  enum class Status { Ok, OpenFailed, TooOld, Refused };
  Status status = Status::Ok;
  int version = 0;
  std::string message;  // text to show for every status but Ok
};

// Whether a file holding these lines can be read as a project, judged by what it holds, never by
// its name: Ok; TooOld, with the reader's message, for a real older version (a version line of
// 1000..1999 alone); else Refused, with a message saying what the file is (empty, an LNB or
// terrestrial plan, no project, a network too large, values no drawing holds). The model is not
// touched, so Open checks before the drawing is given up and a refused file costs nothing.
ProjectReadResult CheckProjectLines(const std::vector<std::string>& lines);

// Reads the records into the model (which must be a new network, see NewProjectState), runs the
// version conversions and rebuilds symbols and labels through the model hooks. The printer page
// size (device pixels) gives the page tile when the options record sets the print scale.
ProjectReadResult ReadProjectLines(const std::vector<std::string>& lines, int printerWidthPx, int printerHeightPx);
ProjectReadResult ReadProjectFile(const std::string& path, int printerWidthPx, int printerHeightPx);

}  // namespace kavrix
