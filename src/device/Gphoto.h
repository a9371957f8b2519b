// Owners for the libgphoto2 objects the device code makes, so each is released on every path,
// and libgphoto2 results turned into HRESULT-style results.
#pragma once

#include <cstdlib>
#include <gphoto2/gphoto2.h>
#include <memory>
#include <mutex>

#include "platform/HResult.h"

namespace lumicrate::gphoto {

struct ContextUnref {
  void operator()(GPContext* context) const { gp_context_unref(context); }
};
struct CameraUnref {
  void operator()(Camera* camera) const { gp_camera_unref(camera); }
};
struct ListUnref {
  void operator()(CameraList* list) const { gp_list_unref(list); }
};
struct AbilitiesListFree {
  void operator()(CameraAbilitiesList* list) const { gp_abilities_list_free(list); }
};
struct PortInfoListFree {
  void operator()(GPPortInfoList* list) const { gp_port_info_list_free(list); }
};
struct FileUnref {
  void operator()(CameraFile* file) const { gp_file_unref(file); }
};
struct CFree {
  void operator()(void* memory) const { std::free(memory); }
};

using ContextPtr = std::unique_ptr<GPContext, ContextUnref>;
using CameraPtr = std::unique_ptr<Camera, CameraUnref>;
using ListPtr = std::unique_ptr<CameraList, ListUnref>;
using AbilitiesListPtr = std::unique_ptr<CameraAbilitiesList, AbilitiesListFree>;
using PortInfoListPtr = std::unique_ptr<GPPortInfoList, PortInfoListFree>;
using FilePtr = std::unique_ptr<CameraFile, FileUnref>;
using StorageInfoPtr = std::unique_ptr<CameraStorageInformation, CFree>;

// libgphoto2 loads and unloads its drivers through libltdl, which is not safe from two threads at
// once (the desktop program detects an iPhone while a device run goes on). Held around every call
// that may load or unload one: loading the lists, detecting, opening and closing a camera.
std::unique_lock<std::mutex> LockDrivers();

// Each returns null when libgphoto2 cannot make the object (out of memory).
ContextPtr NewContext();
ListPtr NewList();

// The camera drivers and the port drivers libgphoto2 has installed; a negative libgphoto2
// result when they cannot be loaded.
int LoadAbilities(AbilitiesListPtr& abilities, GPContext* context);
int LoadPorts(PortInfoListPtr& ports);

// The HRESULT a libgphoto2 result stands for, with the Windows error numbers whose meaning is
// closest (a USB device another program holds is a sharing violation, a vanished one is "not
// connected"); 0 and positive results are success.
HRESULT ToHResult(int result);

} // namespace lumicrate::gphoto
