// What a run survives: being killed at any moment and run again, a full output disk, and a
// hostile source tree. Each ends with every file whole, once, under a final name.
#include <cstdio>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <map>
#include <random>
#include <set>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "ImportFixtures.h"
#include "album/BuildAlbum.h"
#include "import/FolderImportRun.h"
#include "import/StagedCopy_CL.h"

namespace lumicrate {
namespace {

using test::ImportTest;

class ReliabilityTest : public ImportTest {};

std::string RandomBytes(size_t size, std::mt19937& random) {
  std::string bytes(size, '\0');
  for (char& c : bytes) {
    c = static_cast<char>(random());
  }
  return bytes;
}

// How many times each content appears under folder, and whether any temporary is left.
std::map<std::string, int> ContentCounts(const std::filesystem::path& folder, bool& temporaryLeft) {
  std::map<std::string, int> counts;
  temporaryLeft = false;
  for (const auto& file : test::FilesUnder(folder)) {
    temporaryLeft |= StagedCopy_CL::IsTemporaryName(std::filesystem::path(file).filename().native());
    ++counts[test::ReadBytes(folder / file)];
  }
  return counts;
}

// Every hidden entry under folder (lock files, staging folders, temporaries), as paths relative
// to it: once a run is over there must be none.
std::vector<std::string> HiddenEntriesUnder(const std::filesystem::path& folder) {
  std::vector<std::string> hidden;
  std::error_code ec;
  for (auto it = std::filesystem::recursive_directory_iterator(folder, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    // What the album keeps inside itself (its list of thumbnails) is the album's, not a leftover.
    if (it.depth() == 0 && it->path().filename() == "PhotoAlbum") {
      it.disable_recursion_pending();
    } else if (it->path().filename().native().starts_with(".")) {
      hidden.push_back(std::filesystem::relative(it->path(), folder).string());
    }
  }
  return hidden;
}

// A tmpfs mounted for the test's duration; Mount is false without root.
class Tmpfs {
public:
  ~Tmpfs() {
    if (!path_.empty()) {
      ::umount2(path_.c_str(), MNT_DETACH);
    }
  }
  bool Mount(const std::filesystem::path& path, unsigned long flags, const char* options) {
    if (::geteuid() != 0 || ::mount("tmpfs", path.c_str(), "tmpfs", flags, options) != 0) {
      return false;
    }
    path_ = path;
    return true;
  }

private:
  std::filesystem::path path_;
};

pid_t StartImport(const std::filesystem::path& source, const std::filesystem::path& output) {
  const std::string cli = std::string(LUMICRATE_BINARY_DIR) + "/lumicrate-cli";
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::freopen("/dev/null", "w", stdout);
    ::execl(cli.c_str(), cli.c_str(), "import", source.c_str(), "--output", output.c_str(), nullptr);
    ::_exit(127);
  }
  return pid;
}

int Wait(pid_t pid) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  return status;
}

TEST_F(ReliabilityTest, RunKilledAtRandomMomentsEndsWithEveryFileOnceWhenRunAgain) {
  std::mt19937 random(20150621);
  std::set<std::string> contents;
  for (int i = 0; i < 24; ++i) {
    const auto path = dir / "card" / ("DCIM/MVI_" + std::to_string(i) + ".MOV");
    std::filesystem::create_directories(path.parent_path());
    const std::string bytes = RandomBytes(200000 + random() % 1500000, random);
    test::WriteBytes(path, bytes);
    contents.insert(bytes);
    test::SetModified(path, 2015, 6, 1 + i % 4);
  }
  // How long a whole run takes, so that kills land anywhere inside one.
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(Wait(StartImport(dir / "card", dir / "timing")), 0);
  const auto whole = std::chrono::steady_clock::now() - start;

  const auto output = dir / "out";
  for (int kill = 0; kill < 12; ++kill) {
    const pid_t pid = StartImport(dir / "card", output);
    std::this_thread::sleep_for(whole * (random() % 1000) / 1000);
    ::kill(pid, SIGKILL);
    Wait(pid);
  }
  ASSERT_EQ(Wait(StartImport(dir / "card", output)), 0);

  bool temporaryLeft = false;
  const auto counts = ContentCounts(output, temporaryLeft);
  EXPECT_FALSE(temporaryLeft);
  EXPECT_EQ(HiddenEntriesUnder(output), std::vector<std::string>{}) << "nothing but media is left";
  EXPECT_EQ(counts.size(), contents.size()) << "every file, and nothing partial";
  for (const auto& [bytes, count] : counts) {
    EXPECT_TRUE(contents.contains(bytes)) << "a partial or foreign file of " << bytes.size() << " bytes";
    EXPECT_EQ(count, 1);
  }
}

TEST_F(ReliabilityTest, LeftoversOfAKilledRunGoWithTheNextRunWhateverItDoes) {
  test::MakePhoto(dir / "card" / "IMG_0001.JPG", "2015:06:21 10:00:00", 1);
  const auto output = dir / "out";
  // What a run killed mid-copy leaves: its lock file and a staged copy that never got its name.
  const auto leave = [&] {
    std::filesystem::create_directories(output / ".lumicrate-staging");
    test::WriteBytes(output / ".lumicrate-import.lock", "");
    test::WriteBytes(output / ".lumicrate-staging" / ".lumicrate-a1B2c3.tmp", "half a photo");
  };
  leave();
  test::RecordingProgress progress;
  ASSERT_EQ(FolderImportRun(context, progress, dir / "card", output), S_OK);
  EXPECT_EQ(HiddenEntriesUnder(output), std::vector<std::string>{}) << "an import of any date clears them";

  // An import that copies nothing (everything already there) clears them too, as does an album.
  leave();
  ASSERT_EQ(FolderImportRun(context, progress, dir / "card", output), S_OK);
  EXPECT_EQ(HiddenEntriesUnder(output), std::vector<std::string>{});
  leave();
  AlbumOptions album = MakeAlbumOptions(nullptr, output);
  album.TemplateFolder = std::filesystem::path(LUMICRATE_SOURCE_DIR) / "Template" / "0001";
  ASSERT_EQ(BuildAlbum(album), S_OK);
  EXPECT_EQ(test::FilesUnder(output).size(), 1u + test::FilesUnder(output / "PhotoAlbum").size());
  EXPECT_EQ(HiddenEntriesUnder(output), std::vector<std::string>{}) << "the album run clears them";
}

TEST_F(ReliabilityTest, ASourceThatShrinksDuringItsCopyIsAFailedCopy) {
  // A large sparse file, cut down by another program while the run copies it: from a card on
  // the output's own file system (copied by copy_file_range) and from one on a file system of
  // its own, as a real card is (copied by sendfile).
  for (const bool otherFileSystem : {false, true}) {
    SCOPED_TRACE(otherFileSystem ? "card on another file system" : "card on the output's file system");
    const auto card = dir / (otherFileSystem ? "other-card" : "card");
    std::filesystem::create_directories(card);
    Tmpfs tmpfs;
    if (otherFileSystem && !tmpfs.Mount(card, 0, "size=2g")) {
      std::printf("skipped: a card on a file system of its own needs root to mount a tmpfs\n");
      continue;
    }
    const auto movie = card / "MVI_0001.MOV";
    test::WriteBytes(movie, "movie");
    std::filesystem::resize_file(movie, std::uintmax_t{1} << 30);
    test::SetModified(movie, 2015, 6, 21);
    const auto output = dir / (otherFileSystem ? "other-out" : "out");
    std::atomic<bool> stop = false;
    std::thread cutter([&] {
      // As soon as the staged copy has some of the data, the source is cut to a tenth.
      while (!stop) {
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(output / ".lumicrate-staging", ec)) {
          if (entry.file_size(ec) > 0) {
            std::filesystem::resize_file(movie, std::uintmax_t{100} << 20);
            return;
          }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
      }
    });
    test::RecordingProgress progress;
    ImportReport report;
    const std::string logBefore = LogText();
    const HRESULT hr = FolderImportRun(context, progress, card, output, &report);
    stop = true;
    cutter.join();
    EXPECT_EQ(hr, HResultFromErrno(EIO));
    EXPECT_EQ(report.copiedFiles, 0);
    const std::string log = LogText().substr(logBefore.size());
    EXPECT_NE(log.find(" : ファイルのコピーに失敗しました。 0x8007001f\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find(" : コピー元 = " + movie.string() + "\r\n"), std::string::npos) << log;
    EXPECT_EQ(test::FilesUnder(output), std::vector<std::string>{}) << "nothing partial under a final name";
    EXPECT_EQ(HiddenEntriesUnder(output), std::vector<std::string>{});
  }
}

TEST_F(ReliabilityTest, FullOutputDiskEndsTheRunAndKeepsWhatWasCopied) {
  const auto disk = dir / "disk";
  std::filesystem::create_directories(disk);
  Tmpfs tmpfs;
  if (!tmpfs.Mount(disk, 0, "size=2m")) {
    GTEST_SKIP() << "mounting a small tmpfs needs root";
  }

  std::mt19937 random(112);
  std::map<std::string, std::string> sources; // path -> bytes
  for (int i = 0; i < 6; ++i) {
    const auto path = dir / "card" / ("MVI_" + std::to_string(i) + ".MOV");
    std::filesystem::create_directories(path.parent_path());
    sources[path.string()] = RandomBytes(600 * 1024, random);
    test::WriteBytes(path, sources[path.string()]);
  }
  test::RecordingProgress progress;
  ImportReport report;
  const std::string logBefore = LogText();
  EXPECT_EQ(FolderImportRun(context, progress, dir / "card", disk, &report), HResultFromWin32(112));
  const std::string log = LogText().substr(logBefore.size());
  EXPECT_NE(log.find(" : ファイルのコピーに失敗しました。 0x80070070\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find(" : コピー元 = " + report.failedSource.string() + "\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find(" : コピー先 = " + report.failedDestination.string() + "\r\n"), std::string::npos) << log;
  EXPECT_EQ(log.find("コピーファイルの数"), std::string::npos);

  EXPECT_GT(report.copiedFiles, 0);
  EXPECT_LT(report.copiedFiles, 6);
  const auto files = test::FilesUnder(disk);
  EXPECT_EQ(files.size(), static_cast<size_t>(report.copiedFiles)) << "no partial or temporary file";
  for (const auto& file : files) {
    const std::string copied = test::ReadBytes(disk / file);
    EXPECT_EQ(copied, sources[(dir / "card" / std::filesystem::path(file).filename()).string()]) << file;
  }
}

TEST_F(ReliabilityTest, ADateFolderOnAnotherDiskStillGetsItsFiles) {
  const auto output = dir / "out";
  const auto month = output / "2015-06";
  std::filesystem::create_directories(month);
  Tmpfs tmpfs;
  if (!tmpfs.Mount(month, 0, "size=1m")) {
    GTEST_SKIP() << "mounting a tmpfs as a date folder needs root";
  }
  context.OutputFormatType = 3;
  test::MakePhoto(dir / "card" / "IMG_0001.JPG", "2015:06:21 10:00:00", 1);
  test::MakePhoto(dir / "card" / "IMG_0002.JPG", "2015:07:21 10:00:00", 2);
  test::RecordingProgress progress;
  ASSERT_EQ(FolderImportRun(context, progress, dir / "card", output), S_OK);
  EXPECT_EQ(test::FilesUnder(output), (std::vector<std::string>{"2015-06/IMG_0001.JPG", "2015-07/IMG_0002.JPG"}));
  EXPECT_EQ(test::ReadBytes(month / "IMG_0001.JPG"), test::ReadBytes(dir / "card" / "IMG_0001.JPG"));
  EXPECT_EQ(HiddenEntriesUnder(output), std::vector<std::string>{});
}

TEST_F(ReliabilityTest, ReadOnlyOutputDiskFailsWithItsOwnReason) {
  const auto disk = dir / "readonly";
  std::filesystem::create_directories(disk);
  Tmpfs tmpfs;
  if (!tmpfs.Mount(disk, MS_RDONLY, "size=1m")) {
    GTEST_SKIP() << "mounting a read-only tmpfs needs root";
  }
  test::MakePhoto(dir / "card" / "a.jpg", "2015:06:21 10:00:00", 1);

  test::RecordingProgress progress;
  const std::string logBefore = LogText();
  EXPECT_EQ(FolderImportRun(context, progress, dir / "card", disk, nullptr), HResultFromErrno(EROFS));
  EXPECT_NE(LogText().substr(logBefore.size()).find(" : ファイルのコピーに失敗しました。 0x80070013\r\n"),
            std::string::npos);
}

TEST_F(ReliabilityTest, HostileSourceImportsWithoutACrash) {
  const auto card = dir / "card";
  std::filesystem::create_directories(card);
  test::MakePhoto(card / "good.jpg", "2015:06:21 10:00:00", 1);
  test::MakePhoto(card / "truncated.jpg", "2015:06:21 10:00:00", 2);
  std::filesystem::resize_file(card / "truncated.jpg", 100);
  test::WriteBytes(card / "corrupt.jpg", std::string("\xFF\xD8\xFF\xE1\x00\x10"
                                                     "Exif\0\0II*\0\xFF\xFF\xFF\x7F",
                                                     20) +
                                             std::string(64, '\xFF'));
  test::WriteBytes(card / "header-only.JPG", "\xFF\xD8\xFF");
  test::WriteBytes(card / "empty1.jpg", "");
  test::WriteBytes(card / "empty2.mov", "");
  test::MakePhoto(card / "it's \"quoted\".jpg", "2015:06:22 10:00:00", 3);
  test::MakePhoto(card / "new\nline.jpg", "2015:06:22 10:00:00", 4);
  test::MakePhoto(card / "bad-\xFF\xFE-utf8.jpg", "2015:06:22 10:00:00", 5);
  std::filesystem::create_directory_symlink(card, card / "loop");
  std::filesystem::create_symlink("self.jpg", card / "self.jpg");
  std::filesystem::path deep = card;
  for (int level = 0; level < 50; ++level) {
    deep /= "d" + std::to_string(level);
  }
  test::MakePhoto(deep / "bottom.jpg", "2015:06:23 10:00:00", 6);

  test::RecordingProgress progress;
  ImportReport report;
  ASSERT_EQ(FolderImportRun(context, progress, card, dir / "out", &report), S_OK);
  // Ten files, the self-referencing link being none; the two empty ones share a date folder
  // when their times fall on one day, and are then one content.
  EXPECT_EQ(report.inputFiles, 10);
  EXPECT_EQ(report.copiedFiles + report.duplicates, 10);
  bool temporaryLeft = false;
  const auto counts = ContentCounts(dir / "out", temporaryLeft);
  EXPECT_FALSE(temporaryLeft);
  for (const char* name : {"good.jpg", "it's \"quoted\".jpg", "new\nline.jpg", "bad-\xFF\xFE-utf8.jpg"}) {
    EXPECT_EQ(counts.count(test::ReadBytes(card / name)), 1u) << name;
  }
  EXPECT_EQ(counts.count(test::ReadBytes(deep / "bottom.jpg")), 1u);
}

} // namespace
} // namespace lumicrate
