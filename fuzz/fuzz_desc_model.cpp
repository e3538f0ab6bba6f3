// Feeds arbitrary text to the YAML model reader of zelmot-desc and then to the rules the
// compiler applies. The first byte picks the file it stands for (constants, a catalogue
// file, the main tree, the measurement tree); the other files come from the model in the
// repository, so that tree references have a catalogue to resolve against.
#include <cstdint>
#include <cstdlib>
#include <filesystem>

#include "model_rules.h"
#include "model_source.h"
#include "temp_input.h"

namespace {

using namespace zelmot::desc;

const SourceModel& repositoryModel() {
  static const SourceModel model = [] {
    SourceModel read;
    SourceErrors errors;
    if (!readModelSource(ZELMOT_MODEL_SOURCE_DIR, read, errors)) std::abort();
    return read;
  }();
  return model;
}

void checkPart(uint8_t part, const std::filesystem::path& file) {
  const SourceModel& base = repositoryModel();
  SourceErrors errors;
  if (part == 0) {
    SourceModel model;
    if (readConstantsSource(file, model, errors)) checkConstants(model.constants);
  } else if (part == 1) {
    SourceCatalogue catalogue;
    if (readCatalogueSource(file, catalogue, errors)) checkCatalogueRecords(catalogue.records, base.constants);
  } else {
    const bool mainTree = part == 2;
    SourceTree tree;
    if (readTreeSource(file, base.catalogue.records, tree, errors))
      checkTreeRecords(tree.records, base.catalogue.records, mainTree);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::filesystem::path file = zelmot::fuzz::writeTempInput("model.yaml", data + 1, size - 1);
  checkPart(data[0] % 4, file);
  std::filesystem::remove(file);
  return 0;
}
