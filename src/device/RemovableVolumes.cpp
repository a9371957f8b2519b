// A partition has no "removable" attribute of its own: its disk, one folder up in sysfs, has.
// Card readers and sticks often say removable; USB disks and SD slots do not, so being on USB
// or MMC counts too.
#include "device/RemovableVolumes.h"

#include <fstream>
#include <sstream>

#include "platform/SysfsAttribute.h"

namespace lumicrate {
namespace {

bool IsOctal(char c, char highest = '7') {
  return c >= '0' && c <= highest;
}

// The kernel writes a space in a mount point as \040, a tab as \011, a backslash as \134.
std::string Unescape(std::string_view field) {
  std::string text;
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size() && IsOctal(field[i + 1], '3') && IsOctal(field[i + 2]) &&
        IsOctal(field[i + 3])) {
      text.push_back(static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0')));
      i += 3;
    } else {
      text.push_back(field[i]);
    }
  }
  return text;
}

} // namespace

std::vector<MountEntry> ParseMountInfo(std::string_view text) {
  std::vector<MountEntry> entries;
  std::istringstream lines{std::string(text)};
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::vector<std::string> parts;
    for (std::string part; fields >> part;) {
      parts.push_back(part);
    }
    // id parent major:minor root mount-point options [optional...] - type source super-options
    size_t separator = 6;
    while (separator < parts.size() && parts[separator] != "-") {
      ++separator;
    }
    if (parts.size() < 5 || separator + 2 >= parts.size()) {
      continue;
    }
    entries.push_back({parts[0], parts[2], Unescape(parts[3]), Unescape(parts[4]), parts[separator + 1],
                       Unescape(parts[separator + 2])});
  }
  return entries;
}

std::optional<BlockDisk> ReadBlockDisk(const std::string& deviceNumber, const std::filesystem::path& sysDevBlock) {
  std::error_code ec;
  const std::filesystem::path device = std::filesystem::canonical(sysDevBlock / deviceNumber, ec);
  if (ec || deviceNumber.empty()) {
    return std::nullopt;
  }
  const std::filesystem::path disk = std::filesystem::exists(device / "partition", ec) ? device.parent_path() : device;
  const std::string path = disk.string();
  const bool onBus = path.find("/usb") != std::string::npos || path.find("/mmc") != std::string::npos;
  BlockDisk found;
  found.removable = onBus || ReadAttribute(disk / "removable") == "1";
  found.vendor = ReadAttribute(disk / "device" / "vendor");
  // An SD card in a laptop's slot has no SCSI model; its card name stands in for it.
  found.model = ReadAttribute(disk / "device" / "model");
  if (found.model.empty()) {
    found.model = ReadAttribute(disk / "device" / "name");
  }
  return found;
}

std::string ProductName(const BlockDisk& disk) {
  return disk.model.empty() ? disk.vendor : disk.model;
}

std::vector<RemovableVolume> ListRemovableVolumes(const std::filesystem::path& mountInfo,
                                                  const std::filesystem::path& sysDevBlock) {
  std::ifstream in(mountInfo);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<RemovableVolume> volumes;
  for (const MountEntry& entry : ParseMountInfo(text)) {
    const std::optional<BlockDisk> disk = ReadBlockDisk(entry.deviceNumber, sysDevBlock);
    if (disk && disk->removable) {
      volumes.push_back({entry.mountPoint, entry.source, disk->vendor, disk->model});
    }
  }
  return volumes;
}

} // namespace lumicrate
