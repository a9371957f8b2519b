// Portable devices over libgphoto2 (iPhones, cameras and phones over PTP/MTP, and cards or
// folders served as cameras): the device list, one device's object tree, an object into a file.
#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device/DeviceNames.h"
#include "device/DeviceQuery.h"
#include "device/Gphoto.h"
#include "device/ObjectType.h"
#include "platform/HResult.h"

namespace lumicrate {

// Logged and shown by the device run when another program still holds the device: on the
// Linux desktop that is usually the file manager's own camera mount.
inline constexpr char kDeviceInUseHint[] =
    "デバイスを他のプログラムが使用中です。ファイルマネージャーでこのデバイスを取り外す（マウントを解除する）か、"
    "「gio mount -s gphoto2」を実行してから、もう一度お試しください。";
bool IsDeviceInUse(HRESULT result);

// The id of the tree's root object.
inline constexpr char kRootObjectId[] = "DEVICE";

class PortableDeviceManager_CL {
public:
  class Device_CL;

  // extraDevices are listed after the devices libgphoto2 detects, in the given order.
  explicit PortableDeviceManager_CL(std::vector<DevicePort> extraDevices = {});
  ~PortableDeviceManager_CL();
  PortableDeviceManager_CL(const PortableDeviceManager_CL&) = delete;
  PortableDeviceManager_CL& operator=(const PortableDeviceManager_CL&) = delete;

  // Fills the device list with every device libgphoto2 detects (cameras and phones on USB,
  // mounted mass-storage cameras) and the extra devices.
  HRESULT EnumerateDevices();

  // The index of the first device whose description equals description without regard to case, or -1.
  int FindDeviceByDescription(std::string_view description) const;

  int DeviceCount() const;
  Device_CL& DeviceAt(int index);

private:
  std::vector<DevicePort> extraDevices_;
  std::vector<Device_CL> devices_;
};

// One object of an open device: the root "DEVICE", a storage, a folder or a file. Its ids are
// libgphoto2 paths ("/store_00010001/DCIM/100APPLE/IMG_0001.JPG"), stable while the device's
// content does not change.
class DeviceObject {
public:
  enum class Kind { Root, Storage, Folder, File };

  // Empty (or zero) until ReadProperties has run. Devices give one date per object through
  // libgphoto2, so the creation date is the modification date.
  struct Properties {
    std::string name;
    std::string parentId;
    std::string fileName; // files only: folders, storages and the root have none
    std::string persistentUniqueId;
    std::optional<std::time_t> dateCreated; // UTC
    std::optional<std::time_t> dateModified;
    Guid contentType;
    Guid format;
    std::string mimeType;
    std::optional<std::uint64_t> size;
  };

  // For a file, folder is the folder that holds it and leaf its name; for a folder or storage,
  // folder is its own path and leaf its name or description.
  DeviceObject(PortableDeviceManager_CL::Device_CL* owner, Kind kind, std::string objectId, std::string parentId,
               std::string folder, std::string leaf);

  const std::string& ObjectId() const { return objectId_; }
  Kind GetKind() const { return kind_; }
  const Properties& Props() const { return properties_; }

  HRESULT ReadProperties();

  // Replaces whatever is at path (never writing through it, as it may be a link) with the
  // object's data, then gives the file the device's modification date. A partly written file
  // stays behind on failure; removing it is the caller's business.
  HRESULT SaveToFile(const std::filesystem::path& path) const;

private:
  PortableDeviceManager_CL::Device_CL* owner_;
  Kind kind_;
  std::string objectId_;
  std::string parentId_;
  std::string folder_;
  std::string leaf_;
  Properties properties_;
};

class PortableDeviceManager_CL::Device_CL {
public:
  Device_CL(std::string deviceId, const CameraAbilities& abilities, DeviceNames names);
  ~Device_CL();
  // Moved only while closed and without objects, as the manager fills its list.
  Device_CL(Device_CL&&) noexcept = default;
  Device_CL& operator=(Device_CL&&) noexcept = default;

  const std::string& FriendlyName() const { return names_.friendlyName; }
  const std::string& Description() const { return names_.description; }
  const std::string& Manufacturer() const { return names_.manufacturer; }
  // The libgphoto2 port ("usb:001,005", "disk:/media/card").
  const std::string& DeviceId() const { return deviceId_; }
  bool IsOpen() const { return camera_ != nullptr; }

  HRESULT Open();

  // Replaces the object list with the whole tree in pre-order: the root, then each storage
  // followed by its files and folders, each folder followed by its own. A folder that cannot
  // be listed adds no children and the walk goes on; the result is the first such failure.
  // listed, when given, hears the number of objects found after each folder (a phone with
  // thousands of photos takes a while).
  HRESULT CollectObjects(const std::function<void(int found)>& listed = nullptr);
  std::vector<DeviceObject>& Objects() { return objects_; }

  // Whether the device still answers: after a failed download, tells a vanished device from
  // one unreadable object. A driver without storages cannot be asked and counts as answering.
  bool IsReachable();
  // Whether IsReachable can tell at all (the driver reports its storages).
  bool CanTellReachable() const { return hasStorageInfo_; }

  // 0, or libgphoto2's result of letting the device go; closing a closed device does nothing.
  HRESULT Close();

private:
  friend class DeviceObject;

  void VisitFolder(std::string folder, HRESULT& firstFailure, const std::function<void(int)>& listed);

  std::string deviceId_;
  CameraAbilities abilities_;
  DeviceNames names_;
  gphoto::ContextPtr context_;
  gphoto::CameraPtr camera_;
  bool hasStorageInfo_ = false;
  std::vector<DeviceObject> objects_;
};

} // namespace lumicrate
