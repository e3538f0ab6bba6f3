#pragma once
// A node of the object tree that holds parameters: the operations the exchange engine,
// the view and the configuration file use on a whole node.
//
// The parameter array is built once (catalogue and tree loading) and then only walked;
// the parameters themselves are safe to touch from two threads (see parameter.h).
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "model/byte_archive.h"
#include "model/export_record.h"
#include "model/parameter_exchanger.h"

namespace zelmot {
class UserPrompt;
}

namespace zelmot::model {

class Parameter;

// Result of GetLinearIndex: the node's current index (-1 none) and, when a parameter
// carries another index, that parameter (the caller abandons its loading).
struct LinearIndexCheck {
  int32_t index = -1;
  const Parameter* suspicious = nullptr;
};

class ObjectWithParameters {
public:
  // `ownsParameters`: the node deletes its parameters; tree branches refer to catalogue
  // parameters and do not.
  explicit ObjectWithParameters(bool ownsParameters = false);
  virtual ~ObjectWithParameters();
  ObjectWithParameters(const ObjectWithParameters&) = delete;
  ObjectWithParameters& operator=(const ObjectWithParameters&) = delete;

  // --- building ------------------------------------------------------------------------
  // Appends a parameter (taken over when the node owns its parameters).
  void addParameter(Parameter* parameter);
  const std::vector<Parameter*>& parameters() const { return parameters_; }
  bool ownsParameters() const { return ownsParameters_; }
  void setOwnsParameters(bool owns) { ownsParameters_ = owns; }
  // Deletes the parameters when the node owns them (otherwise only forgets them) and
  // empties the array.
  virtual void DeleteParameters();

  // Title used in exchange log headers; empty for a plain node.
  virtual std::string nodeTitle() const { return {}; }

  // --- configuration file --------------------------------------------------------------
  // The parameter records in array order.
  virtual ArchiveError Serialize(ArchiveWriter& archive) const;
  virtual ArchiveError Serialize(ArchiveReader& archive);

  // --- values by name (case-insensitive, first match) -----------------------------------
  virtual std::string GetValueByName(const std::string& name) const;
  // Sets the value text; with `mark` and a text that differs other than in letter case,
  // also sets value changed. 1 done, 0 no parameter of that name.
  virtual int SetValueByName(const std::string& name, const std::string& text, bool mark);

  // --- exchange ------------------------------------------------------------------------
  virtual ExchangeCounts CompareAll(ParameterExchanger& exchanger);
  virtual ExchangeCounts ReadAll(ParameterExchanger& exchanger);
  // Skips parameters that are not writable (unless the exchanger forces everything) and,
  // with `changedOnly`, those without a change flag.
  virtual ExchangeCounts WriteAll(ParameterExchanger& exchanger, bool changedOnly);

  // --- linear index --------------------------------------------------------------------
  // The node's current index; when still unknown, that of its first indexed parameter.
  // An indexed parameter with another index is reported (warning through `prompt` when
  // given) and returned as suspicious.
  virtual LinearIndexCheck GetLinearIndex(UserPrompt* prompt);
  virtual void SetLinearIndex(int32_t index);
  int32_t currentLinearIndex() const { return currentLinearIndex_.load(); }

  // --- state queries -------------------------------------------------------------------
  virtual int PendingState() const;  // 2 when some change flag is set, else 0
  virtual void ResetValues();
  virtual bool HasProblems(bool mismatchesToo) const;
  virtual bool HasChanges(bool attributesToo) const;
  virtual bool HasNoData() const;

  // --- parameter table -----------------------------------------------------------------
  virtual void ExportRecords(std::vector<ExportRecord>& records) const;
  // Parameters with a record take its values; the others are reset and counted in
  // `missingCount`, and named in `message` (space separated) up to `limit` names, then
  // "\n и другие (не перечислены)" once.
  virtual void ImportRecords(const ExportRecordTable& records, int limit, int& missingCount,
                             std::string& message);

  // Number of parameters the view has already inserted.
  int insertedCount() const { return insertedCount_.load(); }
  void setInsertedCount(int count) { insertedCount_.store(count); }

protected:
  // One record per parameter of the array, in order. A record that does not fit its
  // parameter (name, index flag, indexes, flag bytes) fails with ModelMismatch, naming it.
  ArchiveError readParameterRecords(ArchiveReader& archive);
  ArchiveError writeParameterRecords(ArchiveWriter& archive) const;

private:
  std::vector<Parameter*> parameters_;  // owned only when ownsParameters_, else the catalogue's
  std::atomic<int32_t> currentLinearIndex_{-1};
  std::atomic<int> insertedCount_{0};
  bool ownsParameters_;
};

inline constexpr const char* kSuspiciousIndexCaption = "Предупреждение";
inline constexpr const char* kOthersNotListedText = "\n и другие (не перечислены)";

}  // namespace zelmot::model
