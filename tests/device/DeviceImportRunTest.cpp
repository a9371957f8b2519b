// The device run against the directory camera: placement and dating like the folder run,
// duplicates on a second run, the notice, same-named files, switched-off kinds, a failed copy,
// and a device that goes away mid-walk or mid-download.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "device/DeviceFixture.h"
#include "device/DeviceImportRun.h"
#include "import/DestinationLayout.h"

namespace lumicrate {
namespace {

class DeviceImportRunTest : public test::DeviceTest {
protected:
  void SetUp() override {
    DeviceTest::SetUp();
    context.OutputFormatType = kNestedDayLayout;
    output = dir / "Photos";
  }

  HRESULT Run(Progress_CL& progress) {
    return DeviceImportRun(context, progress, output, notices, CameraQuery(), &report);
  }

  bool LogHas(const std::string& line) const { return LogText().find(" : " + line + "\r\n") != std::string::npos; }

  std::filesystem::path output;
  test::RecordingNotices notices;
  DeviceImportReport report;
};

TEST_F(DeviceImportRunTest, CopiesEachPhotoIntoItsDateFolderAndASecondRunFindsThemAllDuplicates) {
  const auto withExif = AddPhoto("DCIM/100APPLE/IMG_0001.JPG", "2015:06:21 14:03:09", 1, test::LocalTime(2020, 1, 2));
  const auto noExif = AddPhoto("DCIM/100APPLE/IMG_0002.JPG", "", 2, test::LocalTime(2016, 8, 9, 10));
  const auto movie = AddFile("DCIM/100APPLE/IMG_0003.MOV", "movie bytes", test::LocalTime(2017, 11, 30, 23));
  const auto sound = AddFile("DCIM/100APPLE/MEMO_0004.WAV", "sound bytes", test::LocalTime(2018, 2, 3));

  test::RecordingProgress progress;
  ASSERT_EQ(Run(progress), S_OK);
  EXPECT_EQ(test::FilesUnder(output), (std::vector<std::string>{
                                          "2015年/06月/21日/IMG_0001.JPG",
                                          "2016年/08月/09日/IMG_0002.JPG",
                                          "2017年/11月/30日/IMG_0003.MOV",
                                          "2018年/02月/03日/MEMO_0004.WAV",
                                      }));
  EXPECT_EQ(test::ReadBytes(output / "2015年/06月/21日/IMG_0001.JPG"), test::ReadBytes(withExif));
  EXPECT_EQ(test::ReadBytes(output / "2016年/08月/09日/IMG_0002.JPG"), test::ReadBytes(noExif));
  EXPECT_EQ(test::ReadBytes(output / "2017年/11月/30日/IMG_0003.MOV"), "movie bytes");
  struct stat info {};
  ASSERT_EQ(::stat((output / "2016年/08月/09日/IMG_0002.JPG").c_str(), &info), 0);
  EXPECT_EQ(info.st_mtim.tv_sec, test::LocalTime(2016, 8, 9, 10)) << "the copy keeps the device's date";
  // Root, storage, DCIM, 100APPLE and four files.
  EXPECT_EQ(report.inputFiles, 8);
  EXPECT_EQ(report.copiedFiles, 4);
  EXPECT_EQ(report.duplicates, 0);
  EXPECT_TRUE(LogHas("入力ファイルの数   = 8"));
  EXPECT_TRUE(LogHas("重複ファイルの数   = 0"));
  EXPECT_TRUE(LogHas("コピーファイルの数 = 4"));
  EXPECT_EQ(progress.GetTotal(), 8);
  EXPECT_EQ(progress.GetPosition(), 8);
  EXPECT_EQ(progress.texts.back(), "写真の取り込み中( 8 / 8 )");
  EXPECT_TRUE(notices.shown.empty());
  EXPECT_TRUE(std::filesystem::is_empty(DataFolder() / "tmp")) << "each temporary file goes after use";

  test::RecordingProgress again;
  ASSERT_EQ(Run(again), S_OK);
  EXPECT_EQ(report.duplicates, 4);
  EXPECT_EQ(report.copiedFiles, 0);
  EXPECT_EQ(test::FilesUnder(output).size(), 4u);
  EXPECT_TRUE(LogHas("重複ファイルの数   = 4"));
  EXPECT_TRUE(notices.shown.empty()) << "all photos already imported is not 'no photos'";
}

TEST_F(DeviceImportRunTest, ADeviceShowingNothingEndsWithTheNotice) {
  test::RecordingProgress progress;
  ASSERT_EQ(Run(progress), S_OK);
  EXPECT_EQ(report.inputFiles, 2) << "the root and the storage";
  EXPECT_TRUE(LogHas("重複ファイルの数   = 0"));
  EXPECT_TRUE(LogHas("コピーファイルの数 = 0"));
  ASSERT_EQ(notices.shown.size(), 1u);
  EXPECT_EQ(notices.shown[0].first, "お知らせ");
  EXPECT_EQ(notices.shown[0].second,
            "写真の枚数が０枚でした。「このコンピュータを信頼しますか？」とiPhoneに表示されている場合は、"
            "「信頼」を選択してください。");
}

TEST_F(DeviceImportRunTest, FilesOfKindsThatAreNotImportedEndWithTheExtensionNoticeNotTheTrustOne) {
  // As an iPhone that shows only HEIC files: the directory camera lists only kinds libgphoto2
  // knows, so here the files are movies with the movie kind switched off.
  context.ImportMovies = 0;
  AddFile("DCIM/100APPLE/IMG_0001.MOV", "movie bytes", test::LocalTime(2020, 1, 1));
  AddFile("DCIM/100APPLE/IMG_0002.MOV", "more movie bytes", test::LocalTime(2020, 1, 1));
  test::RecordingProgress progress;
  ASSERT_EQ(Run(progress), S_OK);
  EXPECT_EQ(report.copiedFiles, 0);
  ASSERT_EQ(notices.shown.size(), 1u);
  EXPECT_EQ(notices.shown[0].first, "お知らせ");
  EXPECT_EQ(notices.shown[0].second, kNoImportTargetsNotice);
  EXPECT_NE(notices.shown[0].second.find("アプリ設定"), std::string::npos);
}

TEST_F(DeviceImportRunTest, SameNamedPhotosInDifferentFoldersAreEachDatedAndPlacedOnTheirOwn) {
  // Same size and same device date: only their EXIF dates and pixels tell them apart.
  const std::time_t modified = test::LocalTime(2023, 8, 1);
  const auto june = AddPhoto("202306__/IMG_0001.JPG", "2023:06:10 08:00:00", 1, modified);
  const auto july = AddPhoto("202307__/IMG_0001.JPG", "2023:07:20 08:00:00", 2, modified);
  const auto juneAgain = AddPhoto("202307__/Backup/IMG_0001.JPG", "2023:06:10 08:00:00", 1, modified);
  ASSERT_EQ(test::ReadBytes(june), test::ReadBytes(juneAgain));

  test::RecordingProgress progress;
  ASSERT_EQ(Run(progress), S_OK);
  EXPECT_EQ(test::FilesUnder(output),
            (std::vector<std::string>{"2023年/06月/10日/IMG_0001.JPG", "2023年/07月/20日/IMG_0001.JPG"}));
  EXPECT_EQ(test::ReadBytes(output / "2023年/07月/20日/IMG_0001.JPG"), test::ReadBytes(july));
  EXPECT_EQ(report.copiedFiles, 2);
  EXPECT_EQ(report.duplicates, 1);
}

TEST_F(DeviceImportRunTest, ASwitchedOffKindIsSkippedYetAdvancesTheProgress) {
  context.ImportMovies = 0;
  AddPhoto("DCIM/IMG_0001.JPG", "2015:06:21 14:03:09", 1, test::LocalTime(2020, 1, 1));
  AddFile("DCIM/MVI_0002.MOV", "movie", test::LocalTime(2020, 1, 1));

  test::RecordingProgress progress;
  ASSERT_EQ(Run(progress), S_OK);
  EXPECT_EQ(test::FilesUnder(output), (std::vector<std::string>{"2015年/06月/21日/IMG_0001.JPG"}));
  EXPECT_EQ(progress.GetPosition(), 5);
  EXPECT_EQ(progress.texts.back(), "写真の取り込み中( 5 / 5 )");
  EXPECT_TRUE(notices.shown.empty());
}

TEST_F(DeviceImportRunTest, AFailedCopyEndsTheRunWithThreeLinesAndKeepsTheTemporaryFile) {
  const auto photo = AddPhoto("DCIM/IMG_0001.JPG", "2015:06:21 14:03:09", 1, test::LocalTime(2020, 1, 1));
  // A file where the year folder must go.
  std::filesystem::create_directories(output);
  test::WriteBytes(output / "2015年", "in the way");

  test::RecordingProgress progress;
  const HRESULT hr = Run(progress);
  EXPECT_TRUE(Failed(hr));
  const auto temporary = DataFolder() / "tmp" / "IMG_0001.JPG";
  EXPECT_EQ(test::ReadBytes(temporary), test::ReadBytes(photo));
  char code[64];
  std::snprintf(code, sizeof code, "ファイルのコピーに失敗しました。 0x%08x\r\n", static_cast<unsigned>(hr));
  const std::string log = LogText();
  const size_t failed = log.find(code);
  ASSERT_NE(failed, std::string::npos) << log;
  const size_t source = log.find(" : コピー元 = " + temporary.string() + "\r\n", failed);
  const size_t destination =
      log.find(" : コピー先 = " + (output / "2015年/06月/21日/IMG_0001.JPG").string() + "\r\n", source);
  EXPECT_NE(source, std::string::npos);
  ASSERT_NE(destination, std::string::npos);
  EXPECT_EQ(log.find("\r\n", destination) + 2, log.size()) << "the run ends with those lines";
  EXPECT_EQ(report.failedSource, temporary);
  EXPECT_EQ(progress.GetPosition(), 3) << "the failed object is not counted as handled";
}

// A progress display that removes a folder of the camera (the whole camera: an unplug) when the
// run shows a text beginning with trigger.
class UnplugAt : public test::RecordingProgress {
public:
  UnplugAt(std::string trigger, std::filesystem::path camera)
      : trigger_(std::move(trigger)), camera_(std::move(camera)) {}

protected:
  void TextChanged(const std::string& text) override {
    RecordingProgress::TextChanged(text);
    if (text.starts_with(trigger_)) {
      std::filesystem::remove_all(camera_);
    }
  }

private:
  std::string trigger_;
  std::filesystem::path camera_;
};

TEST_F(DeviceImportRunTest, ADeviceUnpluggedMidWalkOrMidDownloadEndsTheRunWithAnError) {
  struct Case {
    const char* trigger;
    size_t copiedBefore;
  };
  // Objects: root, storage, DCIM, 100APPLE, then the two photos; the fifth is the first photo.
  for (const Case& c : {Case{"デバイスの内容を確認中", 0}, Case{"写真の取り込み中( 5 /", 1}}) {
    SCOPED_TRACE(c.trigger);
    std::filesystem::remove_all(output);
    AddPhoto("DCIM/100APPLE/IMG_0001.JPG", "2015:06:21 14:03:09", 1, test::LocalTime(2020, 1, 1));
    AddPhoto("DCIM/100APPLE/IMG_0002.JPG", "2015:06:22 14:03:09", 2, test::LocalTime(2020, 1, 1));
    std::filesystem::remove(DataFolder() / "log.txt");

    UnplugAt progress(c.trigger, camera.Path());
    const HRESULT hr = Run(progress);
    EXPECT_TRUE(Failed(hr));
    char line[64];
    std::snprintf(line, sizeof line, "オブジェクトの取得に失敗(0x%08x)", static_cast<unsigned>(hr));
    EXPECT_TRUE(LogHas(line)) << LogText();
    EXPECT_EQ(LogText().find("コピーファイルの数"), std::string::npos) << "a broken-off run reports no counts";
    EXPECT_EQ(test::FilesUnder(output).size(), c.copiedBefore) << "what was copied before stays";
    EXPECT_TRUE(notices.shown.empty());
    EXPECT_TRUE(test::FilesUnder(DataFolder() / "tmp").empty());
  }
}

TEST_F(DeviceImportRunTest, AFolderTheDeviceCannotListLeavesOutOnlyWhatIsInIt) {
  AddPhoto("DCIM/100APPLE/IMG_0001.JPG", "2015:06:21 14:03:09", 1, test::LocalTime(2020, 1, 1));
  AddPhoto("DCIM/101APPLE/IMG_0002.JPG", "2015:06:22 14:03:09", 2, test::LocalTime(2020, 1, 1));
  // Objects: root, storage, DCIM; once DCIM is listed, 100APPLE goes before it is listed itself.
  UnplugAt progress("デバイスの内容を確認中( 3 )", camera / "DCIM/100APPLE");
  ASSERT_EQ(Run(progress), S_OK) << LogText();
  EXPECT_EQ(test::FilesUnder(output), (std::vector<std::string>{"2015年/06月/22日/IMG_0002.JPG"}));
  EXPECT_TRUE(LogHas("入力ファイルの数   = 6"));
  EXPECT_TRUE(LogHas("コピーファイルの数 = 1"));
  EXPECT_EQ(LogText().find("オブジェクトの取得に失敗"), std::string::npos);
}

TEST_F(DeviceImportRunTest, OnlyTheDeviceWithTheWantedDescriptionIsRead) {
  test::TempDir other;
  test::MakePhoto(other / "DCIM/IMG_0009.JPG", "2011:01:01 00:00:00", 9);
  AddPhoto("DCIM/IMG_0001.JPG", "2015:06:21 14:03:09", 1, test::LocalTime(2020, 1, 1));
  const DeviceQuery query{test::kCameraDescription,
                          {{"Mass Storage Camera", "disk:" + other.Path().string()}, DirectoryCamera(camera.Path())}};
  test::RecordingProgress progress;
  ASSERT_EQ(DeviceImportRun(context, progress, output, notices, query, &report), S_OK);
  EXPECT_EQ(test::FilesUnder(output), (std::vector<std::string>{"2015年/06月/21日/IMG_0001.JPG"}));
}

TEST_F(DeviceImportRunTest, WithoutTheWantedDeviceTheRunFailsBeforeTouchingTheOutput) {
  test::RecordingProgress progress;
  const DeviceQuery query{"No Such Device", CameraPorts()};
  EXPECT_EQ(DeviceImportRun(context, progress, output, notices, query, &report), E_FAIL);
  EXPECT_TRUE(LogHas("デバイス番号の取得に失敗(0x80004005)"));
  EXPECT_FALSE(report.deviceFound);
  EXPECT_FALSE(std::filesystem::exists(output));
  EXPECT_TRUE(notices.shown.empty());
}

} // namespace
} // namespace lumicrate
