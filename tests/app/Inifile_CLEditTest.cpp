// Writes collected in an edit: one replacement of the settings file for many keys, the same
// bytes as key-by-key writes, and nothing written without Commit.
#include <gtest/gtest.h>

#include "app/AppContext.h"
#include "app/Inifile_CL.h"
#include "app/SettingsPages.h"
#include "support/ReplacementCounter.h"
#include "support/TestSupport.h"

namespace lumicrate {
namespace {

class Inifile_CLEditTest : public test::ScratchHomeTest {
protected:
  std::filesystem::path IniPath() const { return DataFolder() / "Lumicrate.ini"; }
};

TEST_F(Inifile_CLEditTest, ThreeTablesReplaceTheFileOnceWithTheBytesOfKeyByKeyWrites) {
  AppContext context;
  context.LoadSettings(Settings());
  context.PhotoExtensions.SetEnabled(".jpg", 0);
  Settings().WriteInt("APP_INFO", "rand_seed", 5);

  Inifile_CL keyByKey;
  keyByKey.SetPath(DataFolder() / "key-by-key.ini");
  keyByKey.WriteInt("APP_INFO", "rand_seed", 5);

  test::ReplacementCounter replacements(DataFolder());
  Inifile_CL::Edit_CL edit(Settings());
  StoreExtensionTables(context, edit);
  EXPECT_EQ(replacements.Take("Lumicrate.ini"), 0) << "nothing is written before Commit";
  ASSERT_TRUE(edit.Commit());
  EXPECT_EQ(replacements.Take("Lumicrate.ini"), 1);

  for (const CompareFileInfo_CL* table :
       {&context.MovieExtensions, &context.PhotoExtensions, &context.SoundExtensions}) {
    keyByKey.WriteInt(table->Section(), "count", static_cast<std::int32_t>(table->Count()));
    for (size_t i = 0; i < table->Count(); ++i) {
      keyByKey.WriteString(table->Section(), "item" + std::to_string(i),
                           std::to_string(table->At(i).enabled) + "|" + table->At(i).extension);
    }
  }
  EXPECT_EQ(replacements.Take("key-by-key.ini"), 41 + 1 + 16 + 1 + 2 + 1) << "one per key";
  EXPECT_EQ(test::ReadBytes(IniPath()), test::ReadBytes(DataFolder() / "key-by-key.ini"));

  // The same tables again: every key keeps its value, so the file is left as it is.
  StoreExtensionTables(context, edit);
  EXPECT_TRUE(edit.Commit());
  EXPECT_EQ(replacements.Take("Lumicrate.ini"), 0);
}

TEST_F(Inifile_CLEditTest, CommitReadsTheFileAgainAndStoresWhatTheFileAccepts) {
  Inifile_CL::Edit_CL edit(Settings());
  edit.WriteInt("APP_INFO", "arrnge_photo", 0);
  edit.WriteString("APP_INFO", "OutputFolder", "/two\nlines"); // would not read back as one key
  edit.WriteInt("VERSION", "notify", 1);
  // Another writer (the command-line tool, say) stores a key while the edit is open.
  Settings().WriteInt("APP_INFO", "rand_seed", 9);
  EXPECT_TRUE(edit.Commit());
  EXPECT_EQ(Settings().GetInt("APP_INFO", "rand_seed", 0), 9);
  EXPECT_EQ(Settings().GetInt("APP_INFO", "arrnge_photo", 1), 0);
  EXPECT_EQ(Settings().GetInt("VERSION", "notify", 0), 1);
  EXPECT_EQ(Settings().GetString("APP_INFO", "OutputFolder", "-"), "-");

  const std::string before = test::ReadBytes(IniPath());
  {
    Inifile_CL::Edit_CL dropped(Settings());
    dropped.WriteInt("VERSION", "notify", 0);
  }
  EXPECT_EQ(test::ReadBytes(IniPath()), before) << "an edit dropped without Commit writes nothing";

  Inifile_CL::Edit_CL refused(Settings());
  refused.WriteString("APP_INFO", "OutputFolder", "/two\nlines");
  EXPECT_FALSE(refused.Commit()) << "nothing the file accepts is not a success";
  EXPECT_EQ(test::ReadBytes(IniPath()), before);
}

} // namespace
} // namespace lumicrate
