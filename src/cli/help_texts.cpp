#include "cli/help_texts.h"

#include "cli/russian_command_line.h"

namespace zelmot::cli {
namespace {

struct ErrorName {
  const char* name;
  const char* text;
};

constexpr ErrorName kErrorTexts[] = {
    {"RequiredError", "не задан обязательный аргумент или команда"},
    {"ExtrasError", "лишние аргументы"},
    {"ValidationError", "недопустимое значение"},
    {"ConversionError", "значение не является числом нужного вида"},
    {"ExcludesError", "эти параметры нельзя задавать вместе"},
    {"ArgumentMismatch", "неверное число значений"},
    {"HorribleError", "неверная командная строка"},
};

}  // namespace

void setRussianHelp(CLI::App& app) { tools::useRussianLabels(app); }

std::string parseErrorText(const CLI::Error& error) {
  std::string text = "неверная командная строка";
  for (const ErrorName& known : kErrorTexts) {
    if (error.get_name() == known.name) text = known.text;
  }
  return "zelmot-cli: " + text + " (" + error.what() + ")\nСправка: zelmot-cli --help\n";
}

}  // namespace zelmot::cli
