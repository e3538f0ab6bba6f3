// Compare one parameter with the device without touching its value.
#include "exchange/compare_texts.h"
#include "exchange/exchange_engine.h"
#include "model/parameter.h"

namespace zelmot::exchange {
namespace {

// A parameter of its own, carrying what the transaction needs to read the same element
// from the same address and decode it the same way.
void prepareDeviceCopy(const model::Parameter& configuration, model::Parameter& copy) {
  copy.setName(configuration.name());
  copy.setTypeDescriptor(configuration.typeDescriptor());
  copy.setDecimals(configuration.decimals());
  copy.setLimits(configuration.minimum(), configuration.maximum());
  copy.setContext(configuration.context());
  copy.setHasLinearIndex(configuration.hasLinearIndex());
  copy.setLinearIndex(configuration.linearIndex());
  copy.setRequestIndex(configuration.requestIndex());
  copy.setAttributeMultiplicity(configuration.attributeMultiplicity());
  // Attributes travel only with the first element of a group (and not at all when their
  // transfer is switched off); where none arrive the configuration's stand, so that an
  // element is never reported different for attributes nobody read.
  copy.setEditable(configuration.editable());
  copy.setFactoryOwned(configuration.factoryOwned());
}

std::string compareLabel(const model::Parameter& parameter) {
  std::string label = "  Сравниваем: " + parameter.name() + "=" + parameter.valueText();
  if (parameter.hasLinearIndex()) label += ":" + std::to_string(parameter.linearIndex());
  return label;
}

CompareSide sideOf(const model::Parameter& parameter) {
  return {parameter.valueText(), parameter.editable(), parameter.factoryOwned()};
}

}  // namespace

int ExchangeEngine::compareOne(model::Parameter& parameter) {
  if (cancelled()) return kResultCancelled;
  done_.fetch_add(1);
  if (parameter.linearIndex() < 0) return kResultNotExchanged;
  model::Parameter device;
  prepareDeviceCopy(parameter, device);
  const std::string label = compareLabel(parameter);
  const int result = transport_.exchangeParameter(true, device);
  noteTransaction(result, device);
  logLine(label + "<>" + device.valueText());
  if (sidesDiffer(sideOf(parameter), sideOf(device))) noteDifference(parameter, device);
  return result;
}

void ExchangeEngine::noteDifference(model::Parameter& parameter, const model::Parameter& device) {
  const int number = differences_.fetch_add(1) + 1;
  if (number > kDescribedDifferences) return;
  const CompareSide deviceSide = sideOf(device);
  {
    std::lock_guard lock(mutex_);
    differenceText_ += differenceDescription(number, parameter.name(), parameter.GetDescription(),
                                             sideOf(parameter), deviceSide);
  }
  parameter.setErrorText(markedErrorText(parameter.errorText(), deviceSide));
}

}  // namespace zelmot::exchange
