// Start-up on a fresh account and on a second start: folders, files and log lines in order.
#include <gtest/gtest.h>

#include "app/ActivityLog.h"
#include "app/AppContext.h"
#include "app/Inifile_CL.h"
#include "app/Startup.h"
#include "support/TestSupport.h"

namespace lumicrate {
namespace {

class StartupTest : public test::ScratchHomeTest {
protected:
  void SetUp() override {
    test::ScratchHomeTest::SetUp();
    // Start from nothing: the data folder is start-up's to create.
    std::filesystem::remove_all(DataFolder());
  }
};

TEST_F(StartupTest, FirstStartCreatesFoldersSettingsAndLogsInOrder) {
  const StartupResult result = StartUp();
  ASSERT_TRUE(result.firstInstance);
  EXPECT_EQ(result.dataFolder, DataFolder());
  EXPECT_TRUE(std::filesystem::is_directory(DataFolder() / "tmp"));
  EXPECT_EQ(Context().TempFolder, DataFolder() / "tmp");

  const std::string log = test::ReadUtf16File(DataFolder() / "log.txt");
  const size_t created = log.find(" : Inifile新規作成 = " + (DataFolder() / "Lumicrate.ini").string() + "\r\n");
  const size_t banner = log.find(" : \r\n★★★★★ アプリ起動 ★★★★★\r\n");
  const size_t dataPath = log.find(" : DataFolderPath = \"" + DataFolder().string() + "\"\r\n");
  ASSERT_NE(created, std::string::npos) << log;
  ASSERT_NE(banner, std::string::npos) << log;
  ASSERT_NE(dataPath, std::string::npos) << log;
  EXPECT_LT(created, banner);
  EXPECT_LT(banner, dataPath);

  EXPECT_EQ(Settings().GetInt("APP_INFO", "rand_seed", 12345), result.seed);
}

TEST_F(StartupTest, SecondInstanceLogsAndStopsWhileTheFirstRuns) {
  const StartupResult first = StartUp();
  ASSERT_TRUE(first.firstInstance);
  const std::int32_t seed = Settings().GetInt("APP_INFO", "rand_seed", 0);

  const StartupResult second = StartUp();
  EXPECT_FALSE(second.firstInstance);
  EXPECT_NE(test::ReadUtf16File(DataFolder() / "log.txt").find("多重起動チェックで既に起動中でした。"),
            std::string::npos);
  EXPECT_EQ(Settings().GetInt("APP_INFO", "rand_seed", 0), seed) << "a refused instance must not touch the seed";
}

TEST(SeedTest, GrowsByTheTickCountWithSignedWrapAround) {
  EXPECT_EQ(NextSeed(0, 1234), 1234);
  EXPECT_EQ(NextSeed(100, 50), 150);
  EXPECT_EQ(NextSeed(2147483647, 1), -2147483647 - 1);
  EXPECT_EQ(NextSeed(-5, 0xFFFFFFFFu), -6);
}

} // namespace
} // namespace lumicrate
