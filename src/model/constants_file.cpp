// zelmot.tree.const: a text of "name value" pairs with every byte complemented.
#include <climits>

#include "model/description_files.h"
#include "platform/ascii_text.h"

namespace zelmot::model {

namespace {

constexpr uint8_t kComplement = 0xFF;

bool isSeparator(char c) { return c == ' ' || c == '\t' || c == '\n'; }

}  // namespace

std::vector<std::string> constantsTokens(const std::vector<uint8_t>& file) {
  std::vector<std::string> tokens;
  std::string token;
  for (uint8_t stored : file) {
    const char c = static_cast<char>(stored ^ kComplement);
    if (c == '\0') break;  // an original zero or a stored 0xFF ends the text
    if (isSeparator(c)) {
      if (!token.empty()) tokens.push_back(toLowerAscii(token));
      token.clear();
    } else {
      token.push_back(c);
    }
  }
  if (!token.empty()) tokens.push_back(toLowerAscii(token));
  return tokens;
}

int constantValue(const std::string& token) {
  size_t pos = 0;
  // Like the C number conversion: leading white space (a carriage return) is skipped.
  while (pos < token.size() && (token[pos] == '\r' || token[pos] == '\v' || token[pos] == '\f')) {
    ++pos;
  }
  bool negative = false;
  if (pos < token.size() && (token[pos] == '+' || token[pos] == '-')) {
    negative = token[pos] == '-';
    ++pos;
  }
  long long value = 0;
  for (; pos < token.size() && token[pos] >= '0' && token[pos] <= '9'; ++pos) {
    value = value * 10 + (token[pos] - '0');
    if (value > INT_MAX) value = INT_MAX + 1LL;  // saturate instead of overflowing
  }
  if (negative) value = -value;
  if (value > INT_MAX) value = INT_MAX;
  return static_cast<int>(value);
}

bool findConstantToken(const std::vector<std::string>& tokens, const std::string& name,
                       int& value) {
  for (size_t i = 0; i < tokens.size(); ++i) {
    if (!equalsIgnoreCase(tokens[i], name)) continue;
    if (i + 1 == tokens.size()) return false;  // the name ends the text: no value given
    value = constantValue(tokens[i + 1]);
    return true;
  }
  return false;
}

std::vector<uint8_t> encodeConstants(const ConstantsText& constants) {
  std::string text;
  for (const ConstantEntry& entry : constants) {
    text += entry.name + " " + std::to_string(entry.value) + "\r\n";
  }
  std::vector<uint8_t> file;
  file.reserve(text.size());
  for (char c : text) file.push_back(static_cast<uint8_t>(c) ^ kComplement);
  return file;
}

ConstantsText decodeConstants(const std::vector<uint8_t>& file) {
  const std::vector<std::string> tokens = constantsTokens(file);
  ConstantsText constants;
  for (size_t i = 0; i + 1 < tokens.size(); i += 2) {
    constants.push_back({tokens[i], constantValue(tokens[i + 1])});
  }
  return constants;
}

bool findConstant(const ConstantsText& constants, const std::string& name, int& value) {
  for (const ConstantEntry& entry : constants) {
    if (equalsIgnoreCase(entry.name, name)) {
      value = entry.value;
      return true;
    }
  }
  return false;
}

}  // namespace zelmot::model
