// The single-instance check: a lock named after the product address, held until exit.
#pragma once

#include <filesystem>
#include <string>

#include "platform/FileLock.h"

namespace lumicrate {

class InstanceLock {
public:
  // Folder for the lock file: $XDG_RUNTIME_DIR, else the given fallback (the data folder).
  static std::filesystem::path LockFolder(const std::filesystem::path& fallback);
  // "https://lumicrate.example/Lumicrate" becomes a file name without slashes.
  static std::string LockFileName(const std::string& productAddress);

  // Returns true when this process is the only instance; false when another holds the lock.
  bool TryAcquire(const std::filesystem::path& lockFile);

private:
  FileLock lock_;
};

} // namespace lumicrate
