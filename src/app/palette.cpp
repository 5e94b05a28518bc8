#include "app/palette.hpp"

#include <QAction>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <cstring>

#include "app/palette_table.hpp"
#include "catalogue/model_names.hpp"
#include "symbols/glyph_store.hpp"
#include "symbols/type_glyphs.hpp"

namespace kavrix {
namespace {

using palette::Role;
using palette::Show;

constexpr int kIconSize = 28;
constexpr int kButtonSize = kIconSize + 8;
constexpr int kMargin = 2;
constexpr int kSpacing = 1;
constexpr int kSectionGap = 8;
constexpr char kIconPending[] = "kavrixIconPending";

// The leading letters the category captions leave to their pictures.
const char* CategoryLead(int id) {
  switch (id) {
    case 105: return "A";
    case 97: return "D";
    case 106: return "4-";
    case 71: return "5-";
    case 122: return "9-";
    case 7: return "17-";
    case 61: return "d";
    case 89: return "T";
    case 177: return "F";
    default: return "";
  }
}

QPixmap BlankPixmap(int size) {
  QPixmap pm(size, size);
  pm.fill(Qt::transparent);
  return pm;
}

QIcon LeadIcon(const char* lead) {
  QPixmap pm = BlankPixmap(kIconSize);
  QPainter p(&pm);
  QFont f("Liberation Sans");
  f.setBold(true);
  f.setPixelSize(std::strlen(lead) > 2 ? 13 : 18);
  p.setFont(f);
  p.setPen(QColor(0, 0, 128));
  p.drawText(pm.rect(), Qt::AlignRight | Qt::AlignVCenter, QString::fromLatin1(lead));
  return QIcon(pm);
}

// Lines have no symbol: a few parallel conductors stand for the trunk lines, a dashed orange
// run for the fibre.
QPixmap LinePixmap(int kind, int size) {
  QPixmap pm = BlankPixmap(size);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing, false);
  const int conductors = kind == 201 ? 5 : kind == 202 ? 4 : 1;
  QPen pen(kind == 205 ? QColor(230, 120, 0) : QColor(0, 0, 0), conductors == 1 ? 3 : 1);
  if (kind == 205) pen.setStyle(Qt::DashLine);
  p.setPen(pen);
  const int step = 4;
  const int top = size / 2 - (conductors - 1) * step / 2;
  for (int c = 0; c < conductors; ++c) p.drawLine(3, top + c * step, size - 4, top + c * step);
  return pm;
}

QPixmap CommentPixmap(int size) {
  QPixmap pm = BlankPixmap(size);
  QPainter p(&pm);
  p.setPen(QColor(0, 0, 0));
  p.setBrush(QColor(255, 255, 225));
  p.drawRect(2, 6, size - 5, size - 13);
  QFont f("Liberation Sans");
  f.setPixelSize(11);
  p.setFont(f);
  p.drawText(QRect(2, 6, size - 4, size - 12), Qt::AlignCenter, "Abc");
  return pm;
}

// The group's first device symbol with a small triangle in the corner: the button opens a group.
QIcon GroupIcon(int firstKind) {
  const QIcon device = KindIcon(firstKind, kIconSize);
  if (device.isNull()) return {};
  QPixmap pm = device.pixmap(kIconSize, kIconSize);
  QPainter p(&pm);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 128));
  p.drawPolygon(QPolygon({QPoint(kIconSize - 8, kIconSize - 1), QPoint(kIconSize - 1, kIconSize - 1),
                          QPoint(kIconSize - 1, kIconSize - 8)}));
  return QIcon(pm);
}

int FirstDeviceKind(int groupId) {
  for (const palette::ButtonDef& b : palette::PaletteButtons())
    if (b.parent == groupId && b.kind > 0) return b.kind;
  return 0;
}

QIcon IconFor(const palette::ButtonDef& def) {
  if (def.role == Role::kGroup) return GroupIcon(FirstDeviceKind(def.id));
  return KindIcon(def.kind, kIconSize);
}

}  // namespace

QIcon KindIcon(int kind, int size) {
  if (kind >= 201 && kind <= 205) return QIcon(LinePixmap(kind, size));
  if (kind == 100) return QIcon(CommentPixmap(size));
  const Bitmap& glyph = TypeGlyphAt(TypeSlotOfKind(kind));
  if (glyph.empty()) return {};
  // The symbol's background (its lower-left pixel) becomes transparent, as on the canvas.
  QImage image = glyph.image().convertToFormat(QImage::Format_ARGB32);
  const QRgb key = ToRgb(glyph.transparentColor()) | 0xFF000000u;
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x)
      if (line[x] == key) line[x] = 0;
  }
  const QImage scaled = image.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  QPixmap pm = BlankPixmap(size);
  QPainter p(&pm);
  p.drawImage((size - scaled.width()) / 2, (size - scaled.height()) / 2, scaled);
  return QIcon(pm);
}

PaletteBar::PaletteBar(Callbacks callbacks, QWidget* parent) : QWidget(parent), m_callbacks(std::move(callbacks)) {
  setObjectName("Palette");
  setMouseTracking(true);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  int previousParent = -1;
  for (const palette::ButtonDef& def : palette::PaletteButtons()) {
    Entry e;
    e.id = def.id;
    e.kind = def.kind;
    e.parent = def.parent;
    e.withParent = def.show == Show::kWithParent;
    // Sections: the placements after the commands, each category; the comment joins the run commands.
    e.gapBefore = def.role == Role::kCategory || (def.parent == 0 && previousParent != 0 && def.id != 63);
    previousParent = def.parent;
    QToolButton* b = AddButton(e);
    b->setToolTip(QString::fromUtf8(def.text));
    b->setHidden(def.show != Show::kAlways);
    switch (def.role) {
      case Role::kCategory:
        b->setCheckable(true);
        b->setText(QString::fromUtf8(def.text));
        b->setIcon(LeadIcon(CategoryLead(def.id)));
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        b->setFixedHeight(kButtonSize);
        m_tags[def.id] = 0;
        connect(b, &QToolButton::clicked, this, [this, id = def.id] { CategoryClick(id); });
        break;
      case Role::kGroup:
        b->setCheckable(true);
        connect(b, &QToolButton::clicked, this, [this, id = def.id] { GroupClick(id); });
        break;
      case Role::kPlacement:
      case Role::kDevice:
        b->setText(QString::fromUtf8(ModelName(def.kind).data(), static_cast<int>(ModelName(def.kind).size())));
        connect(b, &QToolButton::clicked, this, [this, kind = def.kind] {
          if (m_callbacks.arm) m_callbacks.arm(kind);
        });
        break;
    }
    if (def.role != Role::kCategory) {
      b->setToolButtonStyle(Qt::ToolButtonIconOnly);
      b->setFixedSize(kButtonSize, kButtonSize);
      const QIcon icon = IconFor(def);
      if (icon.isNull()) b->setProperty(kIconPending, true);
      else b->setIcon(icon);
    }
    if (def.role == Role::kPlacement && def.id == 63) m_trailingAt = static_cast<int>(m_entries.size()) - 1;
  }
}

QToolButton* PaletteBar::AddButton(Entry entry) {
  auto* b = new QToolButton(this);
  if (entry.id > 0) b->setObjectName(QString("ToolButton%1").arg(entry.id));
  b->setAutoRaise(true);
  b->setIconSize(QSize(kIconSize, kIconSize));
  b->setFocusPolicy(Qt::NoFocus);
  Track(b);
  entry.button = b;
  m_entries.push_back(entry);
  if (entry.id > 0) m_buttons[entry.id] = b;
  return b;
}

void PaletteBar::Track(QToolButton* button) {
  button->setMouseTracking(true);
  button->installEventFilter(this);
}

void PaletteBar::AddLeadingCommand(QAction* action, int rank) {
  // Leading commands go before the first placement button, after the earlier leading commands of
  // the same or a lower rank, so a command added late still takes its place in the row.
  std::size_t end = 0;
  while (end < m_entries.size() && m_entries[end].id == 0) ++end;
  std::size_t at = 0;
  while (at < end && m_entries[at].rank <= rank) ++at;
  auto* b = new QToolButton(this);
  b->setDefaultAction(action);
  b->setAutoRaise(true);
  b->setFocusPolicy(Qt::NoFocus);
  b->setFixedHeight(kButtonSize);
  b->setVisible(true);  // children made after the bar is shown start hidden
  Track(b);
  Entry e;
  e.button = b;
  e.rank = rank;
  m_entries.insert(m_entries.begin() + static_cast<std::ptrdiff_t>(at), e);
  ++m_trailingAt;
  // The first placement button after the commands starts a new section.
  if (end + 1 < m_entries.size()) m_entries[end + 1].gapBefore = true;
  Relayout();
}

void PaletteBar::AddTrailingCommand(QAction* action) {
  auto* b = new QToolButton(this);
  b->setDefaultAction(action);
  b->setAutoRaise(true);
  b->setFocusPolicy(Qt::NoFocus);
  b->setFixedHeight(kButtonSize);
  b->setVisible(true);
  Track(b);
  Entry e;
  e.button = b;
  e.gapBefore = m_trailingAt > 0 && m_entries[static_cast<std::size_t>(m_trailingAt) - 1].id != 0;
  m_entries.insert(m_entries.begin() + m_trailingAt, e);
  ++m_trailingAt;
  Relayout();
}

QToolButton* PaletteBar::ToolButton(int id) const {
  auto it = m_buttons.find(id);
  return it == m_buttons.end() ? nullptr : it->second;
}

int PaletteBar::CategoryTag(int id) const {
  auto it = m_tags.find(id);
  return it == m_tags.end() ? 0 : it->second;
}

void PaletteBar::SetChildrenHidden(int parent, bool hidden, bool onlyWithParent) {
  for (const Entry& e : m_entries)
    if (e.parent == parent && e.id > 0 && (!onlyWithParent || e.withParent)) e.button->setHidden(hidden);
}

void PaletteBar::CategoryClick(int id) {
  QToolButton* b = ToolButton(id);
  auto tag = m_tags.find(id);
  if (!b || tag == m_tags.end()) return;
  const bool down = tag->second != 1;
  b->setChecked(down);
  if (down) {
    SetChildrenHidden(id, false, true);
    tag->second = 1;
  } else {
    // Open groups close first, so reopening the category shows its group buttons all up.
    for (const palette::ButtonDef& def : palette::PaletteButtons()) {
      if (def.parent != id || def.role != Role::kGroup) continue;
      QToolButton* g = ToolButton(def.id);
      if (g && g->isChecked()) {
        g->setChecked(false);
        GroupClick(def.id);
      }
    }
    SetChildrenHidden(id, true, false);
    tag->second = 0;
  }
  Relayout();
}

void PaletteBar::GroupClick(int id) {
  QToolButton* b = ToolButton(id);
  if (!b) return;
  if (b->isChecked()) SetChildrenHidden(id, false, true);
  else SetChildrenHidden(id, true, false);
  Relayout();
}

void PaletteBar::ReleaseObsoleteButtons() {
  for (int id : palette::ObsoleteReleaseOrder()) {
    QToolButton* b = ToolButton(id);
    if (!b || !b->isChecked()) continue;
    b->setChecked(false);
    const palette::ButtonDef* def = palette::FindPaletteButton(id);
    if (def && def->role == Role::kCategory) CategoryClick(id);
    else GroupClick(id);
  }
}

void PaletteBar::ShowObsoleteFamilies(bool show) {
  for (const palette::ObsoleteFamily& family : palette::ObsoleteFamilies()) {
    QToolButton* parent = ToolButton(family.parent);
    if (!parent || !parent->isChecked()) continue;
    for (int id : family.buttons)
      if (QToolButton* b = ToolButton(id)) b->setHidden(!show);
  }
  Relayout();
}

int PaletteBar::LayoutButtons(int width, bool apply) const {
  int x = kMargin, y = kMargin, rowHeight = 0;
  for (const Entry& e : m_entries) {
    if (e.button->isHidden()) continue;
    const QSize size = e.button->sizeHint().expandedTo(e.button->minimumSize()).boundedTo(e.button->maximumSize());
    if (e.gapBefore && x > kMargin) x += kSectionGap;
    if (x > kMargin && x + size.width() > width - kMargin) {
      x = kMargin;
      y += rowHeight + kSpacing;
      rowHeight = 0;
    }
    if (apply) e.button->setGeometry(x, y, size.width(), size.height());
    x += size.width() + kSpacing;
    rowHeight = std::max(rowHeight, size.height());
  }
  return y + rowHeight + kMargin;
}

int PaletteBar::heightForWidth(int width) const { return LayoutButtons(width, false); }

QSize PaletteBar::sizeHint() const {
  int w = width();
  if (w < kButtonSize * 4 && window()) w = window()->width();
  return {w, heightForWidth(w)};
}

QSize PaletteBar::minimumSizeHint() const {
  const int w = std::max(width(), kButtonSize * 4);
  return {kButtonSize * 4, heightForWidth(w)};
}

void PaletteBar::Relayout() {
  LayoutButtons(width(), true);
  const int h = heightForWidth(width());
  if (h != m_lastHeight) {
    m_lastHeight = h;
    setMinimumHeight(h);
    updateGeometry();
  }
}

void PaletteBar::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Relayout();
}

void PaletteBar::mouseMoveEvent(QMouseEvent* event) {
  if (m_callbacks.mouseMove) m_callbacks.mouseMove();
  QWidget::mouseMoveEvent(event);
}

bool PaletteBar::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseMove && m_callbacks.mouseMove) m_callbacks.mouseMove();
  // Symbols of the obsolete families exist only while they are included: their buttons get their
  // pictures when they are first painted after that.
  if (event->type() == QEvent::Paint && watched->property(kIconPending).toBool()) {
    auto* b = static_cast<QToolButton*>(watched);
    const palette::ButtonDef* def = palette::FindPaletteButton(b->objectName().mid(10).toInt());
    const QIcon icon = def ? IconFor(*def) : QIcon();
    if (!icon.isNull()) {
      b->setIcon(icon);
      b->setProperty(kIconPending, false);
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace kavrix
