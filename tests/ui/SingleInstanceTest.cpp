// The real program started twice on one account: the second logs that the first is running
// and ends at once with 0, showing nothing; the first goes on undisturbed.
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "app/Inifile_CL.h"
#include "support/TestSupport.h"

namespace lumicrate::test {
namespace {

using namespace std::chrono_literals;

class SingleInstanceTest : public ScratchHomeTest {
protected:
  static pid_t StartProgram() {
    return ForkChild([] { ::execl(LUMICRATE_GUI_EXECUTABLE, LUMICRATE_GUI_EXECUTABLE, nullptr); });
  }
  std::string LogText() const { return ReadUtf16File(DataFolder() / "log.txt"); }
  static size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
      ++count;
    }
    return count;
  }
};

TEST_F(SingleInstanceTest, ASecondInstanceEndsAtOnceAndTheFirstRunsOn) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  Settings().WriteInt("VERSION", "notify", 1);
  const pid_t first = StartProgram();
  // The seed is written once the first instance holds the lock.
  const auto deadline = std::chrono::steady_clock::now() + 20s;
  while (Settings().GetInt("APP_INFO", "rand_seed", 0) == 0 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(20ms);
  }
  ASSERT_NE(Settings().GetInt("APP_INFO", "rand_seed", 0), 0) << LogText();

  const auto started = std::chrono::steady_clock::now();
  const pid_t second = StartProgram();
  EXPECT_EQ(WaitChild(second), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);

  const std::string log = LogText();
  EXPECT_EQ(Count(log, "★★★★★ アプリ起動 ★★★★★"), 2u) << log;
  EXPECT_EQ(Count(log, "DataFolderPath = "), 2u) << log;
  EXPECT_EQ(Count(log, "多重起動チェックで既に起動中でした。"), 1u) << log;
  EXPECT_LT(log.rfind("DataFolderPath = "), log.find("多重起動チェックで既に起動中でした。"));

  int status = 0;
  EXPECT_EQ(::waitpid(first, &status, WNOHANG), 0) << "the first instance still runs";
  ::kill(first, SIGTERM);
  WaitChild(first);
}

} // namespace
} // namespace lumicrate::test
