#include "calibration/step_texts.h"

#include <charconv>

namespace zelmot::calibration {

std::string firstInstruction(int type, const std::string& chosen) {
  switch (type) {
    case 2:
      return "Для проведения юстировки характеристики датчика температуры свободных концов "
             "термопар подключите к контактам «Вход 1» термопару выбранного типа. Рабочий спай "
             "термопары опустите в сосуд с льдо-водяной смесью (температура 0,0°С). После "
             "установления термостатического режима (примерно 20 мин.) подтвердите готовность к "
             "выполнению операции нажав на кнопку «Продолжить»";
    case 3:
      return "Для подготовки прибора к комплексной юстировке подключите к контактам «Вход 1» и "
             "«Вход 2» калибратор. Готовность к выполнению операции подтвердите нажав на кнопку "
             "«Продолжить»";
    case 4:
      return "Установите запорно-регулирующий клапан (задвижку) в положение ЗАКРЫТО и "
             "подтвердите готовность к проведению юстировки датчика в этом состоянии нажав на "
             "кнопку «Продолжить»";
    default: return chosen;
  }
}

std::string runningInstruction(int type, int valve) {
  if (type == 4) {
    return valve == 0 ? "Проводится юстировка датчика положения в закрытом положении"
                      : "Проводится юстировка датчика положения в открытом положении";
  }
  return "Проводится юстировка Тип " + std::to_string(type) + " ";
}

std::string finalText(int type) {
  if (type == 3) return "Комплексная юстировка НСХ преобразования завершена. ";
  if (type == 4) {
    return "Аналогичным образом произведите юстировку датчиков положения, подключенных к другим "
           "каналам (если такие имеются). ";
  }
  return "Юстировка НСХ преобразования успешно завершена. ";
}

std::string coefficientContext(int type) {
  if (type == 4) return "Тип №4. Определение значения коэф-та";
  return "(Тип №" + std::to_string(type) + ". Определение значения коэф-та)";
}

std::string coefficientInErrorAdvice(int type) {
  if (type == 2) {
    return "Возможные причны:\n  1) Подключенная термопара не соответствует заданному типу "
           "датчика;\n  2) Температура воздуха окружающего модуль (прибор) не соответствует "
           "условиям юстировки (15..30C)\n";
  }
  return "Проверьте величину сигнала на контактах.Вход 1, а также правильность подключения "
         "источника сигналов. После устранения замечаний юстировку повторите.";
}

std::string coefficientInErrorText(const std::string& value, int type) {
  return "Значение ошибочного коэффициента:  " + value + " \n" + kGoOnText + "\n\n" +
         "Коэффициент юстировки не соответствует заданным требованиям. " +
         coefficientInErrorAdvice(type);
}

std::string coefficientsText(int type, const std::string* v) {
  switch (type) {
    case 2:
      return std::string("Значение первого коэффициента:  ") + v[0] + " \n Значение второго "
             "коэффициента:  " + v[1] + "\n\n" + kGoOnText + "\n\n" + kAllCoefficientsGoodText;
    case 3:
      return "Значение первого коэффициента:\n  K1= " + v[0] +
             "\n\nЗначение второго коэффициента:\n  K2= " + v[1] +
             "\n\nЗначение третьего коэффициента:\n  K3= " + v[2] +
             "\n\nЗначение четвертого коэффициента:\n  K4= " + v[3] + "\n\n\n" + kGoOnText +
             "\n\n" + kAllCoefficientsGoodText;
    case 4: return "Значение коэффициента:  " + v[0] + " " + kGoOnText + "\n";
    default:
      return "Значение коэффициента:  " + v[0] + " " + kGoOnText + "\n\n" +
             kAllCoefficientsGoodText;
  }
}

std::string coefficientText(float value) {
  char buffer[64];
  const auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
  if (error != std::errc()) return kNoValueText;
  return std::string(buffer, end);
}

}  // namespace zelmot::calibration
