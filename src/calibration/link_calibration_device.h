#pragma once
// The calibration's way to the device over the document's device link: in-t through the
// exchange engine (so that the tree shows what was read) and the calibration commands as
// plain transactions to the device's configured address.
#include <functional>

#include "calibration/calibration_device.h"

namespace zelmot::exchange {
class DeviceLink;
}
namespace zelmot::model {
class Parameter;
}

namespace zelmot::calibration {

class LinkCalibrationDevice final : public CalibrationDevice {
public:
  // `sensorType` finds the catalogue's in-t parameter of an input (null when none).
  using SensorTypeFinder = std::function<model::Parameter*(int input)>;

  LinkCalibrationDevice(exchange::DeviceLink& link, SensorTypeFinder sensorType);

  std::string sensorTypeText(int input) override;
  std::string readSensorType(int input) override;
  std::vector<std::string> sensorTypeNames(int input) override;
  std::string writeSensorType(int input, int valueIndex) override;
  CommandReply command(const char* name, int requestFlag,
                       const std::vector<uint8_t>& data) override;

private:
  bool portReady(std::string& errorText);

  exchange::DeviceLink& link_;
  SensorTypeFinder sensorType_;
};

}  // namespace zelmot::calibration
