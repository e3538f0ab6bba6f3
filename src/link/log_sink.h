#pragma once
// Where the byte-by-byte exchange log goes: one text line per entry (a list in the
// progress dialog, the terminal in the CLI, a vector in tests).
#include <string>

namespace zelmot::link {

class LogSink {
public:
  virtual ~LogSink() = default;
  virtual void addLine(const std::string& line) = 0;
};

}  // namespace zelmot::link
