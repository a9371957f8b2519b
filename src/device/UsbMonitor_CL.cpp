// The monitor listens to udev's announcements, sent once udev has made the device node, so a
// look with libgphoto2 right after finds the device ready.
#include "device/UsbMonitor_CL.h"

#include <cerrno>

namespace lumicrate {

bool DrainUsbEvents(UsbEventSource& source) {
  bool changed = false;
  while (const std::optional<std::string> action = source.Receive()) {
    changed = changed || *action == "add" || *action == "remove";
  }
  return changed;
}

HRESULT UsbMonitor_CL::Open() {
  udev_.reset(udev_new());
  if (!udev_) {
    return E_OUTOFMEMORY;
  }
  monitor_.reset(udev_monitor_new_from_netlink(udev_.get(), "udev"));
  if (!monitor_) {
    return HResultFromErrno(errno ? errno : ENODEV);
  }
  int result = udev_monitor_filter_add_match_subsystem_devtype(monitor_.get(), "usb", "usb_device");
  if (result >= 0) {
    result = udev_monitor_enable_receiving(monitor_.get());
  }
  if (result < 0) {
    monitor_.reset();
    return HResultFromErrno(-result);
  }
  return S_OK;
}

int UsbMonitor_CL::Descriptor() const {
  return monitor_ ? udev_monitor_get_fd(monitor_.get()) : -1;
}

std::optional<std::string> UsbMonitor_CL::Receive() {
  if (!monitor_) {
    return std::nullopt;
  }
  // The monitor's socket does not block, so an empty queue gives no device at once.
  udev_device* device = udev_monitor_receive_device(monitor_.get());
  if (!device) {
    return std::nullopt;
  }
  const char* action = udev_device_get_action(device);
  std::string text = action ? action : "";
  udev_device_unref(device);
  return text;
}

} // namespace lumicrate
