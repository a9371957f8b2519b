// The single-instance lock: refused while another process holds it, free once that process is
// gone however it ended.
#include <gtest/gtest.h>

#include <csignal>
#include <unistd.h>

#include "platform/InstanceLock.h"
#include "support/TestSupport.h"

namespace lumicrate {
namespace {

class InstanceLockTest : public test::ScratchHomeTest {};

TEST_F(InstanceLockTest, ReleasedWhenTheHoldingProcessEnds) {
  const std::filesystem::path lockFile =
      InstanceLock::LockFolder(DataFolder()) / InstanceLock::LockFileName("https://lumicrate.example/Lumicrate");
  EXPECT_EQ(lockFile.parent_path(), Home()) << "XDG_RUNTIME_DIR holds the lock";
  EXPECT_EQ(lockFile.filename(), "https___lumicrate.example_Lumicrate.lock");

  for (const bool killed : {false, true}) {
    SCOPED_TRACE(killed ? "killed" : "exited");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    test::StartGate release;
    const pid_t holder = test::ForkChild([&] {
      InstanceLock lock;
      const char held = lock.TryAcquire(lockFile) ? 'y' : 'n';
      (void)!::write(ready[1], &held, 1);
      release.Wait();
      if (killed) {
        ::pause();
      }
    });
    ::close(ready[1]);
    char held = 0;
    ASSERT_EQ(::read(ready[0], &held, 1), 1);
    ::close(ready[0]);
    EXPECT_EQ(held, 'y');

    EXPECT_FALSE(InstanceLock().TryAcquire(lockFile)) << "a second instance while the first runs";
    if (killed) {
      ::kill(holder, SIGKILL);
    }
    release.Open();
    test::WaitChild(holder);
    EXPECT_TRUE(InstanceLock().TryAcquire(lockFile)) << "free as soon as the first has gone";
  }
}

TEST_F(InstanceLockTest, WithoutARuntimeFolderTheLockLivesInTheFallback) {
  ::unsetenv("XDG_RUNTIME_DIR");
  EXPECT_EQ(InstanceLock::LockFolder(DataFolder()), DataFolder());
  ::setenv("XDG_RUNTIME_DIR", "relative/folder", 1);
  EXPECT_EQ(InstanceLock::LockFolder(DataFolder()), DataFolder());
}

} // namespace
} // namespace lumicrate
