// The folder given to the desktop program on the command line becomes a Drive import, named
// after the card reader mounted there, and starts nothing while another import is under way.
#include <gtest/gtest.h>

#include "app/AppContext.h"
#include "device/FolderArrival.h"
#include "support/TestSupport.h"

namespace lumicrate {
namespace {

namespace fs = std::filesystem;

TEST(FolderArrivalTest, AFolderArrivesAsTheDriveMountedThere) {
  const test::TempDir sys;
  const fs::path disk = sys / "devices/usb1/host6/block/sdb";
  fs::create_directories(disk / "device");
  fs::create_directories(disk / "sdb1");
  test::WriteBytes(disk / "removable", "1\n");
  test::WriteBytes(disk / "device/vendor", "Generic \n");
  test::WriteBytes(disk / "device/model", "Card Reader    \n");
  test::WriteBytes(disk / "sdb1/partition", "1\n");
  fs::create_directories(sys / "dev/block");
  fs::create_symlink(disk / "sdb1", sys / "dev/block/8:17");
  test::WriteBytes(sys / "mountinfo", "30 28 8:2 / / rw - ext4 /dev/sda2 rw\n"
                                      "40 28 8:17 / /media/user/EOS_DIGITAL rw - exfat /dev/sdb1 rw\n");

  const struct {
    fs::path folder;
    std::string deviceName;
  } cases[] = {
      {"/media/user/EOS_DIGITAL", "Card Reader(/media/user/EOS_DIGITAL)"},
      {"/home/user/Pictures/old card", "(/home/user/Pictures/old card)"},
  };
  for (const auto& c : cases) {
    AppContext context;
    context.Mode = ImportMode::Album;
    ASSERT_TRUE(PrepareFolderArrival(context, c.folder, sys / "mountinfo", sys / "dev/block"));
    EXPECT_EQ(context.Mode, ImportMode::Drive);
    EXPECT_EQ(context.SourceFolder, c.folder);
    EXPECT_EQ(context.DeviceName, c.deviceName);
  }

  AppContext busy;
  busy.ReadyForImport = 0;
  busy.Mode = ImportMode::Album;
  EXPECT_FALSE(PrepareFolderArrival(busy, "/media/user/EOS_DIGITAL", sys / "mountinfo", sys / "dev/block"));
  EXPECT_EQ(busy.Mode, ImportMode::Album);
  EXPECT_TRUE(busy.SourceFolder.empty());
}

} // namespace
} // namespace lumicrate
