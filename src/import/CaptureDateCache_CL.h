// Each file's capture date resolved once per run: the listing, the duplicate test and the
// copy all ask for it, and only the first asks exiv2 and the file system.
#pragma once

#include <ctime>
#include <filesystem>
#include <map>
#include <mutex>
#include <sys/types.h>

#include "import/CaptureDate.h"

namespace lumicrate {

class CaptureDateCache_CL {
public:
  // Same result, date and log lines as ResolveCaptureDate, logged only the first time. A
  // file changed since (other size, times or inode) is resolved afresh.
  // exif, when given, is the file's EXIF text read beforehand.
  int Resolve(const std::filesystem::path& path, CaptureDate& date, const std::string* exif = nullptr);
  void Clear();
  size_t Size() const;

private:
  struct Entry {
    off_t size = 0;
    ino_t inode = 0;
    timespec modified{};
    timespec changed{};
    int result = 0;
    CaptureDate date;
  };

  mutable std::mutex mutex_;
  std::map<std::string, Entry> entries_;
};

} // namespace lumicrate
