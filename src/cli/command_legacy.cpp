// legacy: the desktop program's command line ("/read/port:3/close file.zel") run without a
// window, for callers written against that grammar. The order is that of the program's
// start-up; the job runs at once and the run ends when it is done, unless an exit event
// was named and `close` was not given: then it waits for that event as the window would.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <thread>

#include "app/aply_state.h"
#include "app/command_line_run.h"
#include "app/startup.h"
#include "cli/calibration_wizard.h"
#include "cli/command_set.h"
#include "cli/device_line.h"
#include "cli/task_summary.h"
#include "cli/exit_codes.h"
#include "exchange/link_check.h"
#include "model/desc_branch.h"
#include "platform/paths.h"
#include "platform/settings.h"

namespace zelmot::cli {
namespace {

constexpr const char* kNoPortNothingReadText =
    "Порт не задан (ключ port): обмен с прибором отключен, ничего не прочитано, файл не сохранен";
constexpr const char* kNoPortNothingDoneText =
    "Порт не задан (ключ port): обмен с прибором отключен, задание не выполнено";

void pauseMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// What the posted job did; `refusal` is non-zero (the exit status) when it could not run
// at all: then nothing was sent and nothing may be saved.
struct JobResult {
  exchange::TaskOutcome outcome;
  int refusal = kExitOk;
};

JobResult runWriteJob(document::CZELMOTDoc& doc, const app::CommandLine& line) {
  // Writing the description files' initial values in place of an unreadable configuration
  // would overwrite the device with values nobody chose.
  std::error_code error;
  if (line.documentPath.empty() || !std::filesystem::exists(line.documentPath, error)) {
    std::fprintf(stderr, "Файл %s не найден, документ не открыт, в прибор ничего не записано\n",
                 line.documentPath.c_str());
    return {{}, kExitUsage};
  }
  const document::FileResult opened = doc.open(line.documentPath);
  if (!opened.ok) {
    std::fprintf(stderr, "%s\nВ прибор ничего не записано\n", opened.message.c_str());
    return {{}, kExitUsage};
  }
  return {doc.deviceLink().runTask(exchange::TaskCode::WriteAll, doc.root())};
}

JobResult runJob(document::CZELMOTDoc& doc, const app::CommandLine& line, app::CommandLineJob job) {
  if (line.noExchange && job != app::CommandLineJob::None) {
    std::fprintf(stderr, "%s\n", job == app::CommandLineJob::ReadAll
                                     ? kNoPortNothingReadText
                                     : kNoPortNothingDoneText);
    return {{}, kExitUsage};
  }
  switch (job) {
    case app::CommandLineJob::WriteAll: return runWriteJob(doc, line);
    case app::CommandLineJob::ReadAll:
      return {doc.deviceLink().runTask(exchange::TaskCode::Read, doc.root())};
    case app::CommandLineJob::Calibrate: break;  // runCalibrateJob
    case app::CommandLineJob::None: break;
  }
  return {};
}

const char* summaryVerb(app::CommandLineJob job) {
  return job == app::CommandLineJob::WriteAll ? "Записано" : "Прочитано";
}

// After network settings were written the device is told to take them (with `aply`).
void finishNetworkWrite(document::CZELMOTDoc& doc, const app::CommandLine& line, Settings& settings) {
  exchange::ExchangeEngine& engine = doc.deviceLink().engine();
  if (!engine.networkParametersWritten()) return;
  if (app::aplyActionAfterNetworkWrite(true, line.aply) == app::AplyAction::Headless) {
    const app::AplyOutcome outcome = app::AplyState().run(doc, &settings, nullptr, false, pauseMs);
    if (!outcome.errorText.empty()) {
      std::fprintf(stderr, "%s:\n%s", app::kAplyErrorCaption, outcome.errorText.c_str());
    }
  }
  engine.clearNetworkParametersWritten();
}

// The calibration asks its choices on the terminal, as the window would in its dialogs;
// its end is the job's end (the program then closes).
int runCalibrateJob(document::CZELMOTDoc& doc, app::CommandLineRun& run) {
  calibration::WrongCodeCounter wrongCodes;  // this run of the program
  const int status =
      runCalibrationWizard(doc, wrongCodes, doc.deviceLink().engine().cancelEvent(), {});
  run.taskFinished(doc);
  return status;
}

bool prepare(Session& session, const app::CommandLine& line, Settings& settings) {
  std::string error;
  app::storeModeChoices(settings, line);
  if (!app::createWorkingFolders(programHomeDir(), error) ||
      !app::configureDocument(line, settings, session.doc(), error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return false;
  }
  session.applyConverterOption();
  document::CZELMOTDoc& doc = session.doc();
  doc.deviceLink().load_port_settings();
  if (!line.noExchange) {
    exchange::linkCheck(doc.deviceLink().engine(), doc.catalogueLookup(), nullptr, false, nullptr);
  }
  return true;
}

int runLegacy(Session& session, const std::vector<std::string>& arguments) {
  const app::CommandLine line = app::parseCommandLine(arguments);
  std::string error;
  if (!session.start(error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return kExitUsage;
  }
  Settings settings;
  if (!prepare(session, line, settings)) return kExitUsage;
  document::CZELMOTDoc& doc = session.doc();
  Event shutdown{Event::Reset::Manual};
  Event closeRequested{Event::Reset::Manual};
  app::CommandLineJob posted = app::CommandLineJob::None;
  app::CommandLineRun run(line, shutdown, &doc.deviceLink().engine().cancelEvent(),
                          {[&posted](app::CommandLineJob job) { posted = job; },
                           [&closeRequested] { closeRequested.set(); }});
  if (!run.start(error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return kExitUsage;
  }
  if (posted != app::CommandLineJob::None && !line.noExchange) {
    const int opened = openDeviceLine(session);
    if (opened != kExitOk) return opened;
  }
  if (posted == app::CommandLineJob::Calibrate && !line.noExchange) {
    return runCalibrateJob(doc, run);
  }
  const JobResult job = runJob(doc, line, posted);
  if (job.refusal != kExitOk) return job.refusal;
  if (posted != app::CommandLineJob::None) {
    finishNetworkWrite(doc, line, settings);
    printTaskSummary(session, summaryVerb(posted), job.outcome);
  }
  const document::FileResult saved = run.taskFinished(doc);
  if (!saved.ok) std::fprintf(stderr, "%s\n", saved.message.c_str());
  if (line.exitEvent && !line.close) {
    waitAny({&closeRequested, &doc.deviceLink().engine().cancelEvent()}, Event::kInfinite);
  }
  if (posted == app::CommandLineJob::None) return saved.ok ? kExitOk : kExitUsage;
  return app::unattendedExitStatus(job.outcome, saved.ok);
}

int signalExitEvent(const std::string& name) {
  std::string error;
  if (app::NamedExitEvent::signal(name, error)) return kExitOk;
  std::fprintf(stderr, "%s\n", error.c_str());
  return kExitUsage;
}

}  // namespace

void addLegacyCommand(CommandSet& set) {
  struct LegacyArgs {
    std::string exitEventName;
    CLI::App* command = nullptr;
  };
  auto args = std::make_shared<LegacyArgs>();
  args->command = set.add(
      "legacy",
      "Выполнить командную строку программы с окном без окна (/read/port:3 f.zel); "
      "--converter действует и здесь",
      CommandNeeds::Nothing, [args](Session& session) {
        if (!args->exitEventName.empty()) return signalExitEvent(args->exitEventName);
        return runLegacy(session, args->command->remaining());
      });
  args->command->add_option("--signal-exit", args->exitEventName,
                            "Подать событие завершения NAME работающей программе");
  args->command->prefix_command();
}

}  // namespace zelmot::cli
