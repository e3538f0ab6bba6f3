#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <stdlib.h>

namespace zelmot::test_support {

TempFolder::TempFolder() {
  std::string pattern = ::testing::TempDir() + "zelmot_test_XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed";
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ec;
  // Tests take rights away; give them back so that the folder can be removed.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
  }
  std::filesystem::remove_all(path_, ec);
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : name_(name) {
  if (const char* old = ::getenv(name)) old_ = old, hadOld_ = true;
  if (value) ::setenv(name, value, 1); else ::unsetenv(name);
}

ScopedEnv::~ScopedEnv() {
  if (hadOld_) ::setenv(name_.c_str(), old_.c_str(), 1); else ::unsetenv(name_.c_str());
}

}  // namespace zelmot::test_support
