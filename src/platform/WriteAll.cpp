// A write that takes nothing counts as a failure, so a full or broken file can never make the
// loop spin.
#include "platform/WriteAll.h"

#include <cerrno>
#include <unistd.h>

namespace lumicrate {

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written <= 0) {
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

} // namespace lumicrate
