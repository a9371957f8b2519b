// Shared by the folder run and the device run, so that both skip, copy, log, count and stop
// alike; only where their files come from differs.
#include "import/ImportSteps.h"

#include <cstdio>

#include "app/ActivityLog.h"
#include "app/Progress_CL.h"
#include "import/DestinationLayout.h"
#include "import/DuplicateDetection.h"
#include "import/FolderImportRun.h"
#include "import/OutputFolderLock.h"

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
  }
}

void NoteFailedCopy(HRESULT hr, const std::string& source, const std::filesystem::path& destination,
                    ImportReport& report) {
  Log().Write("ファイルのコピーに失敗しました。 0x%08x", static_cast<unsigned>(hr));
  Log().Write("コピー元 = %s", source.c_str());
  Log().Write("コピー先 = %s", destination.c_str());
  report.failedSource = source;
  report.failedDestination = destination;
}

HRESULT ImportFile(AppContext& context, const std::filesystem::path& output, const std::filesystem::path& source,
                   ImportReport& report, std::int32_t* duplicate, Staging staging) {
  if (IsDuplicate(context, output, source)) {
    if (duplicate) {
      *duplicate = 1;
    }
    ++report.duplicates;
    return S_OK;
  }
  std::filesystem::path destination;
  const HRESULT hr = PlaceAndCopy(context, output, source, destination, staging);
  if (Failed(hr)) {
    NoteFailedCopy(hr, source, destination, report);
    SyncFileSystem(output);
    return hr;
  }
  RegisterFile(context, destination);
  ++report.copiedFiles;
  return S_OK;
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
