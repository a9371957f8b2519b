// A plain queue with one worker per core: libvips decodes one JPEG on one thread, so photos
// side by side are what keeps every core busy.
#include "album/ThumbnailMaker_CL.h"

#include <utility>

#include "album/PageWriter.h"
#include "album/Thumbnail.h"

namespace lumicrate {

ThumbnailMaker_CL::ThumbnailMaker_CL(const AlbumOptions& options) : options_(options) {
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

void ThumbnailMaker_CL::Finish() {
  {
    std::lock_guard lock(mutex_);
    finishing_ = true;
  }
  ready_.notify_all();
  for (std::thread& worker : workers_) {
    worker.join();
  }
  workers_.clear();
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
    }
    Make(job);
    ReportOne();
  }
  // libvips keeps buffers per thread until told the thread is done.
  vips_thread_shutdown();
}

void ThumbnailMaker_CL::Make(const Job& job) const {
  const auto image = OpenAlbumImage(job.photo, job.orientation, options_.ThumbWidth, options_.ThumbHeight);
  if (!image) {
    return;
  }
  const auto fitted = FitIntoBox(MakeUprightCopy(*image), options_.ThumbWidth, options_.ThumbHeight);
  if (fitted) {
    SaveJpeg(*fitted, job.thumbnail, options_.ThumbQuality);
  }
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
