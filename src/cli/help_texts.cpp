#include "cli/help_texts.h"

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

void setRussianHelp(CLI::App& app) {
  // The group first: the help flag is made anew in the default group.
  app.option_defaults()->group("Параметры");
  app.set_help_flag("-h,--help", "Показать эту справку и выйти");
  auto formatter = app.get_formatter();
  formatter->label("Usage", "Запуск");
  formatter->label("OPTIONS", "ПАРАМЕТРЫ");
  formatter->label("SUBCOMMAND", "КОМАНДА");
  formatter->label("SUBCOMMANDS", "КОМАНДЫ");
  formatter->label("Positionals", "Аргументы");
  formatter->label("REQUIRED", "(обязательно)");
  formatter->label("Needs", "Требует");
  formatter->label("Excludes", "Исключает");
}

std::string parseErrorText(const CLI::Error& error) {
  std::string text = "неверная командная строка";
  for (const ErrorName& known : kErrorTexts) {
    if (error.get_name() == known.name) text = known.text;
  }
  return "zelmot-cli: " + text + " (" + error.what() + ")\nСправка: zelmot-cli --help\n";
}

}  // namespace zelmot::cli
