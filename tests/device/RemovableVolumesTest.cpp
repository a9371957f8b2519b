// Removable volumes from a mount table and a sysfs tree made in the test: partitions of USB and
// removable disks are listed with their vendor and model, internal disks and pseudo file
// systems are not, and escaped mount points come out as written.
#include <gtest/gtest.h>

#include "device/RemovableVolumes.h"
#include "support/TestSupport.h"

namespace lumicrate {
namespace {

TEST(RemovableVolumesTest, ParsesMountInfoWithOptionalFieldsAndEscapes) {
  const auto entries = ParseMountInfo("22 28 0:21 / /proc rw,relatime - proc proc rw\n"
                                      "40 28 8:17 / /media/user/My\\040Card rw shared:1 master:2 - vfat /dev/sdb1 rw\n"
                                      "broken line\n");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].deviceNumber, "0:21");
  EXPECT_EQ(entries[1].deviceNumber, "8:17");
  EXPECT_EQ(entries[1].mountPoint, "/media/user/My Card");
  EXPECT_EQ(entries[1].source, "/dev/sdb1");
}

TEST(RemovableVolumesTest, ListsPartitionsOfRemovableAndUsbDisksOnly) {
  test::TempDir sys;
  const auto disk = [&](const std::string& path, const std::string& removable, const std::string& vendor,
                        const std::string& model) {
    std::filesystem::create_directories(sys / path / "device");
    test::WriteBytes(sys / path / "removable", removable + "\n");
    test::WriteBytes(sys / path / "device/vendor", vendor + "    \n");
    test::WriteBytes(sys / path / "device/model", model + "    \n");
  };
  const auto partition = [&](const std::string& path, const std::string& number) {
    std::filesystem::create_directories(sys / path);
    test::WriteBytes(sys / path / "partition", "1\n");
    std::filesystem::create_directories(sys / "dev/block");
    std::filesystem::create_symlink(sys / path, sys / "dev/block" / number);
  };
  disk("devices/pci0/usb1/1-1/host6/block/sdb", "0", "SanDisk", "Extreme");
  partition("devices/pci0/usb1/1-1/host6/block/sdb/sdb1", "8:17");
  disk("devices/pci0/ata1/host0/block/sda", "0", "ATA", "Internal SSD");
  partition("devices/pci0/ata1/host0/block/sda/sda2", "8:2");
  disk("devices/pci0/mmc0/block/mmcblk0", "1", "", "");
  partition("devices/pci0/mmc0/block/mmcblk0/mmcblk0p1", "179:1");
  test::WriteBytes(sys / "mountinfo", "22 28 0:21 / /proc rw - proc proc rw\n"
                                      "30 28 8:2 / / rw - ext4 /dev/sda2 rw\n"
                                      "40 28 8:17 / /media/user/EOS_DIGITAL rw - exfat /dev/sdb1 rw\n"
                                      "41 28 179:1 / /media/user/SD rw - vfat /dev/mmcblk0p1 rw\n");

  const auto volumes = ListRemovableVolumes(sys / "mountinfo", sys / "dev/block");
  ASSERT_EQ(volumes.size(), 2u);
  EXPECT_EQ(volumes[0].mountPoint, "/media/user/EOS_DIGITAL");
  EXPECT_EQ(volumes[0].source, "/dev/sdb1");
  EXPECT_EQ(volumes[0].vendor, "SanDisk");
  EXPECT_EQ(volumes[0].model, "Extreme");
  EXPECT_EQ(volumes[1].mountPoint, "/media/user/SD");
  EXPECT_EQ(volumes[1].vendor, "");
}

} // namespace
} // namespace lumicrate
