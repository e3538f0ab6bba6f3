#include "exchange/device_link.h"

#include "exchange/checked_exchange.h"

namespace zelmot::exchange {

DeviceLink::DeviceLink(link::ComPortMapper mapper) : DeviceProtocol(std::move(mapper)) {}

DeviceLink::~DeviceLink() {
  // Frees an exchange blocked on a silent line; the thread then ends.
  port().stop_event().set();
}

TaskOutcome DeviceLink::runTask(TaskCode code, model::DescBranch* target) {
  if (!thread_.start(code, target)) return {};
  return thread_.wait();
}

TaskOutcome DeviceLink::runGroupWrite(std::vector<model::Parameter*> group) {
  if (!thread_.startGroupWrite(std::move(group))) return {};
  return thread_.wait();
}

int DeviceLink::exchangeParameter(bool read, link::LinkParameter& parameter) {
  return checkedExchange(read, parameter, [this, read](link::LinkParameter& watched) {
    return link::resultCode(exchange_parameter(read ? 1 : 0, watched, nullptr));
  });
}

std::string DeviceLink::lineLossReason() {
  if (!port().hasFailed()) return {};
  return "порт " + port().portName() + ": " + port().lastErrorText();
}

bool DeviceLink::beginTask(std::string& failure) {
  openedForTask_ = false;
  // A port that hung up in an earlier task gets a fresh start: the adapter may be back.
  if (port().isOpen() && port().hasFailed() && !keepPortClosed()) port().open_port();
  if (port().isOpen() || keepPortClosed() || noDeviceExchange()) return true;
  if (port().open_port() != link::OpenResult::Ok) {
    port().close_port();  // a port left open by a refused setting
    failure = openFailureText();
    return false;
  }
  openedForTask_ = true;
  return true;
}

void DeviceLink::endTask() {
  // A port that hung up is let go, so that the device node can go and come back (an
  // adapter plugged in again) and the next task opens it afresh.
  if (openedForTask_ || (port().isOpen() && port().hasFailed())) port().close_port();
  openedForTask_ = false;
}

}  // namespace zelmot::exchange
