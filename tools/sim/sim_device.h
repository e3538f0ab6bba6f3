#pragma once
// The simulated device without its line: takes one decoded request and gives the reply a
// ZELMOT would send. Parameters come from the catalogue; service commands, attributes,
// calibration, the clock and the living values are handled here as well. Not thread-safe:
// one server thread owns it.
#include <chrono>
#include <cstdint>
#include <vector>

#include "calibration_process.h"
#include "device_clock.h"
#include "device_errors.h"
#include "network_settings.h"
#include "parameter_store.h"
#include "process_model.h"
#include "sim_options.h"

namespace zelmot::sim {

struct DeviceRequest {
  int address = 0;
  int requestFlag = 0;
  uint16_t command = 0;
  std::vector<uint8_t> data;
};

struct DeviceReply {
  uint16_t command = 0;
  std::vector<uint8_t> data;
};

struct DeviceTime {
  std::chrono::steady_clock::time_point steady = std::chrono::steady_clock::now();
  std::chrono::system_clock::time_point wall = std::chrono::system_clock::now();
};

class SimDevice {
public:
  enum class Audience { Other, Broadcast, Own };

  SimDevice(const SimOptions& options, ParameterStore store,
            std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now());

  // Whom a frame with this address is for, under the addressing in force.
  Audience audience(int address) const;
  DeviceReply handle(const DeviceRequest& request, const DeviceTime& time = {});

  // A frame that arrived damaged counts as a request/reply error.
  void noteLineError() { ++errorCount_; }
  uint32_t errorCount() const { return errorCount_; }
  void setErrorCount(uint32_t count) { errorCount_ = count; }

  const NetworkSettings& network() const { return network_; }
  void setNetwork(const NetworkSettings& settings);
  ParameterStore& store() { return store_; }
  DeviceClock& clock() { return clock_; }

private:
  DeviceReply error(DeviceError code);
  DeviceReply accessParameter(const DeviceRequest& request, int addressIndex,
                              const DeviceTime& time);
  DeviceReply readParameter(StoredParameter& parameter, int addressIndex, const DeviceTime& time);
  DeviceReply writeParameter(StoredParameter& parameter, const uint8_t* value, size_t length,
                             const DeviceTime& time);
  DeviceError checkWrite(StoredParameter& parameter, const std::string& newText);
  DeviceReply readMeasurement(const StoredParameter& parameter, int addressIndex,
                              const DeviceTime& time);
  void refreshDiscreteInputs(StoredParameter& parameter) const;

  // Service commands (service_commands.cpp).
  bool isServiceCommand(uint16_t command) const;
  DeviceReply handleService(const DeviceRequest& request, int addressIndex);
  DeviceReply handleIdentity(const DeviceRequest& request, const std::vector<uint8_t>& answer);
  DeviceReply handleErrorCounter(const DeviceRequest& request);
  DeviceReply handleApply(const DeviceRequest& request);
  DeviceReply handleAttributes(const DeviceRequest& request, int addressIndex);

  SimOptions options_;
  ParameterStore store_;
  NetworkSettings network_;
  DeviceClock clock_;
  ProcessModel process_;
  CalibrationProcess calibration_;
  uint32_t errorCount_ = 0;
};

}  // namespace zelmot::sim
