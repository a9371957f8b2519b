// The key is the path with the file's size, modification time, change time and inode, so a
// file rewritten under the same name (as the device run does in its temporary folder) never
// gets the date of the file that was there before.
#include "import/CaptureDateCache_CL.h"

#include <sys/stat.h>

#include "platform/FileTime.h"

namespace lumicrate {

int CaptureDateCache_CL::Resolve(const std::filesystem::path& path, CaptureDate& date, const std::string* exif) {
  const auto resolve = [&](CaptureDate& into) {
    return exif ? ResolveCaptureDate(path, *exif, into) : ResolveCaptureDate(path, into);
  };
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    return resolve(date);
  }
  {
    std::lock_guard lock(mutex_);
    const auto it = entries_.find(path.native());
    if (it != entries_.end() && it->second.size == info.st_size && it->second.inode == info.st_ino &&
        SameTime(it->second.modified, info.st_mtim) && SameTime(it->second.changed, info.st_ctim)) {
      date = it->second.date;
      return it->second.result;
    }
  }
  Entry entry{info.st_size, info.st_ino, info.st_mtim, info.st_ctim, 0, {}};
  entry.result = resolve(entry.date);
  date = entry.date;
  std::lock_guard lock(mutex_);
  entries_[path.native()] = entry;
  return entry.result;
}

void CaptureDateCache_CL::Clear() {
  std::lock_guard lock(mutex_);
  entries_.clear();
}

size_t CaptureDateCache_CL::Size() const {
  std::lock_guard lock(mutex_);
  return entries_.size();
}

} // namespace lumicrate
