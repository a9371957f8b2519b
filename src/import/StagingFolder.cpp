// One flat folder holds every staged copy, so the leftovers of a killed run are found without
// walking the library, whatever dates that run was importing.
#include "import/StagingFolder.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

#include "import/OutputFolderLock.h"
#include "platform/FileLock.h"

namespace lumicrate {
namespace {

bool Exists(const std::filesystem::path& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

} // namespace

HRESULT PrepareStagingFolder(const std::filesystem::path& output, std::filesystem::path& folder) {
  const std::filesystem::path staging = output / kStagingFolderName;
  RemoveStagingFolder(output);
  if (::mkdir(staging.c_str(), 0700) != 0) {
    return HResultFromErrno(errno);
  }
  folder = staging;
  return S_OK;
}

void RemoveStagingFolder(const std::filesystem::path& output) {
  std::error_code ignored;
  std::filesystem::remove_all(output / kStagingFolderName, ignored);
}

void RemoveImportLeftovers(const std::filesystem::path& output) {
  const std::filesystem::path lockFile = output / OutputFolderLock::kLockFileName;
  if (!Exists(lockFile) && !Exists(output / kStagingFolderName)) {
    return;
  }
  FileLock lock;
  if (lock.Acquire(lockFile, FileLock::Mode::TryOnce, true) == S_OK) {
    RemoveStagingFolder(output);
  }
}

} // namespace lumicrate
