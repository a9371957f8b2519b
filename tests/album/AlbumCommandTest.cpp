// lumicrate-cli album as a user runs it: exit codes, the folder from the argument or the
// settings, the template found beside the program, and the path of the start page it prints.
#include <array>
#include <cstdio>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include "AlbumFixture.h"
#include "app/Inifile_CL.h"

namespace lumicrate {
namespace {

namespace fs = std::filesystem;

// Exit code, and standard output and error together.
std::pair<int, std::string> RunAlbumCommand(const std::string& arguments) {
  const std::string command = std::string(LUMICRATE_BINARY_DIR) + "/lumicrate-cli album " + arguments + " 2>&1";
  std::FILE* pipe = ::popen(command.c_str(), "r");
  std::string output;
  std::array<char, 4096> buffer{};
  while (const size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe)) {
    output.append(buffer.data(), n);
  }
  const int status = ::pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

class AlbumCommandTest : public test::AlbumTest {};

TEST_F(AlbumCommandTest, BadUsageExitsWithTwoAndWritesNothing) {
  for (const std::string arguments : {"", "--verbose", "OUT OUT", "OUT/missing"}) {
    std::string line = arguments;
    for (size_t at; (at = line.find("OUT")) != std::string::npos;) {
      line.replace(at, 3, Out().string());
    }
    const auto [code, output] = RunAlbumCommand(line);
    EXPECT_EQ(code, 2) << line << "\n" << output;
    EXPECT_NE(output.find("使い方: lumicrate-cli album [出力先]"), std::string::npos) << output;
  }
  EXPECT_FALSE(fs::exists(Album()));
}

TEST_F(AlbumCommandTest, BuildsTheAlbumOfTheStoredOutputFolderWithTheTemplateBesideTheProgram) {
  test::MakePhoto(Out() / "2015年" / "photo.jpg", {.dateTimeOriginal = "2015:03:21 10:00:00"});
  Settings().WriteString("APP_INFO", "OutputFolder", Out().string());
  const auto [code, output] = RunAlbumCommand("");
  EXPECT_EQ(code, 0) << output;
  EXPECT_NE(output.find("写真一覧の生成が完了しました。\n" + (Album() / "index.html").string() + "\n"),
            std::string::npos)
      << output;
  EXPECT_EQ(output.find("\033["), std::string::npos) << "no progress line off a terminal";
  EXPECT_TRUE(fs::exists(Album() / "thumb" / "2015" / "20150321_0.jpg"));
  EXPECT_EQ(ReadPage("picture.html"),
            test::ReadBytes(fs::path(LUMICRATE_SOURCE_DIR) / "Template" / "0001" / "picture.html"));
  EXPECT_EQ(Settings().GetString("APP_INFO", "OutputFolder", ""), Out().string());
  const std::string log = test::ReadUtf16File(DataFolder() / "log.txt");
  EXPECT_NE(log.find(" : 出力フォルダ = " + Out().string() + "\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find(" : 写真の枚数         = 1\r\n"), std::string::npos) << log;
}

TEST_F(AlbumCommandTest, AnAlbumThatCannotBeReplacedExitsWithOneAndItsCode) {
  test::WriteBytes(Album(), "a file in the album's place");
  const auto [code, output] = RunAlbumCommand(Out().string() + "/");
  EXPECT_EQ(code, 1) << output;
  EXPECT_NE(output.find("写真一覧の生成に失敗しました。 0x8007010b"), std::string::npos) << output;
  EXPECT_EQ(test::ReadBytes(Album()), "a file in the album's place");
}

} // namespace
} // namespace lumicrate
