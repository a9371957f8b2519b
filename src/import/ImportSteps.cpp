// Shared by the folder run and the device run, so that both skip, copy, log, count and stop
// alike; only where their files come from differs.
#include "import/ImportSteps.h"

#include <cstdio>

#include "app/ActivityLog.h"
#include "app/Progress_CL.h"
#include "import/CopyBatch_CL.h"
#include "import/DuplicateDetection.h"
#include "import/FolderImportRun.h"
#include "import/MyFindFile_CL.h"
#include "import/OutputFolderLock.h"
#include "import/StagingFolder.h"
#include "platform/SyncFileSystem.h"

namespace lumicrate {

void LockOutputFolder(OutputFolderLock& lock, const std::filesystem::path& output, Progress_CL& progress) {
  const HRESULT locked = lock.Acquire(output, [&] {
    Log().Write("出力フォルダは別の取り込みが使用中のため終了を待ちます = %s", output.c_str());
    progress.SetText("別の取り込みの終了を待っています");
  });
  if (Failed(locked)) {
    // Only a run in this folder at the same time could collide; going on unlocked is better
    // than refusing to import where no lock can be taken.
    Log().Write("出力フォルダのロックに失敗しました。 0x%08x", static_cast<unsigned>(locked));
    return;
  }
  // Whatever a killed run left goes now, whether or not this run copies anything.
  RemoveStagingFolder(output);
}

void NoteFailedCopy(HRESULT hr, const std::string& source, const std::filesystem::path& destination,
                    ImportReport& report) {
  Log().Write("ファイルのコピーに失敗しました。 0x%08x", static_cast<unsigned>(hr));
  Log().Write("コピー元 = %s", source.c_str());
  Log().Write("コピー先 = %s", destination.c_str());
  report.failedSource = source;
  report.failedDestination = destination;
}

HRESULT ImportFile(AppContext& context, const std::filesystem::path& output, CopyBatch_CL& batch, CandidateFile& file,
                   DateFolderScans* scans, Staging staging) {
  HRESULT hr;
  // A listed file was dated when the list was made; a device object is dated here.
  const CaptureDate* date = file.dated ? &file.captureDate : nullptr;
  if (IsDuplicate(context, output, file.path, &file.quickHash, scans, date)) {
    file.duplicate = 1;
    hr = batch.AddDuplicate(file.size, file.path);
  } else {
    hr = batch.AddCopy(file.path, file.quickHash, file.size, staging, date);
  }
  if (Failed(hr)) {
    SyncFileSystem(output);
  }
  return hr;
}

void AdvanceProgress(Progress_CL& progress, int k, int n) {
  progress.AddPosition(1);
  char text[128];
  std::snprintf(text, sizeof text, "写真の取り込み中( %d / %d )", k, n);
  progress.SetText(text);
}

HRESULT FinishRun(const ImportReport& report, const std::filesystem::path& output) {
  Log().Write("重複ファイルの数   = %d", report.duplicates);
  Log().Write("コピーファイルの数 = %d", report.copiedFiles);
  const HRESULT synced = SyncFileSystem(output);
  if (Failed(synced)) {
    Log().Write("出力フォルダへの書き込みの確定に失敗しました。 0x%08x", static_cast<unsigned>(synced));
  }
  return synced;
}

} // namespace lumicrate
