#pragma once
// Shared pieces of the compiler's tests: a small but complete model source that each
// refusal test breaks in one place, and where the project's model lies.
#include <filesystem>
#include <string>
#include <vector>

#include "support/file_text.h"
#include "support/temp_folder.h"

namespace zelmot::desc::testing {

// The four description file names.
const std::vector<std::string>& descriptionFileNames();

// Writes a small valid model into `dir`. Each part can be replaced to break it.
struct SmallModel {
  std::string constants;
  std::string parameters;  // parameters/params.yaml
  std::string tree;
  std::string treeOp;
};
SmallModel smallModel();
void writeModel(const std::filesystem::path& dir, const SmallModel& model);

// The model source of the project.
std::filesystem::path projectModelDir();

}  // namespace zelmot::desc::testing
