// The new album is built in a hidden folder beside the old one and put in place in one step,
// so that PhotoAlbum is at every moment either the whole old album or the whole new one.
#pragma once

#include <filesystem>

#include "platform/HResult.h"

namespace lumicrate {

class AlbumStaging_CL {
public:
  // Where the new album is built; after the exchange it holds the old one until removed.
  static constexpr const char* kStagingName = ".lumicrate-album-new";
  // Where the old album steps aside on a file system that cannot exchange two names.
  static constexpr const char* kRetiredName = ".lumicrate-album-old";

  // Both folders are siblings of albumFolder in the output folder.
  explicit AlbumStaging_CL(const std::filesystem::path& albumFolder);

  const std::filesystem::path& Folder() const { return staging_; }

  // Removes a half-built album or an old one not yet removed, left by a run that was killed or
  // failed, and after a run the old album or the failed new one.
  HRESULT RemoveLeftovers() const;

  // Flushes the new album to disk, so no power cut can put a half-written album in place, then
  // exchanges it with the old one, or moves it in where there is none.
  HRESULT PutInPlace() const;

private:
  std::filesystem::path album_;
  std::filesystem::path staging_;
  std::filesystem::path retired_;
};

} // namespace lumicrate
