// A small ext4 image made from a folder, attached to a loop device and mounted where a test
// says: a memory card as the kernel shows one. Needs root; always detached again.
#pragma once

#include <filesystem>
#include <string>

namespace lumicrate::test {

class LoopImage {
public:
  // Why images cannot be made and mounted here, or empty when they can. The test's process then
  // has mounts of its own, so tests running beside it never see its cards, nor it theirs.
  static std::string Unavailable();

  // Builds image from the files under contents and attaches it; Attached() tells whether that worked.
  LoopImage(const std::filesystem::path& contents, const std::filesystem::path& image);
  ~LoopImage();
  LoopImage(const LoopImage&) = delete;
  LoopImage& operator=(const LoopImage&) = delete;

  bool Attached() const { return !device_.empty(); }
  const std::string& Device() const { return device_; }
  bool Mount(const std::filesystem::path& mountPoint);
  void Unmount();

private:
  std::string device_;
  std::filesystem::path mountPoint_;
};

} // namespace lumicrate::test
