// The desktop's camera mount let go before a device run gives up: which mounts are the device's,
// and how often the run asks and tries again.
#include <gtest/gtest.h>

#include "device/DesktopCameraMount.h"
#include "device/Gphoto.h"
#include "import/ImportFixtures.h"

namespace lumicrate {
namespace {

TEST(DesktopCameraMountTest, KnowsTheDesktopsMountsOfADevice) {
  const struct {
    std::string uri;
    std::string unixDevice;
    bool matches;
  } cases[] = {
      {"gphoto2://Canon_Inc._Canon_Digital_Camera/", "/dev/bus/usb/001/005", true},
      {"mtp://Apple_Inc._iPhone_00008030/", "/dev/bus/usb/001/005", true},
      {"gphoto2://[usb:001,005]/", "", true},
      {"gphoto2://Canon_Inc._Canon_Digital_Camera/", "/dev/bus/usb/001/006", false},
      {"gphoto2://[usb:001,006]/", "", false},
      {"file:///media/u/EOS", "/dev/bus/usb/001/005", false},
      {"afc://00008030/", "/dev/bus/usb/001/005", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsDesktopMountOf(c.uri, c.unixDevice, "usb:001,005"), c.matches) << c.uri << " " << c.unixDevice;
  }
  EXPECT_FALSE(IsDesktopMountOf("gphoto2://[usb:001,005]/", "", "disk:/tmp/camera"));
}

class OpenRetryTest : public test::ImportTest {};

TEST_F(OpenRetryTest, ReleasesTheDesktopMountAndTriesAgainAFewTimes) {
  const HRESULT inUse = gphoto::ToHResult(GP_ERROR_IO_USB_CLAIM);
  const struct {
    int busyOpens; // opens that find the device held
    bool releases; // whether a desktop mount was there to let go
    HRESULT other; // a failure that is not the device being held, or 0
    HRESULT expected;
    int opens;
    int releaseCalls;
    std::vector<std::string> logged;
  } cases[] = {
      {0, true, S_OK, S_OK, 1, 0, {}},
      {2, true, S_OK, S_OK, 3, 2, {"デバイスをもう一度開きます(1回目)", "デバイスをもう一度開きます(2回目)"}},
      {9, true, S_OK, inUse, 4, 3, {"デバイスをもう一度開きます(3回目)"}},
      {9, false, S_OK, inUse, 1, 1, {"デバイスを使用中のデスクトップのマウントが見つかりません"}},
      {0, true, E_FAIL, E_FAIL, 1, 0, {}},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(DataFolder() / "log.txt");
    int opens = 0;
    int releases = 0;
    const HRESULT hr = OpenReleasingDesktopMount(
        [&] {
          ++opens;
          return opens <= c.busyOpens ? inUse : c.other;
        },
        [&] {
          ++releases;
          return c.releases;
        },
        3, std::chrono::milliseconds(0));
    EXPECT_EQ(hr, c.expected) << c.busyOpens;
    EXPECT_EQ(opens, c.opens) << c.busyOpens;
    EXPECT_EQ(releases, c.releaseCalls) << c.busyOpens;
    for (const std::string& line : c.logged) {
      EXPECT_NE(LogText().find(" : " + line + "\r\n"), std::string::npos) << line;
    }
  }
}

TEST(DesktopCameraMountTest, NothingToReleaseWithoutADesktopMount) {
  EXPECT_FALSE(ReleaseDesktopMount("disk:/nonexistent"));
}

} // namespace
} // namespace lumicrate
