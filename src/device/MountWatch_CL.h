// The mount table watched for volumes to import from: which mounts arrived and went since the
// last look, keeping only memory cards, USB drives and camera cards.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "device/RemovableVolumes.h"
#include "platform/FileDescriptor.h"
#include "platform/HResult.h"

namespace lumicrate {

// A volume to import from, as a drive letter is on Windows.
struct Volume {
  std::filesystem::path mountPoint;
  std::string productName; // empty when the drive does not say
};

struct VolumeChange {
  std::vector<Volume> arrived;
  std::vector<Volume> removed;
};

// Whether a mount seen for the first time is a volume to import from: a block device that is
// removable or on USB or MMC, or one that holds a DCIM folder at its root (a camera card by the
// DCF rule, whatever its bus). A bind mount (of a folder, or of a file system mounted already)
// never is, nor the output folder's own file system (outputDevice, when known), nor anything
// without a block device behind it: system, virtual and network file systems.
bool IsImportableMount(const MountEntry& mount, bool alreadyMounted, const std::string& outputDevice,
                       const std::filesystem::path& sysDevBlock);

// The device number ("8:17") of the file system holding path, or of its nearest existing
// parent; empty when even that cannot be found.
std::string DeviceNumberOf(const std::filesystem::path& path);

class MountWatch_CL {
public:
  explicit MountWatch_CL(std::filesystem::path mountInfo = "/proc/self/mountinfo",
                         std::filesystem::path sysDevBlock = "/sys/dev/block");

  // Opens the mount table and takes its first look: what is mounted already never arrives.
  HRESULT Open();
  // Signals a change of the table as an exceptional condition (poll's POLLPRI); -1 until Open.
  int Descriptor() const { return fd_.Get(); }

  // Reads the table again. Volumes of the output folder's file system never arrive.
  VolumeChange ReadChange(const std::filesystem::path& outputFolder);

private:
  struct Known {
    MountEntry entry;
    bool importable = false;
    std::string productName;
  };

  std::vector<MountEntry> ReadTable() const;
  Known Judge(const MountEntry& entry, bool alreadyMounted, const std::string& outputDevice) const;

  std::filesystem::path mountInfo_;
  std::filesystem::path sysDevBlock_;
  FileDescriptor fd_;
  std::vector<Known> mounts_; // what the last look found
};

} // namespace lumicrate
