// zelmot-desc: the description compiler. Builds the four description files from the
// readable model source, dumps description files back into source, and checks them.
#include <CLI/CLI.hpp>

#include <iostream>

#include "files_checker.h"
#include "model_builder.h"
#include "model_dumper.h"

namespace {

constexpr int kExitProblems = 2;

int report(const zelmot::desc::SourceErrors& errors) {
  for (const auto& error : errors) std::cerr << zelmot::desc::formatError(error) << "\n";
  return errors.empty() ? 0 : kExitProblems;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Компилятор описания прибора ZELMOT: исходник модели (YAML) <-> файлы описания"};
  app.require_subcommand(1);

  std::string modelDir, outDir, dataDir;
  bool overwrite = false;

  CLI::App* build = app.add_subcommand("build", "Собрать файлы описания из исходника модели");
  build->add_option("MODEL_DIR", modelDir, "Папка исходника модели")->required()->check(CLI::ExistingDirectory);
  build->add_option("OUT_DIR", outDir, "Папка для файлов описания (создается при необходимости)")->required();

  CLI::App* dump = app.add_subcommand("dump", "Записать файлы описания обратно как исходник модели");
  dump->add_option("DATA_DIR", dataDir, "Папка с файлами описания")->required()->check(CLI::ExistingDirectory);
  dump->add_option("MODEL_DIR", modelDir, "Папка для исходника модели")->required();
  dump->add_flag("--force", overwrite, "Заменить существующий исходник в MODEL_DIR");

  CLI::App* check = app.add_subcommand("check", "Проверить файлы описания");
  check->add_option("DATA_DIR", dataDir, "Папка с файлами описания")->required()->check(CLI::ExistingDirectory);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    int code = app.exit(e);
    return code == 0 ? 0 : kExitProblems;
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
