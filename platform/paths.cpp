#include "platform/paths.h"

#include <cstdlib>
#include <system_error>

namespace lv {

std::optional<std::filesystem::path> UserDirectoryPath() {
  std::filesystem::path base;
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && xdg[0] == '/') {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') {
      return std::nullopt;
    }
    base = std::filesystem::path(home) / ".config";
  }
  return base / kMakerFolder / kProductFolder;
}

bool EnsureDirectory(const std::filesystem::path& dir) {
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  return std::filesystem::is_directory(dir, ec);
}

std::filesystem::path BasebandDirectory() {
  std::error_code ec;
  std::filesystem::path cwd = std::filesystem::current_path(ec);
  if (ec) {
    cwd = ".";
  }
  return cwd / "Baseband";
}

}  // namespace lv
