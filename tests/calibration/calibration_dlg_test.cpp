// The calibration set-up: lists and texts, the device's current sensor type, the access
// codes with the program-wide wrong-code counter, and the sensor-type write.
#include <gtest/gtest.h>

#include "calibration/calibration_dlg.h"
#include "calibration/setup_texts.h"
#include "fake_calibration_device.h"
#include "support/recording_prompt.h"

namespace zelmot::calibration::testing {
namespace {

using test_support::RecordingPrompt;

std::string code(int type) { return std::to_string(accessCode(type)); }

struct SetupFixture {
  FakeCalibrationDevice device;
  RecordingPrompt prompt{PromptAnswer::No};
  WrongCodeCounter wrongCodes;
  CCalibrationDlg dlg{device, prompt, wrongCodes};
};

TEST(CalibrationSetup, TypeListTextsAndControls) {
  EXPECT_STREQ(typeEntry(0), "Не выбран");
  EXPECT_STREQ(typeEntry(4), "Юстировкa \"тип 4\"") << "Latin a";
  EXPECT_STRNE(typeEntry(4), "Юстировка \"тип 4\"");
  EXPECT_STREQ(typeDescription(1), "Юстировка НСХ преобразования");
  EXPECT_EQ(sensorEntries(1).size(), 25u);
  EXPECT_EQ(sensorEntries(2).size(), 11u);
  EXPECT_EQ(sensorEntries(4).size(), 4u);
  EXPECT_TRUE(sensorEntries(3).empty());
  EXPECT_STREQ(sensorEntries(1)[7].text, "Термопара TПП (S)  '17' ");
  EXPECT_EQ(inputEntry(7), "Вход №8");
  EXPECT_NE(instructionText(2).find("53,000 Ом"), std::string::npos);
  EXPECT_NE(instructionText(8).find("активных датчиков 0…5 мА"), std::string::npos);
  EXPECT_NE(instructionText(8).find("5,00 мА"), std::string::npos);

  SetupFixture s;
  EXPECT_FALSE(s.dlg.codeEnabled());
  EXPECT_EQ(s.dlg.selectType(3), SetupResult::Stays);
  EXPECT_TRUE(s.dlg.codeEnabled());
  EXPECT_FALSE(s.dlg.sensorListShown());
  EXPECT_EQ(s.device.reads, 0) << "type 3 needs no sensor type";
  EXPECT_EQ(s.dlg.selectType(4), SetupResult::Stays);
  EXPECT_TRUE(s.dlg.inputListShown());
  EXPECT_EQ(s.dlg.inputList().size(), 8u);
}

TEST(CalibrationSetup, UnknownValueIsReadThenMatched) {
  SetupFixture s;
  s.device.onDevice[0] = "Код 17";  // index 18: thermocouple S
  EXPECT_EQ(s.dlg.selectType(1), SetupResult::Stays);
  EXPECT_EQ(s.device.reads, 1) << "\"Нет данных\" is read from the device first";
  EXPECT_EQ(s.dlg.sensorSelection(), 7);
  EXPECT_EQ(s.dlg.selectType(2), SetupResult::Stays);
  EXPECT_EQ(s.device.reads, 1) << "a known value is not read again";
  EXPECT_EQ(s.dlg.sensorSelection(), 6);
}

TEST(CalibrationSetup, StrangeAnswerAsksAndRetryReadsAgain) {
  SetupFixture s;
  s.device.shown[0] = "Что-то иное";
  s.device.onDevice[0] = "Тоже иное";
  s.prompt.scriptAnswers({PromptAnswer::Yes, PromptAnswer::No});
  EXPECT_EQ(s.dlg.selectType(1), SetupResult::Cancelled);
  const auto calls = s.prompt.calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].text,
            "Странный ответ на \"in-t\": 'Что-то иное'\nДля повтора предыдущей команды нажмите "
            "кнопку Да, или можете выйти из процесса юстировки.");
  EXPECT_EQ(calls[0].caption, "Проблема обмена с прибором");
  EXPECT_NE(calls[1].text.find("'Тоже иное'"), std::string::npos) << "the retry read the device again";
  EXPECT_EQ(s.device.reads, 1);
}

TEST(CalibrationSetup, ReadFailureShowsTheParameterErrorText) {
  SetupFixture s;
  s.device.readFailures = {"Таймаут при передаче данных (нет связи)"};
  s.prompt.scriptAnswers({PromptAnswer::Yes});
  EXPECT_EQ(s.dlg.selectType(4), SetupResult::Stays);
  ASSERT_EQ(s.prompt.count(), 1u);
  EXPECT_EQ(s.prompt.calls()[0].text.rfind("Таймаут при передаче данных (нет связи)Для повтора", 0), 0u);
  EXPECT_EQ(s.dlg.sensorSelection(), -1) << "'01' is no position sensor";
  EXPECT_EQ(s.dlg.inputSelection(), 0);
}

TEST(CalibrationSetup, PositionSensorIndex27PreselectsTheZeroTo20Entry) {
  SetupFixture s;
  s.device.onDevice[5] = s.device.names[27];
  s.dlg.selectType(4);
  EXPECT_EQ(s.dlg.selectInput(5), SetupResult::Stays);
  EXPECT_EQ(s.dlg.sensorSelection(), 1);
  s.dlg.selectSensor(2);  // 4…20 мА writes the same index
  s.dlg.setCodeText(code(4));
  EXPECT_EQ(s.dlg.pressContinue(), SetupResult::Accepted);
  EXPECT_EQ(s.device.sent, (std::vector<std::string>{"in-t 27 -> 5"}));
  EXPECT_EQ(s.dlg.stepParameters().input, 5);
  EXPECT_EQ(s.dlg.stepParameters().type, 4);
}

TEST(CalibrationSetup, EveryFourthWrongCodeInARowCloses) {
  SetupFixture s;
  s.dlg.selectType(3);
  s.dlg.setCodeText("1");
  for (int i = 0; i < 3; ++i) EXPECT_EQ(s.dlg.pressContinue(), SetupResult::Stays) << i;
  EXPECT_EQ(s.dlg.pressContinue(), SetupResult::Cancelled);
  EXPECT_EQ(s.prompt.messages().size(), 4u);
  EXPECT_EQ(s.prompt.calls()[0].text, "Неправильно введен код");
  EXPECT_EQ(s.prompt.calls()[0].caption, "Ошибка");

  // The count belongs to the program: a new dialog goes on from it, a right code resets it.
  CCalibrationDlg second(s.device, s.prompt, s.wrongCodes);
  second.selectType(3);
  second.setCodeText("1");
  EXPECT_EQ(second.pressContinue(), SetupResult::Stays);
  EXPECT_EQ(second.pressContinue(), SetupResult::Stays);
  second.setCodeText(code(3));
  EXPECT_EQ(second.pressContinue(), SetupResult::Accepted);
  EXPECT_EQ(s.wrongCodes.count(), 0);
  EXPECT_TRUE(s.device.sent.empty()) << "type 3 writes nothing";
}

TEST(CalibrationSetup, TypedCodesAreReadLikeDecimalNumbers) {
  EXPECT_EQ(typedCodeValue("  0123abc"), 123);
  EXPECT_EQ(typedCodeValue("+42"), 42);
  EXPECT_EQ(typedCodeValue("-7"), -7);
  EXPECT_EQ(typedCodeValue("abc"), 0);
  EXPECT_EQ(typedCodeValue(""), 0);
  EXPECT_GT(typedCodeValue(std::string(400, '9')), 0) << "no overflow";
  EXPECT_EQ(typedCodeValue(std::string(256, ' ') + "5"), 0) << "only 256 characters are read";
  for (int type = 1; type <= 4; ++type) {
    EXPECT_GE(accessCode(type), 100);
    EXPECT_LE(accessCode(type), 999);
    EXPECT_TRUE(codeMatches(type, "  0" + code(type) + "xyz"));
    for (int other = type + 1; other <= 4; ++other) EXPECT_NE(accessCode(type), accessCode(other));
  }
  EXPECT_FALSE(codeMatches(0, "0"));
}

TEST(CalibrationSetup, ContinueRules) {
  SetupFixture s;
  EXPECT_EQ(s.dlg.pressContinue(), SetupResult::Stays);
  EXPECT_EQ(s.prompt.calls().back().text, "Выбертие тип юстировки для прохода в следующее меню.");
  s.device.onDevice[0] = "Датчик отключен";
  s.dlg.selectType(1);
  s.dlg.setCodeText(code(1));
  EXPECT_EQ(s.dlg.pressContinue(), SetupResult::Stays) << "no sensor chosen";
  s.dlg.selectSensor(20);  // Ток 4…20 мА, index 11, I7
  EXPECT_EQ(s.dlg.pressContinue(), SetupResult::Accepted);
  EXPECT_EQ(s.device.sent, (std::vector<std::string>{"in-t 11 -> 0"}));
  EXPECT_EQ(s.dlg.stepParameters().instruction, instructionText(7));
}

TEST(CalibrationSetup, WriteFailureAsksAndNoGivesUp) {
  SetupFixture s;
  s.dlg.selectType(2);
  s.dlg.selectSensor(0);
  s.dlg.setCodeText(code(2));
  s.device.writeFailures = {"Ошибка при чтении ЕЕПРОМ", "Ошибка при чтении ЕЕПРОМ"};
  s.prompt.scriptAnswers({PromptAnswer::Yes, PromptAnswer::No});
  EXPECT_EQ(s.dlg.pressContinue(), SetupResult::Cancelled);
  EXPECT_EQ(s.device.sent.size(), 2u);
  const auto calls = s.prompt.calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].text,
            "Ошибка при чтении ЕЕПРОМ\nДля повтора предыдущей команды нажмите кнопку Да, или "
            "можете выйти из процесса юстирвки.");
  EXPECT_EQ(calls[0].caption, "Ошибка обмена с прибором (запись)");
}

}  // namespace
}  // namespace zelmot::calibration::testing
