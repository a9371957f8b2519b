// The settings file against files that Windows wrote and reads: every value read back, the exact
// bytes of our writes, hand-written files, and input that must neither crash nor be damaged.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "app/Inifile_CL.h"
#include "platform/Utf.h"
#include "support/TestSupport.h"

namespace lumicrate {
namespace {

// UTF-16LE with the byte-order mark, as the profile functions keep a file that starts with one.
std::string Utf16File(std::string_view text) {
  return "\xFF\xFE" + test::Utf16LeBytes(Utf8ToUtf16(text));
}

class Inifile_CLTest : public test::ScratchHomeTest {
protected:
  std::filesystem::path IniPath() const { return DataFolder() / "Lumicrate.ini"; }
  std::string Bytes() const { return test::ReadBytes(IniPath()); }
};

TEST_F(Inifile_CLTest, ReadsEveryValueOfAFileWindowsWrote) {
  std::filesystem::copy_file(LUMICRATE_TEST_DATA "/windows-profile.ini", IniPath(),
                             std::filesystem::copy_options::overwrite_existing);
  struct Value {
    const char* section;
    const char* key;
    const char* text;
  };
  const Value values[] = {
      {"APP_INFO", "rand_seed", "-1933512345"},
      {"app_info", "OUTPUTFOLDER", "D:\\写真\\取り込み"},
      {"APP_INFO", "OutputFormatType", "13"},
      {"APP_INFO", "arrnge_photo", "1"},
      {"APP_INFO", "arrnge_movie", "0"},
      {"APP_INFO", "arrnge_sound", "1"},
      {"VERSION", "notify", "1"},    // "  Notify = 1  " under "[version]"
      {"VERSION", "last_day", "21"}, // "LAST_DAY=21"
      {"Version", "force", "2"},     // force= "2" : blanks and quotes go
      {"COMPARE_EXT_INFO_PIC", "count", "3"},
      {"COMPARE_EXT_INFO_PIC", "item0", "1|.arw"},
      {"compare_ext_info_pic", "ITEM1", "0|.jpg"},
      {"COMPARE_EXT_INFO_PIC", "item2", "1|.heic"},
      {"COMPARE_EXT_INFO", "count", "1"}, // under "[ COMPARE_EXT_INFO ]", after a blank line
      {"COMPARE_EXT_INFO", "item0", "1|.MTS"},
  };
  for (const Value& v : values) {
    EXPECT_EQ(Settings().GetString(v.section, v.key, "missing"), v.text) << v.section << "/" << v.key;
  }
  EXPECT_EQ(Settings().GetInt("APP_INFO", "rand_seed", 0), -1933512345);
  EXPECT_EQ(Settings().GetInt("APP_INFO", "OutputFormatType", 3), 13);
  EXPECT_EQ(Settings().GetInt("VERSION", "force", 0), 2);
  EXPECT_EQ(Settings().GetInt("APP_INFO", "absent", 7), 7);
  EXPECT_EQ(Settings().GetString("NO_SUCH_SECTION", "rand_seed", "fallback"), "fallback");

  std::int32_t rect[4] = {};
  ASSERT_TRUE(Settings().GetStruct("Window", "WindowRect", rect, sizeof rect));
  EXPECT_EQ(rect[0], -1920);
  EXPECT_EQ(rect[1], 100);
  EXPECT_EQ(rect[2], -200);
  EXPECT_EQ(rect[3], 1000);
  EXPECT_FALSE(Settings().GetStruct("Window", "WindowRect", rect, 15)) << "a structure of another size";
}

TEST_F(Inifile_CLTest, IntegersReadAsGetPrivateProfileIntReadsThem) {
  const struct {
    const char* stored;
    std::int32_t read;
  } cases[] = {
      {"-1", -1},          {"+1", 1},          {"4294967296", 0}, {"4294967297", 1}, {"-4294967297", -1},
      {"42A94967297", 42}, {"B4294967297", 0}, {"0x10", 0},       {"", 99},          {"2147483648", -2147483647 - 1},
  };
  for (const auto& c : cases) {
    Settings().WriteString("S", "k", c.stored);
    EXPECT_EQ(Settings().GetInt("S", "k", 99), c.read) << c.stored;
  }
}

TEST_F(Inifile_CLTest, StructureNeedsTheExactLengthAndChecksum) {
  const struct {
    const char* stored;
    bool accepted;
  } cases[] = {
      {"010203040A", true},   // 1 + 2 + 3 + 4 = 0x0A
      {"0a0b0c0d2E", true},   // small hexadecimal digits read too
      {"010203040B", false},  // wrong checksum
      {"010203040", false},   // one digit short
      {"010203040A0", false}, // one digit long
      {"0102030Q0A", false},  // not a hexadecimal digit
      {"", false},
  };
  for (const auto& c : cases) {
    Settings().WriteString("S", "k", c.stored);
    std::uint8_t bytes[4] = {};
    EXPECT_EQ(Settings().GetStruct("S", "k", bytes, sizeof bytes), c.accepted) << c.stored;
  }
}

TEST_F(Inifile_CLTest, WritesTheBytesWindowsWrites) {
  EXPECT_EQ(Bytes(), "\xFF\xFE") << "a new settings file is the byte-order mark alone";
  Settings().WriteInt("APP_INFO", "rand_seed", -5);
  Settings().WriteString("APP_INFO", "OutputFolder", "/home/写真");
  const std::int32_t rect[4] = {-1920, 100, -200, 1000};
  Settings().WriteStruct("Window", "WindowRect", rect, sizeof rect);
  Settings().WriteInt("APP_INFO", "OutputFormatType", 13);
  Settings().WriteInt("APP_INFO", "rand_seed", 42);
  Settings().WriteString("VERSION", "notify", "");
  EXPECT_EQ(Bytes(), Utf16File("[APP_INFO]\r\n"
                               "rand_seed=42\r\n"
                               "OutputFolder=/home/写真\r\n"
                               "OutputFormatType=13\r\n"
                               "[Window]\r\n"
                               "WindowRect=80F8FFFF6400000038FFFFFFE8030000FA\r\n"
                               "[VERSION]\r\n"
                               "notify=\r\n"));
}

TEST_F(Inifile_CLTest, EditsAHandWrittenFileKeepingEverythingElse) {
  // UTF-16 with blank lines, a comment, blanks around a key and no line break at the end.
  test::WriteBytes(IniPath(), Utf16File("[A]\r\nx=1\r\n\r\n[B]\r\n; note\r\n Y = 2 \r\nlast"));
  Settings().WriteInt("a", "z", 3); // after the last line of [A], before the blank line
  Settings().WriteInt("B", "y", 5); // the stored spelling stays; no second "y"
  Settings().WriteInt("C", "w", 1); // a new section at the end
  EXPECT_EQ(Bytes(), Utf16File("[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\n; note\r\nY=5\r\nlast\r\n[C]\r\nw=1\r\n"));

  // UTF-8 without a mark, as a person writes it on Linux: read, and written back as UTF-8 with LF.
  const std::string handWritten = "[App_Info]\nrand_seed = 5\n# 手で書いた\n";
  test::WriteBytes(IniPath(), handWritten);
  Settings().SetPath(IniPath());
  EXPECT_EQ(Bytes(), handWritten) << "SetPath leaves an existing file alone";
  EXPECT_EQ(Settings().GetInt("APP_INFO", "rand_seed", 0), 5);
  Settings().WriteInt("APP_INFO", "rand_seed", 6);
  Settings().WriteInt("APP_INFO", "OutputFormatType", 13);
  EXPECT_EQ(Bytes(), "[App_Info]\nrand_seed=6\n# 手で書いた\nOutputFormatType=13\n");

  // UTF-16LE without a mark, as some editors save it: read, and written back the same way.
  test::WriteBytes(IniPath(), test::Utf16LeBytes(Utf8ToUtf16("[APP_INFO]\r\nOutputFolder=/写真\r\n")));
  EXPECT_EQ(Settings().GetString("APP_INFO", "OutputFolder", ""), "/写真");
  Settings().WriteInt("APP_INFO", "rand_seed", 6);
  Settings().WriteInt("VERSION", "notify", 1);
  EXPECT_EQ(Bytes(), test::Utf16LeBytes(Utf8ToUtf16("[APP_INFO]\r\nOutputFolder=/写真\r\nrand_seed=6\r\n"
                                                    "[VERSION]\r\nnotify=1\r\n")));
}

TEST_F(Inifile_CLTest, RefusesWritesThatWouldNotReadBackAsOneKey) {
  Settings().WriteString("APP_INFO", "OutputFolder", "/photos");
  const std::string before = Bytes();
  const struct {
    const char* section;
    const char* key;
    std::string value;
  } writes[] = {
      {"APP_INFO", "OutputFolder", "/tmp/a\n[APP_INFO]\nrand_seed=1"}, // a folder name may hold a line break
      {"APP_INFO", "OutputFolder", "/tmp/a\rb"},
      {"APP_INFO", "OutputFolder", std::string("/tmp/a\0b", 8)},
      {"APP_INFO", "Output=Folder", "x"},
      {"APP_INFO", "[Folder]", "x"},
      {"APP]INFO", "OutputFolder", "x"},
      {"APP_INFO", "", "x"},
      {"", "OutputFolder", "x"},
  };
  for (const auto& w : writes) {
    Settings().WriteString(w.section, w.key, w.value);
    EXPECT_EQ(Bytes(), before) << w.section << "/" << w.key;
  }
  EXPECT_EQ(Settings().GetString("APP_INFO", "OutputFolder", ""), "/photos");
}

TEST_F(Inifile_CLTest, BadFilesNeitherCrashNorGetDamaged) {
  std::mt19937 random(20261206);
  const auto randomBytes = [&](size_t n) {
    std::string bytes(n, '\0');
    for (char& c : bytes) {
      c = static_cast<char>(random());
    }
    return bytes;
  };
  const std::string tenMegabyteLine(10 * 1024 * 1024, 'x');
  const struct {
    const char* name;
    std::string bytes;
    std::int32_t seed;  // rand_seed as read back
    std::string folder; // OutputFolder as read back
    bool written;       // whether a write may change the file
  } files[] = {
      {"empty", "", -1, "-", true},
      {"odd length", Utf16File("[APP_INFO]\r\nrand_seed=7\r\n") + "A", 7, "-", true},
      {"cut in a line", Utf16File("[APP_INFO]\r\nrand_seed=7\r\nOutputFolder=/ph"), 7, "/ph", true},
      {"garbage", "\xC0" + randomBytes(65535), -1, "-", false},
      {"garbage after a mark", "\xFF\xFE" + randomBytes(65534), -1, "-", true},
      {"10 MB line", Utf16File("[APP_INFO]\r\nOutputFolder=" + tenMegabyteLine + "\r\nrand_seed=7\r\n"), 7,
       tenMegabyteLine.substr(0, Inifile_CL::kMaxStringUnits), true},
      {"UTF-8 with a mark", "\xEF\xBB\xBF[APP_INFO]\r\nrand_seed=7\r\nOutputFolder=写真\r\n", 7, "写真", true},
      {"UTF-16LE without a mark", test::Utf16LeBytes(Utf8ToUtf16("[APP_INFO]\r\nrand_seed=7\r\nOutputFolder=写真\r\n")),
       7, "写真", true},
      {"UTF-16BE without a mark", std::string("\0[\0A\0]\0\r\0\n\0k\0=\0001", 16), -1, "-", false},
      {"invalid UTF-8", "[APP_INFO]\nrand_seed=7\nOutputFolder=\x8e\xca\x90\x5e\n", -1, "-", false},
  };
  for (const auto& f : files) {
    SCOPED_TRACE(f.name);
    test::WriteBytes(IniPath(), f.bytes);
    Settings().SetPath(IniPath());
    ASSERT_EQ(Bytes(), f.bytes);
    EXPECT_EQ(Settings().GetInt("APP_INFO", "rand_seed", -1), f.seed);
    EXPECT_EQ(Settings().GetString("APP_INFO", "OutputFolder", "-"), f.folder);
    std::uint8_t rect[16];
    EXPECT_FALSE(Settings().GetStruct("Window", "WindowRect", rect, sizeof rect));

    Settings().WriteInt("Fresh", "key", 1);
    const std::string after = Bytes();
    if (!f.written) {
      EXPECT_EQ(after, f.bytes) << "a file we cannot read is never rewritten";
      continue;
    }
    EXPECT_EQ(Settings().GetInt("Fresh", "key", 0), 1);
    // Every old byte stays where it was: the new section comes after them (a lone odd byte of
    // UTF-16, being no character, stays last).
    const bool odd = f.bytes.size() % 2 == 1 && f.bytes.rfind("\xFF\xFE", 0) == 0;
    const std::string kept = odd ? f.bytes.substr(0, f.bytes.size() - 1) : f.bytes;
    EXPECT_EQ(after.substr(0, kept.size()), kept);
    if (odd) {
      EXPECT_EQ(after.back(), f.bytes.back());
    }
  }
}

TEST_F(Inifile_CLTest, AFileThatCannotBeReadIsNeverReplaced) {
  const std::string before = Utf16File("[APP_INFO]\r\nrand_seed=7\r\nOutputFolder=/photos\r\n");
  test::WriteBytes(IniPath(), before);
  ASSERT_EQ(::chmod(IniPath().c_str(), 0200), 0); // writable, not readable
  const pid_t child = test::ForkChild([&] {
    // Root reads any file, so the write is made as an ordinary user who owns the folder and the file.
    constexpr uid_t kNobody = 65534;
    if (::getuid() == 0 &&
        (::chmod(Home().c_str(), 0711) != 0 || ::chmod((Home() / "Documents").c_str(), 0711) != 0 ||
         ::chown(DataFolder().c_str(), kNobody, kNobody) != 0 || ::chown(IniPath().c_str(), kNobody, kNobody) != 0 ||
         ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
      ::_exit(2);
    }
    Settings().WriteInt("APP_INFO", "rand_seed", 8);
  });
  ASSERT_EQ(test::WaitChild(child), 0);
  ASSERT_EQ(::chmod(IniPath().c_str(), 0600), 0);
  EXPECT_EQ(Bytes(), before) << "a write must not replace keys it could not read";
}

} // namespace
} // namespace lumicrate
