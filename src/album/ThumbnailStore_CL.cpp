// The store is a text file in the album folder, one line per thumbnail, so it is replaced and
// removed together with the thumbnails it describes and can never name another album's files.
#include "album/ThumbnailStore_CL.h"

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <linux/magic.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>
#include <vips/vips.h>

#include "album/PageWriter.h"
#include "platform/HResult.h"

namespace lumicrate {
namespace {

// Raised whenever the thumbnail code changes what it writes.
constexpr int kThumbnailFormat = 1;

// Well above a tick of the coarse clock the kernel stamps files with (10 ms at 100 Hz, the
// slowest), and above any small step of the clock.
constexpr std::int64_t kClockTickNanoseconds = 100'000'000;

constexpr unsigned long kXfsMagic = 0x58465342;
constexpr unsigned long kF2fsMagic = 0xF2F52010;
constexpr unsigned long kZfsMagic = 0x2FC12FC1;

// Local file systems whose change time the kernel keeps and no program can set.
bool KeepsChangeTime(const std::filesystem::path& path) {
  struct statfs info {};
  if (::statfs(path.c_str(), &info) != 0) {
    return false;
  }
  const auto type = static_cast<unsigned long>(info.f_type);
  return type == EXT4_SUPER_MAGIC || type == BTRFS_SUPER_MAGIC || type == TMPFS_MAGIC ||
         type == OVERLAYFS_SUPER_MAGIC || type == kXfsMagic || type == kF2fsMagic || type == kZfsMagic;
}

std::int64_t Nanoseconds(std::int64_t seconds, long nanoseconds) {
  return seconds * 1'000'000'000 + nanoseconds;
}

// A store names only thumbnails inside its own album, whatever was written into it.
bool IsThumbnailPath(const std::string& path) {
  return path.starts_with("thumb/") && path.find("..") == std::string::npos;
}

std::string EntryLine(const ThumbnailStore_CL::Key& key, const std::string& thumbnail) {
  char fields[200];
  std::snprintf(fields, sizeof fields, "%ju %ju %jd %" PRId64 " %ld %" PRId64 " %ld %d ",
                static_cast<std::uintmax_t>(key.device), static_cast<std::uintmax_t>(key.inode),
                static_cast<std::intmax_t>(key.size), key.modifiedSeconds, key.modifiedNanoseconds, key.changedSeconds,
                key.changedNanoseconds, key.orientation);
  return fields + thumbnail + "\n";
}

} // namespace

ThumbnailStore_CL::ThumbnailStore_CL(const AlbumOptions& options, const std::filesystem::path& oldAlbum)
    : oldAlbum_(oldAlbum), newAlbum_(options.AlbumFolder) {
  header_ = FormatText("lumicrate-thumbnails %d %dx%d Q%d %s", kThumbnailFormat, options.ThumbWidth,
                       options.ThumbHeight, options.ThumbQuality, vips_version_string());
  ::clock_gettime(CLOCK_REALTIME, &started_);

  std::string text;
  if (oldAlbum.empty() || !ReadBinaryFile(oldAlbum / kStoreFileName, text)) {
    return;
  }
  std::istringstream lines(text);
  std::string line;
  if (!std::getline(lines, line) || line != header_) {
    return;
  }
  while (std::getline(lines, line)) {
    Key key;
    std::uintmax_t device = 0;
    std::uintmax_t inode = 0;
    std::intmax_t size = 0;
    int used = 0;
    if (std::sscanf(line.c_str(), "%ju %ju %jd %" SCNd64 " %ld %" SCNd64 " %ld %d %n", &device, &inode, &size,
                    &key.modifiedSeconds, &key.modifiedNanoseconds, &key.changedSeconds, &key.changedNanoseconds,
                    &key.orientation, &used) == 8 &&
        used > 0 && IsThumbnailPath(line.substr(static_cast<size_t>(used)))) {
      key.device = static_cast<dev_t>(device);
      key.inode = static_cast<ino_t>(inode);
      key.size = static_cast<off_t>(size);
      old_.emplace(key, line.substr(static_cast<size_t>(used)));
    }
  }
}

std::optional<ThumbnailStore_CL::Key> ThumbnailStore_CL::KeyOf(const std::filesystem::path& photo,
                                                               int orientation) const {
  struct stat info {};
  if (::stat(photo.c_str(), &info) != 0 || !KeepsChangeTime(photo)) {
    return std::nullopt;
  }
  return Key{info.st_dev,          info.st_ino,         info.st_size,         info.st_mtim.tv_sec,
             info.st_mtim.tv_nsec, info.st_ctim.tv_sec, info.st_ctim.tv_nsec, orientation};
}

HRESULT ThumbnailStore_CL::Reuse(const Key& key, const std::filesystem::path& thumbnail, bool& reused) const {
  reused = false;
  const auto it = old_.find(key);
  if (it == old_.end()) {
    return S_OK;
  }
  const std::filesystem::path stored = oldAlbum_ / it->second;
  struct stat info {};
  if (::lstat(stored.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
    return S_OK;
  }
  if (::link(stored.c_str(), thumbnail.c_str()) == 0) {
    reused = true;
    return S_OK;
  }
  if (errno == ENOSPC || errno == EDQUOT || errno == EIO || errno == EROFS) {
    return HResultFromErrno(errno);
  }
  // No second name here (a file system without links, or too many of them): a copy will do.
  std::string bytes;
  if (!ReadBinaryFile(stored, bytes)) {
    return S_OK;
  }
  if (!WriteBinaryFile(thumbnail, bytes)) {
    return HResultFromErrno(errno);
  }
  reused = true;
  return S_OK;
}

void ThumbnailStore_CL::Record(const Key& key, const std::filesystem::path& thumbnail) {
  if (Nanoseconds(key.changedSeconds, key.changedNanoseconds) >=
      Nanoseconds(started_.tv_sec, started_.tv_nsec) - kClockTickNanoseconds) {
    return;
  }
  std::lock_guard lock(mutex_);
  new_.emplace_back(key, thumbnail.lexically_relative(newAlbum_).generic_string());
}

HRESULT ThumbnailStore_CL::Save() const {
  std::lock_guard lock(mutex_);
  if (new_.empty()) {
    return S_OK;
  }
  // In thumbnail order, so the same album always gets the same store.
  std::vector<const std::pair<Key, std::string>*> entries;
  for (const auto& entry : new_) {
    entries.push_back(&entry);
  }
  std::sort(entries.begin(), entries.end(), [](const auto* a, const auto* b) { return a->second < b->second; });
  std::string text = header_ + "\n";
  for (const auto* entry : entries) {
    text += EntryLine(entry->first, entry->second);
  }
  return WriteBinaryFile(newAlbum_ / kStoreFileName, text) ? S_OK : HResultFromErrno(errno);
}

} // namespace lumicrate
