// An object's properties from what libgphoto2 knows of it, and its data into a local file
// stamped with the device's date.
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/ActivityLog.h"
#include "device/PortableDeviceManager_CL.h"

namespace lumicrate {
namespace {

constexpr std::int32_t kHandleEof = 38;

HRESULT NotOpen() {
  return gphoto::ToHResult(GP_ERROR_BAD_PARAMETERS);
}

void PrintCopyFailure(const char* format, std::uint64_t bytes, HRESULT hr) {
  std::printf(format, static_cast<int>(bytes), static_cast<unsigned long>(static_cast<std::uint32_t>(hr)));
  std::fflush(stdout);
}

} // namespace

DeviceObject::DeviceObject(PortableDeviceManager_CL::Device_CL* owner, Kind kind, std::string objectId,
                           std::string parentId, std::string folder, std::string leaf)
    : owner_(owner), kind_(kind), objectId_(std::move(objectId)), parentId_(std::move(parentId)),
      folder_(std::move(folder)), leaf_(std::move(leaf)) {}

HRESULT DeviceObject::ReadProperties() {
  Properties properties;
  properties.name = leaf_;
  properties.parentId = parentId_;
  properties.persistentUniqueId = objectId_;
  if (kind_ != Kind::File) {
    properties.contentType = kind_ == Kind::Folder ? content_type::kFolder : content_type::kFunctionalObject;
    properties.format = object_format::kPropertiesOnly;
    properties_ = std::move(properties);
    return S_OK;
  }
  if (!owner_->IsOpen()) {
    return NotOpen();
  }
  CameraFileInfo info{};
  const int result =
      gp_camera_file_get_info(owner_->camera_.get(), folder_.c_str(), leaf_.c_str(), &info, owner_->context_.get());
  if (result < GP_OK) {
    return gphoto::ToHResult(result);
  }
  properties.fileName = leaf_;
  if (info.file.fields & GP_FILE_INFO_TYPE) {
    properties.mimeType = info.file.type;
  }
  if (info.file.fields & GP_FILE_INFO_MTIME) {
    properties.dateCreated = info.file.mtime;
    properties.dateModified = info.file.mtime;
  }
  if (info.file.fields & GP_FILE_INFO_SIZE) {
    properties.size = info.file.size;
  }
  properties.contentType = ContentTypeForMime(properties.mimeType);
  properties.format = FormatForMime(properties.mimeType);
  properties_ = std::move(properties);
  return S_OK;
}

HRESULT DeviceObject::SaveToFile(const std::filesystem::path& path) const {
  if (kind_ != Kind::File) {
    return gphoto::ToHResult(GP_ERROR_NOT_SUPPORTED);
  }
  if (!owner_->IsOpen()) {
    return NotOpen();
  }
  if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
    return HResultFromErrno(errno);
  }
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) {
    return HResultFromErrno(errno);
  }
  // libgphoto2 writes through a file of its own and closes it; this one stays for the checks.
  const int libraryFd = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
  CameraFile* raw = nullptr;
  int result = libraryFd < 0 ? GP_ERROR_IO : gp_file_new_from_fd(&raw, libraryFd);
  if (result < GP_OK && libraryFd >= 0) {
    ::close(libraryFd);
  }
  gphoto::FilePtr file(raw);
  if (result >= GP_OK) {
    result = gp_camera_file_get(owner_->camera_.get(), folder_.c_str(), leaf_.c_str(), GP_FILE_TYPE_NORMAL, file.get(),
                                owner_->context_.get());
  }
  file.reset();

  const std::uint64_t expected = properties_.size.value_or(0);
  HRESULT hr = S_OK;
  struct stat written {};
  if (result < GP_OK) {
    hr = gphoto::ToHResult(result);
    PrintCopyFailure(result == GP_ERROR_IO_WRITE
                         ? "! Failed to write %d bytes of object data to the destination stream, hr = 0x%lx\n"
                         : "! Failed to read %d bytes from the source stream, hr = 0x%lx\n",
                     expected, hr);
  } else if (::fstat(fd, &written) != 0) {
    hr = HResultFromErrno(errno);
  } else if (static_cast<std::uint64_t>(written.st_size) < expected) {
    // Some drivers stop at a read or write error and still report success: fewer bytes than the
    // device announced is a failed copy, never a photo to import.
    hr = HResultFromWin32(kHandleEof);
    PrintCopyFailure("! Failed to read %d bytes from the source stream, hr = 0x%lx\n",
                     expected - static_cast<std::uint64_t>(written.st_size), hr);
  }
  if (Succeeded(hr) && properties_.dateModified) {
    const timespec times[2] = {{*properties_.dateModified, 0}, {*properties_.dateModified, 0}};
    if (::futimens(fd, times) != 0) {
      hr = HResultFromErrno(errno);
      Log().Write("%s", path.c_str());
      Log().Write("SetFileTime失敗 = 0x%08x", static_cast<unsigned>(hr));
    }
  }
  if (::close(fd) != 0 && Succeeded(hr)) {
    hr = HResultFromErrno(errno);
  }
  return hr;
}

} // namespace lumicrate
