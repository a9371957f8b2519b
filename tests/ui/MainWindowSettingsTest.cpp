// The main window's commands 194 and 181: the full settings sheet over the window, and the
// version page alone.
#include <QTabWidget>
#include <gtest/gtest.h>

#include "app/AppContext.h"
#include "app/Inifile_CL.h"
#include "ui/MainWindowFixture.h"
#include "ui/WhenModal.h"
#include "ui/settings/PropertySheetBuilder.h"

namespace lumicrate::test {
namespace {

using ui::MainWindow_CL;
using ui::PropertySheetBuilder;

TEST_F(MainWindowTest, TheSettingsCommandsOpenTheSheetsOverTheWindow) {
  MainWindow_CL& window = Open();
  WhenModal<PropertySheetBuilder>([&window](PropertySheetBuilder& sheet) {
    EXPECT_EQ(sheet.parentWidget(), &window);
    EXPECT_EQ(sheet.Tabs().count(), 1);
    sheet.CancelButton().click();
  });
  window.OnCommand(MainWindow_CL::kCommandVersion);

  // Closed with OK, the tables are stored and loaded into the context again from the file.
  ASSERT_EQ(Context().SoundExtensions.At(0).extension, ".mp3");
  Context().SoundExtensions.RemoveAt(0);
  WhenModal<PropertySheetBuilder>([&window](PropertySheetBuilder& sheet) {
    EXPECT_EQ(sheet.parentWidget(), &window);
    EXPECT_EQ(sheet.Tabs().count(), 5);
    sheet.OkButton().click();
  });
  window.OnCommand(MainWindow_CL::kCommandSettings);
  EXPECT_EQ(Settings().GetString("COMPARE_EXT_INFO_SND", "count", ""), "1");
  EXPECT_EQ(Context().SoundExtensions.Count(), 2u) << "the removed built-in is back after the load";
}

} // namespace
} // namespace lumicrate::test
