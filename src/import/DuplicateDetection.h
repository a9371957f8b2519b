// Whether the output tree already holds a file's content: known files sit in the duplicate
// table of the context, and a date folder is scanned into it the first time a file of that
// date is tested in a run.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <future>
#include <map>
#include <vector>

#include "import/CaptureDate.h"
#include "import/CompareFile_CL.h"

namespace lumicrate {

class AppContext;
class WorkerPool;

// Adds the file, with its quick hash, to the end of its bucket.
void RegisterFile(AppContext& context, const std::filesystem::path& path);

// 1 when a registered file has the same bytes, else 0. hash is the file's quick hash.
int IsKnownContent(AppContext& context, const std::filesystem::path& path);
int IsKnownContent(AppContext& context, const std::filesystem::path& path, std::uint64_t hash);

// Every file under folder, at any depth and whatever its name, in listing order, with its quick
// hash. Temporaries that a killed run left there are removed instead.
std::vector<CompareFile_CL::CompareItem_CL> FolderItems(const std::filesystem::path& folder);

// Registers FolderItems (folder).
void ScanFolder(AppContext& context, const std::filesystem::path& folder);

// Date folders scanned on a pool ahead of the run that will test files of those dates. A date
// folder holds only what was there before the run until its first file has been tested, so a
// scan made early finds what a scan at that moment would.
class DateFolderScans {
public:
  explicit DateFolderScans(WorkerPool& pool) : pool_(pool) {}
  // Starts the scan of date's folder unless it was started already.
  void Start(const AppContext& context, const std::filesystem::path& output, const CaptureDate& date);
  // The items of the scan of that date folder (waiting for it); false when none was started.
  bool Take(const std::array<std::uint16_t, 3>& layoutDate, std::vector<CompareFile_CL::CompareItem_CL>& items);

private:
  WorkerPool& pool_;
  std::map<std::array<std::uint16_t, 3>, std::future<std::vector<CompareFile_CL::CompareItem_CL>>> scans_;
};

// 1 when the source's content is already in the output tree (or was copied earlier in this
// run), else 0. Scans the source's date folder first if this run has not yet, or takes that
// scan from scans. hash and date, when given, are the source's quick hash and its capture date
// as this run resolved them already.
int IsDuplicate(AppContext& context, const std::filesystem::path& output, const std::filesystem::path& source,
                const std::uint64_t* hash = nullptr, DateFolderScans* scans = nullptr,
                const CaptureDate* date = nullptr);

} // namespace lumicrate
