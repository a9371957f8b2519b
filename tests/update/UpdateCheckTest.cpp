// The once-a-day update check against a real HTTP server on loopback: the version rules, the
// settings it honours and writes, the user's three answers, failures, and unsafe page addresses.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "app/Inifile_CL.h"
#include "support/TestSupport.h"
#include "update/LoopbackServer.h"
#include "update/UpdateCheck_CL.h"

namespace lumicrate {
namespace {

using namespace std::chrono_literals;

constexpr HttpTimeouts kQuick{1000ms, 2000ms};
constexpr HttpTimeouts kImpatient{1000ms, 300ms};
constexpr char kCaption[] = "ルミクレートのアップデート。";
constexpr std::int32_t kUnwritten = -99;

class RecordingNotice : public UpdateNotice {
public:
  NoticeAnswer answer = NoticeAnswer::Closed;
  std::function<void()> whileShown;
  std::vector<UpdateNoticeContent> shown;

  NoticeAnswer Show(const UpdateNoticeContent& notice) override {
    shown.push_back(notice);
    if (whileShown) {
      whileShown();
    }
    return answer;
  }
};

class RecordingShell : public DesktopShell {
public:
  std::vector<std::string> opened;
  void OpenWithShell(const std::string& fileOrAddress) override { opened.push_back(fileOrAddress); }
};

class FixedClock : public Clock {
public:
  std::time_t now = 0;
  std::time_t Now() const override { return now; }
  void Set(int year, int month, int day) { now = test::LocalNoon(year, month, day); }
};

class UpdateCheckTest : public test::ScratchHomeTest {
protected:
  void SetUp() override {
    test::ScratchHomeTest::SetUp();
    ::setenv("no_proxy", "*", 1);
    clock_.Set(2026, 3, 7);
  }

  void Check(const std::string& installed = "1.0.0", const std::string& server = {}, HttpTimeouts timeouts = kQuick) {
    UpdateCheck_CL checker(Settings(), {notice_, shell_, clock_}, server.empty() ? server_.Name() : server,
                           UpdateCheck_CL::kObjectName, timeouts);
    checker.Check(kCaption, installed);
  }

  static void SetKey(const char* key, std::int32_t value) { Settings().WriteInt("VERSION", key, value); }
  static std::int32_t LastDay() { return Settings().GetInt("VERSION", "last_day", kUnwritten); }
  std::string LogText() const { return test::ReadUtf16File(DataFolder() / "log.txt"); }

  test::LoopbackServer server_;
  RecordingNotice notice_;
  RecordingShell shell_;
  FixedClock clock_;
};

const std::string kNewer = "1.0.1.0\r\nhttp://lumicrate.example/download\r\n";
const std::string kSame = test::Bytes("1.0.0\0\0\r\nhttp://lumicrate.example/download\r\n");

TEST_F(UpdateCheckTest, ComparesVersionsAndActsOnTheAnswer) {
  struct Case {
    const char* name;
    std::string installed;
    test::HttpAnswer answer;
    std::int32_t force;
    NoticeAnswer choice;
    bool noticed;
    std::int32_t lastDay; // after the check; last_day is unset before it
    std::vector<std::string> opened;
  };
  const std::vector<std::string> none;
  const std::vector<std::string> page{"http://lumicrate.example/download"};
  const Case cases[] = {
      {"the same version, padded with zero bytes", "1.0.0", {200, kSame}, 0, NoticeAnswer::GoToSite, false, 7, none},
      {"a proper prefix is older", "1.0.0", {200, kNewer}, 0, NoticeAnswer::GoToSite, true, kUnwritten, page},
      {"characters, not numbers: 1.0.9 is newer than 1.0.10",
       "1.0.9",
       {200, test::Bytes("1.0.10\0\r\nhttp://lumicrate.example/download\r\n")},
       0,
       NoticeAnswer::GoToSite,
       false,
       7,
       none},
      {"an installed version newer than published", "1.0.2", {200, kNewer}, 0, NoticeAnswer::GoToSite, false, 7, none},
      {"remind me later", "1.0.0", {200, kNewer}, 0, NoticeAnswer::RemindLater, true, 7, none},
      {"the close box writes nothing", "1.0.0", {200, kNewer}, 0, NoticeAnswer::Closed, true, kUnwritten, none},
      {"https pages open too",
       "1.0.0",
       {200, "1.0.1.0\r\nhttps://lumicrate.example/dl\r\n"},
       0,
       NoticeAnswer::GoToSite,
       true,
       kUnwritten,
       {"https://lumicrate.example/dl"}},
      {"force 1 shows the notice for an up-to-date version",
       "1.0.0",
       {200, kSame},
       1,
       NoticeAnswer::RemindLater,
       true,
       7,
       none},
      {"force 2 checks, but shows nothing for an up-to-date version",
       "1.0.0",
       {200, kSame},
       2,
       NoticeAnswer::GoToSite,
       false,
       7,
       none},
      {"force 2 shows the notice for an older version",
       "1.0.0",
       {200, kNewer},
       2,
       NoticeAnswer::GoToSite,
       true,
       kUnwritten,
       page},
      {"an HTML error page reads as 0.0.0.0",
       "1.0.0",
       {404, "<html><body>Not Found</body></html>\r\n"},
       0,
       NoticeAnswer::GoToSite,
       false,
       7,
       none},
      {"an HTML page with status 200 reads as 0.0.0.0",
       "1.0.0",
       {200, "<!DOCTYPE html>\r\n<p>maintenance</p>\r\n"},
       0,
       NoticeAnswer::GoToSite,
       false,
       7,
       none},
      {"a plain-text error page is no version file either",
       "1.0.0",
       {404, "404 page not found\n"},
       0,
       NoticeAnswer::GoToSite,
       false,
       7,
       none},
      {"no Content-Length: no answer",
       "1.0.0",
       {200, kNewer, "none"},
       0,
       NoticeAnswer::GoToSite,
       false,
       kUnwritten,
       none},
      {"chunked: no answer", "1.0.0", {200, kNewer, "chunked"}, 0, NoticeAnswer::GoToSite, false, kUnwritten, none},
      {"fewer bytes than declared: no answer",
       "1.0.0",
       {200, kNewer, "80"},
       0,
       NoticeAnswer::GoToSite,
       false,
       kUnwritten,
       none},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(Settings().Path());
    SetKey("force", c.force);
    server_.Answer(c.answer);
    notice_ = RecordingNotice{};
    notice_.answer = c.choice;
    shell_.opened.clear();
    const size_t requests = server_.Requests().size();

    Check(c.installed);

    EXPECT_EQ(server_.Requests().size(), requests + 1);
    EXPECT_EQ(notice_.shown.size(), c.noticed ? 1u : 0u);
    EXPECT_EQ(LastDay(), c.lastDay);
    EXPECT_EQ(shell_.opened, c.opened);
  }
}

TEST_F(UpdateCheckTest, TheNoticeNamesBothVersionsAndThePage) {
  server_.Answer({200, kNewer});
  Check("1.0.0");
  ASSERT_EQ(notice_.shown.size(), 1u);
  const UpdateNoticeContent& notice = notice_.shown[0];
  EXPECT_EQ(notice.caption, kCaption);
  EXPECT_EQ(notice.latestVersion, "1.0.1.0");
  EXPECT_EQ(notice.installedVersion, "1.0.0");
  EXPECT_EQ(notice.pageAddress, "http://lumicrate.example/download");
  EXPECT_EQ(notice.text, "最新のバージョン1.0.1.0が公開されています。\r\n"
                         "サイトへ移動しますか？\r\n"
                         "\r\n"
                         "\u3000（現在インストールされているバージョンは1.0.0です。）\r\n");
  EXPECT_EQ(server_.Requests().at(0).path, "/Lumicrate/Version.txt");
}

TEST_F(UpdateCheckTest, SettingsDecideWhetherToAskAtAll) {
  struct Case {
    const char* name;
    std::int32_t notify;
    std::int32_t force;
    std::int32_t lastDay;
    bool asks;
  };
  const Case cases[] = {
      {"notify 1 makes no request", 1, 0, 0, false},
      {"notify 1 wins over force", 1, 1, 0, false},
      {"any non-zero notify", -1, 0, 0, false},
      {"already checked today", 0, 0, 7, false},
      {"checked yesterday", 0, 0, 6, true},
      {"never checked", 0, 0, 0, true},
      {"force 1 ignores today's check", 0, 1, 7, true},
      {"force 2 ignores today's check", 0, 2, 7, true},
  };
  server_.Answer({200, kSame});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetKey("notify", c.notify);
    SetKey("force", c.force);
    SetKey("last_day", c.lastDay);
    const size_t requests = server_.Requests().size();
    Check();
    EXPECT_EQ(server_.Requests().size(), requests + (c.asks ? 1 : 0));
  }
}

TEST_F(UpdateCheckTest, OnlyTheDayOfTheMonthIsRemembered) {
  server_.Answer({200, kSame});
  clock_.Set(2026, 3, 5);
  Check();
  ASSERT_EQ(LastDay(), 5);
  clock_.Set(2026, 4, 5);
  Check();
  EXPECT_EQ(server_.Requests().size(), 1u) << "the 5th of the next month counts as the same day";
  clock_.Set(2026, 4, 6);
  Check();
  EXPECT_EQ(server_.Requests().size(), 2u);
  EXPECT_EQ(LastDay(), 6);
}

TEST_F(UpdateCheckTest, ForceOneShowsTheNoticeAtEveryStartWhateverTheAnswer) {
  server_.Answer({200, kSame});
  SetKey("force", 1);
  for (const NoticeAnswer answer : {NoticeAnswer::RemindLater, NoticeAnswer::Closed, NoticeAnswer::GoToSite}) {
    notice_.answer = answer;
    Check();
  }
  EXPECT_EQ(notice_.shown.size(), 3u);
  EXPECT_EQ(shell_.opened.size(), 1u);
}

TEST_F(UpdateCheckTest, NetworkFailuresAreLoggedAndLeaveEverythingAsItWas) {
  std::vector<test::NetworkFailure> failures = test::NetworkFailures(server_);
  failures.push_back(
      {"a server name that cannot be", {}, "lumicrate example", "InternetConnect()エラー = 0x80072ee5 : "});
  SetKey("last_day", 3);
  for (const test::NetworkFailure& c : failures) {
    SCOPED_TRACE(c.name);
    server_.Answer(c.answer);
    const size_t before = LogText().size();
    const auto started = std::chrono::steady_clock::now();
    Check("1.0.0", c.server, kImpatient);
    // Start-up goes on: the check gives up by itself (the bound is generous on purpose).
    EXPECT_LT(std::chrono::steady_clock::now() - started, 10s);
    EXPECT_NE(LogText().find(c.logged, before), std::string::npos) << LogText().substr(before);
    EXPECT_TRUE(notice_.shown.empty());
    EXPECT_EQ(LastDay(), 3);
  }
}

TEST_F(UpdateCheckTest, AnAddressThatIsNoWebPageIsNeverOpened) {
  const char* addresses[] = {
      "file:///etc/passwd",
      "/usr/bin/xterm",
      "javascript:alert(1)",
      "ftp://lumicrate.example/",
      "http://lumicrate.example/\x01",
      "http://lumicrate.example/\r\nfile:///etc/passwd",
  };
  notice_.answer = NoticeAnswer::GoToSite;
  for (const char* address : addresses) {
    SCOPED_TRACE(address);
    server_.Answer({200, std::string("1.0.1.0\r\n") + address + "\r\n"});
    const size_t before = LogText().size();
    notice_.shown.clear();
    Check();
    ASSERT_EQ(notice_.shown.size(), 1u) << "the newer version is still announced";
    EXPECT_EQ(notice_.shown[0].pageAddress, "");
    EXPECT_NE(LogText().find("制御文字を含むため開きません = \"", before), std::string::npos);
  }
  EXPECT_TRUE(shell_.opened.empty());
  EXPECT_EQ(LastDay(), kUnwritten);
  EXPECT_NE(LogText().find("= \"http://lumicrate.example/\\x0D\\x0Afile:///etc/passwd\""), std::string::npos)
      << "control characters are shown, not written, into the log";
}

TEST_F(UpdateCheckTest, ABodyWithoutRoomForAnAddressAnnouncesWithoutAPage) {
  server_.Answer({200, "1.0.1"});
  notice_.answer = NoticeAnswer::GoToSite;
  Check("1.0.0");
  ASSERT_EQ(notice_.shown.size(), 1u);
  EXPECT_EQ(notice_.shown[0].latestVersion, "1.0.1");
  EXPECT_EQ(notice_.shown[0].pageAddress, "");
  EXPECT_TRUE(shell_.opened.empty());
}

TEST_F(UpdateCheckTest, NoSecondCheckWhileANoticeIsOpen) {
  server_.Answer({200, kNewer});
  notice_.whileShown = [this] {
    notice_.whileShown = nullptr;
    Check();
  };
  Check();
  EXPECT_EQ(notice_.shown.size(), 1u);
  EXPECT_EQ(server_.Requests().size(), 1u);
  Check();
  EXPECT_EQ(notice_.shown.size(), 2u) << "the guard ends with the notice";
}

} // namespace
} // namespace lumicrate
