#pragma once
// The document's door to the device: the device protocol, plus the exchange engine and the
// exchange thread that run bulk tasks over the parameter tree, and the poll scheduler.
#include "exchange/exchange_engine.h"
#include "exchange/exchange_thread.h"
#include "exchange/parameter_transport.h"
#include "exchange/poll_scheduler.h"
#include "link/device_protocol.h"

namespace zelmot::exchange {

class DeviceLink final : public link::DeviceProtocol, private ParameterTransport {
public:
  explicit DeviceLink(link::ComPortMapper mapper = {});
  ~DeviceLink() override;

  ExchangeEngine& engine() { return engine_; }
  ExchangeThread& tasks() { return thread_; }
  // Periodic polling of the measurement parameters; it shares the line with the tasks.
  PollScheduler& polling() { return poller_; }

  // Starts a task and waits for its end: for callers that have nothing else to do
  // meanwhile (the CLI, tests). A task that cannot start gives an empty outcome.
  TaskOutcome runTask(TaskCode code, model::DescBranch* target);
  TaskOutcome runGroupWrite(std::vector<model::Parameter*> group);

protected:
  // Port settings applied anew: the network settings written to the device no longer
  // wait to be applied.
  void portSettingsLoaded() override { engine_.clearNetworkParametersWritten(); }

private:
  int exchangeParameter(bool read, link::LinkParameter& parameter) override;
  bool beginTask(std::string& failure) override;
  void endTask() override;
  std::string lineLossReason() override;

  bool openedForTask_ = false;  // exchange thread only
  ExchangeEngine engine_{static_cast<ParameterTransport&>(*this)};
  ExchangeThread thread_{engine_, static_cast<ParameterTransport&>(*this), &port().stop_event()};
  PollScheduler poller_{static_cast<ParameterTransport&>(*this), &port().stop_event()};
};

}  // namespace zelmot::exchange
