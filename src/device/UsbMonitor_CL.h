// USB devices coming and going, as udev announces them: the stand-in for Windows' "device
// nodes changed". The event source is an interface so tests can announce devices themselves.
#pragma once

#include <libudev.h>
#include <memory>
#include <optional>
#include <string>

#include "platform/HResult.h"

namespace lumicrate {

class UsbEventSource {
public:
  virtual ~UsbEventSource() = default;
  // Readable while an event waits; -1 when the source could not be opened.
  virtual int Descriptor() const = 0;
  // The next waiting event's action ("add", "remove", "bind" ...), or nothing when none waits.
  virtual std::optional<std::string> Receive() = 0;
};

// Reads every waiting event; true when at least one was a device added or removed.
bool DrainUsbEvents(UsbEventSource& source);

// udev's own monitor of whole USB devices (not their interfaces).
class UsbMonitor_CL : public UsbEventSource {
public:
  HRESULT Open();
  int Descriptor() const override;
  std::optional<std::string> Receive() override;

private:
  struct UdevUnref {
    void operator()(udev* u) const { udev_unref(u); }
  };
  struct MonitorUnref {
    void operator()(udev_monitor* m) const { udev_monitor_unref(m); }
  };
  std::unique_ptr<udev, UdevUnref> udev_;
  std::unique_ptr<udev_monitor, MonitorUnref> monitor_;
};

} // namespace lumicrate
