// Keeps the machine from sleeping while an import runs, through logind's inhibitor lock, so
// that closing a laptop's lid does not leave a card half imported.
#pragma once

#include <string>

#include "platform/FileDescriptor.h"

namespace lumicrate {

class SleepInhibitor_CL {
public:
  // Takes the lock in the name of who (the program, as the desktop lists it) for why; without
  // a system bus or logind nothing is held, and nothing said.
  SleepInhibitor_CL(const std::string& who, const std::string& why);
  // Closing the lock's descriptor lets the machine sleep again.
  ~SleepInhibitor_CL() = default;
  SleepInhibitor_CL(const SleepInhibitor_CL&) = delete;
  SleepInhibitor_CL& operator=(const SleepInhibitor_CL&) = delete;

  bool Held() const { return lock_.Valid(); }

private:
  FileDescriptor lock_;
};

} // namespace lumicrate
