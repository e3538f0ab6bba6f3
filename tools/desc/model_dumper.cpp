#include "model_dumper.h"

#include <fstream>
#include <system_error>

#include "model/description_files.h"

namespace zelmot::desc {
namespace {

namespace fs = std::filesystem;

bool writeText(const fs::path& path, const std::string& text, SourceErrors& errors) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (out) return true;
  errors.push_back({path.string(), 0, "файл не записывается"});
  return false;
}

// An existing model would be mixed with the dump (the catalogue folder is read whole).
bool prepareFolder(const fs::path& modelDir, bool overwrite, SourceErrors& errors) {
  std::error_code ec;
  const fs::path parameters = modelDir / "parameters";
  bool exists = fs::exists(modelDir / "constants.yaml", ec) || fs::exists(modelDir / "tree.yaml", ec) ||
                fs::exists(modelDir / "tree_op.yaml", ec) || fs::exists(parameters, ec);
  if (exists && !overwrite) {
    errors.push_back({modelDir.string(), 0, "в папке уже есть исходник модели; укажите --force, чтобы заменить его"});
    return false;
  }
  if (exists) {
    for (fs::directory_iterator it(parameters, ec), end; !ec && it != end; it.increment(ec))
      if (it->path().extension() == ".yaml") fs::remove(it->path(), ec);
  }
  fs::create_directories(parameters, ec);
  if (ec) {
    errors.push_back({parameters.string(), 0, "папка не создается: " + ec.message()});
    return false;
  }
  return true;
}

}  // namespace

bool dumpModel(const fs::path& dataDir, const fs::path& modelDir, bool overwrite, SourceErrors& errors) {
  model::ConstantsText constants;
  std::vector<model::CatalogueRecord> catalogue;
  std::vector<model::TreeRecord> mainTree;
  std::vector<model::TreeRecord> measurementTree;
  std::string error;
  auto fail = [&](const char* file) {
    errors.push_back({(dataDir / file).string(), 0, error});
    return false;
  };
  if (!readConstantsExactly((dataDir / model::kConstantsFileName).string(), constants, error))
    return fail(model::kConstantsFileName);
  if (!model::readCatalogueFile((dataDir / model::kCatalogueFileName).string(), catalogue, error))
    return fail(model::kCatalogueFileName);
  if (!model::readTreeFile((dataDir / model::kMainTreeFileName).string(), mainTree, error))
    return fail(model::kMainTreeFileName);
  if (!model::readTreeFile((dataDir / model::kMeasurementTreeFileName).string(), measurementTree, error))
    return fail(model::kMeasurementTreeFileName);
  std::string mainYaml;
  std::string measurementYaml;
  if (!dumpTree(mainTree, catalogue, mainYaml, error)) return fail(model::kMainTreeFileName);
  if (!dumpTree(measurementTree, catalogue, measurementYaml, error)) return fail(model::kMeasurementTreeFileName);
  if (!prepareFolder(modelDir, overwrite, errors)) return false;
  return writeText(modelDir / "constants.yaml", dumpConstants(constants), errors) &&
         writeText(modelDir / "parameters" / "catalogue.yaml", dumpCatalogue(catalogue), errors) &&
         writeText(modelDir / "tree.yaml", mainYaml, errors) &&
         writeText(modelDir / "tree_op.yaml", measurementYaml, errors);
}

}  // namespace zelmot::desc
