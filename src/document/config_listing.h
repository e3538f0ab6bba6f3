#pragma once
// A configuration as the tree-list view shows it, for the terminal: one line per row
// (description, name[:index], value, edit attribute, owner, error), or the same as JSON.
#include <string>

#include "model/desc_branch.h"

namespace zelmot::document {

// Tab-separated columns, branches as "[name]" lines, rows indented by depth.
std::string listConfigurationText(model::DescBranch& branch, const model::PresentationOptions& options);

// {"branch": name, "rows": [...]}, a row being either a parameter object (description,
// name, value, edit, owner, error, changed) or a nested branch object.
std::string listConfigurationJson(model::DescBranch& branch, const model::PresentationOptions& options);

// JSON string literal of a UTF-8 text (quotes included).
std::string jsonString(const std::string& text);

}  // namespace zelmot::document
