// One thread for the program's life, asleep between looks. The look enumerates twice, as the
// device-change handling always has: once for the log's list of devices, once to find the iPhone.
#include "device/DeviceWatch_CL.h"

#include <utility>

#include "device/PortableDeviceManager_CL.h"

namespace lumicrate {

DeviceWatch_CL::DeviceWatch_CL(std::function<DeviceQuery()> query, std::function<void()> finished)
    : query_(std::move(query)), finished_(std::move(finished)), thread_([this] { Loop(); }) {}

DeviceWatch_CL::~DeviceWatch_CL() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

void DeviceWatch_CL::Request() {
  {
    const std::lock_guard lock(mutex_);
    requested_ = true;
  }
  wake_.notify_one();
}

std::optional<IPhoneScan> DeviceWatch_CL::TakeResult() {
  const std::lock_guard lock(mutex_);
  return std::exchange(result_, std::nullopt);
}

void DeviceWatch_CL::Loop() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return requested_ || stopping_; });
    if (stopping_) {
      return;
    }
    requested_ = false;
    lock.unlock();
    const DeviceQuery query = query_();
    {
      PortableDeviceManager_CL listed(query.extraDevices);
      listed.EnumerateDevices();
    }
    IPhoneScan scan = ScanForIPhone(query);
    lock.lock();
    result_ = std::move(scan);
    lock.unlock();
    finished_();
    lock.lock();
  }
}

} // namespace lumicrate
