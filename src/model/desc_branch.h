#pragma once
// A branch of the object tree as the tree file describes it: a name, three values kept
// from the file, references to catalogue parameters (not owned), child branches (owned),
// and scheme links.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/connector.h"
#include "model/description_records.h"
#include "model/invisible_element.h"
#include "model/parameter.h"

namespace zelmot::model {

class TreeBuildContext;

// Deeper trees are refused: the build recurses once per level.
inline constexpr int kMaxTreeDepth = 64;

// The sub-items shown under the discrete-input mask parameter, at most six.
inline constexpr const char* kDiscreteInputMaskName = "r.Cn";
inline constexpr const char* kDiscreteInputTexts[] = {
    "С1 - дежурный режим",       "С2 - приточный вентилятор",
    "С3 - фильтр",               "С4 - защита от замерзания",
    "С5 - пожарная сигнализация", "С6 - вытяжной вентилятор",
};

class DescBranch;

// One row the view shows for a branch, as plain texts (no view toolkit here).
struct PresentationRow {
  enum class Kind { Parameter, Branch };
  Kind kind = Kind::Parameter;
  Parameter* parameter = nullptr;  // Parameter rows
  DescBranch* branch = nullptr;    // Branch rows; for a parameter shown in place of a
                                   // single-parameter branch, that branch
  std::string description;         // column "Описание"
  std::string name;                // column "Параметр"
  std::string value;
  std::string editAttribute;
  std::string owner;
  std::string errorText;
  Rgb colour;
  std::vector<std::string> subItems;  // discrete inputs under r.Cn
};

struct PresentationOptions {
  bool showLinearIndexes = false;
  int discreteInputCount = 0;  // the constant nDiskretInput
};

class DescBranch : public InvisibleElement {
public:
  DescBranch();

  const std::string& name() const { return title(); }
  void setName(std::string name) { setTitle(std::move(name)); }
  int32_t value1() const { return value1_; }
  int32_t value2() const { return value2_; }
  int32_t value3() const { return value3_; }
  void setValues(int32_t value1, int32_t value2, int32_t value3);

  const std::vector<std::unique_ptr<DescBranch>>& children() const { return children_; }
  DescBranch* addChild(std::unique_ptr<DescBranch> child);
  const std::vector<Connector>& connectors() const { return connectors_; }
  void addConnector(Connector connector) { connectors_.push_back(std::move(connector)); }

  bool shown() const { return shown_.load(); }
  void setShown(bool shown) { shown_.store(shown); }

  // --- building from the tree file ------------------------------------------------------
  // Reads the branch record at `cursor` and its whole subtree, advancing the cursor past
  // it. Refuses (false, buildError() naming the record number, counted from 0) a missing
  // record, a first record that is not a branch, a negative child count or one running
  // past the records, a catalogue number out of range, and nesting deeper than
  // kMaxTreeDepth. A refused build leaves a partial tree that the caller discards.
  virtual bool BuildFromRecords(TreeBuildContext& context, size_t& cursor,
                                const std::vector<TreeRecord>& records);
  const std::string& buildError() const { return buildError_; }

  // --- lookups -------------------------------------------------------------------------
  // First parameter (own first, then children depth-first) with that name, ignoring
  // case, and, when `index` is not negative, that linear index.
  Parameter* FindParameter(const std::string& name, int32_t index) const;
  // Appends every parameter that has a poll timer, own first, then the children's;
  // returns how many were appended.
  int CollectPolled(std::vector<Parameter*>& list) const;
  // Number of parameters of the branch and all its sub-branches.
  int countParameters() const;

  // --- presentation --------------------------------------------------------------------
  // The rows the view inserts under this branch: own parameters, then the children (a
  // child with exactly one parameter and nothing else shown as that parameter).
  std::vector<PresentationRow> presentation(const PresentationOptions& options);
  // The row of this branch as a child item: its name, "(%i)" with the current linear
  // index when asked for and known, red when it has problems other than mismatches.
  PresentationRow branchRow(const PresentationOptions& options);

  // --- whole subtree: own parameters first, then each child ------------------------------
  ArchiveError Serialize(ArchiveWriter& archive) const override;
  ArchiveError Serialize(ArchiveReader& archive) override;
  ExchangeCounts CompareAll(ParameterExchanger& exchanger) override;
  ExchangeCounts ReadAll(ParameterExchanger& exchanger) override;
  ExchangeCounts WriteAll(ParameterExchanger& exchanger, bool changedOnly) override;
  int PendingState() const override;
  void ResetValues() override;
  bool HasProblems(bool mismatchesToo) const override;
  bool HasChanges(bool attributesToo) const override;
  bool HasNoData() const override;
  void ExportRecords(std::vector<ExportRecord>& records) const override;
  void ImportRecords(const ExportRecordTable& records, int limit, int& missingCount,
                     std::string& message) override;

private:
  bool build(TreeBuildContext& context, size_t& cursor, const std::vector<TreeRecord>& records,
             int depth);
  bool buildChild(TreeBuildContext& context, size_t& cursor,
                  const std::vector<TreeRecord>& records, int depth);
  bool refuse(std::string message);
  bool isSingleParameterBranch() const;

  int32_t value1_ = 0;
  int32_t value2_ = 0;
  int32_t value3_ = 0;
  std::vector<std::unique_ptr<DescBranch>> children_;  // owned
  std::vector<Connector> connectors_;
  std::atomic<bool> shown_{false};
  std::string buildError_;
};

}  // namespace zelmot::model
