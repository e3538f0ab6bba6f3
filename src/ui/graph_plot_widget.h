#pragma once
// The plot of the graph editor: the nodes as a polyline over a labelled grid, drawn with
// QPainter at whatever size the dialog gives it; a tooltip names a node the mouse rests
// near. The geometry (scaling, grid, labels, the node near the mouse) is app::PlotMapping.
#include <QWidget>
#include <vector>

#include "app/graph_plot.h"

namespace zelmot::ui {

class GraphPlotWidget final : public QWidget {
  Q_OBJECT

public:
  explicit GraphPlotWidget(QWidget* parent = nullptr);

  void setPoints(std::vector<app::PlotPoint> points);
  const std::vector<app::PlotPoint>& points() const { return points_; }
  // The area inside the label gutters, where the nodes are placed.
  QRect plotArea() const;
  // The tooltip text for a mouse position in widget coordinates ("" when no node is near).
  QString tooltipAt(const QPoint& position) const;

  QSize sizeHint() const override { return {360, 300}; }
  QSize minimumSizeHint() const override { return {200, 160}; }

protected:
  void paintEvent(QPaintEvent* event) override;
  bool event(QEvent* event) override;

private:
  app::PlotMapping mapping() const;
  void drawGrid(QPainter& painter, const app::PlotMapping& mapping, const QRect& area) const;
  void drawCurve(QPainter& painter, const app::PlotMapping& mapping, const QRect& area) const;

  std::vector<app::PlotPoint> points_;
};

}  // namespace zelmot::ui
