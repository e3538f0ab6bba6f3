#pragma once
// The fixed texts and lists of the calibration set-up: the calibration types, the sensor
// lists with the value index of the input's sensor-type enumeration each entry writes, and
// the operator instructions for the conversion-characteristic calibration.
#include <span>
#include <string>

namespace zelmot::calibration {

inline constexpr const char* kSetupCaption = "Создание юстировки";
inline constexpr const char* kSensorLabel = "Тип датчика";
inline constexpr const char* kInputLabel = "Номер канала";
inline constexpr const char* kCodeLabel = "Введите код доступа";
inline constexpr const char* kContinueButton = "Продолжить";
inline constexpr const char* kCancelButton = "Отмена";

inline constexpr int kTypeCount = 5;  // type 0 ("not chosen") and the four types
inline constexpr int kInputCount = 8;
inline constexpr int kCodeSpinMaximum = 1000;

// The type list's entry and the description shown under it; type 4's entry ends its first
// word with a Latin "a", as the device's documentation always wrote it.
const char* typeEntry(int type);
const char* typeDescription(int type);

struct SensorEntry {
  const char* text;
  int valueIndex;     // position in the in-t enumeration
  int instruction;    // 1..9 for type 1, 0 elsewhere
};

// The sensor list of a type (empty for types 0 and 3).
std::span<const SensorEntry> sensorEntries(int type);

// "Вход №1" ... "Вход №8".
std::string inputEntry(int input);

// The operator instruction I1..I9 of the conversion-characteristic calibration.
std::string instructionText(int instruction);

// Type 4's list selection for a sensor-type value index; -1 when none fits.
int positionSensorSelection(int valueIndex);

}  // namespace zelmot::calibration
