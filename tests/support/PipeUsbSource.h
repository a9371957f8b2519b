// USB events announced by the test itself over a pipe, standing in for udev's monitor where no
// device can be plugged in.
#pragma once

#include <optional>
#include <string>

#include "device/UsbMonitor_CL.h"
#include "platform/FileDescriptor.h"

namespace lumicrate::test {

class PipeUsbSource : public UsbEventSource {
public:
  PipeUsbSource();
  // Makes an event with this action ("add", "remove", "bind" ...) wait on the descriptor.
  void Announce(const std::string& action);
  int Descriptor() const override { return read_.Get(); }
  std::optional<std::string> Receive() override;

private:
  FileDescriptor read_;
  FileDescriptor write_;
};

} // namespace lumicrate::test
