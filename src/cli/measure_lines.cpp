#include "cli/measure_lines.h"

#include <algorithm>

#include "cli/parameter_ref.h"
#include "model/parameter.h"
#include "platform/ascii_text.h"

namespace zelmot::cli {
namespace {

bool sameName(const model::Parameter& parameter, const std::string& name) {
  return equalsIgnoreCase(parameter.name(), name);
}

std::string csvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

}  // namespace

bool selectPolled(const std::vector<model::Parameter*>& polled,
                  const std::vector<std::string>& names, std::vector<model::Parameter*>& chosen,
                  std::string& error) {
  chosen.clear();
  if (names.empty()) {
    chosen = polled;
    return true;
  }
  for (const std::string& text : names) {
    ParameterRef ref;
    if (!parseParameterRef(text, ref)) {
      error = "Неверное имя параметра: " + text;
      return false;
    }
    bool found = false;
    for (model::Parameter* parameter : polled) {
      // A polled element carries its index as the request index.
      if (!sameName(*parameter, ref.name) || (ref.hasIndex && parameter->requestIndex() != ref.index)) {
        continue;
      }
      found = true;
      if (std::find(chosen.begin(), chosen.end(), parameter) == chosen.end()) chosen.push_back(parameter);
    }
    if (!found) {
      error = "Параметр " + text + " не входит в дерево измерений";
      return false;
    }
  }
  return true;
}

std::string polledLabel(const model::Parameter& parameter,
                        const std::vector<model::Parameter*>& polled) {
  const auto sharing = std::count_if(polled.begin(), polled.end(), [&](const model::Parameter* other) {
    return sameName(*other, parameter.name());
  });
  if (sharing < 2) return parameter.name();
  return parameter.name() + ":" + std::to_string(parameter.requestIndex());
}

std::string localTimeText(std::time_t time) {
  std::tm local{};
  localtime_r(&time, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

std::string plainLine(const ReadingLine& line) {
  std::string text = line.time + "\t" + line.label + "\t" + line.value;
  if (!line.error.empty()) text += "\t" + line.error;
  return text;
}

std::string csvLine(const ReadingLine& line) {
  return csvField(line.time) + "," + csvField(line.label) + "," + csvField(line.value) + "," +
         csvField(line.error);
}

}  // namespace zelmot::cli
