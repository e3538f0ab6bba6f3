// check: the link check (device type, version, last restart, error counters).
#include <cstdio>

#include "cli/command_set.h"
#include "cli/exit_codes.h"
#include "exchange/link_check.h"

namespace zelmot::cli {
namespace {

int runCheck(Session& session) {
  exchange::DeviceLink& link = session.doc().deviceLink();
  exchange::ExchangeEngine& engine = link.engine();
  engine.setProgressSink(nullptr);
  engine.beginTask(0);
  const exchange::LinkCheckResult result =
      exchange::checkLink(engine, session.doc().catalogueLookup());
  std::printf("%s", result.infoText.c_str());
  if (!result.errorText.empty()) std::printf("%s", result.errorText.c_str());
  if (engine.successesThisTask() == 0 && engine.timeoutsThisTask() > 0) return kExitNoLink;
  return result.errorText.empty() ? kExitOk : kExitFailures;
}

}  // namespace

void addCheckCommand(CommandSet& set) {
  set.add("check", "Проверить связь с прибором (dev, ver, exit, n.Err)", CommandNeeds::Device,
          runCheck);
}

}  // namespace zelmot::cli
