// Makes the album's thumbnails on every core while the pages are written, or takes them from
// the store where the photo has not changed. Each thumbnail depends on its photo alone, so the
// files are those a single thread would make; progress counts up by one per finished thumbnail.
#pragma once

#include <condition_variable>
#include <deque>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

#include "album/AlbumOptions.h"
#include "album/ThumbnailStore_CL.h"
#include "platform/HResult.h"

namespace lumicrate {

class ThumbnailMaker_CL {
public:
  ThumbnailMaker_CL(const AlbumOptions& options, ThumbnailStore_CL& store);
  ~ThumbnailMaker_CL();
  ThumbnailMaker_CL(const ThumbnailMaker_CL&) = delete;
  ThumbnailMaker_CL& operator=(const ThumbnailMaker_CL&) = delete;

  void Add(std::filesystem::path photo, int orientation, std::filesystem::path thumbnail);
  // Returns once every thumbnail handed in is written, with the first failure to write one.
  // A photo that cannot be decoded is none: its page links a thumbnail that is not there.
  HRESULT Finish();
  // The first failure to write a thumbnail so far; the thumbnails after it are not made.
  HRESULT Result() const;

private:
  struct Job {
    std::filesystem::path photo;
    int orientation = 0;
    std::filesystem::path thumbnail;
  };

  void Work();
  HRESULT Make(const Job& job) const;
  void ReportOne();

  const AlbumOptions& options_;
  ThumbnailStore_CL& store_;
  mutable std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<Job> jobs_;
  bool finishing_ = false;
  HRESULT result_ = S_OK;
  // Keeps "( k / n )" captions in step with the count they show.
  std::mutex progressMutex_;
  std::vector<std::thread> workers_;
};

} // namespace lumicrate
