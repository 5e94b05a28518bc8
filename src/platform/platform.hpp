#pragma once
// Thin seams over what the windows need from the desktop: message boxes, file and colour
// dialogs, opening documents, the printer page, the cursor. Windows reach them through
// kavrix::platform::Current(); tests install a ScriptedPlatform that answers from a queue
// and records every text shown.
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QPrinter;

namespace kavrix::platform {

class PrintJob;

// Buttons and answers of a message box, as the windows ask for them.
enum class Buttons { Ok, YesNo, YesNoCancel, OkCancel };
enum class Answer { Ok, Yes, No, Cancel };

struct FileDialogRequest {
  std::string filter;          // "Text (.stn)|*.stn|..." pairs separated by '|'
  std::string defaultExt;      // appended by the caller's own rules, not by the seam
  std::string fileName;        // proposed name
  std::string initialDir;
  int filterIndex = 1;         // 1-based, as the dialogs report it
};

struct FileDialogResult {
  std::string fileName;
  int filterIndex = 1;
};

struct PageSize {
  int widthPx = 0;
  int heightPx = 0;
};

class Platform {
 public:
  virtual ~Platform() = default;
  virtual Answer messageBox(const std::string& caption, const std::string& text, Buttons buttons) = 0;
  // A "Note" box about an edit just committed. It opens only once the event that committed the
  // edit is handled: the editor has closed by then, so no key still being typed goes to the box.
  virtual void note(const std::string& text) = 0;
  virtual std::optional<FileDialogResult> openFile(const FileDialogRequest& req) = 0;
  virtual std::optional<FileDialogResult> saveFile(const FileDialogRequest& req) = 0;
  // Colours travel as $00BBGGRR integers, the form the model stores.
  virtual std::optional<int> chooseColor(int initial) = 0;
  // Returns false when no program could open the document.
  virtual bool openDocument(const std::string& path) = 0;
  virtual PageSize printerPageSize() = 0;
  virtual bool printerSetup() = 0;
  // The print dialog: a job on the chosen printer, or nullptr when the user cancels. With no
  // printer installed the job writes a PDF file the user names.
  virtual std::unique_ptr<PrintJob> printDialog(const std::string& docName) = 0;
  virtual void cursorPos(int& x, int& y) = 0;
  virtual void setBusyCursor(bool busy) = 0;
};

Platform& Current();
// Installs p as the current platform and returns the previous one (nullptr = the Qt one).
Platform* Install(Platform* p);

// Convenience wrappers that the windows use.
inline void ShowMessage(const std::string& text) { Current().messageBox("", text, Buttons::Ok); }
inline void ShowError(const std::string& caption, const std::string& text) {
  Current().messageBox(caption, text, Buttons::Ok);
}
// Says what a committed edit left out; nothing when `text` is empty.
inline void ShowNote(const std::string& text) {
  if (!text.empty()) Current().note(text);
}
inline Answer Ask(const std::string& caption, const std::string& text, Buttons b) {
  return Current().messageBox(caption, text, b);
}

// The Qt implementation used by the running program. It keeps one printer for the whole run,
// so the choices of the printer setup carry over to every printout.
class QtPlatform : public Platform {
 public:
  QtPlatform();
  ~QtPlatform() override;
  Answer messageBox(const std::string& caption, const std::string& text, Buttons buttons) override;
  void note(const std::string& text) override;
  std::optional<FileDialogResult> openFile(const FileDialogRequest& req) override;
  std::optional<FileDialogResult> saveFile(const FileDialogRequest& req) override;
  std::optional<int> chooseColor(int initial) override;
  bool openDocument(const std::string& path) override;
  PageSize printerPageSize() override;
  bool printerSetup() override;
  std::unique_ptr<PrintJob> printDialog(const std::string& docName) override;
  void cursorPos(int& x, int& y) override;
  void setBusyCursor(bool busy) override;
  // The printer goes with the application, before the print plugins are unloaded.
  void releasePrinter();

 private:
  QPrinter& printer();
  std::unique_ptr<QPrinter> m_printer;
  bool m_pdfOnly = false;  // no printer installed
};

// Scripted stand-in for tests: every call is recorded; answers come from queues and fall
// back to defaults (Ok / Yes, no file chosen, no colour chosen) when a queue is empty.
class ScriptedPlatform : public Platform {
 public:
  struct Shown {
    std::string caption;
    std::string text;
    Buttons buttons;
  };
  std::vector<Shown> messages;
  std::vector<FileDialogRequest> fileRequests;
  std::vector<std::string> openedDocuments;
  std::deque<Answer> answers;
  std::deque<std::optional<FileDialogResult>> files;
  std::deque<std::optional<int>> colors;
  PageSize page{4800, 6800};
  bool documentsOpen = true;
  bool setupAccepted = true;
  bool printAccepted = true;
  std::string printFile;
  std::vector<std::string> printedFiles;  // one per accepted print dialog
  int printDialogs = 0;
  int cursorX = 0, cursorY = 0;
  int busyDepth = 0;        // >0 while a busy cursor is shown
  int busyCalls = 0;

  Answer messageBox(const std::string& caption, const std::string& text, Buttons buttons) override;
  // Recorded at once among the messages, with caption "Note".
  void note(const std::string& text) override { messages.push_back({"Note", text, Buttons::Ok}); }
  std::optional<FileDialogResult> openFile(const FileDialogRequest& req) override;
  std::optional<FileDialogResult> saveFile(const FileDialogRequest& req) override;
  std::optional<int> chooseColor(int initial) override;
  bool openDocument(const std::string& path) override;
  PageSize printerPageSize() override { return page; }
  bool printerSetup() override { return setupAccepted; }
  // Jobs print PDF files of `page` at 600 dpi, into printFile or else a fresh temporary file.
  std::unique_ptr<PrintJob> printDialog(const std::string& docName) override;
  void cursorPos(int& x, int& y) override { x = cursorX; y = cursorY; }
  void setBusyCursor(bool busy) override;

  std::vector<std::string> texts() const;
  std::string lastText() const { return messages.empty() ? std::string() : messages.back().text; }
};

// Installs a ScriptedPlatform for the lifetime of the guard (tests).
class ScopedScriptedPlatform {
 public:
  ScopedScriptedPlatform() : m_prev(Install(&fake)) {}
  ~ScopedScriptedPlatform() { Install(m_prev); }
  ScopedScriptedPlatform(const ScopedScriptedPlatform&) = delete;
  ScopedScriptedPlatform& operator=(const ScopedScriptedPlatform&) = delete;
  ScriptedPlatform fake;
  ScriptedPlatform* operator->() { return &fake; }

 private:
  Platform* m_prev;
};

}  // namespace kavrix::platform
