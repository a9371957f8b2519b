// The daemon gets a minimal configuration of its own: no service files, so nothing is ever
// started on demand, and a policy that lets the test own any name.
#include "support/TestBus.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <future>
#include <gio/gunixfdlist.h>
#include <unistd.h>

#include "support/TestSupport.h"

namespace lumicrate::test {
namespace {

constexpr char kConfig[] = R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=@FOLDER@</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)";

} // namespace

TestBus::TestBus() {
  std::string config = kConfig;
  config.replace(config.find("@FOLDER@"), 8, folder_.Path().string());
  WriteBytes(folder_ / "bus.conf", config);
  int fds[2];
  if (::pipe(fds) != 0) {
    return;
  }
  const std::string configArgument = "--config-file=" + (folder_ / "bus.conf").string();
  pid_ = ::fork();
  if (pid_ == 0) {
    // Its complaints about limits it may not raise are of no interest here.
    const int quiet = ::open("/dev/null", O_WRONLY);
    ::dup2(fds[1], STDOUT_FILENO);
    ::dup2(quiet, STDERR_FILENO);
    ::close(fds[0]);
    ::execlp("dbus-daemon", "dbus-daemon", configArgument.c_str(), "--nofork", "--nopidfile", "--print-address=1",
             static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(fds[1]);
  char c = 0;
  std::string line;
  while (pid_ > 0 && ::read(fds[0], &c, 1) == 1 && c != '\n') {
    line.push_back(c);
  }
  ::close(fds[0]);
  address_ = line;
}

TestBus::~TestBus() {
  if (pid_ > 0) {
    ::kill(pid_, SIGTERM);
    WaitChild(pid_);
  }
}

ScopedBusAddress::ScopedBusAddress(const std::string& address) {
  ::setenv("DBUS_SYSTEM_BUS_ADDRESS", address.c_str(), 1);
  ::setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
}

ScopedBusAddress::~ScopedBusAddress() {
  ::unsetenv("DBUS_SYSTEM_BUS_ADDRESS");
  ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
}

BusService::BusService(const std::string& address, const std::string& name, const std::string& path,
                       const std::string& introspection, Handler handler)
    : handler_(std::move(handler)) {
  std::promise<bool> started;
  thread_ = std::thread([&, this] {
    context_ = g_main_context_new();
    g_main_context_push_thread_default(context_);
    loop_ = g_main_loop_new(context_, FALSE);
    GDBusConnection* connection = g_dbus_connection_new_for_address_sync(
        address.c_str(),
        static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                          G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, nullptr, nullptr);
    GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(introspection.c_str(), nullptr);
    bool owned = false;
    if (connection && node) {
      static const GDBusInterfaceVTable vtable = {MethodCall, nullptr, nullptr, {}};
      g_dbus_connection_register_object(connection, path.c_str(), node->interfaces[0], &vtable, this, nullptr, nullptr);
      GVariant* reply =
          g_dbus_connection_call_sync(connection, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                      "org.freedesktop.DBus", "RequestName", g_variant_new("(su)", name.c_str(), 4u),
                                      G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE, 2000, nullptr, nullptr);
      if (reply) {
        guint32 result = 0;
        g_variant_get(reply, "(u)", &result);
        owned = result == 1;
        g_variant_unref(reply);
      }
    }
    started.set_value(owned);
    g_main_loop_run(loop_);
    if (node) {
      g_dbus_node_info_unref(node);
    }
    if (connection) {
      g_dbus_connection_close_sync(connection, nullptr, nullptr);
      g_object_unref(connection);
    }
    g_main_context_pop_thread_default(context_);
  });
  ready_ = started.get_future().get();
}

BusService::~BusService() {
  // Through the loop's own context: a quit before the loop runs would be forgotten.
  GSource* quit = g_idle_source_new();
  g_source_set_callback(
      quit,
      [](gpointer loop) {
        g_main_loop_quit(static_cast<GMainLoop*>(loop));
        return G_SOURCE_REMOVE;
      },
      loop_, nullptr);
  g_source_attach(quit, context_);
  g_source_unref(quit);
  thread_.join();
  g_main_loop_unref(loop_);
  g_main_context_unref(context_);
}

void BusService::MethodCall(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* method,
                            GVariant* parameters, GDBusMethodInvocation* invocation, gpointer self) {
  GUnixFDList* fds = g_unix_fd_list_new();
  GVariant* reply = static_cast<BusService*>(self)->handler_(method, parameters, fds);
  g_dbus_method_invocation_return_value_with_unix_fd_list(invocation, reply, fds);
  g_object_unref(fds);
}

} // namespace lumicrate::test
