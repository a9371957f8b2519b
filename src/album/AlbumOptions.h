// The settings of one album run, filled by BuildAlbum and handed to every page operation.
// Paths are UTF-8; OutputFolder has no trailing separator.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "app/Progress_CL.h"

namespace lumicrate {

struct AlbumOptions {
  Progress_CL* Progress = nullptr; // may be null: no progress is reported
  std::filesystem::path OutputFolder;
  std::filesystem::path AlbumFolder;
  std::filesystem::path TemplateFolder;
  std::string ProgressText;
  std::int32_t MapMode = 1;
  std::string IndexFileName;
  std::string Title;
  std::string Heading; // HTML, placed in the page header as it is
  std::int32_t ThumbWidth = 320;
  std::int32_t ThumbHeight = 240;
  std::int32_t ThumbQuality = 80;
  // Threads that make thumbnails; 0 means one per core. The album is the same for any count.
  int ThumbnailThreads = 0;
};

} // namespace lumicrate
