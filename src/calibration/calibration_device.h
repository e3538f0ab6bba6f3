#pragma once
// What the calibration dialogs need of the device: the sensor type of an input (the
// displayed value of its in-t parameter, a read of it, the enumeration's value names and
// the write of a new value) and the raw calibration commands. The program's implementation
// goes over the device link; tests give a scripted one.
#include <cstdint>
#include <string>
#include <vector>

namespace zelmot::calibration {

struct CommandReply {
  bool ok = false;            // the transaction succeeded
  std::vector<uint8_t> data;  // the reply's data bytes (when ok)
  std::string errorText;      // why it failed (when not ok)
};

class CalibrationDevice {
public:
  virtual ~CalibrationDevice() = default;

  // The value text of in-t of the input as the tree shows it.
  virtual std::string sensorTypeText(int input) = 0;
  // Reads in-t of the input from the device; the parameter's error text ("" on success).
  virtual std::string readSensorType(int input) = 0;
  // The value names of in-t's enumeration, "_" already made blanks.
  virtual std::vector<std::string> sensorTypeNames(int input) = 0;
  // Writes the value index to in-t of the input with the three-byte write (index, 0,
  // input), then reads the parameter back. "" on success, else the parameter's error text.
  virtual std::string writeSensorType(int input, int valueIndex) = 0;

  // One calibration command (CLB.I ...) with its request bit and data bytes.
  virtual CommandReply command(const char* name, int requestFlag,
                               const std::vector<uint8_t>& data) = 0;
};

}  // namespace zelmot::calibration
