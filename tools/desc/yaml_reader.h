#pragma once
// Typed access to the nodes of one model source file. Every failed conversion becomes a
// SourceError with the file and line of the offending node; yaml-cpp's exceptions stay
// inside this class.
#include <yaml-cpp/yaml.h>

#include <cstdint>
#include <initializer_list>
#include <string>

#include "source_error.h"

namespace zelmot::desc {

class YamlReader {
public:
  YamlReader(std::string file, SourceErrors& errors) : file_(std::move(file)), errors_(errors) {}

  // Parses the whole file; false (with an error) when it cannot be read or parsed.
  bool load(YAML::Node& root);

  const std::string& file() const { return file_; }
  int line(const YAML::Node& node) const { return node.Mark().line + 1; }
  void error(const YAML::Node& node, const std::string& message);

  // Refuses keys of a mapping that are not in `allowed` (catches misspelt keys).
  bool onlyKeys(const YAML::Node& map, std::initializer_list<const char*> allowed);
  bool isMap(const YAML::Node& node, const char* what);
  bool isSequence(const YAML::Node& node, const char* what);

  // Each getter leaves `value` unchanged when the key is absent and returns false (with an
  // error) only when the key is present and malformed.
  bool text(const YAML::Node& map, const char* key, std::string& value);
  bool integer(const YAML::Node& map, const char* key, int32_t& value);
  bool byte(const YAML::Node& map, const char* key, uint8_t& value);  // true/false or 0..255
  bool real(const YAML::Node& map, const char* key, float& value);
  bool scalarInteger(const YAML::Node& node, int32_t& value);

private:
  std::string file_;
  SourceErrors& errors_;
};

}  // namespace zelmot::desc
