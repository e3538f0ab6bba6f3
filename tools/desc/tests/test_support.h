#pragma once
// Shared pieces of the compiler's tests: a temporary folder, file helpers, and a small but
// complete model source that each refusal test breaks in one place.
#include <filesystem>
#include <string>
#include <vector>

namespace zelmot::desc::testing {

class TempDir {
public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
  std::filesystem::path path_;
};

void writeFile(const std::filesystem::path& path, const std::string& text);
std::string readFile(const std::filesystem::path& path);
std::vector<unsigned char> readBytes(const std::filesystem::path& path);

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
