// The thumbnails of the album being replaced, handed on to the new album for every photo that
// has not changed since its thumbnail was made, so a rebuild costs what changed, not the library.
#pragma once

#include <compare>
#include <ctime>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

#include "album/AlbumOptions.h"
#include "platform/HResult.h"

namespace lumicrate {

class ThumbnailStore_CL {
public:
  // The file in an album folder that lists which photo each of its thumbnails was made from.
  static constexpr const char* kStoreFileName = ".lumicrate-thumbnails";

  // A photo as its thumbnail depends on it. Inode and change time name one version of one file:
  // the kernel sets the change time on every write, link, rename or chmod, and no program can
  // set it back, so a photo that was changed, replaced or turned can never match an old key.
  // Size, modification time and orientation are kept too, as a second guard.
  struct Key {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::int64_t modifiedSeconds = 0;
    long modifiedNanoseconds = 0;
    std::int64_t changedSeconds = 0;
    long changedNanoseconds = 0;
    int orientation = 0;

    friend auto operator<=>(const Key&, const Key&) = default;
  };

  // Reads the store of oldAlbum, for a new album in options.AlbumFolder. One written for another
  // box, quality or libvips (whose thumbnails could differ in a byte) offers nothing, nor does
  // an album without one, nor no old album at all.
  explicit ThumbnailStore_CL(const AlbumOptions& options, const std::filesystem::path& oldAlbum = {});

  // The photo's key now; none when it cannot be read, or when its file system keeps no change
  // time the kernel vouches for (FAT, exFAT, NTFS, FUSE and network file systems, whose times
  // can be set back or come from another clock): those photos always get a fresh thumbnail.
  std::optional<Key> KeyOf(const std::filesystem::path& photo, int orientation) const;

  // Puts the old thumbnail of an unchanged photo at thumbnail (a second name of the same file
  // where the file system allows, else a copy); reused tells whether there was one to take.
  HRESULT Reuse(const Key& key, const std::filesystem::path& thumbnail, bool& reused) const;

  // Notes that thumbnail, below newAlbum, was made from the photo as key saw it. A photo changed
  // less than a clock tick before the run began is not noted: a second change within the same
  // tick would leave its change time as it was.
  void Record(const Key& key, const std::filesystem::path& thumbnail);

  // Writes the store of the new album into it; nothing when no thumbnail was noted.
  HRESULT Save() const;

private:
  std::filesystem::path oldAlbum_;
  std::filesystem::path newAlbum_;
  std::string header_;
  timespec started_{};
  std::map<Key, std::string> old_; // key -> thumbnail path relative to the album folder

  mutable std::mutex mutex_;
  std::vector<std::pair<Key, std::string>> new_;
};

} // namespace lumicrate
