#pragma once
// A fresh folder for one test, removed with everything in it afterwards (also what a test
// took the rights of), and an environment variable set for one scope.
#include <filesystem>
#include <string>

namespace zelmot::test_support {

class TempFolder {
public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The path of `name` inside the folder, as text.
  std::string file(const std::string& name) const { return (path_ / name).string(); }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
  std::filesystem::path path_;
};

// Sets (or unsets, with nullptr) an environment variable for one scope.
class ScopedEnv {
public:
  ScopedEnv(const char* name, const char* value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
  std::string name_;
  std::string old_;
  bool hadOld_ = false;
};

}  // namespace zelmot::test_support
