// The installed data folder is given relative to the bin folder at build time, so an installed
// tree can be moved as a whole (a DESTDIR, another prefix) and still finds its data.
#include "platform/ProgramFiles.h"

namespace lumicrate {

std::filesystem::path ProgramFolder() {
  std::error_code ec;
  return std::filesystem::read_symlink("/proc/self/exe", ec).parent_path();
}

std::filesystem::path ProgramDataPath(const std::filesystem::path& programFolder,
                                      const std::filesystem::path& relative) {
  const std::filesystem::path beside = programFolder / relative;
  const std::filesystem::path dataFolder = (programFolder / LUMICRATE_DATA_FROM_BIN).lexically_normal();
  std::error_code ec;
  if (std::filesystem::exists(beside, ec)) {
    return beside;
  }
  return std::filesystem::is_directory(dataFolder, ec) ? dataFolder / relative : beside;
}

std::filesystem::path ProgramDataPath(const std::filesystem::path& relative) {
  return ProgramDataPath(ProgramFolder(), relative);
}

} // namespace lumicrate
