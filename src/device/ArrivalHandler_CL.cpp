// The log and trace keep the names of the Windows notifications, so a log reads the same on
// both systems. One volume in one change is a card put in; several at once are ignored, as
// nobody can tell which the person meant.
#include "device/ArrivalHandler_CL.h"

#include "app/ActivityLog.h"
#include "app/AppContext.h"
#include "device/DeviceWatch_CL.h"
#include "device/UsbMonitor_CL.h"

namespace lumicrate {
namespace {

void LogAndTrace(const char* event) {
  Log().WriteText(event);
  ActivityLog::Trace(event);
}

} // namespace

ArrivalHandler_CL::ArrivalHandler_CL(AppContext& context, ImportStarter& starter, MountWatch_CL& mounts,
                                     UsbEventSource& usb, DeviceWatch_CL& devices)
    : context_(context), starter_(starter), mounts_(mounts), usb_(usb), devices_(devices) {}

void ArrivalHandler_CL::LookAtStart() {
  devices_.Request(false);
}

void ArrivalHandler_CL::OnMountTableChanged() {
  OnVolumesChanged(mounts_.ReadChange(starter_.OutputFolder()));
}

void ArrivalHandler_CL::OnUsbReadable() {
  if (DrainUsbEvents(usb_)) {
    OnDevicesChanged();
  }
}

void ArrivalHandler_CL::OnDevicesLooked() {
  // One at a time: an import started by one look runs a loop that may take the next ones.
  while (const std::optional<DeviceWatch_CL::Look> look = devices_.TakeResult()) {
    OnIPhoneScanned(look->scan, look->readyWhenAsked);
  }
}

void ArrivalHandler_CL::CatchUp() {
  OnMountTableChanged();
  OnUsbReadable();
}

void ArrivalHandler_CL::OnVolumesChanged(const VolumeChange& change) {
  if (!change.removed.empty()) {
    LogAndTrace("DBT_DEVICEREMOVECOMPLETE");
    if (change.removed.size() == 1) {
      ActivityLog::Trace(change.removed.front().mountPoint.string() + "ドライブ(削除)");
    }
  }
  if (change.arrived.empty()) {
    return;
  }
  LogAndTrace("DBT_DEVICEARRIVAL");
  if (!context_.ReadyForImport || change.arrived.size() != 1) {
    return;
  }
  const Volume& volume = change.arrived.front();
  const std::string drive = volume.mountPoint.string();
  ActivityLog::Trace(drive + "ドライブ");
  context_.SelectDrive(volume.mountPoint, volume.productName);
  starter_.StartImport();
}

void ArrivalHandler_CL::OnDevicesChanged() {
  LogAndTrace("DBT_DEVNODES_CHANGED");
  devices_.Request(context_.ReadyForImport != 0);
}

void ArrivalHandler_CL::OnIPhoneScanned(const IPhoneScan& scan, bool readyWhenAsked) {
  const bool wasPresent = context_.IPhonePresent != 0;
  context_.ApplyIPhoneScan(scan);
  if (readyWhenAsked && context_.ReadyForImport && !wasPresent && context_.IPhonePresent) {
    context_.Mode = ImportMode::Device;
    context_.SourceFolder.clear();
    starter_.StartImport();
  }
}

} // namespace lumicrate
