// lumicrate-cli import as a user runs it: exit codes, the counts it prints, the output folder
// from the option or the settings, and settings left as they were.
#include <gtest/gtest.h>

#include "app/Inifile_CL.h"
#include "support/CliRunner.h"
#include "support/TestSupport.h"

namespace lumicrate {
namespace {

using Result = test::CliResult;
using test::RunCli;

class ImportCommandTest : public test::ScratchHomeTest {
protected:
  void SetUp() override {
    test::ScratchHomeTest::SetUp();
    card = (dir / "card").string();
    std::filesystem::create_directories(dir / "card/DCIM");
    test::WriteBytes(dir / "card/DCIM/MVI_0001.MOV", std::string(5000, 'a'));
    test::WriteBytes(dir / "card/DCIM/REC_0002.WAV", std::string(3000, 'b'));
    test::WriteBytes(dir / "card/DCIM/MVI_0001.THM", "thumbnail");
  }
  test::TempDir dir;
  std::string card;
};

TEST_F(ImportCommandTest, BadUsageExitsWithTwoAndImportsNothing) {
  const char* cases[] = {
      "import",
      "import CARD --layout 14",
      "import CARD --layout x",
      "import CARD --output",
      "import CARD --verbose",
      "import CARD CARD",
      "import /no/such/folder --output OUT",
      "import CARD/DCIM/MVI_0001.MOV --output OUT", // a file is no source folder
      "import CARD",                                // no --output and no stored output folder
  };
  for (std::string arguments : cases) {
    for (size_t at; (at = arguments.find("CARD")) != std::string::npos;) {
      arguments.replace(at, 4, card);
    }
    if (const size_t at = arguments.find("OUT"); at != std::string::npos) {
      arguments.replace(at, 3, (dir / "out").string());
    }
    const Result result = RunCli(arguments);
    EXPECT_EQ(result.exitCode, 2) << arguments << "\n" << result.output;
    EXPECT_NE(result.output.find("使い方"), std::string::npos) << arguments;
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "out"));
}

TEST_F(ImportCommandTest, HelpAfterAnyCommandShowsItsUsageAndDoesNothing) {
  const struct {
    std::string arguments;
    std::string usage;
  } cases[] = {
      {"import --help", "使い方: lumicrate-cli import 取り込み元|--device"},
      {"import " + card + " --output " + (dir / "out").string() + " -h", "使い方: lumicrate-cli import "},
      {"album --help", "使い方: lumicrate-cli album [出力先]"},
      {"devices -h", "使い方: lumicrate-cli devices [--port disk:フォルダ]"},
  };
  for (const auto& c : cases) {
    const Result result = RunCli(c.arguments);
    EXPECT_EQ(result.exitCode, 0) << c.arguments << "\n" << result.output;
    EXPECT_EQ(result.output.rfind(c.usage, 0), 0u) << c.arguments << "\n" << result.output;
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "out"));
}

TEST_F(ImportCommandTest, ImportsIntoTheStoredOutputFolderAndChangesNoSetting) {
  Settings().WriteString("APP_INFO", "OutputFolder", (dir / "stored").string());
  Settings().WriteInt("APP_INFO", "OutputFormatType", 4);
  Settings().WriteInt("APP_INFO", "arrnge_sound", 0);
  // Start-up moves rand_seed on as the program does at every start; nothing else may change.
  const auto settingsNow = [] {
    auto keys = Settings().GetSection("APP_INFO");
    keys.erase("rand_seed");
    return keys;
  };
  const auto before = settingsNow();

  Result result = RunCli("import " + card + "/");
  EXPECT_EQ(result.exitCode, 0) << result.output;
  EXPECT_NE(result.output.find("入力ファイルの数   = 1\n重複ファイルの数   = 0\nコピーファイルの数 = 1\n"),
            std::string::npos)
      << result.output;
  EXPECT_EQ(result.output.find("\033["), std::string::npos) << "no progress line off a terminal";
  // Layout 13 whatever is stored; the sound file is off by the stored switch.
  size_t copied = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir / "stored")) {
    copied += entry.is_regular_file() && entry.path().extension() == ".MOV";
    EXPECT_NE(entry.path().extension(), ".WAV");
  }
  EXPECT_EQ(copied, 1u);

  result = RunCli("import " + card + " --output " + (dir / "other").string() + " --layout 0");
  EXPECT_EQ(result.exitCode, 0) << result.output;
  EXPECT_TRUE(std::filesystem::is_directory(dir / "other"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "other"), {}), 1) << "a year folder, and no lock left";
  EXPECT_EQ(settingsNow(), before);
  const std::string log = test::ReadUtf16File(DataFolder() / "log.txt");
  EXPECT_NE(log.find("写真取り込み(開始)\r\n"), std::string::npos);
  EXPECT_NE(log.find("写真取り込み(終了)\r\n"), std::string::npos);
}

TEST_F(ImportCommandTest, AFailedRunNamesTheCodeAndTheFile) {
  // The output folder is a file: nothing can be copied into it.
  test::WriteBytes(dir / "out", "not a folder");
  const Result result = RunCli("import " + card + " --output " + (dir / "out").string());
  EXPECT_EQ(result.exitCode, 1) << result.output;
  EXPECT_NE(result.output.find("0x8007010b"), std::string::npos) << result.output;
  EXPECT_NE(result.output.find("コピー元 = " + card + "/DCIM/"), std::string::npos) << result.output;
}

} // namespace
} // namespace lumicrate
