// show and set-value: configuration files without the device.
#include <cstdio>

#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/parameter_ref.h"
#include "document/config_listing.h"
#include "exchange/exchange_texts.h"

namespace zelmot::cli {
int runShow(Session& session, const std::string& file, const std::string& branch, bool json) {
  if (!openConfiguration(session, file)) return kExitUsage;
  model::DescBranch* target = session.doc().findBranch(branch);
  if (target == nullptr) {
    std::fprintf(stderr, "%s: %s\n", exchange::kBranchUndefinedText, branch.c_str());
    return kExitUsage;
  }
  model::PresentationOptions options;
  options.showLinearIndexes = true;
  options.discreteInputCount = session.doc().deviceModel().nDiskretInput();
  const std::string text = json ? document::listConfigurationJson(*target, options)
                                : document::listConfigurationText(*target, options);
  std::fwrite(text.data(), 1, text.size(), stdout);
  return kExitOk;
}

int runSetValue(Session& session, const std::string& file, const std::string& parameter,
                const std::string& value) {
  ParameterRef ref;
  if (!parseParameterRef(parameter, ref)) {
    std::fprintf(stderr, "Неверное имя параметра: %s\n", parameter.c_str());
    return kExitUsage;
  }
  if (!openConfiguration(session, file)) return kExitUsage;
  model::DescBranch* root = session.doc().root();
  model::Parameter* target = root ? root->FindParameter(ref.name, ref.hasIndex ? ref.index : -1) : nullptr;
  if (target == nullptr) {
    std::fprintf(stderr, "Данный параметр не найден!\n");
    return kExitUsage;
  }
  bool limitsRefusal = false;
  if (target->SetValueText(value, limitsRefusal) != 1) {
    std::fprintf(stderr, "Значение '%s' не принято для %s\n", value.c_str(), parameter.c_str());
    return kExitUsage;
  }
  const document::FileResult saved = session.doc().save(file);
  if (!saved.ok) {
    std::fprintf(stderr, "%s: %s\n", file.c_str(), saved.message.c_str());
    return kExitUsage;
  }
  std::printf("%s = %s\n", parameter.c_str(), target->valueText().c_str());
  return kExitOk;
}

}  // namespace zelmot::cli
