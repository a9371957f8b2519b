// The main window's decisions without a window: the output field's trailing separator, the
// question before an import, the text at a run's end, and the album buttons' tests on real
// folders.
#include <cerrno>
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

TEST(MainWindowRulesTest, ARunThatFailedIsNeverReportedAsDone) {
  SelectedRunReport started;
  started.started = true;
  started.deviceFound = true;
  SelectedRunReport failedCopy = started;
  failedCopy.copiedFiles = 12;
  failedCopy.failedSource = "/media/card/DCIM/IMG_0013.JPG";
  failedCopy.failedDestination = "/out/2015年/06月/21日/IMG_0013.JPG";
  const HRESULT full = HResultFromErrno(ENOSPC);
  const std::string fullText = "(0x80070070 " + SystemMessage(ENOSPC) + ")";
  const struct {
    ImportMode mode;
    HRESULT result;
    const SelectedRunReport& report;
    std::string text;
  } cases[] = {
      {ImportMode::Folder, S_OK, started, "写真の取り込みが完了しました。"},
      {ImportMode::Device, S_OK, started, "写真の取り込みが完了しました。"},
      {ImportMode::Album, S_OK, started, "写真一覧の生成が完了しました。"},
      {ImportMode::Drive, full, failedCopy,
       "写真の取り込みに失敗しました。\r\n" + fullText +
           "\r\n\r\nコピー元 = /media/card/DCIM/IMG_0013.JPG\r\nコピー先 = /out/2015年/06月/21日/IMG_0013.JPG"
           "\r\n\r\nそれまでにコピーしたファイルの数 = 12"},
      // The output folder could not be made: nothing was tried, so nothing is counted.
      {ImportMode::Folder, HResultFromErrno(EACCES), SelectedRunReport{},
       "写真の取り込みに失敗しました。\r\n(0x80070005 " + SystemMessage(EACCES) + ")"},
      {ImportMode::Device, E_FAIL, SelectedRunReport{},
       "デバイスが見つからないため、写真を取り込めませんでした。\r\n接続を確かめてから、もう一度お試しください。"},
      {ImportMode::Device, E_FAIL, started,
       "写真の取り込みに失敗しました。\r\n(0x80004005)\r\n\r\nそれまでにコピーしたファイルの数 = 0"},
      {ImportMode::Album, full, started, "写真一覧の生成に失敗しました。\r\n" + fullText},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RunEndText(c.mode, c.result, c.report), c.text) << static_cast<int>(c.mode) << " " << c.result;
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
