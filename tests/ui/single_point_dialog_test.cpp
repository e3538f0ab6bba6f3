// The single-parameter poll dialog against the simulator.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

#include "document/zelmot_doc.h"
#include "sim_process.h"
#include "ui/link_worker.h"
#include "ui/single_point_dialog.h"

namespace zelmot::ui::testing {
namespace {

QStringList logLines(const CSinglePoint& dialog) {
  QStringList lines;
  for (int i = 0; i < dialog.logList()->count(); ++i) lines << dialog.logList()->item(i)->text();
  return lines;
}

class SinglePointDialog : public ::testing::Test {
protected:
  SimProcess sim;
  std::unique_ptr<FrameFixture> fixture;
  std::unique_ptr<exchange::SinglePointPoll> poll;
  std::unique_ptr<CSinglePoint> dialog;
  int revealed = 0;

  void SetUp() override {
    ASSERT_FALSE(sim.slavePath().empty());
    fixture = std::make_unique<FrameFixture>(sim.slavePath());
    ASSERT_NE(fixture->frame, nullptr);
    document::CZELMOTDoc& doc = fixture->frame->document();
    poll = std::make_unique<exchange::SinglePointPoll>(doc.deviceLink(), doc.deviceModel().catalogue());
    dialog = std::make_unique<CSinglePoint>(
        *poll, fixture->frame->linkWorker(), fixture->prompt,
        [this](const exchange::SinglePointRequest&) { return ++revealed > 1; });
  }
  void TearDown() override {
    if (fixture && fixture->frame) fixture->frame->linkWorker().join();
    dialog.reset();
  }
  void runAndWait() {
    dialog->execute();
    ASSERT_TRUE(waitUntil([this] { return !dialog->busy(); }));
  }
};

TEST_F(SinglePointDialog, StartsWithVerAndOffersEveryNameOnce) {
  EXPECT_EQ(dialog->commandBox()->currentText(), "vEr");
  EXPECT_FALSE(dialog->valueBox()->isVisibleTo(dialog.get()));
  QStringList names;
  for (int i = 0; i < dialog->commandBox()->count(); ++i) names << dialog->commandBox()->itemText(i).toLower();
  EXPECT_EQ(names.removeDuplicates(), 0);
  EXPECT_TRUE(names.contains("n.err"));
  dialog->writeButton()->setChecked(true);
  EXPECT_TRUE(dialog->valueBox()->isVisibleTo(dialog.get()));
}

TEST_F(SinglePointDialog, ReadingNErrLogsTheBytesAndTheAnswer) {
  dialog->commandBox()->setCurrentText("n.Err");
  EXPECT_EQ(dialog->codeField()->text(), "0x233");
  runAndWait();
  const QStringList lines = logLines(*dialog);
  ASSERT_FALSE(lines.isEmpty());
  const std::string all = lines.join("\n").toStdString();
  // A read sends no data bytes: the request's size, then every byte received.
  EXPECT_TRUE(lines.contains("Размер инф-ой части посылки 0 байт.")) << all;
  EXPECT_TRUE(lines.contains("<< Ответ: # 0 : 000 = 0x00 (.)")) << all;
  EXPECT_TRUE(lines.contains("Инф-ная часть квитанции ответа имеет размер 1 байт.")) << all;
  const qsizetype answer = lines.indexOf("Нет ошибок; строковая нотация ответа:");
  ASSERT_GE(answer, 0) << all;
  EXPECT_EQ(answer, lines.size() - 2);  // the value text follows it, last
  EXPECT_EQ(dialog->logList()->currentRow(), lines.size() - 1);
}

TEST_F(SinglePointDialog, IndexAboveSevenInTheAddressIsWarned) {
  dialog->commandBox()->setCurrentText("SP");
  dialog->indexBox()->setChecked(true);
  dialog->indexInAddressButton()->setChecked(true);
  dialog->indexField()->setText("8");
  runAndWait();
  EXPECT_TRUE(logLines(*dialog).contains("Предупреждение: адрес увеличен более чем на 7!"));
  dialog->indexField()->setText("7");
  runAndWait();
  EXPECT_FALSE(logLines(*dialog).contains("Предупреждение: адрес увеличен более чем на 7!"));
  EXPECT_TRUE(logLines(*dialog).contains("Индекс передается в поле адреса запроса"));
}

TEST_F(SinglePointDialog, UnknownNameIsRefusedAndNotFoundIsTold) {
  dialog->commandBox()->setCurrentText("zz.Q");
  EXPECT_TRUE(dialog->descriptionField()->text().contains("<тип неопределен>"));
  runAndWait();
  ASSERT_FALSE(fixture->prompt.calls().empty());
  EXPECT_EQ(fixture->prompt.calls().back().text, "Параметер 'zz.Q' не описан!");
  dialog->findInTree();  // the first reveal fails
  EXPECT_EQ(fixture->prompt.calls().back().text,
            "Данный параметр не найден!\nВозможно, ошибка в индексе параметра.");
  EXPECT_EQ(fixture->prompt.calls().back().caption, "Сообщение");
  const size_t told = fixture->prompt.calls().size();
  dialog->findInTree();
  EXPECT_EQ(fixture->prompt.calls().size(), told);
}

}  // namespace
}  // namespace zelmot::ui::testing
