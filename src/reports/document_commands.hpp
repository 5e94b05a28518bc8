#pragma once
// Documents that lie next to the program (help file, catalogues) and are shown by the desktop's
// default viewer. The program never reads them; it only tells the user when one cannot be shown.
#include <string>

namespace kavrix {

// Opens `name` from `dir` (the current directory when `dir` is empty). A missing file or a
// desktop that has no viewer for it gives a message naming the file; returns whether it opened.
bool OpenDocumentFile(const std::string& dir, const std::string& name);

}  // namespace kavrix
