#include <variant>

#include "model/desc_branch.h"
#include "model_dumper.h"
#include "model_rules.h"
#include "model_rules.h"
#include "template_text.h"
#include "yaml_writer.h"

namespace zelmot::desc {
namespace {

using model::BranchRecord;
using model::LinkRecord;
using model::ReferenceRecord;

// Deeper trees are refused rather than risking the stack of the writer.
constexpr size_t kMaxDepth = model::kMaxTreeDepth;

struct Node {
  size_t record = 0;
  std::vector<size_t> children;  // node numbers
};

class TreeDumper {
public:
  TreeDumper(const std::vector<model::TreeRecord>& records, const std::vector<model::CatalogueRecord>& catalogue)
      : records_(records), catalogue_(catalogue) {}

  bool run(std::string& yaml, std::string& error) {
    if (!structure(error)) return false;
    yaml = "# Tree: branches with their parameters (by name and index) and scheme links.\ntree:\n";
    writeBranch(0, "  ", yaml);
    return true;
  }

private:
  // Builds the nodes in record order, as the loader consumes the records.
  bool structure(std::string& error) {
    if (records_.empty() || !std::holds_alternative<BranchRecord>(records_[0])) {
      error = "дерево должно начинаться с записи ветви";
      return false;
    }
    struct Open {
      size_t node;
      long long remaining;
    };
    nodes_.push_back({0, {}});
    std::vector<Open> stack = {{0, childCount(0)}};
    size_t cursor = 1;
    while (!stack.empty()) {
      if (stack.back().remaining <= 0) {
        stack.pop_back();
        continue;
      }
      if (cursor >= records_.size()) {
        error = "ветвь (запись " + std::to_string(nodes_[stack.back().node].record) + ") объявляет потомков сверх записей файла";
        return false;
      }
      --stack.back().remaining;
      nodes_.push_back({cursor, {}});
      nodes_[stack.back().node].children.push_back(nodes_.size() - 1);
      if (std::holds_alternative<BranchRecord>(records_[cursor])) {
        if (stack.size() >= kMaxDepth) {
          error = "вложенность ветвей глубже " + std::to_string(kMaxDepth);
          return false;
        }
        stack.push_back({nodes_.size() - 1, childCount(cursor)});
      } else if (const auto* ref = std::get_if<ReferenceRecord>(&records_[cursor])) {
        if (ref->catalogueIndex < 0 || static_cast<size_t>(ref->catalogueIndex) >= catalogue_.size()) {
          error = "запись " + std::to_string(cursor) + " ссылается на отсутствующую запись каталога " +
                  std::to_string(ref->catalogueIndex);
          return false;
        }
      }
      ++cursor;
    }
    if (cursor < records_.size()) {
      error = "после корневой ветви остались непрочитанные записи (с " + std::to_string(cursor) + ")";
      return false;
    }
    return true;
  }

  long long childCount(size_t record) const {
    const auto& b = std::get<BranchRecord>(records_[record]);
    return static_cast<long long>(b.countA) + b.countB + b.countC;
  }

  void writeBranch(size_t node, const std::string& indent, std::string& yaml) const {
    const auto& b = std::get<BranchRecord>(records_[nodes_[node].record]);
    yaml += indent + "branch: " + yamlQuoted(escapeTemplate(b.name)) + "\n";
    if (b.marker != 0) yaml += indent + "marker: " + std::to_string(b.marker) + "\n";
    if (b.value1 != 0 || b.value2 != 0 || b.value3 != 0)
      yaml += indent + "values: [" + std::to_string(b.value1) + ", " + std::to_string(b.value2) + ", " +
              std::to_string(b.value3) + "]\n";
    int32_t refs = 0, branches = 0, links = 0;
    for (size_t child : nodes_[node].children) {
      const auto& r = records_[nodes_[child].record];
      if (std::holds_alternative<BranchRecord>(r)) ++branches;
      else if (std::holds_alternative<LinkRecord>(r)) ++links;
      else ++refs;
    }
    if (b.countA != refs || b.countB != branches || b.countC != links)
      yaml += indent + "counts: [" + std::to_string(b.countA) + ", " + std::to_string(b.countB) + ", " +
              std::to_string(b.countC) + "]\n";
    if (nodes_[node].children.empty()) return;
    yaml += indent + "items:\n";
    for (size_t child : nodes_[node].children) writeChild(child, indent + "  ", yaml);
  }

  void writeChild(size_t node, const std::string& indent, std::string& yaml) const {
    const auto& record = records_[nodes_[node].record];
    std::string inner = indent + "  ";
    if (std::holds_alternative<BranchRecord>(record)) {
      yaml += indent + "- ";
      std::string branch;
      writeBranch(node, inner, branch);
      yaml += branch.substr(inner.size());
    } else if (const auto* link = std::get_if<LinkRecord>(&record)) {
      yaml += indent + "- link: {text1: " + yamlQuoted(escapeTemplate(link->text1)) + ", text2: " +
              yamlQuoted(escapeTemplate(link->text2)) + ", param: " + yamlQuoted(escapeTemplate(link->text3)) +
              ", number1: " + std::to_string(link->number1) + ", number2: " + std::to_string(link->number2) + "}\n";
    } else {
      writeReference(std::get<ReferenceRecord>(record), indent, yaml);
    }
  }

  void writeReference(const ReferenceRecord& ref, const std::string& indent, std::string& yaml) const {
    const auto& target = catalogue_[static_cast<size_t>(ref.catalogueIndex)];
    yaml += indent + "- {param: " + yamlQuoted(target.name);
    if (recordHasIndex(target)) yaml += ", index: " + std::to_string(target.linearIndex);
    if (!ref.caption.empty()) yaml += ", caption: " + yamlQuoted(escapeTemplate(ref.caption));
    if (ref.locked != 0) yaml += ", locked: " + (ref.locked == 1 ? std::string("true") : std::to_string(ref.locked));
    if (ref.subIndex != 0) yaml += ", sub: " + std::to_string(ref.subIndex);
    if (ref.kind != 3) yaml += ", kind: " + std::to_string(ref.kind);
    yaml += "}\n";
  }

  const std::vector<model::TreeRecord>& records_;
  const std::vector<model::CatalogueRecord>& catalogue_;
  std::vector<Node> nodes_;
};

}  // namespace

bool dumpTree(const std::vector<model::TreeRecord>& records, const std::vector<model::CatalogueRecord>& catalogue,
              std::string& yaml, std::string& error) {
  return TreeDumper(records, catalogue).run(yaml, error);
}

}  // namespace zelmot::desc
