// The desktop services that core code reaches through an interface: opening a file or web
// address with the user's default program, and the clock. The GUI and tests supply their own.
#pragma once

#include <ctime>
#include <string>

namespace lumicrate {

class DesktopShell {
public:
  virtual ~DesktopShell() = default;
  // Opens a file or a web address with the program the desktop associates with it.
  virtual void OpenWithShell(const std::string& fileOrAddress) = 0;
};

// What the desktop may be asked to open: an http:// or https:// address without control
// characters, or a file that exists; anything else is refused.
enum class ShellTarget { WebAddress, File, Refused };
ShellTarget ClassifyShellTarget(const std::string& fileOrAddress);

class Clock {
public:
  virtual ~Clock() = default;
  virtual std::time_t Now() const = 0;
  // The day of the month (1 to 31) of Now() in local time.
  int DayOfMonth() const;
};

// The real wall clock.
const Clock& SystemClock();

} // namespace lumicrate
