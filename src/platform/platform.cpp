#include "platform/platform.hpp"

#include <QApplication>
#include <QColorDialog>
#include <QCursor>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStringList>
#include <QUrl>

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

Answer QtPlatform::messageBox(const std::string& caption, const std::string& text, Buttons buttons) {
  QMessageBox box(QApplication::activeWindow());
  box.setWindowTitle(caption.empty() ? QApplication::applicationName() : QString::fromStdString(caption));
  box.setText(QString::fromStdString(text));
  switch (buttons) {
    case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
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

PageSize QtPlatform::printerPageSize() {
  QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull()) {
    // No printer installed: an A4 page at 600 dpi, so page tiling still works.
    return {4960, 7016};
  }
  QPrinter printer(info, QPrinter::HighResolution);
  QRect r = printer.pageLayout().paintRectPixels(printer.resolution());
  return {r.width(), r.height()};
}

bool QtPlatform::printerSetup() {
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dlg(&printer, QApplication::activeWindow());
  return dlg.exec() == QDialog::Accepted;
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
