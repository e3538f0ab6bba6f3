#pragma once
// The single-parameter exchanges a dialog of special parameters needs (the clock, the
// graphs), behind one small interface so that the dialog states can be tested with a
// script and run against the document's link otherwise. Calls do device I/O: never on
// the window's thread.
#include <cstdint>

namespace zelmot::exchange {
class DeviceLink;
}
namespace zelmot::model {
class DescBranch;
class Parameter;
}  // namespace zelmot::model

namespace zelmot::app {

class ParameterDevice {
public:
  virtual ~ParameterDevice() = default;
  // Repeated time-outs have put the link in its device-absent state: nothing is exchanged.
  virtual bool absent() const = 0;
  // 0 on success (the exchange engine's results otherwise); the reason is the error text.
  virtual int read(model::Parameter& parameter) = 0;
  virtual int write(model::Parameter& parameter) = 0;
  // Writes the changed parameters of the branch; the number that failed.
  virtual int writeChanged(model::DescBranch& branch) = 0;
};

// Over the document's link: single exchanges through its engine, the branch write as a
// task of its exchange thread (waited for).
class LinkParameterDevice final : public ParameterDevice {
public:
  explicit LinkParameterDevice(exchange::DeviceLink& link) : link_(link) {}
  bool absent() const override;
  int read(model::Parameter& parameter) override;
  int write(model::Parameter& parameter) override;
  int writeChanged(model::DescBranch& branch) override;

private:
  exchange::DeviceLink& link_;
};

}  // namespace zelmot::app
