#pragma once
// The name the table export suggests: the configuration's file name (or "Параметры" when
// the document has none) without ".zel", with ".dbf", in the configuration's folder.
#include <string>

namespace zelmot::app {

std::string suggestedTableName(const std::string& configurationPath);

}  // namespace zelmot::app
