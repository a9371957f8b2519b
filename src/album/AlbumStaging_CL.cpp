// renameat2 with RENAME_EXCHANGE swaps the two folders in one step of the file system, so a
// kill or a power cut at any moment leaves one whole album under the name PhotoAlbum.
#include "album/AlbumStaging_CL.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>

#include "album/FolderTree.h"
#include "platform/SyncFileSystem.h"

namespace lumicrate {

AlbumStaging_CL::AlbumStaging_CL(const std::filesystem::path& albumFolder)
    : album_(albumFolder), staging_(albumFolder.parent_path() / kStagingName),
      retired_(albumFolder.parent_path() / kRetiredName) {}

HRESULT AlbumStaging_CL::RemoveLeftovers() const {
  for (const std::filesystem::path& folder : {staging_, retired_}) {
    struct stat info {};
    if (::lstat(folder.c_str(), &info) == 0) {
      const HRESULT hr = DeleteFolderTree(folder);
      if (hr != S_OK) {
        return hr;
      }
    }
  }
  return S_OK;
}

HRESULT AlbumStaging_CL::PutInPlace() const {
  const HRESULT synced = SyncFileSystem(staging_);
  if (synced != S_OK) {
    return synced;
  }
  if (::renameat2(AT_FDCWD, staging_.c_str(), AT_FDCWD, album_.c_str(), RENAME_EXCHANGE) == 0) {
    return S_OK;
  }
  if (errno == ENOENT) {
    return ::rename(staging_.c_str(), album_.c_str()) == 0 ? S_OK : HResultFromErrno(errno);
  }
  if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) {
    return HResultFromErrno(errno);
  }
  // A file system that cannot exchange (exFAT, some FUSE ones): the old album steps aside first,
  // so for a moment there is none, but never a partial one.
  if (::rename(album_.c_str(), retired_.c_str()) != 0) {
    return HResultFromErrno(errno);
  }
  if (::rename(staging_.c_str(), album_.c_str()) != 0) {
    const int err = errno;
    ::rename(retired_.c_str(), album_.c_str());
    return HResultFromErrno(err);
  }
  return S_OK;
}

} // namespace lumicrate
