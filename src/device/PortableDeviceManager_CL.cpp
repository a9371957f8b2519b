// The device list: what libgphoto2 detects, then the devices a caller names, each logged with
// its names as it is listed.
#include "device/PortableDeviceManager_CL.h"

#include <strings.h>

#include "app/ActivityLog.h"

namespace lumicrate {

DevicePort DirectoryCamera(const std::filesystem::path& folder) {
  return DevicePort{"Directory Browse", "disk:" + folder.string()};
}

bool IsDeviceInUse(HRESULT result) {
  return result == gphoto::ToHResult(GP_ERROR_IO_USB_CLAIM);
}

PortableDeviceManager_CL::PortableDeviceManager_CL(std::vector<DevicePort> extraDevices)
    : extraDevices_(std::move(extraDevices)) {}

PortableDeviceManager_CL::~PortableDeviceManager_CL() = default;

HRESULT PortableDeviceManager_CL::EnumerateDevices() {
  devices_.clear();
  const auto lock = gphoto::LockDrivers();
  const gphoto::ContextPtr context = gphoto::NewContext();
  gphoto::AbilitiesListPtr abilities;
  gphoto::PortInfoListPtr ports;
  int result = gphoto::LoadAbilities(abilities, context.get());
  if (result >= GP_OK) {
    result = gphoto::LoadPorts(ports);
  }
  if (result < GP_OK) {
    const HRESULT hr = gphoto::ToHResult(result);
    Log().Write("CLSID_PortableDeviceManager取得失敗(0x%08x)", static_cast<unsigned>(hr));
    return hr;
  }

  const gphoto::ListPtr detected = gphoto::NewList();
  result = detected ? gp_abilities_list_detect(abilities.get(), ports.get(), detected.get(), context.get())
                    : GP_ERROR_NO_MEMORY;
  if (result < GP_OK) {
    const HRESULT hr = gphoto::ToHResult(result);
    Log().Write("GetDevices取得失敗(0x%08x)", static_cast<unsigned>(hr));
    return hr;
  }
  std::vector<DevicePort> found;
  for (int i = 0; i < gp_list_count(detected.get()); ++i) {
    const char* model = nullptr;
    const char* port = nullptr;
    if (gp_list_get_name(detected.get(), i, &model) >= GP_OK && gp_list_get_value(detected.get(), i, &port) >= GP_OK &&
        model && port) {
      found.push_back({model, port});
    }
  }
  found.insert(found.end(), extraDevices_.begin(), extraDevices_.end());

  Log().Write("DeviceCount = %d", static_cast<int>(found.size()));
  for (size_t i = 0; i < found.size(); ++i) {
    Log().Write("Device[ %d ]", static_cast<int>(i));
    // A model libgphoto2 does not know stays listed; opening it then fails.
    CameraAbilities modelAbilities{};
    const int index = gp_abilities_list_lookup_model(abilities.get(), found[i].model.c_str());
    if (index < GP_OK || gp_abilities_list_get_abilities(abilities.get(), index, &modelAbilities) < GP_OK) {
      modelAbilities = CameraAbilities{};
    }
    DeviceNames names = NameDevice(found[i].model, found[i].port, ReadUsbIdentity(found[i].port));
    if (!names.friendlyName.empty()) {
      Log().Write("FriendlyName = %s", names.friendlyName.c_str());
    }
    if (!names.description.empty()) {
      Log().Write("Description = %s", names.description.c_str());
    }
    if (!names.manufacturer.empty()) {
      Log().Write("Manufacturer = %s", names.manufacturer.c_str());
    }
    devices_.emplace_back(found[i].port, modelAbilities, std::move(names));
  }
  return S_OK;
}

int PortableDeviceManager_CL::FindDeviceByDescription(std::string_view description) const {
  const std::string wanted(description);
  for (size_t i = 0; i < devices_.size(); ++i) {
    if (::strcasecmp(devices_[i].Description().c_str(), wanted.c_str()) == 0) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

int PortableDeviceManager_CL::DeviceCount() const {
  return static_cast<int>(devices_.size());
}

PortableDeviceManager_CL::Device_CL& PortableDeviceManager_CL::DeviceAt(int index) {
  return devices_.at(static_cast<size_t>(index));
}

} // namespace lumicrate
