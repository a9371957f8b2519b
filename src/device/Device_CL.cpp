// One device: opening it through its driver and port, walking its folders into the object
// list, and letting it go. Every libgphoto2 object is held by an owner, so every path frees it.
#include <cstdio>

#include "app/ActivityLog.h"
#include "device/PortableDeviceManager_CL.h"

namespace lumicrate {
namespace {

std::string JoinDevicePath(const std::string& folder, const std::string& name) {
  return folder.ends_with('/') ? folder + name : folder + "/" + name;
}

std::string LeafOf(const std::string& folder) {
  const size_t slash = folder.find_last_of('/');
  const std::string leaf = slash == std::string::npos ? folder : folder.substr(slash + 1);
  return leaf.empty() ? folder : leaf;
}

std::vector<std::string> Names(const gphoto::ListPtr& list) {
  std::vector<std::string> names;
  for (int i = 0; i < gp_list_count(list.get()); ++i) {
    const char* name = nullptr;
    if (gp_list_get_name(list.get(), i, &name) >= GP_OK && name) {
      names.emplace_back(name);
    }
  }
  return names;
}

// The walk's diagnostic on standard output, for each place it could not list.
void NoteListingFailure(int result, HRESULT& firstFailure) {
  const HRESULT hr = gphoto::ToHResult(result);
  std::printf("! Failed to get IEnumPortableDeviceObjectIDs from IPortableDeviceContent, hr = 0x%lx\n",
              static_cast<unsigned long>(static_cast<std::uint32_t>(hr)));
  std::fflush(stdout);
  if (!Failed(firstFailure)) {
    firstFailure = hr;
  }
}

} // namespace

PortableDeviceManager_CL::Device_CL::Device_CL(std::string deviceId, const CameraAbilities& abilities,
                                               DeviceNames names)
    : deviceId_(std::move(deviceId)), abilities_(abilities), names_(std::move(names)) {}

PortableDeviceManager_CL::Device_CL::~Device_CL() {
  Close();
}

HRESULT PortableDeviceManager_CL::Device_CL::Open() {
  if (camera_) {
    return S_OK;
  }
  // Declared first, so the camera of a failed open is let go while it is still held.
  const auto lock = gphoto::LockDrivers();
  gphoto::ContextPtr context = gphoto::NewContext();
  Camera* raw = nullptr;
  int result = context ? gp_camera_new(&raw) : GP_ERROR_NO_MEMORY;
  gphoto::CameraPtr camera(raw);
  if (result >= GP_OK) {
    result = abilities_.model[0] ? gp_camera_set_abilities(camera.get(), abilities_) : GP_ERROR_MODEL_NOT_FOUND;
  }
  gphoto::PortInfoListPtr ports;
  if (result >= GP_OK) {
    result = gphoto::LoadPorts(ports);
  }
  if (result >= GP_OK) {
    // A "disk:" path that is not in the list is added by its generic entry.
    const int index = gp_port_info_list_lookup_path(ports.get(), deviceId_.c_str());
    GPPortInfo info = nullptr;
    result = index < GP_OK ? index : gp_port_info_list_get_info(ports.get(), index, &info);
    if (result >= GP_OK) {
      result = gp_camera_set_port_info(camera.get(), info);
    }
  }
  if (result >= GP_OK) {
    result = gp_camera_init(camera.get(), context.get());
  }
  if (result < GP_OK) {
    Log().Write("libgphoto2: %s (%d)", gp_result_as_string(result), result);
    return gphoto::ToHResult(result);
  }
  context_ = std::move(context);
  camera_ = std::move(camera);
  return S_OK;
}

HRESULT PortableDeviceManager_CL::Device_CL::CollectObjects(const std::function<void(int)>& listed) {
  objects_.clear();
  objects_.emplace_back(this, DeviceObject::Kind::Root, kRootObjectId, "", "/", names_.friendlyName);
  if (!camera_) {
    return gphoto::ToHResult(GP_ERROR_BAD_PARAMETERS);
  }

  CameraStorageInformation* raw = nullptr;
  int count = 0;
  const int result = gp_camera_get_storageinfo(camera_.get(), &raw, &count, context_.get());
  const gphoto::StorageInfoPtr storages(raw);
  hasStorageInfo_ = result >= GP_OK;
  HRESULT firstFailure = S_OK;
  std::vector<std::pair<std::string, std::string>> roots; // base folder, description
  if (result == GP_ERROR_NOT_SUPPORTED) {
    // A driver without storages holds its whole tree under "/".
    roots.emplace_back("/", "");
  } else if (result < GP_OK) {
    NoteListingFailure(result, firstFailure);
  } else {
    // No storage at all is what an iPhone shows before it trusts the computer.
    for (int i = 0; i < count; ++i) {
      const CameraStorageInformation& storage = storages.get()[i];
      std::string base = (storage.fields & GP_STORAGEINFO_BASE) ? storage.basedir : "/";
      std::string description;
      if (storage.fields & GP_STORAGEINFO_DESCRIPTION) {
        description = storage.description;
      } else if (storage.fields & GP_STORAGEINFO_LABEL) {
        description = storage.label;
      }
      roots.emplace_back(std::move(base), std::move(description));
    }
  }
  for (const auto& [base, description] : roots) {
    objects_.emplace_back(this, DeviceObject::Kind::Storage, base, kRootObjectId, base,
                          description.empty() ? LeafOf(base) : description);
    VisitFolder(base, firstFailure, listed);
  }
  return firstFailure;
}

void PortableDeviceManager_CL::Device_CL::VisitFolder(std::string folder, HRESULT& firstFailure,
                                                      const std::function<void(int)>& listed) {
  const gphoto::ListPtr files = gphoto::NewList();
  const gphoto::ListPtr folders = gphoto::NewList();
  int result = files && folders
                   ? gp_camera_folder_list_files(camera_.get(), folder.c_str(), files.get(), context_.get())
                   : GP_ERROR_NO_MEMORY;
  if (result >= GP_OK) {
    result = gp_camera_folder_list_folders(camera_.get(), folder.c_str(), folders.get(), context_.get());
  }
  if (result < GP_OK) {
    NoteListingFailure(result, firstFailure);
    return;
  }
  for (const std::string& name : Names(files)) {
    objects_.emplace_back(this, DeviceObject::Kind::File, JoinDevicePath(folder, name), folder, folder, name);
  }
  if (listed) {
    listed(static_cast<int>(objects_.size()));
  }
  for (const std::string& name : Names(folders)) {
    std::string child = JoinDevicePath(folder, name);
    objects_.emplace_back(this, DeviceObject::Kind::Folder, child, folder, child, name);
    VisitFolder(std::move(child), firstFailure, listed);
  }
}

bool PortableDeviceManager_CL::Device_CL::IsReachable() {
  if (!camera_) {
    return false;
  }
  if (!hasStorageInfo_) {
    // Nothing cheap to ask a driver without storages; its next failure will tell.
    return true;
  }
  CameraStorageInformation* raw = nullptr;
  int count = 0;
  const int result = gp_camera_get_storageinfo(camera_.get(), &raw, &count, context_.get());
  const gphoto::StorageInfoPtr storages(raw);
  return result >= GP_OK;
}

HRESULT PortableDeviceManager_CL::Device_CL::Close() {
  if (!camera_) {
    return S_OK;
  }
  const auto lock = gphoto::LockDrivers();
  const int result = gp_camera_exit(camera_.get(), context_.get());
  camera_.reset();
  context_.reset();
  return gphoto::ToHResult(result);
}

} // namespace lumicrate
