#include "document/config_listing.h"

#include <cstdio>

namespace zelmot::document {
namespace {

void listText(model::DescBranch& branch, const model::PresentationOptions& options, int depth,
              std::string& out) {
  const std::string indent(static_cast<size_t>(depth) * 2, ' ');
  for (const model::PresentationRow& row : branch.presentation(options)) {
    if (row.kind == model::PresentationRow::Kind::Branch) {
      out += indent + "[" + row.description + "]\n";
      listText(*row.branch, options, depth + 1, out);
      continue;
    }
    out += indent + row.description + "\t" + row.name + "\t" + row.value + "\t" +
           row.editAttribute + "\t" + row.owner + "\t" + row.errorText + "\n";
  }
}

std::string jsonField(const std::string& indent, const char* key, const std::string& value) {
  return indent + "\"" + key + "\": " + value;
}

// Pretty-printed: two spaces per level, one field per line, as jq prints it.
void listJson(model::DescBranch& branch, const std::string& title,
              const model::PresentationOptions& options, int depth, std::string& out) {
  const std::string indent(static_cast<size_t>(depth) * 2, ' ');
  const std::string inner = indent + "  ";
  const std::string field = inner + "    ";
  out += "{\n" + jsonField(inner, "branch", jsonString(title)) + ",\n" + inner + "\"rows\": [";
  bool first = true;
  for (const model::PresentationRow& row : branch.presentation(options)) {
    out += first ? "\n" : ",\n";
    first = false;
    out += inner + "  ";
    if (row.kind == model::PresentationRow::Kind::Branch) {
      listJson(*row.branch, row.description, options, depth + 2, out);
      continue;
    }
    const bool changed = row.parameter != nullptr && row.parameter->anyChangeFlag();
    out += "{\n" + jsonField(field, "description", jsonString(row.description)) + ",\n" +
           jsonField(field, "name", jsonString(row.name)) + ",\n" +
           jsonField(field, "value", jsonString(row.value)) + ",\n" +
           jsonField(field, "edit", jsonString(row.editAttribute)) + ",\n" +
           jsonField(field, "owner", jsonString(row.owner)) + ",\n" +
           jsonField(field, "error", jsonString(row.errorText)) + ",\n" +
           jsonField(field, "changed", changed ? "true" : "false") + "\n" + inner + "  }";
  }
  out += (first ? "]" : "\n" + inner + "]") + "\n" + indent + "}";
}

}  // namespace

std::string jsonString(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04x", c);
          out += escape;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

std::string listConfigurationText(model::DescBranch& branch,
                                  const model::PresentationOptions& options) {
  std::string out;
  listText(branch, options, 0, out);
  return out;
}

std::string listConfigurationJson(model::DescBranch& branch,
                                  const model::PresentationOptions& options) {
  std::string out;
  listJson(branch, branch.name(), options, 0, out);
  return out + "\n";
}

}  // namespace zelmot::document
