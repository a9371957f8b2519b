// The output folder is made before the run, so that one that cannot be made is reported as
// such and not as a copy or page that found no folder to go into.
#include "app/SelectedRun.h"

#include "album/BuildAlbum.h"
#include "app/ActivityLog.h"
#include "app/Inifile_CL.h"
#include "import/FolderImportRun.h"

namespace lumicrate {

std::string StoredOutputFolder(const Inifile_CL& settings) {
  return settings.GetString("APP_INFO", "OutputFolder", "");
}

HRESULT RunSelectedImport(AppContext& context, Progress_CL& progress, NoticeSink& notices, const DeviceQuery& query,
                          SelectedRunReport* report) {
  Log().Write("写真取り込み(開始)");
  Log().Write("出力フォルダ = %s", context.OutputFolder.c_str());

  std::error_code made;
  if (!std::filesystem::exists(context.OutputFolder, made)) {
    std::filesystem::create_directories(context.OutputFolder, made);
  }
  HRESULT hr = made ? HResultFromErrno(made.value()) : 0;
  if (!made) {
    if (report) {
      report->started = true;
    }
    switch (context.Mode) {
    case ImportMode::Device:
      hr = DeviceImportRun(context, progress, context.OutputFolder, notices, query, report);
      break;
    case ImportMode::Album:
      hr = BuildAlbum(&progress, context.OutputFolder);
      break;
    default:
      hr = FolderImportRun(context, progress, context.SourceFolder, context.OutputFolder, report);
      break;
    }
  }
  Log().Write("写真取り込み(終了)");
  return hr;
}

} // namespace lumicrate
