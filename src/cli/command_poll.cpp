// get and set: one parameter by its command name, outside the tree. The value to write is
// checked as the desktop editor checks it before anything is sent.
#include <cstdio>
#include <memory>

#include "app/edit_state.h"
#include "cli/command_set.h"
#include "cli/exit_codes.h"
#include "cli/parameter_ref.h"
#include "exchange/exchange_texts.h"
#include "exchange/single_point_poll.h"
#include "model/enumeration_codec.h"
#include "model/parameter.h"
#include "model/text_util.h"
#include "platform/ascii_text.h"

namespace zelmot::cli {
namespace {

constexpr const char* kErrorOccurredText = "Имеет место ошибка:";

struct PollArgs {
  std::string parameter;  // NAME[:INDEX]
  std::string value;
  bool write = false;
  bool indexInAddress = false;
};

// Why the value cannot be written, or "" when it can; `accepted` is the text to send.
std::string writeRefusal(const model::Parameter& descriptor, const std::string& value,
                         std::string& accepted) {
  if (!descriptor.writableByCatalogue()) {
    return "Параметр " + descriptor.name() + " только для чтения, запись в прибор невозможна\n";
  }
  model::Parameter probe;
  exchange::describeTemporary(descriptor, probe);
  if (probe.valueKind() == model::ValueKind::Enumeration) {
    const std::vector<std::string> items = model::enumerationItems(probe.typeDescriptor());
    for (const std::string& item : items) {
      if (equalsIgnoreCase(item, value)) {
        accepted = item;
        return {};
      }
    }
    std::string text = app::valueRefusalMessage(probe, value) + "Допустимые значения:\n";
    for (const std::string& item : items) text += "  " + item + "\n";
    return text;
  }
  if (probe.SetValueText(value) != 1) return app::valueRefusalMessage(probe, value);
  accepted = probe.valueText();
  return {};
}

int statusOf(const exchange::SinglePointOutcome& outcome) {
  const std::vector<std::string>& log = outcome.log;
  if (outcome.result == 0) {
    return log.size() >= 2 && log[log.size() - 2] == kErrorOccurredText ? kExitFailures : kExitOk;
  }
  return !log.empty() && log.back() == exchange::kTimeoutText ? kExitNoLink : kExitFailures;
}

// --verbose: the whole byte log; otherwise the value (get), the value come back (set) or
// the error.
void printOutcome(const Session& session, const exchange::SinglePointOutcome& outcome, int status) {
  if (session.options().verbose) {
    for (const std::string& line : outcome.log) std::printf("%s\n", line.c_str());
    return;
  }
  if (outcome.log.empty()) return;
  std::FILE* stream = status == kExitOk ? stdout : stderr;
  std::fprintf(stream, "%s\n", outcome.log.back().c_str());
}

int runPoll(Session& session, const PollArgs& args) {
  ParameterRef ref;
  if (!parseParameterRef(args.parameter, ref)) {
    std::fprintf(stderr, "Неверное имя параметра: %s\n", args.parameter.c_str());
    return kExitUsage;
  }
  document::CZELMOTDoc& doc = session.doc();
  const exchange::SinglePointPoll poll(doc.deviceLink(), doc.deviceModel().catalogue());
  exchange::SinglePointRequest request;
  request.name = ref.name;
  request.write = args.write;
  request.value = args.value;
  request.indexPresent = ref.hasIndex;
  request.indexInAddress = args.indexInAddress;
  request.indexText = std::to_string(ref.hasIndex ? ref.index : 0);
  const model::Parameter* descriptor = poll.findDescriptor(ref.name);
  if (descriptor != nullptr && args.write) {
    const std::string refusal = writeRefusal(*descriptor, args.value, request.value);
    if (!refusal.empty()) {
      std::fputs(refusal.c_str(), stderr);
      return kExitUsage;
    }
  }
  if (session.options().verbose) {
    const exchange::CommandDescription description = poll.describe(ref.name);
    std::printf("%s %s\n", description.codeText.c_str(), description.descriptionField.c_str());
  }
  const exchange::SinglePointOutcome outcome = poll.execute(request);
  if (!outcome.described) {
    std::fprintf(stderr, "%s\n", outcome.refusal.c_str());
    return kExitUsage;
  }
  const int status = statusOf(outcome);
  printOutcome(session, outcome, status);
  return status;
}

void addIndexFlag(CLI::App* command, PollArgs& args) {
  command->add_option("parameter", args.parameter, "ИМЯ[:ИНДЕКС]")->required();
  command->add_flag("--index-in-address", args.indexInAddress, "Передавать индекс в поле адреса");
}

}  // namespace

void addPollCommands(CommandSet& set) {
  auto getArgs = std::make_shared<PollArgs>();
  CLI::App* get = set.add("get", "Прочитать один параметр по имени и вывести его значение",
                          CommandNeeds::Device,
                          [getArgs](Session& session) { return runPoll(session, *getArgs); });
  addIndexFlag(get, *getArgs);

  auto setArgs = std::make_shared<PollArgs>();
  setArgs->write = true;
  CLI::App* put = set.add(
      "set",
      "Записать один параметр по имени; значение проверяется до отправки (тип, диапазон, "
      "список значений)",
      CommandNeeds::Device, [setArgs](Session& session) { return runPoll(session, *setArgs); });
  addIndexFlag(put, *setArgs);
  put->add_option("value", setArgs->value, "Записываемое значение")->required();
}

}  // namespace zelmot::cli
