// check, get and set: the link check and the single-parameter poll.
#include <cstdio>

#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/parameter_ref.h"
#include "exchange/exchange_texts.h"
#include "exchange/link_check.h"
#include "exchange/single_point_poll.h"

namespace zelmot::cli {

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

int runPoll(Session& session, const PollArgs& args) {
  ParameterRef ref;
  if (!parseParameterRef(args.parameter, ref)) {
    std::fprintf(stderr, "Неверное имя параметра: %s\n", args.parameter.c_str());
    return kExitUsage;
  }
  exchange::SinglePointRequest request;
  request.name = ref.name;
  request.write = args.write;
  request.value = args.value;
  request.indexPresent = ref.hasIndex;
  request.indexInAddress = args.indexInAddress;
  request.indexText = std::to_string(ref.hasIndex ? ref.index : 0);
  document::CZELMOTDoc& doc = session.doc();
  const exchange::SinglePointPoll poll(doc.deviceLink(), doc.deviceModel().catalogue());
  const exchange::CommandDescription description = poll.describe(ref.name);
  std::printf("%s %s\n", description.codeText.c_str(), description.descriptionField.c_str());
  const exchange::SinglePointOutcome outcome = poll.execute(request);
  if (!outcome.described) {
    std::fprintf(stderr, "%s\n", outcome.refusal.c_str());
    return kExitUsage;
  }
  for (const std::string& line : outcome.log) std::printf("%s\n", line.c_str());
  if (outcome.result == 0) {
    return outcome.log.size() >= 2 && outcome.log[outcome.log.size() - 2] == "Имеет место ошибка:"
               ? kExitFailures
               : kExitOk;
  }
  return !outcome.log.empty() && outcome.log.back() == exchange::kTimeoutText ? kExitNoLink
                                                                             : kExitFailures;
}

}  // namespace zelmot::cli
