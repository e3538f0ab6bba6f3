#pragma once
// CSinglePoint: "Произвольный доступ к отдельным параметрам (Single Point)". A view over
// exchange::SinglePointPoll: the exchange itself runs on the window's LinkWorker, and its
// byte log is listed when it is back.
#include <QDialog>
#include <functional>

#include "exchange/single_point_poll.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace zelmot {
class UserPrompt;
}

namespace zelmot::ui {

class LinkWorker;

class CSinglePoint final : public QDialog {
  Q_OBJECT

public:
  // `reveal` selects the parameter of the request in the tree; false when there is none.
  CSinglePoint(const exchange::SinglePointPoll& poll, LinkWorker& worker, UserPrompt& prompt,
               std::function<bool(const exchange::SinglePointRequest&)> reveal,
               QWidget* parent = nullptr);

  QComboBox* commandBox() const { return command_; }
  QLineEdit* codeField() const { return code_; }
  QLineEdit* descriptionField() const { return description_; }
  QComboBox* valueBox() const { return value_; }
  QCheckBox* indexBox() const { return indexPresent_; }
  QLineEdit* indexField() const { return index_; }
  QRadioButton* indexInAddressButton() const { return inAddress_; }
  QRadioButton* writeButton() const { return write_; }
  QListWidget* logList() const { return log_; }
  QPushButton* executeButton() const { return execute_; }
  bool busy() const { return busy_; }

  // What the controls ask for now.
  exchange::SinglePointRequest request() const;
  void execute();
  void findInTree();

private:
  QWidget* buildCommandRow();
  QWidget* buildIndexRow();
  QWidget* buildOperationRow();
  void onCommandChanged(const QString& name);
  void updateOperation();
  void showOutcome(const exchange::SinglePointOutcome& outcome);

  const exchange::SinglePointPoll& poll_;
  LinkWorker& worker_;
  UserPrompt& prompt_;
  std::function<bool(const exchange::SinglePointRequest&)> reveal_;
  bool busy_ = false;
  QComboBox* command_ = nullptr;
  QLineEdit* code_ = nullptr;
  QLineEdit* description_ = nullptr;
  QCheckBox* indexPresent_ = nullptr;
  QLineEdit* index_ = nullptr;
  QRadioButton* inData_ = nullptr;
  QRadioButton* inAddress_ = nullptr;
  QRadioButton* read_ = nullptr;
  QRadioButton* write_ = nullptr;
  QLabel* valueLabel_ = nullptr;
  QComboBox* value_ = nullptr;
  QListWidget* log_ = nullptr;
  QPushButton* execute_ = nullptr;
};

}  // namespace zelmot::ui
