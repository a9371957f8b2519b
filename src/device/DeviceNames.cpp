// libgphoto2 knows iPhones under many model names ("Apple iPhone 4S (PTP mode)", or the generic
// "USB PTP Class Camera" for models newer than its table), so the USB vendor and product decide.
#include "device/DeviceNames.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "platform/SysfsAttribute.h"

namespace lumicrate {
namespace {

constexpr std::uint16_t kAppleVendorId = 0x05ac;

int ReadNumber(const std::filesystem::path& file, int base) {
  const std::string text = ReadAttribute(file);
  int value = -1;
  std::from_chars(text.data(), text.data() + text.size(), value, base);
  return value;
}

bool ContainsNoCase(std::string_view text, std::string_view word) {
  const auto it = std::search(text.begin(), text.end(), word.begin(), word.end(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
  });
  return it != text.end();
}

} // namespace

std::optional<UsbIdentity> ReadUsbIdentity(std::string_view port, const std::filesystem::path& usbDevices) {
  constexpr std::string_view kPrefix = "usb:";
  if (!port.starts_with(kPrefix)) {
    return std::nullopt;
  }
  const std::string_view numbers = port.substr(kPrefix.size());
  const size_t comma = numbers.find(',');
  if (comma == std::string_view::npos) {
    return std::nullopt;
  }
  int bus = -1;
  int device = -1;
  std::from_chars(numbers.data(), numbers.data() + comma, bus);
  std::from_chars(numbers.data() + comma + 1, numbers.data() + numbers.size(), device);

  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(usbDevices, ec)) {
    const std::filesystem::path dir = entry.path();
    if (ReadNumber(dir / "busnum", 10) != bus || ReadNumber(dir / "devnum", 10) != device) {
      continue;
    }
    UsbIdentity identity;
    identity.vendorId = static_cast<std::uint16_t>(ReadNumber(dir / "idVendor", 16));
    identity.manufacturer = ReadAttribute(dir / "manufacturer");
    identity.product = ReadAttribute(dir / "product");
    return identity;
  }
  return std::nullopt;
}

DeviceNames NameDevice(std::string_view model, std::string_view port, const std::optional<UsbIdentity>& usb) {
  DeviceNames names;
  const bool iPhone = ContainsNoCase(model, "iphone") ||
                      (usb && usb->vendorId == kAppleVendorId && ContainsNoCase(usb->product, "iphone"));
  names.description = iPhone ? kIPhoneDescription : std::string(model);

  constexpr std::string_view kDisk = "disk:";
  if (usb && !usb->product.empty()) {
    names.friendlyName = usb->product;
  } else if (port.starts_with(kDisk)) {
    // A card or folder served as a camera is best known by the name of its folder.
    const std::filesystem::path folder(port.substr(kDisk.size()));
    const std::string leaf = folder.filename().string();
    names.friendlyName = leaf.empty() ? folder.string() : leaf;
  } else {
    names.friendlyName = model;
  }
  if (usb) {
    names.manufacturer = usb->manufacturer;
  }
  return names;
}

} // namespace lumicrate
