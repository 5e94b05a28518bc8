#include "symbols/canvas_surface.hpp"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <map>
#include <tuple>
#include <QPolygonF>
#include <QStringList>
#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <utility>

#include "model/text_file.hpp"

namespace kavrix {

namespace {

constexpr double kPi = 3.14159265358979323846;

TextRecorder* g_recorder = nullptr;

QString g_regularFamily;
QString g_narrowFamily;
bool g_fontsTried = false;
bool g_fontsLoaded = false;

// Offset that puts a pen of width w on the pixel band e - w/2 .. e - w/2 + w - 1 when Qt samples
// pixel centres: the stroke's centre line lies at e for even widths and e + 0.5 for odd ones.
double PenOffset(int width) { return (std::max(1, width) % 2) ? 0.5 : 0.0; }

// Dash patterns of a width-1 pen, in pixels on / off, starting with on.
const std::vector<int>& Pattern(PenStyle style) {
  static const std::vector<int> solid;
  static const std::vector<int> dash{18, 6};
  static const std::vector<int> dot{3, 3};
  static const std::vector<int> dashDot{9, 6, 3, 6};
  static const std::vector<int> dashDotDot{9, 3, 3, 3, 3, 3};
  switch (style) {
    case PenStyle::Dash: return dash;
    case PenStyle::Dot: return dot;
    case PenStyle::DashDot: return dashDot;
    case PenStyle::DashDotDot: return dashDotDot;
    default: return solid;
  }
}

bool PatternOn(const std::vector<int>& pattern, int phase) {
  if (pattern.empty()) return true;
  int period = 0;
  for (int v : pattern) period += v;
  int p = phase % period;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (p < pattern[i]) return i % 2 == 0;
    p -= pattern[i];
  }
  return true;
}

void FillBand(QImage& img, int x0, int y0, int x1, int y1, QRgb c) {  // [x0, x1) x [y0, y1)
  x0 = std::max(x0, 0);
  y0 = std::max(y0, 0);
  x1 = std::min(x1, img.width());
  y1 = std::min(y1, img.height());
  for (int y = y0; y < y1; ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = x0; x < x1; ++x) line[x] = c;
  }
}

// Copies src onto dst at (x, y); pixels equal to `key` are skipped when `keyed`.
void Blit(QImage& dst, int x, int y, const QImage& src, bool keyed, QRgb key) {
  if (dst.isNull() || src.isNull()) return;
  const QImage s = src.format() == QImage::Format_RGB32 ? src : src.convertToFormat(QImage::Format_RGB32);
  const int sx0 = std::max(0, -x), sy0 = std::max(0, -y);
  const int sx1 = std::min(s.width(), dst.width() - x), sy1 = std::min(s.height(), dst.height() - y);
  key |= 0xFF000000u;
  for (int sy = sy0; sy < sy1; ++sy) {
    const auto* in = reinterpret_cast<const QRgb*>(s.constScanLine(sy));
    auto* out = reinterpret_cast<QRgb*>(dst.scanLine(sy + y));
    for (int sx = sx0; sx < sx1; ++sx) {
      const QRgb v = in[sx] | 0xFF000000u;
      if (keyed && v == key) continue;
      out[sx + x] = v;
    }
  }
}

void Normalise(int& a, int& b) {
  if (a > b) std::swap(a, b);
}

QFont MakeQFont(const Font& f) {
  EnsureSymbolFonts();
  const bool narrow = f.name == kNarrowFontName || f.name == "Liberation Sans Narrow" ||
                      f.name == "DejaVu Sans Condensed";
  const QString regular = g_regularFamily.isEmpty() ? QStringLiteral("Liberation Sans") : g_regularFamily;
  QFont q;
  if (narrow) {
    q.setFamily(g_narrowFamily.isEmpty() ? regular : g_narrowFamily);
    if (g_narrowFamily.isEmpty()) q.setStretch(QFont::SemiCondensed);
  } else {
    q.setFamily(regular);
  }
  q.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoFontMerging));
  q.setHintingPreference(QFont::PreferFullHinting);
  q.setBold(f.style & font_style::kBold);
  q.setItalic(f.style & font_style::kItalic);
  q.setUnderline(f.style & font_style::kUnderline);
  q.setStrikeOut(f.style & font_style::kStrikeOut);
  if (f.height < 0) {
    q.setPixelSize(std::max(1, -f.height));
  } else if (f.height > 0) {
    // Cell height: the largest pixel size whose ascent + descent fits (cached per face and height).
    static std::map<std::pair<QString, int>, int> cache;
    const auto key = std::make_pair(q.key(), f.height);
    auto it = cache.find(key);
    if (it == cache.end()) {
      int best = 1;
      for (int px = 1; px <= f.height; ++px) {
        q.setPixelSize(px);
        if (QFontMetrics(q).height() <= f.height) best = px;
      }
      it = cache.emplace(key, best).first;
    }
    q.setPixelSize(it->second);
  } else {
    q.setPixelSize(11);
  }
  return q;
}

// The face and metrics of a font, made once per name, height and style: symbols and labels draw
// thousands of texts in a handful of fonts. Colour and orientation are the painter's business.
struct FontFace {
  QFont font;
  QFontMetrics metrics;
};
const FontFace& FaceOf(const Font& f) {
  static std::map<std::tuple<std::string, int, int>, FontFace> faces;
  const auto key = std::make_tuple(f.name, f.height, f.style);
  auto it = faces.find(key);
  if (it == faces.end()) {
    const QFont q = MakeQFont(f);
    it = faces.emplace(key, FontFace{q, QFontMetrics(q)}).first;
  }
  return it->second;
}

}  // namespace

// ---- Bitmap

Bitmap::Bitmap(int width, int height) {
  if (width > 0 && height > 0) {
    m_image = QImage(width, height, QImage::Format_RGB32);
    m_image.fill(ToRgb(colors::kWhite));
  }
}

Bitmap Bitmap::FromImage(const QImage& image, bool transparent) {
  Bitmap b;
  if (!image.isNull()) b.m_image = image.convertToFormat(QImage::Format_RGB32);
  b.m_transparent = transparent;
  return b;
}

void Bitmap::setSize(int width, int height) {
  if (width <= 0 || height <= 0) {
    m_image = QImage();
    return;
  }
  if (width == this->width() && height == this->height()) return;
  QImage next(width, height, QImage::Format_RGB32);
  next.fill(ToRgb(colors::kWhite));
  if (!m_image.isNull()) Blit(next, 0, 0, m_image, false, 0);
  m_image = std::move(next);
}

TColor Bitmap::transparentColor() const {
  if (empty()) return colors::kWhite;
  return pixel(0, height() - 1);
}

TColor Bitmap::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width() || y >= height()) return colors::kBlack;
  return FromRgb(reinterpret_cast<const QRgb*>(m_image.constScanLine(y))[x]);
}

void Bitmap::setPixel(int x, int y, TColor c) {
  if (x < 0 || y < 0 || x >= width() || y >= height()) return;
  reinterpret_cast<QRgb*>(m_image.scanLine(y))[x] = ToRgb(c);
}

// ---- recorder and fonts

bool RecordingTexts() { return g_recorder != nullptr; }

TextRecorder::TextRecorder() : m_previous(g_recorder) { g_recorder = this; }
TextRecorder::~TextRecorder() { g_recorder = m_previous; }

bool EnsureSymbolFonts() {
  if (g_fontsTried) return g_fontsLoaded;
  if (!QGuiApplication::instance()) return false;  // no font database yet; try again later
  g_fontsTried = true;
  auto load = [](const char* dir, std::initializer_list<const char*> files) -> QString {
    QString family;
    for (const char* file : files) {
      const int id = QFontDatabase::addApplicationFont(QLatin1String(dir) + QLatin1String(file));
      const QStringList families = id < 0 ? QStringList() : QFontDatabase::applicationFontFamilies(id);
      if (family.isEmpty() && !families.isEmpty()) family = families.front();
    }
    return family;
  };
  // The metric-compatible faces first: the symbol and window sizes are measured in them.
  const char* liberation = "/usr/share/fonts/truetype/liberation/";
  g_regularFamily = load(liberation, {"LiberationSans-Regular.ttf", "LiberationSans-Bold.ttf",
                                      "LiberationSans-Italic.ttf", "LiberationSans-BoldItalic.ttf"});
  QString narrow = load(liberation, {"LiberationSansNarrow-Regular.ttf", "LiberationSansNarrow-Bold.ttf",
                                     "LiberationSansNarrow-Italic.ttf", "LiberationSansNarrow-BoldItalic.ttf"});
  const char* dejavu = "/usr/share/fonts/truetype/dejavu/";
  if (g_regularFamily.isEmpty())
    g_regularFamily = load(dejavu, {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "DejaVuSans-Oblique.ttf",
                                    "DejaVuSans-BoldOblique.ttf"});
  if (narrow.isEmpty()) narrow = load(dejavu, {"DejaVuSansCondensed.ttf", "DejaVuSansCondensed-Bold.ttf"});
  // A face that registers under the regular family name is told apart by its stretch instead.
  g_narrowFamily = (narrow.isEmpty() || narrow == g_regularFamily) ? QString() : narrow;
  g_fontsLoaded = !g_regularFamily.isEmpty();
  return g_fontsLoaded;
}

QString SymbolFontFamily() {
  EnsureSymbolFonts();
  return g_regularFamily.isEmpty() ? QStringLiteral("Liberation Sans") : g_regularFamily;
}

void UseSymbolFontForApplication(int points) {
  if (!QGuiApplication::instance()) return;
  QFont f(SymbolFontFamily());
  f.setPointSize(points);
  QGuiApplication::setFont(f);
}

// ---- Canvas: lines

void Canvas::thinLine(int x1, int y1, int x2, int y2, bool includeEnd) {
  QImage& img = m_target->image();
  const QRgb c = ToRgb(pen.color);
  const auto& pattern = Pattern(pen.style);
  int dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
  const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
  int err = dx + dy;
  int x = x1, y = y1;
  for (;;) {
    const bool atEnd = x == x2 && y == y2;
    if (atEnd && !includeEnd) break;
    if (PatternOn(pattern, m_patternPhase) && x >= 0 && y >= 0 && x < img.width() && y < img.height())
      reinterpret_cast<QRgb*>(img.scanLine(y))[x] = c;
    ++m_patternPhase;
    if (atEnd) break;
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
}

void Canvas::strokeSegment(int x1, int y1, int x2, int y2) {
  if (m_target->empty() || pen.style == PenStyle::Clear) return;
  if (x1 == x2 && y1 == y2) return;
  if (pen.width <= 1) {
    thinLine(x1, y1, x2, y2, false);
    return;
  }
  QPainter p(&m_target->image());
  p.setRenderHint(QPainter::Antialiasing, false);
  QPen qp(QColor::fromRgb(ToRgb(pen.color)), pen.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p.setPen(qp);
  const double o = PenOffset(pen.width);
  p.drawLine(QPointF(x1 + o, y1 + o), QPointF(x2 + o, y2 + o));
}

void Canvas::lineTo(int x, int y) {
  strokeSegment(m_pos.x(), m_pos.y(), x, y);
  m_pos = QPoint(x, y);
}

// ---- Canvas: shapes

void Canvas::fillRect(int left, int top, int right, int bottom) {
  if (m_target->empty() || brush.style == BrushStyle::Clear) return;
  Normalise(left, right);
  Normalise(top, bottom);
  FillBand(m_target->image(), left, top, right, bottom, ToRgb(brush.color));
}

void Canvas::rectangle(int left, int top, int right, int bottom) {
  if (m_target->empty()) return;
  Normalise(left, right);
  Normalise(top, bottom);
  if (right - left < 1 || bottom - top < 1) return;
  fillRect(left, top, right, bottom);
  if (pen.style == PenStyle::Clear) return;
  QImage& img = m_target->image();
  if (pen.width <= 1 && pen.style != PenStyle::Solid) {
    thinLine(left, top, right - 1, top, false);
    thinLine(right - 1, top, right - 1, bottom - 1, false);
    thinLine(right - 1, bottom - 1, left, bottom - 1, false);
    thinLine(left, bottom - 1, left, top, false);
    return;
  }
  const int w = std::max(1, pen.width), a = w / 2;
  const QRgb c = ToRgb(pen.color);
  const int x0 = left - a, x1 = right - 1 - a + w, y0 = top - a, y1 = bottom - 1 - a + w;
  FillBand(img, x0, y0, x1, top - a + w, c);             // top
  FillBand(img, x0, bottom - 1 - a, x1, y1, c);          // bottom
  FillBand(img, x0, y0, left - a + w, y1, c);            // left
  FillBand(img, right - 1 - a, y0, x1, y1, c);           // right
}

namespace {

// Whether the centre of pixel (x, y) lies in the ellipse inscribed in [l, r) x [t, b). Twice the
// coordinates keep it in integers, so the shape is exactly symmetric about the box's centre.
bool InEllipse(int x, int y, int l, int t, int r, int b) {
  if (r - l < 1 || b - t < 1 || x < l || x >= r || y < t || y >= b) return false;
  const int64_t dx = 2 * static_cast<int64_t>(x) + 1 - l - r, dy = 2 * static_cast<int64_t>(y) + 1 - t - b;
  const int64_t w = r - l, h = b - t;
  return dx * dx * h * h + dy * dy * w * w <= w * w * h * h;
}

}  // namespace

void Canvas::ellipse(int left, int top, int right, int bottom) {
  if (m_target->empty()) return;
  Normalise(left, right);
  Normalise(top, bottom);
  if (right - left < 1 || bottom - top < 1) return;
  QImage& img = m_target->image();
  const int w = std::max(1, pen.width), a = w / 2;
  const bool outline = pen.style != PenStyle::Clear;
  // The pen covers the band a pen of its width covers on a rectangle's edges: a 1-px pen draws
  // the fill's own rim, a wider one the ring between the grown and the shrunk box.
  const int ol = outline ? left - a : left, ot = outline ? top - a : top;
  const int orr = outline ? right - 1 - a + w : right, ob = outline ? bottom - 1 - a + w : bottom;
  const int il = left - a + w, it = top - a + w, ir = right - 1 - a, ib = bottom - 1 - a;
  const QRgb fill = ToRgb(brush.color), ink = ToRgb(pen.color);
  const bool filled = brush.style == BrushStyle::Solid;
  for (int y = std::max(ot, 0); y < std::min(ob, img.height()); ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = std::max(ol, 0); x < std::min(orr, img.width()); ++x) {
      bool rim = false;
      if (outline && w == 1) {
        rim = InEllipse(x, y, left, top, right, bottom) &&
              (!InEllipse(x - 1, y, left, top, right, bottom) || !InEllipse(x + 1, y, left, top, right, bottom) ||
               !InEllipse(x, y - 1, left, top, right, bottom) || !InEllipse(x, y + 1, left, top, right, bottom));
      } else if (outline) {
        rim = InEllipse(x, y, ol, ot, orr, ob) && !InEllipse(x, y, il, it, ir, ib);
      }
      const bool inside = outline && w > 1 ? InEllipse(x, y, il, it, ir, ib) : InEllipse(x, y, left, top, right, bottom);
      if (rim) line[x] = ink;
      else if (filled && inside) line[x] = fill;
    }
  }
}

void Canvas::arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) {
  if (m_target->empty() || pen.style == PenStyle::Clear) return;
  Normalise(left, right);
  Normalise(top, bottom);
  if (right - left < 1 || bottom - top < 1) return;
  const double cx = (left + right - 1) / 2.0, cy = (top + bottom - 1) / 2.0;
  const double a3 = std::atan2(-(y3 - cy), x3 - cx) * 180.0 / kPi;
  const double a4 = std::atan2(-(y4 - cy), x4 - cx) * 180.0 / kPi;
  double span = a4 - a3;
  if (span <= 0) span += 360.0;
  QPainter p(&m_target->image());
  p.setRenderHint(QPainter::Antialiasing, false);
  const int w = std::max(1, pen.width);
  const double o = PenOffset(w);
  p.setPen(QPen(QColor::fromRgb(ToRgb(pen.color)), w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawArc(QRectF(left + o, top + o, right - 1 - left, bottom - 1 - top), static_cast<int>(std::lround(a3 * 16)),
            static_cast<int>(std::lround(span * 16)));
}

void Canvas::polygon(const std::vector<QPoint>& points) {
  if (m_target->empty() || points.size() < 2) return;
  QPainter p(&m_target->image());
  p.setRenderHint(QPainter::Antialiasing, false);
  const int w = std::max(1, pen.width);
  const double o = PenOffset(w);
  QPolygonF poly;
  for (const QPoint& pt : points) poly << QPointF(pt.x() + o, pt.y() + o);
  if (brush.style == BrushStyle::Solid) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromRgb(ToRgb(brush.color)));
    p.drawPolygon(poly);
  }
  if (pen.style != PenStyle::Clear) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor::fromRgb(ToRgb(pen.color)), w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolygon(poly);
  }
}

void Canvas::floodFill(int x, int y, TColor color, FillStyle style) {
  QImage& img = m_target->image();
  if (img.isNull() || brush.style == BrushStyle::Clear) return;
  const int w = img.width(), h = img.height();
  if (x < 0 || y < 0 || x >= w || y >= h) return;
  const QRgb ref = ToRgb(color) | 0xFF000000u, fill = ToRgb(brush.color) | 0xFF000000u;
  auto at = [&](int px, int py) -> QRgb& { return reinterpret_cast<QRgb*>(img.scanLine(py))[px]; };
  auto inside = [&](QRgb v) { return style == FillStyle::Border ? (v | 0xFF000000u) != ref : (v | 0xFF000000u) == ref; };
  if (!inside(at(x, y))) return;
  // A fill colour that itself counts as inside would loop; mark visited pixels separately then.
  std::vector<uint8_t> seen(static_cast<std::size_t>(w) * h, 0);
  std::vector<QPoint> stack{QPoint(x, y)};
  while (!stack.empty()) {
    const QPoint s = stack.back();
    stack.pop_back();
    int lx = s.x();
    const int py = s.y();
    if (seen[static_cast<std::size_t>(py) * w + lx] || !inside(at(lx, py))) continue;
    while (lx > 0 && !seen[static_cast<std::size_t>(py) * w + lx - 1] && inside(at(lx - 1, py))) --lx;
    int rx = lx;
    for (; rx < w && !seen[static_cast<std::size_t>(py) * w + rx] && inside(at(rx, py)); ++rx) {
      seen[static_cast<std::size_t>(py) * w + rx] = 1;
      at(rx, py) = fill;
    }
    for (int ny : {py - 1, py + 1}) {
      if (ny < 0 || ny >= h) continue;
      bool run = false;
      for (int px = lx; px < rx; ++px) {
        const bool in = !seen[static_cast<std::size_t>(ny) * w + px] && inside(at(px, ny));
        if (in && !run) stack.emplace_back(px, ny);
        run = in;
      }
    }
  }
}

// ---- Canvas: text

int Canvas::textWidth(const std::string& text) {
  return FaceOf(font).metrics.horizontalAdvance(QString::fromUtf8(text.c_str()));
}

int Canvas::textHeight(const std::string& text) { return FaceOf(font).metrics.height(); }

QRect Canvas::textInkRect(int x, int y, const std::string& text) {
  if (text.empty()) return QRect();
  const FontFace& face = FaceOf(font);
  const QFont& qf = face.font;
  const QFontMetrics& fm = face.metrics;
  const QString s = QString::fromUtf8(text.c_str());
  const int w = fm.horizontalAdvance(s), h = fm.height();
  // A scratch surface with room for every direction and the glyphs' overhangs.
  const int margin = std::max(w, h) + 8;
  QImage scratch(2 * margin, 2 * margin, QImage::Format_RGB32);
  scratch.fill(Qt::white);
  {
    QPainter p(&scratch);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.translate(margin, margin);
    p.rotate(-font.orientation / 10.0);
    p.setFont(qf);
    p.setPen(Qt::black);
    p.drawText(QPoint(0, fm.ascent()), s);
  }
  int l = scratch.width(), t = scratch.height(), r = -1, b = -1;
  for (int py = 0; py < scratch.height(); ++py) {
    const auto* line = reinterpret_cast<const QRgb*>(scratch.constScanLine(py));
    for (int px = 0; px < scratch.width(); ++px)
      if ((line[px] & 0xFFFFFF) != 0xFFFFFF) {
        l = std::min(l, px);
        r = std::max(r, px);
        t = std::min(t, py);
        b = std::max(b, py);
      }
  }
  if (r < 0) return QRect();
  return QRect(QPoint(l - margin + x, t - margin + y), QPoint(r - margin + x, b - margin + y));
}

void Canvas::textOut(int x, int y, const std::string& text) {
  if (m_target->empty()) return;
  const FontFace& face = FaceOf(font);
  const QFont& qf = face.font;
  const QFontMetrics& fm = face.metrics;
  const QString s = QString::fromUtf8(text.c_str());
  const int w = fm.horizontalAdvance(s), h = fm.height();
  QTransform t;
  t.translate(x, y);
  t.rotate(-font.orientation / 10.0);
  const QRect cell = t.mapRect(QRectF(0, 0, w, h)).toAlignedRect();
  const bool opaque = brush.style == BrushStyle::Solid;
  if (!s.isEmpty()) {
    QPainter p(&m_target->image());
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setTransform(t);
    if (opaque) p.fillRect(QRect(0, 0, w, h), QColor::fromRgb(ToRgb(brush.color)));
    p.setFont(qf);
    p.setPen(QColor::fromRgb(ToRgb(font.color)));
    p.drawText(QPoint(0, fm.ascent()), s);
  }
  if (g_recorder) {
    // After painting: a bitmap copied from another shares its pixels until it is drawn on.
    DrawnText d;
    d.target = &m_target->image();
    d.targetId = m_target->image().cacheKey() >> 32;
    d.targetSize = m_target->image().size();
    d.text = text;
    d.x = x;
    d.y = y;
    d.font = font;
    d.opaque = opaque;
    d.background = brush.color;
    d.bounds = cell;
    g_recorder->texts.push_back(std::move(d));
  }
}

// ---- Canvas: bitmaps

void Canvas::draw(int x, int y, const Bitmap& src) {
  if (m_target->empty() || src.empty()) return;
  Blit(m_target->image(), x, y, src.image(), src.transparent(), ToRgb(src.transparentColor()));
}

void Canvas::stretchDraw(int left, int top, int right, int bottom, const Bitmap& src) {
  if (m_target->empty() || src.empty()) return;
  Normalise(left, right);
  Normalise(top, bottom);
  if (right - left < 1 || bottom - top < 1) return;
  const QImage scaled = src.image().scaled(right - left, bottom - top, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  Blit(m_target->image(), left, top, scaled, src.transparent(), ToRgb(src.transparentColor()));
}

void Canvas::copyRect(int dl, int dt, int dr, int db, const Bitmap& src, int sl, int st, int sr, int sb) {
  if (m_target->empty() || src.empty()) return;
  Normalise(dl, dr);
  Normalise(dt, db);
  Normalise(sl, sr);
  Normalise(st, sb);
  if (dr - dl < 1 || db - dt < 1 || sr - sl < 1 || sb - st < 1) return;
  QImage part = src.image().copy(sl, st, sr - sl, sb - st);
  if (part.width() != dr - dl || part.height() != db - dt)
    part = part.scaled(dr - dl, db - dt, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  Blit(m_target->image(), dl, dt, part, false, 0);
}

QImage MonochromeMask(const Bitmap& src) {
  if (src.empty()) return QImage();
  QImage mask(src.width(), src.height(), QImage::Format_Mono);
  mask.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  const TColor key = src.transparentColor();
  for (int y = 0; y < src.height(); ++y)
    for (int x = 0; x < src.width(); ++x) mask.setPixel(x, y, src.transparent() && src.pixel(x, y) == key ? 1 : 0);
  return mask;
}

QByteArray EncodeBitmap8(const Bitmap& bmp) {
  if (bmp.empty()) return {};
  // Qt's own writer drops to 4 bits for few colours; readers of the picture expect 8.
  const QImage eight =
      bmp.image().convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither | Qt::ColorOnly);
  const int w = eight.width(), h = eight.height();
  const int stride = (w + 3) & ~3;
  const uint32_t paletteBytes = 256 * 4, offBits = 14 + 40 + paletteBytes;
  const uint32_t fileSize = offBits + static_cast<uint32_t>(stride) * h;
  QByteArray out;
  out.reserve(static_cast<int>(fileSize));
  auto u16 = [&](uint32_t v) { out.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF)); };
  auto u32 = [&](uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); };
  out.append("BM", 2);
  u32(fileSize); u32(0); u32(offBits);
  u32(40); u32(static_cast<uint32_t>(w)); u32(static_cast<uint32_t>(h)); u16(1); u16(8); u32(0);
  u32(static_cast<uint32_t>(stride) * h); u32(3780); u32(3780); u32(256); u32(0);
  const QList<QRgb> table = eight.colorTable();
  for (int i = 0; i < 256; ++i) {
    const QRgb c = i < table.size() ? table[i] : 0;
    out.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c))).append(char(0));
  }
  for (int y = h - 1; y >= 0; --y) {
    out.append(reinterpret_cast<const char*>(eight.constScanLine(y)), w);
    for (int pad = w; pad < stride; ++pad) out.append(char(0));
  }
  return out;
}

bool SaveBitmap8(const Bitmap& bmp, const std::string& path) {
  const QByteArray out = EncodeBitmap8(bmp);
  if (out.isEmpty()) return false;
  return WriteFileSafely(path, std::string(out.constData(), static_cast<std::size_t>(out.size())));
}

}  // namespace kavrix
