#pragma once
// Helpers shared by the description-file tests: the shared temporary folder and sample
// records, and random bytes.
#include <random>
#include <string>
#include <vector>

#include "model/description_records.h"
#include "support/catalogue_records.h"
#include "support/temp_folder.h"

namespace zelmot::model::testing {

using TempDir = test_support::TempFolder;
using test_support::sampleCatalogue;
using test_support::sampleCatalogueRecord;

inline std::vector<uint8_t> randomBytes(size_t size, uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<uint8_t> bytes(size);
  for (auto& b : bytes) b = static_cast<uint8_t>(rng());
  return bytes;
}

}  // namespace zelmot::model::testing
