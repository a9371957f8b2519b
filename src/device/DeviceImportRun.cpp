// Objects are handled one at a time through one temporary file per file name, so a phone of
// any size needs room for one photo in tmp. A device that goes away ends the run with an error
// instead of skipping every object after it and reporting success.
#include "device/DeviceImportRun.h"

#include <cerrno>
#include <cstdio>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

#include "app/ActivityLog.h"
#include "app/AppContext.h"
#include "app/Progress_CL.h"
#include "device/DesktopCameraMount.h"
#include "device/NoticeSink.h"
#include "device/PortableDeviceManager_CL.h"
#include "import/ContentCompare.h"
#include "import/CopyBatch_CL.h"
#include "import/ImportSteps.h"
#include "import/MyFindFile_CL.h"
#include "import/OutputFolderLock.h"
#include "platform/SyncFileSystem.h"
#include "platform/WorkerPool.h"

namespace lumicrate {
namespace {

std::string WalkText(int found) {
  char text[64];
  std::snprintf(text, sizeof text, "デバイスの内容を確認中( %d )", found);
  return text;
}

// A name a device reports is used as a file name in tmp only when it cannot point elsewhere.
bool IsPlainFileName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

// Failures of writing into tmp rather than of reading the device: every object after would fail
// the same way.
bool IsLocalWriteFailure(HRESULT hr) {
  if (hr == gphoto::ToHResult(GP_ERROR_IO_WRITE)) {
    return true;
  }
  const int err = ErrnoFromHResult(hr);
  return err == ENOSPC || err == EDQUOT || err == EROFS || err == EIO || err == EACCES || err == EPERM;
}

} // namespace

HRESULT DeviceImportRun(AppContext& context, Progress_CL& progress, const std::filesystem::path& output,
                        NoticeSink& notices, const DeviceQuery& query, DeviceImportReport* report) {
  DeviceImportReport local;
  DeviceImportReport& count = report ? *report : local;
  count = {};
  if (context.TempFolder.empty()) {
    // Start-up names tmp; without it the objects would land in the working folder.
    return E_INVALIDARG;
  }

  PortableDeviceManager_CL manager(query.extraDevices);
  HRESULT hr = manager.EnumerateDevices();
  if (Failed(hr)) {
    Log().Write("デバイスの取得に失敗(0x%08x)", static_cast<unsigned>(hr));
    return hr;
  }
  const int index = manager.FindDeviceByDescription(query.description);
  if (index < 0) {
    Log().Write("デバイス番号の取得に失敗(0x%08x)", static_cast<unsigned>(E_FAIL));
    return E_FAIL;
  }
  count.deviceFound = true;
  PortableDeviceManager_CL::Device_CL& device = manager.DeviceAt(index);
  hr = OpenReleasingDesktopMount([&] { return device.Open(); }, [&] { return ReleaseDesktopMount(device.DeviceId()); });
  if (Failed(hr)) {
    if (IsDeviceInUse(hr)) {
      // Only a person can let the device go now: they are told how.
      Log().WriteText(kDeviceInUseHint);
      notices.ShowNotice(kNoticeCaption, kDeviceInUseHint);
    }
    Log().Write("デバイスオープンに失敗(0x%08x)", static_cast<unsigned>(hr));
    return hr;
  }

  OutputFolderLock lock;
  LockOutputFolder(lock, output, progress);
  context.BeginRun();
  std::error_code ignored;
  std::filesystem::create_directories(context.TempFolder, ignored);

  hr = device.CollectObjects([&](int found) { progress.SetText(WalkText(found)); });
  // A folder the device refuses to list leaves out only what is in it; a device that went away
  // during the walk (or one that cannot say it is still there) would leave out everything
  // after, so that ends the run.
  if (Failed(hr) && !(device.CanTellReachable() && device.IsReachable())) {
    Log().Write("オブジェクトの取得に失敗(0x%08x)", static_cast<unsigned>(hr));
    return hr;
  }
  std::vector<DeviceObject>& objects = device.Objects();
  const int n = static_cast<int>(objects.size());
  count.inputFiles = n;
  progress.AddTotal(n);
  Log().Write("入力ファイルの数   = %d", n);

  // Objects come one by one through one temporary file, so nothing is read ahead; the pool only
  // serves the batch.
  WorkerPool pool(0);
  CopyBatch_CL batch(context, output, progress, count, n, pool, false);
  // Ends the run with failure: what came before is committed first, then note writes the
  // failure's log lines, where a run without batches writes them.
  const auto endRun = [&](HRESULT failure, const std::function<void()>& note) {
    const HRESULT committed = batch.Commit();
    if (Succeeded(committed) && note) {
      note();
    }
    SyncFileSystem(output);
    return Failed(committed) ? committed : failure;
  };
  int files = 0;
  int targets = 0;
  for (DeviceObject& object : objects) {
    hr = object.ReadProperties();
    const std::string& name = object.Props().fileName;
    if (object.GetKind() == DeviceObject::Kind::File) {
      ++files;
    }
    bool handled = false;
    if (Succeeded(hr) && IsPlainFileName(name) && context.IsImportTarget(name)) {
      ++targets;
      const std::filesystem::path temporary = context.TempFolder / name;
      hr = object.SaveToFile(temporary);
      if (Succeeded(hr)) {
        // The temporary file is ours to give away: on the output's file system it is linked
        // into place rather than written a second time.
        CandidateFile file;
        file.path = temporary;
        file.quickHash = QuickHash(temporary);
        struct stat info {};
        file.size = ::stat(temporary.c_str(), &info) == 0 ? info.st_size : 0;
        hr = ImportFile(context, output, batch, file, nullptr, Staging::LinkWhenPossible);
        if (Failed(hr)) {
          return hr;
        }
        handled = true;
        // The next object of the same name gets a new file at this path: its date must not
        // come from what was remembered of this one.
        context.CaptureDates.Clear();
      } else if (IsLocalWriteFailure(hr)) {
        ::unlink(temporary.c_str());
        return endRun(hr, [&] { NoteFailedCopy(hr, object.ObjectId(), temporary, count); });
      }
      ::unlink(temporary.c_str());
    }
    if (Failed(hr) && !device.IsReachable()) {
      return endRun(hr, [&] { Log().Write("オブジェクトの取得に失敗(0x%08x)", static_cast<unsigned>(hr)); });
    }
    if (!handled) {
      if (const HRESULT skipped = batch.AddSkipped(); Failed(skipped)) {
        return endRun(skipped, {});
      }
    }
  }
  if (const HRESULT committed = batch.Commit(); Failed(committed)) {
    return endRun(committed, {});
  }

  hr = device.Close();
  if (Failed(hr)) {
    Log().Write("デバイスクローズに失敗(0x%08x)", static_cast<unsigned>(hr));
    SyncFileSystem(output);
    return hr;
  }
  const HRESULT synced = FinishRun(count, output);
  // The trust question only explains a device that showed no files; files of kinds that are not
  // imported call for the extension tables instead. Files that were tried and could not be read
  // are in the log.
  if (count.duplicates == 0 && count.copiedFiles == 0 && (files == 0 || targets == 0)) {
    notices.ShowNotice(kNoticeCaption, files == 0 ? kNoPhotosNotice : kNoImportTargetsNotice);
  }
  return synced;
}

} // namespace lumicrate
