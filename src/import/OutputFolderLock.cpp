// The lock file lives in the output folder itself, so runs from other processes, other users
// or other machines on a shared folder see the same lock; it is there only while a run holds it.
#include "import/OutputFolderLock.h"

#include <cerrno>

namespace lumicrate {

HRESULT OutputFolderLock::Acquire(const std::filesystem::path& output, const std::function<void()>& waiting) {
  std::error_code ignored;
  std::filesystem::create_directories(output, ignored);
  const std::filesystem::path lockFile = output / kLockFileName;
  const HRESULT hr = lock_.Acquire(lockFile, FileLock::Mode::TryOnce, true);
  if (hr != HResultFromErrno(EWOULDBLOCK)) {
    return hr;
  }
  if (waiting) {
    waiting();
  }
  return lock_.Acquire(lockFile, FileLock::Mode::Wait, true);
}

} // namespace lumicrate
