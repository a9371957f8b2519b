// syncfs flushes the whole file system at once: cheaper than a flush per file when a run has
// written hundreds of them, and it covers the folders' entries as well as the data.
#include "platform/SyncFileSystem.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include "platform/FileDescriptor.h"

namespace lumicrate {

HRESULT SyncFileSystem(const std::filesystem::path& folder) {
  const FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!fd.Valid()) {
    return HResultFromErrno(errno);
  }
  return ::syncfs(fd.Get()) == 0 ? S_OK : HResultFromErrno(errno);
}

} // namespace lumicrate
