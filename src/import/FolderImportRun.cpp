// A run stops at the first failed copy: a full disk or a lost output drive would fail every
// file after it too. What was copied before stays copied, and is flushed to disk either way.
#include "import/FolderImportRun.h"

#include <array>
#include <set>
#include <utility>
#include <vector>

#include "app/ActivityLog.h"
#include "app/AppContext.h"
#include "app/Progress_CL.h"
#include "import/CopyBatch_CL.h"
#include "import/DestinationLayout.h"
#include "import/DuplicateDetection.h"
#include "import/ImportSteps.h"
#include "import/MyFindFile_CL.h"
#include "import/OutputFolderLock.h"
#include "platform/SyncFileSystem.h"
#include "platform/WorkerPool.h"

namespace lumicrate {

HRESULT FolderImportRun(AppContext& context, Progress_CL& progress, const std::filesystem::path& source,
                        const std::filesystem::path& output, ImportReport* report) {
  ImportReport local;
  ImportReport& count = report ? *report : local;
  count = {};

  OutputFolderLock lock;
  LockOutputFolder(lock, output, progress);
  context.BeginRun();

  // Copies run one at a time and in order, so that a disk that fills up fails the same file as
  // a run without threads; reading ahead runs on several threads.
  const bool serial = context.ImportThreads == 1;
  WorkerPool pool(serial                      ? 0
                  : context.ImportThreads > 0 ? static_cast<unsigned>(context.ImportThreads)
                                              : WorkerPool::DefaultThreads());
  WorkerPool copier(serial ? 0 : 1);
  std::vector<CandidateFile> candidates;
  MyFindFile_CL finder(context, candidates);
  finder.ExcludedFolders.push_back(output);
  finder.Walk(source, true);

  CopyBatch_CL batch(context, output, progress, count, 0, copier, true);
  // While the files are still being dated, the first ones are staged already when nothing of
  // their date is in the output, so the copier starts before the listing ends. Only files from
  // the start of the list, and none that looks like one staged before: copies still run in
  // file order, and a card imported before is not copied ahead for nothing.
  bool ahead = true;
  std::set<std::array<std::uint16_t, 3>> newDates;
  std::set<std::pair<std::uint64_t, std::int64_t>> stagedAhead;
  DateCandidates(context, candidates, pool, [&](const CandidateFile& file) {
    if (!ahead) {
      return;
    }
    const auto date = LayoutDate(file.captureDate, context.OutputFormatType);
    if (!newDates.contains(date)) {
      std::error_code ec;
      if (std::filesystem::exists(output / DateFolderName(file.captureDate, context.OutputFormatType), ec) || ec) {
        ahead = false;
        return;
      }
      newDates.insert(date);
    }
    ahead = stagedAhead.emplace(file.quickHash, file.size).second && batch.Prestage(file.path, file.size);
  });

  const int n = static_cast<int>(candidates.size());
  count.inputFiles = n;
  progress.AddTotal(n);
  std::int64_t bytes = 0;
  for (const CandidateFile& candidate : candidates) {
    bytes += candidate.size;
  }
  progress.AddByteTotal(bytes);
  Log().Write("入力ファイルの数   = %d", n);

  // The date folders are scanned ahead, in the order the files will need them.
  DateFolderScans scans(pool);
  for (const CandidateFile& candidate : candidates) {
    scans.Start(context, output, candidate.captureDate);
  }
  batch.SetTotal(n);
  for (CandidateFile& candidate : candidates) {
    if (const HRESULT hr = ImportFile(context, output, batch, candidate, &scans); Failed(hr)) {
      return hr;
    }
  }
  if (const HRESULT hr = batch.Commit(); Failed(hr)) {
    SyncFileSystem(output);
    return hr;
  }
  return FinishRun(count, output);
}

} // namespace lumicrate
