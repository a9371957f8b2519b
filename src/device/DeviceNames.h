// What the program calls a device: a friendly name, a description and a manufacturer, made from
// the driver model libgphoto2 matched, the port, and what a USB device says of itself.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace lumicrate {

// The description every iPhone has, whichever model libgphoto2 reports for it.
inline constexpr char kIPhoneDescription[] = "Apple iPhone";

// How a USB device names itself (its sysfs attributes).
struct UsbIdentity {
  std::uint16_t vendorId = 0;
  std::string manufacturer;
  std::string product;
};

// For a libgphoto2 port "usb:BBB,DDD", the USB device with that bus and device number under
// usbDevices; nothing for other ports or a device that has gone.
std::optional<UsbIdentity> ReadUsbIdentity(std::string_view port,
                                           const std::filesystem::path& usbDevices = "/sys/bus/usb/devices");

struct DeviceNames {
  std::string friendlyName;
  std::string description;
  std::string manufacturer;
};

DeviceNames NameDevice(std::string_view model, std::string_view port, const std::optional<UsbIdentity>& usb);

} // namespace lumicrate
