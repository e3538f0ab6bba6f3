#include <map>

#include "platform/ascii_text.h"
#include "model_source.h"
#include "model_rules.h"
#include "template_text.h"
#include "yaml_reader.h"

namespace zelmot::desc {
namespace {

// Guards against a mistyped `repeat` range filling the memory.
constexpr size_t kMaxTreeRecords = 1000000;

struct IndexRange {
  bool indexed = false;
  long long first = 0;
  long long last = 0;
};

// Children of one branch, counted by sort: parameters, branches, scheme links.
struct ChildCounts {
  int32_t references = 0;
  int32_t branches = 0;
  int32_t links = 0;
};

class TreeSourceReader {
public:
  TreeSourceReader(YamlReader& reader, const std::vector<model::CatalogueRecord>& catalogue, SourceTree& tree)
      : reader_(reader), tree_(tree) {
    for (size_t n = 0; n < catalogue.size(); ++n) {
      const auto& r = catalogue[n];
      bool indexed = recordHasIndex(r);
      long long index = indexed ? r.linearIndex : -1;
      elements_.emplace(std::make_pair(toLowerAscii(r.name), index), n);
      auto [it, fresh] = ranges_.emplace(toLowerAscii(r.name), IndexRange{indexed, index, index});
      if (!fresh) {
        it->second.indexed = it->second.indexed || indexed;
        it->second.first = std::min(it->second.first, index);
        it->second.last = std::max(it->second.last, index);
      }
    }
  }

  bool readRoot(const YAML::Node& node) {
    if (!reader_.isMap(node, "tree") || !node["branch"]) {
      reader_.error(node, "корень дерева должен быть ветвью ('branch')");
      return false;
    }
    ChildCounts unused;
    return readItem(node, {}, unused);
  }

private:
  // An item with `repeat` stands for one copy per value of its variables.
  bool readItem(const YAML::Node& node, const Bindings& bindings, ChildCounts& counts) {
    if (!reader_.isMap(node, "элемент дерева")) return false;
    const YAML::Node& repeat = node["repeat"];
    if (!repeat) return readSingle(node, bindings, counts);
    std::vector<std::pair<std::string, std::string>> variables;
    if (repeat.IsScalar()) {
      variables.emplace_back("i", repeat.Scalar());
    } else if (repeat.IsMap()) {
      for (const auto& pair : repeat) variables.emplace_back(pair.first.Scalar(), pair.second.Scalar());
    } else {
      reader_.error(repeat, "'repeat': ожидается диапазон или {переменная: диапазон}");
      return false;
    }
    return repeatOver(node, variables, 0, bindings, counts);
  }

  bool repeatOver(const YAML::Node& node, const std::vector<std::pair<std::string, std::string>>& variables,
                  size_t level, const Bindings& bindings, ChildCounts& counts) {
    if (level == variables.size()) return readSingle(node, bindings, counts);
    int first = 0;
    int last = 0;
    std::string error;
    if (!parseRange(variables[level].second, first, last, error)) {
      reader_.error(node["repeat"], error);
      return false;
    }
    bool ok = true;
    for (int value = first; value <= last; ++value) {
      Bindings inner = bindings;
      inner.emplace_back(variables[level].first, value);
      ok = repeatOver(node, variables, level + 1, inner, counts) && ok;
      if (!ok) return false;
    }
    return ok;
  }

  bool readSingle(const YAML::Node& node, const Bindings& bindings, ChildCounts& counts) {
    if (tree_.records.size() >= kMaxTreeRecords) {
      reader_.error(node, "дерево разрослось больше " + std::to_string(kMaxTreeRecords) + " записей");
      return false;
    }
    if (node["branch"]) {
      ++counts.branches;
      return readBranch(node, bindings);
    }
    if (node["param"]) {
      ++counts.references;
      return readReference(node, bindings);
    }
    if (node["link"]) {
      ++counts.links;
      return readLink(node, bindings);
    }
    reader_.error(node, "элемент дерева должен быть 'branch', 'param' или 'link'");
    return false;
  }

  bool expand(const YAML::Node& node, const std::string& text, const Bindings& bindings, std::string& out) {
    std::string error;
    if (expandTemplate(text, bindings, out, error)) return true;
    reader_.error(node, error);
    return false;
  }

  bool readBranch(const YAML::Node& node, const Bindings& bindings) {
    if (!reader_.onlyKeys(node, {"branch", "repeat", "marker", "values", "counts", "items"})) return false;
    model::BranchRecord branch;
    std::string name;
    if (!reader_.text(node, "branch", name) || !expand(node, name, bindings, branch.name)) return false;
    if (!reader_.integer(node, "marker", branch.marker)) return false;
    if (!readTriple(node, "values", branch.value1, branch.value2, branch.value3)) return false;
    size_t self = tree_.records.size();
    tree_.records.push_back(branch);
    tree_.places.push_back({reader_.file(), reader_.line(node)});
    ChildCounts counts;
    const YAML::Node& items = node["items"];
    if (items) {
      if (!reader_.isSequence(items, "items")) return false;
      for (const auto& item : items)
        if (!readItem(item, bindings, counts)) return false;
    }
    return setCounts(node, counts, std::get<model::BranchRecord>(tree_.records[self]));
  }

  // Counts are derived from the children unless given (a dump of foreign files keeps them).
  bool setCounts(const YAML::Node& node, const ChildCounts& counts, model::BranchRecord& branch) {
    branch.countA = counts.references;
    branch.countB = counts.branches;
    branch.countC = counts.links;
    if (!node["counts"]) return true;
    int32_t a = 0, b = 0, c = 0;
    if (!readTriple(node, "counts", a, b, c)) return false;
    long long total = static_cast<long long>(counts.references) + counts.branches + counts.links;
    if (static_cast<long long>(a) + b + c != total) {
      reader_.error(node["counts"], "сумма 'counts' не равна числу потомков ветви (" + std::to_string(total) + ")");
      return false;
    }
    branch.countA = a;
    branch.countB = b;
    branch.countC = c;
    return true;
  }

  bool readTriple(const YAML::Node& node, const char* key, int32_t& a, int32_t& b, int32_t& c) {
    const YAML::Node& list = node[key];
    if (!list) return true;
    if (!list.IsSequence() || list.size() != 3) {
      reader_.error(list, std::string("'") + key + "': ожидается список из трех чисел");
      return false;
    }
    return reader_.scalarInteger(list[0], a) && reader_.scalarInteger(list[1], b) &&
           reader_.scalarInteger(list[2], c);
  }

  bool readReference(const YAML::Node& node, const Bindings& bindings) {
    if (!reader_.onlyKeys(node, {"param", "index", "repeat", "caption", "locked", "sub", "kind"})) return false;
    model::ReferenceRecord reference;
    std::string name;
    std::string caption;
    if (!reader_.text(node, "param", name) || !reader_.text(node, "caption", caption) ||
        !expand(node, caption, bindings, reference.caption) || !reader_.byte(node, "locked", reference.locked) ||
        !reader_.integer(node, "sub", reference.subIndex) || !reader_.byte(node, "kind", reference.kind))
      return false;
    if (reference.kind == 1 || reference.kind == 2) {
      reader_.error(node["kind"], "вид записи ссылки не может быть 1 или 2 (это ветвь и связь)");
      return false;
    }
    if (!resolve(node, name, bindings, reference.catalogueIndex)) return false;
    tree_.records.push_back(reference);
    tree_.places.push_back({reader_.file(), reader_.line(node)});
    return true;
  }

  bool resolve(const YAML::Node& node, const std::string& name, const Bindings& bindings, int32_t& number) {
    auto range = ranges_.find(toLowerAscii(name));
    if (range == ranges_.end()) {
      reader_.error(node, "неизвестный параметр '" + name + "'");
      return false;
    }
    long long index = -1;
    const YAML::Node& indexNode = node["index"];
    if (indexNode) {
      int value = 0;
      std::string error;
      if (!indexNode.IsScalar() || !evaluateExpression(indexNode.Scalar(), bindings, value, error)) {
        reader_.error(indexNode, error.empty() ? "'index': ожидается выражение" : error);
        return false;
      }
      index = value;
    } else if (range->second.indexed) {
      reader_.error(node, "параметр '" + name + "' индексный: укажите 'index' (" +
                              std::to_string(range->second.first) + ".." + std::to_string(range->second.last) + ")");
      return false;
    }
    auto element = elements_.find({toLowerAscii(name), index});
    if (element == elements_.end()) {
      std::string known = range->second.indexed ? std::to_string(range->second.first) + ".." +
                                                      std::to_string(range->second.last)
                                                : "у параметра нет индекса";
      reader_.error(indexNode ? indexNode : node, "индекс " + std::to_string(index) + " параметра '" + name +
                                                      "' вне диапазона (" + known + ")");
      return false;
    }
    number = static_cast<int32_t>(element->second);
    return true;
  }

  bool readLink(const YAML::Node& node, const Bindings& bindings) {
    if (!reader_.onlyKeys(node, {"link", "repeat"})) return false;
    const YAML::Node& fields = node["link"];
    if (!reader_.isMap(fields, "link") ||
        !reader_.onlyKeys(fields, {"text1", "text2", "param", "number1", "number2"}))
      return false;
    model::LinkRecord link;
    std::string text1, text2, param;
    if (!reader_.text(fields, "text1", text1) || !reader_.text(fields, "text2", text2) ||
        !reader_.text(fields, "param", param) || !expand(fields, text1, bindings, link.text1) ||
        !expand(fields, text2, bindings, link.text2) || !expand(fields, param, bindings, link.text3))
      return false;
    if (!readNumber(fields, "number1", bindings, link.number1) || !readNumber(fields, "number2", bindings, link.number2))
      return false;
    if (!link.text3.empty() && !ranges_.count(toLowerAscii(link.text3))) {
      reader_.error(fields, "связь называет неизвестный параметр '" + link.text3 + "'");
      return false;
    }
    tree_.records.push_back(link);
    tree_.places.push_back({reader_.file(), reader_.line(node)});
    return true;
  }

  bool readNumber(const YAML::Node& map, const char* key, const Bindings& bindings, int32_t& value) {
    const YAML::Node& node = map[key];
    if (!node) return true;
    std::string error;
    int result = 0;
    if (!node.IsScalar() || !evaluateExpression(node.Scalar(), bindings, result, error)) {
      reader_.error(node, error.empty() ? std::string("'") + key + "': ожидается выражение" : error);
      return false;
    }
    value = result;
    return true;
  }

  YamlReader& reader_;
  SourceTree& tree_;
  std::map<std::pair<std::string, long long>, size_t> elements_;
  std::map<std::string, IndexRange> ranges_;
};

}  // namespace

// tree:
//   branch: Прибор ZELMOT
//   marker: 100
//   items: [...]
bool readTreeSource(const std::filesystem::path& file, const std::vector<model::CatalogueRecord>& catalogue,
                    SourceTree& tree, SourceErrors& errors) {
  size_t before = errors.size();
  YamlReader reader(file.string(), errors);
  YAML::Node root;
  if (!reader.load(root)) return false;
  if (!reader.isMap(root, "файл дерева") || !reader.onlyKeys(root, {"tree"})) return false;
  if (!root["tree"]) {
    reader.error(root, "нет ключа 'tree'");
    return false;
  }
  TreeSourceReader(reader, catalogue, tree).readRoot(root["tree"]);
  return errors.size() == before;
}

}  // namespace zelmot::desc
