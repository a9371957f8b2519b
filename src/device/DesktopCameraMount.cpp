// GIO's unmount is asynchronous: it runs in a main context of this thread's own, so it works
// on the run's worker thread whatever the window's loop is doing.
#include "device/DesktopCameraMount.h"

#include <cstdio>
#include <gio/gio.h>
#include <thread>

#include "app/ActivityLog.h"
#include "device/PortableDeviceManager_CL.h"

namespace lumicrate {
namespace {

constexpr guint kUnmountTimeoutMs = 10000;

// "/dev/bus/usb/001/005" for "usb:001,005"; empty for other ports.
std::string UsbDeviceNode(const std::string& port) {
  int bus = 0;
  int device = 0;
  if (std::sscanf(port.c_str(), "usb:%d,%d", &bus, &device) != 2) {
    return {};
  }
  char node[64];
  std::snprintf(node, sizeof node, "/dev/bus/usb/%03d/%03d", bus, device);
  return node;
}

struct Unmounting {
  GMainLoop* loop = nullptr;
  GCancellable* cancel = nullptr;
  bool answered = false;
  bool done = false;
  std::string error;
};

void Unmounted(GObject* mount, GAsyncResult* result, gpointer data) {
  auto* state = static_cast<Unmounting*>(data);
  GError* error = nullptr;
  state->answered = true;
  state->done = g_mount_unmount_with_operation_finish(G_MOUNT(mount), result, &error);
  if (error) {
    state->error = error->message;
    g_error_free(error);
  }
  g_main_loop_quit(state->loop);
}

gboolean TimedOut(gpointer data) {
  g_cancellable_cancel(static_cast<Unmounting*>(data)->cancel);
  return G_SOURCE_REMOVE;
}

// Unmounts and waits for the answer, at most kUnmountTimeoutMs.
bool Unmount(GMount* mount, GMainContext* context, const std::string& uri) {
  Unmounting state;
  state.loop = g_main_loop_new(context, FALSE);
  state.cancel = g_cancellable_new();
  g_mount_unmount_with_operation(mount, G_MOUNT_UNMOUNT_NONE, nullptr, state.cancel, Unmounted, &state);
  // A mount that does not answer in time is cancelled, which makes it answer.
  GSource* timeout = g_timeout_source_new(kUnmountTimeoutMs);
  g_source_set_callback(timeout, TimedOut, &state, nullptr);
  g_source_attach(timeout, context);
  while (!state.answered) {
    g_main_loop_run(state.loop);
  }
  g_source_destroy(timeout);
  g_source_unref(timeout);
  g_object_unref(state.cancel);
  g_main_loop_unref(state.loop);
  if (state.done) {
    Log().Write("デスクトップのマウントを解除しました: %s", uri.c_str());
  } else {
    Log().Write("デスクトップのマウントを解除できませんでした: %s (%s)", uri.c_str(), state.error.c_str());
  }
  return state.done;
}

} // namespace

bool IsDesktopMountOf(const std::string& uri, const std::string& unixDevice, const std::string& port) {
  if (!uri.starts_with("gphoto2://") && !uri.starts_with("mtp://")) {
    return false;
  }
  const std::string node = UsbDeviceNode(port);
  // Older gvfs names the port in the address: gphoto2://[usb:001,005]/.
  return (!node.empty() && unixDevice == node) || uri.find("[" + port + "]") != std::string::npos;
}

bool ReleaseDesktopMount(const std::string& port) {
  GMainContext* context = g_main_context_new();
  g_main_context_push_thread_default(context);
  GVolumeMonitor* monitor = g_volume_monitor_get();
  GList* mounts = g_volume_monitor_get_mounts(monitor);
  bool released = false;
  for (GList* item = mounts; item; item = item->next) {
    GMount* mount = G_MOUNT(item->data);
    GFile* root = g_mount_get_root(mount);
    gchar* uri = g_file_get_uri(root);
    std::string unixDevice;
    if (GVolume* volume = g_mount_get_volume(mount)) {
      if (gchar* node = g_volume_get_identifier(volume, G_VOLUME_IDENTIFIER_KIND_UNIX_DEVICE)) {
        unixDevice = node;
        g_free(node);
      }
      g_object_unref(volume);
    }
    if (IsDesktopMountOf(uri, unixDevice, port)) {
      released = Unmount(mount, context, uri) || released;
    }
    g_free(uri);
    g_object_unref(root);
  }
  g_list_free_full(mounts, g_object_unref);
  g_object_unref(monitor);
  g_main_context_pop_thread_default(context);
  g_main_context_unref(context);
  return released;
}

HRESULT OpenReleasingDesktopMount(const std::function<HRESULT()>& open, const std::function<bool()>& release,
                                  int attempts, std::chrono::milliseconds pause) {
  HRESULT hr = open();
  for (int attempt = 1; attempt <= attempts && IsDeviceInUse(hr); ++attempt) {
    if (!release()) {
      Log().WriteText("デバイスを使用中のデスクトップのマウントが見つかりません");
      break;
    }
    // The desktop's camera daemon lets the USB device go a moment after its mount has gone.
    std::this_thread::sleep_for(pause);
    Log().Write("デバイスをもう一度開きます(%d回目)", attempt);
    hr = open();
  }
  return hr;
}

} // namespace lumicrate
