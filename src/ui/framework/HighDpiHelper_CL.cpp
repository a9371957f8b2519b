// The frame's size is known only once the window manager has framed the window, so a window
// sized before it shows is sized again when it shows (see the callers' showEvent).
#include "ui/framework/HighDpiHelper_CL.h"

#include <QWidget>

namespace lumicrate::ui {

void HighDpiHelper_CL::ResizeOuter(QWidget& window, int width, int height) {
  const QSize frame = window.frameGeometry().size() - window.size();
  window.resize(width - frame.width(), height - frame.height());
}

void HighDpiHelper_CL::MoveScaled(QWidget& window, int x, int y, int width, int height) const {
  window.move(x, y);
  ResizeOuter(window, ScaleX(width), ScaleY(height));
}

} // namespace lumicrate::ui
