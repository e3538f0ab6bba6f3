// parlist and dbf export|import: the parameter list page and the parameter table, from the
// description files and configuration files, without the device.
#include <cstdio>
#include <memory>

#include "app/parameter_list_export.h"
#include "cli/command_set.h"
#include "cli/exit_codes.h"
#include "cli/help_texts.h"
#include "cli/output_path.h"
#include "document/parameter_table.h"

namespace zelmot::cli {
namespace {

struct ParlistArgs {
  std::string output;
};

struct DbfExportArgs {
  std::string configuration;
  std::string output;
};

struct DbfImportArgs {
  std::string table;
  std::string configuration;
  std::string output;  // empty: the configuration itself
};

int refuse(const std::string& message) {
  std::fprintf(stderr, "%s\n", message.c_str());
  return kExitUsage;
}

// The file is checked before any work, so a job never ends at a path it cannot write.
bool writable(const std::string& path) {
  const std::string refusal = unwritableOutputText(path);
  if (!refusal.empty()) refuse(refusal);
  return refusal.empty();
}

int runParlist(Session& session, const ParlistArgs& args) {
  const std::string path =
      args.output.empty() ? app::defaultParameterListPath().string() : args.output;
  const app::PageResult written = app::writeParameterList(session.doc().root(), path);
  if (!written.ok) return refuse(written.message);
  printNote(session, path);
  return kExitOk;
}

int runDbfExport(Session& session, const DbfExportArgs& args) {
  if (!writable(args.output) || !openConfiguration(session, args.configuration)) return kExitUsage;
  const document::TableResult written =
      document::exportParameterTable(*session.doc().root(), args.output);
  if (!written.ok) return refuse(written.message);
  printNote(session, "Записей в таблице: " + std::to_string(written.records) + " (" + args.output + ")");
  return kExitOk;
}

int runDbfImport(Session& session, const DbfImportArgs& args) {
  const std::string output = args.output.empty() ? args.configuration : args.output;
  if (!writable(output) || !openConfiguration(session, args.configuration)) return kExitUsage;
  const document::ImportResult imported =
      document::importParameterTable(*session.doc().root(), args.table);
  if (!imported.table.ok) return refuse(imported.table.message);
  const document::FileResult saved = session.doc().save(output);
  if (!saved.ok) return refuse(saved.message);
  if (!imported.missing.empty()) {
    std::printf("%s\n", document::missingParametersText(imported.missing).c_str());
  }
  printNote(session, "Прочитано записей: " + std::to_string(imported.table.records) +
                         ", параметров без записи: " + std::to_string(imported.missingCount) +
                         " (" + output + ")");
  return imported.missingCount == 0 ? kExitOk : kExitFailures;
}

void addParlistCommand(CommandSet& set) {
  auto args = std::make_shared<ParlistArgs>();
  CLI::App* parlist = set.add("parlist", "Записать список параметров прибора в HTML",
                              CommandNeeds::Description,
                              [args](Session& session) { return runParlist(session, *args); });
  parlist->add_option("-o,--output", args->output,
                      "Файл HTML (по умолчанию temp/parlist.html в папке программы)");
}

struct DbfArgs {
  DbfExportArgs exporting;
  DbfImportArgs importing;
  CLI::App* exportCommand = nullptr;
};

CLI::App* addDbfSubcommand(CLI::App& dbf, const std::string& name, const std::string& description) {
  CLI::App* command = dbf.add_subcommand(name, description);
  setRussianHelp(*command);
  return command;
}

void addDbfCommands(CommandSet& set) {
  auto args = std::make_shared<DbfArgs>();
  CLI::App* dbf = set.add("dbf", "Таблица параметров в формате DBase-III", CommandNeeds::Description,
                          [args](Session& session) {
                            return args->exportCommand->parsed() ? runDbfExport(session, args->exporting)
                                                                 : runDbfImport(session, args->importing);
                          });
  dbf->require_subcommand(1);

  CLI::App* exporting = addDbfSubcommand(*dbf, "export", document::kDbfExportStatusText);
  exporting->add_option("configuration", args->exporting.configuration, "Файл конфигурации")->required();
  exporting->add_option("-o,--output", args->exporting.output, "Файл таблицы (.dbf)")->required();
  args->exportCommand = exporting;

  CLI::App* importing = addDbfSubcommand(*dbf, "import", "Взять значения параметров из таблицы DBase-III");
  importing->add_option("table", args->importing.table, "Файл таблицы (.dbf)")->required();
  importing->add_option("--into", args->importing.configuration, "Файл конфигурации")->required();
  importing->add_option("-o,--output", args->importing.output,
                        "Куда сохранить (по умолчанию в тот же файл конфигурации)");
}

}  // namespace

void addTableCommands(CommandSet& set) {
  addParlistCommand(set);
  addDbfCommands(set);
}

}  // namespace zelmot::cli
