#pragma once
// The live trend: a dockable panel that plots every polled parameter over the last
// minutes, one line per parameter, with pause, a choice of lines and saving as PNG. The
// points live in app::TrendSeries; this view only draws them, at most once a second.
//
// Threads: GUI thread only. Readings arrive through the poll notification's queued signal.
#include <QDockWidget>
#include <QHash>
#include <QList>
#include <optional>

#include "app/trend_series.h"

class QChart;
class QChartView;
class QComboBox;
class QDateTimeAxis;
class QLabel;
class QLineSeries;
class QMenu;
class QTimer;
class QToolButton;
class QValueAxis;

namespace zelmot::model {
class Parameter;
}

namespace zelmot::ui {

inline constexpr const char* kTrendPanelTitle = "Тренд опрашиваемых параметров";

class TrendPanel final : public QDockWidget {
  Q_OBJECT

public:
  explicit TrendPanel(QWidget* parent = nullptr);

  // Takes the parameter's reading as it stands now (at `timeMs`, or the wall clock).
  void addReading(const model::Parameter& parameter);
  void addReadingAt(const model::Parameter& parameter, qint64 timeMs);

  // A paused panel keeps recording but its plot stands still.
  void setPaused(bool paused);
  bool paused() const;
  // Shows or hides one parameter's line; false when there is no such line.
  bool setLineShown(const QString& key, bool shown);
  // Renders the plot as it shows now; false when the file could not be written.
  bool savePng(const QString& path);
  // Brings the plot up to date at once (the timer does it once a second).
  void redraw();

  // Shows a past day instead of the live readings (which go on being recorded);
  // `title` says which day. showLive goes back.
  void showDay(app::TrendSeries day, const QString& title);
  void showLive();
  bool showingDay() const { return day_.has_value(); }

  // The live readings, whatever the plot shows.
  const app::TrendSeries& series() const { return live_; }
  // Points drawn by the plot's lines now, and the lines that show.
  int plottedPointCount() const;
  int shownLineCount() const;
  QChart* chart() const { return chart_; }

signals:
  // The user closed the panel (its menu check mark follows).
  void closed();

protected:
  void closeEvent(QCloseEvent* event) override;

private:
  QWidget* makeToolRow();
  // The series the plot draws: the past day while one shows, else the live readings.
  app::TrendSeries& plotted() { return day_ ? *day_ : live_; }
  const app::TrendSeries& plotted() const { return day_ ? *day_ : live_; }
  void clearPlot();
  void fillLineMenu();
  void askSavePng();
  void onTick();
  void drawLine(const app::TrendLine& line, int colourIndex);
  QLineSeries* addSegmentSeries(const QString& name, int colourIndex, bool inLegend);
  void showInLegend(QLineSeries* series, bool shown);
  void setAxes(qint64 nowMs);

  app::TrendSeries live_;
  std::optional<app::TrendSeries> day_;  // a past day while it shows
  QChart* chart_ = nullptr;
  QChartView* view_ = nullptr;
  QDateTimeAxis* timeAxis_ = nullptr;
  QValueAxis* valueAxis_ = nullptr;
  QToolButton* pause_ = nullptr;
  QComboBox* span_ = nullptr;           // the time span of the live trend
  QToolButton* backToLive_ = nullptr;  // back from a past day
  QLabel* source_ = nullptr;            // which day shows
  QMenu* lineMenu_ = nullptr;
  QTimer* timer_ = nullptr;
  qint64 spanMs_ = app::kTrendWindowMs;  // the time axis shows this much at most
  QHash<QString, QList<QLineSeries*>> drawn_;  // a line's segments; the first has the legend
};

}  // namespace zelmot::ui
