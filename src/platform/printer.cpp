#include "platform/printer.hpp"

#include <QFont>
#include <QFontMetricsF>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPen>
#include <QPrinter>
#include <algorithm>
#include <cmath>

namespace kavrix::platform {

QPrinterJob::QPrinterJob(QPrinter* printer, bool own) : m_printer(printer), m_own(own) {}

QPrinterJob::~QPrinterJob() {
  if (m_painter && m_painter->isActive()) m_painter->end();
  m_painter.reset();
  if (m_own) delete m_printer;
}

PageSize QPrinterJob::pageSize() const { return {m_printer->width(), m_printer->height()}; }

bool QPrinterJob::beginDoc(const std::string& title) {
  m_printer->setDocName(QString::fromStdString(title));
  m_painter = std::make_unique<QPainter>();
  if (!m_painter->begin(m_printer)) return false;
  m_pages = 1;
  return true;
}

bool QPrinterJob::newPage() {
  if (!m_painter || !m_painter->isActive() || !m_printer->newPage()) return false;
  ++m_pages;
  return true;
}

bool QPrinterJob::endDoc() {
  if (!m_painter || !m_painter->isActive()) return false;
  return m_painter->end();
}

QPainter& QPrinterJob::painter() { return *m_painter; }

std::unique_ptr<QPrinter> MakePdfPrinter(const std::string& path, PageSize page, int dpi) {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setOutputFormat(QPrinter::PdfFormat);
  printer->setOutputFileName(QString::fromStdString(path));
  printer->setResolution(dpi);
  printer->setFullPage(true);
  const QSizeF inches(double(page.widthPx) / dpi, double(page.heightPx) / dpi);
  printer->setPageLayout(QPageLayout(QPageSize(inches, QPageSize::Inch, QString(), QPageSize::ExactMatch),
                                     QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
  return printer;
}

namespace {
// A font height of the layouts is the height of the text's line, ascent plus descent, in device
// pixels, as everywhere else in the drawing layer; Qt's pixel size is the smaller em. Printed
// texts take the narrow face so that the fixed column texts of the layouts stay in their columns.
QFont PrintFont(int height, bool bold) {
  QFont font;
  font.setFamilies({QStringLiteral("Liberation Sans Narrow"), QStringLiteral("DejaVu Sans Condensed")});
  font.setBold(bold);
  font.setPixelSize(1000);
  const double line = QFontMetricsF(font).height();
  const double em = std::max(height, 1) * 1000.0 / (line > 0 ? line : 1000.0);
  font.setPixelSize(std::max(1, static_cast<int>(std::floor(em + 1e-6))));
  return font;
}
}  // namespace

int PrintTextWidth(const std::string& text, int height, bool bold) {
  return QFontMetrics(PrintFont(height, bold)).horizontalAdvance(QString::fromStdString(text));
}

void PlayPrintOps(PrintJob& job, const std::vector<PrintOp>& ops) {
  QPainter& p = job.painter();
  QFont font = PrintFont(12, false);
  p.setFont(font);
  QPen pen(Qt::black);
  p.setPen(pen);
  p.setBrush(Qt::white);
  for (const PrintOp& op : ops) {
    switch (op.kind) {
      case PrintOp::Kind::NewPage:
        job.newPage();
        break;
      case PrintOp::Kind::Font:
        font = PrintFont(op.size, op.bold);
        p.setFont(font);
        break;
      case PrintOp::Kind::Pen:
        pen.setWidth(op.size);
        p.setPen(pen);
        break;
      case PrintOp::Kind::Text: {
        const QFontMetrics metrics(font, p.device());
        const QString text = QString::fromStdString(op.text);
        const int x = op.alignRight ? op.x1 - metrics.horizontalAdvance(text) : op.x1;
        p.drawText(x, op.y1 + metrics.ascent(), text);
        break;
      }
      case PrintOp::Kind::Line:
        p.drawLine(op.x1, op.y1, op.x2, op.y2);
        break;
      case PrintOp::Kind::Rect:
        // Qt strokes a rectangle one pixel past its size: the outline is kept on x1..x2 - 1 and
        // y1..y2 - 1, so a frame of the whole page stays on the paper.
        p.drawRect(QRect(op.x1, op.y1, op.x2 - op.x1 - 1, op.y2 - op.y1 - 1));
        break;
      case PrintOp::Kind::Image: {
        if (op.image.isNull()) break;
        const QRect target(QPoint(op.x1, op.y1), QPoint(op.x2 - 1, op.y2 - 1));
        if (op.source.isNull()) p.drawImage(target, op.image);
        else p.drawImage(target, op.image, op.source);
        break;
      }
    }
  }
}

}  // namespace kavrix::platform
