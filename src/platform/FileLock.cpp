// flock rather than fcntl locks: they belong to the open file, so threads of one process
// exclude each other too, and closing another descriptor of the file does not drop them.
#include "platform/FileLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <utility>

namespace lumicrate {

FileLock::~FileLock() {
  Release();
}

FileLock::FileLock(FileLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
  if (this != &other) {
    Release();
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

HRESULT FileLock::Acquire(const std::filesystem::path& lockFile, Mode mode) {
  Release();
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
  fd_ = fd;
  return S_OK;
}

void FileLock::Release() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
}

} // namespace lumicrate
