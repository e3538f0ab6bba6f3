#pragma once
// The model source (a folder of YAML files) read into description records, each record
// remembering the file and line it came from so that later checks can point there.
//
//   MODEL_DIR/constants.yaml       the structural constants
//   MODEL_DIR/parameters/*.yaml    the catalogue, files taken in name order
//   MODEL_DIR/tree.yaml            the main tree
//   MODEL_DIR/tree_op.yaml         the measurement tree
#include <filesystem>
#include <string>
#include <vector>

#include "model/description_records.h"
#include "source_error.h"

namespace zelmot::desc {

struct SourcePlace {
  std::string file;
  int line = 0;
};

struct SourceCatalogue {
  std::vector<model::CatalogueRecord> records;
  std::vector<SourcePlace> places;
};

struct SourceTree {
  std::vector<model::TreeRecord> records;
  std::vector<SourcePlace> places;
};

struct SourceModel {
  model::ConstantsText constants;
  std::vector<SourcePlace> constantPlaces;
  SourcePlace constantsFile;
  SourceCatalogue catalogue;
  SourceTree mainTree;
  SourceTree measurementTree;
};

inline constexpr const char* kConstantsSource = "constants.yaml";
inline constexpr const char* kParametersSource = "parameters";
inline constexpr const char* kMainTreeSource = "tree.yaml";
inline constexpr const char* kMeasurementTreeSource = "tree_op.yaml";

bool readConstantsSource(const std::filesystem::path& file, SourceModel& model, SourceErrors& errors);
bool readCatalogueSource(const std::filesystem::path& file, SourceCatalogue& catalogue,
                         SourceErrors& errors);
// The catalogue must be read first: references name its parameters.
bool readTreeSource(const std::filesystem::path& file, const std::vector<model::CatalogueRecord>& catalogue,
                    SourceTree& tree, SourceErrors& errors);

// Reads the whole folder; false when any file has an error.
bool readModelSource(const std::filesystem::path& dir, SourceModel& model, SourceErrors& errors);

}  // namespace zelmot::desc
