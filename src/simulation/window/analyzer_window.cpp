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
#include <limits>

#include "model/source_tables.hpp"
#include "platform/stay_on_top.hpp"
#include "symbols/canvas_surface.hpp"

namespace kavrix {

namespace {
using analyzer_colours::kSilver;

QColor ToQColor(ChartColor c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
ChartColor FromQColor(const QColor& c) {
  if (!c.isValid()) return chart_colors::kOwnColor;
  return static_cast<ChartColor>(c.red()) | (static_cast<ChartColor>(c.green()) << 8) |
         (static_cast<ChartColor>(c.blue()) << 16);
}

// The axis spans exactly lo..hi with labels on round steps from zero; the range changes under
// a step that suits both the old and the new range.
void SetRangeWithRoundTicks(QValueAxis* axis, double lo, double hi) {
  const AxisTicks t = TicksForRange(axis->min(), axis->max(), lo, hi);
  axis->setTickType(QValueAxis::TicksDynamic);
  axis->setTickAnchor(0.0);
  axis->setTickInterval(t.interim);
  axis->setRange(lo, hi);
  axis->setTickInterval(t.step);
}

constexpr const char* kFilterTitles[5] = {"Signal level - Summary list", "Signal level - Satellite A list",
                                          "Signal level - Satellite B list", "Signal level - Satellite C list",
                                          "Signal level - Satellite D list"};
}  // namespace

// ---- AnalyzerChart

AnalyzerChart::AnalyzerChart(ChartModel& model, QWidget* parent) : QChartView(parent), Tag(model.Tag), m_model(model) {
  auto* chart = new QChart;
  chart->setTitle(QString::fromStdString(model.Title));
  chart->setBackgroundRoundness(0);
  chart->setMargins(QMargins(2, 2, 2, 2));
  chart->setAnimationOptions(QChart::NoAnimation);
  setChart(chart);
  setFrameShape(QFrame::NoFrame);
  setRenderHint(QPainter::Antialiasing, false);
  setFocusPolicy(Qt::NoFocus);

  auto makeAxis = [&](const ChartAxis& a, Qt::Alignment where) {
    auto* axis = new QValueAxis(chart);
    axis->setTitleText(QString::fromStdString(a.title));
    axis->setLabelFormat("%g");
    axis->setRange(a.minimum, a.maximum);
    chart->addAxis(axis, where);
    return axis;
  };
  m_bottom = makeAxis(model.Bottom, Qt::AlignBottom);
  m_left = makeAxis(model.Left, Qt::AlignLeft);

  for (const ChartSeries& st : model.Series) {
    auto* line = new QLineSeries(chart);
    line->setName(QString::fromStdString(st.title));
    QPen pen(ToQColor(st.color));
    pen.setWidth(st.width);
    line->setPen(pen);
    chart->addSeries(line);
    line->attachAxis(m_bottom);
    line->attachAxis(m_left);
    m_lines.push_back(line);
  }
  // No series shows in the legend.
  for (QLegendMarker* m : chart->legend()->markers()) m->setVisible(false);
  setGeometry(8, model.Top, 293, model.Height);
  setVisible(model.Visible);
}

QPointF AnalyzerChart::point(int i, int k) const {
  const ChartPoint& p = m_model.Series[static_cast<std::size_t>(i)].points[static_cast<std::size_t>(k)];
  return {p.x, p.y};
}

QString AnalyzerChart::pointLabel(int i, int k) const {
  return QString::fromStdString(m_model.Series[static_cast<std::size_t>(i)].points[static_cast<std::size_t>(k)].label);
}

QColor AnalyzerChart::pointColour(int i, int k) const {
  const ChartColor c = m_model.Series[static_cast<std::size_t>(i)].points[static_cast<std::size_t>(k)].color;
  return c == chart_colors::kOwnColor ? QColor() : ToQColor(c);
}

QColor AnalyzerChart::seriesColour(int i) const { return ToQColor(m_model.Series[static_cast<std::size_t>(i)].color); }

void AnalyzerChart::clearSeries(int i) {
  m_model.clearSeries(i);
  scheduleRefresh();
}

void AnalyzerChart::addPoint(int i, double x, double y, const QString& label, const QColor& colour) {
  m_model.addPoint(i, x, y, label.toStdString(), FromQColor(colour));
  scheduleRefresh();
}

void AnalyzerChart::setSeriesActive(int i, bool active) {
  m_model.setSeriesActive(i, active);
  scheduleRefresh();
}

bool AnalyzerChart::seriesActive(int i) const { return m_model.hasSeries(i) && m_model.Series[static_cast<std::size_t>(i)].active; }

void AnalyzerChart::setTitleText(const QString& text) {
  m_model.Title = text.toStdString();
  chart()->setTitle(text);
}

QString AnalyzerChart::titleText() const { return QString::fromStdString(m_model.Title); }

bool AnalyzerChart::setLeftMinimum(double v) {
  const bool ok = m_model.setLeftMinimum(v);
  if (ok) scheduleRefresh();
  return ok;
}

bool AnalyzerChart::setLeftMaximum(double v) {
  const bool ok = m_model.setLeftMaximum(v);
  if (ok) scheduleRefresh();
  return ok;
}

void AnalyzerChart::setLeftStartPosition(double percent) {
  m_model.setLeftStartPosition(percent);
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
  for (std::size_t i = 0; i < m_lines.size() && i < m_model.Series.size(); ++i) {
    const ChartSeries& s = m_model.Series[i];
    QLineSeries* line = m_lines[i];
    QList<QPointF> pts;
    pts.reserve(static_cast<qsizetype>(s.points.size()));
    for (const ChartPoint& p : s.points) pts.append(QPointF(p.x, p.y));
    line->clearPointsConfiguration();
    line->replace(pts);
    for (std::size_t k = 0; k < s.points.size(); ++k) {
      const ChartColor c = s.points[k].color;
      if (c != chart_colors::kOwnColor && c != s.color)
        line->setPointConfiguration(static_cast<int>(k), QXYSeries::PointConfiguration::Color, ToQColor(c));
    }
    line->setVisible(s.active);
  }
  chart()->setTitle(QString::fromStdString(m_model.Title));
  auto apply = [](QValueAxis* axis, double lo, double hi) {
    if (!(hi - lo >= 1e-9)) lo -= 1.0, hi += 1.0;  // a single value still gets a readable axis
    SetRangeWithRoundTicks(axis, lo, hi);
  };
  // An automatic axis keeps a little room around the points, so that a limit line lying on the
  // highest value is not cut in half by the plot's edge.
  auto pad = [](bool automatic, double& lo, double& hi) {
    if (!automatic) return;
    const double m = (hi - lo) * 0.03;
    lo -= m;
    hi += m;
  };
  auto [blo, bhi] = m_model.range(AxisSide::Bottom);
  pad(m_model.Bottom.automatic, blo, bhi);
  apply(m_bottom, blo, bhi);
  auto [llo, lhi] = m_model.range(AxisSide::Left);
  pad(m_model.Left.automatic, llo, lhi);
  const double start = m_model.Left.startPosition;
  if (start > 0.0) llo -= (lhi - llo) * start / (100.0 - start);
  apply(m_left, llo, lhi);
  setGeometry(8, m_model.Top, 293, m_model.Height);
  setVisible(m_model.Visible);
  viewport()->update();
}

// ---- TForm4

TForm4::TForm4(QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowTitle("Analyzer");
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, kSilver);
  setPalette(pal);
  setFocusPolicy(Qt::StrongFocus);
  move(457, 150);
  resize(AnalyzerModel::kDesignedClientWidth, AnalyzerModel::kDesignedClientHeight);
  platform::KeepOnTop(this);

  Chart1 = new AnalyzerChart(m_model.Chart1, this);
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

  Chart2 = new AnalyzerChart(m_model.Chart2, this);
  Chart2->chart()->legend()->hide();

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

void TForm4::ReadWindowState() {
  m_model.Visible = isVisible();
  m_model.Height = height() + AnalyzerModel::kFrameHeight;
}

void TForm4::ShowModel() {
  Chart1->refresh();
  Chart2->refresh();
  const int clientHeight = std::max(m_model.Height - AnalyzerModel::kFrameHeight, 1);
  const int rightmost = ReplaySurface();
  // The bar captions beside the chart must not run off the window's right edge.
  const int clientWidth = std::max(width(), rightmost + 4);
  if (height() != clientHeight || width() != clientWidth) resize(clientWidth, clientHeight);
  if (m_model.Visible != isVisible()) setVisible(m_model.Visible);
  update();
}

int TForm4::ReplaySurface() {
  const std::vector<SurfaceOp>& ops = m_model.Surface.Ops;
  if (ops.empty()) {
    m_surface = QImage();
    return 0;
  }
  // Large enough for the tallest layout; what lies outside the window is never seen.
  Bitmap target(std::max(width(), AnalyzerModel::kDesignedClientWidth + 100), std::max(height(), 460));
  target.image().fill(ToQColor(chart_colors::kSilver));
  Canvas c(target);
  int rightmost = 0;
  for (const SurfaceOp& op : ops) {
    c.pen.color = op.pen;
    c.pen.width = op.penWidth;
    c.brush.color = op.brush;
    switch (op.kind) {
      case SurfaceOp::Kind::Rectangle:
        c.rectangle(op.x1, op.y1, op.x2, op.y2);
        break;
      case SurfaceOp::Kind::Line:
        c.line(op.x1, op.y1, op.x2, op.y2);
        break;
      case SurfaceOp::Kind::Text:
        c.textOut(op.x1, op.y1, op.text);
        rightmost = std::max(rightmost, op.x1 + c.textWidth(op.text));
        break;
    }
  }
  m_surface = target.image();
  return rightmost;
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
  if (m_surface.isNull()) return;
  QPainter p(this);
  p.drawImage(0, 0, m_surface);
}

}  // namespace kavrix
