#include "model/status_codes.h"

#include <array>

namespace zelmot::model {

namespace {

constexpr std::array<const char*, 14> kComputingBlockErrors = {
    "Неверное количество входов",
    "Отключен вход вычислителя",
    "Отключен датчик, используемый вычислителем",
    "Несоответствуют датчик и вычислитель",
    "Отключен фильтр, используемый вычислителем",
    "Недопустимый формат данных фильтра RS485",
    "Мала температура сухого термометра",
    "Велика температура сухого термометра",
    "Мала температура влажного термометра",
    "Велика температура влажного термометра",
    "Вычислитель отключен",
    "На входе вычислителя корня отрицательное число",
    "Неверно задан индекс датчика",
    "Неверно задан индекс сетевого фильтра",
};

}  // namespace

std::string measuredStatusText(uint8_t code, bool isSetPoint) {
  switch (code) {
    case 240: return "Вычисленное значение заведомо неверно.";
    case 241:
    case 242:
    case 243:
    case 244: return "Не могу преобразовать коэффициенты.";
    case 246: return "Данные не готовы.";
    case 247: return "Датчик отключен.";
    case 248: return "Велика температура свободных концов ТП.";
    case 249: return "Мала температура свободных концов ТП.";
    case 250:
      return isSetPoint ? "У регулятора отсутствует уставка или регулятор не работает."
                        : "Вычисленное значение слишком велико.";
    case 251:
      return isSetPoint ? "У регулятора уставка типа “Мощность”."
                        : "Вычисленное значение слишком мало.";
    case 252: return "Короткое замыкание";
    case 253: return "Обрыв датчика.";
    case 254: return "Отсутствие связи с АЦП.";
    case 255: return "Некорректный калибровочный коэффициент.";
    default: return "";  // 245 needs the sub-code; the caller handles it
  }
}

std::string stateStatusText(uint8_t code) {
  if (code >= 241 && code <= 246) return "Не могу преобразовать коэффициенты .";
  switch (code) {
    case 240: return "Вычисленное значение заведомо неверно.";
    case 247: return "Датчик отключен.";
    case 248: return "Велика температура холодного спая.";
    case 249: return "Мала температура холодного спая.";
    case 250: return "Вычисленное значение слишком велико.";
    case 251: return "Вычисленное значение слишком мало.";
    case 252: return "Короткое замыкание";
    case 253: return "Обрыв датчика.";
    case 254: return "Отсутствие связи с АЦП.";
    case 255: return "Некорректный юстировочный коэффициент.";
    default: return "";
  }
}

std::string computingBlockErrorText(uint8_t subCode) {
  return subCode < kComputingBlockErrors.size() ? kComputingBlockErrors[subCode] : "";
}

}  // namespace zelmot::model
