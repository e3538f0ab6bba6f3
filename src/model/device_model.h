#pragma once
// The part of the device link that the description files fill: the twelve structural
// constants, the structural tables, the parameter catalogue (which owns every Parameter),
// the main tree and the measurement tree (which only refer to catalogue parameters) and
// the main branch.
//
// Damaged files. The catalogue and tree files are checked whole (gzip header, inflate
// result, CRC-32 and size) and a tree is refused when a record names a catalogue number
// out of range or child counts run past the file. A refused file is reported with a
// message naming it (caption "Ошибка", stop icon), and the model then behaves as for a
// missing file: an empty catalogue, or no tree. A catalogue record whose structural
// position lies outside its table is loaded but not placed; a warning is collected.
//
// Lifetime. The tables outlive the catalogue and the catalogue outlives the trees (member
// order), since parameters clear their table slot when destroyed and branches point at
// parameters. Loading another catalogue drops the model's trees first. A tree returned by
// LoadTree refers to the current catalogue and must not outlive it.
//
// Threads: the model is loaded once at start-up before any worker runs; afterwards only
// the parameters change (they guard themselves).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/desc_branch.h"
#include "model/parameter.h"
#include "model/structural_tables.h"
#include "model/tree_build_context.h"

namespace zelmot {
class UserPrompt;
}

namespace zelmot::model {

inline constexpr const char* kErrorCaption = "Ошибка";
inline constexpr const char* kConstantsFileMissingText = "Не найден файл-описатель констант!";
inline constexpr const char* kConstantUndefinedText = "Не определена \"глобальная\" переменная!";
inline constexpr const char* kNoRootBranchText = "Не опредена корневая ветвь";

class DeviceModel : public TreeBuildContext {
public:
  // Messages go to `prompt`; with nullptr nothing is shown (they are still collected).
  explicit DeviceModel(UserPrompt* prompt = nullptr);
  ~DeviceModel() override;
  DeviceModel(const DeviceModel&) = delete;
  DeviceModel& operator=(const DeviceModel&) = delete;

  // --- constants and tables --------------------------------------------------------------
  // Reads the constants and sizes the tables from them. A missing or unreadable file
  // shows "Не найден файл-описатель констант!" and leaves every constant 0 (false); a
  // missing constant shows "Не определена \"глобальная\" переменная!" and becomes 255.
  // Parameters already in the catalogue are placed again in the new tables.
  bool LoadConstants(const std::string& path);
  const DescriptionConstants& constants() const { return tables_.constants(); }
  uint8_t nObj() const { return constants().nObj; }
  uint8_t nKey() const { return constants().nKey; }
  uint8_t maxSensors() const { return constants().maxSensors; }
  uint8_t n485Filter() const { return constants().n485Filter; }
  uint8_t nActP() const { return constants().nActP; }
  uint8_t nOutElem() const { return constants().nOutElem; }
  uint8_t n_commut() const { return constants().n_commut; }
  uint8_t nodeQn() const { return constants().nodeQn; }  // `_NODE_QN`
  uint8_t nZELCh() const { return constants().nZELCh; }
  uint8_t nProf() const { return constants().nProf; }
  uint8_t pStep() const { return constants().pStep; }
  uint8_t nDiskretInput() const { return constants().nDiskretInput; }
  uint8_t profileSteps() const { return constants().profileSteps(); }
  const StructuralTables& tables() const { return tables_; }

  // --- catalogue ------------------------------------------------------------------------
  // Builds the catalogue from parameters.zip; returns the number of parameters. The same
  // path as the last successful load does nothing. A missing file gives an empty catalogue
  // silently; a damaged one an empty catalogue and a message.
  int LoadCatalogue(const std::string& path);
  const std::vector<std::unique_ptr<Parameter>>& catalogue() const { return catalogue_; }

  // --- trees ----------------------------------------------------------------------------
  // Builds a tree from a tree file; nullptr when the file is missing or refused (a refused
  // file is reported). A branch marked as main becomes mainBranch().
  std::unique_ptr<DescBranch> LoadTree(const std::string& path);
  DescBranch* mainTree() const { return mainTree_.get(); }
  DescBranch* measurementTree() const { return measurementTree_.get(); }
  DescBranch* mainBranch() const { return mainBranch_; }

  // The document's initialisation: catalogue, main tree ("Не опредена корневая ветвь"
  // when it cannot be loaded), measurement tree, then every measurement parameter is
  // prepared for polling when both trees exist. True when the main tree exists.
  bool initialise(const std::string& dataDir);

  // Every message shown or withheld so far, and the structural-placement warnings.
  const std::vector<std::string>& messages() const { return messages_; }
  const std::vector<std::string>& warnings() const { return warnings_; }

  // --- TreeBuildContext -----------------------------------------------------------------
  Parameter* catalogueParameter(int32_t index) override;
  void setMainBranch(DescBranch* branch) override { mainBranch_ = branch; }

private:
  void report(const std::string& text);
  void placeInTables(size_t index);
  void dropTrees();
  void preparePolling(const DescBranch& branch);

  UserPrompt* prompt_;
  std::vector<std::string> messages_;
  std::vector<std::string> warnings_;
  // Declared before the catalogue: parameters clear their slot when destroyed.
  StructuralTables tables_;
  std::vector<std::unique_ptr<Parameter>> catalogue_;
  // Kind and index fields of each catalogue record, to place again after new constants.
  std::vector<CatalogueRecord> placements_;
  std::string cataloguePath_;
  // Declared after the catalogue: branches refer to its parameters.
  std::unique_ptr<DescBranch> mainTree_;
  std::unique_ptr<DescBranch> measurementTree_;
  DescBranch* mainBranch_ = nullptr;
};

}  // namespace zelmot::model
