// A rectangle with no width or height (a damaged settings file) is never used: the window would
// open too small to see.
#include "app/WindowRect.h"

#include <array>

#include "app/Inifile_CL.h"

namespace lumicrate {
namespace {

constexpr const char* kSection = "Window";
constexpr const char* kKey = "WindowRect";

} // namespace

int FindMonitor(const std::vector<ScreenRect>& areas, std::int32_t x, std::int32_t y) {
  for (size_t i = 0; i < areas.size(); ++i) {
    if (areas[i].Contains(x, y)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

ScreenRect ChooseWindowRect(const std::optional<ScreenRect>& stored, const std::vector<ScreenRect>& workAreas,
                            std::int32_t fullScreenWidth, std::int32_t fullScreenHeight) {
  if (stored && stored->Width() > 0 && stored->Height() > 0 && FindMonitor(workAreas, stored->left, stored->top) >= 0) {
    return *stored;
  }
  const std::int32_t left = (fullScreenWidth - kDefaultWindowWidth) / 2;
  const std::int32_t top = (fullScreenHeight - kDefaultWindowHeight) / 2;
  return {left, top, left + kDefaultWindowWidth, top + kDefaultWindowHeight};
}

std::optional<ScreenRect> ReadWindowRect(const Inifile_CL& settings) {
  std::array<std::int32_t, 4> values{};
  if (!settings.GetStruct(kSection, kKey, values.data(), sizeof values)) {
    return std::nullopt;
  }
  return ScreenRect{values[0], values[1], values[2], values[3]};
}

void WriteWindowRect(Inifile_CL& settings, const ScreenRect& rect) {
  const std::array<std::int32_t, 4> values{rect.left, rect.top, rect.right, rect.bottom};
  settings.WriteStruct(kSection, kKey, values.data(), sizeof values);
}

} // namespace lumicrate
