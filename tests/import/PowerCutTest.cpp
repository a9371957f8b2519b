// An output disk cut off mid-run the way a power cut or a pulled USB disk cuts it: ext4 shut
// down without flushing its journal, then mounted again and the import run again.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <random>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "ImportFixtures.h"

namespace lumicrate {
namespace {

// From the kernel's ext4 header, which Debian does not install.
constexpr unsigned long kExt4IocShutdown = _IOR('X', 125, std::uint32_t);
constexpr std::uint32_t kGoingFlagsNoLogFlush = 0x2;

class PowerCutTest : public test::ImportTest {
protected:
  void SetUp() override {
    ImportTest::SetUp();
    if (::geteuid() != 0) {
      GTEST_SKIP() << "loop-mounting an ext4 image and shutting it down needs root";
    }
    image = dir / "disk.img";
    mountPoint = dir / "disk";
    std::filesystem::create_directories(mountPoint);
  }
  void TearDown() override {
    Unmount();
    ImportTest::TearDown();
  }

  // A fresh file system, committing its journal every second as the disk did.
  bool MakeDisk() {
    Unmount();
    std::filesystem::remove(image);
    return Shell("truncate -s 96M '" + image.string() + "' && mkfs.ext4 -q -F '" + image.string() + "'") && Mount();
  }
  bool Mount() {
    mounted = Shell("mount -o loop,commit=1 '" + image.string() + "' '" + mountPoint.string() + "'");
    return mounted;
  }
  void Unmount() {
    if (mounted) {
      Shell("umount '" + mountPoint.string() + "'");
      mounted = false;
    }
  }
  // What a power cut does: everything not yet in the journal on disk is gone.
  void CutPower() {
    const int fd = ::open(mountPoint.c_str(), O_RDONLY | O_DIRECTORY);
    std::uint32_t flags = kGoingFlagsNoLogFlush;
    ASSERT_EQ(::ioctl(fd, kExt4IocShutdown, &flags), 0) << std::strerror(errno);
    ::close(fd);
  }

  static bool Shell(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

  pid_t StartImport() const {
    const std::string cli = std::string(LUMICRATE_BINARY_DIR) + "/lumicrate-cli";
    const std::string output = (mountPoint / "Photos").string();
    const std::string card = (dir / "card").string();
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::freopen("/dev/null", "w", stdout);
      ::freopen("/dev/null", "w", stderr);
      ::execl(cli.c_str(), cli.c_str(), "import", card.c_str(), "--output", output.c_str(), nullptr);
      ::_exit(127);
    }
    return pid;
  }

  static int Wait(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::filesystem::path image;
  std::filesystem::path mountPoint;
  bool mounted = false;
};

TEST_F(PowerCutTest, EveryPhotoIsWholeAndThereOnceAfterACutAndARerun) {
  std::mt19937 random(20151021);
  std::map<std::string, std::string> sources; // bytes -> name
  for (int i = 0; i < 300; ++i) {
    std::string bytes(60000 + random() % 60000, '\0');
    for (char& c : bytes) {
      c = static_cast<char>(random());
    }
    const std::string name = "IMG_" + std::to_string(1000 + i) + ".JPG";
    const auto path = dir / "card" / "DCIM" / name;
    std::filesystem::create_directories(path.parent_path());
    test::WriteBytes(path, bytes);
    test::SetModified(path, 2015, 10, 1 + i % 12);
    sources[bytes] = name;
  }

  // How long a whole run takes, so that the cuts fall across one.
  ASSERT_TRUE(MakeDisk()) << "mkfs.ext4 and a loop mount are needed";
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(Wait(StartImport()), 0);
  const auto whole = std::chrono::steady_clock::now() - start;

  for (const double moment : {0.15, 0.4, 0.65, 0.9}) {
    SCOPED_TRACE(moment);
    ASSERT_TRUE(MakeDisk());
    const pid_t pid = StartImport();
    // The journal commits every second on its own; a run of a fraction of a second sees the same
    // when other writes on the disk make it commit more often, as this small file's flushes do.
    std::atomic<bool> cut = false;
    std::thread commits([&] {
      const int fd = ::open((mountPoint / "other-program.txt").c_str(), O_WRONLY | O_CREAT, 0644);
      while (!cut) {
        ::pwrite(fd, "x", 1, 0);
        ::fsync(fd);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
      ::close(fd);
    });
    std::this_thread::sleep_for(std::chrono::duration_cast<std::chrono::microseconds>(whole * moment));
    CutPower();
    cut = true;
    commits.join();
    ::kill(pid, SIGKILL);
    Wait(pid);
    Unmount();
    ASSERT_TRUE(Mount()) << "the journal replays";
    ASSERT_EQ(Wait(StartImport()), 0) << "the rerun completes";

    std::map<std::string, int> seen;
    for (const auto& file : test::FilesUnder(mountPoint / "Photos")) {
      const std::string bytes = test::ReadBytes(mountPoint / "Photos" / file);
      const auto it = sources.find(bytes);
      ASSERT_NE(it, sources.end()) << file << " (" << bytes.size() << " bytes) matches no photo";
      EXPECT_EQ(std::filesystem::path(file).filename(), it->second) << "no (n) copy";
      ++seen[bytes];
    }
    EXPECT_EQ(seen.size(), sources.size()) << "every photo";
    for (const auto& [bytes, count] : seen) {
      EXPECT_EQ(count, 1) << sources[bytes];
    }
  }
}

} // namespace
} // namespace lumicrate
