#include "document/config_file.h"

#include <memory>

#include "model/common_params.h"
#include "model/desc_branch.h"
#include "model/parameter.h"

namespace zelmot::document {

using model::ArchiveError;

size_t namesTableSize(int nProf, int pStep) {
  const int product = static_cast<uint8_t>(nProf * pStep);
  return product > 2 ? static_cast<size_t>(product - 2) : 0;
}

ArchiveError writeConfiguration(const model::CommonParams& common,
                                const std::vector<std::string>& names,
                                const model::DescBranch* root, std::vector<uint8_t>& out) {
  model::ArchiveWriter archive;
  ArchiveError error = common.Serialize(archive);
  for (const std::string& name : names) archive.writeString(name);
  if (error == ArchiveError::None && root != nullptr) error = root->Serialize(archive);
  if (error == ArchiveError::None) error = archive.error();
  if (error == ArchiveError::None) out = archive.bytes();
  return error;
}

namespace {

// The file's common block, read record by record into throw-away parameters: nothing of it
// is applied, only the version is looked at, and a block written by a program version with
// more or fewer service parameters is read all the same.
ArchiveError readCommonBlock(model::ArchiveReader& archive, std::string& fileVersion) {
  std::string title;
  int32_t count = 0;
  if (!archive.readString(title) || !archive.readInt32(count)) return archive.error();
  if (count < 0) return ArchiveError::BadIndex;
  for (int32_t i = 0; i < count; ++i) {
    model::Parameter record;
    const ArchiveError error = record.Serialize(archive);
    if (error != ArchiveError::None) return error;
    if (record.name() == model::kVersionParameterName) fileVersion = record.valueText();
  }
  return ArchiveError::None;
}

}  // namespace

ConfigurationReadResult readConfiguration(
    model::ArchiveReader& archive, std::vector<std::string>& names, model::DescBranch* root,
    const std::function<void(const std::string& fileVersion)>& versionRead) {
  ConfigurationReadResult result;
  result.error = readCommonBlock(archive, result.fileVersion);
  if (result.error == ArchiveError::None && versionRead) versionRead(result.fileVersion);
  for (size_t i = 0; result.error == ArchiveError::None && i < names.size(); ++i) {
    if (!archive.readString(names[i])) result.error = archive.error();
  }
  if (result.error == ArchiveError::None && root != nullptr) result.error = root->Serialize(archive);
  if (result.error == ArchiveError::None && !archive.ok()) result.error = archive.error();
  if (result.error == ArchiveError::ModelMismatch) result.mismatch = archive.detail();
  // Our files end with the tree; anything after it means the file is not what it claims.
  if (result.error == ArchiveError::None && archive.remaining() != 0) {
    result.error = ArchiveError::BadFormat;
  }
  return result;
}

std::string versionWarningText(const std::string& ownVersion, const std::string& fileVersion) {
  return "Текущая верия программы:\t\t\t" + ownVersion + "\n" +
         "Версия программы, сохранившей этот файл:\t" + fileVersion + "\n\n" +
         "Возможны ошибки при работе с конфигурацией";
}

std::string configurationErrorText(const std::string& path, const ConfigurationReadResult& result) {
  if (result.error == ArchiveError::ModelMismatch) {
    return "Файл \"" + path + "\" не соответствует описанию прибора: " + result.mismatch;
  }
  return notConfigurationText(path, model::archiveErrorText(result.error));
}

std::string notConfigurationText(const std::string& path, const std::string& detail) {
  return "Файл \"" + path + "\" не является файлом конфигурации ZELMOT или повреждён: " + detail;
}

}  // namespace zelmot::document
