#pragma once
// The ".zel" configuration stream: the common-parameters block (carrying the version of
// the program that saved it), the table of user-given names, then the whole main tree,
// every node in its own layout. The stream has no structure of its own; it is read into
// the tree the program has built from its description files.
//
// The network-settings nodes are not part of the stream: the device's settings are
// catalogue parameters whose records the tree already carries, and the program's port
// settings live in the settings file.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/byte_archive.h"

namespace zelmot::model {
class CommonParams;
class DescBranch;
}  // namespace zelmot::model

namespace zelmot::document {

inline constexpr const char* kDefaultName = "Имя не задано";
inline constexpr const char* kVersionCaption = "Версии не совпадают";

// Number of entries of the names table for the constants nProf and pStep: their product
// taken as a byte, minus two (none when that would be negative).
size_t namesTableSize(int nProf, int pStep);

// Writes the whole stream. Fails (with the archive error) when a parameter carries a
// negative linear index; `out` is then incomplete and must not be stored.
model::ArchiveError writeConfiguration(const model::CommonParams& common,
                                       const std::vector<std::string>& names,
                                       const model::DescBranch* root, std::vector<uint8_t>& out);

struct ConfigurationReadResult {
  model::ArchiveError error = model::ArchiveError::None;
  std::string fileVersion;  // value of the version parameter " " of the file
  std::string mismatch;     // with ModelMismatch: where the file departs from the tree
};

// Reads a stream into `names` (sized beforehand) and the tree under `root`. The common
// block is read only for the version. On failure the names and tree may be partly
// overwritten: the caller restores them (see CZELMOTDoc::open). `versionRead`, when given,
// gets the saving program's version as soon as it is read, before the names and the tree.
ConfigurationReadResult readConfiguration(
    model::ArchiveReader& archive, std::vector<std::string>& names, model::DescBranch* root,
    const std::function<void(const std::string& fileVersion)>& versionRead = {});

// "Файл "<path>" не является файлом конфигурации ZELMOT или повреждён: <detail>", for a
// file whose contents do not read as a configuration of this tree.
std::string notConfigurationText(const std::string& path, const std::string& detail);

// "Файл "<path>" не соответствует описанию прибора: <mismatch>" for a file that departs
// from the tree, else notConfigurationText with the archive error's text.
std::string configurationErrorText(const std::string& path, const ConfigurationReadResult& result);

// The version warning shown when a file comes from another program version.
std::string versionWarningText(const std::string& ownVersion, const std::string& fileVersion);

}  // namespace zelmot::document
