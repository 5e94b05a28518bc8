#pragma once
// Line-based text files as the program writes them: Windows-1252 on disk, CR LF line ends.
// Reading accepts CR LF, LF or CR alone, so files edited elsewhere still load.
#include <string>
#include <vector>

namespace kavrix {

// UTF-8 (in memory) <-> Windows-1252 (on disk). Characters 1252 cannot hold become '?'.
std::string Utf8ToCp1252(const std::string& utf8);
std::string Cp1252ToUtf8(const std::string& cp1252);

// Reads every line of a file; false when it cannot be opened.
bool ReadTextLines(const std::string& path, std::vector<std::string>& lines);

// Collects lines and writes them in one go: to a temporary file first, then renamed over the
// target, so a failed write never destroys the previous file.
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
