#pragma once
// The --log trace: one line per frame in and out, with the command's name where the device
// knows it, the address and the data bytes, for people who debug a line.
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "parameter_store.h"

namespace zelmot::sim {

// Name of a command code: catalogue names, service and calibration commands; "?" else.
std::string commandName(const ParameterStore& store, uint16_t command);

class FrameLog {
public:
  FrameLog(std::ostream* out, const ParameterStore& store) : out_(out), store_(store) {}

  void request(int address, int requestFlag, uint16_t command, const uint8_t* data,
               size_t length, const char* note);
  void reply(int address, uint16_t command, const std::vector<uint8_t>& data, const char* note);
  void damaged(const std::string& lineFrame);
  void note(const std::string& text);

private:
  void frame(const char* direction, int address, const char* kind, uint16_t command,
             const uint8_t* data, size_t length, const char* note);

  std::ostream* out_;
  const ParameterStore& store_;
};

}  // namespace zelmot::sim
