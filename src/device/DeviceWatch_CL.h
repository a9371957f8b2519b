// Device enumeration off the window's thread: libgphoto2 can take seconds to look at a USB
// bus, so each look runs on a thread of its own and its result waits for the window to take.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "device/DeviceQuery.h"
#include "device/IPhoneScan.h"

namespace lumicrate {

class DeviceWatch_CL {
public:
  // query gives what each look is for; finished runs on the looking thread after each look, and
  // the window answers it by calling TakeResult on its own thread.
  DeviceWatch_CL(std::function<DeviceQuery()> query, std::function<void()> finished);
  // Waits for a look in progress.
  ~DeviceWatch_CL();
  DeviceWatch_CL(const DeviceWatch_CL&) = delete;
  DeviceWatch_CL& operator=(const DeviceWatch_CL&) = delete;

  // What one look found, and whether the program was ready for an import at every request the
  // look answers: a device that came during an import must not start one when it ends.
  struct Look {
    IPhoneScan scan;
    bool readyWhenAsked = false;
  };

  // Asks for a look. Requests while one goes fold into a single look after it, which sees the
  // devices as they are by then.
  void Request(bool readyForImport);
  // The oldest finished look not yet taken, or nothing.
  std::optional<Look> TakeResult();

private:
  void Loop();

  std::function<DeviceQuery()> query_;
  std::function<void()> finished_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool requested_ = false;
  bool requestedReady_ = true;
  bool stopping_ = false;
  std::deque<Look> results_;
  std::thread thread_;
};

} // namespace lumicrate
