#include "source_error.h"

namespace zelmot::desc {

std::string formatError(const SourceError& error) {
  std::string text = error.file;
  if (error.line > 0) text.append(":").append(std::to_string(error.line));
  if (!text.empty()) text += ": ";
  return text + error.message;
}

}  // namespace zelmot::desc
