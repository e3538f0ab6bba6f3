#pragma once
// Whole files as text or bytes, for tests that look at what a program wrote.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace zelmot::test_support {

// The whole file; empty when it cannot be read.
std::string readWholeFile(const std::filesystem::path& path);
std::vector<uint8_t> readWholeFileBytes(const std::filesystem::path& path);
// Writes (replaces) the file, making its folder; fails the test when it cannot.
void writeWholeFile(const std::filesystem::path& path, const std::string& text);

}  // namespace zelmot::test_support
