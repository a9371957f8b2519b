// The mounted volumes of removable drives (memory cards, USB sticks, cameras that show up as a
// drive): the mount table joined with what sysfs says of each block device.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace lumicrate {

struct RemovableVolume {
  std::filesystem::path mountPoint;
  std::string source; // "/dev/sdb1"
  std::string vendor;
  std::string model;
};

// One mount table entry: the device number ("8:17"), the mount point and the mounted source.
struct MountEntry {
  std::string deviceNumber;
  std::filesystem::path mountPoint;
  std::string source;
};

// The entries of a /proc/self/mountinfo text, with the octal escapes of mount points undone.
std::vector<MountEntry> ParseMountInfo(std::string_view text);

// Mounts whose block device sysfs marks removable or finds on USB, in mount table order.
std::vector<RemovableVolume> ListRemovableVolumes(const std::filesystem::path& mountInfo = "/proc/self/mountinfo",
                                                  const std::filesystem::path& sysDevBlock = "/sys/dev/block");

} // namespace lumicrate
