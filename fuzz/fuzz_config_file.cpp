// Feeds arbitrary bytes to the configuration-file reader over the real device model (the
// compiled description files beside this executable). A file must never make the reader
// go outside its data, whatever counts, lengths and indexes it claims.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "document/config_file.h"
#include "document/zelmot_doc.h"
#include "model/byte_archive.h"
#include "platform/paths.h"

namespace {

zelmot::document::CZELMOTDoc* loadedDocument() {
  static std::unique_ptr<zelmot::document::CZELMOTDoc> doc = [] {
    auto made = std::make_unique<zelmot::document::CZELMOTDoc>();
    if (!made->initialise(zelmot::executableDir().string()) || made->root() == nullptr) {
      std::fprintf(stderr, "no device model beside the executable; nothing is read\n");
      made.reset();
    }
    return made;
  }();
  return doc.get();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zelmot::document::CZELMOTDoc* doc = loadedDocument();
  if (doc == nullptr) return 0;  // no model beside the executable: nothing to read into
  zelmot::model::ArchiveReader archive(data, size);
  std::vector<std::string> names(doc->names().size());
  zelmot::document::readConfiguration(archive, names, doc->root());
  return 0;
}
