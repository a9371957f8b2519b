// The mounted volumes of removable drives (memory cards, USB sticks, cameras that show up as a
// drive): the mount table joined with what sysfs says of each block device.
#pragma once

#include <filesystem>
#include <optional>
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

// One mount table entry.
struct MountEntry {
  std::string mountId;      // unique among the mounts of the moment
  std::string deviceNumber; // "8:17"
  std::string root;         // the folder of the file system mounted there: "/" but for bind mounts
  std::filesystem::path mountPoint;
  std::string fsType;
  std::string source;
};

// The entries of a /proc/self/mountinfo text, with the octal escapes of mount points undone.
std::vector<MountEntry> ParseMountInfo(std::string_view text);

// What sysfs says of the disk a block device is, or belongs to.
struct BlockDisk {
  bool removable = false; // marked removable, or on a USB or MMC bus
  std::string vendor;
  std::string model;
};

// Nothing when the device number names no block device: virtual and network file systems, and
// other pseudo file systems, have none behind them.
std::optional<BlockDisk> ReadBlockDisk(const std::string& deviceNumber,
                                       const std::filesystem::path& sysDevBlock = "/sys/dev/block");

// What a person calls the drive: its model (the product id a card reader reports), else its
// vendor; empty when it reports neither.
std::string ProductName(const BlockDisk& disk);

// Mounts whose block device sysfs marks removable or finds on USB or MMC, in mount table order.
std::vector<RemovableVolume> ListRemovableVolumes(const std::filesystem::path& mountInfo = "/proc/self/mountinfo",
                                                  const std::filesystem::path& sysDevBlock = "/sys/dev/block");

} // namespace lumicrate
