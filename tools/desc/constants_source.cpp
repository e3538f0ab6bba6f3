#include "model_source.h"
#include "yaml_reader.h"

namespace zelmot::desc {

// constants:
//   nObj: 2
bool readConstantsSource(const std::filesystem::path& file, SourceModel& model, SourceErrors& errors) {
  size_t before = errors.size();
  YamlReader reader(file.string(), errors);
  model.constantsFile = {file.string(), 0};
  YAML::Node root;
  if (!reader.load(root)) return false;
  if (!reader.isMap(root, "файл констант") || !reader.onlyKeys(root, {"constants"})) return false;
  const YAML::Node& constants = root["constants"];
  if (!constants) {
    reader.error(root, "нет ключа 'constants'");
    return false;
  }
  if (!reader.isMap(constants, "constants")) return false;
  for (const auto& pair : constants) {
    int32_t value = 0;
    if (!reader.scalarInteger(pair.second, value)) continue;
    model.constants.push_back({pair.first.Scalar(), value});
    model.constantPlaces.push_back({file.string(), reader.line(pair.first)});
  }
  return errors.size() == before;
}

}  // namespace zelmot::desc
