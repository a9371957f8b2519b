// Notifications over the session bus: one short call per notice. A desktop without a
// notification service shows nothing, and the call fails at once.
#include "platform/BusConnection.h"
#include "platform/DesktopSeams.h"

namespace lumicrate {
namespace {

class BusNotifierImpl final : public DesktopNotifier {
public:
  void Notify(const std::string& appName, const std::string& summary, const std::string& body) override {
    const BusConnection bus = ConnectToBus(G_BUS_TYPE_SESSION);
    if (!bus) {
      return;
    }
    GError* error = nullptr;
    GVariant* reply = g_dbus_connection_call_sync(
        bus.get(), "org.freedesktop.Notifications", "/org/freedesktop/Notifications", "org.freedesktop.Notifications",
        "Notify",
        g_variant_new("(susssasa{sv}i)", appName.c_str(), 0u, "", summary.c_str(), body.c_str(), nullptr, nullptr, -1),
        G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE, kBusCallTimeoutMs, nullptr, &error);
    g_clear_error(&error);
    if (reply) {
      g_variant_unref(reply);
    }
  }
};

} // namespace

DesktopNotifier& BusNotifier() {
  static BusNotifierImpl notifier;
  return notifier;
}

} // namespace lumicrate
