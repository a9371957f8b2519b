// The photos of one album run, grouped by the year, month and day they were taken, and the
// start page and month pages written from them.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "album/AlbumOptions.h"
#include "import/CaptureDate.h"
#include "platform/HResult.h"

namespace lumicrate {

class ThumbnailMaker_CL;
class ThumbnailStore_CL;

// The date is kept as resolved rather than as a file-time count, so a plausible date that
// names no calendar day (31 February) still keeps its year, month and day.
struct AlbumPhoto {
  CaptureDate Date;
  std::filesystem::path Path;
};

struct AlbumDay {
  std::int32_t Day = 0;
  std::vector<AlbumPhoto> Photos; // in the order they were found

  // Appends the day's section to a month page and hands its thumbnails to the maker.
  void WritePhotoList(const AlbumOptions& options, std::string& page, ThumbnailMaker_CL& thumbnails) const;
};

struct AlbumMonth {
  std::int32_t Month = 0;
  std::array<AlbumDay, 31> Days;

  std::int32_t CountPhotos() const;
  bool IsEmpty() const { return CountPhotos() == 0; }
  // The error that kept the page from being written, else S_OK.
  HRESULT WriteMonthPage(const AlbumOptions& options, std::int32_t year, ThumbnailMaker_CL& thumbnails) const;
};

struct AlbumYear {
  std::int32_t Year = 0;
  std::array<AlbumMonth, 12> Months;

  explicit AlbumYear(std::int32_t year);
  std::int32_t CountPhotos() const;
  bool IsEmpty() const { return CountPhotos() == 0; }
  // Appends the twelve month items to the start page and writes the pages of the months with
  // photos; stops at the first page or thumbnail that cannot be written and returns its error.
  HRESULT WriteMonthItems(const AlbumOptions& options, std::string& page, ThumbnailMaker_CL& thumbnails) const;
};

class AlbumCatalog {
public:
  // Depth first in listing order; adds every file whose name ends in .jpg or .jpeg, any case.
  // The excluded folders (the album itself) are not entered.
  void CollectFolder(const std::filesystem::path& folder, const std::vector<std::filesystem::path>& excluded = {});
  // Adds the file when it is a raster image with a capture date.
  void AddPhoto(const std::filesystem::path& path);
  void SortYears();
  std::int32_t CountPhotos() const;
  // Writes the album folder: template, month pages, thumbnails (from the store where it holds
  // them), and the start page last. Stops at the first file that cannot be written and returns
  // its error: an album with a page or thumbnail missing is no album. A missing template is
  // no failure; the album then has no style sheet and an empty viewer page.
  HRESULT Generate(const AlbumOptions& options, ThumbnailStore_CL& store) const;
  // The same with no earlier thumbnails to reuse.
  HRESULT Generate(const AlbumOptions& options) const;

  const std::vector<AlbumYear>& Years() const { return years_; }

private:
  std::vector<AlbumYear> years_;
};

} // namespace lumicrate
