// The table is read through one descriptor kept open, because the kernel reports changes only
// to a reader that holds it; each look reads it whole from the start.
#include "device/MountWatch_CL.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace lumicrate {
namespace {

bool SameMount(const MountEntry& a, const MountEntry& b) {
  return a.mountId == b.mountId && a.deviceNumber == b.deviceNumber && a.mountPoint == b.mountPoint;
}

} // namespace

bool IsImportableMount(const MountEntry& mount, bool alreadyMounted, const std::string& outputDevice,
                       const std::filesystem::path& sysDevBlock) {
  if (alreadyMounted || mount.root != "/" || mount.deviceNumber == outputDevice) {
    return false;
  }
  const std::optional<BlockDisk> disk = ReadBlockDisk(mount.deviceNumber, sysDevBlock);
  if (!disk) {
    return false;
  }
  std::error_code ec;
  return disk->removable || std::filesystem::is_directory(mount.mountPoint / "DCIM", ec);
}

std::string DeviceNumberOf(const std::filesystem::path& path) {
  std::filesystem::path probe = path;
  while (!probe.empty()) {
    struct stat info {};
    if (::stat(probe.c_str(), &info) == 0) {
      return std::to_string(major(info.st_dev)) + ":" + std::to_string(minor(info.st_dev));
    }
    if (probe == probe.parent_path()) {
      break;
    }
    probe = probe.parent_path();
  }
  return {};
}

MountWatch_CL::MountWatch_CL(std::filesystem::path mountInfo, std::filesystem::path sysDevBlock)
    : mountInfo_(std::move(mountInfo)), sysDevBlock_(std::move(sysDevBlock)) {}

HRESULT MountWatch_CL::Open() {
  fd_.Reset(::open(mountInfo_.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd_.Valid()) {
    return HResultFromErrno(errno);
  }
  // What is there at the start is judged too, so that taking such a card out is still noticed.
  mounts_.clear();
  ReadChange({});
  return S_OK;
}

std::vector<MountEntry> MountWatch_CL::ReadTable() const {
  std::string text;
  char buffer[65536];
  for (off_t offset = 0;;) {
    const ssize_t n = ::pread(fd_.Get(), buffer, sizeof buffer, offset);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n <= 0) {
      break;
    }
    text.append(buffer, static_cast<size_t>(n));
    offset += n;
  }
  return ParseMountInfo(text);
}

MountWatch_CL::Known MountWatch_CL::Judge(const MountEntry& entry, bool alreadyMounted,
                                          const std::string& outputDevice) const {
  Known judged{entry, IsImportableMount(entry, alreadyMounted, outputDevice, sysDevBlock_), {}};
  if (judged.importable) {
    if (const std::optional<BlockDisk> disk = ReadBlockDisk(entry.deviceNumber, sysDevBlock_)) {
      judged.productName = ProductName(*disk);
    }
  }
  return judged;
}

VolumeChange MountWatch_CL::ReadChange(const std::filesystem::path& outputFolder) {
  VolumeChange change;
  if (!fd_.Valid()) {
    return change;
  }
  const std::vector<MountEntry> table = ReadTable();
  const auto inTable = [&](const Known& known) {
    return std::any_of(table.begin(), table.end(),
                       [&](const MountEntry& entry) { return SameMount(entry, known.entry); });
  };
  for (const Known& known : mounts_) {
    if (known.importable && !inTable(known)) {
      change.removed.push_back({known.entry.mountPoint, known.productName});
    }
  }
  std::erase_if(mounts_, [&](const Known& known) { return !inTable(known); });

  // A device mounted before, or earlier in this change, makes a new mount of it a second view.
  const std::string outputDevice = outputFolder.empty() ? std::string() : DeviceNumberOf(outputFolder);
  for (const MountEntry& entry : table) {
    const auto seen = [&](auto same) { return std::any_of(mounts_.begin(), mounts_.end(), same); };
    if (seen([&](const Known& known) { return SameMount(known.entry, entry); })) {
      continue;
    }
    const bool alreadyMounted =
        seen([&](const Known& known) { return known.entry.deviceNumber == entry.deviceNumber; });
    Known judged = Judge(entry, alreadyMounted, outputDevice);
    if (judged.importable) {
      change.arrived.push_back({entry.mountPoint, judged.productName});
    }
    mounts_.push_back(std::move(judged));
  }
  return change;
}

} // namespace lumicrate
