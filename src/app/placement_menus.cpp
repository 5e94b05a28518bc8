// The main window's placement commands: the palette on ToolBar1, the Draw menu, and the Edit
// menu's Copy, Move and Delete with the menu's enabling. The handlers translate: arming is
// ArmPlacement over the model, the canvas owns copying, moving and deleting.
#include <QAction>
#include <QActionEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QToolBar>
#include <algorithm>

#include "app/forms.hpp"
#include "app/main_window.hpp"
#include "app/palette.hpp"
#include "app/palette_table.hpp"
#include "app/undo_command.hpp"
#include "catalogue/model_names.hpp"
#include "catalogue/placement_defaults.hpp"
#include "editor/canvas_state.hpp"
#include "editor/canvas_window.hpp"
#include "editor/placement_commands.hpp"
#include "model/network_model.hpp"
#include "platform/platform.hpp"

namespace kavrix {
namespace {

constexpr char kObsoleteEntry[] = "kavrixObsoleteEntry";
// A selection narrower or lower than this cannot be copied, moved or deleted from the Edit menu.
constexpr int kSelectionMin = 10;

void AddDrawEntries(TForm1* form, QMenu* menu, const std::vector<palette::DrawEntry>& entries) {
  for (const palette::DrawEntry& e : entries) {
    QAction* action = nullptr;
    if (!e.items.empty()) {
      QMenu* sub = menu->addMenu(QString::fromUtf8(e.caption));
      AddDrawEntries(form, sub, e.items);
      action = sub->menuAction();
    } else {
      const std::string_view name = ModelName(e.kind);
      const QString caption = e.caption ? QString::fromUtf8(e.caption)
                                        : QString::fromUtf8(name.data(), static_cast<int>(name.size()));
      action = menu->addAction(caption);
      action->setObjectName(QString::fromUtf8(palette::PlacementCommandName(e.kind)));
      action->setData(e.kind);
      if (FindPlacementDefaults(e.kind))
        QObject::connect(action, &QAction::triggered, form, [form, kind = e.kind] { form->PlacementClick(kind); });
    }
    if (e.obsolete) {
      action->setProperty(kObsoleteEntry, true);
      action->setVisible(false);  // the options window's start-up applies the option
    }
  }
}

void ShowObsoleteDrawEntries(QMenu* menu, bool show) {
  for (QAction* a : menu->actions()) {
    if (a->property(kObsoleteEntry).toBool()) a->setVisible(show);
    if (a->menu()) ShowObsoleteDrawEntries(a->menu(), show);
  }
}

// The run commands stand after the catalogue on the bar.
bool IsRunCommand(const TForm1& form, const QAction* a) {
  return a == form.ToolButton5 || a == form.ToolButton86 || a == form.ToolButton93 || a == form.ToolButton94;
}

// Order of the commands before the sources: open, save, the others, undo, navigation.
int LeadingRank(const TForm1& form, const QAction* a) {
  if (a == form.Open1) return 0;
  if (a == form.SaveAction) return 1;
  if (a == form.ToolButton91) return 3;
  if (a == form.ToolButton90) return 4;
  return 2;
}

// The palette shows the tool bar's commands as its own buttons: commands added to ToolBar1 at any
// time (by this window or by other commands' builders) move into it, the run commands after the
// catalogue, the others before the sources.
class ToolBarCommands : public QObject {
 public:
  ToolBarCommands(TForm1* form, QToolBar* bar, PaletteBar* palette)
      : QObject(bar), m_form(form), m_bar(bar), m_palette(palette), m_paletteAction(bar->addWidget(palette)) {
    bar->installEventFilter(this);
  }

  // Commands stay in the bar's action list; the palette shows them as its own buttons.
  void Adopt(QAction* action) {
    if (action == m_paletteAction || !m_palette) return;
    if (std::find(m_adopted.begin(), m_adopted.end(), action) != m_adopted.end()) return;
    m_adopted.push_back(action);
    if (IsRunCommand(*m_form, action)) m_palette->AddTrailingCommand(action);
    else m_palette->AddLeadingCommand(action, LeadingRank(*m_form, action));
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // The main window's tool-bar menu would offer to hide the bar, taking the whole palette away
    // with nothing left to right-click to bring it back.
    if (watched == m_bar && event->type() == QEvent::ContextMenu) {
      event->accept();
      return true;
    }
    if (watched == m_bar && event->type() == QEvent::ActionAdded) {
      QAction* action = static_cast<QActionEvent*>(event)->action();
      if (action != m_paletteAction) {
        Adopt(action);
        return true;  // the palette shows it; the tool bar itself holds only the palette
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  TForm1* m_form;
  QToolBar* m_bar;
  QPointer<PaletteBar> m_palette;
  QAction* m_paletteAction;
  std::vector<QAction*> m_adopted;
};

int TrailingRank(const TForm1& form, const QAction* a) {
  if (a == form.ToolButton5) return 0;
  if (a == form.ToolButton86) return 1;
  if (a == form.ToolButton93) return 2;
  return 3;
}

}  // namespace

void TForm1::BuildPlacementCommands() {
  Copy1 = Edit1->addAction("Copy", this, [this] { Copy1Click(); });
  Move1 = Edit1->addAction("Move", this, [this] { Move1Click(); });
  Delete1 = Edit1->addAction("Delete", this, [this] { Delete1Click(); });

  Draw1 = new QMenu("&Draw", this);
  Draw1->setObjectName("Draw1");
  AddDrawEntries(this, Draw1, palette::DrawMenuEntries());
  const QList<QAction*> menus = menuBar()->actions();
  const qsizetype editAt = menus.indexOf(Edit1->menuAction());
  if (editAt >= 0 && editAt + 1 < menus.size()) menuBar()->insertMenu(menus[editAt + 1], Draw1);
  else menuBar()->addMenu(Draw1);

  Palette = new PaletteBar({[this](int kind) { PlacementClick(kind); }, [this] { ToolBar1MouseMove(); }});
  ToolBar1->setMovable(false);
  ToolBar1->setFloatable(false);
  // The commands already on the bar are added again once the palette takes them over, in the
  // bar's order: open, save, the others, undo, navigation, then the run commands.
  QList<QAction*> commands = ToolBar1->actions();
  for (QAction* a : commands) ToolBar1->removeAction(a);
  new ToolBarCommands(this, ToolBar1, Palette);
  std::stable_sort(commands.begin(), commands.end(), [this](const QAction* a, const QAction* b) {
    const bool ta = IsRunCommand(*this, a), tb = IsRunCommand(*this, b);
    if (ta != tb) return tb;
    return ta ? TrailingRank(*this, a) < TrailingRank(*this, b) : LeadingRank(*this, a) < LeadingRank(*this, b);
  });
  for (QAction* a : commands) ToolBar1->addAction(a);

  QPointer<PaletteBar> palette = Palette;
  QPointer<QMenu> draw = Draw1;
  Windows().releaseObsoletePaletteButtons = [palette] {
    if (palette) palette->ReleaseObsoleteButtons();
  };
  Windows().showObsoleteFamilies = [palette, draw](bool show) {
    if (palette) palette->ShowObsoleteFamilies(show);
    if (draw) ShowObsoleteDrawEntries(draw, show);
  };
}

void TForm1::PlacementClick(int kind) {
  const ArmResult r = ArmPlacement(kind, Form5 ? Form5->Tag : kCanvasIdle);
  if (!r.message.empty()) platform::Current().messageBox(r.caption, r.message, platform::Buttons::Ok);
  if (!r.armed() || !Form5) return;
  // The line hints belong to the line that was being drawn or picked up, which arming drops; left
  // on show they would send Shift to the navigation view with no trunk line pending.
  for (QLabel* hint : {Form5->Label14, Form5->Label15})
    if (hint) hint->hide();
  if (r.showLineHint && Form5->Label14) {
    Form5->Label14->move(Form5->width() - 350, 10);
    Form5->Label14->show();
  }
  Form5->update();
}

void TForm1::Edit1Click() {
  Undo1->setEnabled(Undo1Enabled());
  const int w = SelRect.Right - SelRect.Left;
  const int h = SelRect.Bottom - SelRect.Top;
  if (w < kSelectionMin || h < kSelectionMin)
    for (QAction* a : {Copy1, Move1, Delete1}) a->setEnabled(false);
  if (w > kSelectionMin || h > kSelectionMin)
    for (QAction* a : {Copy1, Move1, Delete1}) a->setEnabled(true);
}

void TForm1::Copy1Click() { CopyNotMove = 1; }

void TForm1::Move1Click() { CopyNotMove = 0; }

void TForm1::Delete1Click() {
  if (Form5) Form5->Delete1Click();
}

void TForm1::ToolBar1MouseMove() {
  if (!Form5) return;
  const bool lengthEditor = Form5->Edit1 && Form5->Edit1->isVisibleTo(Form5);
  const bool stepper = Form5->UpDown1 && Form5->UpDown1->isVisibleTo(Form5);
  if (lengthEditor || stepper) Form5->FormClick(this);
}

}  // namespace kavrix
