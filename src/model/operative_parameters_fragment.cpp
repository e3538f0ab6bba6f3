// The list of operative (measured) parameters placed after the parameter table. It is
// fixed: these parameters are the device's live values, not part of any configuration.
#include "model/parameter_list_page.h"

namespace zelmot::model {

namespace {

constexpr const char* kFloatType =
    "4 байта: число с плавающей точкой IEEE 754 (старший байт первым). Если старшие четыре "
    "бита первого байта равны единицам, первый байт &mdash; код состояния: младшие четыре "
    "бита дают код из таблицы состояний измеряемых величин (обрыв, замыкание датчика и т.п.); "
    "код группы вычислительных блоков уточняется четвертым байтом";
constexpr const char* kStepType =
    "1 байт: номер активного шага 0..9 соответствует шагам 1..10; единицы в первых четырех "
    "битах &mdash; признак ошибки";
constexpr const char* kInputsType =
    "4 байта: 32-битная маска дискретных входов, бит на вход (0 &mdash; разомкнут, "
    "1 &mdash; замкнут)";
constexpr const char* kClockType =
    "7 байт: формат, секунды, минуты, часы, день, месяц, год";

struct OperativeRow {
  const char* name;
  const char* hash;
  const char* meaning;
  const char* index;
  const char* type;
  const char* writable;
};

constexpr OperativeRow kRows[] = {
    {"rEAd", "8784", "Значение измерительного входа", "0,1 (по измерительным входам)", kFloatType, "нет"},
    {"r.CAL", "CF57", "Значение вычислительного блока", "0..7 (по вычислительным блокам)", kFloatType, "нет"},
    {"r.Out", "9946", "Значение выходного преобразователя", "0,1 (по выходным преобразователям)", kFloatType, "нет"},
    {"r.StP", "BAAB", "Активный шаг", "0..1 (по объектам)", kStepType, "да"},
    {"Set.P", "33EC", "Значение уставки регулятора", "0..7 (по регуляторам)", kFloatType, "нет"},
    {"r.oe", "E894", "Состояние выходного элемента", "0..? (по выходным элементам)", kFloatType, "да"},
    {"r.Cn", "2D26", "Битовая маска текущего состояния дискретных входов", "нет", kInputsType, "нет"},
    {"rtC", "FA30", "Часы реального времени", "нет", kClockType, "да"},
};

constexpr const char* kHeadings[] = {"№", "Имя", "Hash", "Название (смысл)", "Индекс",
                                     "Тип значения", "Возможность записи"};

std::string buildFragment() {
  std::string html = "<h4>Список оперативных параметров</h4>\n<table border=1 style=\"font-size=12px\">\n<tr>\n";
  for (const char* heading : kHeadings) html += std::string("<td><strong><b>") + heading + "</b></strong></td>\n";
  html += "</tr>\n";
  int number = 0;
  for (const OperativeRow& row : kRows) {
    const std::string cells[] = {std::to_string(++number), row.name, row.hash, row.meaning,
                                 row.index, row.type, row.writable};
    html += "<tr>\n";
    for (const std::string& cell : cells) html += "\t<td>" + cell + "\t</td>\n";
    html += "</tr>\n";
  }
  return html + "</table>";
}

}  // namespace

const std::string& operativeParametersFragment() {
  static const std::string kFragment = buildFragment();
  return kFragment;
}

}  // namespace zelmot::model
