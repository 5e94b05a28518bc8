#include "simulation/window/analyzer_window.hpp"

#include <QAction>
#include <QChart>
#include <QKeyEvent>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <limits>

#include "model/source_tables.hpp"

namespace kavrix {

namespace {
using namespace analyzer_colours;

// Colours stored as $00BBGGRR integers.
QColor FromBgr(int c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

std::vector<AnalyzerChart::SeriesStyle> SatSeries() {
  std::vector<AnalyzerChart::SeriesStyle> s{{"Min Level", kBlue, 3}};
  static const char* const kTitles[16] = {"HLo-A", "HHi-A", "VLo-A", "VHi-A", "HLo-B", "HHi-B", "VLo-B", "VHi-B",
                                          "HLo-C", "HHi-C", "VLo-C", "VHi-C", "HLo-D", "HHi-D", "VLo-D", "VHi-D"};
  for (int i = 0; i < 16; ++i) {
    // Bands in order H-Lo green, H-Hi yellow, V-Lo black, V-Hi red; satellite A's V-Lo has no
    // colour of its own and takes the grey that stands for V-Lo elsewhere.
    static const QColor kBand[4] = {kGreen, kYellow, kBlack, kRed};
    const QColor c = i == 2 ? kGrey : kBand[i % 4];
    s.push_back({kTitles[i], c, 1});
  }
  s.push_back({"Max level", kRed, 3});
  s.push_back({"Prapletimas", kWhite, 1});
  return s;
}

std::vector<AnalyzerChart::SeriesStyle> TerrSeries() {
  return {{"Min Terr TV level", FromBgr(8388863), 2},
          {"Terr TV level", kGreen, 4},
          {"Max Terr TV level", kRed, 3},
          {"Terr TV level 2", FromBgr(8454143), 4},
          {"Terr TV level 3", FromBgr(8454143), 4}};
}

// Labels on round steps (1, 2 or 5 times a power of ten, about five of them) from zero, while
// the axis itself spans exactly the range.
void SetRoundTicks(QValueAxis* axis, double lo, double hi) {
  const double raw = (hi - lo) / 5.0;
  const double mag = std::pow(10.0, std::floor(std::log10(raw)));
  const double f = raw / mag;
  const double step = (f < 1.5 ? 1.0 : f < 3.5 ? 2.0 : f < 7.5 ? 5.0 : 10.0) * mag;
  axis->setTickType(QValueAxis::TicksDynamic);
  axis->setTickAnchor(0.0);
  axis->setTickInterval(step);
}

constexpr const char* kFilterTitles[5] = {"Signal level - Summary list", "Signal level - Satellite A list",
                                          "Signal level - Satellite B list", "Signal level - Satellite C list",
                                          "Signal level - Satellite D list"};
}  // namespace

// ---- AnalyzerChart

AnalyzerChart::AnalyzerChart(const QString& title, const std::vector<SeriesStyle>& series, const AxisSetup& bottom,
                             const AxisSetup& left, QWidget* parent)
    : QChartView(parent) {
  auto* chart = new QChart;
  chart->setTitle(title);
  chart->setBackgroundRoundness(0);
  chart->setMargins(QMargins(2, 2, 2, 2));
  chart->setAnimationOptions(QChart::NoAnimation);
  setChart(chart);
  setFrameShape(QFrame::NoFrame);
  setRenderHint(QPainter::Antialiasing, false);
  setFocusPolicy(Qt::NoFocus);

  auto makeAxis = [&](const AxisSetup& s, Qt::Alignment where) {
    Axis a;
    a.axis = new QValueAxis(chart);
    a.axis->setTitleText(s.title);
    a.axis->setLabelFormat("%g");
    a.automatic = s.automatic;
    a.minimum = s.minimum;
    a.maximum = s.maximum;
    a.axis->setRange(s.minimum, s.maximum);
    chart->addAxis(a.axis, where);
    return a;
  };
  m_bottom = makeAxis(bottom, Qt::AlignBottom);
  m_left = makeAxis(left, Qt::AlignLeft);

  for (const auto& st : series) {
    Series s;
    s.line = new QLineSeries(chart);
    s.line->setName(st.title);
    QPen pen(st.colour);
    pen.setWidth(st.width);
    s.line->setPen(pen);
    chart->addSeries(s.line);
    s.line->attachAxis(m_bottom.axis);
    s.line->attachAxis(m_left.axis);
    m_series.push_back(std::move(s));
  }
  // No series shows in the legend.
  for (QLegendMarker* m : chart->legend()->markers()) m->setVisible(false);
}

int AnalyzerChart::pointCount(int i) const { return series(i)->count(); }
QPointF AnalyzerChart::point(int i, int k) const { return series(i)->at(k); }
QColor AnalyzerChart::seriesColour(int i) const { return series(i)->pen().color(); }

void AnalyzerChart::clearSeries(int i) {
  Series& s = m_series[static_cast<std::size_t>(i)];
  s.line->clear();
  s.line->clearPointsConfiguration();
  s.labels.clear();
  s.colours.clear();
  scheduleRefresh();
}

void AnalyzerChart::addPoint(int i, double x, double y, const QString& label, const QColor& colour) {
  Series& s = m_series[static_cast<std::size_t>(i)];
  s.line->append(x, y);
  s.labels.push_back(label);
  s.colours.push_back(colour);
  if (colour.isValid() && colour != s.line->pen().color())
    s.line->setPointConfiguration(s.line->count() - 1, QXYSeries::PointConfiguration::Color, colour);
  scheduleRefresh();
}

void AnalyzerChart::setSeriesActive(int i, bool active) {
  series(i)->setVisible(active);
  scheduleRefresh();
}

bool AnalyzerChart::seriesActive(int i) const { return series(i)->isVisible(); }

void AnalyzerChart::setTitleText(const QString& text) { chart()->setTitle(text); }
QString AnalyzerChart::titleText() const { return chart()->title(); }

std::pair<double, double> AnalyzerChart::range(Qt::Orientation o) const {
  const Axis& a = o == Qt::Horizontal ? m_bottom : m_left;
  if (!a.automatic) return {a.minimum, a.maximum};
  double lo = std::numeric_limits<double>::infinity();
  double hi = -lo;
  for (const Series& s : m_series) {
    if (!s.line->isVisible()) continue;
    for (const QPointF& p : s.line->points()) {
      const double v = o == Qt::Horizontal ? p.x() : p.y();
      lo = std::min(lo, v);
      hi = std::max(hi, v);
    }
  }
  if (lo > hi) return {a.minimum, a.maximum};  // no points: the last range set
  return {lo, hi};
}

bool AnalyzerChart::setBound(Axis& a, Qt::Orientation o, double v, bool isMinimum) {
  const auto [lo, hi] = range(o);
  if (isMinimum ? v > hi : v < lo) return false;
  a.minimum = isMinimum ? v : lo;
  a.maximum = isMinimum ? hi : v;
  scheduleRefresh();
  return true;
}

bool AnalyzerChart::setLeftMinimum(double v) { return setBound(m_left, Qt::Vertical, v, true); }
bool AnalyzerChart::setLeftMaximum(double v) { return setBound(m_left, Qt::Vertical, v, false); }

void AnalyzerChart::setLeftStartPosition(double percent) {
  m_startPosition = std::clamp(percent, 0.0, 90.0);
  scheduleRefresh();
}

void AnalyzerChart::scheduleRefresh() {
  if (m_refreshPending) return;
  m_refreshPending = true;
  QTimer::singleShot(0, this, [this] {
    if (m_refreshPending) refresh();
  });
}

void AnalyzerChart::refresh() {
  m_refreshPending = false;
  auto apply = [](QValueAxis* axis, double lo, double hi) {
    if (hi - lo < 1e-9) lo -= 1.0, hi += 1.0;  // a single value still gets a readable axis
    axis->setRange(lo, hi);
    SetRoundTicks(axis, lo, hi);
  };
  const auto [blo, bhi] = range(Qt::Horizontal);
  apply(m_bottom.axis, blo, bhi);
  auto [llo, lhi] = range(Qt::Vertical);
  if (m_startPosition > 0.0) llo -= (lhi - llo) * m_startPosition / (100.0 - m_startPosition);
  apply(m_left.axis, llo, lhi);
  viewport()->update();
}

// ---- TForm4

TForm4::TForm4(QWidget* parent) : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint) {
  setWindowTitle("Analyzer");
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, kSilver);
  setPalette(pal);
  setFocusPolicy(Qt::StrongFocus);
  move(457, 150);
  resize(352, 239);

  Chart1 = new AnalyzerChart("SAT Signal Level (dBuV)", SatSeries(), {"GHz", true, 0.0, 0.0},
                             {"dBuV", true, 0.0, 0.0}, this);
  Chart1->setGeometry(8, 8, 293, 240);
  Chart1->chart()->setBackgroundBrush(kSilver);  // the window's colour
  Chart1->chart()->setBackgroundPen(Qt::NoPen);
  // The legend sits at the top without a frame; as no series shows in it, it is not drawn and
  // takes no room.
  Chart1->chart()->legend()->setAlignment(Qt::AlignTop);
  Chart1->chart()->legend()->setBorderColor(Qt::transparent);
  Chart1->chart()->legend()->hide();
  Chart1->bottomAxis()->setMinorTickCount(9);
  Chart1->bottomAxis()->setMinorGridLineVisible(true);
  Chart1->bottomAxis()->setMinorGridLineColor(Qt::gray);
  Chart1->viewport()->installEventFilter(this);

  Chart2 = new AnalyzerChart("Terrestrial TV signal level (dBuV)", TerrSeries(), {"MHz", true, 0.0, 0.0},
                             {"dBuV", false, 0.0, 200.0}, this);
  Chart2->setGeometry(8, 246, 293, 185);
  Chart2->chart()->legend()->hide();
  Chart2->hide();

  PopupMenu1 = new QMenu(this);
  All1 = PopupMenu1->addAction("All", this, [this] { All1Click(); });
  A1 = PopupMenu1->addAction("A", this, [this] { A1Click(); });
  B1 = PopupMenu1->addAction("B", this, [this] { B1Click(); });
  C1 = PopupMenu1->addAction("C", this, [this] { C1Click(); });
  D1 = PopupMenu1->addAction("D", this, [this] { D1Click(); });

  // Shown by its creator; it then comes up minimised.
  setWindowState(Qt::WindowMinimized);
  FormCreate();
}

void TForm4::FormCreate() {
  for (int i = 0; i <= 16; ++i) Chart1->clearSeries(i);
  Chart2->clearSeries(0);
  Chart2->clearSeries(1);
}

void TForm4::FormKeyDown(int key) {
  if (key == Qt::Key_Shift) {
    if (NavigationClick) NavigationClick();
  } else if (key == Qt::Key_F1) {
    if (ActivateCanvas) ActivateCanvas();
  }
}

void TForm4::Chart1MouseDown(Qt::MouseButton button, int x, int y) {
  if (button != Qt::RightButton) return;
  QAction* const sat[kSatSlots] = {A1, B1, C1, D1};
  for (int s = 0; s < kSatSlots; ++s) sat[s]->setVisible(SatUsed[static_cast<std::size_t>(s)]);
  PopupMenu1->popup(QPoint(this->x() + x, this->y() + y));
}

void TForm4::FilterClick(int satellite) {
  Chart1->Tag = satellite;
  Tag = 1;
  Chart1->setTitleText(kFilterTitles[satellite]);
  if (Form5OnClick) Form5OnClick(this);
  for (int i = 1; i <= 16; ++i)
    Chart1->setSeriesActive(i, satellite == 0 || (i >= 4 * satellite - 3 && i <= 4 * satellite));
  Chart1->refresh();
}

QImage& TForm4::Canvas() {
  const QSize need = size().expandedTo(QSize(352, 460));
  if (m_canvas.size() != need) {
    QImage grown(need, QImage::Format_ARGB32_Premultiplied);
    grown.fill(Qt::transparent);
    if (!m_canvas.isNull()) {
      QPainter p(&grown);
      p.drawImage(0, 0, m_canvas);
    }
    m_canvas = grown;
  }
  return m_canvas;
}

void TForm4::ClearCanvas() {
  if (!m_canvas.isNull()) m_canvas.fill(Qt::transparent);
  update();
}

bool TForm4::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Chart1->viewport() && event->type() == QEvent::MouseButtonPress) {
    auto* me = static_cast<QMouseEvent*>(event);
    const QPoint at = Chart1->viewport()->mapTo(Chart1, me->position().toPoint());
    Chart1MouseDown(me->button(), at.x(), at.y());
    return me->button() == Qt::RightButton;
  }
  return QWidget::eventFilter(watched, event);
}

void TForm4::keyPressEvent(QKeyEvent* event) {
  FormKeyDown(event->key());
  QWidget::keyPressEvent(event);
}

void TForm4::paintEvent(QPaintEvent* event) {
  QWidget::paintEvent(event);
  if (m_canvas.isNull()) return;
  QPainter p(this);
  p.drawImage(0, 0, m_canvas);
}

}  // namespace kavrix
