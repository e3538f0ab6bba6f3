#pragma once
// The rules a set of description records must keep, shared by the compiler (which maps a
// problem back to the line of the model source) and by `zelmot-desc check` (which names
// the file and record). Each rule guards something the program or the device relies on.
#include <cstddef>
#include <string>
#include <vector>

#include "model/description_records.h"
#include "model/structural_tables.h"

namespace zelmot::desc {

struct RecordProblem {
  size_t record = 0;  // record (or constant) number the problem belongs to
  std::string message;
};

using RecordProblems = std::vector<RecordProblem>;

// Field capacities in bytes of windows-1251 text, terminating zero included.
inline constexpr size_t kNameField = 9;
inline constexpr size_t kCaptionField = 256;
inline constexpr size_t kTypeField = 1024;
inline constexpr size_t kInitialField = 256;
inline constexpr size_t kHintField = 256;
inline constexpr size_t kErrorField = 512;
inline constexpr size_t kBranchNameField = 483;
inline constexpr size_t kLinkText1Field = 238;
inline constexpr size_t kLinkText2Field = 256;
inline constexpr size_t kLinkNameField = 9;
inline constexpr size_t kReferenceCaptionField = 494;

inline constexpr size_t kMaxEnumerationItems = 127;
// Two polling threads serve at most 63 parameters each.
inline constexpr size_t kMaxPolledParameters = 126;

// Empty text when the UTF-8 text fits the field in windows-1251, else why not.
std::string textFitProblem(const std::string& utf8, size_t fieldSize);

// Enumeration items of a type descriptor; empty when it names a value type.
std::vector<std::string> enumerationItems(const std::string& typeDescriptor);

// Which rules to apply: all of them for the model source; for installed files only those
// the core's own check (checkDescriptionFiles) does not make already.
enum class RuleSet { All, BeyondCore };

// Has-linear-index as the catalogue loader decides it from the index mode.
bool recordHasIndex(const model::CatalogueRecord& record);

// Constants as the device link keeps them: 8 bits, 255 for an absent one.
model::DescriptionConstants descriptionConstants(const model::ConstantsText& constants);

// Display form of a record: "name" or "name:index".
std::string recordLabel(const model::CatalogueRecord& record);

RecordProblems checkConstants(const model::ConstantsText& constants, RuleSet rules = RuleSet::All);
RecordProblems checkCatalogueRecords(const std::vector<model::CatalogueRecord>& records,
                                     const model::ConstantsText& constants, RuleSet rules = RuleSet::All);
// mainTree: the tree with the main branch (marker 100) rather than the measurement tree.
RecordProblems checkTreeRecords(const std::vector<model::TreeRecord>& records,
                                const std::vector<model::CatalogueRecord>& catalogue,
                                bool mainTree, RuleSet rules = RuleSet::All);

}  // namespace zelmot::desc
