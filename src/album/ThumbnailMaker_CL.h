// Makes the album's thumbnails on every core while the pages are written. Each thumbnail
// depends on its photo alone, so the files are those a single thread would make; progress
// counts up by one per finished thumbnail, exactly as in a serial run.
#pragma once

#include <condition_variable>
#include <deque>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

#include "album/AlbumOptions.h"

namespace lumicrate {

class ThumbnailMaker_CL {
public:
  explicit ThumbnailMaker_CL(const AlbumOptions& options);
  ~ThumbnailMaker_CL();
  ThumbnailMaker_CL(const ThumbnailMaker_CL&) = delete;
  ThumbnailMaker_CL& operator=(const ThumbnailMaker_CL&) = delete;

  void Add(std::filesystem::path photo, int orientation, std::filesystem::path thumbnail);
  // Returns once every thumbnail handed in is written (or has failed).
  void Finish();

private:
  struct Job {
    std::filesystem::path photo;
    int orientation = 0;
    std::filesystem::path thumbnail;
  };

  void Work();
  void Make(const Job& job) const;
  void ReportOne();

  const AlbumOptions& options_;
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<Job> jobs_;
  bool finishing_ = false;
  // Keeps "( k / n )" captions in step with the count they show.
  std::mutex progressMutex_;
  std::vector<std::thread> workers_;
};

} // namespace lumicrate
