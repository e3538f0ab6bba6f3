#include <map>
#include <set>
#include <variant>

#include "model/desc_branch.h"
#include "platform/ascii_text.h"
#include "model_rules.h"

namespace zelmot::desc {
namespace {

using model::BranchRecord;
using model::LinkRecord;
using model::ReferenceRecord;

struct OpenBranch {
  size_t record;
  long long remaining;
  std::vector<size_t> references;  // catalogue numbers of its own parameters
};

class TreeChecker {
public:
  TreeChecker(const std::vector<model::TreeRecord>& records,
              const std::vector<model::CatalogueRecord>& catalogue, bool mainTree, RuleSet rules)
      : records_(records), catalogue_(catalogue), mainTree_(mainTree), coreRules_(rules == RuleSet::All) {
    for (const auto& r : catalogue) names_.insert(toLowerAscii(r.name));
  }

  RecordProblems run() {
    if (records_.empty() || !std::holds_alternative<BranchRecord>(records_[0])) {
      structural({0, "дерево должно начинаться с записи ветви"});
      return problems_;
    }
    walk();
    if (mainTree_ && mainBranches_ == 0)
      problems_.push_back({0, "ни одна ветвь не отмечена как главная (100)"});
    if (mainTree_ && mainBranches_ > 1)
      problems_.push_back({0, "главными (100) отмечены " + std::to_string(mainBranches_) + " ветви; прибор запомнит последнюю"});
    if (!mainTree_ && mainBranches_ > 0)
      problems_.push_back({0, "ветвь дерева измерений отмечена как главная (100)"});
    if (!mainTree_ && references_ > kMaxPolledParameters)
      problems_.push_back({0, std::to_string(references_) + " опрашиваемых параметров; опрос обслуживает не более " +
                                  std::to_string(kMaxPolledParameters)});
    return problems_;
  }

private:
  void walk() {
    std::vector<OpenBranch> stack;
    size_t cursor = 0;
    openBranch(stack, cursor++);
    while (!stack.empty()) {
      if (stack.back().remaining <= 0) {
        closeBranch(stack.back());
        stack.pop_back();
        continue;
      }
      if (cursor >= records_.size()) {
        structural({stack.back().record, "ветвь объявляет " + std::to_string(stack.back().remaining) +
                                                      " потомков сверх записей файла"});
        return;
      }
      --stack.back().remaining;
      size_t n = cursor++;
      if (std::holds_alternative<BranchRecord>(records_[n])) {
        if (stack.size() >= static_cast<size_t>(model::kMaxTreeDepth)) {
          structural({n, "вложенность ветвей больше " + std::to_string(model::kMaxTreeDepth)});
          return;
        }
        openBranch(stack, n);
      } else if (const auto* link = std::get_if<LinkRecord>(&records_[n])) {
        checkLink(n, *link);
      } else {
        checkReference(n, std::get<ReferenceRecord>(records_[n]), stack.back());
      }
    }
    if (cursor < records_.size())
      structural({cursor, std::to_string(records_.size() - cursor) +
                                       " записей после конца корневой ветви не будут прочитаны"});
  }

  void openBranch(std::vector<OpenBranch>& stack, size_t n) {
    const auto& branch = std::get<BranchRecord>(records_[n]);
    long long count = static_cast<long long>(branch.countA) + branch.countB + branch.countC;
    if (branch.countA < 0 || branch.countB < 0 || branch.countC < 0)
      structural({n, "отрицательное число потомков ветви '" + branch.name + "'"});
    if (branch.marker == 100) ++mainBranches_;
    text(n, "имя ветви", branch.name, kBranchNameField);
    stack.push_back({n, count, {}});
  }

  // Every indexed parameter of one branch must carry the same linear index: the program
  // takes it as the index of the branch and refuses a branch that mixes them.
  void closeBranch(const OpenBranch& branch) {
    if (!mainTree_) return;
    long long common = -1;
    for (size_t number : branch.references) {
      const auto& r = catalogue_[number];
      if (!recordHasIndex(r)) continue;
      if (common == -1) common = r.linearIndex;
      if (r.linearIndex != common) {
        const auto& b = std::get<BranchRecord>(records_[branch.record]);
        problems_.push_back({branch.record, "ветвь '" + b.name + "' содержит параметры с разными линейными индексами (" +
                                                std::to_string(common) + " и " + recordLabel(r) + ")"});
        return;
      }
    }
  }

  void checkLink(size_t n, const LinkRecord& link) {
    text(n, "первый текст связи", link.text1, kLinkText1Field);
    text(n, "второй текст связи", link.text2, kLinkText2Field);
    text(n, "параметр связи", link.text3, kLinkNameField);
    if (!link.text3.empty() && !names_.count(toLowerAscii(link.text3)))
      problems_.push_back({n, "связь называет неизвестный параметр '" + link.text3 + "'"});
  }

  void checkReference(size_t n, const ReferenceRecord& reference, OpenBranch& owner) {
    ++references_;
    text(n, "подпись в дереве", reference.caption, kReferenceCaptionField);
    if (reference.catalogueIndex < 0 || static_cast<size_t>(reference.catalogueIndex) >= catalogue_.size()) {
      structural({n, "ссылка на запись каталога " + std::to_string(reference.catalogueIndex) +
                                  ", а в каталоге " + std::to_string(catalogue_.size()) + " записей"});
      return;
    }
    owner.references.push_back(static_cast<size_t>(reference.catalogueIndex));
  }

  // Faults of the file's structure, which the core's own check reports already.
  void structural(RecordProblem problem) {
    if (coreRules_) problems_.push_back(std::move(problem));
  }

  void text(size_t n, const char* field, const std::string& value, size_t size) {
    std::string problem = textFitProblem(value, size);
    if (!problem.empty()) problems_.push_back({n, std::string("поле ") + field + ": " + problem});
  }

  const std::vector<model::TreeRecord>& records_;
  const std::vector<model::CatalogueRecord>& catalogue_;
  bool mainTree_;
  bool coreRules_;
  std::set<std::string> names_;
  RecordProblems problems_;
  int mainBranches_ = 0;
  size_t references_ = 0;
};

}  // namespace

RecordProblems checkTreeRecords(const std::vector<model::TreeRecord>& records,
                                const std::vector<model::CatalogueRecord>& catalogue, bool mainTree,
                                RuleSet rules) {
  return TreeChecker(records, catalogue, mainTree, rules).run();
}

}  // namespace zelmot::desc
