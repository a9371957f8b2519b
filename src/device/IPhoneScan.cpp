// The manager lives only for the look: the device list is not kept.
#include "device/IPhoneScan.h"

#include "device/PortableDeviceManager_CL.h"

namespace lumicrate {

IPhoneScan ScanForIPhone(const DeviceQuery& query) {
  PortableDeviceManager_CL manager(query.extraDevices);
  if (Failed(manager.EnumerateDevices())) {
    return {};
  }
  const int index = manager.FindDeviceByDescription(query.description);
  if (index < 0) {
    return {};
  }
  return {true, manager.DeviceAt(index).FriendlyName()};
}

} // namespace lumicrate
