// Reads user-dirs.dirs as the shell that xdg-user-dir uses would: XDG_DOCUMENTS_DIR="$HOME/..."
// or an absolute path, backslash escapes undone, the last assignment winning.
#include "platform/UserFolders.h"

#include <cstdlib>
#include <fstream>
#include <optional>
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

// The folder one line names, or nothing when the line is not a usable XDG_DOCUMENTS_DIR.
std::optional<std::filesystem::path> DocumentsLine(std::string_view line, const std::filesystem::path& home) {
  const size_t first = line.find_first_not_of(" \t");
  constexpr std::string_view kKey = "XDG_DOCUMENTS_DIR=\"";
  if (first == std::string_view::npos || line.substr(first, kKey.size()) != kKey) {
    return std::nullopt;
  }
  std::string value;
  bool closed = false;
  for (size_t i = first + kKey.size(); i < line.size(); ++i) {
    if (line[i] == '"') {
      closed = true;
      break;
    }
    if (line[i] == '\\' && i + 1 < line.size()) {
      ++i;
    }
    value.push_back(line[i]);
  }
  if (!closed) {
    return std::nullopt;
  }
  constexpr std::string_view kHome = "$HOME";
  if (value.rfind(kHome, 0) == 0 && (value.size() == kHome.size() || value[kHome.size()] == '/')) {
    // "$HOME" or "$HOME/" alone is how a user switches the folder off: the home folder stands in.
    const std::filesystem::path relative = std::filesystem::path(value.substr(kHome.size())).relative_path();
    return relative.empty() ? home : home / relative;
  }
  if (!value.empty() && value.front() == '/') {
    return std::filesystem::path(value);
  }
  return std::nullopt;
}

} // namespace

std::filesystem::path DocumentsFolder() {
  const std::filesystem::path home = HomeFolder();
  std::filesystem::path config = home / ".config";
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') {
    config = xdg;
  }
  std::optional<std::filesystem::path> documents;
  std::ifstream dirs(config / "user-dirs.dirs");
  for (std::string line; std::getline(dirs, line);) {
    if (auto folder = DocumentsLine(line, home)) {
      documents = std::move(folder);
    }
  }
  return documents ? *documents : home / "Documents";
}

} // namespace lumicrate
