// QScreen stands in for the monitor list; the point test is the core's, where a point on the
// right or bottom edge lies outside.
#include "ui/framework/MultiScreen_CL.h"

#include <QGuiApplication>
#include <QScreen>

namespace lumicrate::ui {
namespace {

ScreenRect FromQRect(const QRect& rect) {
  return {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

} // namespace

void MultiScreen_CL::Enumerate() {
  monitors_.clear();
  primary_ = {};
  const QScreen* primary = QGuiApplication::primaryScreen();
  for (const QScreen* screen : QGuiApplication::screens()) {
    Monitor monitor{FromQRect(screen->geometry()), FromQRect(screen->availableGeometry()), screen == primary};
    monitors_.push_back(monitor);
    if (monitor.primary) {
      primary_ = monitor;
    }
  }
}

std::vector<ScreenRect> MultiScreen_CL::Areas(bool useWorkArea) const {
  std::vector<ScreenRect> areas;
  for (const Monitor& monitor : monitors_) {
    areas.push_back(useWorkArea ? monitor.workArea : monitor.monitor);
  }
  return areas;
}

int MultiScreen_CL::FindMonitor(int x, int y, bool useWorkArea) const {
  return lumicrate::FindMonitor(Areas(useWorkArea), x, y);
}

} // namespace lumicrate::ui
