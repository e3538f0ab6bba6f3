#include "pty_link.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace zelmot::sim {
namespace {

namespace fs = std::filesystem;

// A link whose target is a character device still leads to a terminal someone serves.
bool pointsToLiveTerminal(const std::string& linkPath, std::string& target) {
  std::error_code ec;
  target = fs::read_symlink(linkPath, ec).string();
  struct stat info {};
  return ::stat(linkPath.c_str(), &info) == 0 && S_ISCHR(info.st_mode);
}

}  // namespace

bool claimPtyLink(const std::string& linkPath, const std::string& slavePath, std::string& error) {
  std::error_code ec;
  const fs::file_status status = fs::symlink_status(linkPath, ec);
  if (fs::is_symlink(status)) {
    std::string target;
    // A killed simulator leaves its link behind, and the kernel may hand its terminal's
    // number to this simulator's own new terminal: then the link is stale, not taken.
    if (pointsToLiveTerminal(linkPath, target) && target != slavePath) {
      error = "ссылка " + linkPath + " уже указывает на действующий терминал " + target +
              " (запущен другой симулятор?)";
      return false;
    }
    fs::remove(linkPath, ec);
  } else if (fs::exists(status)) {
    error = linkPath + " уже существует и не является ссылкой";
    return false;
  }
  // Fails when another simulator made the link in the meantime: it is not taken over.
  fs::create_symlink(slavePath, linkPath, ec);
  if (ec) {
    error = "не удается создать ссылку " + linkPath + ": " + std::strerror(ec.value());
    return false;
  }
  return true;
}

void releasePtyLink(const std::string& linkPath, const std::string& slavePath) {
  std::error_code ec;
  if (fs::read_symlink(linkPath, ec).string() == slavePath && !ec) fs::remove(linkPath, ec);
}

}  // namespace zelmot::sim
