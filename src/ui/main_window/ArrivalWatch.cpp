// The mount table signals a change as an exceptional condition on its descriptor; udev's socket
// becomes readable. A device look ends on its own thread and is applied on this one.
#include "ui/main_window/ArrivalWatch.h"

#include <QSocketNotifier>

#include "app/ActivityLog.h"
#include "app/AppContext.h"

namespace lumicrate::ui {

ArrivalWatch::ArrivalWatch(QObject* parent, Setup setup)
    : QObject(parent), setup_(std::move(setup)), usb_(setup_.usbEvents ? *setup_.usbEvents : udev_),
      devices_([this] { return setup_.deviceQuery ? setup_.deviceQuery() : DeviceQuery{}; },
               [this] {
                 QMetaObject::invokeMethod(
                     this, [this] { handler_.OnDevicesLooked(); }, Qt::QueuedConnection);
               }),
      handler_(Context(), *this, mounts_, usb_, devices_) {
  // Without a mount table or udev the window still works; only arrivals go unnoticed.
  if (const HRESULT hr = mounts_.Open(); Failed(hr)) {
    Log().Write("マウントテーブルを監視できません(0x%08x)", static_cast<unsigned>(hr));
  } else {
    mountNotifier_ = new QSocketNotifier(mounts_.Descriptor(), QSocketNotifier::Exception, this);
    connect(mountNotifier_, &QSocketNotifier::activated, this, [this] { handler_.OnMountTableChanged(); });
  }
  if (const HRESULT hr = setup_.usbEvents ? S_OK : udev_.Open(); Failed(hr)) {
    Log().Write("USBデバイスを監視できません(0x%08x)", static_cast<unsigned>(hr));
  }
  if (usb_.Descriptor() >= 0) {
    usbNotifier_ = new QSocketNotifier(usb_.Descriptor(), QSocketNotifier::Read, this);
    connect(usbNotifier_, &QSocketNotifier::activated, this, [this] { handler_.OnUsbReadable(); });
  }
  handler_.LookAtStart();
}

ArrivalWatch::~ArrivalWatch() = default;

} // namespace lumicrate::ui
