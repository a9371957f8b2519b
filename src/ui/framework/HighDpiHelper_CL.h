// Pixel sizes of the windows. A Qt process is DPI-aware (Qt scales for the screen itself),
// so sizes pass unscaled and a window asked for 480 x 56 is 480 x 56.
#pragma once

class QWidget;

namespace lumicrate::ui {

class HighDpiHelper_CL {
public:
  int ScaleX(int n) const { return n; }
  int ScaleY(int n) const { return n; }
  // Moves a top-level window to (x, y) with an outer size, frame included, of width x height.
  void MoveScaled(QWidget& window, int x, int y, int width, int height) const;
  // Gives a top-level window an outer size, frame included; a window not yet framed by the
  // window manager takes the size as its own.
  static void ResizeOuter(QWidget& window, int width, int height);
};

} // namespace lumicrate::ui
