#include "app/measurement.h"

#include <charconv>

#include "app/tree_rows.h"
#include "exchange/exchange_engine.h"
#include "exchange/poll_scheduler.h"
#include "model/parameter.h"
#include "platform/user_prompt.h"

namespace zelmot::app {
namespace {

bool readsOnExpand(const model::Parameter& parameter) {
  return !isArchiveNode(parameter) && !parameter.hasPollTimer() && parameter.hasNoData() &&
         parameter.errorText().empty();
}

// A whole number of milliseconds, blanks around it allowed; false for anything else.
bool parsePeriod(const std::string& text, int32_t& period) {
  const size_t first = text.find_first_not_of(' ');
  const size_t last = text.find_last_not_of(' ');
  if (first == std::string::npos) return false;
  const char* begin = text.data() + first;
  const char* end = text.data() + last + 1;
  const auto [stop, error] = std::from_chars(begin, end, period);
  return error == std::errc() && stop == end;
}

}  // namespace

bool isArchiveNode(const model::Parameter& parameter) {
  return parameter.name() == kArchiveNodeName;
}

int readOnExpand(exchange::ExchangeEngine& engine, model::Parameter* parameter, bool treeExists) {
  if (parameter == nullptr) return kExpandNoParameter;
  if (!treeExists) return kExpandNoTree;
  if (!engine.autoReading() || !readsOnExpand(*parameter)) return kExpandNothingToDo;
  return engine.readOne(*parameter);
}

std::vector<model::Parameter*> expandReadList(const TreeRow& row, bool autoReading) {
  std::vector<model::Parameter*> list;
  if (!autoReading) return list;
  for (size_t i = 0; i < row.childCount(); ++i) {
    model::Parameter* parameter = row.child(i)->parameter();
    if (parameter != nullptr && readsOnExpand(*parameter)) list.push_back(parameter);
  }
  return list;
}

int readExpanded(exchange::ExchangeEngine& engine, const std::vector<model::Parameter*>& list,
                 const std::function<void()>& before,
                 const std::function<void(model::Parameter&)>& after) {
  int reads = 0;
  bool noticeShown = false;
  for (model::Parameter* parameter : list) {
    // Checked again: an earlier read may have switched the mode off.
    if (!engine.autoReading()) break;
    if (!noticeShown && before) before();
    noticeShown = true;
    if (readOnExpand(engine, parameter, true) == kExpandNothingToDo) continue;
    ++reads;
    if (after) after(*parameter);
  }
  return reads;
}

int immediateWrite(exchange::ExchangeEngine& engine, model::Parameter& parameter, bool modeOn) {
  if (!modeOn || !parameter.valueChanged()) return kWritePending;
  return engine.writeOne(parameter, true);
}

bool takePollPeriodEdit(exchange::PollScheduler& polling, model::Parameter& parameter,
                        const std::string& text, UserPrompt& prompt) {
  int32_t period = 0;
  if (parsePeriod(text, period) && polling.setPeriod(parameter, period)) return true;
  prompt.tell(kPollPeriodRefusedText, kPollPeriodRefusedCaption, PromptIcon::Stop);
  return false;
}

bool rowHasCheckBox(const TreeRow& row) {
  const model::Parameter* parameter = row.parameter();
  return row.kind() == TreeRow::Kind::Parameter && parameter != nullptr &&
         (parameter->hasPollTimer() || isArchiveNode(*parameter));
}

}  // namespace zelmot::app
