#include "ui/graph_plot_widget.h"

#include <QHelpEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include "ui/qt_text.h"

namespace zelmot::ui {
namespace {

constexpr int kGap = 4;  // between labels and the plot area
constexpr double kNodeRadius = 3.0;

}  // namespace

GraphPlotWidget::GraphPlotWidget(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void GraphPlotWidget::setPoints(std::vector<app::PlotPoint> points) {
  points_ = std::move(points);
  update();
}

QRect GraphPlotWidget::plotArea() const {
  const QFontMetrics metrics(font());
  int labelWidth = 0;
  for (double value : app::PlotMapping(points_, 1, 1).gridY()) {
    labelWidth = std::max(labelWidth, metrics.horizontalAdvance(toQt(app::axisLabel(value))));
  }
  const int left = labelWidth + 2 * kGap;
  const int bottom = metrics.height() + 2 * kGap;
  return QRect(left, kGap, std::max(1, width() - left - 2 * kGap),
               std::max(1, height() - bottom - kGap));
}

app::PlotMapping GraphPlotWidget::mapping() const {
  const QRect area = plotArea();
  return app::PlotMapping(points_, area.width(), area.height());
}

QString GraphPlotWidget::tooltipAt(const QPoint& position) const {
  const QRect area = plotArea();
  const int near = app::pointNear(points_, mapping(), position.x() - area.left(),
                                  position.y() - area.top());
  return near < 0 ? QString() : toQt(app::pointTooltip(points_[static_cast<size_t>(near)]));
}

bool GraphPlotWidget::event(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QWidget::event(event);
  auto* help = static_cast<QHelpEvent*>(event);
  const QString text = tooltipAt(help->pos());
  if (text.isEmpty()) {
    QToolTip::hideText();
    event->ignore();
  } else {
    QToolTip::showText(help->globalPos(), text, this);
  }
  return true;
}

void GraphPlotWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(rect(), palette().base());
  const QRect area = plotArea();
  const app::PlotMapping map = mapping();
  drawGrid(painter, map, area);
  drawCurve(painter, map, area);
  painter.setPen(QPen(palette().text(), 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5));
}

void GraphPlotWidget::drawGrid(QPainter& painter, const app::PlotMapping& map,
                               const QRect& area) const {
  const QFontMetrics metrics(font());
  QPen gridPen(palette().mid(), 1, Qt::DotLine);
  for (double x : map.gridX()) {
    const double at = area.left() + map.toX(x);
    painter.setPen(gridPen);
    painter.drawLine(QPointF(at, area.top()), QPointF(at, area.bottom()));
    const QString label = toQt(app::axisLabel(x));
    painter.setPen(palette().text().color());
    painter.drawText(QPointF(at - metrics.horizontalAdvance(label) / 2.0,
                             area.bottom() + kGap + metrics.ascent()),
                     label);
  }
  for (double y : map.gridY()) {
    const double at = area.top() + map.toY(y);
    painter.setPen(gridPen);
    painter.drawLine(QPointF(area.left(), at), QPointF(area.right(), at));
    const QString label = toQt(app::axisLabel(y));
    painter.setPen(palette().text().color());
    painter.drawText(QPointF(area.left() - kGap - metrics.horizontalAdvance(label),
                             at + metrics.ascent() / 2.0 - 1),
                     label);
  }
}

void GraphPlotWidget::drawCurve(QPainter& painter, const app::PlotMapping& map,
                                const QRect& area) const {
  if (points_.empty()) return;
  QPainterPath path;
  for (size_t i = 0; i < points_.size(); ++i) {
    const QPointF at(area.left() + map.toX(points_[i].x), area.top() + map.toY(points_[i].y));
    if (i == 0) {
      path.moveTo(at);
    } else {
      path.lineTo(at);
    }
  }
  const QColor curve(0, 70, 170);
  painter.setPen(QPen(curve, 2));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(path);
  painter.setBrush(curve);
  for (const app::PlotPoint& point : points_) {
    painter.drawEllipse(QPointF(area.left() + map.toX(point.x), area.top() + map.toY(point.y)),
                        kNodeRadius, kNodeRadius);
  }
}

}  // namespace zelmot::ui
