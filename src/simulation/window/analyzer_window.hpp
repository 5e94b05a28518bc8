#pragma once
// The Analyzer window: two line charts of probed signal levels (satellite IF in GHz, terrestrial
// in MHz, both against dBuV) and the satellite filter menu. It only hosts the charts: the canvas
// window's level display fills the window's AnalyzerModel after a run, and the window binds that
// model to Qt Charts; the filter menu refills through the canvas click hook.
#include <QChartView>
#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

#include "simulation/window/analyzer_model.hpp"

class QAction;
class QLineSeries;
class QMenu;
class QValueAxis;

namespace kavrix {

// One chart bound to its ChartModel: the model holds the series, points (with the label and colour
// they were added with), axes, visibility and position; this view mirrors it into Qt Charts. The
// operations below change the model and schedule the mirror; refresh() mirrors at once.
class AnalyzerChart : public QChartView {
  Q_OBJECT
 public:
  AnalyzerChart(ChartModel& model, QWidget* parent);

  int& Tag;

  ChartModel& model() { return m_model; }
  int seriesCount() const { return m_model.seriesCount(); }
  QLineSeries* series(int i) const { return m_lines[static_cast<std::size_t>(i)]; }
  int pointCount(int i) const { return m_model.pointCount(i); }
  QPointF point(int i, int k) const;
  QString pointLabel(int i, int k) const;
  // An invalid colour stands for the series' own colour.
  QColor pointColour(int i, int k) const;
  QColor seriesColour(int i) const;

  void clearSeries(int i);
  void addPoint(int i, double x, double y, const QString& label, const QColor& colour = QColor());
  void setSeriesActive(int i, bool active);
  bool seriesActive(int i) const;

  void setTitleText(const QString& text);
  QString titleText() const;

  double leftMinimum() const { return m_model.leftMinimum(); }
  double leftMaximum() const { return m_model.leftMaximum(); }
  bool setLeftMinimum(double v);
  bool setLeftMaximum(double v);
  // Percentage of the axis length left free below the lowest value.
  void setLeftStartPosition(double percent);
  double leftStartPosition() const { return m_model.Left.startPosition; }
  double bottomMinimum() const { return m_model.range(AxisSide::Bottom).first; }
  double bottomMaximum() const { return m_model.bottomMaximum(); }
  QValueAxis* leftAxis() const { return m_left; }
  QValueAxis* bottomAxis() const { return m_bottom; }

  // Mirrors the model into the chart (points, colours, activity, title, axis ranges, visibility
  // and position) and repaints.
  void refresh();

 private:
  void scheduleRefresh();

  ChartModel& m_model;
  std::vector<QLineSeries*> m_lines;
  QValueAxis* m_bottom = nullptr;
  QValueAxis* m_left = nullptr;
  bool m_refreshPending = false;
};

class TForm4 : public QWidget {
  Q_OBJECT
 private:
  AnalyzerModel m_model;  // first: the members below refer into it

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
  int& Tag = m_model.Tag;  // 1 once a filter was chosen

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

  // What the window shows. ReadWindowState takes the window's visibility and height into the
  // model (the user may have closed or resized it); ShowModel puts the whole model on screen.
  AnalyzerModel& Model() { return m_model; }
  void ReadWindowState();
  void ShowModel();
  // The window's own surface as last replayed (empty before anything was drawn on it).
  const QImage& SurfaceImage() const { return m_surface; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void FilterClick(int satellite);
  // Draws the surface operations into m_surface; returns the right edge of the texts drawn.
  int ReplaySurface();
  QImage m_surface;
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
