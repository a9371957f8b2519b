// A run stops at the first failed copy: a full disk or a lost output drive would fail every
// file after it too. What was copied before stays copied, and is flushed to disk either way.
#include "import/FolderImportRun.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

#include "app/ActivityLog.h"
#include "app/AppContext.h"
#include "app/Progress_CL.h"
#include "import/ImportSteps.h"
#include "import/MyFindFile_CL.h"
#include "import/OutputFolderLock.h"

namespace lumicrate {

HRESULT SyncFileSystem(const std::filesystem::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    return HResultFromErrno(errno);
  }
  const int result = ::syncfs(fd);
  const int err = errno;
  ::close(fd);
  return result == 0 ? S_OK : HResultFromErrno(err);
}

HRESULT FolderImportRun(AppContext& context, Progress_CL& progress, const std::filesystem::path& source,
                        const std::filesystem::path& output, ImportReport* report) {
  ImportReport local;
  ImportReport& count = report ? *report : local;
  count = {};

  OutputFolderLock lock;
  LockOutputFolder(lock, output, progress);
  context.BeginRun();

  std::vector<CandidateFile> candidates;
  MyFindFile_CL finder(context, candidates);
  finder.ExcludedFolders.push_back(output);
  finder.Walk(source, true);

  const int n = static_cast<int>(candidates.size());
  count.inputFiles = n;
  progress.AddTotal(n);
  std::int64_t bytes = 0;
  for (const CandidateFile& candidate : candidates) {
    bytes += candidate.size;
  }
  progress.AddByteTotal(bytes);
  Log().Write("入力ファイルの数   = %d", n);

  int k = 0;
  for (CandidateFile& candidate : candidates) {
    ++k;
    if (const HRESULT hr = ImportFile(context, output, candidate.path, count, &candidate.duplicate); Failed(hr)) {
      return hr;
    }
    progress.AddBytes(candidate.size);
    AdvanceProgress(progress, k, n);
  }
  return FinishRun(count, output);
}

} // namespace lumicrate
