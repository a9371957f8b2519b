// The desktop's own mount of a camera or phone (gvfs's gphoto2 or mtp mount) holds the USB
// device, so libgphoto2 cannot claim it: the device run asks GIO to let it go and tries again.
#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "platform/HResult.h"

namespace lumicrate {

// Whether the desktop mount at uri, whose volume names the device node unixDevice
// ("/dev/bus/usb/001/005", or empty), is a camera mount of the device at libgphoto2's port
// ("usb:001,005").
bool IsDesktopMountOf(const std::string& uri, const std::string& unixDevice, const std::string& port);

// Asks GIO to unmount each gvfs camera mount of the device at port, logging each; true when one
// was unmounted.
bool ReleaseDesktopMount(const std::string& port);

// Runs open; while it fails because another program holds the device, asks release to let the
// device go and, when it did, waits pause and tries again, at most attempts more times.
HRESULT OpenReleasingDesktopMount(const std::function<HRESULT()>& open, const std::function<bool()>& release,
                                  int attempts = 3, std::chrono::milliseconds pause = std::chrono::milliseconds(1000));

} // namespace lumicrate
