// What happens when a memory card, camera or iPhone arrives: the context is told what to import
// and from where, and the window is asked to start the import, only while it is ready for one.
#pragma once

#include <filesystem>

#include "device/MountWatch_CL.h"
#include "platform/HResult.h"

namespace lumicrate {

class AppContext;
class DeviceWatch_CL;
class UsbEventSource;
struct IPhoneScan;

// The window an arrival starts imports in.
class ImportStarter {
public:
  virtual ~ImportStarter() = default;
  // Asks, runs and reports the import the context describes; returns when it is over.
  virtual HRESULT StartImport() = 0;
  // The output folder as the window shows it now: its file system is never imported from.
  virtual std::filesystem::path OutputFolder() const = 0;
};

// Every event is logged and traced. Events while the context is not ready (a confirmation is
// open, or a run goes) start nothing and are not kept for later.
class ArrivalHandler_CL {
public:
  ArrivalHandler_CL(AppContext& context, ImportStarter& starter, MountWatch_CL& mounts, UsbEventSource& usb,
                    DeviceWatch_CL& devices);

  // Asks for the first look at the devices: an iPhone connected before the program started
  // is noted and starts nothing until it has been seen away.
  void LookAtStart();
  // The mount table's descriptor signalled a change.
  void OnMountTableChanged();
  // The USB event source is readable: a device that came or went asks for a look at the devices.
  void OnUsbReadable();
  // The device watch finished a look (called on the window's thread).
  void OnDevicesLooked();
  // Takes in whatever changed while the window was not listening, before it becomes ready
  // again: such events happened during an import and start nothing.
  void CatchUp();

  // The steps of each event, with what the watches found.
  void OnVolumesChanged(const VolumeChange& change);
  void OnDevicesChanged();
  // readyWhenAsked: whether the program was ready when the look was asked for.
  void OnIPhoneScanned(const IPhoneScan& scan, bool readyWhenAsked);

private:
  AppContext& context_;
  ImportStarter& starter_;
  MountWatch_CL& mounts_;
  UsbEventSource& usb_;
  DeviceWatch_CL& devices_;
};

} // namespace lumicrate
