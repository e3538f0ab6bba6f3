#pragma once
// The single-parameter transaction as the exchange engine sees it. DeviceLink passes it on
// to the device protocol; tests script it.
#include <string>

#include "link/link_parameter.h"

namespace zelmot::exchange {

class ParameterTransport {
public:
  virtual ~ParameterTransport() = default;
  // Reads (read = true) or writes one parameter; 0 on success, otherwise the result code of
  // the transaction with the reason in the parameter's error text.
  virtual int exchangeParameter(bool read, link::LinkParameter& parameter) = 0;
  // Around each task of the exchange thread: the port is opened for the task when it was
  // closed, and closed again afterwards. False when the port cannot be opened: the task
  // then ends at once as "no link", with the reason in `failure`.
  virtual bool beginTask(std::string& /*failure*/) { return true; }
  virtual void endTask() {}
  // Empty while the line works; once the port has hung up or failed (adapter unplugged),
  // the port and the system's reason. Nothing passes any more until the port is reopened.
  virtual std::string lineLossReason() { return {}; }
};

}  // namespace zelmot::exchange
