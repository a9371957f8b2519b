// How devices are named: every iPhone is "Apple iPhone" whatever libgphoto2 calls it, and a USB
// device's own names come from sysfs.
#include <gtest/gtest.h>

#include "device/DeviceNames.h"
#include "support/TestSupport.h"

namespace lumicrate {
namespace {

TEST(DeviceNamesTest, NamesDevicesFromModelPortAndUsbIdentity) {
  const UsbIdentity iPhone{0x05ac, "Apple Inc.", "iPhone"};
  const UsbIdentity iPad{0x05ac, "Apple Inc.", "iPad"};
  const UsbIdentity canon{0x04a9, "Canon Inc.", "Canon Digital Camera"};
  struct Case {
    const char* model;
    const char* port;
    std::optional<UsbIdentity> usb;
    DeviceNames expected;
  };
  const Case cases[] = {
      {"Apple iPhone 4S (PTP mode)", "usb:001,004", iPhone, {"iPhone", "Apple iPhone", "Apple Inc."}},
      {"USB PTP Class Camera", "usb:001,005", iPhone, {"iPhone", "Apple iPhone", "Apple Inc."}},
      {"Apple iPhone (PTP mode)", "usb:001,006", std::nullopt, {"Apple iPhone (PTP mode)", "Apple iPhone", ""}},
      {"USB PTP Class Camera", "usb:002,002", iPad, {"iPad", "USB PTP Class Camera", "Apple Inc."}},
      {"Canon EOS 5D Mark III", "usb:002,003", canon, {"Canon Digital Camera", "Canon EOS 5D Mark III", "Canon Inc."}},
      {"Mass Storage Camera", "disk:/media/user/EOS_DIGITAL", std::nullopt, {"EOS_DIGITAL", "Mass Storage Camera", ""}},
      {"Directory Browse", "disk:/", std::nullopt, {"/", "Directory Browse", ""}},
  };
  for (const Case& c : cases) {
    const DeviceNames names = NameDevice(c.model, c.port, c.usb);
    EXPECT_EQ(names.friendlyName, c.expected.friendlyName) << c.model << " " << c.port;
    EXPECT_EQ(names.description, c.expected.description) << c.model << " " << c.port;
    EXPECT_EQ(names.manufacturer, c.expected.manufacturer) << c.model << " " << c.port;
  }
}

TEST(DeviceNamesTest, ReadsTheUsbDeviceWithTheBusAndDeviceNumberOfThePort) {
  test::TempDir sysfs;
  const auto add = [&](const std::string& name, const std::string& bus, const std::string& device,
                       const std::string& vendor, const std::string& product) {
    std::filesystem::create_directories(sysfs / name);
    test::WriteBytes(sysfs / name / "busnum", bus + "\n");
    test::WriteBytes(sysfs / name / "devnum", device + "\n");
    test::WriteBytes(sysfs / name / "idVendor", vendor + "\n");
    test::WriteBytes(sysfs / name / "manufacturer", "Maker of " + product + "\n");
    test::WriteBytes(sysfs / name / "product", product + "\n");
  };
  add("1-1", "1", "4", "046d", "Keyboard");
  add("1-2", "1", "5", "05ac", "iPhone");
  add("2-1", "2", "5", "04a9", "Camera");
  std::filesystem::create_directories(sysfs / "1-2:1.0"); // an interface, with no numbers

  const auto identity = ReadUsbIdentity("usb:001,005", sysfs.Path());
  ASSERT_TRUE(identity);
  EXPECT_EQ(identity->vendorId, 0x05ac);
  EXPECT_EQ(identity->manufacturer, "Maker of iPhone");
  EXPECT_EQ(identity->product, "iPhone");
  EXPECT_FALSE(ReadUsbIdentity("usb:003,001", sysfs.Path()));
  EXPECT_FALSE(ReadUsbIdentity("disk:/media/card", sysfs.Path()));
  EXPECT_FALSE(ReadUsbIdentity("usb:", sysfs.Path()));
}

} // namespace
} // namespace lumicrate
