#pragma once
// The printer as the reports use it: a page in device pixels, begin document, new page, end
// document and a QPainter to draw with in between. A print job comes from the platform's print
// dialog (a printer Qt offers, or a PDF file when none is installed); tests get jobs that write
// PDF files. Layout code may also produce a list of drawing operations and play it on a job, so
// the layout can be checked without any printer.
#include <QImage>
#include <QRect>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.hpp"

class QPainter;
class QPrinter;

namespace kavrix::platform {

class PrintJob {
 public:
  virtual ~PrintJob() = default;
  // Printable area in device pixels; drawing coordinates start at its top-left corner.
  virtual PageSize pageSize() const = 0;
  virtual bool beginDoc(const std::string& title) = 0;
  virtual bool newPage() = 0;
  virtual bool endDoc() = 0;
  // Valid between beginDoc and endDoc.
  virtual QPainter& painter() = 0;
  // Pages begun so far (1 after beginDoc).
  virtual int pageCount() const = 0;
};

// A job on a QPrinter; `own` decides whether the job deletes the printer.
class QPrinterJob : public PrintJob {
 public:
  QPrinterJob(QPrinter* printer, bool own);
  ~QPrinterJob() override;
  PageSize pageSize() const override;
  bool beginDoc(const std::string& title) override;
  bool newPage() override;
  bool endDoc() override;
  QPainter& painter() override;
  int pageCount() const override { return m_pages; }

 private:
  QPrinter* m_printer;
  bool m_own;
  std::unique_ptr<QPainter> m_painter;
  int m_pages = 0;
};

// A PDF printer whose printable page is exactly `page` device pixels at `dpi`, no margins.
std::unique_ptr<QPrinter> MakePdfPrinter(const std::string& path, PageSize page, int dpi);

// One drawing step of a printout, in device pixels. Text is placed by the top-left corner of
// its line, as the layouts measure it, or by its top-right corner when right-aligned.
struct PrintOp {
  enum class Kind { NewPage, Font, Pen, Text, Line, Rect, Image };
  Kind kind = Kind::Text;
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // Text: x1, y1; Line: from, to; Rect and Image:
                                       // (x1, y1) up to, not including, (x2, y2)
  std::string text;                    // Text
  bool alignRight = false;             // Text: x1 is where the text ends
  int size = 0;                        // Font: line height (ascent + descent); Pen: width
  bool bold = false;                   // Font
  QImage image;                        // Image, stretched into the rectangle
  QRect source;                        // Image: the part drawn (inside the image); null = all of it
};

// Width in device pixels of a text in the face the operations print with.
int PrintTextWidth(const std::string& text, int height, bool bold);

// Plays the operations on a job between its beginDoc and endDoc; NewPage starts the next page.
void PlayPrintOps(PrintJob& job, const std::vector<PrintOp>& ops);

}  // namespace kavrix::platform
