// copy_file_range lets the kernel copy (or share extents) without the data passing through
// us. Across file systems (a card to a disk) it refuses, and sendfile still copies inside the
// kernel, one pass over the data instead of the two of a read and a write; where neither is
// supported, a plain read/write loop does the work.
#include "import/StagedCopy_CL.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/FileDescriptor.h"
#include "platform/FileTime.h"

namespace lumicrate {
namespace {

constexpr std::string_view kTemporaryPrefix = ".lumicrate-";
constexpr std::string_view kTemporarySuffix = ".tmp";
constexpr size_t kRandomLength = 6;
constexpr size_t kChunk = size_t{1} << 30;
constexpr int kLinkAttempts = 100;
constexpr off_t kEarlyWriteback = off_t{1} << 20;

bool KernelCopyRefused(int err) {
  return err == EXDEV || err == EINVAL || err == EOPNOTSUPP || err == ENOSYS || err == EBADF;
}

// What a copy of a source that shrank while it was read ends with: the bytes it had when it was
// opened are no longer there to be read (a card pulled, a file cut by another program).
constexpr int kSourceChanged = EIO;

// Copies size bytes from offset on; returns 0 or an errno value.
int ReadWriteCopy(int in, int out, off_t offset, off_t size) {
  thread_local std::vector<char> buffer(size_t{1} << 20);
  while (offset < size) {
    const size_t want = static_cast<size_t>(std::min<off_t>(static_cast<off_t>(buffer.size()), size - offset));
    const ssize_t n = ::pread(in, buffer.data(), want, offset);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n < 0) {
      return errno;
    }
    if (n == 0) {
      return kSourceChanged;
    }
    for (ssize_t done = 0; done < n;) {
      const ssize_t w = ::pwrite(out, buffer.data() + done, static_cast<size_t>(n - done), offset + done);
      if (w < 0 && errno == EINTR) {
        continue;
      }
      if (w < 0) {
        return errno;
      }
      done += w;
    }
    offset += n;
  }
  return 0;
}

// Copies size bytes from the start of in to out's position (the start of a new file) with
// sendfile. Returns 0, an errno value, or -1 when sendfile cannot copy between these files at
// all, before anything was written.
int SendFileCopy(int in, int out, off_t size) {
  off_t offset = 0;
  while (offset < size) {
    const size_t want = static_cast<size_t>(std::min<off_t>(static_cast<off_t>(kChunk), size - offset));
    const ssize_t n = ::sendfile(out, in, &offset, want);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n < 0) {
      return offset == 0 && KernelCopyRefused(errno) ? -1 : errno;
    }
    if (n == 0) {
      return kSourceChanged;
    }
  }
  return 0;
}

// Copies exactly size bytes, the size the source had when it was opened; a source that ends
// sooner fails the copy. Returns 0 or an errno value.
int CopyData(int in, int out, off_t size) {
  off_t copied = 0;
  while (copied < size) {
    const size_t want = static_cast<size_t>(std::min<off_t>(static_cast<off_t>(kChunk), size - copied));
    const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, want, 0);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n < 0 && copied == 0 && KernelCopyRefused(errno)) {
      const int sent = SendFileCopy(in, out, size);
      return sent == -1 ? ReadWriteCopy(in, out, 0, size) : sent;
    }
    if (n < 0) {
      return errno;
    }
    if (n == 0) {
      return kSourceChanged;
    }
    copied += n;
  }
  return 0;
}

// The source still as it was opened: a file that grew, shrank or was rewritten while it was
// copied may have given bytes of two versions.
int CheckUnchanged(int in, const struct stat& opened) {
  struct stat now {};
  if (::fstat(in, &now) != 0) {
    return errno;
  }
  return now.st_size == opened.st_size && SameTime(now.st_mtim, opened.st_mtim) ? 0 : kSourceChanged;
}

// A fresh temporary name in folder, of the pattern mkostemps fills in.
std::string RandomTemporaryName(const std::filesystem::path& folder) {
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  thread_local std::mt19937 random{std::random_device{}()};
  std::uniform_int_distribution<size_t> pick(0, sizeof kLetters - 2);
  std::string name = (folder / kTemporaryPrefix).native();
  for (size_t i = 0; i < kRandomLength; ++i) {
    name.push_back(kLetters[pick(random)]);
  }
  return name + std::string(kTemporarySuffix);
}

} // namespace

StagedCopy_CL::~StagedCopy_CL() {
  if (!temporary_.empty()) {
    ::unlink(temporary_.c_str());
  }
}

bool StagedCopy_CL::IsTemporaryName(std::string_view name) {
  return name.size() == kTemporaryPrefix.size() + kRandomLength + kTemporarySuffix.size() &&
         name.starts_with(kTemporaryPrefix) && name.ends_with(kTemporarySuffix);
}

HRESULT StagedCopy_CL::Stage(const std::filesystem::path& source, const std::filesystem::path& folder) {
  // O_NONBLOCK: a FIFO put where a file was listed must not stop the run.
  const FileDescriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  struct stat info {};
  if (!in.Valid() || ::fstat(in.Get(), &info) != 0) {
    return HResultFromErrno(errno);
  }
  if (!S_ISREG(info.st_mode)) {
    return HResultFromErrno(EINVAL);
  }

  std::string name =
      (folder / kTemporaryPrefix).native() + std::string(kRandomLength, 'X') + std::string(kTemporarySuffix);
  FileDescriptor out(::mkostemps(name.data(), static_cast<int>(kTemporarySuffix.size()), O_CLOEXEC));
  if (!out.Valid()) {
    return HResultFromErrno(errno);
  }
  temporary_ = name;

  int err = CopyData(in.Get(), out.Get(), info.st_size);
  if (err == 0) {
    err = CheckUnchanged(in.Get(), info);
  }
  if (err == 0) {
    // Set-id bits from a card are not carried over; failures here (a file system without
    // Unix permissions) leave the copy as good as the file system allows.
    ::fchmod(out.Get(), info.st_mode & 0777);
    const timespec times[2] = {info.st_atim, info.st_mtim};
    ::futimens(out.Get(), times);
    // The disk starts on a large copy now, while the next files are copied, rather than all
    // at once at the batch's flush, which still waits for it. Small files are left to the
    // flush, where their writes go together. Only a hint: where the file system cannot, the
    // flush does it all.
    if (info.st_size >= kEarlyWriteback) {
      ::sync_file_range(out.Get(), 0, 0, SYNC_FILE_RANGE_WRITE);
    }
  }
  if (out.Close() != 0 && err == 0) {
    err = errno;
  }
  if (err != 0) {
    ::unlink(temporary_.c_str());
    temporary_.clear();
    return HResultFromErrno(err);
  }
  return S_OK;
}

HRESULT StagedCopy_CL::Stage(const std::filesystem::path& source, const std::filesystem::path& folder,
                             Staging staging) {
  if (staging == Staging::LinkWhenPossible) {
    for (int attempt = 0; attempt < kLinkAttempts; ++attempt) {
      std::string name = RandomTemporaryName(folder);
      if (::link(source.c_str(), name.c_str()) == 0) {
        temporary_ = std::move(name);
        return S_OK;
      }
      if (errno != EEXIST) {
        break;
      }
    }
  }
  // Another file system, or one without hard links (FAT, exFAT): a copy does the same.
  return Stage(source, folder);
}

HRESULT StagedCopy_CL::Place(const std::filesystem::path& destination) {
  if (::renameat2(AT_FDCWD, temporary_.c_str(), AT_FDCWD, destination.c_str(), RENAME_NOREPLACE) == 0) {
    temporary_.clear();
    return S_OK;
  }
  if (errno != EINVAL && errno != ENOSYS) {
    return HResultFromErrno(errno);
  }
  // A file system without the no-replace rename: a hard link also fails on a taken name.
  if (::link(temporary_.c_str(), destination.c_str()) != 0) {
    return HResultFromErrno(errno);
  }
  ::unlink(temporary_.c_str());
  temporary_.clear();
  return S_OK;
}

} // namespace lumicrate
