// Comparison chunks grow from 64 KiB so that a small difference is found after little reading;
// they stop growing at 4 MiB, and the two buffers are kept per thread and reused, so memory
// stays small however large the files are.
#include "import/ContentCompare.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/FileDescriptor.h"
#include "platform/ReadAt.h"

namespace lumicrate {
namespace {

constexpr size_t kFirstChunk = 0x10000;
constexpr size_t kLargestChunk = 0x400000;
// The quick hash reads this much at either end of a file.
constexpr size_t kHashHalf = 256;

class ReadOnlyFile {
public:
  explicit ReadOnlyFile(const std::filesystem::path& path)
      : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {
    if (fd_.Valid()) {
      ::posix_fadvise(fd_.Get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    }
  }

  // The size of a regular file; false for anything else (a FIFO or a device never blocks us).
  bool Size(off_t& size) const {
    struct stat info {};
    if (!fd_.Valid() || ::fstat(fd_.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
      return false;
    }
    size = info.st_size;
    return true;
  }

  int Get() const { return fd_.Get(); }

private:
  FileDescriptor fd_;
};

} // namespace

std::uint64_t QuickHash(const std::filesystem::path& path) {
  const ReadOnlyFile file(path);
  off_t size = 0;
  return file.Size(size) ? QuickHash(file.Get(), size) : kUnreadableHash;
}

std::uint64_t QuickHash(int fd, std::int64_t size) {
  char halves[2 * kHashHalf] = {};
  const size_t half = static_cast<size_t>(std::min<std::int64_t>(size, kHashHalf));
  // A file shorter than 256 bytes is read twice, and the rest of each half stays zero.
  if (ReadAt(fd, halves, half, 0) < 0 || ReadAt(fd, halves + kHashHalf, half, size - static_cast<off_t>(half)) < 0) {
    return kUnreadableHash;
  }
  std::uint64_t h = static_cast<std::uint64_t>(size);
  for (const char c : halves) {
    h = h * 3 + static_cast<std::uint64_t>(static_cast<std::int64_t>(static_cast<signed char>(c)));
  }
  return h;
}

int SameContent(const std::filesystem::path& a, const std::filesystem::path& b) {
  const ReadOnlyFile fileA(a);
  const ReadOnlyFile fileB(b);
  off_t sizeA = 0;
  off_t sizeB = 0;
  if (!fileA.Size(sizeA) || !fileB.Size(sizeB) || sizeA != sizeB) {
    return 1;
  }
  thread_local std::vector<char> bufferA;
  thread_local std::vector<char> bufferB;
  size_t chunk = kFirstChunk;
  for (off_t offset = 0; offset < sizeA;) {
    const size_t n = static_cast<size_t>(std::min<off_t>(static_cast<off_t>(chunk), sizeA - offset));
    if (bufferA.size() < n) {
      bufferA.resize(n);
      bufferB.resize(n);
    }
    // A read that fails or comes up short (the file shrank) makes the files different.
    if (ReadAt(fileA.Get(), bufferA.data(), n, offset) != static_cast<ssize_t>(n) ||
        ReadAt(fileB.Get(), bufferB.data(), n, offset) != static_cast<ssize_t>(n) ||
        std::memcmp(bufferA.data(), bufferB.data(), n) != 0) {
      return 1;
    }
    offset += static_cast<off_t>(n);
    chunk = std::min(chunk * 2, kLargestChunk);
  }
  return 0;
}

} // namespace lumicrate
