// One look for an iPhone among the connected devices, apart from applying what it found, so
// that the look can run off the window's thread and its result be applied on it.
#pragma once

#include <string>

#include "device/DeviceQuery.h"

namespace lumicrate {

struct IPhoneScan {
  bool present = false;
  std::string friendlyName;
};

// Enumerates the devices (logging them) and finds the first with the query's description; a
// failed enumeration counts as no iPhone.
IPhoneScan ScanForIPhone(const DeviceQuery& query);

} // namespace lumicrate
