// The main window's decisions without a window: the output field's trailing separator, the
// question before an import, and the album buttons' tests on real folders.
#include <gtest/gtest.h>

#include "app/MainWindowRules.h"
#include "support/TestSupport.h"

namespace lumicrate {
namespace {

TEST(MainWindowRulesTest, OneTrailingSeparatorIsRemoved) {
  const struct {
    const char* field;
    const char* folder;
  } cases[] = {
      {"/home/a/Photos/", "/home/a/Photos"},
      {"/home/a/Photos//", "/home/a/Photos/"},
      {"/home/a/Photos", "/home/a/Photos"},
      {"", ""},
      {"/", "/"},
      {"写真/", "写真"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RemoveOneTrailingSeparator(c.field), c.folder) << c.field;
  }
}

TEST(MainWindowRulesTest, TheQuestionNamesTheFolderOrTheDevice) {
  const std::string tail = "写真、動画ファイルの取り込みを開始しますか？\r\n\r\n"
                           "(iPhoneの場合は、「このコンピュータを信頼しますか？」とiPhoneに表示されていますので、"
                           "「信頼」を選択しておいてください。)\r\n";
  EXPECT_EQ(ImportConfirmationText(ImportMode::Folder, "/media/card/DCIM", "フォルダ指定"),
            "フォルダ\"/media/card/DCIM\"が選択されました。\r\n" + tail);
  for (const ImportMode mode : {ImportMode::Drive, ImportMode::Device, static_cast<ImportMode>(7)}) {
    EXPECT_EQ(ImportConfirmationText(mode, "/media/card", "Card Reader(/media/card)"),
              "デバイス\"Card Reader(/media/card)\"が接続されました。\r\n" + tail);
  }
}

TEST(MainWindowRulesTest, TheAlbumIndexLiesInPhotoAlbum) {
  EXPECT_EQ(AlbumIndexPath("/out/"), "/out/PhotoAlbum/index.html");
  EXPECT_EQ(AlbumIndexPath("/out"), "/out/PhotoAlbum/index.html");
  EXPECT_EQ(AlbumIndexPath(""), "");
}

TEST(MainWindowRulesTest, AnAlbumNeedsASubFolderBesidesPhotoAlbum) {
  test::TempDir dir;
  const auto out = dir / "out";
  EXPECT_FALSE(CanGenerateAlbum(out)) << "missing";
  EXPECT_FALSE(CanGenerateAlbum(""));
  std::filesystem::create_directories(out);
  test::WriteBytes(out / "note.txt", "a file is no folder");
  EXPECT_FALSE(CanGenerateAlbum(out)) << "only a file";
  for (const char* name : {"PhotoAlbum", "photoalbum", "PHOTOALBUM"}) {
    std::filesystem::create_directory(out / name);
    EXPECT_FALSE(CanGenerateAlbum(out)) << name;
    std::filesystem::remove(out / name);
  }
  std::filesystem::create_directory(out / "PhotoAlbum");
  std::filesystem::create_directory(out / "2015年");
  EXPECT_TRUE(CanGenerateAlbum(out));
}

} // namespace
} // namespace lumicrate
