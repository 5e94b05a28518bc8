#include "platform/stay_on_top.hpp"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <vector>

namespace kavrix::platform {

namespace {

// Watches every window of the program being shown, hidden and activated. The flag is changed on
// the native window only, so the widget keeps asking to stay on top whenever it is created anew.
class OnTopRule : public QObject {
 public:
  static OnTopRule& Instance() {
    static QPointer<OnTopRule> rule;
    if (!rule) rule = new OnTopRule(qApp);
    return *rule;
  }

  void add(QWidget* window) {
    std::erase_if(m_windows, [](const QPointer<QWidget>& w) { return w.isNull(); });
    m_windows.emplace_back(window);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    const QEvent::Type type = e->type();
    if (type != QEvent::Show && type != QEvent::Hide && type != QEvent::WindowActivate) return false;
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || !w->isWindow()) return false;
    if (auto kept = find(w); kept != m_windows.end()) {
      if (type == QEvent::Hide) return false;
      // The last one shown or used was raised last; it is put back on top last.
      std::rotate(kept, kept + 1, m_windows.end());
      // One shown while a modal window is up waits under it like the others. The show event
      // comes before the window is mapped, so it never flashes above the box.
      if (type == QEvent::Show)
        if (QWidget* modal = QApplication::activeModalWidget()) setOnTop(w, owns(w, modal));
      return false;
    }
    if (type == QEvent::WindowActivate) return false;
    if (!w->isModal()) return false;
    if (type == QEvent::Show) {
      follow(w);
    } else {
      // The modal stack is brought up to date after the hide; look once it has been. Another
      // modal window may still be up (the box that opened this one, or one opened right after).
      QTimer::singleShot(0, this, [this] { follow(QApplication::activeModalWidget()); });
    }
    return false;
  }

 private:
  explicit OnTopRule(QObject* parent) : QObject(parent) { qApp->installEventFilter(this); }

  std::vector<QPointer<QWidget>>::iterator find(const QWidget* w) {
    return std::find_if(m_windows.begin(), m_windows.end(), [w](const QPointer<QWidget>& k) { return k.data() == w; });
  }

  // Whether `modal` was opened from `window` (or from a dialog of it).
  static bool owns(const QWidget* window, const QWidget* modal) {
    for (const QWidget* p = modal->parentWidget(); p; p = p->window()->parentWidget())
      if (p->window() == window) return true;
    return false;
  }

  // Puts every kept window where the modal window now in charge needs it; none: back on top.
  void follow(QWidget* modal) {
    for (const QPointer<QWidget>& w : m_windows)
      if (w) setOnTop(w, !modal || owns(w, modal));
  }

  static void setOnTop(QWidget* w, bool on) {
    if (QWindow* win = w->windowHandle()) win->setFlag(Qt::WindowStaysOnTopHint, on);
  }

  std::vector<QPointer<QWidget>> m_windows;
};

}  // namespace

void KeepOnTop(QWidget* window) {
  window->setWindowFlag(Qt::WindowStaysOnTopHint);
  OnTopRule::Instance().add(window);
}

}  // namespace kavrix::platform
