// What the settings sheet's import and version pages read and store.
#include <gtest/gtest.h>

#include "app/AppContext.h"
#include "app/Inifile_CL.h"
#include "app/SettingsPages.h"
#include "support/TestSupport.h"

namespace lumicrate {
namespace {

class SettingsPagesTest : public test::ScratchHomeTest {};

TEST_F(SettingsPagesTest, ImportSwitchesGoToTheContextAndTheFileAsZeroOrOne) {
  AppContext context;
  context.LoadSettings(Settings());
  EXPECT_EQ(CurrentImportSwitches(context), (ImportSwitches{true, true, true})) << "all on by default";

  Inifile_CL::Edit_CL edit(Settings());
  ApplyImportSwitches({false, true, false}, context, edit);
  EXPECT_EQ(CurrentImportSwitches(context), (ImportSwitches{false, true, false}));
  ASSERT_TRUE(edit.Commit());
  EXPECT_EQ(Settings().GetString("APP_INFO", "arrnge_photo", ""), "0");
  EXPECT_EQ(Settings().GetString("APP_INFO", "arrnge_movie", ""), "1");
  EXPECT_EQ(Settings().GetString("APP_INFO", "arrnge_sound", ""), "0");

  AppContext restarted;
  restarted.LoadSettings(Settings());
  EXPECT_EQ(CurrentImportSwitches(restarted), (ImportSwitches{false, true, false}));
}

TEST_F(SettingsPagesTest, UpdateNoticesAreOffForAnyNonZeroNotify) {
  EXPECT_FALSE(UpdateNoticesOff(Settings()));
  for (const auto& [stored, off] : {std::pair{"1", true}, {"2", true}, {"-1", true}, {"0", false}, {"x", false}}) {
    Settings().WriteString("VERSION", "notify", stored);
    EXPECT_EQ(UpdateNoticesOff(Settings()), off) << stored;
  }
  for (const bool off : {true, false}) {
    Inifile_CL::Edit_CL edit(Settings());
    ApplyUpdateNoticesOff(off, edit);
    ASSERT_TRUE(edit.Commit());
    EXPECT_EQ(Settings().GetString("VERSION", "notify", ""), off ? "1" : "0");
  }
}

} // namespace
} // namespace lumicrate
