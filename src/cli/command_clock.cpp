// clock: the device's real-time clock shown, set from the computer's clock, or set to a
// given date and time, as the clock dialog writes it.
#include <cstdio>
#include <ctime>
#include <memory>
#include <regex>

#include "app/clock_dialog_state.h"
#include "app/parameter_device.h"
#include "cli/command_set.h"
#include "cli/exit_codes.h"
#include "cli/help_texts.h"
#include "cli/single_exchange_status.h"
#include "model/parameter.h"

namespace zelmot::cli {
namespace {

enum class ClockAction { Show, Sync, Set };

struct ClockArgs {
  ClockAction action = ClockAction::Show;
  std::string dateTime;  // "DD.MM.YY HH:MM:SS"
};

// Puts "DD.MM.YY HH:MM:SS" into the fields; false when the text has another form.
bool takeDateTime(const std::string& text, app::ClockDialogState& state) {
  static const std::regex kForm(R"(^(\d{1,2})\.(\d{1,2})\.(\d{2}) (\d{1,2}):(\d{1,2}):(\d{1,2})$)");
  std::smatch match;
  if (!std::regex_match(text, match, kForm)) return false;
  constexpr int kFieldOfGroup[] = {4, 5, 6, 3, 2, 1};  // day, month, year, hours, minutes, seconds
  for (size_t group = 1; group < match.size(); ++group) {
    state.setFieldText(kFieldOfGroup[group - 1], match[group].str());
  }
  return true;
}

int failure(Session& session, const model::Parameter& clock) {
  std::fprintf(stderr, "%s: %s\n", clock.name().c_str(), clock.errorText().c_str());
  return singleExchangeStatus(session.doc().deviceLink().engine(), true, clock.errorText());
}

int runClock(Session& session, const ClockArgs& args) {
  document::CZELMOTDoc& doc = session.doc();
  model::Parameter* clock = doc.findCatalogueParameter(app::kClockParameterName);
  if (clock == nullptr) {
    std::fprintf(stderr, "В описании прибора нет параметра %s\n", app::kClockParameterName);
    return kExitUsage;
  }
  app::LinkParameterDevice device(doc.deviceLink());
  // The value read last fixes which fields the written value holds.
  if (device.read(*clock) != 0) return failure(session, *clock);
  if (args.action != ClockAction::Show) {
    app::ClockDialogState state(doc.valueContext().clock());
    if (args.action == ClockAction::Sync) {
      const std::time_t now = std::time(nullptr);
      std::tm local{};
      localtime_r(&now, &local);
      state.synchroniseWith(local);
    } else if (!takeDateTime(args.dateTime, state)) {
      std::fprintf(stderr, "Неверные дата и время: '%s' (нужно ДД.ММ.ГГ ЧЧ:ММ:СС)\n",
                   args.dateTime.c_str());
      return kExitUsage;
    }
    const std::string refusal = state.refusal();
    if (!refusal.empty()) {
      std::fprintf(stderr, "%s\n", refusal.c_str());
      return kExitUsage;
    }
    if (app::writeClock(*clock, state.valueText(), device, {}) != 0) return failure(session, *clock);
  }
  std::printf("%s\n", clock->valueText().c_str());
  return kExitOk;
}

}  // namespace

void addClockCommand(CommandSet& set) {
  auto args = std::make_shared<ClockArgs>();
  CLI::App* clock = set.add("clock", "Часы реального времени прибора: показать, "
                                     "синхронизировать с компьютером или установить",
                            CommandNeeds::Device,
                            [args](Session& session) { return runClock(session, *args); });
  clock->require_subcommand(1);
  auto action = [clock, args](const char* name, const char* description, ClockAction chosen) {
    CLI::App* sub = clock->add_subcommand(name, description);
    setRussianHelp(*sub);
    sub->callback([args, chosen] { args->action = chosen; });
    return sub;
  };
  action("show", "Показать дату и время прибора", ClockAction::Show);
  action("sync", "Записать в прибор время компьютера", ClockAction::Sync);
  action("set", "Записать в прибор заданные дату и время", ClockAction::Set)
      ->add_option("time", args->dateTime, "\"ДД.ММ.ГГ ЧЧ:ММ:СС\"")
      ->required();
}

}  // namespace zelmot::cli
