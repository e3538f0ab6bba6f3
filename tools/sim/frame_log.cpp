#include "frame_log.h"

#include <cstdio>

#include "link/frame_codec.h"

namespace zelmot::sim {

std::string commandName(const ParameterStore& store, uint16_t command) {
  static const char* const kServiceNames[] = {"M.s.t.r.", "n.Err", "dev",   "ver",   "exit",
                                              "APLY",     "CLB.I", "CLB.S", "CLB.T", "CLB.G",
                                              "CLB.P",    "CLB.A"};
  for (const char* name : kServiceNames) {
    if (link::name_hash(name) == command) return name;
  }
  std::string name = store.nameOf(command);
  return name.empty() ? "?" : name;
}

void FrameLog::frame(const char* direction, int address, const char* kind, uint16_t command,
                     const uint8_t* data, size_t length, const char* note) {
  if (out_ == nullptr) return;
  char head[96];
  std::snprintf(head, sizeof head, "%s addr=%d %s 0x%04X ", direction, address, kind, command);
  std::string line = head + commandName(store_, command) + " [";
  for (size_t i = 0; i < length; ++i) {
    char byte[4];
    std::snprintf(byte, sizeof byte, i == 0 ? "%02X" : " %02X", data[i]);
    line += byte;
  }
  line += "]";
  if (note != nullptr && *note != '\0') line += std::string(" ") + note;
  *out_ << line << '\n' << std::flush;
}

void FrameLog::request(int address, int requestFlag, uint16_t command, const uint8_t* data,
                       size_t length, const char* note) {
  frame("<-", address, requestFlag != 0 ? "read " : "write", command, data, length, note);
}

void FrameLog::reply(int address, uint16_t command, const std::vector<uint8_t>& data,
                     const char* note) {
  frame("->", address, "reply", command, data.data(), data.size(), note);
}

void FrameLog::damaged(const std::string& lineFrame) {
  if (out_ == nullptr) return;
  std::string shown;
  for (unsigned char c : lineFrame) {
    if (c >= 0x20 && c < 0x7F) {
      shown.push_back(static_cast<char>(c));
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
      shown += escaped;
    }
  }
  *out_ << "<- damaged frame " << shown << '\n' << std::flush;
}

void FrameLog::note(const std::string& text) {
  if (out_ != nullptr) *out_ << "-- " << text << '\n' << std::flush;
}

}  // namespace zelmot::sim
