#include "document/zelmot_doc.h"

#include <filesystem>
#include <sstream>

#include "platform/version.h"
#include "document/catalogue_lookup.h"
#include "document/config_file.h"
#include "model/description_files.h"
#include "platform/user_prompt.h"

namespace zelmot::document {

CZELMOTDoc::CZELMOTDoc(UserPrompt* prompt, link::ComPortMapper mapper)
    : prompt_(prompt), model_(prompt), link_(std::move(mapper)) {
  context_.setPrompt(prompt);
  common_.addServiceParameter(model::kVersionParameterName, "Версия программы", programVersion(),
                              false);
  // The archive node: its value is the current daily log's name, its check box the switch.
  archiveNode_ = common_.addServiceParameter(model::kArchiveParameterName,
                                             model::kArchiveParameterDescription, "", false);
  link_.setPortSettingsSource(&portSettings_);
  link_.setUserPrompt(prompt);
  link_.engine().setPrompt(prompt);
}

CZELMOTDoc::~CZELMOTDoc() = default;

bool CZELMOTDoc::initialise(const std::string& dataDir) {
  const std::filesystem::path dir(dataDir);
  model_.LoadConstants((dir / model::kConstantsFileName).string());
  const bool haveTree = model_.initialise(dataDir);
  for (const auto& parameter : model_.catalogue()) parameter->setContext(&context_);
  names_.assign(namesTableSize(model_.nProf(), model_.pStep()), kDefaultName);
  deviceNetwork_.attach(model_);
  return haveTree;
}

model::Parameter* CZELMOTDoc::findCatalogueParameter(const std::string& name,
                                                     int32_t index) const {
  return findInCatalogue(model_, name, index);
}

exchange::CatalogueLookup CZELMOTDoc::catalogueLookup() const {
  return [this](const std::string& name) { return findCatalogueParameter(name); };
}

model::DescBranch* CZELMOTDoc::findBranch(const std::string& path) const {
  model::DescBranch* branch = root();
  std::stringstream parts(path);
  std::string part;
  while (branch != nullptr && std::getline(parts, part, '/')) {
    if (part.empty()) continue;
    model::DescBranch* next = nullptr;
    for (const auto& child : branch->children()) {
      if (child->name() == part) {
        next = child.get();
        break;
      }
    }
    branch = next;
  }
  return branch;
}

FileResult CZELMOTDoc::save(const std::string& path) const {
  std::vector<uint8_t> bytes;
  const model::ArchiveError error = writeConfiguration(common_, names_, root(), bytes);
  if (error != model::ArchiveError::None) {
    return {false, "Файл \"" + path + "\" не сохранен: " + model::archiveErrorText(error)};
  }
  std::string message;
  if (!model::writeFileBytes(path, bytes, message)) return {false, message};
  return {true, {}};
}

FileResult CZELMOTDoc::open(const std::string& path) {
  std::vector<uint8_t> bytes;
  std::string message;
  if (!model::readFileBytes(path, bytes, message)) return {false, message};
  // What the document holds now, to put back when the file turns out to be bad.
  std::vector<uint8_t> snapshot;
  model::ArchiveError error = writeConfiguration(common_, names_, root(), snapshot);
  if (error != model::ArchiveError::None) return {false, model::archiveErrorText(error)};

  link_.load_port_settings();
  model::ArchiveReader reader(bytes);
  // The warning comes before the rest is read, so it is seen also when the rest then fails.
  const auto warnOfOtherVersion = [this](const std::string& fileVersion) {
    const std::string ownVersion = programVersion();
    if (!commandLineMode_ && prompt_ != nullptr && fileVersion != ownVersion) {
      prompt_->tell(versionWarningText(ownVersion, fileVersion), kVersionCaption,
                    PromptIcon::Exclamation);
    }
  };
  const ConfigurationReadResult result =
      readConfiguration(reader, names_, root(), warnOfOtherVersion);
  if (result.error != model::ArchiveError::None) {
    model::ArchiveReader restore(snapshot);
    readConfiguration(restore, names_, root());
    return {false, configurationErrorText(path, result)};
  }
  return {true, {}};
}

void CZELMOTDoc::resetDocument() {
  names_.assign(names_.size(), kDefaultName);
  if (root() != nullptr) root()->ResetValues();
}

}  // namespace zelmot::document
