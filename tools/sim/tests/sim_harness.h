#pragma once
// A simulated device served on a pseudo-terminal by a thread of the test, and the
// program's own DeviceProtocol opened on the slave side, plus a small catalogue that has
// one parameter of every kind the device rules care about.
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "link/device_protocol.h"
#include "model/description_records.h"
#include "model/parameter.h"
#include "platform/event.h"
#include "sim_device.h"
#include "sim_line.h"
#include "sim_options.h"
#include "sim_server.h"

namespace zelmot::sim::testing {

// The test catalogue and the record numbers that the measurement tree would name.
std::vector<model::CatalogueRecord> testCatalogue();
std::set<int32_t> testOperativeRecords(const std::vector<model::CatalogueRecord>& records);
ParameterStore testStore();

class SimHarness {
public:
  explicit SimHarness(SimOptions options = {});
  // Serves another catalogue; `operative` are the record numbers the measurement tree names.
  SimHarness(SimOptions options, std::vector<model::CatalogueRecord> records,
             const std::set<int32_t>& operative);
  ~SimHarness();

  link::DeviceProtocol& link() { return link_; }
  // Stops the server thread; afterwards device() and log() may be inspected.
  SimServer::Outcome stop();
  SimDevice& device() { return *device_; }
  std::string log() const { return log_.str(); }
  const std::string& slavePath() const { return slavePath_; }

  // A host-side parameter made from the test catalogue's record of that name and index.
  std::unique_ptr<model::Parameter> parameter(const std::string& name, int32_t index = -1);

  // exchange_parameter with the result; the error text stays in the parameter.
  int read(model::Parameter& parameter);
  int write(model::Parameter& parameter, const std::string& valueText);

  // transact_frame with the raw data; the error text and reply come back.
  struct Raw {
    int result = 0;
    std::string errorText;
    link::FrameReply reply;
    std::vector<uint8_t> data() const { return {reply.data.begin(), reply.data.begin() + reply.length}; }
  };
  Raw transact(int requestFlag, const std::string& name, std::vector<uint8_t> data,
               int addressOffset = 0);

private:
  std::unique_ptr<SimDevice> device_;
  SimLine line_;
  std::string slavePath_;
  std::ostringstream log_;
  std::unique_ptr<SimServer> server_;
  Event stopEvent_{Event::Reset::Manual};
  std::thread thread_;
  SimServer::Outcome outcome_ = SimServer::Outcome::Stopped;
  bool stopped_ = false;
  link::DeviceProtocol link_;
  std::vector<model::CatalogueRecord> records_;
  std::set<std::string> operativeNames_;
};

}  // namespace zelmot::sim::testing
