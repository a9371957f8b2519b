// A file is a candidate when its extension is switched on and its capture date resolves;
// the date goes into the run's cache, so the later steps do not read the file for it again.
#include "import/MyFindFile_CL.h"

#include <sys/stat.h>

#include "app/ActivityLog.h"
#include "app/AppContext.h"

namespace lumicrate {

void MyFindFile_CL::FileFound(const std::filesystem::path& folder, const std::string& name) {
  std::filesystem::path path = folder / name;
  if (!context_.IsImportTarget(path)) {
    return;
  }
  CandidateFile candidate;
  if (!context_.CaptureDates.Resolve(path, candidate.captureDate)) {
    ActivityLog::Trace("取得失敗しました。");
    return;
  }
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0) {
    candidate.size = info.st_size;
  }
  candidate.path = std::move(path);
  candidates_.push_back(std::move(candidate));
}

} // namespace lumicrate
