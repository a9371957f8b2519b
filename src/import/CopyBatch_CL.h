// The copies of one import run in batches: each file is staged under a temporary name, a batch
// is made durable with one flush, and only then do its files take their final names, in order.
#pragma once

#include <cstdint>
#include <filesystem>
#include <future>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "import/StagedCopy_CL.h"
#include "platform/HResult.h"
#include "platform/WorkerPool.h"

namespace lumicrate {

class AppContext;
struct CaptureDate;
class Progress_CL;
struct ImportReport;

class CopyBatch_CL {
public:
  // Bounds of one batch: a few flushes a run, and never much unflushed data at a power cut.
  static constexpr size_t kMaxFiles = 512;
  static constexpr std::int64_t kMaxBytes = std::int64_t{128} << 20;

  // total is the n of the progress caption "写真の取り込み中( k / n )"; with byteProgress the
  // progress also hears the bytes of each item.
  CopyBatch_CL(AppContext& context, const std::filesystem::path& output, Progress_CL& progress, ImportReport& report,
               int total, WorkerPool& pool, bool byteProgress);
  // Waits for copies in flight; whatever was not put in place goes with the staging folder.
  ~CopyBatch_CL();
  CopyBatch_CL(const CopyBatch_CL&) = delete;
  CopyBatch_CL& operator=(const CopyBatch_CL&) = delete;

  // The n of the progress caption, when it is known only after the batch was made.
  void SetTotal(int total) { total_ = total; }

  // Starts staging source ahead of its turn, while the files are still being dated, for a file
  // that is most likely copied (nothing of its date is in the output yet). Its AddCopy takes the
  // staged copy over; its AddDuplicate throws it away. false once a batch's worth of data is
  // staged ahead, so that no more waits for the first flush than in any batch, and always in a
  // serial run, whose copies run in its own thread.
  bool Prestage(const std::filesystem::path& source, std::int64_t bytes);

  // One handled item each, shown in the progress at once and counted when its batch commits:
  // a duplicate (of the file at source), an item that is not copied (a device object that is
  // no media file), or a copy. A failure ends the run: what came before is committed and the
  // failed copy noted.
  HRESULT AddDuplicate(std::int64_t bytes, const std::filesystem::path& source = {});
  HRESULT AddSkipped();
  // Picks source's free name in its date folder (of date, when this run resolved it already) and
  // registers its content (of quick hash hash) at once, so the next files are judged as in a
  // serial run. Staging::Copy copies on the pool;
  // Staging::LinkWhenPossible (a file the caller gives away) is staged before this returns.
  HRESULT AddCopy(const std::filesystem::path& source, std::uint64_t hash, std::int64_t bytes, Staging staging,
                  const CaptureDate* date = nullptr);

  // Flushes the data of every file so far, then gives each its name, in order, and counts them.
  HRESULT Commit();

private:
  enum class Kind { Duplicate, Skipped, Copy };
  struct Item {
    Kind kind = Kind::Skipped;
    std::int64_t bytes = 0;
    std::filesystem::path source;
    std::filesystem::path wanted;
    std::filesystem::path destination;
    // What the duplicate table knows the content by until the file has its name.
    std::filesystem::path registered;
    std::uint64_t hash = 0;
    std::unique_ptr<StagedCopy_CL> staged;
    std::future<HRESULT> copied;
    HRESULT result = S_OK;
  };

  struct Prestaged {
    std::unique_ptr<StagedCopy_CL> staged;
    std::future<HRESULT> copied;
  };

  HRESULT Add(Item item);
  // Makes the staging folder at the first copy, so a run that copies nothing writes nothing.
  HRESULT EnsureStagingFolder();
  // Copies source into the staging folder on the copier's thread; copy must outlive the copy.
  std::future<HRESULT> StageOnPool(StagedCopy_CL& copy, const std::filesystem::path& source);
  // Moves a copy staged ahead for source into item; false when there is none.
  bool TakePrestaged(const std::filesystem::path& source, Item& item);
  // Commits what came before a failure, then notes the failure itself.
  HRESULT Fail(HRESULT hr, const std::filesystem::path& source, const std::filesystem::path& destination);
  HRESULT Place(Item& item);
  void WaitForCopies();
  // Waits for the batch's copies and starts its flush.
  void Seal();
  // Waits for the sealed batch's flush and puts its files in place.
  HRESULT Finish();

  AppContext& context_;
  std::filesystem::path output_;
  std::filesystem::path staging_;
  Progress_CL& progress_;
  ImportReport& report_;
  int total_;
  int position_ = 0;
  WorkerPool& pool_;
  bool byteProgress_;
  std::vector<Item> items_;
  std::vector<Item> sealed_;
  std::future<HRESULT> flushed_;
  WorkerPool flusher_;
  std::set<std::filesystem::path> reserved_;
  std::int64_t stagedBytes_ = 0;
  std::map<std::filesystem::path, Prestaged> prestaged_;
  std::int64_t prestagedBytes_ = 0;
};

} // namespace lumicrate
