#include "exchange/suspension_text.h"

namespace zelmot::exchange {

std::string suspensionText(int failures, bool autoReadingWasOn) {
  std::string text = "Так как прошло " + std::to_string(failures) +
                     " неудачных попыток чтения параметров подряд,\n"
                     "похоже что прибор ZELMOT не подключен к компьютеру\n"
                     "(или связь стабильно отсутствует по какой-либо другой причине). \n"
                     "Ради избежания бессмысленных задержек и торможения компьютера\n";
  if (autoReadingWasOn) {
    text += "режим автоматического чтения параметров был отключен.\n"
            "Вы можете заново включить этот режим в меню 'Вид'.\n\n";
  }
  return text + "Операции обмена приостановлены.";
}

}  // namespace zelmot::exchange
