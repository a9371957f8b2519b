// Which device a detection or a device run looks for: the description it must have ("Apple
// iPhone" for the desktop program), among what libgphoto2 detects and any devices named here.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "device/DeviceNames.h"

namespace lumicrate {

// A device libgphoto2 does not find by itself, given by its driver's model and its port.
struct DevicePort {
  std::string model;
  std::string port;
};

// libgphoto2's own "Directory Browse" driver, serving a folder as a camera.
DevicePort DirectoryCamera(const std::filesystem::path& folder);

struct DeviceQuery {
  std::string description = kIPhoneDescription;
  std::vector<DevicePort> extraDevices;
};

} // namespace lumicrate
