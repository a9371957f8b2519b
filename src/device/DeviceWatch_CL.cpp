// One thread for the program's life, asleep between looks. The look enumerates twice, as the
// device-change handling always has: once for the log's list of devices, once to find the iPhone.
#include "device/DeviceWatch_CL.h"

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

void DeviceWatch_CL::Request(bool readyForImport) {
  {
    const std::lock_guard lock(mutex_);
    requestedReady_ = (requested_ ? requestedReady_ : true) && readyForImport;
    requested_ = true;
  }
  wake_.notify_one();
}

std::optional<DeviceWatch_CL::Look> DeviceWatch_CL::TakeResult() {
  const std::lock_guard lock(mutex_);
  if (results_.empty()) {
    return std::nullopt;
  }
  Look look = std::move(results_.front());
  results_.pop_front();
  return look;
}

void DeviceWatch_CL::Loop() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return requested_ || stopping_; });
    if (stopping_) {
      return;
    }
    requested_ = false;
    const bool ready = requestedReady_;
    lock.unlock();
    const DeviceQuery query = query_();
    {
      PortableDeviceManager_CL listed(query.extraDevices);
      listed.EnumerateDevices();
    }
    IPhoneScan scan = ScanForIPhone(query);
    lock.lock();
    results_.push_back({std::move(scan), ready});
    lock.unlock();
    finished_();
    lock.lock();
  }
}

} // namespace lumicrate
