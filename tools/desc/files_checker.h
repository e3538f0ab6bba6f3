#pragma once
// `zelmot-desc check`: validates a set of description files as an installation holds them.
#include <filesystem>
#include <string>
#include <vector>

namespace zelmot::desc {

// One message per problem, naming the file and the record; empty when the files are sound.
std::vector<std::string> checkDataDir(const std::filesystem::path& dataDir);

}  // namespace zelmot::desc
