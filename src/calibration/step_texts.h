#pragma once
// The fixed texts of the calibration step sequence.
#include <string>

namespace zelmot::calibration {

inline constexpr const char* kGoOnText = "\nГотовность подтвердите нажав на кнопку «Продолжить»";
inline constexpr const char* kAllCoefficientsGoodText = "Все коэффициенты вычислены нормально";
inline constexpr const char* kRetryQuestion =
    "Для повтора предыдущей команды нажмите кнопку Да, или можете выйти из процесса юстировки.";
inline constexpr const char* kRetryCaption = "Ошибка юстировки";
inline constexpr const char* kCommitRetryCaption = "Ошибка юстировки (WriteCalibration)";
inline constexpr const char* kRepeatAfterRefusalText = "Для повтора юстировки нажмите кнопку Да";
inline constexpr const char* kPollTimeoutText = "CLB.S: ошибка: таймаут";
inline constexpr const char* kFailedSearchText =
    "Процесс поиска измерения юстировки завершен неудачно: ";
inline constexpr const char* kWrongSizeText =
    "Размер квитанции на команду CLB.G не равер ни 2 ни 5!";
inline constexpr const char* kExitQuestion =
    "Выйти из юстировки?\n(нет - повторить с новым каналом)";
inline constexpr const char* kRepeatQuestion =
    "Попытка юстировки закончилась неудачно; повторить юстировку?";
inline constexpr const char* kRepeatCaption = "Вопрос о повторе калибкровки";
// Shown for a coefficient whose reply carried no value.
inline constexpr const char* kNoValueText = "(нет значения)";

// The first instruction of a run of the type (type 1: the one chosen at set-up).
std::string firstInstruction(int type, const std::string& chosen);
// "Проводится юстировка ..." at the start of a measurement.
std::string runningInstruction(int type, int valve);
std::string finalText(int type);
// The context of a coefficient read in failure messages.
std::string coefficientContext(int type);
// What a failed coefficient check adds, by type.
std::string coefficientInErrorAdvice(int type);

// The result texts of step 1 by type, from the coefficient texts ("%f" each).
std::string coefficientsText(int type, const std::string* values);
std::string coefficientInErrorText(const std::string& value, int type);

// "%f" of a float, independent of the locale: 1.000000.
std::string coefficientText(float value);

}  // namespace zelmot::calibration
