// lexically_normal keeps the trailing slash of "photos/" as an empty last element; the runs
// compare and log paths as text, so it goes.
#include "platform/CleanPath.h"

namespace lumicrate {

std::filesystem::path CleanPath(const std::filesystem::path& path) {
  std::error_code ec;
  std::filesystem::path clean = std::filesystem::absolute(path, ec).lexically_normal();
  if (clean.has_relative_path() && !clean.has_filename()) {
    clean = clean.parent_path();
  }
  return clean;
}

} // namespace lumicrate
