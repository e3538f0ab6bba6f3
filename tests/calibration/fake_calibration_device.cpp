#include "fake_calibration_device.h"

#include <cstdio>

namespace zelmot::calibration::testing {

FakeCalibrationDevice::FakeCalibrationDevice()
    : names{"Датчик отключен", "ТСМ 100М W100=1,426 '00'", "ТСМ 50М W100=1,426 '01'"},
      shown(8, "Нет данных"),
      onDevice(8, "ТСМ 50М W100=1,426 '01'") {
  for (int code = 2; code <= 24; ++code) names.push_back("Код " + std::to_string(code));
  names.push_back("Датчик положения резистивный '40'");
  names.push_back("Датчик положения 0(4)…20 мА '41'");
  names.push_back("Датчик положения 0…5 мА '42'");
}

std::string FakeCalibrationDevice::readSensorType(int input) {
  ++reads;
  if (!readFailures.empty()) {
    std::string failure = readFailures.front();
    readFailures.pop_front();
    return failure;
  }
  shown[static_cast<size_t>(input)] = onDevice[static_cast<size_t>(input)];
  return {};
}

std::string FakeCalibrationDevice::writeSensorType(int input, int valueIndex) {
  sent.push_back("in-t " + std::to_string(valueIndex) + " -> " + std::to_string(input));
  if (!writeFailures.empty()) {
    std::string failure = writeFailures.front();
    writeFailures.pop_front();
    return failure;
  }
  onDevice[static_cast<size_t>(input)] = names[static_cast<size_t>(valueIndex)];
  return readSensorType(input);
}

CommandReply FakeCalibrationDevice::command(const char* name, int, const std::vector<uint8_t>& data) {
  std::string line = std::string(name) + " [";
  for (size_t i = 0; i < data.size(); ++i) {
    char byte[4];
    std::snprintf(byte, sizeof byte, i == 0 ? "%02X" : " %02X", data[i]);
    line += byte;
  }
  sent.push_back(line + "]");
  auto& queue = scripted_[name];
  if (!queue.empty()) {
    CommandReply next = queue.front();
    queue.pop_front();
    return next;
  }
  return healthy(name, data);
}

CommandReply FakeCalibrationDevice::healthy(const std::string& name,
                                            const std::vector<uint8_t>& data) const {
  if (name == "CLB.S") return reply({0x80, 0});
  if (name == "CLB.T") return reply({0, 0x80, 0});
  if (name == "CLB.G") return reply({data.empty() ? uint8_t{0} : data[0], 0x3F, 0x80, 0, 0});
  if (name == "CLB.P") return reply({0xC0, 0});
  if (name == "CLB.I") return reply({0x01, 0});
  return reply({0, 0});
}

void FakeCalibrationDevice::script(const std::string& name,
                                   std::initializer_list<CommandReply> replies) {
  for (const CommandReply& r : replies) scripted_[name].push_back(r);
}

std::vector<std::string> FakeCalibrationDevice::commandNames() const {
  std::vector<std::string> result;
  for (const std::string& line : sent) result.push_back(line.substr(0, line.find(' ')));
  return result;
}

}  // namespace zelmot::calibration::testing
