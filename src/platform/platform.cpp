#include "platform/platform.hpp"

#include <QApplication>
#include <QColorDialog>
#include <QCursor>
#include <QDir>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QStringList>
#include <QTimer>
#include <QUrl>

#include "platform/printer.hpp"

namespace kavrix::platform {

namespace {
Platform* g_installed = nullptr;

QtPlatform& qtPlatform() {
  static QtPlatform p;
  return p;
}

// "Name|*.a|Other|*.b" -> Qt's "Name (*.a);;Other (*.b)"
QStringList qtFilters(const std::string& filter) {
  QStringList parts = QString::fromStdString(filter).split('|');
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString pattern = parts[i + 1];
    pattern.replace(';', ' ');
    out << parts[i] + " (" + pattern + ")";
  }
  return out;
}

std::optional<FileDialogResult> runFileDialog(const FileDialogRequest& req, bool save) {
  QFileDialog dlg(QApplication::activeWindow());
  dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dlg.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  QStringList filters = qtFilters(req.filter);
  dlg.setNameFilters(filters);
  if (req.filterIndex >= 1 && req.filterIndex <= filters.size()) dlg.selectNameFilter(filters[req.filterIndex - 1]);
  if (!req.initialDir.empty()) dlg.setDirectory(QString::fromStdString(req.initialDir));
  if (!req.fileName.empty()) dlg.selectFile(QString::fromStdString(req.fileName));
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
  FileDialogResult r;
  r.fileName = dlg.selectedFiles().first().toStdString();
  r.filterIndex = int(filters.indexOf(dlg.selectedNameFilter())) + 1;
  if (r.filterIndex < 1) r.filterIndex = 1;
  return r;
}
}  // namespace

Platform& Current() { return g_installed ? *g_installed : qtPlatform(); }

Platform* Install(Platform* p) {
  Platform* prev = g_installed;
  g_installed = p;
  return prev;
}

namespace {
Answer ShowBox(const std::string& caption, const std::string& text, Buttons buttons) {
  QMessageBox box(QApplication::activeWindow());
  box.setWindowTitle(caption.empty() ? QApplication::applicationName() : QString::fromStdString(caption));
  box.setText(QString::fromStdString(text));
  switch (buttons) {
    case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case Buttons::YesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      // Escape and the title bar's close answer neither question: they report Cancel, where
      // the box would otherwise take them for No (for "save?" that dropped the drawing).
      box.addButton(QMessageBox::Cancel)->hide();
      break;
    case Buttons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      break;
    case Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
  }
  switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    default: return buttons == Buttons::OkCancel || buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
  }
}
}  // namespace

Answer QtPlatform::messageBox(const std::string& caption, const std::string& text, Buttons buttons) {
  return ShowBox(caption, text, buttons);
}

void QtPlatform::note(const std::string& text) {
  // A box opened inside a grid's commit would also take the focus from the closing cell editor.
  QTimer::singleShot(0, qApp, [text] { ShowBox("Note", text, Buttons::Ok); });
}

std::optional<FileDialogResult> QtPlatform::openFile(const FileDialogRequest& req) { return runFileDialog(req, false); }
std::optional<FileDialogResult> QtPlatform::saveFile(const FileDialogRequest& req) { return runFileDialog(req, true); }

std::optional<int> QtPlatform::chooseColor(int initial) {
  QColor start(initial & 0xFF, (initial >> 8) & 0xFF, (initial >> 16) & 0xFF);
  QColor c = QColorDialog::getColor(start, QApplication::activeWindow());
  if (!c.isValid()) return std::nullopt;
  return c.red() | (c.green() << 8) | (c.blue() << 16);
}

bool QtPlatform::openDocument(const std::string& path) {
  QFileInfo fi(QString::fromStdString(path));
  return QDesktopServices::openUrl(QUrl::fromLocalFile(fi.absoluteFilePath()));
}

QtPlatform::QtPlatform() = default;
QtPlatform::~QtPlatform() = default;

void QtPlatform::releasePrinter() { m_printer.reset(); }

QPrinter& QtPlatform::printer() {
  if (m_printer) return *m_printer;
  qAddPostRoutine([] { qtPlatform().releasePrinter(); });
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  const QList<QPrinterInfo> all = QPrinterInfo::availablePrinters();
  if (!info.isNull()) {
    m_printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
  } else if (!all.isEmpty()) {
    m_printer = std::make_unique<QPrinter>(all.first(), QPrinter::HighResolution);
  } else {
    // No printer installed: an A4 page at 600 dpi written as PDF, so page tiling still works.
    m_printer = MakePdfPrinter("", {4960, 7016}, 600);
    m_pdfOnly = true;
  }
  return *m_printer;
}

PageSize QtPlatform::printerPageSize() {
  QPrinter& p = printer();
  return {p.width(), p.height()};
}

bool QtPlatform::printerSetup() {
  QPrintDialog dlg(&printer(), QApplication::activeWindow());
  dlg.setWindowTitle("Print Setup");
  // The setup only chooses the printer and its page; a confirm button reading "Print" made it
  // look as if the drawing had gone to the printer.
  for (QDialogButtonBox* box : dlg.findChildren<QDialogButtonBox*>())
    if (QPushButton* ok = box->button(QDialogButtonBox::Ok)) ok->setText("OK");
  return dlg.exec() == QDialog::Accepted;
}

std::unique_ptr<PrintJob> QtPlatform::printDialog(const std::string& docName) {
  QPrinter& p = printer();
  if (m_pdfOnly) {
    FileDialogRequest req;
    req.filter = "PDF file (*.pdf)|*.pdf";
    req.defaultExt = ".pdf";
    req.fileName = docName + ".pdf";
    const auto chosen = saveFile(req);
    if (!chosen || chosen->fileName.empty()) return nullptr;
    std::string name = chosen->fileName;
    if (QFileInfo(QString::fromStdString(name)).suffix().isEmpty()) name += ".pdf";
    p.setOutputFileName(QString::fromStdString(name));
  } else {
    QPrintDialog dlg(&p, QApplication::activeWindow());
    if (dlg.exec() != QDialog::Accepted) return nullptr;
  }
  return std::make_unique<QPrinterJob>(&p, false);
}

void QtPlatform::cursorPos(int& x, int& y) {
  QPoint p = QCursor::pos();
  x = p.x();
  y = p.y();
}

void QtPlatform::setBusyCursor(bool busy) {
  if (busy) QApplication::setOverrideCursor(Qt::WaitCursor);
  else if (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
}

Answer ScriptedPlatform::messageBox(const std::string& caption, const std::string& text, Buttons buttons) {
  messages.push_back({caption, text, buttons});
  if (!answers.empty()) {
    Answer a = answers.front();
    answers.pop_front();
    return a;
  }
  return buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
}

std::optional<FileDialogResult> ScriptedPlatform::openFile(const FileDialogRequest& req) {
  fileRequests.push_back(req);
  if (files.empty()) return std::nullopt;
  auto f = files.front();
  files.pop_front();
  return f;
}

std::optional<FileDialogResult> ScriptedPlatform::saveFile(const FileDialogRequest& req) { return openFile(req); }

std::optional<int> ScriptedPlatform::chooseColor(int) {
  if (colors.empty()) return std::nullopt;
  auto c = colors.front();
  colors.pop_front();
  return c;
}

bool ScriptedPlatform::openDocument(const std::string& path) {
  openedDocuments.push_back(path);
  return documentsOpen;
}

std::unique_ptr<PrintJob> ScriptedPlatform::printDialog(const std::string&) {
  ++printDialogs;
  if (!printAccepted) return nullptr;
  std::string path = printFile;
  if (path.empty()) {
    path = QDir::temp()
               .filePath(QString("kavrix_print_%1_%2.pdf").arg(QCoreApplication::applicationPid()).arg(printDialogs))
               .toStdString();
  }
  printedFiles.push_back(path);
  return std::make_unique<QPrinterJob>(MakePdfPrinter(path, page, 600).release(), true);
}

void ScriptedPlatform::setBusyCursor(bool busy) {
  busyCalls++;
  busyDepth += busy ? 1 : -1;
}

std::vector<std::string> ScriptedPlatform::texts() const {
  std::vector<std::string> out;
  for (const auto& m : messages) out.push_back(m.text);
  return out;
}

}  // namespace kavrix::platform
