#pragma once
// The drawing surface every symbol, label and picture is drawn on: a `Bitmap` (an RGB image with a
// transparent flag) and a `Canvas` that draws into one with a pen, a brush and a font.
//
// Semantics the symbol code relies on (all drawing is aliased, so symbols are pixel-exact and keyed
// transparency leaves no fringes):
//  - Colours are $00BBGGRR numbers (`TColor`), as the symbol tables write them.
//  - Rectangles and ellipses take (left, top, right, bottom) with the right and bottom edges excluded.
//    Ellipses are rasterised in integers, mirror-symmetric about their box's centre (a pixel is
//    inside when its centre is), so small terminal circles come out round.
//    A pen of width w centred on an edge coordinate e covers the pixels e - w/2 .. e - w/2 + w - 1,
//    where the right and bottom edges lie at right - 1 and bottom - 1; lines follow the same rule.
//  - moveTo/lineTo: a pen of width 1 leaves out the end point (so a zero-length line draws nothing);
//    wider pens have round caps and draw nothing for a zero-length line either.
//  - Text is drawn with the font's colour on an opaque background in the brush colour (none when the
//    brush is clear), anchored at the top-left corner of the unrotated text; orientation +900 reads
//    upwards, -900 downwards. Fonts are the metric-compatible Liberation faces (DejaVu when they
//    are missing) loaded from their files at fixed pixel sizes, so results do not depend on the
//    screen or the desktop's font settings; "Arial Narrow" maps to Liberation Sans Narrow.
//  - A transparent bitmap's transparent colour is its lower-left pixel; drawing it onto another
//    surface skips the pixels of that colour.
//  - Every operation accepts an empty bitmap and then does nothing; pixel reads outside the image
//    return black.
#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace kavrix {

using TColor = uint32_t;  // $00BBGGRR

namespace colors {
constexpr TColor kBlack = 0x000000;
constexpr TColor kWhite = 0xFFFFFF;
constexpr TColor kSilver = 0xC0C0C0;
constexpr TColor kGrey = 0x808080;
constexpr TColor kGrayText = 0x808080;  // the system grey-text colour of inner frames
constexpr TColor kBlue = 0xFF0000;
constexpr TColor kOlive = 0x008080;
constexpr TColor kPurple = 0x800080;
constexpr TColor kGreen = 0x008000;
constexpr TColor kYellow = 0x00FFFF;
constexpr TColor kRed = 0x0000FF;
constexpr TColor kLightGrey = 0xC0C0C0;
}  // namespace colors

inline QRgb ToRgb(TColor c) { return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
inline TColor FromRgb(QRgb c) {
  return static_cast<TColor>(qRed(c)) | (static_cast<TColor>(qGreen(c)) << 8) | (static_cast<TColor>(qBlue(c)) << 16);
}

// A picture with its transparency. Copies are cheap (the pixels are shared until one side writes).
class Bitmap {
 public:
  Bitmap() = default;
  Bitmap(int width, int height);  // all white, opaque
  static Bitmap FromImage(const QImage& image, bool transparent = false);

  bool empty() const { return m_image.isNull(); }
  int width() const { return m_image.width(); }
  int height() const { return m_image.height(); }
  // Keeps the pixels that still fit; new pixels are white. A size of 0 in either direction empties it.
  void setSize(int width, int height);
  void release() { *this = Bitmap(); }

  bool transparent() const { return m_transparent; }
  void setTransparent(bool on) { m_transparent = on; }
  // The lower-left pixel; white for an empty bitmap.
  TColor transparentColor() const;

  TColor pixel(int x, int y) const;
  void setPixel(int x, int y, TColor c);

  const QImage& image() const { return m_image; }
  QImage& image() { return m_image; }

 private:
  QImage m_image;  // Format_RGB32, or null when empty
  bool m_transparent = false;
};

enum class PenStyle { Solid, Dash, Dot, DashDot, DashDotDot, Clear };
enum class BrushStyle { Solid, Clear };
enum class FillStyle { Border, Surface };  // fill up to a border colour / over one surface colour

namespace font_style {
constexpr int kBold = 1;
constexpr int kItalic = 2;
constexpr int kUnderline = 4;
constexpr int kStrikeOut = 8;
}  // namespace font_style

struct Pen {
  TColor color = colors::kBlack;
  int width = 1;
  PenStyle style = PenStyle::Solid;
};

struct Brush {
  TColor color = colors::kWhite;
  BrushStyle style = BrushStyle::Solid;
};

// Font height follows the surface's convention: negative = character (em) height in pixels,
// positive = cell height (ascent + descent) in pixels. `FontSizeToHeight` gives the height of a
// point size at 96 pixels per inch, which is how sizes in points are meant here.
constexpr int FontSizeToHeight(int points) { return -((points * 96 + 36) / 72); }

constexpr const char* kDefaultFontName = "Liberation Sans";
constexpr const char* kNarrowFontName = "Arial Narrow";

struct Font {
  std::string name = kDefaultFontName;
  int height = FontSizeToHeight(8);
  int style = 0;  // font_style bits
  TColor color = colors::kBlack;
  int orientation = 0;  // tenths of a degree: 900 reads upwards, -900 downwards
};

// One text as it was drawn, for tests that check captions without comparing glyph pixels.
struct DrawnText {
  const QImage* target = nullptr;  // identifies the surface while it lives
  int64_t targetId = 0;            // identifies the surface for good (its pixels' creation)
  QSize targetSize;
  std::string text;
  int x = 0;
  int y = 0;
  Font font;
  bool opaque = true;
  TColor background = colors::kWhite;
  QRect bounds;  // the background cell on the target, after rotation
};

// While one of these lives, every text drawn by any canvas is appended to `texts` (the newest
// recorder wins; they nest).
// True while a TextRecorder is collecting.
bool RecordingTexts();

class TextRecorder {
 public:
  TextRecorder();
  ~TextRecorder();
  TextRecorder(const TextRecorder&) = delete;
  TextRecorder& operator=(const TextRecorder&) = delete;
  std::vector<DrawnText> texts;

 private:
  TextRecorder* m_previous;
};

// Loads the faces from the system font folders once (Liberation Sans and Liberation Sans Narrow of
// fonts-liberation, DejaVu Sans and its condensed face as the fallback); called by the first text
// operation. Returns false when no regular face could be loaded (text then falls back to Qt's
// default font).
bool EnsureSymbolFonts();
// The family name the regular face registered under.
QString SymbolFontFamily();
// Makes the regular face at `points` the application's font, so windows measure their captions
// in the face their sizes were laid out for. Needs the application object.
void UseSymbolFontForApplication(int points);

// Draws into one bitmap. The canvas keeps a reference: the bitmap must outlive it and must not be
// resized while a canvas draws into it through another path.
class Canvas {
 public:
  explicit Canvas(Bitmap& target) : m_target(&target) {}

  Pen pen;
  Brush brush;
  Font font;

  Bitmap& target() { return *m_target; }

  void moveTo(int x, int y) { m_pos = QPoint(x, y); }
  void lineTo(int x, int y);
  QPoint penPos() const { return m_pos; }
  void line(int x1, int y1, int x2, int y2) {
    moveTo(x1, y1);
    lineTo(x2, y2);
  }

  void rectangle(int left, int top, int right, int bottom);
  void fillRect(int left, int top, int right, int bottom);  // brush only, no outline
  void ellipse(int left, int top, int right, int bottom);
  // Counter-clockwise from the radial through (x3, y3) to the radial through (x4, y4).
  void arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4);
  void polygon(const std::vector<QPoint>& points);
  void polygon(std::initializer_list<QPoint> points) { polygon(std::vector<QPoint>(points)); }
  // Border: fills from (x, y) over every 4-connected pixel that is not `color`.
  // Surface: fills from (x, y) over the 4-connected pixels that are `color`.
  void floodFill(int x, int y, TColor color, FillStyle style);

  void textOut(int x, int y, const std::string& text);
  int textWidth(const std::string& text);
  int textHeight(const std::string& text);
  // The pixels textOut(x, y, text) would ink with the current font, orientation included (its
  // background cell left aside); an empty rectangle for a text without ink.
  QRect textInkRect(int x, int y, const std::string& text);

  TColor pixel(int x, int y) const { return m_target->pixel(x, y); }
  void setPixel(int x, int y, TColor c) { m_target->setPixel(x, y, c); }

  // Draws `src` with its top-left corner at (x, y), keyed by its transparent colour when it is
  // transparent.
  void draw(int x, int y, const Bitmap& src);
  // Draws `src` scaled (nearest pixel) into the rectangle, keyed like draw().
  void stretchDraw(int left, int top, int right, int bottom, const Bitmap& src);
  // Copies the source rectangle onto the destination rectangle (scaled when the sizes differ),
  // ignoring transparency.
  void copyRect(int dl, int dt, int dr, int db, const Bitmap& src, int sl, int st, int sr, int sb);

 private:
  void strokeSegment(int x1, int y1, int x2, int y2);
  void thinLine(int x1, int y1, int x2, int y2, bool includeEnd);

  Bitmap* m_target;
  QPoint m_pos;
  int m_patternPhase = 0;
};

// A new bitmap that keys `src` (transparent colour -> white, everything else black), as a mask.
QImage MonochromeMask(const Bitmap& src);

// Saves `bmp` as an uncompressed Windows bitmap of 8 bits per pixel (a palette of at most 256
// colours), through the program's one safe write path (WriteFileSafely). Returns false when the
// bitmap is empty or the file cannot be written.
bool SaveBitmap8(const Bitmap& bmp, const std::string& path);
// The bytes SaveBitmap8 writes; empty for an empty bitmap.
QByteArray EncodeBitmap8(const Bitmap& bmp);

}  // namespace kavrix
