// Names, dates and sizes never make two files equal: only their bytes do. The quick hash only
// narrows down which files need a full comparison.
#include "import/DuplicateDetection.h"

#include <unistd.h>

#include "app/ActivityLog.h"
#include "app/AppContext.h"
#include "import/ContentCompare.h"
#include "import/DestinationLayout.h"
#include "import/FindFile_CL.h"
#include "import/StagedCopy_CL.h"

namespace lumicrate {
namespace {

class FolderScanner : public FindFile_CL {
public:
  explicit FolderScanner(AppContext& context) : context_(context) {}

protected:
  void FileFound(const std::filesystem::path& folder, const std::string& name) override {
    // A temporary is never content of the output tree; the run holding the output folder's
    // lock knows no other run is still writing it.
    if (StagedCopy_CL::IsTemporaryName(name)) {
      ::unlink((folder / name).c_str());
      return;
    }
    RegisterFile(context_, folder / name);
  }

private:
  AppContext& context_;
};

} // namespace

void RegisterFile(AppContext& context, const std::filesystem::path& path) {
  context.DuplicateTable.Add({QuickHash(path), path});
}

int IsKnownContent(AppContext& context, const std::filesystem::path& path) {
  const std::uint64_t hash = QuickHash(path);
  for (const auto& item : context.DuplicateTable.Bucket(hash)) {
    if (item.QuickHash == hash && SameContent(path, item.Path) == 0) {
      return 1;
    }
  }
  return 0;
}

void ScanFolder(AppContext& context, const std::filesystem::path& folder) {
  FolderScanner scanner(context);
  scanner.Walk(folder, true);
}

int IsDuplicate(AppContext& context, const std::filesystem::path& output, const std::filesystem::path& source) {
  CaptureDate date;
  if (!context.CaptureDates.Resolve(source, date)) {
    // Without a date there is no date folder to scan; what is known already still counts.
    ActivityLog::Trace("取得失敗しました。");
    return IsKnownContent(context, source);
  }
  const std::int32_t layout = context.OutputFormatType;
  if (context.ScannedDates.insert(LayoutDate(date, layout)).second) {
    ScanFolder(context, output / DateFolderName(date, layout));
  }
  return IsKnownContent(context, source);
}

} // namespace lumicrate
