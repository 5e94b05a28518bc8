#pragma once
// The Analyzer window: two line charts of probed signal levels (satellite IF in GHz, terrestrial
// in MHz, both against dBuV) and the satellite filter menu. It only hosts the charts; the canvas
// window fills them after a run, through the series and axis operations below and the refill
// hook that the filter menu fires.
#include <QChartView>
#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

class QAction;
class QLineSeries;
class QMenu;
class QValueAxis;

namespace kavrix {

// One chart: line series in index order, a bottom and a left value axis. Points carry the label
// and colour they were added with. Axis setters refuse a minimum above the maximum and a maximum
// below the minimum, so callers order their assignments. An automatic axis follows the points of
// the active series.
class AnalyzerChart : public QChartView {
  Q_OBJECT
 public:
  struct SeriesStyle {
    const char* title;
    QColor colour;
    int width;
  };
  struct AxisSetup {
    const char* title;
    bool automatic;
    double minimum;
    double maximum;
  };
  AnalyzerChart(const QString& title, const std::vector<SeriesStyle>& series, const AxisSetup& bottom,
                const AxisSetup& left, QWidget* parent);

  int Tag = 0;

  int seriesCount() const { return static_cast<int>(m_series.size()); }
  QLineSeries* series(int i) const { return m_series[static_cast<std::size_t>(i)].line; }
  int pointCount(int i) const;
  QPointF point(int i, int k) const;
  const QString& pointLabel(int i, int k) const { return m_series[static_cast<std::size_t>(i)].labels[static_cast<std::size_t>(k)]; }
  // An invalid colour stands for the series' own colour.
  QColor pointColour(int i, int k) const { return m_series[static_cast<std::size_t>(i)].colours[static_cast<std::size_t>(k)]; }
  QColor seriesColour(int i) const;

  void clearSeries(int i);
  void addPoint(int i, double x, double y, const QString& label, const QColor& colour = QColor());
  void setSeriesActive(int i, bool active);
  bool seriesActive(int i) const;

  void setTitleText(const QString& text);
  QString titleText() const;

  double leftMinimum() const { return range(Qt::Vertical).first; }
  double leftMaximum() const { return range(Qt::Vertical).second; }
  bool setLeftMinimum(double v);
  bool setLeftMaximum(double v);
  // Percentage of the axis length left free below the lowest value.
  void setLeftStartPosition(double percent);
  double leftStartPosition() const { return m_startPosition; }
  double bottomMinimum() const { return range(Qt::Horizontal).first; }
  double bottomMaximum() const { return range(Qt::Horizontal).second; }
  QValueAxis* leftAxis() const { return m_left.axis; }
  QValueAxis* bottomAxis() const { return m_bottom.axis; }

  // Puts the current ranges on the axes and repaints.
  void refresh();

 private:
  struct Series {
    QLineSeries* line = nullptr;
    std::vector<QString> labels;
    std::vector<QColor> colours;
  };
  struct Axis {
    QValueAxis* axis = nullptr;
    bool automatic = false;
    double minimum = 0.0;
    double maximum = 0.0;
  };
  std::pair<double, double> range(Qt::Orientation o) const;
  bool setBound(Axis& a, Qt::Orientation o, double v, bool isMinimum);
  void scheduleRefresh();

  std::vector<Series> m_series;
  Axis m_bottom;
  Axis m_left;
  double m_startPosition = 0.0;
  bool m_refreshPending = false;
};

class TForm4 : public QWidget {
  Q_OBJECT
 public:
  explicit TForm4(QWidget* parent = nullptr);

  AnalyzerChart* Chart1 = nullptr;  // satellite levels; Tag = satellite filter (0 all, 1..4 A..D)
  AnalyzerChart* Chart2 = nullptr;  // terrestrial levels
  QMenu* PopupMenu1 = nullptr;
  QAction* All1 = nullptr;
  QAction* A1 = nullptr;
  QAction* B1 = nullptr;
  QAction* C1 = nullptr;
  QAction* D1 = nullptr;
  int Tag = 0;  // 1 once a filter was chosen

  // Links to the other windows, filled in by whoever creates them; each may stay empty.
  std::function<void(QObject* sender)> Form5OnClick;  // canvas click handler; refills the charts
  std::function<void()> NavigationClick;              // the main window's navigation button
  std::function<void()> ActivateCanvas;               // gives the canvas window the focus

  void FormCreate();
  void FormKeyDown(int key);
  void Chart1MouseDown(Qt::MouseButton button, int x, int y);
  void All1Click() { FilterClick(0); }
  void A1Click() { FilterClick(1); }
  void B1Click() { FilterClick(2); }
  void C1Click() { FilterClick(3); }
  void D1Click() { FilterClick(4); }

  // The window's own drawing surface behind the charts (bars and texts of the level display).
  QImage& Canvas();
  void ClearCanvas();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void FilterClick(int satellite);
  QImage m_canvas;
};

// Colours as the window defines them.
namespace analyzer_colours {
inline const QColor kSilver(192, 192, 192);
inline const QColor kGreen(0, 128, 0);
inline const QColor kYellow(255, 255, 0);
inline const QColor kRed(255, 0, 0);
inline const QColor kBlue(0, 0, 255);
inline const QColor kBlack(0, 0, 0);
inline const QColor kWhite(255, 255, 255);
inline const QColor kGrey(128, 128, 128);
}  // namespace analyzer_colours

}  // namespace kavrix
