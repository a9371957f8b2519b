// A run stops at the first failed copy: a full disk or a lost output drive would fail every
// file after it too. What was copied before stays copied, and is flushed to disk either way.
#include "import/FolderImportRun.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

#include "app/ActivityLog.h"
#include "app/AppContext.h"
#include "app/Progress_CL.h"
#include "import/DestinationLayout.h"
#include "import/DuplicateDetection.h"
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
  const HRESULT locked = lock.Acquire(output, [&] {
    Log().Write("出力フォルダは別の取り込みが使用中のため終了を待ちます = %s", output.c_str());
    progress.SetText("別の取り込みの終了を待っています");
  });
  if (Failed(locked)) {
    // Only a run in this folder at the same time could collide; going on unlocked is better
    // than refusing to import where no lock can be taken.
    Log().Write("出力フォルダのロックに失敗しました。 0x%08x", static_cast<unsigned>(locked));
  }
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
    if (IsDuplicate(context, output, candidate.path)) {
      candidate.duplicate = 1;
      ++count.duplicates;
    } else {
      std::filesystem::path destination;
      const HRESULT hr = PlaceAndCopy(context, output, candidate.path, destination);
      if (Failed(hr)) {
        Log().Write("ファイルのコピーに失敗しました。 0x%08x", static_cast<unsigned>(hr));
        Log().Write("コピー元 = %s", candidate.path.c_str());
        Log().Write("コピー先 = %s", destination.c_str());
        count.failedSource = candidate.path;
        count.failedDestination = destination;
        SyncFileSystem(output);
        return hr;
      }
      RegisterFile(context, destination);
      ++count.copiedFiles;
    }
    progress.AddBytes(candidate.size);
    progress.AddPosition(1);
    char text[128];
    std::snprintf(text, sizeof text, "写真の取り込み中( %d / %d )", k, n);
    progress.SetText(text);
  }

  Log().Write("重複ファイルの数   = %d", count.duplicates);
  Log().Write("コピーファイルの数 = %d", count.copiedFiles);
  const HRESULT synced = SyncFileSystem(output);
  if (Failed(synced)) {
    Log().Write("出力フォルダへの書き込みの確定に失敗しました。 0x%08x", static_cast<unsigned>(synced));
  }
  return synced;
}

} // namespace lumicrate
