// A private connection to the system or session bus for one short exchange: never the shared
// one GLib keeps, which ends the whole process when its bus goes away.
#pragma once

#include <gio/gio.h>
#include <memory>

namespace lumicrate {

struct BusConnectionClose {
  void operator()(GDBusConnection* connection) const;
};
using BusConnection = std::unique_ptr<GDBusConnection, BusConnectionClose>;

// A call waits at most this long, so a bus that does not answer never freezes the program.
inline constexpr int kBusCallTimeoutMs = 2000;

// Null when there is no such bus (no daemon, no address).
BusConnection ConnectToBus(GBusType type);

} // namespace lumicrate
