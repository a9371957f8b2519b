// The activity log's file format, its size rule, its message limit, and whole entries from
// several threads and processes writing at once.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <thread>
#include <unistd.h>

#include "app/ActivityLog.h"
#include "platform/Utf.h"
#include "support/TestSupport.h"

namespace lumicrate {
namespace {

const std::regex kPrefix(R"(\d{4}/\d{2}/\d{2} \d{2}:\d{2}:\d{2}\.\d{3} : )");
constexpr size_t kPrefixUnits = 26;

class ActivityLogTest : public test::ScratchHomeTest {
protected:
  void SetUp() override {
    test::ScratchHomeTest::SetUp();
    // The scratch home's settings file logged its creation; start from no log at all.
    std::filesystem::remove(LogPath());
  }

  std::filesystem::path LogPath() const { return DataFolder() / "log.txt"; }

  // The entries of the log as UTF-16 lines; the file must start with the one byte-order mark.
  std::vector<std::u16string> Lines() const {
    const std::string bytes = test::ReadBytes(LogPath());
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(bytes.size() % 2, 0u);
    std::u16string text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
      text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                           (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    }
    EXPECT_EQ(text.find(u'\xFEFF'), std::u16string::npos) << "a second byte-order mark";
    EXPECT_TRUE(text.size() >= 2 && text.substr(text.size() - 2) == u"\r\n");
    std::vector<std::u16string> lines;
    for (size_t start = 0, end; (end = text.find(u"\r\n", start)) != std::u16string::npos; start = end + 2) {
      lines.push_back(text.substr(start, end - start));
    }
    return lines;
  }
};

TEST_F(ActivityLogTest, FirstEntryStartsTheFileWithTheMarkAndTheBannerStandsOnItsOwnLine) {
  Log().Write("Inifile新規作成 = %s", "/home/u/Lumicrate.ini");
  Log().Write("\r\n★★★★★ アプリ起動 ★★★★★");
  Log().Write("code 0x%08x, %d files", 0x80070005u, -3);

  const std::vector<std::u16string> lines = Lines();
  ASSERT_EQ(lines.size(), 4u);
  for (const size_t i : {0, 1, 3}) {
    ASSERT_GE(lines[i].size(), kPrefixUnits);
    EXPECT_TRUE(std::regex_match(Utf16ToUtf8(lines[i].substr(0, kPrefixUnits)), kPrefix)) << Utf16ToUtf8(lines[i]);
  }
  EXPECT_EQ(lines[0].substr(kPrefixUnits), u"Inifile新規作成 = /home/u/Lumicrate.ini");
  EXPECT_EQ(lines[1].size(), kPrefixUnits) << "the banner's own line break leaves the prefix alone";
  EXPECT_EQ(lines[2], u"★★★★★ アプリ起動 ★★★★★");
  EXPECT_EQ(lines[3].substr(kPrefixUnits), u"code 0x80070005, -3 files");
}

TEST_F(ActivityLogTest, AFileLargerThan32MiBIsEmptiedByTheNextEntry) {
  const struct {
    std::uintmax_t size;
    bool emptied;
  } cases[] = {{33554432, false}, {33554433, true}};
  for (const auto& c : cases) {
    test::WriteBytes(LogPath(), "\xFF\xFE");
    std::filesystem::resize_file(LogPath(), c.size);
    Log().Write("after %ju bytes", c.size);
    const std::uintmax_t entryBytes = 2 * (kPrefixUnits + std::string("after 3355443x bytes").size() + 2);
    if (c.emptied) {
      EXPECT_EQ(std::filesystem::file_size(LogPath()), 2 + entryBytes);
      EXPECT_EQ(Lines().size(), 1u);
    } else {
      EXPECT_EQ(std::filesystem::file_size(LogPath()), c.size + entryBytes);
    }
  }
}

TEST_F(ActivityLogTest, LongMessagesAreCutAtTheLimit) {
  const std::string ascii(5000, 'x');
  // An emoji is two UTF-16 units; one straddling the limit must not be split in half.
  const std::string pairs = std::string(ActivityLog::kMaxMessageUnits - 1, 'y') + "😀😀";
  Log().Write("%s", ascii.c_str());
  Log().WriteText(pairs);
  Log().Write("%s%s%s", ascii.c_str(), ascii.c_str(), ascii.c_str());

  const std::vector<std::u16string> lines = Lines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].substr(kPrefixUnits), std::u16string(ActivityLog::kMaxMessageUnits, u'x'));
  EXPECT_EQ(lines[1].substr(kPrefixUnits), std::u16string(ActivityLog::kMaxMessageUnits - 1, u'y'));
  EXPECT_EQ(lines[2].size(), kPrefixUnits + ActivityLog::kMaxMessageUnits);
}

TEST_F(ActivityLogTest, WithoutAPathOrFolderTheEntryIsDropped) {
  ActivityLog log;
  log.Write("nowhere");
  log.SetPath(Home() / "missing-folder" / "log.txt");
  log.Write("nowhere either");
  EXPECT_FALSE(std::filesystem::exists(Home() / "missing-folder"));
}

TEST_F(ActivityLogTest, ThreadsAndProcessesWritingAtOnceLeaveWholeEntries) {
  constexpr int kEntries = 10000;
  test::StartGate gate;
  const auto writeAll = [&](const std::string& writer) {
    gate.Wait();
    for (int i = 0; i < kEntries; ++i) {
      Log().Write("%s %d", writer.c_str(), i);
    }
  };
  std::vector<pid_t> processes;
  for (const char* writer : {"process-1", "process-2"}) {
    processes.push_back(test::ForkChild([&] { writeAll(writer); }));
  }
  std::vector<std::thread> threads;
  for (const char* writer : {"thread-1", "thread-2"}) {
    threads.emplace_back(writeAll, writer);
  }
  gate.Open();
  for (std::thread& thread : threads) {
    thread.join();
  }
  for (const pid_t pid : processes) {
    EXPECT_EQ(test::WaitChild(pid), 0);
  }

  // Every entry is whole, and each writer's entries come in the order it wrote them.
  std::map<std::string, int> next;
  const std::regex entry(R"((process|thread)-\d \d+)");
  for (const std::u16string& line : Lines()) {
    const std::string message = Utf16ToUtf8(line.substr(kPrefixUnits));
    ASSERT_TRUE(std::regex_match(Utf16ToUtf8(line.substr(0, kPrefixUnits)), kPrefix)) << Utf16ToUtf8(line);
    ASSERT_TRUE(std::regex_match(message, entry)) << message;
    const std::string writer = message.substr(0, message.find(' '));
    EXPECT_EQ(std::stoi(message.substr(message.find(' ') + 1)), next[writer]++) << writer;
  }
  EXPECT_EQ(next.size(), 4u);
  for (const auto& [writer, count] : next) {
    EXPECT_EQ(count, kEntries) << writer;
  }
}

} // namespace
} // namespace lumicrate
