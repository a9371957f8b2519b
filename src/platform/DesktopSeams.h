// The desktop services that core code reaches through an interface: opening a file or web
// address with the user's default program, desktop notifications, and the clock. The GUI and
// tests supply their own.
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

class DesktopNotifier {
public:
  virtual ~DesktopNotifier() = default;
  // A passing notice from appName outside the program's windows; nothing where the desktop
  // shows none.
  virtual void Notify(const std::string& appName, const std::string& summary, const std::string& body) = 0;
};

// The desktop's notification service (org.freedesktop.Notifications on the session bus).
DesktopNotifier& BusNotifier();

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
