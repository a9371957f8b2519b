// A partition has no "removable" attribute of its own: its disk, one folder up in sysfs, has.
// Card readers and sticks often say removable; USB disks do not, so being on USB counts too.
#include "device/RemovableVolumes.h"

#include <fstream>
#include <sstream>

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

std::string ReadTrimmed(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const size_t first = text.find_first_not_of(" \t\r\n");
  const size_t last = text.find_last_not_of(" \t\r\n");
  return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
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
    entries.push_back({parts[2], Unescape(parts[4]), Unescape(parts[separator + 2])});
  }
  return entries;
}

std::vector<RemovableVolume> ListRemovableVolumes(const std::filesystem::path& mountInfo,
                                                  const std::filesystem::path& sysDevBlock) {
  std::ifstream in(mountInfo);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<RemovableVolume> volumes;
  for (const MountEntry& entry : ParseMountInfo(text)) {
    std::error_code ec;
    const std::filesystem::path device = std::filesystem::canonical(sysDevBlock / entry.deviceNumber, ec);
    if (ec) {
      continue;
    }
    // The disk itself, or the disk a partition belongs to.
    const std::filesystem::path disk =
        std::filesystem::exists(device / "partition", ec) ? device.parent_path() : device;
    const bool onUsb = disk.string().find("/usb") != std::string::npos;
    if (ReadTrimmed(disk / "removable") != "1" && !onUsb) {
      continue;
    }
    volumes.push_back({entry.mountPoint, entry.source, ReadTrimmed(disk / "device" / "vendor"),
                       ReadTrimmed(disk / "device" / "model")});
  }
  return volumes;
}

} // namespace lumicrate
