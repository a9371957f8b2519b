// Where the main window opens: the rectangle it had when last moved or sized in its normal
// state, as long as that rectangle's top-left point still lies in a screen's work area.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace lumicrate {

class Inifile_CL;

// A rectangle as the settings file stores it: left, top, right and bottom, the right and bottom
// edges outside it.
struct ScreenRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  std::int32_t Width() const { return right - left; }
  std::int32_t Height() const { return bottom - top; }
  // A point on the right or bottom edge is outside.
  bool Contains(std::int32_t x, std::int32_t y) const { return left <= x && x < right && top <= y && y < bottom; }
  bool operator==(const ScreenRect&) const = default;
};

inline constexpr std::int32_t kDefaultWindowWidth = 512;
inline constexpr std::int32_t kDefaultWindowHeight = 378;

// The index of the first area that holds the point, or -1.
int FindMonitor(const std::vector<ScreenRect>& areas, std::int32_t x, std::int32_t y);

// The stored rectangle when its top-left point lies in one of the work areas and it has a size;
// else 512 x 378 centred in the full-screen area.
ScreenRect ChooseWindowRect(const std::optional<ScreenRect>& stored, const std::vector<ScreenRect>& workAreas,
                            std::int32_t fullScreenWidth, std::int32_t fullScreenHeight);

// Section "Window", key "WindowRect", a 16-byte structure.
std::optional<ScreenRect> ReadWindowRect(const Inifile_CL& settings);
void WriteWindowRect(Inifile_CL& settings, const ScreenRect& rect);

} // namespace lumicrate
