// The desktop program's command line: a folder to offer for import, --help, and what it refuses.
#include <gtest/gtest.h>
#include <unistd.h>

#include "app/ProgramArguments.h"
#include "support/TestSupport.h"

namespace lumicrate {
namespace {

namespace fs = std::filesystem;
using Action = ProgramArguments::Action;

TEST(ProgramArgumentsTest, FolderHelpAndUsageErrors) {
  const test::TempDir scratch;
  fs::create_directories(scratch / "card/DCIM");
  test::WriteBytes(scratch / "photo.jpg", "not a folder");
  const fs::path previous = fs::current_path();
  fs::current_path(scratch.Path());
  const struct {
    std::vector<std::string> args;
    Action action;
    fs::path folder;
    std::string error;
  } cases[] = {
      {{}, Action::Run, {}, ""},
      {{(scratch / "card").string()}, Action::Run, scratch / "card", ""},
      {{(scratch / "card/").string()}, Action::Run, scratch / "card", ""},
      {{"card/DCIM/.."}, Action::Run, scratch / "card", ""},
      {{"/"}, Action::Run, "/", ""},
      {{"--help"}, Action::Help, {}, ""},
      {{"card", "-h"}, Action::Help, {}, ""},
      {{"card", "card"}, Action::Usage, {}, "取り込むフォルダは一つだけ指定します"},
      {{"--verbose"}, Action::Usage, {}, "不明な引数です: --verbose"},
      {{""}, Action::Usage, {}, "不明な引数です: "},
      {{"missing"}, Action::Usage, {}, "フォルダがありません: missing"},
      {{"photo.jpg"}, Action::Usage, {}, "フォルダではありません: photo.jpg"},
  };
  for (const auto& c : cases) {
    const ProgramArguments parsed = ParseProgramArguments(c.args);
    const std::string name = c.args.empty() ? "(none)" : c.args.front();
    EXPECT_EQ(parsed.action, c.action) << name;
    EXPECT_EQ(parsed.folder, c.folder) << name;
    EXPECT_EQ(parsed.error, c.error) << name;
  }
  fs::current_path(previous);
}

} // namespace
} // namespace lumicrate
