#include "files_checker.h"

#include <functional>

#include "model/description_check.h"
#include "model/description_files.h"
#include "model_rules.h"

namespace zelmot::desc {
namespace {

namespace fs = std::filesystem;

void addProblems(const RecordProblems& problems, const std::string& file, const char* unit,
                 const std::function<std::string(size_t)>& label, std::vector<std::string>& messages) {
  for (const auto& problem : problems) {
    std::string where = file + ": ";
    std::string name = label(problem.record);
    if (!name.empty()) where += std::string(unit) + " " + name + ": ";
    messages.push_back(where + problem.message);
  }
}

}  // namespace

std::vector<std::string> checkDataDir(const fs::path& dataDir) {
  std::vector<std::string> messages = model::checkDescriptionFiles(dataDir.string());
  model::ConstantsText constants;
  std::vector<model::CatalogueRecord> catalogue;
  std::vector<model::TreeRecord> trees[2];
  std::string error;
  const char* treeFiles[2] = {model::kMainTreeFileName, model::kMeasurementTreeFileName};
  bool constantsRead = model::readConstantsFile((dataDir / model::kConstantsFileName).string(), constants, error);
  bool catalogueRead = model::readCatalogueFile((dataDir / model::kCatalogueFileName).string(), catalogue, error);
  bool treesRead[2];
  for (int t = 0; t < 2; ++t) treesRead[t] = model::readTreeFile((dataDir / treeFiles[t]).string(), trees[t], error);
  if (constantsRead) {
    addProblems(checkConstants(constants, RuleSet::BeyondCore), model::kConstantsFileName, "константа",
                [&](size_t n) { return n < constants.size() ? constants[n].name : std::string(); }, messages);
  }
  if (constantsRead && catalogueRead) {
    addProblems(checkCatalogueRecords(catalogue, constants, RuleSet::BeyondCore), model::kCatalogueFileName, "запись",
                [&](size_t n) {
                  return n < catalogue.size() ? std::to_string(n) + " (" + recordLabel(catalogue[n]) + ")"
                                              : std::string();
                },
                messages);
  }
  for (int t = 0; t < 2 && catalogueRead; ++t) {
    if (!treesRead[t]) continue;
    addProblems(checkTreeRecords(trees[t], catalogue, t == 0, RuleSet::BeyondCore), treeFiles[t], "запись",
                [&](size_t n) { return n < trees[t].size() ? std::to_string(n) : std::string(); }, messages);
  }
  return messages;
}

}  // namespace zelmot::desc
