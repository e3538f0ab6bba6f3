// Feeds arbitrary bytes to the tree reader, both as a compressed file and as record heads
// (every 32 input bytes start one 512-byte record), and builds a tree over a small
// catalogue from whatever records come out.
#include <cstdint>
#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "model/desc_branch.h"
#include "model/description_files.h"
#include "model/tree_build_context.h"

namespace {

using namespace zelmot::model;

class SmallCatalogue final : public TreeBuildContext {
public:
  SmallCatalogue() {
    for (int i = 0; i < 8; ++i) parameters_.push_back(std::make_unique<Parameter>());
  }
  Parameter* catalogueParameter(int32_t index) override {
    if (index < 0 || index >= static_cast<int32_t>(parameters_.size())) return nullptr;
    return parameters_[static_cast<size_t>(index)].get();
  }
  void setMainBranch(DescBranch* branch) override { main = branch; }
  DescBranch* main = nullptr;

private:
  std::vector<std::unique_ptr<Parameter>> parameters_;
};

void build(const std::vector<uint8_t>& content) {
  const std::vector<TreeRecord> records = decodeTree(content);
  SmallCatalogue catalogue;
  auto root = std::make_unique<DescBranch>();
  size_t cursor = 0;
  if (root->BuildFromRecords(catalogue, cursor, records)) {
    if (cursor > records.size()) __builtin_trap();
    std::vector<Parameter*> polled;
    root->CollectPolled(polled);
    root->countParameters();
  }
  root.reset();  // branches go before the parameters they point at
}

constexpr size_t kHeadSize = 32;
constexpr size_t kRecordSize = 512;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> file(data, data + size);
  std::vector<uint8_t> content;
  std::string error;
  if (gzipDecompress(file, content, error)) build(content);

  std::vector<uint8_t> heads((size + kHeadSize - 1) / kHeadSize * kRecordSize, 0);
  for (size_t i = 0; i < size; i += kHeadSize) {
    std::memcpy(heads.data() + i / kHeadSize * kRecordSize, data + i, std::min(kHeadSize, size - i));
  }
  build(heads);
  return 0;
}
