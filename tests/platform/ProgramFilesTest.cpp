// The program's data found beside it in a build tree and in share/lumicrate when installed.
#include <gtest/gtest.h>

#include "platform/ProgramFiles.h"
#include "support/TestSupport.h"

namespace lumicrate {
namespace {

namespace fs = std::filesystem;

TEST(ProgramFilesTest, ProgramFolderIsTheFolderOfTheRunningTest) {
  EXPECT_EQ(ProgramFolder(), fs::path(LUMICRATE_BINARY_DIR) / "tests");
}

TEST(ProgramFilesTest, DataIsTakenBesideTheProgramFirstThenFromTheInstalledDataFolder) {
  const struct {
    const char* name;
    bool beside, installed, dataFolder;
    const char* expected;
  } cases[] = {
      {"build tree", true, false, false, "bin/Template/0001"},
      {"installed", false, true, true, "share/lumicrate/Template/0001"},
      {"both: the one beside wins", true, true, true, "bin/Template/0001"},
      {"lost from an installed tree: named in its installed place", false, false, true,
       "share/lumicrate/Template/0001"},
      {"neither, and no installed tree: named beside the program", false, false, false, "bin/Template/0001"},
  };
  for (const auto& c : cases) {
    const test::TempDir prefix;
    if (c.beside) {
      fs::create_directories(prefix / "bin/Template/0001");
    }
    if (c.dataFolder) {
      fs::create_directories(prefix / "share/lumicrate");
    }
    if (c.installed) {
      fs::create_directories(prefix / "share/lumicrate/Template/0001");
    }
    EXPECT_EQ(ProgramDataPath(prefix / "bin", "Template/0001"), prefix / c.expected) << c.name;
  }
}

} // namespace
} // namespace lumicrate
