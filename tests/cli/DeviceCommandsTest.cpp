// lumicrate-cli devices and import --device as a user runs them, against libgphoto2's directory
// camera given with --port: the listing, an import, the notice, a missing device, bad usage.
#include <gtest/gtest.h>

#include "import/ImportFixtures.h"
#include "support/CliRunner.h"

namespace lumicrate {
namespace {

using test::RunCli;

class DeviceCommandsTest : public test::ScratchHomeTest {
protected:
  std::string Camera() const { return "disk:" + camera.Path().string(); }
  std::string Output() const { return (dir / "out").string(); }

  test::TempDir camera;
  test::TempDir dir;
};

TEST_F(DeviceCommandsTest, DevicesListsTheCameraWithItsNames) {
  const auto result = RunCli("devices --port " + Camera());
  EXPECT_EQ(result.exitCode, 0) << result.output;
  EXPECT_NE(result.output.find("  [0] " + camera.Path().filename().string() + "\n      説明: Directory Browse\n"),
            std::string::npos)
      << result.output;
  EXPECT_NE(result.output.find("ポート: " + Camera()), std::string::npos);
  EXPECT_NE(result.output.find("リムーバブルボリューム: "), std::string::npos);
}

TEST_F(DeviceCommandsTest, ImportsFromTheCameraAndPrintsTheNoticeWhenItShowsNothing) {
  test::MakePhoto(camera / "DCIM/IMG_0001.JPG", "2015:06:21 14:03:09", 1);
  auto result = RunCli("import --port " + Camera() + " --output " + Output());
  EXPECT_EQ(result.exitCode, 0) << result.output;
  EXPECT_NE(result.output.find("取り込み元: デバイス「Directory Browse」"), std::string::npos) << result.output;
  EXPECT_NE(result.output.find("コピーファイルの数 = 1"), std::string::npos) << result.output;
  EXPECT_EQ(test::FilesUnder(dir / "out"), (std::vector<std::string>{"2015年/06月/21日/IMG_0001.JPG"}));

  std::filesystem::remove_all(camera / "DCIM");
  result = RunCli("import --device 'directory BROWSE' --port " + Camera() + " --output " + Output());
  EXPECT_EQ(result.exitCode, 0) << result.output;
  EXPECT_NE(result.output.find("お知らせ: 写真の枚数が０枚でした。"), std::string::npos) << result.output;
}

TEST_F(DeviceCommandsTest, AMissingDeviceIsNamedAndFails) {
  const auto result = RunCli("import --device 'No Such Phone' --port " + Camera() + " --output " + Output());
  EXPECT_EQ(result.exitCode, 1) << result.output;
  EXPECT_NE(result.output.find("デバイス「No Such Phone」が見つかりません。"), std::string::npos) << result.output;
  EXPECT_EQ(result.output.find("コピー元 ="), std::string::npos) << "no copy was under way";
}

TEST_F(DeviceCommandsTest, BadUsageExitsWithTwo) {
  const std::string cases[] = {
      "import " + dir.Path().string() + " --device --output " + Output(),
      "import --port --output " + Output(),
      "import --port /no/prefix --output " + Output(),
      "import --port disk:/no/such/folder --output " + Output(),
      "devices --device",
      "devices extra",
  };
  for (const std::string& arguments : cases) {
    const auto result = RunCli(arguments);
    EXPECT_EQ(result.exitCode, 2) << arguments << "\n" << result.output;
    EXPECT_NE(result.output.find("使い方"), std::string::npos) << arguments;
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "out"));
}

} // namespace
} // namespace lumicrate
