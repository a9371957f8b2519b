// The lock is the descriptor logind hands back: it holds while any copy of it stays open, so
// the bus connection can go at once.
#include "platform/SleepInhibitor_CL.h"

#include <gio/gunixfdlist.h>

#include "platform/BusConnection.h"

namespace lumicrate {

SleepInhibitor_CL::SleepInhibitor_CL(const std::string& who, const std::string& why) {
  const BusConnection bus = ConnectToBus(G_BUS_TYPE_SYSTEM);
  if (!bus) {
    return;
  }
  GUnixFDList* fds = nullptr;
  GError* error = nullptr;
  GVariant* reply = g_dbus_connection_call_with_unix_fd_list_sync(
      bus.get(), "org.freedesktop.login1", "/org/freedesktop/login1", "org.freedesktop.login1.Manager", "Inhibit",
      g_variant_new("(ssss)", "sleep", who.c_str(), why.c_str(), "block"), G_VARIANT_TYPE("(h)"),
      G_DBUS_CALL_FLAGS_NONE, kBusCallTimeoutMs, nullptr, &fds, nullptr, &error);
  g_clear_error(&error);
  if (reply && fds) {
    gint32 index = -1;
    g_variant_get(reply, "(h)", &index);
    lock_.Reset(g_unix_fd_list_get(fds, index, nullptr));
  }
  if (fds) {
    g_object_unref(fds);
  }
  if (reply) {
    g_variant_unref(reply);
  }
}

} // namespace lumicrate
