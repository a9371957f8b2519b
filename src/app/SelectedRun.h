// The one road from "what is to be done" to the run that does it, shared by the desktop
// program and lumicrate-cli: the stored output folder, the start and end log lines, making
// the output folder, and the run that ImportMode selects.
#pragma once

#include <filesystem>
#include <string>

#include "app/AppContext.h"
#include "device/DeviceImportRun.h"
#include "device/DeviceQuery.h"
#include "platform/HResult.h"

namespace lumicrate {

class Inifile_CL;
class NoticeSink;
class Progress_CL;

// What a caller hears of a run: the counts and failed copy of a folder or device run, whether a
// device run found its device, and whether the run began at all (its folder could be made).
struct SelectedRunReport : DeviceImportReport {
  bool started = false;
};

// APP_INFO / OutputFolder, empty when none is stored.
std::string StoredOutputFolder(const Inifile_CL& settings);

// Logs "写真取り込み(開始)" and the output folder, makes the output folder (a folder that cannot be
// made ends the run with its error), runs what context.Mode selects (Device: the device run;
// Album: the album; Drive, Folder and any other value: the folder run from SourceFolder) into
// OutputFolder, and logs "写真取り込み(終了)". report, when given, receives what the run reports.
HRESULT RunSelectedImport(AppContext& context, Progress_CL& progress, NoticeSink& notices,
                          const DeviceQuery& query = {}, SelectedRunReport* report = nullptr);

} // namespace lumicrate
