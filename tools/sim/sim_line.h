#pragma once
// The simulator's end of the line: the master side of a pseudo-terminal it creates, or a
// real serial device. For a pseudo-terminal it keeps a descriptor of the slave open
// itself, so that the master does not report a hang-up (and poll does not spin) while no
// host has the slave open.
#include <string>

#include "network_settings.h"

namespace zelmot::sim {

class SimLine {
public:
  SimLine() = default;
  ~SimLine();
  SimLine(const SimLine&) = delete;
  SimLine& operator=(const SimLine&) = delete;

  // Creates a pseudo-terminal pair; `slavePath` is where a host opens it.
  bool openPseudoTerminal(std::string& slavePath, std::string& error);
  // Opens a serial device and configures it (raw, the given line settings).
  bool openDevice(const std::string& path, const NetworkSettings& settings, std::string& error);
  // Line settings of a real device; a pseudo-terminal has none to change.
  bool applySettings(const NetworkSettings& settings, std::string& error);

  int fd() const { return fd_; }
  bool isOpen() const { return fd_ >= 0; }
  bool isPseudoTerminal() const { return slaveFd_ >= 0; }

  // Bytes read into `buffer`: >0 data, 0 nothing waiting, -1 the line is gone.
  long readSome(char* buffer, size_t size);
  // Writes the whole text, waiting (bounded) while the line is full. False when it fails.
  bool writeAll(const std::string& text);
  // Waits (bounded) until what was written has left: on a pseudo-terminal, until the host
  // has read it, since closing the master discards what the slave has not read yet.
  void drain(int timeoutMs);
  // Closes the line as an unplugged adapter would: the host sees a hang-up.
  void hangUp();

private:
  int fd_ = -1;
  int slaveFd_ = -1;
};

}  // namespace zelmot::sim
