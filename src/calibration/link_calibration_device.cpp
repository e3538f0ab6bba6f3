#include "calibration/link_calibration_device.h"

#include "exchange/device_link.h"
#include "link/frame_codec.h"
#include "model/enumeration_codec.h"
#include "model/parameter.h"

namespace zelmot::calibration {
namespace {

constexpr const char* kSensorTypeName = "in-t";
constexpr const char* kNoSensorTypeText = "Параметр in-t этого входа не найден в описании прибора";

}  // namespace

LinkCalibrationDevice::LinkCalibrationDevice(exchange::DeviceLink& link, SensorTypeFinder sensorType)
    : link_(link), sensorType_(std::move(sensorType)) {}

std::string LinkCalibrationDevice::sensorTypeText(int input) {
  model::Parameter* parameter = sensorType_(input);
  return parameter != nullptr ? parameter->valueText() : std::string();
}

std::string LinkCalibrationDevice::readSensorType(int input) {
  model::Parameter* parameter = sensorType_(input);
  if (parameter == nullptr) return kNoSensorTypeText;
  if (link_.engine().readOne(*parameter) == 0) return {};
  const std::string error = parameter->errorText();
  return error.empty() ? kNoSensorTypeText : error;
}

std::vector<std::string> LinkCalibrationDevice::sensorTypeNames(int input) {
  model::Parameter* parameter = sensorType_(input);
  if (parameter == nullptr) return {};
  return model::enumerationItems(parameter->typeDescriptor());
}

std::string LinkCalibrationDevice::writeSensorType(int input, int valueIndex) {
  model::Parameter* parameter = sensorType_(input);
  if (parameter == nullptr) return kNoSensorTypeText;
  const CommandReply written = command(
      kSensorTypeName, 0,
      {static_cast<uint8_t>(valueIndex), 0, static_cast<uint8_t>(input)});
  if (!written.ok) return written.errorText;
  return readSensorType(input);
}

bool LinkCalibrationDevice::portReady(std::string& errorText) {
  if (link_.port().isOpen()) return true;
  if (link_.reopen_port() == link::OpenResult::Ok) return true;
  errorText = link_.openFailureText();
  return false;
}

CommandReply LinkCalibrationDevice::command(const char* name, int requestFlag,
                                            const std::vector<uint8_t>& data) {
  CommandReply answer;
  if (!portReady(answer.errorText)) return answer;
  link::FrameReply reply;
  answer.ok = link_.transact_frame(requestFlag, link::name_hash(name), data.data(), data.size(),
                                   reply, answer.errorText, 0) == 1;
  if (answer.ok) answer.data.assign(reply.data.begin(), reply.data.begin() + reply.length);
  return answer;
}

}  // namespace zelmot::calibration
