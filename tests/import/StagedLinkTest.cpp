// Staging by link, as the device run places its temporary files: on the same file system the
// placed file is the source itself, on another one a copy; the placed file is the same either way.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include "import/StagedCopy_CL.h"
#include "support/TestSupport.h"

namespace lumicrate {
namespace {

struct stat Stat(const std::filesystem::path& path) {
  struct stat info {};
  ::stat(path.c_str(), &info);
  return info;
}

TEST(StagedLinkTest, LinksOnTheSameFileSystemAndCopiesOnAnother) {
  test::TempDir dir;
  const auto source = dir / "IMG_0001.JPG";
  test::WriteBytes(source, "photo bytes");
  const timespec times[2] = {{1500000000, 0}, {1500000000, 0}};
  ::utimensat(AT_FDCWD, source.c_str(), times, 0);
  const auto other = dir / "other";
  std::filesystem::create_directories(other);
  const bool mounted = ::geteuid() == 0 && ::mount("tmpfs", other.c_str(), "tmpfs", 0, "size=1m") == 0;
  struct Unmount {
    std::filesystem::path path;
    bool mounted;
    ~Unmount() {
      if (mounted) {
        ::umount2(path.c_str(), MNT_DETACH);
      }
    }
  } unmount{other, mounted};

  struct Case {
    std::filesystem::path folder;
    bool sameFile;
  };
  std::vector<Case> cases{{dir / "same", true}};
  if (mounted) {
    cases.push_back({other / "day", false});
  }
  for (const Case& c : cases) {
    std::filesystem::create_directories(c.folder);
    StagedCopy_CL copy;
    ASSERT_EQ(copy.Stage(source, c.folder, Staging::LinkWhenPossible), S_OK) << c.folder;
    ASSERT_EQ(copy.Place(c.folder / "IMG_0001.JPG"), S_OK);
    const struct stat placed = Stat(c.folder / "IMG_0001.JPG");
    EXPECT_EQ(placed.st_ino == Stat(source).st_ino && placed.st_dev == Stat(source).st_dev, c.sameFile) << c.folder;
    EXPECT_EQ(placed.st_mtim.tv_sec, 1500000000);
    EXPECT_EQ(test::ReadBytes(c.folder / "IMG_0001.JPG"), "photo bytes");
    EXPECT_EQ(test::ReadBytes(source), "photo bytes") << "the source stays where it was";
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(c.folder), {}), 1) << "no temporary left";
  }
  if (!mounted) {
    GTEST_SKIP() << "the copy to another file system needs root to mount a tmpfs";
  }
}

} // namespace
} // namespace lumicrate
