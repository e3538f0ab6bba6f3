#include "exchange/single_point_poll.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "link/device_protocol.h"
#include "model/parameter.h"

namespace zelmot::exchange {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;

class SinglePointTest : public ::testing::Test {
protected:
  SinglePointTest() {
    add("n.Err", "Счетчик ошибок", "DEC_dot");
    add("Mode", "Режим", "Ручной_режим:Авто");
    add("MODE", "Другой", "string");
    link.setNoDeviceExchange(true);  // every transaction succeeds at once, untouched
  }
  void add(const std::string& name, const std::string& caption, const std::string& type) {
    auto parameter = std::make_unique<model::Parameter>();
    parameter->setName(name);
    parameter->setCatalogueCaption(caption);
    parameter->setTypeDescriptor(type);
    catalogue.push_back(std::move(parameter));
  }

  SinglePointPoll::Catalogue catalogue;
  link::DeviceProtocol link;
  SinglePointPoll poll{link, catalogue};
};

TEST_F(SinglePointTest, DescribesCommandsFromTheCatalogue) {
  EXPECT_EQ(poll.describe("n.Err").codeText, "0x233");
  EXPECT_EQ(poll.describe("n.Err").descriptionField, "Счетчик ошибок (DEC_dot)");
  EXPECT_EQ(poll.describe("nothing").descriptionField, " (<тип неопределен>)");
  EXPECT_TRUE(poll.describe("nothing").choices.empty());
  EXPECT_THAT(poll.describe("mode").choices, ElementsAre("Ручной режим", "Авто"));
  EXPECT_THAT(poll.commandNames(), ElementsAre("n.Err", "Mode"));  // MODE repeats Mode
}

TEST_F(SinglePointTest, UndescribedNameIsRefusedBeforeAnyExchange) {
  SinglePointRequest request;
  request.name = "abc";
  const SinglePointOutcome outcome = poll.execute(request);
  EXPECT_FALSE(outcome.described);
  EXPECT_EQ(outcome.refusal, "Параметер 'abc' не описан!");
  EXPECT_TRUE(outcome.log.empty());
}

TEST_F(SinglePointTest, IndexInTheAddressWarnsFromEightOn) {
  SinglePointRequest request;
  request.name = "n.Err";
  request.indexPresent = true;
  request.indexInAddress = true;
  request.indexText = "7";
  auto log = poll.execute(request).log;
  EXPECT_THAT(log, Contains("Индекс передается в поле адреса запроса"));
  EXPECT_THAT(log, Contains("Предупреждение: адрес увеличен более чем на 7!").Times(0));
  request.indexText = "8";
  EXPECT_THAT(poll.execute(request).log, Contains("Предупреждение: адрес увеличен более чем на 7!"));
  request.indexInAddress = false;
  EXPECT_THAT(poll.execute(request).log, Contains("Индекс передается в посылке запроса"));
}

TEST_F(SinglePointTest, WithoutDeviceExchangeAReadReportsTheUnchangedValueAndAWriteTheTypedOne) {
  SinglePointRequest request;
  request.name = "N.ERR";
  const SinglePointOutcome outcome = poll.execute(request);
  ASSERT_TRUE(outcome.described);
  EXPECT_EQ(outcome.result, 0);
  EXPECT_THAT(outcome.log, ElementsAre("n.Err (Счетчик ошибок)",
                                       "Нет ошибок; строковая нотация ответа:", "Нет данных"));
  request.write = true;
  request.value = "5";
  EXPECT_EQ(poll.execute(request).log.back(), "Нет ошибок; записано. Обратно вернулось='5'");
}

}  // namespace
}  // namespace zelmot::exchange
