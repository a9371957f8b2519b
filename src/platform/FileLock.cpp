// flock rather than fcntl locks: they belong to the open file, so threads of one process
// exclude each other too, and closing another descriptor of the file does not drop them.
#include "platform/FileLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace lumicrate {

FileLock::~FileLock() {
  Release();
}

FileLock::FileLock(FileLock&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), removeOnRelease_(std::move(other.removeOnRelease_)) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
  if (this != &other) {
    Release();
    fd_ = std::exchange(other.fd_, -1);
    removeOnRelease_ = std::move(other.removeOnRelease_);
  }
  return *this;
}

HRESULT FileLock::Acquire(const std::filesystem::path& lockFile, Mode mode, bool removeOnRelease) {
  Release();
  for (;;) {
    const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
      return HResultFromErrno(errno);
    }
    const int operation = mode == Mode::Wait ? LOCK_EX : LOCK_EX | LOCK_NB;
    int result;
    do {
      result = ::flock(fd, operation);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
      const int err = errno;
      ::close(fd);
      return HResultFromErrno(err);
    }
    // A holder that removes the file on release may have done so while we waited: the lock
    // we got is then on a file nobody else will look at, and the name must be locked afresh.
    struct stat locked {};
    struct stat named {};
    if (::fstat(fd, &locked) == 0 && ::stat(lockFile.c_str(), &named) == 0 && locked.st_dev == named.st_dev &&
        locked.st_ino == named.st_ino) {
      fd_ = fd;
      if (removeOnRelease) {
        removeOnRelease_ = lockFile;
      }
      return S_OK;
    }
    ::close(fd);
  }
}

void FileLock::Release() {
  if (fd_ >= 0) {
    // Removed while still held, so that no one can lock the old file after we let it go.
    if (!removeOnRelease_.empty()) {
      ::unlink(removeOnRelease_.c_str());
      removeOnRelease_.clear();
    }
    ::close(fd_);
    fd_ = -1;
  }
}

} // namespace lumicrate
