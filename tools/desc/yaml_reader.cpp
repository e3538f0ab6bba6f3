#include "yaml_reader.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>

namespace zelmot::desc {

bool YamlReader::load(YAML::Node& root) {
  std::ifstream in(file_, std::ios::binary);
  if (!in) {
    errors_.push_back({file_, 0, "файл не открывается"});
    return false;
  }
  std::stringstream content;
  content << in.rdbuf();
  try {
    root = YAML::Load(content.str());
  } catch (const YAML::Exception& e) {
    errors_.push_back({file_, e.mark.line + 1, e.msg});
    return false;
  }
  return true;
}

void YamlReader::error(const YAML::Node& node, const std::string& message) {
  errors_.push_back({file_, line(node), message});
}

bool YamlReader::onlyKeys(const YAML::Node& map, std::initializer_list<const char*> allowed) {
  bool ok = true;
  for (const auto& pair : map) {
    std::string key = pair.first.Scalar();
    bool known = false;
    for (const char* name : allowed) known = known || key == name;
    if (!known) {
      error(pair.first, "неизвестный ключ '" + key + "'");
      ok = false;
    }
  }
  return ok;
}

bool YamlReader::isMap(const YAML::Node& node, const char* what) {
  if (node.IsMap()) return true;
  error(node, std::string(what) + ": ожидается отображение (ключ: значение)");
  return false;
}

bool YamlReader::isSequence(const YAML::Node& node, const char* what) {
  if (node.IsSequence()) return true;
  error(node, std::string(what) + ": ожидается список");
  return false;
}

bool YamlReader::text(const YAML::Node& map, const char* key, std::string& value) {
  YAML::Node node = map[key];
  if (!node) return true;
  if (!node.IsScalar()) {
    error(node, std::string("'") + key + "': ожидается текст");
    return false;
  }
  value = node.Scalar();
  return true;
}

bool YamlReader::scalarInteger(const YAML::Node& node, int32_t& value) {
  const std::string& s = node.IsScalar() ? node.Scalar() : std::string();
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size()) {
    error(node, "ожидается целое число, а не '" + s + "'");
    return false;
  }
  return true;
}

bool YamlReader::integer(const YAML::Node& map, const char* key, int32_t& value) {
  YAML::Node node = map[key];
  return !node || scalarInteger(node, value);
}

bool YamlReader::byte(const YAML::Node& map, const char* key, uint8_t& value) {
  YAML::Node node = map[key];
  if (!node) return true;
  const std::string s = node.IsScalar() ? node.Scalar() : std::string();
  if (s == "true" || s == "false") {
    value = s == "true" ? 1 : 0;
    return true;
  }
  int32_t number = 0;
  if (!scalarInteger(node, number)) return false;
  if (number < 0 || number > 255) {
    error(node, std::string("'") + key + "': значение вне 0..255");
    return false;
  }
  value = static_cast<uint8_t>(number);
  return true;
}

bool YamlReader::real(const YAML::Node& map, const char* key, float& value) {
  YAML::Node node = map[key];
  if (!node) return true;
  const std::string s = node.IsScalar() ? node.Scalar() : std::string();
  float parsed = 0.0f;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), parsed);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size()) {
    error(node, std::string("'") + key + "': ожидается число, а не '" + s + "'");
    return false;
  }
  value = parsed;
  return true;
}

}  // namespace zelmot::desc
