// zelmot-cli: the configurator's jobs from a terminal or a script.
#include <CLI/CLI.hpp>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/termination_watch.h"
#include "platform/version.h"
#include "cli/cancel_relay.h"
#include "cli/command_set.h"
#include "cli/device_line.h"
#include "cli/exit_codes.h"
#include "cli/help_texts.h"
#include "cli/session.h"

namespace {

using namespace zelmot::cli;

constexpr const char* kProgramDescription =
    "Конфигуратор прибора ZELMOT без дисплея: чтение, запись и сравнение конфигурации, "
    "отдельные параметры, файлы конфигурации.\n"
    "Коды завершения: 0 успешно; 1 выполнено, но есть ошибки или отличия; 2 неверный вызов, "
    "файл не читается или неверен; 3 нет связи с прибором.\n"
    "Порт: --port, иначе порт из настроек программы; без порта команды обмена не выполняются.";

// Texts of the operating system in Russian where the C library has them. Only messages and
// character classes change: numbers keep their decimal point.
void useRussianSystemMessages() {
  if (std::setlocale(LC_CTYPE, "") == nullptr || std::strcmp(std::setlocale(LC_CTYPE, nullptr), "C") == 0) {
    std::setlocale(LC_CTYPE, "C.UTF-8");
  }
  if (std::setlocale(LC_MESSAGES, "ru_RU.UTF-8") == nullptr) std::setlocale(LC_MESSAGES, "C.UTF-8");
  // The C library takes the language from LANGUAGE when the locale itself is not Russian.
  ::setenv("LANGUAGE", "ru", 1);
}

void addConnectionOptions(CLI::App& app, ConnectionOptions& options) {
  app.add_option("--port", options.port, "Последовательный порт: путь к устройству или COMn");
  app.add_option("--baud", options.baud, "Скорость обмена, бит/с");
  app.add_option("--parity", options.parity, "Контроль четности: none, even, odd")
      ->check(CLI::IsMember({"none", "even", "odd"}));
  app.add_option("--data-bits", options.dataBits, "Число бит данных: 7 или 8")
      ->check(CLI::IsMember({7, 8}));
  app.add_option("--stop-bits", options.stopBits, "Число стоповых бит: 1 или 2")
      ->check(CLI::IsMember({1, 2}));
  app.add_option("--address", options.address, "Базовый адрес прибора")->check(CLI::Range(0, 2047));
  app.add_option("--address-length", options.addressLength, "Длина адреса в битах: 8 или 11")
      ->check(CLI::IsMember({8, 11}));
  app.add_option("--converter", options.converter,
                 "Преобразователь интерфейса: auto (автоматический) или rts (полуавтоматический)")
      ->check(CLI::IsMember({"auto", "rts"}));
  app.add_flag("--no-attributes", options.noAttributes, "Не передавать атрибуты защиты");
  app.add_option("--elog", options.elog, "Файл протокола ошибок обмена");
  app.add_option("--data-dir", options.dataDir, "Папка файлов описания прибора");
  app.add_flag("--trace", options.trace, "Показывать каждую посылку и ответ");
  auto* quiet = app.add_flag("-q,--quiet", options.quiet, "Выводить только ошибки");
  app.add_flag("-v,--verbose", options.verbose,
               "Выводить строки протокола выполнения задания и байты обмена")
      ->excludes(quiet);
}

// Starts what the command needs; 0, or the exit status of the failure (already printed).
int prepare(const CommandSet::Entry& command, Session& session) {
  if (command.needs == CommandNeeds::Nothing) return kExitOk;
  std::string error;
  if (!session.start(error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return kExitUsage;
  }
  return command.needs == CommandNeeds::Device ? prepareDeviceLine(session) : kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
  useRussianSystemMessages();
  CancelRelay cancel;
  // Before any other thread exists, so that every thread inherits the blocked signals.
  zelmot::app::TerminationWatch signals;
  signals.start([&cancel] { cancel.fire(); });

  CLI::App app{kProgramDescription, "zelmot-cli"};
  setRussianHelp(app);
  app.set_version_flag("--version", "zelmot-cli " + zelmot::programVersion(),
                       "Показать версию программы и выйти");
  app.require_subcommand(1);
  ConnectionOptions connection;
  addConnectionOptions(app, connection);
  CommandSet commands(app);
  addAllCommands(commands);

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& help) {
    return app.exit(help);
  } catch (const CLI::CallForVersion& version) {
    return app.exit(version);
  } catch (const CLI::ParseError& error) {
    std::fputs(parseErrorText(error).c_str(), stderr);
    return kExitUsage;
  }
  const CommandSet::Entry* command = commands.chosen();
  if (command == nullptr) return kExitUsage;
  Session session(connection, cancel);
  const int prepared = prepare(*command, session);
  return prepared != kExitOk ? prepared : command->runner(session);
}
