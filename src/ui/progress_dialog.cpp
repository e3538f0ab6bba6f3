#include "ui/progress_dialog.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "exchange/elapsed_text.h"
#include "platform/event.h"
#include "ui/progress_relay.h"
#include "ui/qt_text.h"

namespace zelmot::ui {
namespace {

constexpr int kWidthDlu = 300;
constexpr int kTickMs = 1000;
constexpr int kTitleBarExtraPx = 120;

QLabel* fieldLabel(QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->setMinimumWidth(110);
  label->setAlignment(Qt::AlignCenter);
  return label;
}

}  // namespace

ProgressDialog::ProgressDialog(Event& cancelEvent, QWidget* parent)
    : QDialog(parent), cancelEvent_(cancelEvent) {
  setWindowTitle(toQt(app::kProgressCaption));
  setModal(true);
  buildLayout();
  ticker_.setInterval(kTickMs);
  connect(&ticker_, &QTimer::timeout, this, &ProgressDialog::tick);
  closer_.setSingleShot(true);
  connect(&closer_, &QTimer::timeout, this, &ProgressDialog::closeNow);
  applySize();
}

void ProgressDialog::buildLayout() {
  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel(toQt(app::kRunningLabel), this), 0, 0);
  elapsed_ = fieldLabel(this);
  grid->addWidget(elapsed_, 0, 1);
  cancelButton_ = new QPushButton(toQt(app::kCancelText), this);
  grid->addWidget(cancelButton_, 0, 3);
  bar_ = new QProgressBar(this);
  bar_->setTextVisible(false);
  grid->addWidget(bar_, 1, 0, 1, 4);
  grid->addWidget(new QLabel(toQt(app::kProcessedLabel), this), 2, 0);
  counter_ = fieldLabel(this);
  grid->addWidget(counter_, 2, 1);
  toggleButton_ = new QPushButton(this);
  grid->addWidget(toggleButton_, 2, 3);
  grid->setColumnStretch(2, 1);

  log_ = new QListWidget(this);
  log_->setUniformItemSizes(true);  // thousands of lines stay cheap
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(log_, 1);

  connect(cancelButton_, &QPushButton::clicked, this, &ProgressDialog::pressCancel);
  connect(toggleButton_, &QPushButton::clicked, this, &ProgressDialog::toggleDetailed);
}

void ProgressDialog::connectRelay(ProgressRelay& relay) {
  connect(&relay, &ProgressRelay::started, this, &ProgressDialog::onStarted, Qt::QueuedConnection);
  connect(&relay, &ProgressRelay::line, this, &ProgressDialog::onLine, Qt::QueuedConnection);
  connect(&relay, &ProgressRelay::totalChanged, this, &ProgressDialog::onTotal,
          Qt::QueuedConnection);
  connect(&relay, &ProgressRelay::finished, this, &ProgressDialog::onFinished,
          Qt::QueuedConnection);
}

int ProgressDialog::dluToPixelsY(int dlu) const {
  return dlu * QFontMetrics(font()).height() / 8;
}

void ProgressDialog::applySize() {
  toggleButton_->setText(toQt(state_.toggleText()));
  log_->setVisible(state_.detailed());
  QFont titleFont = font();  // title bars are usually bold; leave room for their buttons
  titleFont.setBold(true);
  const int width = std::max(kWidthDlu * QFontMetrics(font()).averageCharWidth() / 4,
                             QFontMetrics(titleFont).horizontalAdvance(windowTitle()) + kTitleBarExtraPx);
  const int height = std::max(dluToPixelsY(state_.heightDlu()), minimumSizeHint().height());
  setFixedSize(width, height);
}

void ProgressDialog::onStarted(int code, const QString& title, int total) {
  closer_.stop();
  state_.start(static_cast<exchange::TaskCode>(code), fromQt(title), total);
  setWindowTitle(title);
  log_->clear();
  bar_->setRange(0, std::max(total, 0));
  bar_->setValue(0);
  elapsed_->setText(toQt(state_.elapsed()));
  counter_->clear();
  cancelButton_->setEnabled(true);
  clock_.start();
  ticker_.start();
  applySize();
}

void ProgressDialog::onLine(const QString& text, const QString& elapsed, const QString& counter,
                            int done, int total) {
  exchange::ProgressLine line{fromQt(text), fromQt(elapsed), fromQt(counter), done, total};
  const bool scroll = state_.addLine(line);
  log_->addItem(text);
  if (scroll) log_->scrollToBottom();
  elapsed_->setText(toQt(state_.elapsed()));
  if (total != 0) {
    counter_->setText(counter);
    if (bar_->maximum() != total) bar_->setRange(0, total);
    bar_->setValue(std::min(done, total));
  }
}

void ProgressDialog::onTotal(int total) {
  state_.setTotal(total);
  bar_->setRange(0, std::max(total, 0));
}

void ProgressDialog::onFinished() {
  state_.finish();
  ticker_.stop();
  log_->scrollToBottom();
  // After "Отмена" the pause is over before it began.
  if (state_.cancelRequested()) {
    closeNow();
  } else {
    closer_.start(closingPauseMs_);
  }
}

void ProgressDialog::tick() {
  if (!clock_.isValid()) return;
  elapsed_->setText(toQt(exchange::formatElapsed(clock_.elapsed() / 1000)));
}

void ProgressDialog::pressCancel() {
  switch (state_.pressCancel()) {
    case app::ProgressState::CancelAction::SignalCancel:
      // The task stops at its next cancel check; its finish closes the dialog.
      cancelEvent_.set();
      cancelButton_->setEnabled(false);
      break;
    case app::ProgressState::CancelAction::CloseNow: closeNow(); break;
    case app::ProgressState::CancelAction::None: break;
  }
}

void ProgressDialog::closeNow() {
  closer_.stop();
  ticker_.stop();
  state_.close();
  done(0);
}

void ProgressDialog::toggleDetailed() {
  state_.toggleDetailed();
  applySize();
  if (state_.detailed()) log_->scrollToBottom();
}

void ProgressDialog::reject() {
  if (state_.phase() == app::ProgressState::Phase::Running ||
      state_.phase() == app::ProgressState::Phase::Closing) {
    pressCancel();
  } else {
    QDialog::reject();
  }
}

}  // namespace zelmot::ui
