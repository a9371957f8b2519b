// A lock that cannot be taken for any other reason than another instance (say, an unwritable
// folder) lets this instance run: refusing to start would be worse than a second window.
#include "platform/InstanceLock.h"

#include <cerrno>
#include <cstdlib>

namespace lumicrate {

std::filesystem::path InstanceLock::LockFolder(const std::filesystem::path& fallback) {
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime == '/') {
    std::error_code ec;
    if (std::filesystem::is_directory(runtime, ec)) {
      return runtime;
    }
  }
  return fallback;
}

std::string InstanceLock::LockFileName(const std::string& productAddress) {
  std::string name;
  for (const char c : productAddress) {
    name.push_back(c == '/' || c == ':' ? '_' : c);
  }
  return name + ".lock";
}

bool InstanceLock::TryAcquire(const std::filesystem::path& lockFile) {
  const HRESULT hr = lock_.Acquire(lockFile, FileLock::Mode::TryOnce);
  return hr != HResultFromErrno(EWOULDBLOCK);
}

} // namespace lumicrate
