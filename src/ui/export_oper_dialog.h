#pragma once
// CExportOperDlg: "Экспорт протокола измерений". A view over app::ExportOperState; the
// export itself runs on a thread of its own, and its progress and end come back through
// queued calls. While it runs every control but "Отмена" is disabled.
#include <QDialog>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "app/export_oper_state.h"
#include "archive/archive_pause.h"
#include "platform/event.h"

class QComboBox;
class QDateEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace zelmot {
class UserPrompt;
}

namespace zelmot::ui {

class CExportOperDlg final : public QDialog {
  Q_OBJECT

public:
  struct Services {
    std::filesystem::path home;
    std::vector<archive::ExportColumn> columns;
    archive::ArchiveSwitch* archive = nullptr;          // paused while an export runs
    std::function<void(QWidget*)> openCleanup;          // the archive cleanup dialog
    std::function<bool(const std::filesystem::path&)> openReport;  // default: the desktop's
    std::function<uintmax_t(const std::filesystem::path&)> freeSpace;  // default: measured
  };

  CExportOperDlg(Services services, UserPrompt& prompt, QWidget* parent = nullptr);
  ~CExportOperDlg() override;  // a running export is stopped and waited for

  QRadioButton* byPeriodButton() const { return byPeriod_; }
  QRadioButton* byFileButton() const { return byFile_; }
  QDateEdit* fromEdit() const { return from_; }
  QDateEdit* toEdit() const { return to_; }
  QComboBox* dayBox() const { return days_; }
  QComboBox* filterBox() const { return filter_; }
  QRadioButton* browserButton() const { return browser_; }
  QRadioButton* excelButton() const { return excel_; }
  QProgressBar* dayBar() const { return dayBar_; }
  QProgressBar* totalBar() const { return totalBar_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }
  QPushButton* cleanupButton() const { return cleanup_; }
  bool exporting() const { return state_.running(); }

  void startExport();
  void reject() override;  // "Отмена", Esc and the window's close

private:
  QWidget* buildSource();
  QWidget* buildButtons();
  void takeChoices();
  void updateControls();
  void showProgress(int dayPercent, int totalPercent);
  void exportEnded(const archive::ExportResult& result);

  Services services_;
  UserPrompt& prompt_;
  app::ExportOperState state_;
  Event stop_{Event::Reset::Manual};
  std::unique_ptr<archive::ArchivePause> pause_;
  std::thread worker_;

  QRadioButton* byPeriod_ = nullptr;
  QRadioButton* byFile_ = nullptr;
  QDateEdit* from_ = nullptr;
  QDateEdit* to_ = nullptr;
  QComboBox* days_ = nullptr;
  QComboBox* filter_ = nullptr;
  QRadioButton* browser_ = nullptr;
  QRadioButton* excel_ = nullptr;
  QProgressBar* dayBar_ = nullptr;
  QProgressBar* totalBar_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QPushButton* cleanup_ = nullptr;
};

}  // namespace zelmot::ui
