#pragma once
// Line-based text files as the program writes them: Windows-1252 on disk, CR LF line ends.
// Reading accepts CR LF, LF or CR alone, so files edited elsewhere still load.
#include <string>
#include <vector>

namespace kavrix {

// UTF-8 (in memory) <-> Windows-1252 (on disk). Characters 1252 cannot hold become '?'.
std::string Utf8ToCp1252(const std::string& utf8);
std::string Cp1252ToUtf8(const std::string& cp1252);
// The characters of a text that Windows-1252 cannot hold, each once, in the order they first
// appear; empty when the file keeps the whole text. What a window checks before a typed text is
// taken, so that nothing turns into '?' on disk without a word.
std::string CharsCp1252CannotHold(const std::string& utf8);
// The text without the characters listed in `refused` (UTF-8, as CharsCp1252CannotHold lists them).
std::string WithoutChars(const std::string& utf8, const std::string& refused);
// What a window says when it left typed characters out: "The <file> cannot keep these characters,
// so they were left out: "<refused>"".
std::string CharsLeftOutMessage(const std::string& file, const std::string& refused);

// "<what> <path>: <the system's reason for err>", the form of every file error the user sees.
std::string FileErrorMessage(const std::string& what, const std::string& path, int err);

// The lines of a file's bytes, decoded; a last line without a line end still counts.
std::vector<std::string> SplitTextLines(const std::string& bytes);
// Reads every line of a file; false when it cannot be read, with "Cannot open file <path>: <reason>"
// in error.
bool ReadTextLines(const std::string& path, std::vector<std::string>& lines, std::string* error = nullptr);

// Writes bytes over a file so that a failure never leaves it half-written. A symbolic link is
// followed and its target written; an existing file keeps its mode (and owner where the system
// allows). The bytes go to a temporary file beside the target that is then renamed over it;
// where no temporary file can be made (a folder the user may not write), the file is written in
// place and its old content put back if that write fails. A file the user may not write is
// refused untouched. Success is reported only once the content and the folder entry naming it
// are flushed to the disk. On failure error holds a FileErrorMessage.
bool WriteFileSafely(const std::string& path, const std::string& bytes, std::string* error = nullptr);

// Collects lines and writes them in one go through WriteFileSafely.
class TextWriter {
 public:
  void line(const std::string& text) { m_lines.push_back(text); }
  const std::vector<std::string>& lines() const { return m_lines; }
  // Returns false (and leaves any existing file untouched) when the file cannot be written.
  bool save(const std::string& path, std::string* error = nullptr) const;

 private:
  std::vector<std::string> m_lines;
};

// Splits on runs of blanks; empty fields never appear.
std::vector<std::string> SplitBlanks(const std::string& line);

}  // namespace kavrix
