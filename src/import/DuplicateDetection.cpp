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
#include "platform/WorkerPool.h"

namespace lumicrate {
namespace {

class FolderScanner : public FindFile_CL {
public:
  explicit FolderScanner(std::vector<CompareFile_CL::CompareItem_CL>& items) : items_(items) {}

protected:
  void FileFound(const std::filesystem::path& folder, const std::string& name) override {
    // A temporary is never content of the output tree; the run holding the output folder's
    // lock knows no other run is still writing it.
    if (StagedCopy_CL::IsTemporaryName(name)) {
      ::unlink((folder / name).c_str());
      return;
    }
    std::filesystem::path path = folder / name;
    const std::uint64_t hash = QuickHash(path);
    items_.emplace_back(hash, std::move(path));
  }

private:
  std::vector<CompareFile_CL::CompareItem_CL>& items_;
};

} // namespace

void RegisterFile(AppContext& context, const std::filesystem::path& path) {
  context.DuplicateTable.Add({QuickHash(path), path});
}

int IsKnownContent(AppContext& context, const std::filesystem::path& path) {
  return IsKnownContent(context, path, QuickHash(path));
}

int IsKnownContent(AppContext& context, const std::filesystem::path& path, std::uint64_t hash) {
  for (const auto& item : context.DuplicateTable.Bucket(hash)) {
    if (item.QuickHash == hash && SameContent(path, item.Path) == 0) {
      return 1;
    }
  }
  return 0;
}

std::vector<CompareFile_CL::CompareItem_CL> FolderItems(const std::filesystem::path& folder) {
  std::vector<CompareFile_CL::CompareItem_CL> items;
  FolderScanner scanner(items);
  scanner.Walk(folder, true);
  return items;
}

void ScanFolder(AppContext& context, const std::filesystem::path& folder) {
  for (auto& item : FolderItems(folder)) {
    context.DuplicateTable.Add(std::move(item));
  }
}

void DateFolderScans::Start(const AppContext& context, const std::filesystem::path& output, const CaptureDate& date) {
  const std::int32_t layout = context.OutputFormatType;
  const auto key = LayoutDate(date, layout);
  if (!scans_.contains(key)) {
    scans_.emplace(key, pool_.Submit([folder = output / DateFolderName(date, layout)] { return FolderItems(folder); }));
  }
}

bool DateFolderScans::Take(const std::array<std::uint16_t, 3>& layoutDate,
                           std::vector<CompareFile_CL::CompareItem_CL>& items) {
  const auto it = scans_.find(layoutDate);
  if (it == scans_.end() || !it->second.valid()) {
    return false;
  }
  items = it->second.get();
  return true;
}

int IsDuplicate(AppContext& context, const std::filesystem::path& output, const std::filesystem::path& source,
                const std::uint64_t* hash, DateFolderScans* scans, const CaptureDate* known) {
  const std::uint64_t sourceHash = hash ? *hash : QuickHash(source);
  CaptureDate date;
  if (known) {
    date = *known;
  } else if (!context.CaptureDates.Resolve(source, date)) {
    // Without a date there is no date folder to scan; what is known already still counts.
    ActivityLog::Trace("取得失敗しました。");
    return IsKnownContent(context, source, sourceHash);
  }
  const std::int32_t layout = context.OutputFormatType;
  const auto key = LayoutDate(date, layout);
  if (context.ScannedDates.insert(key).second) {
    std::vector<CompareFile_CL::CompareItem_CL> items;
    if (scans && scans->Take(key, items)) {
      for (auto& item : items) {
        context.DuplicateTable.Add(std::move(item));
      }
    } else {
      ScanFolder(context, output / DateFolderName(date, layout));
    }
  }
  return IsKnownContent(context, source, sourceHash);
}

} // namespace lumicrate
