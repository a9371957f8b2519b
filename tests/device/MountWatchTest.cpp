// Which new mounts are volumes to import from, judged over a mount table and a sysfs tree made
// in the test, and the kernel's own mount table with loop-mounted images where root allows it.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/mount.h>

#include "device/MountWatch_CL.h"
#include "support/LoopImage.h"
#include "support/TestSupport.h"

namespace lumicrate {
namespace {

std::vector<std::string> MountPoints(const std::vector<Volume>& volumes) {
  std::vector<std::string> points;
  for (const Volume& volume : volumes) {
    points.push_back(volume.mountPoint.string());
  }
  return points;
}

class FakeSystem : public ::testing::Test {
protected:
  void SetUp() override {
    // A USB card reader (8:16), an internal disk (8:0) and the disk the output folder is on.
    Disk("devices/pci0/usb1/1-1/host6/block/sdb", "0", "Generic ", "  Card Reader   ");
    Partition("devices/pci0/usb1/1-1/host6/block/sdb/sdb1", "8:17");
    Disk("devices/pci0/ata1/host0/block/sda", "0", "ATA", "Internal SSD");
    Partition("devices/pci0/ata1/host0/block/sda/sda1", "8:1");
    Partition("devices/pci0/ata1/host0/block/sda/sda2", "8:2");
    Disk("devices/pci0/mmc0/mmc0:0001/block/mmcblk0", "0", "", "");
    test::WriteBytes(sys / "devices/pci0/mmc0/mmc0:0001/block/mmcblk0/device/name", "SD32G\n");
    Partition("devices/pci0/mmc0/mmc0:0001/block/mmcblk0/mmcblk0p1", "179:1");
    outputDevice = DeviceNumberOf(output.Path());
    Disk("devices/virtual/block/out", "1", "Backup", "Disk");
    Link("devices/virtual/block/out", outputDevice);
    Table({"22 1 0:21 / /proc rw - proc proc rw", "30 1 8:2 / / rw - ext4 /dev/sda2 rw"});
    ASSERT_EQ(watch.Open(), S_OK);
  }

  void Disk(const std::string& path, const std::string& removable, const std::string& vendor,
            const std::string& model) {
    std::filesystem::create_directories(sys / path / "device");
    test::WriteBytes(sys / path / "removable", removable + "\n");
    test::WriteBytes(sys / path / "device/vendor", vendor + "\n");
    test::WriteBytes(sys / path / "device/model", model + "\n");
  }
  void Link(const std::string& path, const std::string& number) {
    std::filesystem::create_directories(sys / "dev/block");
    std::filesystem::create_symlink(sys / path, sys / "dev/block" / number);
  }
  void Partition(const std::string& path, const std::string& number) {
    std::filesystem::create_directories(sys / path);
    test::WriteBytes(sys / path / "partition", "1\n");
    Link(path, number);
  }
  void Table(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
      text += line + "\n";
    }
    test::WriteBytes(sys / "mountinfo", text);
  }

  test::TempDir sys;
  test::TempDir output;
  test::TempDir card; // a mount point whose folder holds DCIM
  std::string outputDevice;
  MountWatch_CL watch{sys / "mountinfo", sys / "dev/block"};
};

TEST_F(FakeSystem, OnlyRemovableUsbMmcAndCameraCardsArrive) {
  std::filesystem::create_directories(card / "DCIM");
  const std::string cardPoint = card.Path().string();
  Table({"22 1 0:21 / /proc rw - proc proc rw", "30 1 8:2 / / rw - ext4 /dev/sda2 rw",
         "40 30 8:17 / /media/u/EOS rw - exfat /dev/sdb1 rw",
         // bind mounts: of the reader's volume, of a folder of it, of the root disk
         "41 30 8:17 / /mnt/again rw - exfat /dev/sdb1 rw", "42 30 8:17 /DCIM /mnt/dcim rw - exfat /dev/sdb1 rw",
         "43 30 8:2 / /mnt/root rw - ext4 /dev/sda2 rw",
         // system, virtual and network file systems
         "44 30 0:50 / /run/user/0 rw - tmpfs tmpfs rw", "45 30 0:51 / /net/photos rw - nfs4 server:/photos rw",
         "46 30 0:52 / /srv/card rw - fuse.sshfs host:/card rw",
         // the internal disk: without DCIM, then with it
         "47 30 8:1 / /mnt/data rw - ext4 /dev/sda1 rw", "48 30 179:1 / /media/u/SD rw - vfat /dev/mmcblk0p1 rw",
         "49 30 " + outputDevice + " / /media/u/Backup rw - ext4 /dev/sdc1 rw"});
  VolumeChange change = watch.ReadChange(output.Path());
  EXPECT_EQ(MountPoints(change.arrived), (std::vector<std::string>{"/media/u/EOS", "/media/u/SD"}));
  ASSERT_EQ(change.arrived.size(), 2u);
  EXPECT_EQ(change.arrived[0].productName, "Card Reader");
  EXPECT_EQ(change.arrived[1].productName, "SD32G");
  EXPECT_TRUE(change.removed.empty());

  // The internal disk mounted again, now on a folder with DCIM: a camera card by the DCF rule.
  Table({"30 1 8:2 / / rw - ext4 /dev/sda2 rw", "40 30 8:17 / /media/u/EOS rw - exfat /dev/sdb1 rw",
         "50 30 8:1 / " + cardPoint + " rw - ext4 /dev/sda1 rw"});
  change = watch.ReadChange(output.Path());
  EXPECT_EQ(MountPoints(change.arrived), std::vector<std::string>{cardPoint});
  EXPECT_EQ(change.arrived[0].productName, "Internal SSD");
  EXPECT_EQ(MountPoints(change.removed), std::vector<std::string>{"/media/u/SD"});

  Table({"30 1 8:2 / / rw - ext4 /dev/sda2 rw"});
  change = watch.ReadChange(output.Path());
  EXPECT_TRUE(change.arrived.empty());
  EXPECT_EQ(MountPoints(change.removed), (std::vector<std::string>{"/media/u/EOS", cardPoint}));
}

TEST_F(FakeSystem, WhatWasMountedAtTheStartNeverArrivesButIsSeenToGo) {
  Table({"30 1 8:2 / / rw - ext4 /dev/sda2 rw", "40 30 8:17 / /media/u/EOS rw - exfat /dev/sdb1 rw"});
  MountWatch_CL later(sys / "mountinfo", sys / "dev/block");
  ASSERT_EQ(later.Open(), S_OK);
  EXPECT_TRUE(later.ReadChange(output.Path()).arrived.empty());

  // Taken out and put back between two looks: a new mount of the same device.
  Table({"30 1 8:2 / / rw - ext4 /dev/sda2 rw", "52 30 8:17 / /media/u/EOS rw - exfat /dev/sdb1 rw"});
  const VolumeChange change = later.ReadChange(output.Path());
  EXPECT_EQ(MountPoints(change.removed), std::vector<std::string>{"/media/u/EOS"});
  EXPECT_EQ(MountPoints(change.arrived), std::vector<std::string>{"/media/u/EOS"});
}

TEST(MountWatchTest, AMissingTableFailsToOpenAndReportsNothing) {
  test::TempDir dir;
  MountWatch_CL watch(dir / "none", dir.Path());
  EXPECT_EQ(watch.Open(), HResultFromErrno(ENOENT));
  EXPECT_EQ(watch.Descriptor(), -1);
  EXPECT_TRUE(watch.ReadChange({}).arrived.empty());
}

// The kernel's table and loop devices: the descriptor signals each mount and unmount.
class LoopMountTest : public ::testing::Test {
protected:
  void SetUp() override {
    if (const std::string why = test::LoopImage::Unavailable(); !why.empty()) {
      GTEST_SKIP() << why;
    }
    ASSERT_EQ(watch.Open(), S_OK);
  }
  bool Signalled() {
    pollfd fd{watch.Descriptor(), POLLPRI, 0};
    return ::poll(&fd, 1, 2000) == 1 && (fd.revents & POLLPRI);
  }
  std::filesystem::path Folder(const std::string& name, bool withDcim) {
    std::filesystem::create_directories(dir / name / "files");
    if (withDcim) {
      std::filesystem::create_directories(dir / name / "files/DCIM/100CANON");
      test::WriteBytes(dir / name / "files/DCIM/100CANON/IMG_0001.JPG", "jpeg");
    }
    std::filesystem::create_directories(dir / name / "mnt");
    return dir / name;
  }

  test::TempDir dir;
  MountWatch_CL watch;
};

TEST_F(LoopMountTest, ACameraCardImageArrivesAndGoesAPlainOneNever) {
  const auto cardFolder = Folder("card", true);
  const auto plainFolder = Folder("plain", false);
  test::LoopImage card(cardFolder / "files", dir / "card.img");
  test::LoopImage plain(plainFolder / "files", dir / "plain.img");
  ASSERT_TRUE(card.Attached() && plain.Attached());

  ASSERT_TRUE(plain.Mount(plainFolder / "mnt"));
  ASSERT_TRUE(Signalled());
  EXPECT_TRUE(watch.ReadChange(dir.Path()).arrived.empty());

  ASSERT_TRUE(card.Mount(cardFolder / "mnt"));
  ASSERT_TRUE(Signalled());
  VolumeChange change = watch.ReadChange(dir.Path());
  EXPECT_EQ(MountPoints(change.arrived), std::vector<std::string>{(cardFolder / "mnt").string()});

  // A bind mount of the card is the same card, not a second one.
  std::filesystem::create_directories(dir / "bound");
  ASSERT_EQ(::mount((cardFolder / "mnt").c_str(), (dir / "bound").c_str(), nullptr, MS_BIND, nullptr), 0);
  ASSERT_TRUE(Signalled());
  EXPECT_TRUE(watch.ReadChange(dir.Path()).arrived.empty());
  ::umount2((dir / "bound").c_str(), MNT_DETACH);
  ASSERT_TRUE(Signalled());
  EXPECT_TRUE(watch.ReadChange(dir.Path()).removed.empty());

  card.Unmount();
  ASSERT_TRUE(Signalled());
  change = watch.ReadChange(dir.Path());
  EXPECT_TRUE(change.arrived.empty());
  EXPECT_EQ(MountPoints(change.removed), std::vector<std::string>{(cardFolder / "mnt").string()});
}

} // namespace
} // namespace lumicrate
