// The sleep inhibitor and the desktop notification against a private bus with stand-ins for
// logind and the notification service, and without them: nothing held, nothing shown, no wait.
#include <chrono>
#include <gio/gunixfdlist.h>
#include <gtest/gtest.h>
#include <mutex>
#include <poll.h>
#include <unistd.h>

#include "platform/DesktopSeams.h"
#include "platform/FileDescriptor.h"
#include "platform/SleepInhibitor_CL.h"
#include "support/TestBus.h"

namespace lumicrate {
namespace {

constexpr char kLogind[] = R"(<node><interface name="org.freedesktop.login1.Manager">
  <method name="Inhibit"><arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="s" direction="in"/>
    <arg type="s" direction="in"/><arg type="h" direction="out"/></method></interface></node>)";
constexpr char kNotifications[] = R"(<node><interface name="org.freedesktop.Notifications">
  <method name="Notify"><arg type="s" direction="in"/><arg type="u" direction="in"/><arg type="s" direction="in"/>
    <arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="as" direction="in"/>
    <arg type="a{sv}" direction="in"/><arg type="i" direction="in"/><arg type="u" direction="out"/></method>
  </interface></node>)";

class BusServicesTest : public ::testing::Test {
protected:
  void SetUp() override {
    if (bus.Address().empty()) {
      GTEST_SKIP() << "dbus-daemon could not be started (package dbus)";
    }
  }

  // Whether the far end of the lock logind handed out has been closed by everyone.
  bool Released() const {
    pollfd fd{lockEnd.Get(), POLLIN, 0};
    return ::poll(&fd, 1, 1000) == 1 && (fd.revents & POLLHUP);
  }

  test::TestBus bus;
  std::mutex mutex;
  std::vector<std::string> calls;
  FileDescriptor lockEnd;
};

TEST_F(BusServicesTest, TheSleepLockIsHeldUntilTheInhibitorGoes) {
  test::BusService logind(bus.Address(), "org.freedesktop.login1", "/org/freedesktop/login1", kLogind,
                          [&](const std::string& method, GVariant* parameters, GUnixFDList* fds) {
                            const gchar *what, *who, *why, *mode;
                            g_variant_get(parameters, "(&s&s&s&s)", &what, &who, &why, &mode);
                            int ends[2];
                            EXPECT_EQ(::pipe(ends), 0);
                            const std::lock_guard lock(mutex);
                            calls.push_back(method + " " + what + " " + who + " " + why + " " + mode);
                            lockEnd.Reset(ends[0]);
                            const int index = g_unix_fd_list_append(fds, ends[1], nullptr);
                            ::close(ends[1]);
                            return g_variant_new("(h)", index);
                          });
  ASSERT_TRUE(logind.Ready());
  const test::ScopedBusAddress address(bus.Address());
  {
    const SleepInhibitor_CL inhibitor("ルミクレート", "写真の取り込み中");
    EXPECT_TRUE(inhibitor.Held());
    const std::lock_guard lock(mutex);
    EXPECT_EQ(calls, std::vector<std::string>{"Inhibit sleep ルミクレート 写真の取り込み中 block"});
    ASSERT_TRUE(lockEnd.Valid());
    pollfd fd{lockEnd.Get(), POLLIN, 0};
    EXPECT_EQ(::poll(&fd, 1, 0), 0) << "the lock is let go only when the run ends";
  }
  EXPECT_TRUE(Released());
}

TEST_F(BusServicesTest, ANotificationReachesTheService) {
  test::BusService service(bus.Address(), "org.freedesktop.Notifications", "/org/freedesktop/Notifications",
                           kNotifications, [&](const std::string& method, GVariant* parameters, GUnixFDList*) {
                             const gchar *app, *icon, *summary, *body;
                             guint32 replaces = 0;
                             gint32 timeout = 0;
                             g_variant_get(parameters, "(&su&s&s&sasa{sv}i)", &app, &replaces, &icon, &summary, &body,
                                           nullptr, nullptr, &timeout);
                             const std::lock_guard lock(mutex);
                             calls.push_back(method + " " + app + " " + summary + " " + body);
                             return g_variant_new("(u)", 7u);
                           });
  ASSERT_TRUE(service.Ready());
  const test::ScopedBusAddress address(bus.Address());
  BusNotifier().Notify("ルミクレート", "お知らせ", "写真の取り込みが完了しました。");
  const std::lock_guard lock(mutex);
  EXPECT_EQ(calls, std::vector<std::string>{"Notify ルミクレート お知らせ 写真の取り込みが完了しました。"});
}

TEST_F(BusServicesTest, WithoutTheServicesOrABusNothingIsHeldOrShownAndNothingWaits) {
  const struct { std::string address; } cases[] = {{bus.Address()}, {"unix:path=/nonexistent/bus"}};
  for (const auto& c : cases) {
    const test::ScopedBusAddress address(c.address);
    const auto start = std::chrono::steady_clock::now();
    const SleepInhibitor_CL inhibitor("ルミクレート", "写真の取り込み中");
    EXPECT_FALSE(inhibitor.Held()) << c.address;
    BusNotifier().Notify("ルミクレート", "お知らせ", "写真の取り込みが完了しました。");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << c.address;
  }
}

} // namespace
} // namespace lumicrate
