// Where the main window opens: the stored rectangle while its top-left point is on a screen,
// else 512 x 378 centred; and the rectangle's 16 bytes in the settings file.
#include <gtest/gtest.h>

#include "app/Inifile_CL.h"
#include "app/WindowRect.h"
#include "support/TestSupport.h"

namespace lumicrate {
namespace {

TEST(WindowRectTest, APointOnTheRightOrBottomEdgeIsOutside) {
  const std::vector<ScreenRect> areas{{0, 0, 1280, 770}, {1280, 0, 2560, 1024}};
  EXPECT_EQ(FindMonitor(areas, 0, 0), 0);
  EXPECT_EQ(FindMonitor(areas, 1279, 769), 0);
  EXPECT_EQ(FindMonitor(areas, 1280, 10), 1);
  EXPECT_EQ(FindMonitor(areas, 100, 770), -1);
  EXPECT_EQ(FindMonitor(areas, 2560, 10), -1);
  EXPECT_EQ(FindMonitor(areas, -1, 10), -1);
  EXPECT_EQ(FindMonitor({}, 0, 0), -1);
}

TEST(WindowRectTest, TheStoredRectangleIsUsedOnlyWhereAScreenShowsIt) {
  const std::vector<ScreenRect> areas{{0, 0, 1280, 770}};
  const ScreenRect centred{(1280 - 512) / 2, (770 - 378) / 2, (1280 - 512) / 2 + 512, (770 - 378) / 2 + 378};
  const struct {
    const char* name;
    std::optional<ScreenRect> stored;
    ScreenRect expected;
  } cases[] = {
      {"none stored", std::nullopt, centred},
      {"on the screen", ScreenRect{100, 50, 700, 500}, ScreenRect{100, 50, 700, 500}},
      {"reaching past the edge", ScreenRect{1000, 600, 1600, 1000}, ScreenRect{1000, 600, 1600, 1000}},
      {"top-left on the right edge", ScreenRect{1280, 50, 1800, 500}, centred},
      {"above the screen", ScreenRect{100, -20, 700, 400}, centred},
      {"on a screen now gone", ScreenRect{2000, 100, 2500, 500}, centred},
      {"without a size", ScreenRect{100, 100, 100, 400}, centred},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ChooseWindowRect(c.stored, areas, 1280, 770), c.expected) << c.name;
  }
}

class WindowRectSettingsTest : public test::ScratchHomeTest {};

TEST_F(WindowRectSettingsTest, TheRectangleIsStoredAsSixteenBytes) {
  EXPECT_FALSE(ReadWindowRect(Settings()));
  WriteWindowRect(Settings(), {-8, 20, 700, 500});
  EXPECT_EQ(ReadWindowRect(Settings()), (ScreenRect{-8, 20, 700, 500}));
  const std::string text = test::ReadUtf16File(Settings().Path());
  EXPECT_NE(text.find("[Window]"), std::string::npos) << text;
  // Sixteen bytes as 32 hex digits and a checksum byte.
  EXPECT_NE(text.find("WindowRect=F8FFFFFF14000000BC020000F4010000"), std::string::npos) << text;
}

} // namespace
} // namespace lumicrate
