// legacy: the desktop program's command line ("/read/port:3/close file.zel") run without a
// window, for callers written against that grammar. The order is that of the program's
// start-up; the job runs at once and the run ends when it is done, unless an exit event
// was named and `close` was not given: then it waits for that event as the window would.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "app/aply_state.h"
#include "app/command_line_run.h"
#include "app/startup.h"
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "exchange/link_check.h"
#include "model/desc_branch.h"
#include "platform/paths.h"
#include "platform/settings.h"

namespace zelmot::cli {
namespace {

void pauseMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

exchange::TaskOutcome runWriteJob(document::CZELMOTDoc& doc, const app::CommandLine& line) {
  std::error_code error;
  if (!line.documentPath.empty() && std::filesystem::exists(line.documentPath, error)) {
    const document::FileResult opened = doc.open(line.documentPath);
    if (!opened.ok) {
      std::fprintf(stderr, "%s: %s\n", line.documentPath.c_str(), opened.message.c_str());
      return {};
    }
  } else {
    std::fprintf(stderr, "Файл %s не найден, документ не открыт\n", line.documentPath.c_str());
  }
  return doc.deviceLink().runTask(exchange::TaskCode::WriteAll, doc.root());
}

exchange::TaskOutcome runJob(document::CZELMOTDoc& doc, const app::CommandLine& line,
                             app::CommandLineJob job) {
  switch (job) {
    case app::CommandLineJob::WriteAll: return runWriteJob(doc, line);
    case app::CommandLineJob::ReadAll:
      return doc.deviceLink().runTask(exchange::TaskCode::Read, doc.root());
    case app::CommandLineJob::Calibrate:
      std::fprintf(stderr, "Юстировка входов без окна не выполняется\n");
      return {};
    case app::CommandLineJob::None: break;
  }
  return {};
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

bool prepare(Session& session, const app::CommandLine& line, Settings& settings) {
  std::string error;
  app::storeModeChoices(settings, line);
  if (!app::createWorkingFolders(programHomeDir(), error) ||
      !app::configureDocument(line, settings, session.doc(), error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return false;
  }
  document::CZELMOTDoc& doc = session.doc();
  doc.deviceLink().load_port_settings();
  if (!line.noExchange) {
    exchange::linkCheck(doc.deviceLink().engine(), doc.catalogueLookup(), nullptr, false, nullptr);
  }
  return true;
}

}  // namespace

int runLegacy(Session& session, const std::vector<std::string>& arguments) {
  const app::CommandLine line = app::parseCommandLine(arguments);
  Settings settings;
  if (!prepare(session, line, settings)) return kExitUsage;
  document::CZELMOTDoc& doc = session.doc();
  Event shutdown{Event::Reset::Manual};
  Event closeRequested{Event::Reset::Manual};
  app::CommandLineJob posted = app::CommandLineJob::None;
  app::CommandLineRun run(line, shutdown, &doc.deviceLink().engine().cancelEvent(),
                          {[&posted](app::CommandLineJob job) { posted = job; },
                           [&closeRequested] { closeRequested.set(); }});
  std::string error;
  if (!run.start(error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return kExitUsage;
  }
  const exchange::TaskOutcome outcome = runJob(doc, line, posted);
  if (posted != app::CommandLineJob::None) finishNetworkWrite(doc, line, settings);
  const document::FileResult saved = run.taskFinished(doc);
  if (!saved.ok) std::fprintf(stderr, "%s: %s\n", line.documentPath.c_str(), saved.message.c_str());
  if (line.exitEvent && !line.close) {
    waitAny({&closeRequested, &doc.deviceLink().engine().cancelEvent()}, Event::kInfinite);
  }
  if (posted == app::CommandLineJob::None) return saved.ok ? kExitOk : kExitUsage;
  if (posted == app::CommandLineJob::Calibrate) return kExitUsage;
  return app::unattendedExitStatus(outcome, saved.ok);
}

int signalExitEvent(const std::string& name) {
  std::string error;
  if (app::NamedExitEvent::signal(name, error)) return kExitOk;
  std::fprintf(stderr, "%s\n", error.c_str());
  return kExitUsage;
}

}  // namespace zelmot::cli
