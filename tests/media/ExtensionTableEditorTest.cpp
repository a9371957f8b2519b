// The extension pages' rules without a window: what the add dialog makes of typed text, which
// rows can be deleted, and the working copy that reaches the shared table only on apply.
#include <gtest/gtest.h>

#include "app/AppContext.h"
#include "app/Inifile_CL.h"
#include "media/ExtensionTableEditor.h"
#include "support/TestSupport.h"

namespace lumicrate {
namespace {

class ExtensionTableEditorTest : public test::ScratchHomeTest {
protected:
  void SetUp() override {
    ScratchHomeTest::SetUp();
    Settings().WriteInt("COMPARE_EXT_INFO_SND", "count", 1);
    Settings().WriteString("COMPARE_EXT_INFO_SND", "item0", "1|.flac");
    context.LoadSettings(Settings());
  }

  int RowOf(const CompareFileInfo_CL& table, const std::string& extension) const {
    for (size_t i = 0; i < table.Count(); ++i) {
      if (table.At(i).extension == extension) {
        return static_cast<int>(i);
      }
    }
    return -1;
  }

  AppContext context;
};

TEST(NormaliseUserExtension, MakesTheExtensionTheImportTestCanMatch) {
  const struct {
    const char* typed;
    const char* stored; // nullptr: the dialog stays open
  } cases[] = {
      {"jpg", ".jpg"},
      {".jpg", ".jpg"},
      {"HEIC", ".heic"},
      {" jpg\t", ".jpg"},
      {"\u3000mp4\u3000", ".mp4"},
      {"ｊｐｇ", ".ｊｐｇ"},
      {"1|x", ".1|x"},
      {"", nullptr},
      {"   ", nullptr},
      {"\u3000", nullptr},
      {".", nullptr},
      {"..jpg", nullptr},
      {"tar.gz", nullptr},
      {"*.jpg", nullptr},
      {"jpg/", nullptr},
      {"a/b", nullptr},
      {"jpg png", nullptr},
      {"jp\ng", nullptr},
      {"jp\x7Fg", nullptr},
  };
  for (const auto& c : cases) {
    const std::optional<std::string> stored = NormaliseUserExtension(c.typed);
    if (c.stored) {
      EXPECT_EQ(stored, std::optional<std::string>(c.stored)) << c.typed;
    } else {
      EXPECT_FALSE(stored) << c.typed << " became " << stored.value_or("");
    }
  }
}

TEST_F(ExtensionTableEditorTest, OnlyUserRowsCanBeDeleted) {
  ExtensionTableEditor editor(context.SoundExtensions);
  const int flac = RowOf(editor.Working(), ".flac");
  const int wav = RowOf(editor.Working(), ".wav");
  ASSERT_GE(flac, 0);
  for (const int row : {-1, wav, static_cast<int>(editor.Working().Count())}) {
    EXPECT_FALSE(editor.CanDelete(row)) << row;
    EXPECT_FALSE(editor.Delete(row)) << row;
  }
  EXPECT_EQ(editor.Working().Count(), 3u);
  EXPECT_TRUE(editor.CanDelete(flac));
  EXPECT_TRUE(editor.Delete(flac));
  EXPECT_EQ(RowOf(editor.Working(), ".flac"), -1);
}

TEST_F(ExtensionTableEditorTest, ChangesReachTheSharedTableAndTheFileOnlyOnApply) {
  const std::string before = test::ReadBytes(DataFolder() / "Lumicrate.ini");
  ExtensionTableEditor editor(context.PhotoExtensions);
  EXPECT_FALSE(editor.SetChecked(RowOf(editor.Working(), ".jpg"), true)) << "already on: no change";
  EXPECT_TRUE(editor.SetChecked(RowOf(editor.Working(), ".jpg"), false));
  EXPECT_FALSE(editor.SetChecked(-1, false));
  EXPECT_TRUE(editor.AddUserExtension(".heic"));
  EXPECT_FALSE(editor.AddUserExtension(".heic")) << "an extension the table holds is refused";
  EXPECT_FALSE(editor.AddUserExtension(".png"));

  // Sorted into place, as a user entry that is switched on.
  const int heic = RowOf(editor.Working(), ".heic");
  EXPECT_EQ(editor.Working().At(static_cast<size_t>(heic - 1)).extension, ".gif");
  EXPECT_EQ(editor.Working().At(static_cast<size_t>(heic)).enabled, 1);
  EXPECT_EQ(editor.Working().At(static_cast<size_t>(heic)).builtIn, 0);
  EXPECT_EQ(editor.Working().At(static_cast<size_t>(heic)).contentType, "★ユーザー追加拡張子");

  EXPECT_EQ(context.PhotoExtensions.Find(".jpg")->enabled, 1);
  EXPECT_FALSE(context.PhotoExtensions.Find(".heic"));
  EXPECT_EQ(test::ReadBytes(DataFolder() / "Lumicrate.ini"), before);

  Inifile_CL::Edit_CL edit(Settings());
  editor.Apply(edit);
  EXPECT_EQ(context.PhotoExtensions.Find(".jpg")->enabled, 0);
  EXPECT_TRUE(context.PhotoExtensions.Find(".heic"));
  ASSERT_TRUE(edit.Commit());

  AppContext restarted;
  restarted.LoadSettings(Settings());
  EXPECT_EQ(restarted.PhotoExtensions.Find(".jpg")->enabled, 0);
  EXPECT_EQ(restarted.PhotoExtensions.Find(".heic")->builtIn, 0);
  EXPECT_EQ(restarted.IsImportTarget("/card/IMG_0001.HEIC"), 1);
}

TEST_F(ExtensionTableEditorTest, ADeletedUserEntryIsGoneAfterTheTablesAreLoadedAgain) {
  ExtensionTableEditor editor(context.SoundExtensions);
  ASSERT_TRUE(editor.Delete(RowOf(editor.Working(), ".flac")));
  Inifile_CL::Edit_CL edit(Settings());
  editor.Apply(edit);
  ASSERT_TRUE(edit.Commit());
  // The sheet loads the tables into the same context once it is closed with OK.
  context.LoadExtensionTables(Settings());
  EXPECT_FALSE(context.SoundExtensions.Find(".flac"));
  EXPECT_EQ(context.SoundExtensions.Count(), 2u);
}

} // namespace
} // namespace lumicrate
