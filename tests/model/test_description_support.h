#pragma once
// Helpers shared by the description-file tests: a private temporary folder and sample
// records that use every field.
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "model/description_records.h"

namespace zelmot::model::testing {

class TempDir {
public:
  TempDir() {
    std::random_device seed;
    path_ = std::filesystem::temp_directory_path() /
            ("zelmot-desc-" + std::to_string(seed()) + "-" + std::to_string(seed()));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  std::string file(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& path() const { return path_; }

private:
  std::filesystem::path path_;
};

inline CatalogueRecord sampleCatalogueRecord(int n) {
  CatalogueRecord r;
  r.name = "P." + std::to_string(n % 1000);
  r.caption = "Уставка канала " + std::to_string(n);
  r.linearIndex = n;
  r.indexMode = 1;
  r.readOnly = static_cast<uint8_t>(n % 2);
  r.flag = 1;
  r.kind = 0;
  r.valueChanged = 0;
  r.attributeMultiplicity = 1;
  r.editable = 1;
  r.factoryOwned = 0;
  r.typeDescriptor = "STORED_DOT";
  r.decimals = 2;
  r.minimum = -10.5f;
  r.maximum = 99.25f;
  r.initialValue = "1.00";
  r.hint = "?Значение_уставки";
  r.errorText = "";
  return r;
}

inline std::vector<uint8_t> randomBytes(size_t size, uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<uint8_t> bytes(size);
  for (auto& b : bytes) b = static_cast<uint8_t>(rng());
  return bytes;
}

}  // namespace zelmot::model::testing
