// The four description files as whole files: read, unpack and decode; encode, pack, write.
#include "model/description_files.h"

namespace zelmot::model {

namespace {

std::string damaged(const std::string& path, const std::string& reason) {
  return "Файл описания \"" + path + "\" повреждён: " + reason;
}

std::string notWritten(const std::string& path, const std::string& reason) {
  return "Файл описания \"" + path + "\" не записан: " + reason;
}

bool writePacked(const std::string& path, const std::vector<uint8_t>& data, std::string& error) {
  const std::vector<uint8_t> packed = gzipCompress(data);
  if (packed.empty()) {
    error = notWritten(path, "данные не удалось сжать");
    return false;
  }
  return writeFileBytes(path, packed, error);
}

}  // namespace

bool readPackedFile(const std::string& path, std::vector<uint8_t>& data, std::string& error) {
  std::vector<uint8_t> file;
  if (!readFileBytes(path, file, error)) return false;
  std::string reason;
  if (!gzipDecompress(file, data, reason)) {
    error = damaged(path, reason);
    return false;
  }
  return true;
}

bool readConstantsFile(const std::string& path, ConstantsText& constants, std::string& error) {
  std::vector<uint8_t> file;
  if (!readFileBytes(path, file, error)) return false;
  constants = decodeConstants(file);
  return true;
}

bool writeConstantsFile(const std::string& path, const ConstantsText& constants,
                        std::string& error) {
  return writeFileBytes(path, encodeConstants(constants), error);
}

bool readCatalogueFile(const std::string& path, std::vector<CatalogueRecord>& records,
                       std::string& error) {
  std::vector<uint8_t> data;
  if (!readPackedFile(path, data, error)) return false;
  records = decodeCatalogue(data);
  return true;
}

bool writeCatalogueFile(const std::string& path, const std::vector<CatalogueRecord>& records,
                        std::string& error) {
  std::vector<uint8_t> data;
  std::string reason;
  if (!encodeCatalogue(records, data, reason)) {
    error = notWritten(path, reason);
    return false;
  }
  return writePacked(path, data, error);
}

bool readTreeFile(const std::string& path, std::vector<TreeRecord>& records, std::string& error) {
  std::vector<uint8_t> data;
  if (!readPackedFile(path, data, error)) return false;
  records = decodeTree(data);
  return true;
}

bool writeTreeFile(const std::string& path, const std::vector<TreeRecord>& records,
                   std::string& error) {
  std::vector<uint8_t> data;
  std::string reason;
  if (!encodeTree(records, data, reason)) {
    error = notWritten(path, reason);
    return false;
  }
  return writePacked(path, data, error);
}

}  // namespace zelmot::model
