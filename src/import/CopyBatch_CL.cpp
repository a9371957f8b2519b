// A power cut or a pulled disk can lose writes the file system had not yet flushed; a name
// that is given only after its data is on disk never stands for zeros. One flush per batch keeps
// that affordable, the flush of one batch overlaps the copies of the next, and the names are
// flushed when the run finishes.
#include "import/CopyBatch_CL.h"

#include <cerrno>

#include "app/ActivityLog.h"
#include "app/AppContext.h"
#include "app/Progress_CL.h"
#include "import/DestinationLayout.h"
#include "import/FolderImportRun.h"
#include "import/ImportSteps.h"
#include "import/StagingFolder.h"
#include "platform/SyncFileSystem.h"
#include "platform/WorkerPool.h"

namespace lumicrate {
namespace {

// Gives up on a name that keeps being taken by others between our look and our rename.
constexpr int kMaxPlaceAttempts = 1000;

} // namespace

CopyBatch_CL::CopyBatch_CL(AppContext& context, const std::filesystem::path& output, Progress_CL& progress,
                           ImportReport& report, int total, WorkerPool& pool, bool byteProgress)
    : context_(context), output_(output), progress_(progress), report_(report), total_(total), pool_(pool),
      byteProgress_(byteProgress), flusher_(pool.Inline() ? 0 : 1) {}

CopyBatch_CL::~CopyBatch_CL() {
  WaitForCopies();
  for (auto& [source, ahead] : prestaged_) {
    ahead.copied.wait();
  }
  prestaged_.clear();
  if (flushed_.valid()) {
    flushed_.wait();
  }
  items_.clear();
  sealed_.clear();
  if (!staging_.empty()) {
    RemoveStagingFolder(output_);
  }
}

void CopyBatch_CL::WaitForCopies() {
  for (Item& item : items_) {
    if (item.copied.valid()) {
      item.copied.wait();
    }
  }
}

HRESULT CopyBatch_CL::Add(Item item) {
  // The progress moves as files are handled; a batch waits at most for its own flush.
  if (byteProgress_) {
    progress_.AddBytes(item.bytes);
  }
  AdvanceProgress(progress_, ++position_, total_);
  stagedBytes_ += item.kind == Kind::Copy ? item.bytes : 0;
  items_.push_back(std::move(item));
  if (items_.size() < kMaxFiles && stagedBytes_ < kMaxBytes) {
    return S_OK;
  }
  // The batch before is put in place while this one is flushed and the next one copied.
  const HRESULT hr = Finish();
  if (Succeeded(hr)) {
    Seal();
  }
  return hr;
}

HRESULT CopyBatch_CL::EnsureStagingFolder() {
  return staging_.empty() ? PrepareStagingFolder(output_, staging_) : S_OK;
}

bool CopyBatch_CL::Prestage(const std::filesystem::path& source, std::int64_t bytes) {
  if (pool_.Inline() || prestagedBytes_ >= kMaxBytes || Failed(EnsureStagingFolder())) {
    return false;
  }
  // A path listed twice is staged once: a second copy in flight must never lose its owner.
  if (prestaged_.contains(source)) {
    return true;
  }
  Prestaged& ahead = prestaged_[source];
  ahead.staged = std::make_unique<StagedCopy_CL>();
  ahead.copied = StageOnPool(*ahead.staged, source);
  prestagedBytes_ += bytes;
  return true;
}

std::future<HRESULT> CopyBatch_CL::StageOnPool(StagedCopy_CL& copy, const std::filesystem::path& source) {
  return pool_.Submit([&copy, source, folder = staging_] { return copy.Stage(source, folder); });
}

bool CopyBatch_CL::TakePrestaged(const std::filesystem::path& source, Item& item) {
  const auto it = prestaged_.find(source);
  if (it == prestaged_.end()) {
    return false;
  }
  item.staged = std::move(it->second.staged);
  item.copied = std::move(it->second.copied);
  prestaged_.erase(it);
  return true;
}

HRESULT CopyBatch_CL::AddDuplicate(std::int64_t bytes, const std::filesystem::path& source) {
  Item item;
  item.kind = Kind::Duplicate;
  item.bytes = bytes;
  // A copy staged ahead goes with the batch, once the copier is done with it.
  TakePrestaged(source, item);
  return Add(std::move(item));
}

HRESULT CopyBatch_CL::AddSkipped() {
  return Add(Item{});
}

HRESULT CopyBatch_CL::Fail(HRESULT hr, const std::filesystem::path& source, const std::filesystem::path& destination) {
  if (const HRESULT committed = Commit(); Failed(committed)) {
    return committed;
  }
  NoteFailedCopy(hr, source, destination, report_);
  return hr;
}

HRESULT CopyBatch_CL::AddCopy(const std::filesystem::path& source, std::uint64_t hash, std::int64_t bytes,
                              Staging staging, const CaptureDate* date) {
  Item item;
  item.kind = Kind::Copy;
  item.bytes = bytes;
  item.source = source;
  item.hash = hash;
  const HRESULT chosen = ChooseDestination(
      context_, output_, source, [&](const std::filesystem::path& path) { return reserved_.contains(path); },
      item.wanted, item.destination, date);
  if (Failed(chosen)) {
    return Fail(chosen, source, item.destination);
  }
  if (const HRESULT hr = EnsureStagingFolder(); Failed(hr)) {
    return Fail(hr, source, item.destination);
  }
  if (staging == Staging::Copy) {
    if (!TakePrestaged(source, item)) {
      item.staged = std::make_unique<StagedCopy_CL>();
      item.copied = StageOnPool(*item.staged, source);
    }
    item.registered = source;
  } else {
    item.staged = std::make_unique<StagedCopy_CL>();
    if (const HRESULT hr = item.staged->Stage(source, staging_, staging); Failed(hr)) {
      return Fail(hr, source, item.destination);
    }
    item.registered = item.staged->Temporary();
  }
  reserved_.insert(item.destination);
  context_.DuplicateTable.Add({hash, item.registered});
  return Add(std::move(item));
}

HRESULT CopyBatch_CL::Place(Item& item) {
  HRESULT hr = item.staged->Place(item.destination);
  if (hr == HResultFromErrno(EXDEV)) {
    // A date folder on another file system (a link to another disk): the staged copy is copied
    // into that folder and flushed there before it takes its name.
    auto there = std::make_unique<StagedCopy_CL>();
    hr = there->Stage(item.staged->Temporary(), item.destination.parent_path());
    if (Succeeded(hr)) {
      hr = SyncFileSystem(item.destination.parent_path());
    }
    if (Failed(hr)) {
      return hr;
    }
    item.staged = std::move(there);
    hr = item.staged->Place(item.destination);
  }
  for (int attempt = 0; hr == StagedCopy_CL::NameTaken() && attempt < kMaxPlaceAttempts; ++attempt) {
    // Something outside this run took the name after it was chosen.
    const std::filesystem::path next =
        FreeName(item.wanted, [&](const std::filesystem::path& path) { return reserved_.contains(path); });
    if (next == item.destination) {
      break;
    }
    item.destination = next;
    hr = item.staged->Place(item.destination);
  }
  return hr;
}

void CopyBatch_CL::Seal() {
  WaitForCopies();
  sealed_ = std::move(items_);
  items_.clear();
  stagedBytes_ = 0;
  bool staged = false;
  for (Item& item : sealed_) {
    if (item.copied.valid()) {
      item.result = item.copied.get();
    }
    staged |= item.kind == Kind::Copy;
  }
  if (staged) {
    flushed_ = flusher_.Submit([folder = staging_] { return SyncFileSystem(folder); });
  }
}

HRESULT CopyBatch_CL::Finish() {
  std::vector<Item> items = std::move(sealed_);
  sealed_.clear();
  if (flushed_.valid()) {
    if (const HRESULT synced = flushed_.get(); Failed(synced)) {
      Log().Write("出力フォルダへの書き込みの確定に失敗しました。 0x%08x", static_cast<unsigned>(synced));
      return synced;
    }
  }
  for (Item& item : items) {
    if (item.kind == Kind::Copy) {
      HRESULT hr = item.result;
      reserved_.erase(item.destination);
      if (Succeeded(hr)) {
        hr = Place(item);
      }
      if (Failed(hr)) {
        NoteFailedCopy(hr, item.source, item.destination, report_);
        reserved_.clear();
        return hr;
      }
      context_.DuplicateTable.Rename(item.hash, item.registered, item.destination);
      ++report_.copiedFiles;
    } else if (item.kind == Kind::Duplicate) {
      ++report_.duplicates;
    }
  }
  return S_OK;
}

HRESULT CopyBatch_CL::Commit() {
  if (const HRESULT hr = Finish(); Failed(hr)) {
    return hr;
  }
  Seal();
  return Finish();
}

} // namespace lumicrate
