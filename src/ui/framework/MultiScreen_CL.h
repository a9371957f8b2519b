// The screens of the desktop, each with its whole rectangle and its work area (without panels),
// and which of them holds a point.
#pragma once

#include <vector>

#include "app/WindowRect.h"

namespace lumicrate::ui {

class MultiScreen_CL {
public:
  struct Monitor {
    ScreenRect monitor;
    ScreenRect workArea;
    bool primary = false;
  };

  // Reads the screens afresh.
  void Enumerate();
  // The index of the first screen whose work area (or whole rectangle) holds the point; -1 for none.
  int FindMonitor(int x, int y, bool useWorkArea) const;
  // The work areas, or the whole rectangles, in the order of Monitors().
  std::vector<ScreenRect> Areas(bool useWorkArea) const;
  const std::vector<Monitor>& Monitors() const { return monitors_; }
  const Monitor& Primary() const { return primary_; }

private:
  std::vector<Monitor> monitors_;
  Monitor primary_;
};

} // namespace lumicrate::ui
