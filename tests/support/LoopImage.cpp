// mkfs.ext4 fills the image from a folder by itself, so no mount is needed to put files on it.
#include "support/LoopImage.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

namespace lumicrate::test {
namespace {

std::string Quoted(const std::filesystem::path& path) {
  return "'" + path.string() + "'";
}

std::string Output(const std::string& command) {
  std::string text;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) {
    return text;
  }
  std::array<char, 256> buffer{};
  while (std::fgets(buffer.data(), buffer.size(), pipe)) {
    text += buffer.data();
  }
  ::pclose(pipe);
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) {
    text.pop_back();
  }
  return text;
}

bool Run(const std::string& command) {
  return std::system(command.c_str()) == 0;
}

} // namespace

std::string LoopImage::Unavailable() {
  if (::geteuid() != 0) {
    return "loop-mounting a file-system image needs root";
  }
  if (!Run("command -v mkfs.ext4 >/dev/null && command -v losetup >/dev/null")) {
    return "mkfs.ext4 or losetup is missing (e2fsprogs, mount)";
  }
  static const std::string isolated = [] {
    if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
      return "no mount namespace of the test's own";
    }
    return "";
  }();
  return isolated;
}

LoopImage::LoopImage(const std::filesystem::path& contents, const std::filesystem::path& image) {
  const std::string make = "truncate -s 8M " + Quoted(image) + " && mkfs.ext4 -q -F -d " + Quoted(contents) + " " +
                           Quoted(image) + " >/dev/null 2>&1";
  if (Run(make)) {
    device_ = Output("losetup -f --show " + Quoted(image) + " 2>/dev/null");
  }
}

LoopImage::~LoopImage() {
  Unmount();
  if (Attached()) {
    Run("losetup -d " + device_ + " 2>/dev/null");
  }
}

bool LoopImage::Mount(const std::filesystem::path& mountPoint) {
  if (!Attached() || ::mount(device_.c_str(), mountPoint.c_str(), "ext4", 0, nullptr) != 0) {
    return false;
  }
  mountPoint_ = mountPoint;
  return true;
}

void LoopImage::Unmount() {
  if (!mountPoint_.empty()) {
    ::umount2(mountPoint_.c_str(), MNT_DETACH);
    mountPoint_.clear();
  }
}

} // namespace lumicrate::test
