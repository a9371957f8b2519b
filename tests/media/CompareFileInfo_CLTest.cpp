// The extension tables: their defaults, the stored count/item form, the user's entries and
// switches, and the import test on a path.
#include <gtest/gtest.h>

#include "app/AppContext.h"
#include "app/Inifile_CL.h"
#include "media/CompareFileInfo_CL.h"
#include "support/TestSupport.h"

namespace lumicrate {
namespace {

class CompareFileInfo_CLTest : public test::ScratchHomeTest {};

std::vector<std::string> Extensions(const CompareFileInfo_CL& table) {
  std::vector<std::string> extensions;
  for (size_t i = 0; i < table.Count(); ++i) {
    extensions.push_back(table.At(i).extension);
  }
  return extensions;
}

TEST_F(CompareFileInfo_CLTest, DefaultTablesLoadSortedAndUnique) {
  AppContext context;
  context.LoadSettings(Settings());
  EXPECT_EQ(Extensions(context.PhotoExtensions),
            (std::vector<std::string>{".arw", ".bmp", ".cr2", ".crw", ".dng", ".gif", ".jpeg", ".jpg", ".nef", ".orf",
                                      ".pef", ".png", ".rw2", ".sr2", ".srf", ".tif"}));
  // 43 defaults, ".mod" and ".flv" twice: the repeats are refused.
  EXPECT_EQ(context.MovieExtensions.Count(), 41u);
  const auto movies = Extensions(context.MovieExtensions);
  EXPECT_TRUE(std::is_sorted(movies.begin(), movies.end()));
  EXPECT_EQ(std::adjacent_find(movies.begin(), movies.end()), movies.end());
  EXPECT_EQ(Extensions(context.SoundExtensions), (std::vector<std::string>{".mp3", ".wav"}));
  for (const auto* table : {&context.PhotoExtensions, &context.MovieExtensions, &context.SoundExtensions}) {
    for (size_t i = 0; i < table->Count(); ++i) {
      EXPECT_EQ(table->At(i).enabled, 1);
      EXPECT_EQ(table->At(i).builtIn, 1);
    }
  }
}

TEST_F(CompareFileInfo_CLTest, ContentTypeAndDescriptionComeFromSharedMimeInfo) {
  const struct {
    const char* extension;
    const char* contentType; // empty: shared-mime-info does not know it for sure
  } cases[] = {
      {".jpg", "image/jpeg"},  {".cr2", "image/x-canon-cr2"}, {".mts", "video/mp2t"}, {".mp4", "video/mp4"},
      {".wav", "audio/x-wav"}, {".heic", "image/heif"},       {".pgi", ""},           {".ts", ""},
  };
  for (const auto& c : cases) {
    std::string contentType;
    std::string fileType;
    CompareFileInfo_CL::DescribeExtension(c.extension, contentType, fileType);
    EXPECT_EQ(contentType, c.contentType) << c.extension;
    EXPECT_EQ(fileType.empty(), contentType.empty()) << c.extension << ": " << fileType;
  }
}

TEST_F(CompareFileInfo_CLTest, StoredItemsSetFlagsAndAddUserEntries) {
  const struct {
    const char* section;
    const char* key;
    const char* value;
  } stored[] = {
      {"COMPARE_EXT_INFO", "count", "2"},
      {"COMPARE_EXT_INFO", "item0", "1|.MTS"}, // the built-in ".mts": no user entry
      {"COMPARE_EXT_INFO", "item1", "0|.mp4"},
      {"COMPARE_EXT_INFO_PIC", "count", "8"},
      {"COMPARE_EXT_INFO_PIC", "item0", "1|.heic"},   // a user entry
      {"COMPARE_EXT_INFO_PIC", "item1", "1|"},        // too short: skipped
      {"COMPARE_EXT_INFO_PIC", "item2", "0x.png"},    // the separator is not looked at
      {"COMPARE_EXT_INFO_PIC", "item3", "1.jxl"},     // no "|": the extension is "jxl", which matches nothing
      {"COMPARE_EXT_INFO_PIC", "item5", "0|.HEIC"},   // item4 missing; a repeat only sets the flag
      {"COMPARE_EXT_INFO_PIC", "item007", "1|.x7"},   // not a name the program writes
      {"COMPARE_EXT_INFO_PIC", "item8", "1|.beyond"}, // past the count
      {"COMPARE_EXT_INFO_SND", "count", "-5"},
      {"COMPARE_EXT_INFO_SND", "item0", "0|.wav"},
  };
  for (const auto& s : stored) {
    Settings().WriteString(s.section, s.key, s.value);
  }
  AppContext context;
  context.LoadSettings(Settings());

  EXPECT_EQ(context.MovieExtensions.Count(), 41u);
  EXPECT_EQ(context.MovieExtensions.Find(".mts")->enabled, 1);
  EXPECT_EQ(context.MovieExtensions.Find(".MP4")->enabled, 0);

  EXPECT_EQ(Extensions(context.PhotoExtensions).size(), 18u);
  const auto heic = context.PhotoExtensions.Find(".heic");
  ASSERT_TRUE(heic);
  EXPECT_EQ(heic->enabled, 0);
  EXPECT_EQ(heic->builtIn, 0);
  EXPECT_EQ(heic->contentType, "★ユーザー追加拡張子");
  EXPECT_FALSE(heic->fileType.empty()) << "the description still comes from shared-mime-info";
  EXPECT_EQ(context.PhotoExtensions.Find(".png")->enabled, 0);
  EXPECT_TRUE(context.PhotoExtensions.Find("jxl"));
  EXPECT_FALSE(context.PhotoExtensions.Find(".x7"));
  EXPECT_FALSE(context.PhotoExtensions.Find(".beyond"));

  EXPECT_EQ(context.SoundExtensions.Find(".wav")->enabled, 1) << "a negative count reads no item";
}

TEST_F(CompareFileInfo_CLTest, AnAbsurdCountCostsNothing) {
  Settings().WriteString("COMPARE_EXT_INFO_SND", "count", "2147483647");
  Settings().WriteString("COMPARE_EXT_INFO_SND", "item0", "1|.flac");
  Settings().WriteString("COMPARE_EXT_INFO_SND", "item2147483646", "1|.opus");
  Settings().WriteString("COMPARE_EXT_INFO_SND", "item99999999999", "1|.toolong");
  // Counting up to the stored count would take minutes; the test's time-out catches that.
  CompareFileInfo_CL sounds = CompareFileInfo_CL::DefaultSounds();
  sounds.Load(Settings());
  EXPECT_EQ(Extensions(sounds), (std::vector<std::string>{".flac", ".mp3", ".opus", ".wav"}));
}

TEST_F(CompareFileInfo_CLTest, ASwitchedOffExtensionStaysOffAfterSaveAndReload) {
  AppContext before;
  before.LoadSettings(Settings());
  ASSERT_EQ(before.PhotoExtensions.SetEnabled(".JPG", 0), 1);
  EXPECT_EQ(before.PhotoExtensions.SetEnabled(".webp", 0), 0);
  before.PhotoExtensions.Save(Settings());
  EXPECT_EQ(Settings().GetInt("COMPARE_EXT_INFO_PIC", "count", 0), 16);
  EXPECT_EQ(Settings().GetString("COMPARE_EXT_INFO_PIC", "item0", ""), "1|.arw");
  EXPECT_EQ(Settings().GetString("COMPARE_EXT_INFO_PIC", "item7", ""), "0|.jpg");

  AppContext after;
  after.LoadSettings(Settings());
  EXPECT_EQ(after.PhotoExtensions.Find(".jpg")->enabled, 0);
  EXPECT_EQ(after.IsImportTarget("/card/DCIM/IMG_0001.JPG"), 0);
  EXPECT_NE(after.IsImportTarget("/card/DCIM/IMG_0001.PNG"), 0);

  // A removed built-in comes back, switched on, with the next load.
  CompareFileInfo_CL photos = CompareFileInfo_CL::DefaultPhotos();
  photos.Load(Settings());
  photos.RemoveAt(7);
  photos.Save(Settings());
  CompareFileInfo_CL reloaded = CompareFileInfo_CL::DefaultPhotos();
  reloaded.Load(Settings());
  EXPECT_EQ(reloaded.Find(".jpg")->enabled, 1);
}

TEST_F(CompareFileInfo_CLTest, SortsByUtf16CodeUnits) {
  CompareFileInfo_CL table("TEST", {});
  for (const char* extension : {".ｊｐｇ", ".😀", ".é", ".Z"}) {
    ExtensionEntry entry;
    entry.extension = extension;
    EXPECT_EQ(table.Add(entry, true), 1);
  }
  ExtensionEntry repeat;
  repeat.extension = ".z";
  EXPECT_EQ(table.Add(repeat, true), 0) << "extensions are lower-cased, so .Z and .z are one";
  // U+1F600 is stored as the surrogates D83D DE00, which sort before U+FF4A (UTF-8 says otherwise).
  EXPECT_EQ(Extensions(table), (std::vector<std::string>{".z", ".é", ".😀", ".ｊｐｇ"}));
}

TEST_F(CompareFileInfo_CLTest, ImportTargetFollowsTheExtensionOfTheWholePath) {
  const struct {
    const char* path;
    int all;      // every kind imported
    int noPhotos; // arrnge_photo 0
    int userHeic; // 1|.heic stored
  } cases[] = {
      {"/card/DCIM/100CANON/IMG_0001.JPG", 1, 0, 1},
      {"/card/PRIVATE/AVCHD/00001.MTS", 1, 1, 1},
      {"/rec/voice.mp3", 1, 1, 1},
      {"/iphone/IMG_0002.HEIC", 0, 0, 1},
      {"/backup/archive.tar.gz", 0, 0, 0},
      {"/card/DCIM.bak/README", 0, 0, 0}, // the "extension" is ".bak/README"
      {"/card/README", 0, 0, 0},
      {"/card/photo.", 0, 0, 0},
  };
  AppContext all;
  all.LoadSettings(Settings());
  Settings().WriteInt("APP_INFO", "arrnge_photo", 0);
  AppContext noPhotos;
  noPhotos.LoadSettings(Settings());
  Settings().WriteInt("APP_INFO", "arrnge_photo", 1);
  Settings().WriteInt("COMPARE_EXT_INFO_PIC", "count", 1);
  Settings().WriteString("COMPARE_EXT_INFO_PIC", "item0", "1|.heic");
  AppContext userHeic;
  userHeic.LoadSettings(Settings());
  for (const auto& c : cases) {
    EXPECT_EQ(all.IsImportTarget(c.path) != 0, c.all != 0) << c.path;
    EXPECT_EQ(noPhotos.IsImportTarget(c.path) != 0, c.noPhotos != 0) << c.path;
    EXPECT_EQ(userHeic.IsImportTarget(c.path) != 0, c.userHeic != 0) << c.path;
  }
}

} // namespace
} // namespace lumicrate
