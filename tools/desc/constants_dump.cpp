#include <cctype>

#include "model/description_files.h"
#include "model_dumper.h"
#include "yaml_writer.h"

namespace zelmot::desc {

bool readConstantsExactly(const std::string& path, model::ConstantsText& constants, std::string& error) {
  std::vector<uint8_t> bytes;
  if (!model::readFileBytes(path, bytes, error)) return false;
  std::string text;
  for (uint8_t b : bytes) {
    uint8_t plain = static_cast<uint8_t>(~b);
    if (plain == 0) break;
    text += static_cast<char>(plain);
  }
  std::vector<std::string> tokens;
  std::string token;
  for (char c : text + " ") {
    if (c == ' ' || c == '\t' || c == '\n') {
      if (!token.empty()) tokens.push_back(token);
      token.clear();
    } else if (c != '\r') {
      token += c;
    }
  }
  if (tokens.size() % 2 != 0) {
    error = path + ": у константы '" + tokens.back() + "' нет значения";
    return false;
  }
  for (size_t i = 0; i < tokens.size(); i += 2) {
    const std::string& value = tokens[i + 1];
    size_t digits = value[0] == '-' || value[0] == '+' ? 1 : 0;
    bool number = digits < value.size();
    for (size_t k = digits; k < value.size(); ++k) number = number && std::isdigit(static_cast<unsigned char>(value[k]));
    if (!number || value.size() > 9) {
      error = path + ": значение константы '" + tokens[i] + "' не является целым числом: '" + value + "'";
      return false;
    }
    constants.push_back({tokens[i], std::stoi(value)});
  }
  return true;
}

std::string dumpConstants(const model::ConstantsText& constants) {
  std::string yaml = "# Structural constants of the device model (8-bit values).\nconstants:\n";
  for (const auto& entry : constants) yaml += "  " + yamlQuoted(entry.name) + ": " + std::to_string(entry.value) + "\n";
  return yaml;
}

}  // namespace zelmot::desc
