#pragma once
// The --calibration-fault option: which failure a calibration run of the simulated device
// shows, one for each path the host's calibration dialogs handle.
#include <string>

#include "sim_options.h"

namespace zelmot::sim {

// The forms the option takes, for the help.
inline constexpr const char* kCalibrationFaultHelp =
    "status:CODE - измерения завершаются с этим кодом состояния (1..127); coefficient:N - "
    "коэффициент N (1..4) ошибочен; unfinished - измерения не завершаются; refuse-commit:N - "
    "первые N команд CLB.P прохода отклоняются (код 15); reply-size:N - CLB.G отвечает N "
    "байтами (0..4); refuse:CLB.X - команда CLB.I, CLB.S, CLB.T, CLB.G или CLB.P получает "
    "n.Err; refuse-sensor-type - запись in-t получает n.Err";

bool parseCalibrationFault(const std::string& text, CalibrationFault& fault, std::string& error);

}  // namespace zelmot::sim
