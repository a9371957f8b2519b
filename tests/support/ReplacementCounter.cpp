// A replacement is the rename of a new temporary file over the old one. The temporary names
// are unique, so the kernel never folds two of these events into one.
#include "support/ReplacementCounter.h"

#include <climits>
#include <gtest/gtest.h>
#include <string_view>
#include <sys/inotify.h>
#include <unistd.h>

namespace lumicrate::test {

ReplacementCounter::ReplacementCounter(const std::filesystem::path& folder)
    : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
  EXPECT_GE(fd_, 0);
  EXPECT_GE(::inotify_add_watch(fd_, folder.c_str(), IN_MOVED_FROM), 0);
}

ReplacementCounter::~ReplacementCounter() {
  ::close(fd_);
}

int ReplacementCounter::Take(const std::string& name) {
  const std::string tempPrefix = "." + name + ".new-";
  int count = 0;
  alignas(inotify_event) char buffer[64 * (sizeof(inotify_event) + NAME_MAX + 1)];
  for (ssize_t n; (n = ::read(fd_, buffer, sizeof buffer)) > 0;) {
    for (char* at = buffer; at < buffer + n;) {
      const auto* event = reinterpret_cast<const inotify_event*>(at);
      count += event->len > 0 && std::string_view(event->name).starts_with(tempPrefix);
      at += sizeof(inotify_event) + event->len;
    }
  }
  return count;
}

} // namespace lumicrate::test
