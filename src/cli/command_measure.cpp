// poll: periodic reading of measurement parameters through the poll scheduler, one line
// per reading (and, with --archive, one record of the daily log), until a duration, a
// count of rounds or SIGINT/SIGTERM ends it.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "app/measurement.h"
#include "app/protocol_archive.h"
#include "app/startup.h"
#include "cli/command_set.h"
#include "cli/exit_codes.h"
#include "cli/measure_lines.h"
#include "exchange/exchange_texts.h"
#include "exchange/poll_scheduler.h"
#include "model/desc_branch.h"
#include "model/parameter.h"
#include "platform/paths.h"

namespace zelmot::cli {
namespace {

struct MeasureArgs {
  int period = exchange::kMinPollPeriodMs;
  double duration = 0;  // seconds; 0: until a signal or the count
  int count = 0;        // rounds; 0: no limit
  bool csv = false;
  bool archive = false;
  std::vector<std::string> names;
};

// Prints each reading (on the scheduler's thread) and tells when every parameter has been
// read `rounds` times.
class ReadingPrinter {
public:
  ReadingPrinter(const std::vector<model::Parameter*>& chosen,
                 const std::vector<model::Parameter*>& polled, const MeasureArgs& args)
      : polled_(polled), csv_(args.csv), rounds_(args.count) {
    for (model::Parameter* parameter : chosen) readings_[parameter] = 0;
  }

  void print(const exchange::PollNotice& notice) {
    const model::Parameter& parameter = *notice.parameter;
    ReadingLine line{localTimeText(std::time(nullptr)), polledLabel(parameter, polled_),
                     parameter.valueText(), parameter.errorText()};
    if (!line.error.empty()) failed_.store(true);
    if (!notice.lineLossReason.empty()) {
      {
        std::lock_guard lock(mutex_);
        lineLossReason_ = notice.lineLossReason;
      }
      lineLost.set();
    }
    const std::string text = csv_ ? csvLine(line) : plainLine(line);
    std::printf("%s\n", text.c_str());
    std::fflush(stdout);
    if (rounds_ > 0 && ++readings_[notice.parameter] == rounds_ && ++complete_ == readings_.size()) {
      allDone.set();
    }
  }
  bool anyFailed() const { return failed_.load(); }
  std::string lineLossReason() const {
    std::lock_guard lock(mutex_);
    return lineLossReason_;
  }

  Event allDone{Event::Reset::Manual};
  Event lineLost{Event::Reset::Manual};

private:
  const std::vector<model::Parameter*>& polled_;
  const bool csv_;
  const int rounds_;
  std::map<const model::Parameter*, int> readings_;  // scheduler thread only
  size_t complete_ = 0;                               // scheduler thread only
  std::atomic<bool> failed_{false};
  mutable std::mutex mutex_;
  std::string lineLossReason_;
};

// Until a signal (the session attached the task cancel event to the signal watcher), the
// last round, a lost line or the duration; the archive, when kept, starts a new daily log
// at midnight.
void waitForTheEnd(Event& cancel, ReadingPrinter& printer, double durationSeconds,
                   app::ProtocolArchive* archive) {
  using Clock = std::chrono::steady_clock;
  const bool timed = durationSeconds > 0;
  const Clock::time_point end =
      Clock::now() + std::chrono::milliseconds(static_cast<long long>(durationSeconds * 1000));
  for (;;) {
    int waitMs = Event::kInfinite;
    if (timed) {
      waitMs = static_cast<int>(std::max<long long>(
          0, std::chrono::ceil<std::chrono::milliseconds>(end - Clock::now()).count()));
    }
    if (archive != nullptr) waitMs = waitMs == Event::kInfinite ? 1000 : std::min(waitMs, 1000);
    if (waitAny({&cancel, &printer.allDone, &printer.lineLost}, waitMs) >= 0) return;
    if (timed && Clock::now() >= end) return;
    if (archive != nullptr) archive->rotate();
  }
}

int runMeasure(Session& session, const MeasureArgs& args) {
  if (args.period < exchange::kMinPollPeriodMs) {
    std::fprintf(stderr, "%s\n", app::kPollPeriodRefusedText);
    return kExitUsage;
  }
  document::CZELMOTDoc& doc = session.doc();
  std::vector<model::Parameter*> polled;
  if (model::DescBranch* tree = doc.deviceModel().measurementTree()) tree->CollectPolled(polled);
  std::vector<model::Parameter*> chosen;
  std::string error;
  if (!selectPolled(polled, args.names, chosen, error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return kExitUsage;
  }
  if (chosen.empty()) {
    std::fprintf(stderr, "Дерево измерений не содержит параметров\n");
    return kExitUsage;
  }
  ReadingPrinter printer(chosen, polled, args);
  exchange::DeviceLink& link = doc.deviceLink();
  exchange::PollScheduler& polling = link.polling();
  std::unique_ptr<app::ProtocolArchive> archive;
  if (args.archive) {
    if (!app::createWorkingFolders(programHomeDir(), error)) {
      std::fprintf(stderr, "%s\n", error.c_str());
      return kExitUsage;
    }
    archive = std::make_unique<app::ProtocolArchive>(programHomeDir(), doc.archiveNode());
    archive->rotate();
    archive->setEnabled(true);
    polling.setObserver([&archive](model::Parameter& parameter) {
      return archive->recordReading(parameter);
    });
  }
  polling.setSink([&printer](const exchange::PollNotice& notice) { printer.print(notice); });
  if (args.csv) std::printf("%s\n", kReadingCsvHeader);
  for (model::Parameter* parameter : chosen) {
    polling.setPeriod(*parameter, args.period);
    polling.start(*parameter);
  }
  waitForTheEnd(link.engine().cancelEvent(), printer, args.duration, archive.get());
  polling.stopAll();
  // The printer goes with this function: the scheduler's thread ends before it.
  polling.shutdown();
  std::fflush(stdout);
  if (const std::string reason = printer.lineLossReason(); !reason.empty()) {
    std::fprintf(stderr, "%s (%s).\n%s\n", exchange::kLinkLostText, reason.c_str(),
                 exchange::kTaskStoppedText);
    return kExitNoLink;
  }
  return printer.anyFailed() ? kExitFailures : kExitOk;
}

}  // namespace

void addMeasureCommand(CommandSet& set) {
  auto args = std::make_shared<MeasureArgs>();
  CLI::App* poll = set.add(
      "poll",
      "Периодически опрашивать параметры дерева измерений и выводить строку на каждое "
      "считанное значение (время, параметр, значение, ошибка); по умолчанию все параметры "
      "дерева измерений. Завершение: --duration, --count, Ctrl+C или SIGTERM",
      CommandNeeds::Device, [args](Session& session) { return runMeasure(session, *args); });
  poll->add_option("--period", args->period, "Период опроса, мс (не меньше 1000)");
  auto* duration = poll->add_option("--duration", args->duration, "Длительность опроса, с")
                       ->check(CLI::PositiveNumber);
  poll->add_option("--count", args->count, "Число опросов каждого параметра")
      ->check(CLI::PositiveNumber)
      ->excludes(duration);
  poll->add_flag("--csv", args->csv, "Вывод в формате CSV с заголовком");
  poll->add_flag("--archive", args->archive,
                 "Дописывать каждое значение в суточный журнал архива измерений (папка protocol "
                 "домашней папки программы)");
  poll->add_option("parameters", args->names, "ИМЯ[:ИНДЕКС] параметров дерева измерений");
}

}  // namespace zelmot::cli
