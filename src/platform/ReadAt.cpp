#include "platform/ReadAt.h"

#include <cerrno>
#include <unistd.h>

namespace lumicrate {

ssize_t ReadAt(int fd, void* buffer, size_t count, off_t offset) {
  char* bytes = static_cast<char*>(buffer);
  size_t done = 0;
  while (done < count) {
    const ssize_t n = ::pread(fd, bytes + done, count - done, offset + static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n < 0) {
      return -1;
    }
    if (n == 0) {
      break;
    }
    done += static_cast<size_t>(n);
  }
  return static_cast<ssize_t>(done);
}

} // namespace lumicrate
