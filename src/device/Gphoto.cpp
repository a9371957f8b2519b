// libgphoto2 results map onto Windows error numbers, so device failures read in the log like
// every other failure of the program.
#include "device/Gphoto.h"

namespace lumicrate::gphoto {
namespace {

constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001);

// Windows error numbers used below.
constexpr std::int32_t kFileNotFound = 2;
constexpr std::int32_t kPathNotFound = 3;
constexpr std::int32_t kCrc = 23;
constexpr std::int32_t kWriteFault = 29;
constexpr std::int32_t kReadFault = 30;
constexpr std::int32_t kSharingViolation = 32;
constexpr std::int32_t kFileExists = 80;
constexpr std::int32_t kDiskFull = 112;
constexpr std::int32_t kBadPathname = 161;
constexpr std::int32_t kBusy = 170;
constexpr std::int32_t kAlreadyExists = 183;
constexpr std::int32_t kIoDevice = 1117;
constexpr std::int32_t kDeviceNotConnected = 1167;
constexpr std::int32_t kCancelled = 1223;
constexpr std::int32_t kTimeout = 1460;

} // namespace

std::unique_lock<std::mutex> LockDrivers() {
  static std::mutex drivers;
  return std::unique_lock(drivers);
}

ContextPtr NewContext() {
  return ContextPtr(gp_context_new());
}

ListPtr NewList() {
  CameraList* list = nullptr;
  if (gp_list_new(&list) < GP_OK) {
    return nullptr;
  }
  return ListPtr(list);
}

int LoadAbilities(AbilitiesListPtr& abilities, GPContext* context) {
  CameraAbilitiesList* list = nullptr;
  int result = gp_abilities_list_new(&list);
  if (result < GP_OK) {
    return result;
  }
  abilities.reset(list);
  result = gp_abilities_list_load(list, context);
  return result < GP_OK ? result : GP_OK;
}

int LoadPorts(PortInfoListPtr& ports) {
  GPPortInfoList* list = nullptr;
  int result = gp_port_info_list_new(&list);
  if (result < GP_OK) {
    return result;
  }
  ports.reset(list);
  result = gp_port_info_list_load(list);
  return result < GP_OK ? result : GP_OK;
}

HRESULT ToHResult(int result) {
  switch (result) {
  case GP_ERROR_NO_MEMORY:
    return E_OUTOFMEMORY;
  case GP_ERROR_NOT_SUPPORTED:
    return E_NOTIMPL;
  case GP_ERROR_BAD_PARAMETERS:
    return E_INVALIDARG;
  case GP_ERROR_TIMEOUT:
    return HResultFromWin32(kTimeout);
  case GP_ERROR_IO_USB_CLAIM:
  case GP_ERROR_IO_LOCK:
    return HResultFromWin32(kSharingViolation);
  case GP_ERROR_CAMERA_BUSY:
    return HResultFromWin32(kBusy);
  case GP_ERROR_IO_USB_FIND:
  case GP_ERROR_MODEL_NOT_FOUND:
  case GP_ERROR_UNKNOWN_PORT:
    return HResultFromWin32(kDeviceNotConnected);
  case GP_ERROR_IO_READ:
    return HResultFromWin32(kReadFault);
  case GP_ERROR_IO_WRITE:
    return HResultFromWin32(kWriteFault);
  case GP_ERROR_IO:
  case GP_ERROR_IO_INIT:
  case GP_ERROR_IO_UPDATE:
  case GP_ERROR_IO_USB_CLEAR_HALT:
  case GP_ERROR_IO_SERIAL_SPEED:
  case GP_ERROR_IO_SUPPORTED_SERIAL:
  case GP_ERROR_IO_SUPPORTED_USB:
    return HResultFromWin32(kIoDevice);
  case GP_ERROR_FILE_NOT_FOUND:
    return HResultFromWin32(kFileNotFound);
  case GP_ERROR_DIRECTORY_NOT_FOUND:
    return HResultFromWin32(kPathNotFound);
  case GP_ERROR_FILE_EXISTS:
    return HResultFromWin32(kFileExists);
  case GP_ERROR_DIRECTORY_EXISTS:
    return HResultFromWin32(kAlreadyExists);
  case GP_ERROR_CORRUPTED_DATA:
    return HResultFromWin32(kCrc);
  case GP_ERROR_PATH_NOT_ABSOLUTE:
    return HResultFromWin32(kBadPathname);
  case GP_ERROR_CANCEL:
    return HResultFromWin32(kCancelled);
  case GP_ERROR_NO_SPACE:
    return HResultFromWin32(kDiskFull);
  default:
    return result >= GP_OK ? S_OK : E_FAIL;
  }
}

} // namespace lumicrate::gphoto
