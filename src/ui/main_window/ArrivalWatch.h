// The main window's watch for cards, cameras and iPhones: the mount table and udev's USB
// events in the window's event loop, handed to the core's arrival handling.
#pragma once

#include <QObject>
#include <filesystem>
#include <functional>

#include "device/ArrivalHandler_CL.h"
#include "device/DeviceWatch_CL.h"
#include "device/MountWatch_CL.h"
#include "device/UsbMonitor_CL.h"

class QSocketNotifier;

namespace lumicrate::ui {

class ArrivalWatch : public QObject, private ImportStarter {
public:
  struct Setup {
    std::function<HRESULT()> startImport;
    std::function<std::filesystem::path()> outputFolder;
    // USB events; null for udev's own monitor.
    UsbEventSource* usbEvents = nullptr;
    // What each device look is for; empty for the iPhone.
    std::function<DeviceQuery()> deviceQuery;
  };

  ArrivalWatch(QObject* parent, Setup setup);
  ~ArrivalWatch() override;

  // Takes in what changed during an import, before the window is ready again.
  void CatchUp() { handler_.CatchUp(); }

private:
  HRESULT StartImport() override { return setup_.startImport(); }
  std::filesystem::path OutputFolder() const override { return setup_.outputFolder(); }

  Setup setup_;
  MountWatch_CL mounts_;
  UsbMonitor_CL udev_;
  UsbEventSource& usb_;
  DeviceWatch_CL devices_;
  ArrivalHandler_CL handler_;
  QSocketNotifier* mountNotifier_ = nullptr;
  QSocketNotifier* usbNotifier_ = nullptr;
};

} // namespace lumicrate::ui
