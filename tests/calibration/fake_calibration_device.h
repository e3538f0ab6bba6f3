#pragma once
// A calibration device in memory: a healthy device by default, with scripted replies per
// command taken first, and a record of every command sent ("CLB.I [04 04]").
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "calibration/calibration_device.h"

namespace zelmot::calibration::testing {

class FakeCalibrationDevice final : public CalibrationDevice {
public:
  // The sensor-type enumeration of the device model, and the shown value of every input.
  FakeCalibrationDevice();

  std::string sensorTypeText(int input) override { return shown[static_cast<size_t>(input)]; }
  std::string readSensorType(int input) override;
  std::vector<std::string> sensorTypeNames(int) override { return names; }
  std::string writeSensorType(int input, int valueIndex) override;
  CommandReply command(const char* name, int requestFlag,
                       const std::vector<uint8_t>& data) override;

  // The next replies of a command, before the healthy ones.
  void script(const std::string& name, std::initializer_list<CommandReply> replies);
  static CommandReply reply(std::vector<uint8_t> data) { return {true, std::move(data), {}}; }
  static CommandReply failure(std::string text) { return {false, {}, std::move(text)}; }
  // The names of the commands sent, in order.
  std::vector<std::string> commandNames() const;

  std::vector<std::string> names;          // in-t's value names
  std::vector<std::string> shown;          // per input
  std::vector<std::string> onDevice;       // what a read of each input gives
  std::deque<std::string> readFailures;    // error texts of the next reads
  std::deque<std::string> writeFailures;   // error texts of the next writes
  std::vector<std::string> sent;           // every command and in-t write, as text
  int reads = 0;

private:
  CommandReply healthy(const std::string& name, const std::vector<uint8_t>& data) const;
  std::map<std::string, std::deque<CommandReply>> scripted_;
};

}  // namespace zelmot::calibration::testing
