// A file is a candidate when its extension is switched on and its capture date resolves;
// the date goes into the run's cache, so the later steps do not read the file for it again.
// Reading a file's EXIF data is most of the listing's time, so it is done on several threads.
#include "import/MyFindFile_CL.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "app/ActivityLog.h"
#include "app/AppContext.h"
#include "import/ContentCompare.h"
#include "platform/FileDescriptor.h"
#include "platform/WorkerPool.h"

namespace lumicrate {
namespace {

// A file up to this size is read once, whole, for its date, its hash and its size: a card of
// small photos would otherwise be opened several times a file. A larger one is left to the EXIF
// reader, which reads only the parts it needs.
constexpr off_t kReadWhole = off_t{256} << 10;

struct FileFacts {
  std::string exif;
  std::uint64_t hash = 0;
  std::int64_t size = 0;
};

// The whole of a small regular file, read from fd; false when it is larger, not a regular file,
// or shorter than fstat said (it is being cut), so that the caller reads it the long way.
bool ReadSmallFile(int fd, std::vector<char>& data) {
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > kReadWhole) {
    return false;
  }
  data.resize(static_cast<size_t>(info.st_size));
  for (size_t done = 0; done < data.size();) {
    const ssize_t n = ::pread(fd, data.data() + done, data.size() - done, static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n <= 0) {
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

FileFacts ReadFacts(const std::filesystem::path& path) {
  FileFacts facts;
  thread_local std::vector<char> data;
  const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.Valid() && ReadSmallFile(fd.Get(), data)) {
    facts.exif = ReadExifDateTimeOriginal(reinterpret_cast<const unsigned char*>(data.data()), data.size());
    facts.hash = QuickHash(data.data(), data.size());
    facts.size = static_cast<std::int64_t>(data.size());
    return facts;
  }
  facts.exif = ReadExifDateTimeOriginal(path);
  facts.hash = QuickHash(path);
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0) {
    facts.size = info.st_size;
  }
  return facts;
}

} // namespace

void MyFindFile_CL::FileFound(const std::filesystem::path& folder, const std::string& name) {
  std::filesystem::path path = folder / name;
  if (!context_.IsImportTarget(path)) {
    return;
  }
  CandidateFile candidate;
  candidate.path = std::move(path);
  candidates_.push_back(std::move(candidate));
}

void DateCandidates(AppContext& context, std::vector<CandidateFile>& candidates, WorkerPool& pool) {
  std::vector<std::future<FileFacts>> reads;
  reads.reserve(candidates.size());
  for (const CandidateFile& candidate : candidates) {
    reads.push_back(pool.Submit([path = candidate.path] { return ReadFacts(path); }));
  }
  size_t kept = 0;
  for (size_t i = 0; i < candidates.size(); ++i) {
    const FileFacts read = reads[i].get();
    CandidateFile& candidate = candidates[i];
    if (!context.CaptureDates.Resolve(candidate.path, candidate.captureDate, &read.exif)) {
      ActivityLog::Trace("取得失敗しました。");
      continue;
    }
    candidate.size = read.size;
    candidate.quickHash = read.hash;
    if (kept != i) {
      candidates[kept] = std::move(candidate);
    }
    ++kept;
  }
  candidates.resize(kept);
}

} // namespace lumicrate
