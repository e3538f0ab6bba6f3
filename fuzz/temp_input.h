#pragma once
// For targets whose code under test reads a file by name: the input goes to one file of
// this process in the temporary folder, rewritten for every input.
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace zelmot::fuzz {

inline std::filesystem::path writeTempInput(const std::string& name, const uint8_t* data, size_t size) {
  const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                     ("zelmot_fuzz_" + std::to_string(::getpid()) + "_" + name);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return path;
}

}  // namespace zelmot::fuzz
