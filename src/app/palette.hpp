#pragma once
// The main window's component palette: the command buttons, the source and line buttons, and the
// folded catalogue (category buttons that unfold devices or group buttons, group buttons that
// unfold devices). A tool bar does not wrap, so the palette lays its visible buttons out in rows
// across the window's width and asks for the height they need. It holds no model state: device
// buttons call `arm` with their kind, and every pointer move over the palette calls `mouseMove`.
#include <QIcon>
#include <QToolButton>
#include <QWidget>
#include <functional>
#include <map>
#include <vector>

class QAction;

namespace kavrix {

class PaletteBar : public QWidget {
  Q_OBJECT
 public:
  struct Callbacks {
    std::function<void(int kind)> arm;
    std::function<void()> mouseMove;
  };
  explicit PaletteBar(Callbacks callbacks, QWidget* parent = nullptr);

  // Command buttons: the leading ones stand before the sources, in ascending `rank`, the trailing
  // ones after the categories (before the comment button). Each shows and triggers `action`.
  void AddLeadingCommand(QAction* action, int rank = 0);
  void AddTrailingCommand(QAction* action);

  // ToolButton<id>; nullptr for an id the palette does not have.
  QToolButton* ToolButton(int id) const;
  // Open state of a category button (0 closed, 1 open).
  int CategoryTag(int id) const;

  // Click handlers of the category and group buttons (ToolButton<id>Click).
  void CategoryClick(int id);
  void GroupClick(int id);
  // "Include obsolete components" changed: the obsolete families' groups are put up and clicked,
  // as a release by the user would.
  void ReleaseObsoleteButtons();
  // Shows or hides the obsolete families' buttons of every group that is down.
  void ShowObsoleteFamilies(bool show);

  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override;
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  struct Entry {
    QToolButton* button = nullptr;
    int id = 0;       // 0 for command buttons
    int kind = 0;     // kind armed, 0 for none
    int parent = 0;   // folding button
    bool withParent = false;  // shown when the parent opens
    bool gapBefore = false;   // a little space marks a new section of the bar
    int rank = 0;             // place among the leading commands
  };
  QToolButton* AddButton(Entry entry);
  void Track(QToolButton* button);
  void SetChildrenHidden(int parent, bool hidden, bool onlyWithParent);
  void Relayout();
  int LayoutButtons(int width, bool apply) const;

  Callbacks m_callbacks;
  std::vector<Entry> m_entries;           // in bar order
  std::map<int, QToolButton*> m_buttons;  // by id
  std::map<int, int> m_tags;              // category open states
  int m_trailingAt = 0;                   // where trailing commands are inserted
  int m_lastHeight = -1;
};

// Icon of a placement or device button: the kind's type symbol scaled into the icon, or a small
// drawing of our own for kinds without a symbol (lines, comment). Empty while the symbol is not built.
QIcon KindIcon(int kind, int size);

}  // namespace kavrix
