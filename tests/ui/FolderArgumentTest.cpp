// "lumicrate FOLDER", as the desktop starts the program for an inserted camera card: the folder
// is offered as a drive that arrived and imported after a yes; the executable's own answers to
// --help, to a folder that is not there and to a start while another instance runs.
#include <gtest/gtest.h>

#include "app/AppContext.h"
#include "app/Inifile_CL.h"
#include "app/Product.h"
#include "import/ImportFixtures.h"
#include "platform/InstanceLock.h"
#include "support/CliRunner.h"
#include "ui/MainWindowFixture.h"

namespace lumicrate::test {
namespace {

namespace fs = std::filesystem;

CliResult RunLumicrate(const std::string& arguments) {
  return RunProgram(LUMICRATE_GUI_EXECUTABLE, arguments);
}

class FolderArgumentTest : public MainWindowTest {};

TEST_F(FolderArgumentTest, TheFolderIsAskedAboutAsADriveAndImportedAfterYes) {
  MakePhoto(scratch / "card/DCIM/100CANON/IMG_0001.JPG", "2015:06:21 10:00:00", 1);
  const fs::path output = Home() / "Pictures";
  Settings().WriteString("APP_INFO", "OutputFolder", output.string());
  desktop.answers = {true};
  Open().OfferFolder(scratch / "card");

  const std::vector<ShownBox> boxes = desktop.Boxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].kind, "ask");
  EXPECT_EQ(boxes[0].caption, QStringLiteral("写真＆動画の取り込みの開始"));
  EXPECT_TRUE(boxes[0].text.startsWith(
      QString::fromStdString("デバイス\"(" + (scratch / "card").string() + ")\"が接続されました。")))
      << boxes[0].text.toStdString();
  EXPECT_EQ(boxes[1].text, QStringLiteral("写真の取り込みが完了しました。"));
  EXPECT_TRUE(fs::exists(output / "2015年/06月/21日/IMG_0001.JPG"));
  EXPECT_EQ(Context().Mode, ImportMode::Drive);
  EXPECT_EQ(Context().ReadyForImport, 1);
}

TEST_F(FolderArgumentTest, NoFolderIsOfferedWhileAnImportIsUnderWay) {
  ui::MainWindow_CL& window = Open();
  Context().ReadyForImport = 0;
  window.OfferFolder(Home());
  EXPECT_TRUE(desktop.Boxes().empty());
}

TEST_F(FolderArgumentTest, TheProgramAnswersHelpAndBadFoldersWithoutStarting) {
  const CliResult help = RunLumicrate("--help");
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.output.rfind("使い方: lumicrate [フォルダ]\n", 0), 0u) << help.output;

  const CliResult missing = RunLumicrate("'" + (Home() / "no card").string() + "'");
  EXPECT_EQ(missing.exitCode, 2);
  EXPECT_NE(missing.output.find("lumicrate: フォルダがありません: " + (Home() / "no card").string()), std::string::npos)
      << missing.output;
  EXPECT_EQ(ReadUtf16File(DataFolder() / "log.txt").find("アプリ起動"), std::string::npos)
      << "a usage error starts nothing";
}

TEST_F(FolderArgumentTest, ASecondStartWithAFolderEndsAtOnce) {
  InstanceLock running;
  ASSERT_TRUE(running.TryAcquire(InstanceLock::LockFolder(DataFolder()) / InstanceLock::LockFileName(kProductAddress)));
  const CliResult second = RunLumicrate("'" + Home().string() + "'");
  EXPECT_EQ(second.exitCode, 0) << second.output;
  EXPECT_NE(ReadUtf16File(DataFolder() / "log.txt").find("多重起動チェックで既に起動中でした。"), std::string::npos);
}

} // namespace
} // namespace lumicrate::test
