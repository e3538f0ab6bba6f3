#include "ui/trend_panel.h"

#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMenu>
#include <QTimer>
#include <QToolButton>
#include <QValueAxis>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/qt_text.h"

namespace zelmot::ui {
namespace {

constexpr int kRedrawMs = 1000;
// Distinct colours that stay apart on white; lines beyond them repeat the list.
const QColor kLineColours[] = {
    QColor(0x1f, 0x77, 0xb4), QColor(0xd6, 0x27, 0x28), QColor(0x2c, 0xa0, 0x2c),
    QColor(0xff, 0x7f, 0x0e), QColor(0x94, 0x67, 0xbd), QColor(0x8c, 0x56, 0x4b),
    QColor(0xe3, 0x77, 0xc2), QColor(0x7f, 0x7f, 0x7f), QColor(0xbc, 0xbd, 0x22),
    QColor(0x17, 0xbe, 0xcf)};

QColor lineColour(int index) {
  constexpr int count = static_cast<int>(std::size(kLineColours));
  return kLineColours[index % count];
}

QToolButton* toolButton(const QString& text, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setText(text);
  button->setToolButtonStyle(Qt::ToolButtonTextOnly);
  return button;
}

}  // namespace

void TrendPanel::showInLegend(QLineSeries* series, bool shown) {
  for (QLegendMarker* marker : chart_->legend()->markers(series)) marker->setVisible(shown);
}

TrendPanel::TrendPanel(QWidget* parent) : QDockWidget(toQt(kTrendPanelTitle), parent) {
  setObjectName("trend-panel");
  chart_ = new QChart();
  chart_->legend()->setAlignment(Qt::AlignRight);
  chart_->setMargins(QMargins(4, 4, 4, 4));
  timeAxis_ = new QDateTimeAxis(chart_);
  timeAxis_->setFormat("hh:mm:ss");
  timeAxis_->setTitleText("Время");
  timeAxis_->setTickCount(6);
  valueAxis_ = new QValueAxis(chart_);
  valueAxis_->setTitleText("Значение");
  chart_->addAxis(timeAxis_, Qt::AlignBottom);
  chart_->addAxis(valueAxis_, Qt::AlignLeft);
  view_ = new QChartView(chart_);
  view_->setRenderHint(QPainter::Antialiasing);
  view_->setMinimumHeight(180);

  auto* body = new QWidget(this);
  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->addWidget(makeToolRow());
  layout->addWidget(view_, 1);
  setWidget(body);

  timer_ = new QTimer(this);
  connect(timer_, &QTimer::timeout, this, &TrendPanel::onTick);
  timer_->start(kRedrawMs);
  setAxes(QDateTime::currentMSecsSinceEpoch());
}

QWidget* TrendPanel::makeToolRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  pause_ = toolButton("Пауза", row);
  pause_->setObjectName("trend-pause");
  pause_->setCheckable(true);
  connect(pause_, &QToolButton::toggled, this, [this](bool on) {
    if (!on) redraw();
  });
  QToolButton* choose = toolButton("Параметры", row);
  choose->setObjectName("trend-lines");
  lineMenu_ = new QMenu(choose);
  connect(lineMenu_, &QMenu::aboutToShow, this, &TrendPanel::fillLineMenu);
  choose->setMenu(lineMenu_);
  choose->setPopupMode(QToolButton::InstantPopup);
  auto* span = span_ = new QComboBox(row);
  span->setObjectName("trend-span");
  for (int minutes : {1, 5, 10}) span->addItem(QString("%1 мин").arg(minutes), minutes * 60'000);
  span->setCurrentIndex(span->count() - 1);
  connect(span, &QComboBox::currentIndexChanged, this, [this, span] {
    spanMs_ = span->currentData().toLongLong();
    redraw();
  });
  backToLive_ = toolButton("Текущие значения", row);
  backToLive_->setObjectName("trend-live");
  backToLive_->hide();
  connect(backToLive_, &QToolButton::clicked, this, &TrendPanel::showLive);
  source_ = new QLabel(row);
  QToolButton* save = toolButton("Сохранить PNG...", row);
  save->setObjectName("trend-save");
  connect(save, &QToolButton::clicked, this, &TrendPanel::askSavePng);
  layout->addWidget(pause_);
  layout->addWidget(choose);
  layout->addWidget(span);
  layout->addWidget(save);
  layout->addWidget(backToLive_);
  layout->addWidget(source_);
  layout->addStretch(1);
  return row;
}

void TrendPanel::addReading(const model::Parameter& parameter) {
  addReadingAt(parameter, QDateTime::currentMSecsSinceEpoch());
}

void TrendPanel::addReadingAt(const model::Parameter& parameter, qint64 timeMs) {
  live_.addReading(parameter, timeMs);
}

void TrendPanel::setPaused(bool paused) { pause_->setChecked(paused); }
bool TrendPanel::paused() const { return pause_->isChecked(); }

bool TrendPanel::setLineShown(const QString& key, bool shown) {
  if (!plotted().setShown(fromQt(key), shown)) return false;
  redraw();
  return true;
}

void TrendPanel::fillLineMenu() {
  lineMenu_->clear();
  for (const app::TrendLine& line : plotted().lines()) {
    QAction* item = lineMenu_->addAction(toQt(line.label));
    item->setCheckable(true);
    item->setChecked(line.shown);
    const QString key = toQt(line.key);
    connect(item, &QAction::toggled, this, [this, key](bool on) { setLineShown(key, on); });
  }
  if (plotted().lines().empty()) lineMenu_->addAction("Нет опрашиваемых параметров")->setEnabled(false);
}

void TrendPanel::askSavePng() {
  const QString path = QFileDialog::getSaveFileName(this, "Сохранить тренд", "trend.png",
                                                    "PNG (*.png)");
  if (!path.isEmpty()) savePng(path);
}

bool TrendPanel::savePng(const QString& path) { return view_->grab().save(path, "PNG"); }

void TrendPanel::closeEvent(QCloseEvent* event) {
  QDockWidget::closeEvent(event);
  emit closed();
}

void TrendPanel::onTick() {
  if (isVisible() && !paused() && !day_) redraw();
}

void TrendPanel::showDay(app::TrendSeries day, const QString& title) {
  clearPlot();
  day_ = std::move(day);
  source_->setText(title);
  backToLive_->show();
  pause_->setEnabled(false);
  span_->setEnabled(false);  // a day shows whole
  timeAxis_->setFormat("hh:mm");
  redraw();
}

void TrendPanel::showLive() {
  clearPlot();
  day_.reset();
  source_->clear();
  backToLive_->hide();
  pause_->setEnabled(true);
  span_->setEnabled(true);
  timeAxis_->setFormat("hh:mm:ss");
  redraw();
}

void TrendPanel::clearPlot() {
  chart_->removeAllSeries();
  drawn_.clear();
}

void TrendPanel::redraw() {
  const qint64 now = QDateTime::currentMSecsSinceEpoch();
  live_.prune(now);
  int colour = 0;
  for (const app::TrendLine& line : plotted().lines()) drawLine(line, colour++);
  setAxes(now);
}

void TrendPanel::drawLine(const app::TrendLine& line, int colourIndex) {
  QList<QLineSeries*>& parts = drawn_[toQt(line.key)];
  if (parts.isEmpty()) parts.append(addSegmentSeries(toQt(line.label), colourIndex, true));
  const std::vector<app::TrendSegment> segments = app::TrendSeries::segments(line);
  while (parts.size() < static_cast<qsizetype>(segments.size())) {
    parts.append(addSegmentSeries(toQt(line.label), colourIndex, false));
  }
  for (qsizetype i = 0; i < parts.size(); ++i) {
    QList<QPointF> points;
    if (i < static_cast<qsizetype>(segments.size())) {
      for (const auto& [time, value] : segments[static_cast<size_t>(i)]) {
        points.append(QPointF(static_cast<qreal>(time), value));
      }
    }
    parts[i]->replace(points);
    parts[i]->setVisible(line.shown);
    // One legend entry per parameter; a hidden line keeps it, so it can be found again.
    showInLegend(parts[i], i == 0);
  }
}

QLineSeries* TrendPanel::addSegmentSeries(const QString& name, int colourIndex, bool inLegend) {
  auto* series = new QLineSeries(chart_);
  series->setName(name);
  QPen pen(lineColour(colourIndex));
  pen.setWidthF(1.6);
  series->setPen(pen);
  chart_->addSeries(series);
  series->attachAxis(timeAxis_);
  series->attachAxis(valueAxis_);
  showInLegend(series, inLegend);
  return series;
}

void TrendPanel::setAxes(qint64 nowMs) {
  auto [start, end] = plotted().timeRange(nowMs, spanMs_);
  if (day_) std::tie(start, end) = day_->timeSpan().value_or(std::pair{start, end});
  if (end - start < app::kTrendMinSpanMs) start = end - app::kTrendMinSpanMs;
  timeAxis_->setRange(QDateTime::fromMSecsSinceEpoch(start), QDateTime::fromMSecsSinceEpoch(end));
  const auto range = plotted().valueRange();
  double low = range ? range->first : 0.0;
  double high = range ? range->second : 1.0;
  const double margin = std::max((high - low) * 0.05, high == low ? 1.0 : 0.0);
  valueAxis_->setRange(low - margin, high + margin);
  valueAxis_->applyNiceNumbers();
}

int TrendPanel::plottedPointCount() const {
  int count = 0;
  for (const QList<QLineSeries*>& parts : drawn_) {
    for (const QLineSeries* part : parts) count += part->isVisible() ? part->count() : 0;
  }
  return count;
}

int TrendPanel::shownLineCount() const {
  int count = 0;
  for (const app::TrendLine& line : plotted().lines()) count += line.shown ? 1 : 0;
  return count;
}

}  // namespace zelmot::ui
