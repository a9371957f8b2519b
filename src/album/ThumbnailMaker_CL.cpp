// A plain queue with one worker per core: libvips decodes one JPEG on one thread, so photos
// side by side are what keeps every core busy.
#include "album/ThumbnailMaker_CL.h"

#include <cerrno>
#include <utility>

#include "album/PageWriter.h"
#include "album/Thumbnail.h"

namespace lumicrate {

ThumbnailMaker_CL::ThumbnailMaker_CL(const AlbumOptions& options, ThumbnailStore_CL& store)
    : options_(options), store_(store) {
  InitVipsOnce();
  unsigned count = options.ThumbnailThreads > 0 ? static_cast<unsigned>(options.ThumbnailThreads)
                                                : std::thread::hardware_concurrency();
  count = count == 0 ? 1 : count;
  for (unsigned i = 0; i < count; ++i) {
    workers_.emplace_back([this] { Work(); });
  }
}

ThumbnailMaker_CL::~ThumbnailMaker_CL() {
  Finish();
}

void ThumbnailMaker_CL::Add(std::filesystem::path photo, int orientation, std::filesystem::path thumbnail) {
  {
    std::lock_guard lock(mutex_);
    jobs_.push_back(Job{std::move(photo), orientation, std::move(thumbnail)});
  }
  ready_.notify_one();
}

HRESULT ThumbnailMaker_CL::Finish() {
  {
    std::lock_guard lock(mutex_);
    finishing_ = true;
  }
  ready_.notify_all();
  for (std::thread& worker : workers_) {
    worker.join();
  }
  workers_.clear();
  return Result();
}

HRESULT ThumbnailMaker_CL::Result() const {
  std::lock_guard lock(mutex_);
  return result_;
}

void ThumbnailMaker_CL::Work() {
  for (;;) {
    Job job;
    {
      std::unique_lock lock(mutex_);
      ready_.wait(lock, [this] { return finishing_ || !jobs_.empty(); });
      if (jobs_.empty()) {
        break;
      }
      job = std::move(jobs_.front());
      jobs_.pop_front();
      // After a failed write (a full disk, say) the album is given up; the rest would fail too.
      if (result_ != S_OK) {
        continue;
      }
    }
    const HRESULT hr = Make(job);
    if (hr != S_OK) {
      std::lock_guard lock(mutex_);
      result_ = result_ == S_OK ? hr : result_;
      continue;
    }
    ReportOne();
  }
  // libvips keeps buffers per thread until told the thread is done.
  vips_thread_shutdown();
}

HRESULT ThumbnailMaker_CL::Make(const Job& job) const {
  const auto key = store_.KeyOf(job.photo, job.orientation);
  if (key) {
    bool reused = false;
    const HRESULT hr = store_.Reuse(*key, job.thumbnail, reused);
    if (hr != S_OK) {
      return hr;
    }
    if (reused) {
      store_.Record(*key, job.thumbnail);
      return S_OK;
    }
  }
  const auto image = OpenAlbumImage(job.photo, job.orientation, options_.ThumbWidth, options_.ThumbHeight);
  if (!image) {
    return S_OK;
  }
  const auto fitted = FitIntoBox(MakeUprightCopy(*image), options_.ThumbWidth, options_.ThumbHeight);
  const auto bytes = fitted ? EncodeJpeg(*fitted, options_.ThumbQuality) : std::nullopt;
  if (!bytes) {
    return S_OK;
  }
  if (!WriteBinaryFile(job.thumbnail, *bytes)) {
    return HResultFromErrno(errno);
  }
  // A photo that changed while it was read may have given pixels of either version.
  if (key && store_.KeyOf(job.photo, job.orientation) == key) {
    store_.Record(*key, job.thumbnail);
  }
  return S_OK;
}

void ThumbnailMaker_CL::ReportOne() {
  Progress_CL* progress = options_.Progress;
  if (!progress) {
    return;
  }
  std::lock_guard lock(progressMutex_);
  progress->AddPosition(1);
  progress->SetText(FormatText("%s( %lld / %lld )", options_.ProgressText.c_str(),
                               static_cast<long long>(progress->GetPosition()),
                               static_cast<long long>(progress->GetTotal())));
}

} // namespace lumicrate
