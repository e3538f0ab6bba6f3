#include "cli/device_line.h"

#include <cstdio>

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

int prepareDeviceLine(Session& session) {
  if (!session.portConfigured()) {
    std::fprintf(stderr, "%s", noPortText(app::listSerialPorts()).c_str());
    return kExitUsage;
  }
  return openDeviceLine(session);
}

int openDeviceLine(Session& session) {
  exchange::DeviceLink& link = session.doc().deviceLink();
  // Opened here once for the whole run, so that a port that cannot be used is reported
  // once instead of failing every parameter of the task.
  if (link.port().open_port() == link::OpenResult::Ok) return kExitOk;
  const std::string text = link.openFailureText();
  link.port().close_port();
  std::fprintf(stderr, "%s\n", text.c_str());
  return kExitNoLink;
}

}  // namespace zelmot::cli
