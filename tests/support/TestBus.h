// A private D-Bus daemon for one test, and small services on it standing in for the desktop's
// own (logind, the notification service), so the program's calls reach a real bus.
#pragma once

#include <functional>
#include <gio/gio.h>
#include <string>
#include <sys/types.h>
#include <thread>

#include "support/TestSupport.h"

namespace lumicrate::test {

class TestBus {
public:
  // Starts dbus-daemon on a socket in a scratch folder; Address() is empty when it could not.
  TestBus();
  ~TestBus();
  TestBus(const TestBus&) = delete;
  TestBus& operator=(const TestBus&) = delete;
  const std::string& Address() const { return address_; }

private:
  TempDir folder_;
  std::string address_;
  pid_t pid_ = -1;
};

// Points GLib's system and session bus at address for the object's life.
class ScopedBusAddress {
public:
  explicit ScopedBusAddress(const std::string& address);
  ~ScopedBusAddress();
  ScopedBusAddress(const ScopedBusAddress&) = delete;
  ScopedBusAddress& operator=(const ScopedBusAddress&) = delete;
};

// One object under a well-known name, served from a thread of its own. The handler answers each
// method call; it may put descriptors into fds to send with its reply.
class BusService {
public:
  using Handler = std::function<GVariant*(const std::string& method, GVariant* parameters, GUnixFDList* fds)>;

  BusService(const std::string& address, const std::string& name, const std::string& path,
             const std::string& introspection, Handler handler);
  ~BusService();
  BusService(const BusService&) = delete;
  BusService& operator=(const BusService&) = delete;
  // Whether the name is owned and the object answers.
  bool Ready() const { return ready_; }

private:
  static void MethodCall(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* method,
                         GVariant* parameters, GDBusMethodInvocation* invocation, gpointer self);

  Handler handler_;
  GMainContext* context_ = nullptr;
  GMainLoop* loop_ = nullptr;
  bool ready_ = false;
  std::thread thread_;
};

} // namespace lumicrate::test
