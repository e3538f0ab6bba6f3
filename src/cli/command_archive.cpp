// archive list | pack | unpack | clean: the measurement archive of the program's home,
// without the device. Further archive commands add themselves to the same group.
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

#include "app/startup.h"
#include "archive/archive_cleanup.h"
#include "archive/archive_listing.h"
#include "archive/archive_names.h"
#include "archive/archive_packing.h"
#include "archive/local_clock.h"
#include "cli/command_set.h"
#include "cli/exit_codes.h"
#include "platform/ascii_text.h"
#include "platform/paths.h"

namespace zelmot::cli {
namespace {

namespace fs = std::filesystem;

struct UnpackArgs {
  std::string day;
  std::string folder;
};

struct CleanArgs {
  std::string until;
  bool yes = false;
};

fs::path protocolDir() { return programHomeDir() / app::kProtocolFolder; }

int runList() {
  const archive::ArchiveListing listing = archive::listArchive(protocolDir());
  std::printf("Суточные протоколы:\n");
  for (const archive::StreamEntry& log : listing.logs) {
    std::printf("  %s\t%llu\n", log.name.c_str(), static_cast<unsigned long long>(log.size));
  }
  std::printf("Месячные архивы:\n");
  for (const archive::MonthlyFileEntry& file : listing.monthly) {
    std::printf("  %s\t%llu", file.name.c_str(), static_cast<unsigned long long>(file.size));
    if (file.status != archive::MonthlyStatus::Ok) {
      std::printf("\t(%s)", archive::monthlyStatusText(file.status).c_str());
    }
    std::printf("\n");
    for (const archive::StreamEntry& day : file.streams) {
      std::printf("    %s\t%llu\n", day.name.c_str(), static_cast<unsigned long long>(day.size));
    }
  }
  return kExitOk;
}

void printPackResult(const std::string& log, const archive::PackResult& result) {
  if (!result.movedAside.empty()) {
    std::fprintf(stderr, "Файл %s не является архивом и переименован в %s\n",
                 result.monthlyFile.filename().c_str(), result.movedAside.filename().c_str());
  }
  if (result.status == archive::MonthlyStatus::Ok) {
    std::printf("%s -> %s\n", log.c_str(), result.monthlyFile.filename().c_str());
  } else {
    std::fprintf(stderr, "%s: %s\n", log.c_str(), archive::monthlyStatusText(result.status).c_str());
  }
}

// Every daily log except today's, as the rotation packs them.
int runPack() {
  const fs::path dir = protocolDir();
  const std::string today = archive::dailyLogName(archive::SystemLocalClock().now());
  int status = kExitOk;
  for (const std::string& log : archive::dailyLogsIn(dir)) {
    if (equalsIgnoreCase(log, today)) continue;
    const archive::PackResult result = archive::packDailyLog(dir, log);
    printPackResult(log, result);
    if (result.status != archive::MonthlyStatus::Ok) status = kExitFailures;
  }
  return status;
}

int runUnpack(const UnpackArgs& args) {
  const std::optional<archive::DayDate> day = archive::parseDayName(args.day);
  if (!day) {
    std::fprintf(stderr, "Неверная дата (нужно ДД-ММ-ГГГГ): %s\n", args.day.c_str());
    return kExitUsage;
  }
  const std::string stream = archive::dailyLogName(*day);
  const fs::path monthly = protocolDir() / archive::monthlyFileNameOfLog(stream);
  const archive::UnpackResult result = archive::unpackStream(monthly, stream, args.folder);
  if (result.status != archive::MonthlyStatus::Ok) {
    std::fprintf(stderr, "%s (%s): %s\n", stream.c_str(), monthly.c_str(),
                 archive::monthlyStatusText(result.status).c_str());
    if (fs::exists(protocolDir() / stream)) {
      std::fprintf(stderr, "День еще не упакован: %s\n", (protocolDir() / stream).c_str());
    }
    return kExitFailures;
  }
  std::printf("%s\n", result.file.c_str());
  return kExitOk;
}

// On a terminal the user confirms; elsewhere only --yes deletes.
bool confirmed(const std::vector<std::string>& files) {
  if (!::isatty(STDIN_FILENO)) {
    std::fprintf(stderr, "Для удаления без терминала укажите --yes\n");
    return false;
  }
  std::printf("Будут удалены файлы:\n");
  for (const std::string& file : files) std::printf("  %s\n", file.c_str());
  std::printf("Удалить? [y/N] ");
  std::fflush(stdout);
  std::string answer;
  std::getline(std::cin, answer);
  return equalsIgnoreCase(answer, "y") || equalsIgnoreCase(answer, "yes") ||
         equalsIgnoreCase(answer, "д") || equalsIgnoreCase(answer, "да");
}

int runClean(const CleanArgs& args) {
  const std::optional<archive::MonthDate> month = archive::parseMonthName(args.until);
  if (!month) {
    std::fprintf(stderr, "Неверный месяц (нужно ММ-ГГГГ): %s\n", args.until.c_str());
    return kExitUsage;
  }
  const fs::path dir = protocolDir();
  const std::vector<std::string> files = archive::monthlyFilesUpTo(dir, month->month, month->year);
  if (!files.empty() && !args.yes && !confirmed(files)) return kExitUsage;
  const int deleted = files.empty() ? 0 : archive::deleteMonthlyFilesUpTo(dir, month->month, month->year);
  std::printf("%s\n", archive::deletedCountText(deleted).c_str());
  return kExitOk;
}

}  // namespace

CLI::App* archiveCommandGroup(CommandSet& set) {
  return set.group("archive", "Архив измерений: список, упаковка, распаковка, очистка");
}

void addArchiveCommands(CommandSet& set) {
  CLI::App* group = archiveCommandGroup(set);
  set.add(group, "list", "Суточные протоколы и месячные архивы с их днями и размерами",
          CommandNeeds::Nothing, [](Session&) { return runList(); });
  set.add(group, "pack", "Упаковать все суточные протоколы, кроме сегодняшнего",
          CommandNeeds::Nothing, [](Session&) { return runPack(); });

  auto unpack = std::make_shared<UnpackArgs>();
  CLI::App* unpackCommand = set.add(group, "unpack", "Распаковать день из месячного архива",
                                    CommandNeeds::Nothing,
                                    [unpack](Session&) { return runUnpack(*unpack); });
  unpackCommand->add_option("day", unpack->day, "ДД-ММ-ГГГГ")->required();
  unpackCommand->add_option("-o,--output", unpack->folder, "Папка для файла")->required();

  auto clean = std::make_shared<CleanArgs>();
  CLI::App* cleanCommand = set.add(group, "clean",
                                   "Удалить месячные архивы до указанного месяца включительно",
                                   CommandNeeds::Nothing, [clean](Session&) { return runClean(*clean); });
  cleanCommand->add_option("--until", clean->until, "ММ-ГГГГ")->required();
  cleanCommand->add_flag("--yes", clean->yes, "Не спрашивать подтверждения");
}

}  // namespace zelmot::cli
