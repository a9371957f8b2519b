// The one road to a run: the mode chooses the run, the start and end lines frame it in the
// log, and an output folder that cannot be made ends it before it begins.
#include <gtest/gtest.h>

#include "app/ActivityLog.h"
#include "app/Inifile_CL.h"
#include "app/SelectedRun.h"
#include "device/DeviceFixture.h"
#include "import/ImportFixtures.h"

namespace lumicrate {
namespace {

class SelectedRunTest : public test::ImportTest {
protected:
  void SetUp() override {
    ImportTest::SetUp();
    context.OutputFormatType = 13;
    context.OutputFolder = dir / "out";
    context.TempFolder = DataFolder() / "tmp";
    std::filesystem::create_directories(context.TempFolder);
    test::MakePhoto(dir / "card/DCIM/100/IMG_0001.JPG", "2015:06:21 14:03:09", 1);
  }
  test::RecordingProgress progress;
  test::RecordingNotices notices;
  SelectedRunReport report;
};

TEST_F(SelectedRunTest, DriveFolderAndUnknownModesRunTheFolderImport) {
  for (const ImportMode mode : {ImportMode::Drive, ImportMode::Folder, static_cast<ImportMode>(9)}) {
    context.Mode = mode;
    context.SourceFolder = dir / "card";
    std::filesystem::remove_all(context.OutputFolder);
    report = {};
    EXPECT_EQ(RunSelectedImport(context, progress, notices, {}, &report), 0);
    EXPECT_TRUE(report.started);
    EXPECT_EQ(report.copiedFiles, 1);
    EXPECT_EQ(test::FilesUnder(context.OutputFolder), (std::vector<std::string>{"2015年/06月/21日/IMG_0001.JPG"}));
  }
}

TEST_F(SelectedRunTest, TheLogFramesTheRun) {
  context.Mode = ImportMode::Folder;
  context.SourceFolder = dir / "card";
  ASSERT_EQ(RunSelectedImport(context, progress, notices), 0);
  const std::string log = LogText();
  const size_t start = log.find("写真取り込み(開始)");
  const size_t folder = log.find("出力フォルダ = " + context.OutputFolder.string());
  const size_t counts = log.find("コピーファイルの数 = 1");
  const size_t end = log.find("写真取り込み(終了)");
  ASSERT_NE(end, std::string::npos) << log;
  EXPECT_LT(start, folder);
  EXPECT_LT(folder, counts);
  EXPECT_LT(counts, end);
}

TEST_F(SelectedRunTest, AlbumModeBuildsTheAlbum) {
  context.Mode = ImportMode::Album;
  context.SourceFolder = dir / "card";
  std::filesystem::create_directories(context.OutputFolder / "2015年");
  EXPECT_EQ(RunSelectedImport(context, progress, notices, {}, &report), 0);
  EXPECT_TRUE(std::filesystem::exists(context.OutputFolder / "PhotoAlbum" / "index.html"));
  EXPECT_EQ(report.copiedFiles, 0) << "nothing is imported";
}

TEST_F(SelectedRunTest, DeviceModeReadsTheDevice) {
  context.Mode = ImportMode::Device;
  const DeviceQuery query{"Directory Browse", {DirectoryCamera(dir / "card")}};
  EXPECT_EQ(RunSelectedImport(context, progress, notices, query, &report), 0);
  EXPECT_TRUE(report.deviceFound);
  EXPECT_EQ(report.copiedFiles, 1);
}

TEST_F(SelectedRunTest, AnOutputFolderThatCannotBeMadeEndsTheRunBeforeItBegins) {
  test::WriteBytes(dir / "file", "not a folder");
  context.Mode = ImportMode::Folder;
  context.SourceFolder = dir / "card";
  context.OutputFolder = dir / "file" / "out";
  const HRESULT hr = RunSelectedImport(context, progress, notices, {}, &report);
  EXPECT_EQ(static_cast<std::uint32_t>(hr), 0x80070000u | 267u) << std::hex << hr;
  EXPECT_FALSE(report.started);
  EXPECT_NE(LogText().find("写真取り込み(終了)"), std::string::npos);
}

TEST_F(SelectedRunTest, TheStoredOutputFolderIsReadFromAppInfo) {
  EXPECT_EQ(StoredOutputFolder(Settings()), "");
  Settings().WriteString("APP_INFO", "OutputFolder", "/home/a/写真");
  EXPECT_EQ(StoredOutputFolder(Settings()), "/home/a/写真");
}

} // namespace
} // namespace lumicrate
