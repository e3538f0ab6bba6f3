#include "exchange/single_point_poll.h"

#include <cstdio>
#include <cstdlib>

#include "link/device_protocol.h"
#include "link/frame_codec.h"
#include "model/desc_branch.h"
#include "model/parameter.h"
#include "model/text_util.h"
#include "platform/ascii_text.h"

namespace zelmot::exchange {
namespace {

class LineCollector final : public link::LogSink {
public:
  explicit LineCollector(std::vector<std::string>& lines) : lines_(lines) {}
  void addLine(const std::string& line) override { lines_.push_back(line); }

private:
  std::vector<std::string>& lines_;
};

bool isEnumeration(const std::string& type) {
  for (const char* special : {"string", "ASCI", "DEC_dot", "CLK_frm", "STORED_DOT", "name",
                              kUndefinedTypeText}) {
    if (type == special) return false;
  }
  return true;
}

std::vector<std::string> enumerationChoices(const std::string& type) {
  return model::splitText(model::replaceAll(type, '_', ' '), ':');
}

}  // namespace

void describeTemporary(const model::Parameter& descriptor, model::Parameter& temporary) {
  temporary.setName(descriptor.name());
  temporary.setCatalogueCaption(descriptor.catalogueCaption());
  temporary.setTypeDescriptor(descriptor.typeDescriptor());
  temporary.setDecimals(descriptor.decimals());
  temporary.setLimits(descriptor.minimum(), descriptor.maximum());
  temporary.setContext(descriptor.context());
}

SinglePointPoll::SinglePointPoll(link::DeviceProtocol& link, const Catalogue& catalogue)
    : link_(link), catalogue_(catalogue) {}

const model::Parameter* SinglePointPoll::findDescriptor(const std::string& name) const {
  for (const auto& parameter : catalogue_) {
    if (parameter && equalsIgnoreCase(parameter->name(), name)) return parameter.get();
  }
  return nullptr;
}

std::vector<std::string> SinglePointPoll::commandNames() const {
  std::vector<std::string> names;
  for (const auto& parameter : catalogue_) {
    if (!parameter) continue;
    bool known = false;
    for (const std::string& name : names) known = known || equalsIgnoreCase(name, parameter->name());
    if (!known) names.push_back(parameter->name());
  }
  return names;
}

CommandDescription SinglePointPoll::describe(const std::string& name) const {
  CommandDescription description;
  char code[16];
  std::snprintf(code, sizeof code, "0x%X", link::name_hash(name));
  description.codeText = code;
  description.typeText = kUndefinedTypeText;
  std::string text;
  if (const model::Parameter* descriptor = findDescriptor(name)) {
    description.typeText = descriptor->typeDescriptor();
    text = descriptor->catalogueCaption();
  }
  description.descriptionField = text + " (" + description.typeText + ")";
  if (isEnumeration(description.typeText)) {
    description.choices = enumerationChoices(description.typeText);
  }
  return description;
}

SinglePointOutcome SinglePointPoll::execute(const SinglePointRequest& request) const {
  SinglePointOutcome outcome;
  const model::Parameter* descriptor = findDescriptor(request.name);
  if (descriptor == nullptr) {
    outcome.refusal = "Параметер '" + request.name + "' не описан!";
    return outcome;
  }
  outcome.described = true;
  std::vector<std::string>& log = outcome.log;
  model::Parameter temporary;
  describeTemporary(*descriptor, temporary);
  const int index = std::atoi(request.indexText.c_str());
  if (request.indexPresent && request.indexInAddress) {
    temporary.setRequestIndex(index);
    log.push_back("Индекс передается в поле адреса запроса");
    if (index >= 8) log.push_back("Предупреждение: адрес увеличен более чем на 7!");
  } else if (request.indexPresent) {
    temporary.setHasLinearIndex(true);
    temporary.setLinearIndex(index);
    log.push_back("Индекс передается в посылке запроса");
  }
  log.push_back(temporary.name() + " (" + temporary.GetDescription() + ")");
  if (request.write) temporary.setRawValueText(request.value);
  LineCollector collector(log);
  outcome.result =
      link::resultCode(link_.exchange_parameter(request.write ? 0 : 1, temporary, &collector));
  const std::string error = temporary.errorText();
  if (outcome.result != 0) {
    log.push_back(error);
  } else if (!error.empty()) {
    log.push_back("Имеет место ошибка:");
    log.push_back(error);
  } else if (request.write) {
    log.push_back("Нет ошибок; записано. Обратно вернулось='" + temporary.valueText() + "'");
  } else {
    log.push_back("Нет ошибок; строковая нотация ответа:");
    log.push_back(temporary.valueText());
  }
  return outcome;
}

model::Parameter* SinglePointPoll::findInTree(const model::DescBranch& root,
                                              const SinglePointRequest& request) {
  const int32_t index = request.indexPresent ? std::atoi(request.indexText.c_str()) : -1;
  return root.FindParameter(request.name, index);
}

}  // namespace zelmot::exchange
