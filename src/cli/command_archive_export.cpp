// archive export: the measurement protocol of a day or a period as HTML pages (one per
// clock hour) or an .xlsx workbook, from the archive in the program home.
#include <cstdio>
#include <memory>

#include "archive/export_job.h"
#include "archive/export_space.h"
#include "cli/command_set.h"
#include "cli/exit_codes.h"
#include "platform/event.h"
#include "platform/paths.h"

namespace zelmot::cli {
namespace {

struct ExportArgs {
  std::string day;
  std::string from;
  std::string to;
  int filter = 0;
  std::string format;
  std::string output;
};

// On a terminal one line redrawn in place; nothing otherwise.
class ExportLine final : public archive::ExportProgress {
public:
  explicit ExportLine(bool shown) : shown_(shown) {}
  void progress(int dayPercent, int totalPercent) override {
    if (!shown_) return;
    std::printf("\rЭкспорт протокола: день %3d %%, всего %3d %%", dayPercent, totalPercent);
    std::fflush(stdout);
    drawn_ = true;
  }
  void end() {
    if (drawn_) std::printf("\n");
    drawn_ = false;
  }

private:
  bool shown_;
  bool drawn_ = false;
};

bool readDates(const ExportArgs& args, archive::ExportRequest& request) {
  const std::string& fromText = args.day.empty() ? args.from : args.day;
  const std::string& toText = args.day.empty() ? args.to : args.day;
  const auto from = archive::parseDayName(fromText);
  const auto to = archive::parseDayName(toText);
  if (!from || !to) {
    std::fprintf(stderr, "Дата должна быть задана как ДД-ММ-ГГГГ: %s\n",
                 (!from ? fromText : toText).c_str());
    return false;
  }
  if (archive::isBefore(*to, *from)) {
    std::fprintf(stderr, "Конец периода (%s) раньше его начала (%s)\n", toText.c_str(),
                 fromText.c_str());
    return false;
  }
  request.from = *from;
  request.to = *to;
  return true;
}

int exitStatusOf(const archive::ExportResult& result) {
  switch (result.status) {
    case archive::ExportStatus::Done: return result.damagedDays.empty() ? kExitOk : kExitFailures;
    case archive::ExportStatus::Cancelled: return kExitFailures;
    case archive::ExportStatus::NoDay:
    case archive::ExportStatus::ReportFailed: return kExitUsage;
  }
  return kExitFailures;
}

void printResult(Session& session, const archive::ExportResult& result) {
  if (!result.message.empty()) {
    std::fprintf(stderr, "%s: %s\n", result.caption.c_str(), result.message.c_str());
  }
  if (result.status == archive::ExportStatus::Cancelled) {
    std::fprintf(stderr, "Экспорт прерван\n");
  }
  for (const auto& report : result.reports) printNote(session, "Отчет: " + report.string());
}

int runArchiveExport(Session& session, const ExportArgs& args) {
  archive::ExportRequest request;
  if (!readDates(args, request)) return kExitUsage;
  request.filter = args.filter;
  request.target = args.format == "xlsx" ? archive::ExportTarget::Xlsx : archive::ExportTarget::Html;
  request.output = args.output;
  const model::DescBranch* tree = session.doc().deviceModel().measurementTree();
  if (tree == nullptr) {
    std::fprintf(stderr, "Нет дерева оперативных параметров: столбцы протокола неизвестны\n");
    return kExitUsage;
  }
  const std::filesystem::path home = programHomeDir();
  if (!archive::enoughSpaceForExport(archive::availableSpaceAt(home))) {
    std::fprintf(stderr, "%s: %s\n", archive::kNoSpaceCaption, archive::kNoSpaceText);
    return kExitFailures;
  }
  Event cancel(Event::Reset::Manual);
  session.cancelRelay().attach(&cancel);
  ExportLine line(progressModeFor(session.options()) == ProgressMode::Bar);
  const archive::ExportResult result =
      archive::runExport(request, archive::archiveFoldersIn(home),
                         archive::protocolColumns(*tree), cancel, &line, nullptr);
  session.cancelRelay().attach(nullptr);
  line.end();
  printResult(session, result);
  return exitStatusOf(result);
}

}  // namespace

void addArchiveExportCommand(CommandSet& set) {
  auto args = std::make_shared<ExportArgs>();
  CLI::App* command = set.add(
      archiveCommandGroup(set), "export",
      "Экспорт протокола измерений за день или период: страницы HTML (по одной на час) или "
      "книга .xlsx",
      CommandNeeds::Description, [args](Session& session) { return runArchiveExport(session, *args); });
  CLI::Option* day = command->add_option("--day", args->day, "День ДД-ММ-ГГГГ");
  CLI::Option* from = command->add_option("--from", args->from, "Начало периода ДД-ММ-ГГГГ");
  CLI::Option* to = command->add_option("--to", args->to, "Конец периода ДД-ММ-ГГГГ");
  from->needs(to);
  to->needs(from);
  day->excludes(from)->excludes(to);
  command->add_option("--filter", args->filter,
                      "Фильтр: 0 все, 1 rEAd, 2 r.CAL, 3 Set.P, 4 r.OUt, 5 r.oe")
      ->check(CLI::Range(0, archive::kExportFilterCount - 1));
  command->add_option("--format", args->format, "html или xlsx")
      ->required()
      ->check(CLI::IsMember({"html", "xlsx"}));
  command->add_option("-o,--output", args->output,
                      "Папка для страниц (html) или файл книги (xlsx)")
      ->required();
  command->callback([day, from] {
    if (day->count() == 0 && from->count() == 0) {
      throw CLI::RequiredError("--day или --from/--to");
    }
  });
}

}  // namespace zelmot::cli
