// The iPhone flag of the context: set from a fresh device list, with the device's friendly name,
// and detected first thing when the settings are loaded.
#include <gtest/gtest.h>

#include "app/Inifile_CL.h"
#include "device/DeviceFixture.h"

namespace lumicrate {
namespace {

class DetectIPhoneTest : public test::DeviceTest {};

TEST_F(DetectIPhoneTest, SetsTheFlagAndTheNameOnlyWhileTheDeviceIsThere) {
  context.DeviceName = "earlier";
  context.DetectIPhone(CameraQuery());
  EXPECT_EQ(context.IPhonePresent, 1);
  EXPECT_EQ(context.DeviceName, camera.Path().filename().string());

  context.DeviceName = "earlier";
  context.DetectIPhone({test::kCameraDescription, {}});
  EXPECT_EQ(context.IPhonePresent, 0);
  EXPECT_EQ(context.DeviceName, "earlier");
}

TEST_F(DetectIPhoneTest, LoadingTheSettingsLooksForAnIPhoneFirst) {
  std::filesystem::remove(DataFolder() / "log.txt");
  AppContext fresh;
  fresh.IPhonePresent = 1;
  fresh.LoadSettings(Settings());
  EXPECT_NE(LogText().find(" : DeviceCount = "), std::string::npos);
  PortableDeviceManager_CL manager;
  ASSERT_EQ(manager.EnumerateDevices(), S_OK);
  EXPECT_EQ(fresh.IPhonePresent, manager.FindDeviceByDescription(kIPhoneDescription) >= 0 ? 1 : 0);
}

} // namespace
} // namespace lumicrate
