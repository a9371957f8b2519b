// One line per event; the reading end does not block, as udev's socket does not.
#include "support/PipeUsbSource.h"

#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace lumicrate::test {

PipeUsbSource::PipeUsbSource() {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
    throw std::runtime_error("pipe2 failed");
  }
  read_.Reset(fds[0]);
  write_.Reset(fds[1]);
}

void PipeUsbSource::Announce(const std::string& action) {
  const std::string line = action + "\n";
  if (::write(write_.Get(), line.data(), line.size()) != static_cast<ssize_t>(line.size())) {
    throw std::runtime_error("announcing a USB event failed");
  }
}

std::optional<std::string> PipeUsbSource::Receive() {
  std::string action;
  char c = 0;
  while (::read(read_.Get(), &c, 1) == 1) {
    if (c == '\n') {
      return action;
    }
    action.push_back(c);
  }
  return std::nullopt;
}

} // namespace lumicrate::test
