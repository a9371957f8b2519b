// The import from a folder tree (a memory card's mount point or a folder the user picked):
// list the media files, skip what the output folder already holds, copy the rest into their
// date folders, and report progress and counts.
#pragma once

#include <cstdint>
#include <filesystem>

#include "platform/HResult.h"

namespace lumicrate {

class AppContext;
class Progress_CL;

struct ImportCounters {
  std::int32_t inputFiles = 0;
  std::int32_t duplicates = 0;
  std::int32_t copiedFiles = 0;
};

// What a caller hears of a run: the counts, and on a failed copy the files it was copying.
struct ImportReport : ImportCounters {
  std::filesystem::path failedSource;
  std::filesystem::path failedDestination;
};

// 0 when every candidate was handled and the output is safely on disk; otherwise the code of
// the copy that ended the run (files copied before stay). report, when given, receives the
// counts as far as the run got and the files of a failed copy.
HRESULT FolderImportRun(AppContext& context, Progress_CL& progress, const std::filesystem::path& source,
                        const std::filesystem::path& output, ImportReport* report = nullptr);

} // namespace lumicrate
