#include "simulation/window/analyzer_model.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kavrix {

namespace {
using namespace chart_colors;

ChartSeries Styled(const char* title, ChartColor color, int width) {
  ChartSeries s;
  s.title = title;
  s.color = color;
  s.width = width;
  return s;
}

std::vector<ChartSeries> SatSeries() {
  std::vector<ChartSeries> s{Styled("Min Level", kBlue, 3)};
  static const char* const kTitles[16] = {"HLo-A", "HHi-A", "VLo-A", "VHi-A", "HLo-B", "HHi-B", "VLo-B", "VHi-B",
                                          "HLo-C", "HHi-C", "VLo-C", "VHi-C", "HLo-D", "HHi-D", "VLo-D", "VHi-D"};
  // Bands in order H-Lo green, H-Hi yellow, V-Lo black, V-Hi red; satellite A's V-Lo has no
  // colour of its own and takes the grey that stands for V-Lo elsewhere.
  static const ChartColor kBand[4] = {kGreen, kYellow, kBlack, kRed};
  for (int i = 0; i < 16; ++i) s.push_back(Styled(kTitles[i], i == 2 ? kGrey : kBand[i % 4], 1));
  s.push_back(Styled("Max level", kRed, 3));
  s.push_back(Styled("Prapletimas", kWhite, 1));
  return s;
}

std::vector<ChartSeries> TerrSeries() {
  return {Styled("Min Terr TV level", 8388863, 2), Styled("Terr TV level", kGreen, 4),
          Styled("Max Terr TV level", kRed, 3), Styled("Terr TV level 2", 8454143, 4),
          Styled("Terr TV level 3", 8454143, 4)};
}
}  // namespace

ChartModel::ChartModel(std::string title, std::vector<ChartSeries> series, ChartAxis bottom, ChartAxis left,
                       int top, int height, bool visible)
    : Title(std::move(title)),
      Series(std::move(series)),
      Bottom(std::move(bottom)),
      Left(std::move(left)),
      Visible(visible),
      Top(top),
      Height(height) {}

void ChartModel::clearSeries(int i) {
  if (hasSeries(i)) Series[static_cast<std::size_t>(i)].points.clear();
}

void ChartModel::addPoint(int i, double x, double y, const std::string& label, ChartColor color) {
  if (hasSeries(i)) Series[static_cast<std::size_t>(i)].points.push_back({x, y, label, color});
}

void ChartModel::setSeriesActive(int i, bool active) {
  if (hasSeries(i)) Series[static_cast<std::size_t>(i)].active = active;
}

std::pair<double, double> ChartModel::range(AxisSide side) const {
  const ChartAxis& a = side == AxisSide::Bottom ? Bottom : Left;
  if (!a.automatic) return {a.minimum, a.maximum};
  double lo = std::numeric_limits<double>::infinity();
  double hi = -lo;
  for (const ChartSeries& s : Series) {
    if (!s.active) continue;
    for (const ChartPoint& p : s.points) {
      const double v = side == AxisSide::Bottom ? p.x : p.y;
      if (!std::isfinite(v)) continue;
      lo = std::min(lo, v);
      hi = std::max(hi, v);
    }
  }
  if (lo > hi) return {a.minimum, a.maximum};  // no points: the last range set
  return {lo, hi};
}

bool ChartModel::setBound(ChartAxis& a, AxisSide side, double v, bool isMinimum) {
  if (!std::isfinite(v)) return false;
  const auto [lo, hi] = range(side);
  if (isMinimum ? v > hi : v < lo) return false;
  a.minimum = isMinimum ? v : lo;
  a.maximum = isMinimum ? hi : v;
  return true;
}

bool ChartModel::setLeftMinimum(double v) { return setBound(Left, AxisSide::Left, v, true); }
bool ChartModel::setLeftMaximum(double v) { return setBound(Left, AxisSide::Left, v, false); }

void ChartModel::setLeftStartPosition(double percent) {
  if (std::isfinite(percent)) Left.startPosition = std::clamp(percent, 0.0, 90.0);
}

AxisTicks TicksForRange(double wasLo, double wasHi, double lo, double hi) {
  auto roundStep = [](double span) {
    if (!std::isfinite(span) || span <= 0.0) return 1.0;
    const double raw = span / 4.0;
    const double mag = std::pow(10.0, std::floor(std::log10(raw)));
    const double f = raw / mag;
    return (f < 1.5 ? 1.0 : f < 3.5 ? 2.0 : f < 7.5 ? 5.0 : 10.0) * mag;
  };
  const double step = roundStep(hi - lo);
  return {std::max(step, roundStep(wasHi - wasLo)), step};
}

void SurfaceModel::Rectangle(int x1, int y1, int x2, int y2) {
  Ops.push_back({SurfaceOp::Kind::Rectangle, x1, y1, x2, y2, {}, Pen, PenWidth, Brush});
}

void SurfaceModel::MoveTo(int x, int y) {
  PenX = x;
  PenY = y;
}

void SurfaceModel::LineTo(int x, int y) {
  Ops.push_back({SurfaceOp::Kind::Line, PenX, PenY, x, y, {}, Pen, PenWidth, Brush});
  PenX = x;
  PenY = y;
}

void SurfaceModel::TextOut(int x, int y, const std::string& text) {
  Ops.push_back({SurfaceOp::Kind::Text, x, y, x, y, text, Pen, PenWidth, Brush});
}

std::vector<std::string> SurfaceModel::Texts() const {
  std::vector<std::string> t;
  for (const SurfaceOp& op : Ops)
    if (op.kind == SurfaceOp::Kind::Text) t.push_back(op.text);
  return t;
}

AnalyzerModel::AnalyzerModel()
    : Chart1("SAT Signal Level (dBuV)", SatSeries(), {"GHz", true, 0.0, 0.0, 0.0}, {"dBuV", true, 0.0, 0.0, 0.0},
             8, 240, true),
      Chart2("Terrestrial TV signal level (dBuV)", TerrSeries(), {"MHz", true, 0.0, 0.0, 0.0},
             {"dBuV", false, 0.0, 200.0, 0.0}, 246, 185, false) {}

}  // namespace kavrix
