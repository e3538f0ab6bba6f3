#pragma once
// The help and the messages of a command line in Russian, like the device's own texts;
// option names stay as they are. Header-only (CLI11 alone), shared by zelmot-cli and the
// tools.
#include <CLI/CLI.hpp>

#include <iostream>
#include <string>

namespace zelmot::tools {

// Call before any option is added, so that every option lands in the Russian group (the
// help flag is made anew in the default group).
inline void useRussianLabels(CLI::App& app) {
  app.option_defaults()->group("Параметры");
  app.set_help_flag("-h,--help", "Показать эту справку и выйти");
  const auto formatter = app.get_formatter();
  formatter->label("Usage", "Запуск");
  formatter->label("OPTIONS", "ПАРАМЕТРЫ");
  formatter->label("SUBCOMMAND", "КОМАНДА");
  formatter->label("SUBCOMMANDS", "КОМАНДЫ");
  formatter->label("Positionals", "Аргументы");
  formatter->label("REQUIRED", "(обязательно)");
  formatter->label("Excludes", "Несовместим с");
  formatter->label("Needs", "Требует");
  // TEXT and INT stay Latin: the help lines up its columns by bytes, not letters.
}

inline void useRussianTexts(CLI::App& app, const std::string& version) {
  useRussianLabels(app);
  app.set_version_flag("--version", version, "Показать версию программы и выйти");
}

// Help and version go to standard output with status 0; a parse error is told on
// standard error with a pointer to the help, with `usageExit`.
inline int finishParse(const CLI::App& app, const CLI::ParseError& error, int usageExit) {
  if (error.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) return app.exit(error);
  std::cerr << app.get_name() << ": ошибка в командной строке: " << error.what() << '\n'
            << "Справка: " << app.get_name() << " --help\n";
  return usageExit;
}

}  // namespace zelmot::tools
