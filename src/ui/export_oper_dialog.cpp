#include "ui/export_oper_dialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QUrl>
#include <QVBoxLayout>
#include <ctime>

#include "archive/export_space.h"
#include "platform/user_prompt.h"
#include "ui/qt_text.h"

namespace zelmot::ui {
namespace {

archive::DayDate today() {
  const QDate date = QDate::currentDate();
  return {date.day(), date.month(), date.year()};
}

QDate toQDate(const archive::DayDate& date) { return QDate(date.year, date.month, date.day); }
archive::DayDate fromQDate(const QDate& date) { return {date.day(), date.month(), date.year()}; }

// A tooltip of the dialog's fixed width.
QString tip(const char* text) {
  return QString("<table width=\"%1\"><tr><td>%2</td></tr></table>")
      .arg(app::kExportTipWidth)
      .arg(toQt(text));
}

QDateEdit* dateEdit(const archive::DayDate& date) {
  auto* edit = new QDateEdit(toQDate(date));
  edit->setCalendarPopup(true);
  edit->setDisplayFormat("dd.MM.yyyy");
  return edit;
}

// Relays the job's progress to the dialog's thread.
class QueuedProgress final : public archive::ExportProgress {
public:
  explicit QueuedProgress(std::function<void(int, int)> show) : show_(std::move(show)) {}
  void progress(int dayPercent, int totalPercent) override { show_(dayPercent, totalPercent); }

private:
  std::function<void(int, int)> show_;
};

}  // namespace

CExportOperDlg::CExportOperDlg(Services services, UserPrompt& prompt, QWidget* parent)
    : QDialog(parent), services_(std::move(services)), prompt_(prompt),
      state_(services_.home, archive::listDayNames(archive::archiveFoldersIn(services_.home)), today()) {
  setWindowTitle(toQt(app::kExportDialogTitle));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(buildSource());

  layout->addWidget(new QLabel(toQt(app::kExportFilterLabel)));
  filter_ = new QComboBox;
  for (int i = 0; i < archive::kExportFilterCount; ++i) filter_->addItem(toQt(archive::exportFilterText(i)));
  layout->addWidget(filter_);

  browser_ = new QRadioButton(toQt(app::kExportToBrowserText));
  excel_ = new QRadioButton(toQt(app::kExportToExcelText));
  browser_->setChecked(true);
  auto* targets = new QButtonGroup(this);
  targets->addButton(browser_);
  targets->addButton(excel_);
  layout->addWidget(browser_);
  layout->addWidget(excel_);

  dayBar_ = new QProgressBar;
  totalBar_ = new QProgressBar;
  for (QProgressBar* bar : {dayBar_, totalBar_}) {
    bar->setRange(0, 100);
    bar->setValue(0);
    layout->addWidget(bar);
  }
  layout->addWidget(buildButtons());
  updateControls();
}

QWidget* CExportOperDlg::buildSource() {
  auto* box = new QWidget;
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  byPeriod_ = new QRadioButton(toQt(app::kExportByPeriodText));
  byFile_ = new QRadioButton(toQt(app::kExportByFileText));
  byPeriod_->setChecked(true);
  auto* modes = new QButtonGroup(this);
  modes->addButton(byPeriod_);
  modes->addButton(byFile_);

  layout->addWidget(byPeriod_);
  auto* prompt = new QLabel(toQt(app::kExportPeriodPrompt));
  prompt->setWordWrap(true);
  layout->addWidget(prompt);
  auto* dates = new QHBoxLayout;
  from_ = dateEdit(state_.from);
  to_ = dateEdit(state_.to);
  dates->addWidget(new QLabel(toQt(app::kExportFromText)));
  dates->addWidget(from_);
  dates->addWidget(new QLabel(toQt(app::kExportToText)));
  dates->addWidget(to_);
  dates->addStretch();
  layout->addLayout(dates);

  layout->addWidget(byFile_);
  layout->addWidget(new QLabel(toQt(app::kExportFilePrompt)));
  days_ = new QComboBox;
  for (const std::string& day : state_.dayNames()) days_->addItem(toQt(day));
  layout->addWidget(days_);
  connect(byPeriod_, &QRadioButton::toggled, this, [this] { updateControls(); });
  return box;
}

QWidget* CExportOperDlg::buildButtons() {
  auto* row = new QWidget;
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  ok_ = new QPushButton(toQt(app::kExportOkText));
  cancel_ = new QPushButton(toQt(app::kExportCancelText));
  cleanup_ = new QPushButton(toQt(app::kExportCleanupText));
  ok_->setToolTip(tip(app::kExportOkTip));
  cancel_->setToolTip(tip(app::kExportCancelTip));
  cleanup_->setToolTip(tip(app::kExportCleanupTip));
  ok_->setDefault(true);
  layout->addWidget(ok_);
  layout->addWidget(cancel_);
  layout->addStretch();
  layout->addWidget(cleanup_);
  connect(ok_, &QPushButton::clicked, this, &CExportOperDlg::startExport);
  connect(cancel_, &QPushButton::clicked, this, &CExportOperDlg::reject);
  connect(cleanup_, &QPushButton::clicked, this, [this] {
    if (services_.openCleanup) services_.openCleanup(this);
  });
  return row;
}

CExportOperDlg::~CExportOperDlg() {
  stop_.set();
  if (worker_.joinable()) worker_.join();
}

void CExportOperDlg::takeChoices() {
  state_.mode = byFile_->isChecked() ? archive::ExportMode::File : archive::ExportMode::Period;
  state_.from = fromQDate(from_->date());
  state_.to = fromQDate(to_->date());
  state_.dayIndex = days_->currentIndex();
  state_.filter = filter_->currentIndex();
  state_.target = excel_->isChecked() ? archive::ExportTarget::Xlsx : archive::ExportTarget::Html;
}

void CExportOperDlg::updateControls() {
  const bool choices = state_.choicesEnabled();
  for (QWidget* control : std::initializer_list<QWidget*>{byPeriod_, byFile_, filter_, browser_, excel_, cleanup_}) {
    control->setEnabled(choices);
  }
  from_->setEnabled(choices && byPeriod_->isChecked());
  to_->setEnabled(choices && byPeriod_->isChecked());
  days_->setEnabled(choices && byFile_->isChecked());
  takeChoices();
  ok_->setEnabled(state_.canStart());
  cancel_->setEnabled(state_.cancelEnabled());
}

void CExportOperDlg::startExport() {
  if (worker_.joinable()) return;
  takeChoices();
  const uintmax_t space = services_.freeSpace ? services_.freeSpace(services_.home)
                                              : archive::availableSpaceAt(services_.home);
  app::ExportEnding refusal;
  if (!state_.start(space, refusal)) {
    if (!refusal.message.empty()) prompt_.tell(refusal.message, refusal.caption, refusal.icon);
    return;
  }
  // The switch is touched on this thread only: paused now, set back when the job is done.
  pause_ = std::make_unique<archive::ArchivePause>(services_.archive);
  stop_.reset();
  updateControls();
  worker_ = std::thread([this, request = state_.request(), folders = state_.folders()] {
    QueuedProgress progress([this](int day, int total) {
      QMetaObject::invokeMethod(this, [this, day, total] { showProgress(day, total); },
                                Qt::QueuedConnection);
    });
    const archive::ExportResult result =
        archive::runExport(request, folders, services_.columns, stop_, &progress, nullptr);
    QMetaObject::invokeMethod(this, [this, result] { exportEnded(result); }, Qt::QueuedConnection);
  });
}

void CExportOperDlg::showProgress(int dayPercent, int totalPercent) {
  dayBar_->setValue(dayPercent);
  totalBar_->setValue(totalPercent);
}

void CExportOperDlg::exportEnded(const archive::ExportResult& result) {
  if (worker_.joinable()) worker_.join();
  pause_.reset();
  const app::ExportEnding ending = state_.finish(result);
  if (!ending.message.empty()) prompt_.tell(ending.message, ending.caption, ending.icon);
  if (!ending.open.empty()) {
    if (services_.openReport) {
      services_.openReport(ending.open);
    } else {
      QDesktopServices::openUrl(QUrl::fromLocalFile(toQt(ending.open.string())));
    }
  }
  QDialog::accept();
}

void CExportOperDlg::reject() {
  if (state_.cancel()) {
    stop_.set();
    updateControls();
    return;
  }
  if (!state_.running()) QDialog::reject();
}

}  // namespace zelmot::ui
