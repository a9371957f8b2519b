// The HTTP client against a real server on loopback: bodies with and without a declared length,
// error pages, short, slow, silent, refused and cancelled requests, the calling order and the log lines.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <thread>

#include "app/ActivityLog.h"
#include "support/TestSupport.h"
#include "update/InetHttp_CL.h"
#include "update/LoopbackServer.h"

namespace lumicrate {
namespace {

using namespace std::chrono_literals;

// Short enough to keep the suite fast, long enough for a loaded loopback.
constexpr HttpTimeouts kQuick{1000ms, 2000ms};
constexpr HttpTimeouts kImpatient{1000ms, 300ms};

class InetHttpTest : public test::ScratchHomeTest {
protected:
  void SetUp() override {
    test::ScratchHomeTest::SetUp();
    // Only loopback servers here; a proxy from the environment must not stand in between.
    ::setenv("no_proxy", "*", 1);
  }

  std::string LogText() const { return test::ReadUtf16File(DataFolder() / "log.txt"); }

  test::LoopbackServer server_;
};

std::string BodyOf(const InetHttp_CL& http, std::int32_t count) {
  return std::string(reinterpret_cast<const char*>(http.Body()), static_cast<size_t>(count) + 1);
}

TEST_F(InetHttpTest, ReadsWhatTheServerSends) {
  const std::string version = test::Bytes("1.0.1\0\0\r\nhttp://lumicrate.example/download\r\n");
  const std::string large(InetHttp_CL::kDefaultMaxBody + 1, 'x');
  struct Case {
    const char* name;
    test::HttpAnswer answer;
    std::uint32_t status;
    std::int32_t contentLength;
    std::int32_t count; // what ReadBody is asked for
    std::string expected;
  };
  const Case cases[] = {
      {"declared length, read by count", {200, version}, 200, 44, 44, version},
      {"no Content-Length, read to the end", {200, version, "none"}, 200, -1, -1, version},
      {"chunked, read to the end", {200, version, "chunked"}, 200, -1, -1, version},
      {"declared length, read to the end", {200, version}, 200, 44, -1, version},
      {"an error page is still an answer", {404, "<html>Not Found</html>"}, 404, 22, 22, "<html>Not Found</html>"},
      {"empty body", {200, ""}, 200, 0, 0, ""},
      {"fewer bytes than declared", {200, "1.0.1", "40"}, 200, 40, 40, "1.0.1"},
      {"a part of the body", {200, version}, 200, 44, 7, version.substr(0, 7)},
      {"larger than any version file, by count",
       {200, large},
       200,
       static_cast<std::int32_t>(large.size()),
       static_cast<std::int32_t>(large.size()),
       large.substr(0, InetHttp_CL::kDefaultMaxBody)},
      {"larger than any version file, to the end", {200, large, "none"}, 200, -1, -1, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    server_.Answer(c.answer);
    InetHttp_CL http(kQuick);
    ASSERT_TRUE(http.OpenInternet());
    ASSERT_TRUE(http.Connect(server_.Name()));
    ASSERT_TRUE(http.SendGet("Lumicrate/Version.txt"));
    EXPECT_EQ(http.StatusCode(), c.status);
    EXPECT_EQ(http.ContentLength(), c.contentLength);
    const std::int32_t read = http.ReadBody(c.count);
    ASSERT_EQ(read, static_cast<std::int32_t>(c.expected.size()));
    EXPECT_EQ(BodyOf(http, read), c.expected + '\0');
  }
  EXPECT_EQ(LogText().find("エラー"), std::string::npos) << LogText();
}

TEST_F(InetHttpTest, SendsAPlainGetWithTheAgentAndNoCache) {
  server_.Answer({200, "1.0.0"});
  InetHttp_CL http(kQuick);
  ASSERT_TRUE(http.OpenInternet() && http.Connect(server_.Name()) && http.SendGet("Lumicrate/Version.txt"));
  ASSERT_EQ(http.ReadBody(http.ContentLength()), 5);
  const auto requests = server_.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].path, "/Lumicrate/Version.txt");
  EXPECT_EQ(requests[0].userAgent, "Microsoft Internet\u3000Explorer");
  EXPECT_EQ(requests[0].cacheControl, "no-cache");
}

TEST_F(InetHttpTest, ReadBodyContinuesWhereTheLastReadStopped) {
  server_.Answer({200, "1.0.1"});
  InetHttp_CL http(kQuick);
  ASSERT_TRUE(http.OpenInternet() && http.Connect(server_.Name()) && http.SendGet("v"));
  ASSERT_EQ(http.ReadBody(3), 3);
  EXPECT_STREQ(reinterpret_cast<const char*>(http.Body()), "1.0");
  ASSERT_EQ(http.ReadBody(-1), 2);
  EXPECT_STREQ(reinterpret_cast<const char*>(http.Body()), ".1");
}

TEST_F(InetHttpTest, FailuresAreLoggedWithTheWinInetNumberAndTheReason) {
  for (const test::NetworkFailure& c : test::NetworkFailures(server_)) {
    SCOPED_TRACE(c.name);
    server_.Answer(c.answer);
    const auto before = LogText().size();
    InetHttp_CL http(kImpatient);
    ASSERT_TRUE(http.OpenInternet());
    ASSERT_TRUE(http.Connect(c.server));
    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(http.SendGet("Lumicrate/Version.txt"));
    // A generous bound: the point is that the time-out ends the wait, not how fast.
    EXPECT_LT(std::chrono::steady_clock::now() - started, 10s);
    EXPECT_EQ(http.StatusCode(), 0u);
    const std::string added = LogText().substr(before);
    EXPECT_NE(added.find(" : " + c.logged), std::string::npos) << added;
    // The reason follows the number: curl's own account of what went wrong.
    EXPECT_GT(added.size(), added.find(c.logged) + c.logged.size() + 2) << added;
  }
}

TEST_F(InetHttpTest, ASlowBodyIsCutShortByTheTotalTimeOut) {
  server_.Answer({200, "1.0.1\r\n\r\nhttp://a.example/\r\n", "auto", "slow", 0.2});
  InetHttp_CL http(kImpatient);
  ASSERT_TRUE(http.OpenInternet() && http.Connect(server_.Name()) && http.SendGet("Lumicrate/Version.txt"));
  EXPECT_EQ(http.ContentLength(), 28);
  EXPECT_LT(http.ReadBody(28), 28);
  EXPECT_EQ(http.Body()[0], '1');
}

TEST_F(InetHttpTest, ACancelledRequestEndsAtOnceInsteadOfWaitingOutItsTimeOuts) {
  server_.Answer({200, "", "auto", "silent"});
  std::atomic<bool> cancel = false;
  InetHttp_CL http({10s, 60s, &cancel});
  std::thread canceller([&] {
    std::this_thread::sleep_for(200ms);
    cancel = true;
  });
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(http.OpenInternet() && http.Connect(server_.Name()) && http.SendGet("Lumicrate/Version.txt"));
  EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
  canceller.join();
}

TEST_F(InetHttpTest, CallsOutOfOrderFailAndAreLogged) {
  InetHttp_CL http(kQuick);
  EXPECT_FALSE(http.Connect(server_.Name()));
  EXPECT_FALSE(http.SendGet("Lumicrate/Version.txt"));
  EXPECT_EQ(http.ReadBody(5), 0);
  EXPECT_EQ(http.Body()[0], '\0');
  const std::string log = LogText();
  EXPECT_NE(log.find("InternetConnect()エラー = 0x80070006 : "), std::string::npos) << log;
  EXPECT_NE(log.find("HttpOpenRequest()エラー = 0x80070006 : "), std::string::npos) << log;
  EXPECT_TRUE(server_.Requests().empty());
}

TEST_F(InetHttpTest, ServerAndObjectNamesAreChecked) {
  InetHttp_CL http(kQuick);
  ASSERT_TRUE(http.OpenInternet());
  for (const char* name : {"lumicrate.example", "127.0.0.1:8080", "[::1]:80", "[::1]"}) {
    EXPECT_TRUE(http.Connect(name)) << name;
  }
  for (const char* name :
       {"", "host/path", "user@host", "a b", "host:0", "host:65536", "host:", "[::1", "[]:80", "host:80:80"}) {
    const auto before = LogText().size();
    EXPECT_FALSE(http.Connect(name)) << name;
    EXPECT_NE(LogText().find("InternetConnect()エラー = 0x80072ee5 : ", before), std::string::npos) << name;
  }
  ASSERT_TRUE(http.Connect(server_.Name()));
  for (const char* object : {"with space", "line\nbreak"}) {
    const auto before = LogText().size();
    EXPECT_FALSE(http.SendGet(object)) << object;
    EXPECT_NE(LogText().find("HttpOpenRequest()エラー = 0x80072ee5 : ", before), std::string::npos) << object;
  }
  EXPECT_TRUE(server_.Requests().empty());
}

TEST_F(InetHttpTest, ASecondConnectReplacesTheFirstServer) {
  test::LoopbackServer second;
  server_.Answer({200, "first"});
  second.Answer({200, "second"});
  InetHttp_CL http(kQuick);
  ASSERT_TRUE(http.OpenInternet());
  ASSERT_TRUE(http.Connect(server_.Name()));
  ASSERT_TRUE(http.SendGet("a"));
  ASSERT_TRUE(http.Connect(second.Name()));
  ASSERT_TRUE(http.SendGet("b"));
  ASSERT_EQ(http.ReadBody(http.ContentLength()), 6);
  EXPECT_STREQ(reinterpret_cast<const char*>(http.Body()), "second");
  ASSERT_EQ(server_.Requests().size(), 1u);
  ASSERT_EQ(second.Requests().size(), 1u);
  EXPECT_EQ(second.Requests()[0].path, "/b");
}

} // namespace
} // namespace lumicrate
