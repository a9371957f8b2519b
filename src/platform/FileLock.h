// An flock on a lock file, held for the object's lifetime and released by the kernel
// when the process ends, however it ends.
#pragma once

#include <filesystem>

#include "platform/HResult.h"

namespace lumicrate {

class FileLock {
public:
  enum class Mode { Wait, TryOnce };

  FileLock() = default;
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  FileLock(FileLock&& other) noexcept;
  FileLock& operator=(FileLock&& other) noexcept;

  // Creates the lock file if needed and takes an exclusive lock on it. With TryOnce a lock
  // held elsewhere gives HResultFromErrno(EWOULDBLOCK) at once. With removeOnRelease the lock
  // file exists only while someone holds it (a killed holder leaves it to the next one).
  HRESULT Acquire(const std::filesystem::path& lockFile, Mode mode, bool removeOnRelease = false);
  void Release();
  bool Held() const { return fd_ >= 0; }

private:
  int fd_ = -1;
  std::filesystem::path removeOnRelease_;
};

} // namespace lumicrate
