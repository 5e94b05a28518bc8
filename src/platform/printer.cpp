#include "platform/printer.hpp"

#include <QFont>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPen>
#include <QPrinter>

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
QFont PrintFont(int pixelHeight, bool bold) {
  QFont font("Liberation Sans");
  font.setPixelSize(pixelHeight > 0 ? pixelHeight : 1);
  font.setBold(bold);
  return font;
}
}  // namespace

int PrintTextWidth(const std::string& text, int pixelHeight, bool bold) {
  return QFontMetrics(PrintFont(pixelHeight, bold)).horizontalAdvance(QString::fromStdString(text));
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
        p.drawRect(QRect(QPoint(op.x1, op.y1), QPoint(op.x2 - 1, op.y2 - 1)));
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
