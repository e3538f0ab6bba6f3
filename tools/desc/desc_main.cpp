// zelmot-desc: the description compiler. Builds the four description files from the
// readable model source, dumps description files back into source, and checks them.
#include <CLI/CLI.hpp>

#include <clocale>
#include <iostream>

#include "files_checker.h"
#include "model_builder.h"
#include "model_dumper.h"
#include "russian_command_line.h"

namespace {

constexpr int kExitProblems = 2;

int report(const zelmot::desc::SourceErrors& errors) {
  for (const auto& error : errors) std::cerr << zelmot::desc::formatError(error) << "\n";
  return errors.empty() ? 0 : kExitProblems;
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");  // the C library's error texts in the user's language
  CLI::App app{"Компилятор описания прибора ZELMOT: исходник модели (YAML) <-> файлы описания",
               "zelmot-desc"};
  zelmot::tools::useRussianTexts(app, "zelmot-desc " ZELMOT_VERSION);
  app.require_subcommand(1);
  // Without its English name in the help: the argument is already called a folder there.
  const CLI::Validator existingFolder = CLI::Validator(CLI::ExistingDirectory).description("");

  std::string modelDir, outDir, dataDir;
  bool overwrite = false;

  CLI::App* build = app.add_subcommand("build", "Собрать файлы описания из исходника модели");
  build->add_option("MODEL_DIR", modelDir, "Папка исходника модели")->required()->check(existingFolder);
  build->add_option("OUT_DIR", outDir, "Папка для файлов описания (создается при необходимости)")->required();

  CLI::App* dump = app.add_subcommand("dump", "Записать файлы описания обратно как исходник модели");
  dump->add_option("DATA_DIR", dataDir, "Папка с файлами описания")->required()->check(existingFolder);
  dump->add_option("MODEL_DIR", modelDir, "Папка для исходника модели")->required();
  dump->add_flag("--force", overwrite, "Заменить существующий исходник в MODEL_DIR");

  CLI::App* check = app.add_subcommand("check", "Проверить файлы описания");
  check->add_option("DATA_DIR", dataDir, "Папка с файлами описания")->required()->check(existingFolder);

  for (CLI::App* command : {build, dump, check}) {
    command->group("Команды");
    command->get_help_ptr()->group("Параметры");
    for (CLI::Option* option : command->get_options()) {
      if (option->get_positional()) option->type_name("ПАПКА");
    }
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return zelmot::tools::finishParse(app, e, kExitProblems);
  }

  zelmot::desc::SourceErrors errors;
  if (*build) {
    zelmot::desc::buildModel(modelDir, outDir, errors);
    return report(errors);
  }
  if (*dump) {
    zelmot::desc::dumpModel(dataDir, modelDir, overwrite, errors);
    return report(errors);
  }
  std::vector<std::string> messages = zelmot::desc::checkDataDir(dataDir);
  for (const auto& message : messages) std::cout << message << "\n";
  if (messages.empty()) std::cout << "Файлы описания в порядке\n";
  return messages.empty() ? 0 : kExitProblems;
}
