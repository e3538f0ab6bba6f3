#pragma once
// `zelmot-desc dump`: turns a set of description files back into model source. The dump
// is flatter than hand-written source (no `repeat`), but building it gives the same bytes.
#include <filesystem>
#include <string>
#include <vector>

#include "model/description_records.h"
#include "source_error.h"

namespace zelmot::desc {

// YAML text of each part of the model source.
std::string dumpConstants(const model::ConstantsText& constants);
std::string dumpCatalogue(const std::vector<model::CatalogueRecord>& records);
// False with `error` when the records do not form one tree (see checkTreeRecords).
bool dumpTree(const std::vector<model::TreeRecord>& records, const std::vector<model::CatalogueRecord>& catalogue,
              std::string& yaml, std::string& error);

// Constants as the file holds them, names in their own letter case (the device link
// lower-cases them only for lookup).
bool readConstantsExactly(const std::string& path, model::ConstantsText& constants, std::string& error);

// Writes constants.yaml, parameters/catalogue.yaml, tree.yaml and tree_op.yaml. Refuses to
// overwrite an existing model unless `overwrite` is set.
bool dumpModel(const std::filesystem::path& dataDir, const std::filesystem::path& modelDir, bool overwrite,
               SourceErrors& errors);

}  // namespace zelmot::desc
