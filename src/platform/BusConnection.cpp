// The bus address comes from GLib's usual rules (DBUS_SYSTEM_BUS_ADDRESS,
// DBUS_SESSION_BUS_ADDRESS, the well-known sockets).
#include "platform/BusConnection.h"

namespace lumicrate {

void BusConnectionClose::operator()(GDBusConnection* connection) const {
  g_dbus_connection_close_sync(connection, nullptr, nullptr);
  g_object_unref(connection);
}

BusConnection ConnectToBus(GBusType type) {
  GError* error = nullptr;
  gchar* address = g_dbus_address_get_for_bus_sync(type, nullptr, &error);
  if (!address) {
    g_clear_error(&error);
    return nullptr;
  }
  GDBusConnection* connection = g_dbus_connection_new_for_address_sync(
      address,
      static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                        G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
      nullptr, nullptr, &error);
  g_free(address);
  g_clear_error(&error);
  return BusConnection(connection);
}

} // namespace lumicrate
