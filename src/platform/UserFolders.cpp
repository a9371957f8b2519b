// Reads user-dirs.dirs the way xdg-user-dir does: one XDG_DOCUMENTS_DIR="$HOME/..." line.
#include "platform/UserFolders.h"

#include <cstdlib>
#include <fstream>
#include <pwd.h>
#include <string>
#include <unistd.h>

namespace lumicrate {
namespace {

std::filesystem::path HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) {
    return home;
  }
  if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir) {
    return entry->pw_dir;
  }
  return "/";
}

} // namespace

std::filesystem::path DocumentsFolder() {
  const std::filesystem::path home = HomeFolder();
  std::filesystem::path config = home / ".config";
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') {
    config = xdg;
  }
  std::ifstream dirs(config / "user-dirs.dirs");
  std::string line;
  const std::string key = "XDG_DOCUMENTS_DIR=";
  while (std::getline(dirs, line)) {
    if (line.rfind(key, 0) != 0) {
      continue;
    }
    std::string value = line.substr(key.size());
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
      value = value.substr(1, value.size() - 2);
    }
    if (value.rfind("$HOME", 0) == 0) {
      const std::string rest = value.substr(5);
      // "$HOME/" alone means the documents folder is disabled; use the fallback.
      if (rest.empty() || rest == "/") {
        break;
      }
      return home / std::filesystem::path(rest).relative_path();
    }
    if (!value.empty() && value.front() == '/') {
      return value;
    }
  }
  return home / "Documents";
}

} // namespace lumicrate
