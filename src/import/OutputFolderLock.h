// The import lock of an output folder. Two runs into one folder would otherwise both find a
// file missing and both copy it; with the lock the second waits and then finds it there.
#pragma once

#include <filesystem>
#include <functional>

#include "platform/FileLock.h"
#include "platform/HResult.h"

namespace lumicrate {

class OutputFolderLock {
public:
  static constexpr const char* kLockFileName = ".lumicrate-import.lock";

  // Creates the output folder if it is missing and takes its lock; while another run holds
  // it, calls waiting once and then waits for it. Held until the object goes.
  HRESULT Acquire(const std::filesystem::path& output, const std::function<void()>& waiting);

private:
  FileLock lock_;
};

} // namespace lumicrate
