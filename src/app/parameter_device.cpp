#include "app/parameter_device.h"

#include "exchange/device_link.h"

namespace zelmot::app {

bool LinkParameterDevice::absent() const { return link_.engine().linkLost(); }

int LinkParameterDevice::read(model::Parameter& parameter) {
  return link_.engine().readOne(parameter);
}

int LinkParameterDevice::write(model::Parameter& parameter) {
  return link_.engine().writeOne(parameter, true);
}

int LinkParameterDevice::writeChanged(model::DescBranch& branch) {
  const exchange::TaskOutcome outcome = link_.runTask(exchange::TaskCode::WriteChanged, &branch);
  if (!outcome.started || !outcome.portFailureText.empty()) return 1;
  return outcome.counts.failures;
}

}  // namespace zelmot::app
