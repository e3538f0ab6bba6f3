#include "ui/single_point_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <memory>

#include "platform/user_prompt.h"
#include "ui/link_worker.h"
#include "ui/qt_text.h"

namespace zelmot::ui {
namespace {

constexpr const char* kTitle = "Произвольный доступ к отдельным параметрам (Single Point)";
constexpr const char* kNotFoundText = "Данный параметр не найден!\nВозможно, ошибка в индексе параметра.";
constexpr const char* kMessageCaption = "Сообщение";
constexpr const char* kErrorCaption = "Ошибка";
constexpr int kMinimumWidth = 620;

}  // namespace

CSinglePoint::CSinglePoint(const exchange::SinglePointPoll& poll, LinkWorker& worker,
                           UserPrompt& prompt,
                           std::function<bool(const exchange::SinglePointRequest&)> reveal,
                           QWidget* parent)
    : QDialog(parent), poll_(poll), worker_(worker), prompt_(prompt), reveal_(std::move(reveal)) {
  setWindowTitle(toQt(kTitle));
  setMinimumWidth(kMinimumWidth);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(buildCommandRow());
  layout->addWidget(buildIndexRow());
  layout->addWidget(buildOperationRow());
  layout->addWidget(new QLabel(toQt("Протокол обмена данными с прибором:"), this));
  log_ = new QListWidget(this);
  layout->addWidget(log_, 1);

  auto* buttons = new QHBoxLayout;
  auto* find = new QPushButton(toQt("Найти и показать этот параметр в \"дереве\""), this);
  execute_ = new QPushButton(toQt("Выполнить!"), this);
  execute_->setDefault(true);
  auto* exit = new QPushButton(toQt("Выход"), this);
  buttons->addWidget(find);
  buttons->addStretch();
  buttons->addWidget(execute_);
  buttons->addWidget(exit);
  layout->addLayout(buttons);
  connect(find, &QPushButton::clicked, this, &CSinglePoint::findInTree);
  connect(execute_, &QPushButton::clicked, this, &CSinglePoint::execute);
  connect(exit, &QPushButton::clicked, this, &QDialog::reject);

  for (const std::string& name : poll_.commandNames()) command_->addItem(toQt(name));
  command_->setCurrentText(toQt(exchange::kInitialCommandName));
  onCommandChanged(command_->currentText());
  updateOperation();
}

QWidget* CSinglePoint::buildCommandRow() {
  auto* box = new QWidget(this);
  auto* form = new QFormLayout(box);
  form->setContentsMargins(0, 0, 0, 0);
  command_ = new QComboBox(box);
  command_->setEditable(true);
  command_->setInsertPolicy(QComboBox::NoInsert);
  code_ = new QLineEdit(box);
  code_->setReadOnly(true);
  description_ = new QLineEdit(toQt(exchange::kInitialDescription), box);
  description_->setReadOnly(true);
  form->addRow(toQt("Команда:"), command_);
  form->addRow(toQt("Код команды:"), code_);
  form->addRow(toQt("Описание:"), description_);
  connect(command_, &QComboBox::currentTextChanged, this, &CSinglePoint::onCommandChanged);
  return box;
}

QWidget* CSinglePoint::buildIndexRow() {
  auto* box = new QWidget(this);
  auto* row = new QHBoxLayout(box);
  row->setContentsMargins(0, 0, 0, 0);
  indexPresent_ = new QCheckBox(toQt("Наличие лин-го индекса:"), box);
  index_ = new QLineEdit("0", box);
  index_->setMaximumWidth(80);
  inData_ = new QRadioButton(toQt("Индекс в поле данных"), box);
  inAddress_ = new QRadioButton(toQt("Индекс в адресе (3 бит)"), box);
  inData_->setChecked(true);
  for (QWidget* widget : {static_cast<QWidget*>(indexPresent_), static_cast<QWidget*>(index_),
                          static_cast<QWidget*>(inData_), static_cast<QWidget*>(inAddress_)}) {
    row->addWidget(widget);
  }
  row->addStretch();
  auto enablePositions = [this](bool on) {
    inData_->setEnabled(on);
    inAddress_->setEnabled(on);
  };
  connect(indexPresent_, &QCheckBox::toggled, this, enablePositions);
  enablePositions(false);
  return box;
}

QWidget* CSinglePoint::buildOperationRow() {
  auto* box = new QWidget(this);
  auto* row = new QHBoxLayout(box);
  row->setContentsMargins(0, 0, 0, 0);
  read_ = new QRadioButton(toQt("Чтение"), box);
  write_ = new QRadioButton(toQt("Запись"), box);
  read_->setChecked(true);
  valueLabel_ = new QLabel(toQt("Что записать:"), box);
  value_ = new QComboBox(box);
  value_->setEditable(true);
  value_->setMinimumWidth(200);
  for (QWidget* widget : {static_cast<QWidget*>(read_), static_cast<QWidget*>(write_),
                          static_cast<QWidget*>(valueLabel_), static_cast<QWidget*>(value_)}) {
    row->addWidget(widget);
  }
  row->addStretch();
  connect(write_, &QRadioButton::toggled, this, &CSinglePoint::updateOperation);
  return box;
}

void CSinglePoint::onCommandChanged(const QString& name) {
  const exchange::CommandDescription description = poll_.describe(fromQt(name));
  code_->setText(toQt(description.codeText));
  description_->setText(toQt(description.descriptionField));
  value_->clear();
  for (const std::string& choice : description.choices) value_->addItem(toQt(choice));
}

void CSinglePoint::updateOperation() {
  valueLabel_->setVisible(write_->isChecked());
  value_->setVisible(write_->isChecked());
}

exchange::SinglePointRequest CSinglePoint::request() const {
  exchange::SinglePointRequest request;
  request.name = fromQt(command_->currentText());
  request.write = write_->isChecked();
  request.value = fromQt(value_->currentText());
  request.indexPresent = indexPresent_->isChecked();
  request.indexInAddress = inAddress_->isChecked();
  request.indexText = fromQt(index_->text());
  return request;
}

void CSinglePoint::execute() {
  if (busy_) return;
  log_->clear();
  const exchange::SinglePointRequest asked = request();
  auto outcome = std::make_shared<exchange::SinglePointOutcome>();
  const exchange::SinglePointPoll* poll = &poll_;
  busy_ = true;
  execute_->setEnabled(false);
  const bool started = worker_.run([poll, asked, outcome] { *outcome = poll->execute(asked); },
                                   [self = QPointer<CSinglePoint>(this), outcome] {
                                     if (self == nullptr) return;  // closed meanwhile
                                     self->busy_ = false;
                                     self->execute_->setEnabled(true);
                                     self->showOutcome(*outcome);
                                   });
  if (!started) {
    busy_ = false;
    execute_->setEnabled(true);
  }
}

void CSinglePoint::showOutcome(const exchange::SinglePointOutcome& outcome) {
  if (!outcome.described) {
    prompt_.tell(outcome.refusal, kErrorCaption, PromptIcon::Stop);
    return;
  }
  for (const std::string& line : outcome.log) log_->addItem(toQt(line));
  if (log_->count() > 0) log_->setCurrentRow(log_->count() - 1);
}

void CSinglePoint::findInTree() {
  if (!reveal_ || !reveal_(request())) {
    prompt_.tell(kNotFoundText, kMessageCaption, PromptIcon::Information);
  }
}

}  // namespace zelmot::ui
