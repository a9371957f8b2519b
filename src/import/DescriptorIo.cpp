// Reads behave as the reader's memory and file access do: a read past the end returns what is
// there and sets eof, a seek past the end fails. A file that shrinks while it is read ends
// early, the reader finds its data cut and the file falls back to its modification time.
#include "import/DescriptorIo.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/mman.h>

#include "platform/ReadAt.h"

namespace lumicrate {
namespace {

// Enough for the first segments of a photo, where its EXIF data lies, in one read.
constexpr long kWindow = 16 * 1024;

} // namespace

DescriptorIo::DescriptorIo(int fd, std::int64_t size, std::string path)
    : fd_(fd), size_(static_cast<long>(size)), path_(std::move(path)) {}

DescriptorIo::~DescriptorIo() {
  munmap();
}

int DescriptorIo::open() {
  position_ = 0;
  eof_ = false;
  return 0;
}

int DescriptorIo::close() {
  return munmap();
}

long DescriptorIo::write(const Exiv2::byte* /*data*/, long /*count*/) {
  return 0;
}

long DescriptorIo::write(Exiv2::BasicIo& /*source*/) {
  return 0;
}

int DescriptorIo::putb(Exiv2::byte /*data*/) {
  return EOF;
}

void DescriptorIo::transfer(Exiv2::BasicIo& /*source*/) {
  throw Exiv2::Error(Exiv2::kerFunctionNotSupported, "DescriptorIo::transfer");
}

bool DescriptorIo::Fill(long position) {
  window_.resize(static_cast<size_t>(kWindow));
  const long n = ReadAt(fd_, window_.data(), static_cast<size_t>(kWindow), position);
  if (n < 0) {
    error_ = errno;
    window_.clear();
    return false;
  }
  window_.resize(static_cast<size_t>(n));
  windowStart_ = position;
  return true;
}

long DescriptorIo::read(Exiv2::byte* buffer, long count) {
  if (count <= 0) {
    return 0;
  }
  const long wanted = std::max(0L, std::min(count, size_ - position_));
  long done = 0;
  while (done < wanted) {
    const long at = position_ + done;
    const long windowEnd = windowStart_ + static_cast<long>(window_.size());
    if (at >= windowStart_ && at < windowEnd) {
      const long n = std::min(wanted - done, windowEnd - at);
      std::memcpy(buffer + done, window_.data() + (at - windowStart_), static_cast<size_t>(n));
      done += n;
    } else if (wanted - done >= kWindow) {
      // A large block (a preview, a whole segment) goes straight into the caller's buffer.
      const long want = wanted - done;
      const long n = ReadAt(fd_, buffer + done, static_cast<size_t>(want), at);
      if (n < 0) {
        error_ = errno;
        break;
      }
      done += n;
      if (n < want) {
        break; // the file ended before the size it had when it was opened
      }
    } else if (!Fill(at) || window_.empty()) {
      break;
    }
  }
  position_ += done;
  if (done < count) {
    eof_ = true;
  }
  return done;
}

Exiv2::DataBuf DescriptorIo::read(long count) {
  Exiv2::DataBuf buffer(count);
  buffer.size_ = read(buffer.pData_, count);
  return buffer;
}

int DescriptorIo::getb() {
  Exiv2::byte b = 0;
  return read(&b, 1) == 1 ? b : EOF;
}

int DescriptorIo::seek(long offset, Position from) {
  const long base = from == beg ? 0 : from == cur ? position_ : size_;
  const long target = base + offset;
  if (target < 0) {
    return 1;
  }
  if (target > size_) {
    eof_ = true;
    return 1;
  }
  position_ = target;
  eof_ = false;
  return 0;
}

Exiv2::byte* DescriptorIo::mmap(bool writeable) {
  if (writeable) {
    throw Exiv2::Error(Exiv2::kerFailedToMapFileForReadWrite, path_, std::strerror(EROFS));
  }
  if (!mapped_ && size_ > 0) {
    void* mapped = ::mmap(nullptr, static_cast<size_t>(size_), PROT_READ, MAP_PRIVATE, fd_, 0);
    if (mapped == MAP_FAILED) {
      throw Exiv2::Error(Exiv2::kerFailedToMapFileForReadWrite, path_, std::strerror(errno));
    }
    mapped_ = mapped;
  }
  return static_cast<Exiv2::byte*>(mapped_);
}

int DescriptorIo::munmap() {
  if (mapped_) {
    ::munmap(mapped_, static_cast<size_t>(size_));
    mapped_ = nullptr;
  }
  return 0;
}

long DescriptorIo::tell() const {
  return position_;
}

size_t DescriptorIo::size() const {
  return static_cast<size_t>(size_);
}

bool DescriptorIo::isopen() const {
  return true;
}

int DescriptorIo::error() const {
  return error_;
}

bool DescriptorIo::eof() const {
  return eof_;
}

std::string DescriptorIo::path() const {
  return path_;
}

} // namespace lumicrate
