#pragma once
// The rows of the tree-list view, without any view toolkit: which item stands where, and
// the texts and colour of each cell. Children are built the first time their parent is
// expanded, so a large tree opens at once; the texts are read from the parameters every
// time they are asked for, so a refreshed row always shows the current state.
//
// Threads: rows are built and read on the view's thread only. The parameters they show
// guard themselves, so the exchange thread may change them meanwhile.
#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/parameter.h"

namespace zelmot::model {
class DescBranch;
class InvisibleElement;
}  // namespace zelmot::model

namespace zelmot::app {

enum class Column { Description = 0, Name, Value, EditAttribute, Owner, Errors };
inline constexpr int kColumnCount = 6;

struct ColumnSpec {
  const char* title;
  int width;  // initial width in pixels
};

inline constexpr std::array<ColumnSpec, kColumnCount> kColumns{{
    {"Описание", 300},
    {"Параметр", 70},
    {"Значение", 130},
    {"Атрибут редактирования", 110},
    {"Владелец", 90},
    {"Ошибки ввода-вывода", 220},
}};

struct ViewOptions {
  bool showLinearIndexes = false;
  int discreteInputCount = 0;  // sub-items under r.Cn (the constant nDiskretInput)
};

class TreeRow {
public:
  enum class Kind {
    Branch,     // a branch of the device tree
    Parameter,  // a parameter (possibly shown in place of a single-parameter branch)
    SubItem,    // a fixed text under a parameter (the discrete inputs under r.Cn)
    Node,       // a program-side node: service parameters, network settings
  };

  Kind kind() const { return kind_; }
  TreeRow* parent() const { return parent_; }
  int rowInParent() const { return rowInParent_; }

  // Built children only; a row whose children are not built yet reports 0.
  size_t childCount() const { return children_.size(); }
  TreeRow* child(size_t row) const { return row < children_.size() ? children_[row].get() : nullptr; }
  bool childrenBuilt() const { return childrenBuilt_; }
  // Whether the row has (or, before building, will have) children.
  bool mayHaveChildren(const ViewOptions& options) const;

  model::Parameter* parameter() const { return parameter_; }
  // Branch rows: the branch. Parameter rows shown in place of a single-parameter branch:
  // that branch. Otherwise null.
  model::DescBranch* branch() const { return branch_; }
  model::InvisibleElement* node() const { return node_; }
  // The branch this row belongs to: its own branch (for a parameter shown in place of a
  // single-parameter branch, that branch), else the nearest ancestor's.
  model::DescBranch* owningBranch() const;

  std::string text(Column column, const ViewOptions& options) const;
  // Parameter rows: the parameter's colour. Branch and node rows: red when something below
  // has a problem; kept until invalidateColour(), since it walks the whole subtree.
  model::Rgb colour() const;
  void invalidateColour() const { colourKnown_ = false; }
  bool isContainer() const { return kind_ == Kind::Branch || kind_ == Kind::Node; }

private:
  friend class TreeRows;

  Kind kind_ = Kind::Branch;
  TreeRow* parent_ = nullptr;  // not owned: the parent owns this row
  int rowInParent_ = 0;
  model::Parameter* parameter_ = nullptr;       // not owned: the document's catalogue
  model::DescBranch* branch_ = nullptr;         // not owned: the document's tree
  model::InvisibleElement* node_ = nullptr;     // not owned: the document
  std::string label_;  // description column of parameter, sub-item and node rows
  bool childrenBuilt_ = false;
  mutable bool colourKnown_ = false;
  mutable model::Rgb colour_;
  std::vector<std::unique_ptr<TreeRow>> children_;  // owned
};

class TreeRows {
public:
  using RowList = std::vector<std::unique_ptr<TreeRow>>;

  TreeRows();
  ~TreeRows();
  TreeRows(const TreeRows&) = delete;
  TreeRows& operator=(const TreeRows&) = delete;

  // Forgets every row and shows `root` (may be null), the measurement tree (when given)
  // and the program-side nodes at the top.
  void reset(model::DescBranch* root, const std::vector<model::InvisibleElement*>& nodes,
             model::DescBranch* measurementRoot = nullptr);

  // The invisible top row whose children are the top-level items.
  TreeRow& top() { return top_; }
  const TreeRow& top() const { return top_; }

  // The children `row` would get, not yet attached (the view announces them first).
  RowList makeChildren(const TreeRow& row, const ViewOptions& options) const;
  // Attaches children made by makeChildren; the row then counts as built.
  void attachChildren(TreeRow& row, RowList children);
  // makeChildren + attachChildren when not yet built; returns the row's child count.
  size_t ensureChildren(TreeRow& row, const ViewOptions& options);

  // Every built row that shows the parameter (a parameter may stand in several places).
  const std::vector<TreeRow*>& rowsOf(const model::Parameter* parameter) const;
  // The first built row that shows the branch, or null.
  TreeRow* rowOf(const model::DescBranch* branch) const;

  // The cached colours of the rows above `row` (and of every row) are recomputed when next
  // asked for.
  void invalidateAncestors(const TreeRow& row);
  void invalidateAll();

  // Every built row, depth first.
  template <typename Visit>
  void forEachBuilt(Visit&& visit) {
    visitBuilt(top_, visit);
  }

private:
  template <typename Visit>
  static void visitBuilt(TreeRow& row, Visit& visit) {
    for (auto& child : row.children_) {
      visit(*child);
      visitBuilt(*child, visit);
    }
  }
  void index(TreeRow& row);

  TreeRow top_;
  std::unordered_map<const model::Parameter*, std::vector<TreeRow*>> byParameter_;
  std::unordered_map<const model::DescBranch*, TreeRow*> byBranch_;
};

// The branches from `root` down to `target`, both included; empty when `target` is not in
// the subtree of `root`.
std::vector<const model::DescBranch*> branchPath(const model::DescBranch& root,
                                                 const model::DescBranch* target);

}  // namespace zelmot::app
