// aply: the device takes the network settings stored in it; the program follows.
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

#include "app/aply_state.h"
#include "cli/command_set.h"
#include "cli/exit_codes.h"
#include "model/parameter.h"
#include "platform/settings.h"

namespace zelmot::cli {
namespace {

struct AplyArgs {
  bool broadcast = false;  // also to every device on the line
  bool once = false;       // one broadcast instead of three
};

void pauseMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// The device node holds nothing until read: read its settings while the old ones still
// carry the line, so that the program knows where the device goes.
bool readDeviceSettings(Session& session) {
  document::CZELMOTDoc& doc = session.doc();
  bool allRead = true;
  for (model::Parameter* parameter : doc.deviceNetwork().parameters()) {
    if (doc.deviceLink().engine().readOne(*parameter) != 0) {
      std::fprintf(stderr, "%s: %s\n", parameter->name().c_str(), parameter->errorText().c_str());
      allRead = false;
    }
  }
  return allRead;
}

int runAply(Session& session, const AplyArgs& args) {
  document::CZELMOTDoc& doc = session.doc();
  const std::string unavailable = app::AplyState::unavailableText(&doc);
  if (!unavailable.empty()) {
    std::fprintf(stderr, "%s\n", unavailable.c_str());
    return kExitUsage;
  }
  if (!readDeviceSettings(session)) {
    std::fprintf(stderr, "Сетевые параметры прибора не прочитаны, команда APLY не послана\n");
    return kExitNoLink;
  }
  std::printf("%s\n%s\n", app::kAplyNewParametersGroup,
              app::AplyState::newParametersText(doc.deviceNetwork()).c_str());
  app::AplyState state;
  state.broadcast = args.broadcast;
  state.threeTimes = !args.once;
  Settings settings;
  const app::AplyOutcome outcome = state.run(doc, &settings, nullptr, false, pauseMs);
  if (outcome.writeResult != 0) {
    const model::Parameter* aply = doc.findCatalogueParameter(app::kAplyCommandName);
    std::fprintf(stderr, "APLY: %s\n", aply != nullptr ? aply->errorText().c_str() : "");
  }
  if (outcome.broadcastsSent > 0) std::printf("APLY всем приборам: %d\n", outcome.broadcastsSent);
  if (!outcome.errorText.empty()) {
    std::fprintf(stderr, "%s:\n%s", app::kAplyErrorCaption, outcome.errorText.c_str());
    return kExitNoLink;
  }
  std::printf("Связь с прибором после APLY есть\n");
  return outcome.writeResult == 0 ? kExitOk : kExitFailures;
}

}  // namespace

void addAplyCommand(CommandSet& set) {
  auto args = std::make_shared<AplyArgs>();
  CLI::App* aply = set.add("aply", "Прибор принимает сохраненные в нем сетевые параметры "
                                   "(команда APLY); программа следует за ним",
                           CommandNeeds::Device,
                           [args](Session& session) { return runAply(session, *args); });
  aply->add_flag("--broadcast", args->broadcast, "Также всем приборам на линии");
  aply->add_flag("--once", args->once, "Одна широковещательная команда вместо трех");
}

}  // namespace zelmot::cli
