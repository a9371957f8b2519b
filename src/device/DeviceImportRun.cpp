// Objects are handled one at a time through one temporary file per file name, so a phone of
// any size needs room for one photo in tmp. A device that goes away ends the run with an error
// instead of skipping every object after it and reporting success.
#include "device/DeviceImportRun.h"

#include <cerrno>
#include <cstdio>
#include <unistd.h>

#include "app/ActivityLog.h"
#include "app/AppContext.h"
#include "app/Progress_CL.h"
#include "device/NoticeSink.h"
#include "device/PortableDeviceManager_CL.h"
#include "import/DestinationLayout.h"
#include "import/DuplicateDetection.h"
#include "import/OutputFolderLock.h"

namespace lumicrate {
namespace {

std::string Format(const char* format, int a, int b = 0) {
  char text[260];
  std::snprintf(text, sizeof text, format, a, b);
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

HRESULT EndWithCopyFailure(HRESULT hr, const std::string& source, const std::filesystem::path& destination,
                           ImportReport& report) {
  Log().Write("ファイルのコピーに失敗しました。 0x%08x", static_cast<unsigned>(hr));
  Log().Write("コピー元 = %s", source.c_str());
  Log().Write("コピー先 = %s", destination.c_str());
  report.failedSource = source;
  report.failedDestination = destination;
  return hr;
}

} // namespace

HRESULT DeviceImportRun(AppContext& context, Progress_CL& progress, const std::filesystem::path& output,
                        NoticeSink& notices, const DeviceQuery& query, DeviceImportReport* report) {
  DeviceImportReport local;
  DeviceImportReport& count = report ? *report : local;
  count = {};

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
  hr = device.Open();
  if (Failed(hr)) {
    Log().Write("デバイスオープンに失敗(0x%08x)", static_cast<unsigned>(hr));
    return hr;
  }

  OutputFolderLock lock;
  const HRESULT locked = lock.Acquire(output, [&] {
    Log().Write("出力フォルダは別の取り込みが使用中のため終了を待ちます = %s", output.c_str());
    progress.SetText("別の取り込みの終了を待っています");
  });
  if (Failed(locked)) {
    Log().Write("出力フォルダのロックに失敗しました。 0x%08x", static_cast<unsigned>(locked));
  }
  context.BeginRun();
  std::error_code ignored;
  std::filesystem::create_directories(context.TempFolder, ignored);

  hr = device.CollectObjects([&](int found) { progress.SetText(Format("デバイスの内容を確認中( %d )", found)); });
  if (Failed(hr)) {
    Log().Write("オブジェクトの取得に失敗(0x%08x)", static_cast<unsigned>(hr));
    return hr;
  }
  std::vector<DeviceObject>& objects = device.Objects();
  const int n = static_cast<int>(objects.size());
  count.inputFiles = n;
  progress.AddTotal(n);
  Log().Write("入力ファイルの数   = %d", n);

  int processed = 0;
  for (DeviceObject& object : objects) {
    hr = object.ReadProperties();
    const std::string& name = object.Props().fileName;
    if (Succeeded(hr) && IsPlainFileName(name) && context.IsImportTarget(name)) {
      const std::filesystem::path temporary = context.TempFolder / name;
      hr = object.SaveToFile(temporary);
      if (Succeeded(hr)) {
        if (IsDuplicate(context, output, temporary)) {
          ++count.duplicates;
        } else {
          std::filesystem::path destination;
          hr = PlaceAndCopy(context, output, temporary, destination);
          if (Failed(hr)) {
            EndWithCopyFailure(hr, temporary, destination, count);
            SyncFileSystem(output);
            return hr;
          }
          RegisterFile(context, destination);
          ++count.copiedFiles;
        }
        // The next object of the same name gets a new file at this path: its date must not
        // come from what was remembered of this one.
        context.CaptureDates.Clear();
      } else if (IsLocalWriteFailure(hr)) {
        ::unlink(temporary.c_str());
        SyncFileSystem(output);
        return EndWithCopyFailure(hr, object.ObjectId(), temporary, count);
      }
      ::unlink(temporary.c_str());
    }
    if (Failed(hr) && !device.IsReachable()) {
      Log().Write("オブジェクトの取得に失敗(0x%08x)", static_cast<unsigned>(hr));
      SyncFileSystem(output);
      return hr;
    }
    ++processed;
    progress.AddPosition(1);
    progress.SetText(Format("写真の取り込み中( %d / %d )", processed, n));
  }

  hr = device.Close();
  if (Failed(hr)) {
    Log().Write("デバイスクローズに失敗(0x%08x)", static_cast<unsigned>(hr));
    SyncFileSystem(output);
    return hr;
  }
  Log().Write("重複ファイルの数   = %d", count.duplicates);
  Log().Write("コピーファイルの数 = %d", count.copiedFiles);
  const HRESULT synced = SyncFileSystem(output);
  if (Failed(synced)) {
    Log().Write("出力フォルダへの書き込みの確定に失敗しました。 0x%08x", static_cast<unsigned>(synced));
  }
  if (count.duplicates == 0 && count.copiedFiles == 0) {
    notices.ShowNotice(kNoticeCaption, kNoPhotosNotice);
  }
  return synced;
}

} // namespace lumicrate
