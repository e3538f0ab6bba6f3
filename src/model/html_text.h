#pragma once
// Texts placed into the generated HTML pages.
#include <string>
#include <string_view>

namespace zelmot::model {

// "&", "<", ">" and '"' as entities, so that a text is shown as it is.
std::string escapeHtml(std::string_view text);

// A description or path on the parameter list page: escaped, and "№1" that names the first
// element of an indexed parameter becomes "№..." (the row stands for all elements). "№10"
// and the like are element numbers of their own and stay.
std::string escapeListText(std::string_view text);

}  // namespace zelmot::model
