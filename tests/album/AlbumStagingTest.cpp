// A rebuild that is killed or runs out of space never leaves a broken album: PhotoAlbum is
// the whole old album or the whole new one, and what a failed run built is gone afterwards.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "AlbumFixture.h"
#include "album/AlbumStaging_CL.h"
#include "album/BuildAlbum.h"
#include "album/ThumbnailStore_CL.h"

extern char** environ;

namespace lumicrate {
namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;

// Every file of the album with its bytes, the store of thumbnails left out (it names inodes).
Files Snapshot(const fs::path& album) {
  Files files;
  if (!fs::exists(album)) {
    return files;
  }
  for (const auto& entry : fs::recursive_directory_iterator(album)) {
    if (entry.is_regular_file() && entry.path().filename() != ThumbnailStore_CL::kStoreFileName) {
      files[fs::relative(entry.path(), album).string()] = test::ReadBytes(entry.path());
    }
  }
  return files;
}

std::vector<std::string> Matches(const std::string& text, const char* pattern) {
  std::vector<std::string> found;
  const std::regex expression(pattern);
  for (auto it = std::sregex_iterator(text.begin(), text.end(), expression); it != std::sregex_iterator(); ++it) {
    found.push_back((*it)[1]);
  }
  return found;
}

// The start page, every month page it links and every thumbnail those link are there and whole.
void ExpectWholeAlbum(const Files& album) {
  const auto ends = [](const std::string& bytes, std::string_view end) { return bytes.ends_with(end); };
  ASSERT_TRUE(album.contains("index.html"));
  ASSERT_TRUE(ends(album.at("index.html"), "</html>\r\n"));
  for (const std::string& month : Matches(album.at("index.html"), "<a href='\\./([^']*)'>")) {
    ASSERT_TRUE(album.contains(month)) << month;
    EXPECT_TRUE(ends(album.at(month), "</html>\r\n")) << month;
    for (const std::string& thumbnail : Matches(album.at(month), "src='\\.\\./([^']*)'")) {
      ASSERT_TRUE(album.contains(thumbnail)) << thumbnail;
      EXPECT_TRUE(ends(album.at(thumbnail), "\xFF\xD9")) << thumbnail << " is cut short";
    }
  }
}

class AlbumStagingTest : public test::AlbumTest {
protected:
  void Photos(const std::string& prefix, int count, int width, int height) {
    for (int i = 0; i < count; ++i) {
      test::MakePhoto(
          Out() / "2015年" / (prefix + std::to_string(i) + ".jpg"),
          {.width = width,
           .height = height,
           .dateTimeOriginal = "2015:0" + std::to_string(1 + i % 3) + ":1" + std::to_string(i % 7) + " 10:00:00",
           .orientation = i % 4 == 1 ? 6 : 0,
           .red = test::Corner::TopLeft});
    }
  }
  std::string LogText() const { return test::ReadUtf16File(DataFolder() / "log.txt"); }
  // Nothing of the album's own is left in the output folder but the album.
  void ExpectNoLeftovers(const fs::path& output) {
    EXPECT_FALSE(fs::exists(output / AlbumStaging_CL::kStagingName));
    EXPECT_FALSE(fs::exists(output / AlbumStaging_CL::kRetiredName));
    for (const auto& entry : fs::directory_iterator(output)) {
      EXPECT_NE(entry.path().filename().string()[0], '.') << entry.path();
    }
  }
};

pid_t StartAlbumCommand(const fs::path& output) {
  const std::string cli = std::string(LUMICRATE_BINARY_DIR) + "/lumicrate-cli";
  const std::string folder = output.string();
  char* argv[] = {const_cast<char*>(cli.c_str()), const_cast<char*>("album"), const_cast<char*>(folder.c_str()),
                  nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  EXPECT_EQ(posix_spawn(&pid, cli.c_str(), &actions, nullptr, argv, environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

TEST_F(AlbumStagingTest, ARebuildKilledAtAnyMomentLeavesTheOldOrTheNewAlbumWhole) {
  Photos("old", 8, 1200, 900);
  // A first album killed on its way leaves none rather than a partial one.
  for (const int ms : {20, 60, 120}) {
    const pid_t run = StartAlbumCommand(Out());
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    ::kill(run, SIGKILL);
    test::WaitChild(run);
    if (fs::exists(Album())) {
      ExpectWholeAlbum(Snapshot(Album()));
    }
  }
  fs::remove_all(Album());
  const auto started = std::chrono::steady_clock::now();
  ASSERT_EQ(test::WaitChild(StartAlbumCommand(Out())), 0);
  const auto duration = std::chrono::steady_clock::now() - started;
  const Files oldAlbum = Snapshot(Album());
  ExpectWholeAlbum(oldAlbum);

  Photos("new", 8, 1200, 900);
  fs::remove(Out() / "2015年" / "old3.jpg");
  std::vector<Files> seen;
  for (int step = 1; step <= 8; ++step) {
    const pid_t run = StartAlbumCommand(Out());
    std::this_thread::sleep_for(duration * step / 7);
    ::kill(run, SIGKILL);
    test::WaitChild(run);
    seen.push_back(Snapshot(Album()));
  }
  ASSERT_EQ(test::WaitChild(StartAlbumCommand(Out())), 0);
  const Files newAlbum = Snapshot(Album());
  ExpectWholeAlbum(newAlbum);
  ASSERT_NE(newAlbum, oldAlbum);
  ExpectNoLeftovers(Out());

  int old = 0;
  for (const Files& album : seen) {
    EXPECT_TRUE(album == oldAlbum || album == newAlbum) << "a killed run left a mixed or partial album";
    old += album == oldAlbum ? 1 : 0;
  }
  // Not a condition of the test, which holds for any timing; it says whether kills hit mid-build.
  std::printf("killed %zu runs: %d left the old album, %zu the new one\n", seen.size(), old, seen.size() - old);
}

TEST_F(AlbumStagingTest, AFullDiskKeepsTheOldAlbumAndRemovesTheHalfBuiltOne) {
  const fs::path disk = Out() / "disk";
  fs::create_directories(disk);
  if (::geteuid() != 0 || ::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=2m") != 0) {
    GTEST_SKIP() << "mounting a small tmpfs needs root";
  }
  struct Unmount {
    fs::path path;
    ~Unmount() { ::umount2(path.c_str(), MNT_DETACH); }
  } unmount{disk};
  AlbumOptions options = Options();
  options.OutputFolder = disk;
  options.AlbumFolder = disk / "PhotoAlbum";
  const auto photos = [&](const std::string& prefix) {
    for (int i = 0; i < 8; ++i) {
      test::MakePhoto(disk / (prefix + std::to_string(i) + ".jpg"),
                      {.width = 320, .height = 240, .dateTimeOriginal = "2015:03:2" + std::to_string(i) + " 10:00:00"});
    }
  };
  // Fills the disk but for room bytes.
  const auto fill = [&](size_t room) {
    fs::remove(disk / "filler");
    const int fd = ::open((disk / "filler").c_str(), O_WRONLY | O_CREAT, 0644);
    const std::string block(4096, 'x');
    while (::write(fd, block.data(), block.size()) > 0) {
    }
    ::ftruncate(fd, static_cast<off_t>(fs::file_size(disk / "filler") - room));
    ::close(fd);
  };
  photos("first");

  // A first album that finds no room leaves no album at all rather than a broken one.
  fill(8 * 1024);
  EXPECT_EQ(BuildAlbum(options), HResultFromWin32(112));
  EXPECT_FALSE(fs::exists(options.AlbumFolder));
  ExpectNoLeftovers(disk);

  fs::remove(disk / "filler");
  ASSERT_EQ(BuildAlbum(options), S_OK);
  const Files oldAlbum = Snapshot(options.AlbumFolder);
  ExpectWholeAlbum(oldAlbum);

  photos("second");
  fill(40 * 1024);
  const std::string logBefore = LogText();
  EXPECT_EQ(BuildAlbum(options), HResultFromWin32(112));
  EXPECT_EQ(Snapshot(options.AlbumFolder), oldAlbum);
  ExpectNoLeftovers(disk);
  const std::string log = LogText().substr(logBefore.size());
  EXPECT_NE(log.find(" : 写真一覧の書き込みに失敗しました。 = " + (options.AlbumFolder / "index.html").string()),
            std::string::npos)
      << log;
  EXPECT_NE(log.find(" : 前の写真一覧をそのまま残しました。 0x80070070\r\n"), std::string::npos) << log;

  fs::remove(disk / "filler");
  ASSERT_EQ(BuildAlbum(options), S_OK);
  const Files newAlbum = Snapshot(options.AlbumFolder);
  ExpectWholeAlbum(newAlbum);
  EXPECT_EQ(
      std::count_if(newAlbum.begin(), newAlbum.end(), [](const auto& file) { return file.first.ends_with(".jpg"); }),
      16);
}

} // namespace
} // namespace lumicrate
