// The owner of one open file descriptor: closed with the object, on every path.
// Move-only, so a descriptor has exactly one owner at a time.
#pragma once

#include <unistd.h>
#include <utility>

namespace lumicrate {

class FileDescriptor {
public:
  FileDescriptor() = default;
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() { Reset(); }
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  FileDescriptor& operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
      Reset(std::exchange(other.fd_, -1));
    }
    return *this;
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  int Get() const { return fd_; }
  bool Valid() const { return fd_ >= 0; }
  // Closes now and reports what close says: some file systems (network ones, a full disk) tell
  // of a failed write only there. 0 or -1 with errno, as close(2).
  int Close() { return ::close(std::exchange(fd_, -1)); }
  // Closes the descriptor held (if any) and takes fd instead.
  void Reset(int fd = -1) {
    if (fd_ >= 0) {
      ::close(fd_);
    }
    fd_ = fd;
  }

private:
  int fd_ = -1;
};

} // namespace lumicrate
