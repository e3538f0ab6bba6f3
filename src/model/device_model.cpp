#include "model/device_model.h"

#include <filesystem>

#include "model/description_files.h"
#include "platform/user_prompt.h"

namespace zelmot::model {

namespace {

std::string damagedFileText(const std::string& path, const std::string& reason) {
  return "Файл описания \"" + path + "\" повреждён: " + reason;
}

// Reads a compressed description file. A file that does not exist gives false with an
// empty `error`; any other failure gives false with a message naming the file.
bool readDescriptionData(const std::string& path, std::vector<uint8_t>& data,
                         std::string& error) {
  error.clear();
  std::error_code ignored;
  if (!std::filesystem::exists(path, ignored)) return false;
  return readPackedFile(path, data, error);
}

CatalogueRecord placementOf(const CatalogueRecord& record) {
  CatalogueRecord placement;
  placement.kind = record.kind;
  placement.linearIndex = record.linearIndex;
  placement.indexMode = record.indexMode;
  return placement;
}

}  // namespace

DeviceModel::DeviceModel(UserPrompt* prompt) : prompt_(prompt) {}

DeviceModel::~DeviceModel() {
  // Trees before parameters, parameters before tables (member order does the rest).
  dropTrees();
  catalogue_.clear();
}

void DeviceModel::report(const std::string& text) {
  messages_.push_back(text);
  if (prompt_ != nullptr) prompt_->tell(text, kErrorCaption, PromptIcon::Stop);
}

bool DeviceModel::LoadConstants(const std::string& path) {
  DescriptionConstants constants;
  std::vector<uint8_t> file;
  std::string error;
  const bool found = readFileBytes(path, file, error);
  if (!found) {
    report(kConstantsFileMissingText);
  } else {
    const std::vector<std::string> tokens = constantsTokens(file);
    for (size_t i = 0; i < kConstantCount; ++i) {
      int value = -1;
      if (!findConstantToken(tokens, kConstantNames[i], value)) {
        report(kConstantUndefinedText);
        value = -1;
      }
      constantField(constants, i) = static_cast<uint8_t>(value);  // kept in 8 bits
    }
  }
  tables_.allocate(constants);
  for (size_t i = 0; i < catalogue_.size(); ++i) placeInTables(i);
  return found;
}

void DeviceModel::placeInTables(size_t index) {
  const CatalogueRecord& placement = placements_[index];
  if (!isStructuralKind(placement.kind)) return;
  std::string error;
  if (!tables_.place(*catalogue_[index], placement, error)) {
    warnings_.push_back("Параметр " + std::to_string(index) + " (" + catalogue_[index]->name() +
                        ") не размещён: " + error);
  }
}

void DeviceModel::dropTrees() {
  mainBranch_ = nullptr;
  mainTree_.reset();
  measurementTree_.reset();
}

int DeviceModel::LoadCatalogue(const std::string& path) {
  if (!cataloguePath_.empty() && path == cataloguePath_) {
    return static_cast<int>(catalogue_.size());
  }
  // The trees point at the parameters about to be freed.
  dropTrees();
  tables_.clear();
  catalogue_.clear();
  placements_.clear();
  cataloguePath_.clear();

  std::vector<uint8_t> data;
  std::string error;
  if (!readDescriptionData(path, data, error)) {
    if (!error.empty()) report(error);
    return 0;
  }
  const std::vector<CatalogueRecord> records = decodeCatalogue(data);
  catalogue_.reserve(records.size());
  placements_.reserve(records.size());
  for (size_t i = 0; i < records.size(); ++i) {
    auto parameter = std::make_unique<Parameter>();
    parameter->fillFromCatalogueRecord(records[i]);
    catalogue_.push_back(std::move(parameter));
    placements_.push_back(placementOf(records[i]));
    placeInTables(i);
  }
  cataloguePath_ = path;
  return static_cast<int>(catalogue_.size());
}

Parameter* DeviceModel::catalogueParameter(int32_t index) {
  if (index < 0 || static_cast<size_t>(index) >= catalogue_.size()) return nullptr;
  return catalogue_[static_cast<size_t>(index)].get();
}

std::unique_ptr<DescBranch> DeviceModel::LoadTree(const std::string& path) {
  std::vector<uint8_t> data;
  std::string error;
  if (!readDescriptionData(path, data, error)) {
    if (!error.empty()) report(error);
    return nullptr;
  }
  const std::vector<TreeRecord> records = decodeTree(data);
  auto root = std::make_unique<DescBranch>();
  DescBranch* const previousMain = mainBranch_;
  size_t cursor = 0;
  if (!root->BuildFromRecords(*this, cursor, records)) {
    mainBranch_ = previousMain;  // the refused tree is discarded with its branches
    report(damagedFileText(path, root->buildError()));
    return nullptr;
  }
  return root;
}

void DeviceModel::preparePolling(const DescBranch& branch) {
  for (Parameter* parameter : branch.parameters()) {
    // A parameter listed twice is prepared once: a second call would lose its index.
    if (!parameter->hasPollTimer()) parameter->PreparePolling();
  }
  for (const auto& child : branch.children()) preparePolling(*child);
}

bool DeviceModel::initialise(const std::string& dataDir) {
  const std::filesystem::path dir(dataDir);
  dropTrees();
  LoadCatalogue((dir / kCatalogueFileName).string());
  mainTree_ = LoadTree((dir / kMainTreeFileName).string());
  if (!mainTree_) report(kNoRootBranchText);
  measurementTree_ = LoadTree((dir / kMeasurementTreeFileName).string());
  if (mainTree_ && measurementTree_) preparePolling(*measurementTree_);
  return mainTree_ != nullptr;
}

}  // namespace zelmot::model
