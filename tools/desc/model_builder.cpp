#include "model_builder.h"

#include <algorithm>
#include <system_error>

#include "model/description_files.h"
#include "model_rules.h"

namespace zelmot::desc {
namespace {

namespace fs = std::filesystem;

void placeProblems(const RecordProblems& problems, const std::vector<SourcePlace>& places,
                   const SourcePlace& whole, SourceErrors& errors) {
  for (const auto& problem : problems) {
    const SourcePlace& place = problem.record < places.size() ? places[problem.record] : whole;
    errors.push_back({place.file, place.line, problem.message});
  }
}

std::vector<fs::path> catalogueFiles(const fs::path& dir, SourceErrors& errors) {
  std::vector<fs::path> files;
  std::error_code ec;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
    if (it->path().extension() == ".yaml") files.push_back(it->path());
  if (ec) errors.push_back({dir.string(), 0, "папка каталога не читается: " + ec.message()});
  else if (files.empty()) errors.push_back({dir.string(), 0, "в папке каталога нет файлов *.yaml"});
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

bool readModelSource(const fs::path& dir, SourceModel& model, SourceErrors& errors) {
  size_t before = errors.size();
  readConstantsSource(dir / kConstantsSource, model, errors);
  for (const auto& file : catalogueFiles(dir / kParametersSource, errors))
    readCatalogueSource(file, model.catalogue, errors);
  if (errors.size() != before) return false;  // trees name catalogue parameters
  readTreeSource(dir / kMainTreeSource, model.catalogue.records, model.mainTree, errors);
  readTreeSource(dir / kMeasurementTreeSource, model.catalogue.records, model.measurementTree, errors);
  return errors.size() == before;
}

bool compileModel(const fs::path& modelDir, SourceModel& model, SourceErrors& errors) {
  if (!readModelSource(modelDir, model, errors)) return false;
  size_t before = errors.size();
  placeProblems(checkConstants(model.constants), model.constantPlaces, model.constantsFile, errors);
  SourcePlace catalogueDir{(modelDir / kParametersSource).string(), 0};
  placeProblems(checkCatalogueRecords(model.catalogue.records, model.constants), model.catalogue.places,
                catalogueDir, errors);
  placeProblems(checkTreeRecords(model.mainTree.records, model.catalogue.records, true), model.mainTree.places,
                {(modelDir / kMainTreeSource).string(), 0}, errors);
  placeProblems(checkTreeRecords(model.measurementTree.records, model.catalogue.records, false),
                model.measurementTree.places, {(modelDir / kMeasurementTreeSource).string(), 0}, errors);
  return errors.size() == before;
}

bool writeDescriptionFiles(const SourceModel& model, const fs::path& outDir, SourceErrors& errors) {
  std::error_code ec;
  fs::create_directories(outDir, ec);
  if (ec) {
    errors.push_back({outDir.string(), 0, "папка не создается: " + ec.message()});
    return false;
  }
  std::string error;
  auto fail = [&](const char* name) {
    errors.push_back({(outDir / name).string(), 0, error});
    return false;
  };
  if (!model::writeConstantsFile((outDir / model::kConstantsFileName).string(), model.constants, error))
    return fail(model::kConstantsFileName);
  if (!model::writeCatalogueFile((outDir / model::kCatalogueFileName).string(), model.catalogue.records, error))
    return fail(model::kCatalogueFileName);
  if (!model::writeTreeFile((outDir / model::kMainTreeFileName).string(), model.mainTree.records, error))
    return fail(model::kMainTreeFileName);
  if (!model::writeTreeFile((outDir / model::kMeasurementTreeFileName).string(), model.measurementTree.records,
                            error))
    return fail(model::kMeasurementTreeFileName);
  return true;
}

bool buildModel(const fs::path& modelDir, const fs::path& outDir, SourceErrors& errors) {
  SourceModel model;
  return compileModel(modelDir, model, errors) && writeDescriptionFiles(model, outDir, errors);
}

}  // namespace zelmot::desc
