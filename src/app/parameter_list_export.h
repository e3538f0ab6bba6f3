#pragma once
// Writes the parameter list page of the main tree as a windows-1251 HTML file, by default
// "parlist.html" in the program's "temp" folder. Opening it is the front end's part.
#include <filesystem>
#include <string>

namespace zelmot::model {
class DescBranch;
}

namespace zelmot::app {

inline constexpr const char* kTreeUndefinedText = "Дерево не определено";
inline constexpr const char* kOperationImpossibleCaption = "Операция невозможна";

// <program home>/temp/parlist.html; empty when there is no home folder.
std::filesystem::path defaultParameterListPath();

struct PageResult {
  bool ok = false;
  std::string message;  // why nothing was written, for the user
};

// Without a tree: kTreeUndefinedText. The folder is made when missing; an existing page is
// replaced whole or not at all.
PageResult writeParameterList(const model::DescBranch* root, const std::filesystem::path& path);

// Today as "%A, %B %d, %Y" in the names of the user's locale (English when it has none).
std::string currentDateText();

}  // namespace zelmot::app
