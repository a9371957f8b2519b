// The settings file shared by processes: the desktop program and the command-line tool write at
// once, and a writer may be killed at any moment.
#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <unistd.h>

#include "app/IniDocument.h"
#include "app/Inifile_CL.h"
#include "platform/Utf.h"
#include "support/TestSupport.h"

namespace lumicrate {
namespace {

class Inifile_CLProcessTest : public test::ScratchHomeTest {
protected:
  std::filesystem::path IniPath() const { return DataFolder() / "Lumicrate.ini"; }
};

TEST_F(Inifile_CLProcessTest, TwoProcessesWritingAtOnceLoseNoKey) {
  constexpr int kWrites = 1000;
  test::StartGate gate;
  std::vector<pid_t> writers;
  for (const char* prefix : {"a", "b"}) {
    writers.push_back(test::ForkChild([&] {
      gate.Wait();
      for (int i = 0; i < kWrites; ++i) {
        Settings().WriteInt("RACE", prefix + std::to_string(i), i);
      }
    }));
  }
  gate.Open();
  for (const pid_t pid : writers) {
    EXPECT_EQ(test::WaitChild(pid), 0);
  }
  const auto keys = Settings().GetSection("RACE");
  EXPECT_EQ(keys.size(), 2u * kWrites);
  for (const char* prefix : {"a", "b"}) {
    for (int i = 0; i < kWrites; ++i) {
      const auto found = keys.find(prefix + std::to_string(i));
      ASSERT_NE(found, keys.end()) << prefix << i;
      EXPECT_EQ(found->second, std::to_string(i));
    }
  }
}

TEST_F(Inifile_CLProcessTest, AWriterKilledMidWriteLeavesTheOldOrTheNewFile) {
  // Large values make each write long enough for the kill to land inside one.
  const std::string big(512 * 1024, 'v');
  std::mt19937 random(7);
  for (int round = 0; round < 12; ++round) {
    SCOPED_TRACE(round);
    const pid_t writer = test::ForkChild([&] {
      for (int i = 0;; ++i) {
        Settings().WriteString("KILL", "k" + std::to_string(i % 3), big + std::to_string(i));
      }
    });
    ::usleep(static_cast<useconds_t>(5000 + random() % 40000));
    ::kill(writer, SIGKILL);
    EXPECT_EQ(test::WaitChild(writer), -SIGKILL);

    // Whatever the moment, the file is one that a finished write left: each value is whole.
    const std::string bytes = test::ReadBytes(IniPath());
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(bytes.size() % 2, 0u);
    const IniDocument doc = IniDocument::Parse(bytes);
    const auto entries = doc.Entries(u"KILL");
    for (const auto& [key, value] : entries) {
      const std::string text = Utf16ToUtf8(value);
      ASSERT_GT(text.size(), big.size()) << "a torn value";
      EXPECT_EQ(text.compare(0, big.size(), big), 0);
      EXPECT_EQ(text.find_first_not_of("0123456789", big.size()), std::string::npos);
    }
    if (!entries.empty()) {
      EXPECT_EQ(bytes.substr(bytes.size() - 4), std::string("\r\0\n\0", 4));
    }
  }

  // The next write works and sweeps away what the killed writers left half-made.
  Settings().WriteInt("APP_INFO", "rand_seed", 1);
  EXPECT_EQ(Settings().GetInt("APP_INFO", "rand_seed", 0), 1);
  for (const auto& entry : std::filesystem::directory_iterator(DataFolder())) {
    EXPECT_EQ(entry.path().filename().string().find(".new-"), std::string::npos) << entry.path();
  }
}

} // namespace
} // namespace lumicrate
