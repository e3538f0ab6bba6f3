#pragma once
// Writing description-file sets for the loader tests.
#include <string>
#include <tuple>
#include <vector>

#include "model/description_files.h"
#include "support/recording_prompt.h"
#include "description_support.h"

namespace zelmot::model::testing {

using test_support::RecordingPrompt;

inline ConstantsText sampleConstants() {
  return {{"nObj", 2},      {"nKey", 3},  {"maxSensors", 8}, {"n485Filter", 2},
          {"nActP", 1},     {"nOutElem", 4}, {"n_commut", 2}, {"_NODE_QN", 3},
          {"nZELCh", 4},    {"nProf", 2}, {"pStep", 5},      {"nDiskretInput", 6}};
}

inline BranchRecord branch(int32_t a, int32_t b, int32_t c, std::string name,
                           int32_t marker = 0) {
  return BranchRecord{a, b, c, 11, 22, 33, marker, std::move(name)};
}

inline ReferenceRecord reference(int32_t index, std::string caption = {}, uint8_t locked = 0) {
  return ReferenceRecord{3, index, locked, 0, std::move(caption)};
}

// Writes any of the four files that is given; fails the test on a write error.
inline void writeSet(const TempDir& dir, const ConstantsText* constants,
                     const std::vector<CatalogueRecord>* catalogue,
                     const std::vector<TreeRecord>* mainTree,
                     const std::vector<TreeRecord>* measurementTree) {
  std::string error;
  bool ok = true;
  if (constants) ok &= writeConstantsFile(dir.file(kConstantsFileName), *constants, error);
  if (catalogue) ok &= writeCatalogueFile(dir.file(kCatalogueFileName), *catalogue, error);
  if (mainTree) ok &= writeTreeFile(dir.file(kMainTreeFileName), *mainTree, error);
  if (measurementTree) {
    ok &= writeTreeFile(dir.file(kMeasurementTreeFileName), *measurementTree, error);
  }
  if (!ok) throw std::runtime_error(error);
}

}  // namespace zelmot::model::testing
