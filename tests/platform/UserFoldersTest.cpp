// The documents folder from user-dirs.dirs, as xdg-user-dir finds it.
#include <gtest/gtest.h>

#include "platform/UserFolders.h"
#include "support/TestSupport.h"

namespace lumicrate {
namespace {

class UserFoldersTest : public test::ScratchHomeTest {};

TEST_F(UserFoldersTest, ReadsXdgDocumentsDir) {
  const struct {
    const char* name;
    const char* file; // nullptr: no user-dirs.dirs at all
    std::string expected;
  } cases[] = {
      {"no file", nullptr, "$HOME/Documents"},
      {"relative to home", "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_DOCUMENTS_DIR=\"$HOME/ドキュメント\"\n",
       "$HOME/ドキュメント"},
      {"absolute", "XDG_DOCUMENTS_DIR=\"/srv/docs\"\n", "/srv/docs"},
      {"escaped", "XDG_DOCUMENTS_DIR=\"$HOME/My \\\"Docs\\\" \\$1\"\n", "$HOME/My \"Docs\" $1"},
      {"switched off", "XDG_DOCUMENTS_DIR=\"$HOME/\"\n", "$HOME"},
      {"the last one wins", "XDG_DOCUMENTS_DIR=\"$HOME/a\"\n  XDG_DOCUMENTS_DIR=\"$HOME/b\"\n", "$HOME/b"},
      {"comment, relative and unquoted ignored",
       "# XDG_DOCUMENTS_DIR=\"/x\"\nXDG_DOCUMENTS_DIR=\"docs\"\nXDG_DOCUMENTS_DIR=/y\nXDG_DOCUMENTS_DIR=\"/z\n",
       "$HOME/Documents"},
      {"$HOMEX is not $HOME", "XDG_DOCUMENTS_DIR=\"$HOMEX/d\"\n", "$HOME/Documents"},
  };
  const std::filesystem::path config = Home() / ".config";
  std::filesystem::create_directories(config);
  for (const auto& c : cases) {
    std::filesystem::remove(config / "user-dirs.dirs");
    if (c.file) {
      test::WriteBytes(config / "user-dirs.dirs", c.file);
    }
    std::string expected = c.expected;
    if (expected.rfind("$HOME", 0) == 0) {
      expected = Home().string() + expected.substr(5);
    }
    EXPECT_EQ(DocumentsFolder(), std::filesystem::path(expected)) << c.name;
  }
}

TEST_F(UserFoldersTest, FollowsXdgConfigHome) {
  const std::filesystem::path config = Home() / "elsewhere";
  std::filesystem::create_directories(config);
  test::WriteBytes(config / "user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n");
  ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  EXPECT_EQ(DocumentsFolder(), Home() / "Docs");
  ::unsetenv("XDG_CONFIG_HOME");
}

} // namespace
} // namespace lumicrate
