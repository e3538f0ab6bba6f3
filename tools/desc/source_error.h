#pragma once
// A problem found in a model source or in a set of description files: where it is (file
// and line, or file and record) and what is wrong. Problems are values; nothing here throws.
#include <string>
#include <vector>

namespace zelmot::desc {

struct SourceError {
  std::string file;
  int line = 0;  // 1-based; 0 when the place is not a line of a text file
  std::string message;
};

using SourceErrors = std::vector<SourceError>;

// "file:line: message", or "file: message" without a line.
std::string formatError(const SourceError& error);

}  // namespace zelmot::desc
