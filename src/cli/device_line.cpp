#include "cli/device_line.h"

#include <cerrno>
#include <cstdio>
#include <system_error>

#include "cli/exit_codes.h"
#include "cli/session.h"

namespace zelmot::cli {

std::string noPortText(const std::vector<app::SerialPortEntry>& ports) {
  std::string text =
      "Порт не задан: укажите его параметром --port (путь к устройству или COMn) или сохраните "
      "в настройках программы.\n";
  if (ports.empty()) return text + "Последовательные порты не найдены.\n";
  text += "Найденные последовательные порты:\n";
  for (const app::SerialPortEntry& port : ports) text += "  " + app::portLabel(port) + "\n";
  return text;
}

std::string portOpenFailureText(const std::string& name, const std::string& path,
                                const std::string& reason, bool permissionDenied) {
  std::string port = name;
  if (!path.empty() && path != name) port += " (" + path + ")";
  std::string text = "Неудается открыть порт " + port +
                     ". Связь с сетью отсутствует. Проверьте сетевые параметры";
  if (!reason.empty()) text += "\nПричина: " + reason;
  if (permissionDenied) {
    text += "\nДобавьте пользователя в группу dialout (sudo usermod -aG dialout $USER) и войдите "
            "в систему заново";
  }
  return text + "\n";
}

int prepareDeviceLine(Session& session) {
  if (!session.portConfigured()) {
    std::fprintf(stderr, "%s", noPortText(app::listSerialPorts()).c_str());
    return kExitUsage;
  }
  return openDeviceLine(session);
}

int openDeviceLine(Session& session) {
  link::SerialPort& port = session.doc().deviceLink().port();
  // Opened here once for the whole run, so that a port that cannot be used is reported
  // once instead of failing every parameter of the task.
  if (port.open_port() == 0) return kExitOk;
  const std::string reason = port.lastErrorText();
  port.close_port();
  std::fprintf(stderr, "%s",
               portOpenFailureText(port.portName(), port.portPath(), reason,
                                   reason == std::error_code(EACCES, std::generic_category()).message())
                   .c_str());
  return kExitNoLink;
}

}  // namespace zelmot::cli
