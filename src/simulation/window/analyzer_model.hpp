#pragma once
// What the Analyzer window shows, as plain data: the two charts (series of labelled, coloured
// points, axis ranges, visibility and position), the window's height, visibility and Tag, and the
// drawing operations on the window's own surface behind the charts. The level display fills it;
// the window binds it to Qt Charts and replays the surface operations. No Qt here, so the filling
// is tested on the data alone.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kavrix {

using ChartColor = uint32_t;  // $00BBGGRR, as the drawing surface takes colours

namespace chart_colors {
constexpr ChartColor kBlack = 0x000000;
constexpr ChartColor kWhite = 0xFFFFFF;
constexpr ChartColor kSilver = 0xC0C0C0;
constexpr ChartColor kGrey = 0x808080;
constexpr ChartColor kGreen = 0x008000;
constexpr ChartColor kYellow = 0x00FFFF;
constexpr ChartColor kRed = 0x0000FF;
constexpr ChartColor kBlue = 0xFF0000;
// A point added with this value takes its series' own colour (the chart's "default" colour).
constexpr ChartColor kOwnColor = 0x20000000;
}  // namespace chart_colors

struct ChartPoint {
  double x = 0.0;
  double y = 0.0;
  std::string label;
  ChartColor color = chart_colors::kOwnColor;
};

struct ChartSeries {
  std::string title;
  ChartColor color = chart_colors::kBlack;
  int width = 1;
  bool active = true;
  std::vector<ChartPoint> points;
};

// An automatic axis spans the points of the active series (its stored range when there are
// none); a manual one keeps the range it was given. StartPosition is the share of the axis
// length, in percent, left free below the lowest value.
struct ChartAxis {
  std::string title;
  bool automatic = true;
  double minimum = 0.0;
  double maximum = 0.0;
  double startPosition = 0.0;
};

enum class AxisSide { Bottom, Left };

// One chart. Series indices outside the chart are ignored, so a caller computing an index from
// a source id cannot reach past the series.
class ChartModel {
 public:
  ChartModel() = default;
  ChartModel(std::string title, std::vector<ChartSeries> series, ChartAxis bottom, ChartAxis left, int top,
             int height, bool visible);

  std::string Title;
  std::vector<ChartSeries> Series;
  ChartAxis Bottom;
  ChartAxis Left;
  bool Visible = true;
  int Top = 8;
  int Height = 0;
  int Tag = 0;

  int seriesCount() const { return static_cast<int>(Series.size()); }
  bool hasSeries(int i) const { return i >= 0 && i < seriesCount(); }
  void clearSeries(int i);
  void addPoint(int i, double x, double y, const std::string& label, ChartColor color = chart_colors::kOwnColor);
  int pointCount(int i) const { return hasSeries(i) ? static_cast<int>(Series[static_cast<std::size_t>(i)].points.size()) : 0; }
  void setSeriesActive(int i, bool active);

  // Current range of an axis (computed from the points for an automatic axis).
  std::pair<double, double> range(AxisSide side) const;
  double leftMinimum() const { return range(AxisSide::Left).first; }
  double leftMaximum() const { return range(AxisSide::Left).second; }
  double bottomMaximum() const { return range(AxisSide::Bottom).second; }
  // Refuse a minimum above the maximum, a maximum below the minimum and any value that is not a
  // finite number; callers order their assignments accordingly.
  bool setLeftMinimum(double v);
  bool setLeftMaximum(double v);
  void setLeftStartPosition(double percent);

 private:
  bool setBound(ChartAxis& a, AxisSide side, double v, bool isMinimum);
};

// Tick steps of an axis that moves from the range wasLo..wasHi to lo..hi: `step` labels round
// values of the new range (1, 2 or 5 times a power of ten, about four of them); `interim` is held
// while the range changes and suits both ranges, so that the axis never lays out a fine step over
// a wide range (thousands of ticks).
struct AxisTicks {
  double interim = 1.0;
  double step = 1.0;
};
AxisTicks TicksForRange(double wasLo, double wasHi, double lo, double hi);

// One drawing operation on the window's surface, with the pen and brush it was drawn with.
struct SurfaceOp {
  enum class Kind { Rectangle, Line, Text };
  Kind kind = Kind::Rectangle;
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // a text's position is (x1, y1)
  std::string text;
  ChartColor pen = chart_colors::kBlack;
  int penWidth = 1;
  ChartColor brush = chart_colors::kSilver;
};

// The window's own surface as a pen, a brush and the list of what was drawn since it was last
// blanked. Rectangles are filled with the brush and outlined with the pen; texts are drawn on the
// brush colour.
struct SurfaceModel {
  ChartColor Brush = chart_colors::kSilver;  // the window's colour
  ChartColor Pen = chart_colors::kBlack;
  int PenWidth = 1;
  int PenX = 0, PenY = 0;
  std::vector<SurfaceOp> Ops;

  void Rectangle(int x1, int y1, int x2, int y2);
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void TextOut(int x, int y, const std::string& text);
  // Texts drawn since the last blank, in order (tests read the bars' captions through it).
  std::vector<std::string> Texts() const;
};

struct AnalyzerModel {
  AnalyzerModel();

  ChartModel Chart1;  // satellite levels over GHz; Tag = satellite filter (0 all, 1..4 A..D)
  ChartModel Chart2;  // terrestrial levels over MHz; Tag = both charts kept for this click
  SurfaceModel Surface;
  int Tag = 0;          // 1 while a filter refill is under way
  bool Visible = false;
  // Outer window height, title bar included, as the layout steps set it.
  int Height = kDesignedClientHeight + kFrameHeight;

  static constexpr int kDesignedClientWidth = 352;
  static constexpr int kDesignedClientHeight = 239;
  // What the title bar and borders of the designed window took of its outer height.
  static constexpr int kFrameHeight = 26;
};

}  // namespace kavrix
