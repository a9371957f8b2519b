// A file is a candidate when its extension is switched on and its capture date resolves;
// the date goes into the run's cache, so the later steps do not read the file for it again.
// Reading a file's EXIF data is most of the listing's time, so it is done on several threads.
#include "import/MyFindFile_CL.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/ActivityLog.h"
#include "app/AppContext.h"
#include "import/ContentCompare.h"
#include "platform/FileDescriptor.h"
#include "platform/WorkerPool.h"

namespace lumicrate {
namespace {

struct FileFacts {
  std::string exif;
  std::uint64_t hash = 0;
  std::int64_t size = 0;
};

// One open for the EXIF date, the quick hash and the size: through the reader's own file access
// a photo would be opened four times.
FileFacts ReadFacts(const std::filesystem::path& path) {
  FileFacts facts;
  const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  struct stat info {};
  if (fd.Valid() && ::fstat(fd.Get(), &info) == 0 && S_ISREG(info.st_mode)) {
    facts.exif = ReadExifDateTimeOriginal(fd.Get(), info.st_size, path);
    facts.hash = QuickHash(fd.Get(), info.st_size);
    facts.size = info.st_size;
    return facts;
  }
  // What cannot be opened as a regular file has no date to read and no content to match; its
  // size still counts for the progress, and its copy fails with the reason.
  facts.hash = kUnreadableHash;
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

void DateCandidates(AppContext& context, std::vector<CandidateFile>& candidates, WorkerPool& pool,
                    const std::function<void(const CandidateFile&)>& dated) {
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
    candidate.dated = true;
    if (dated) {
      dated(candidate);
    }
    if (kept != i) {
      candidates[kept] = std::move(candidate);
    }
    ++kept;
  }
  candidates.resize(kept);
}

} // namespace lumicrate
