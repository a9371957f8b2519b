// The walk that collects the photos, and the start page and month pages. Pages come out in
// a fixed order (years and months ascending, the start page last) whatever the walk found first.
#include "album/AlbumCatalog.h"

#include <algorithm>
#include <cerrno>
#include <strings.h>
#include <sys/stat.h>

#include "album/FolderTree.h"
#include "album/PageWriter.h"
#include "album/Thumbnail.h"
#include "album/ThumbnailMaker_CL.h"
#include "album/ThumbnailStore_CL.h"
#include "app/ActivityLog.h"
#include "import/FindFile_CL.h"

namespace lumicrate {
namespace {

bool IsJpegName(const std::filesystem::path& path) {
  const std::string extension = GetExtension(path);
  return ::strcasecmp(extension.c_str(), ".jpg") == 0 || ::strcasecmp(extension.c_str(), ".jpeg") == 0;
}

// The import's walker: listing order, each folder entered where it is met, links to folders
// never entered.
class PhotoFinder_CL : public FindFile_CL {
public:
  explicit PhotoFinder_CL(AlbumCatalog& catalog) : catalog_(catalog) {}

protected:
  void FileFound(const std::filesystem::path& folder, const std::string& name) override {
    const std::filesystem::path path = folder / name;
    if (IsJpegName(path)) {
      catalog_.AddPhoto(path);
    }
  }

private:
  AlbumCatalog& catalog_;
};

} // namespace

AlbumYear::AlbumYear(std::int32_t year) : Year(year) {
  for (std::int32_t m = 1; m <= 12; ++m) {
    AlbumMonth& month = Months[static_cast<size_t>(m - 1)];
    month.Month = m;
    for (std::int32_t d = 1; d <= 31; ++d) {
      month.Days[static_cast<size_t>(d - 1)].Day = d;
    }
  }
}

std::int32_t AlbumMonth::CountPhotos() const {
  std::int32_t count = 0;
  for (const AlbumDay& day : Days) {
    count += static_cast<std::int32_t>(day.Photos.size());
  }
  return count;
}

std::int32_t AlbumYear::CountPhotos() const {
  std::int32_t count = 0;
  for (const AlbumMonth& month : Months) {
    count += month.CountPhotos();
  }
  return count;
}

std::int32_t AlbumCatalog::CountPhotos() const {
  std::int32_t count = 0;
  for (const AlbumYear& year : years_) {
    count += year.CountPhotos();
  }
  return count;
}

void AlbumCatalog::CollectFolder(const std::filesystem::path& folder,
                                 const std::vector<std::filesystem::path>& excluded) {
  PhotoFinder_CL finder(*this);
  finder.ExcludedFolders = excluded;
  finder.Walk(folder, true);
}

void AlbumCatalog::AddPhoto(const std::filesystem::path& path) {
  if (!IsRasterImage(path)) {
    return;
  }
  CaptureDate date;
  if (ResolveCaptureDate(path, date) == 0) {
    ActivityLog::Trace("取得失敗しました。");
    return;
  }
  auto year = std::find_if(years_.begin(), years_.end(), [&](const AlbumYear& y) { return y.Year == date.year; });
  if (year == years_.end()) {
    year = years_.insert(years_.end(), AlbumYear(date.year));
  }
  year->Months[date.month - 1u].Days[date.day - 1u].Photos.push_back(AlbumPhoto{date, path});
}

void AlbumCatalog::SortYears() {
  std::sort(years_.begin(), years_.end(), [](const AlbumYear& a, const AlbumYear& b) { return a.Year < b.Year; });
}

HRESULT AlbumCatalog::Generate(const AlbumOptions& options) const {
  ThumbnailStore_CL store(options);
  return Generate(options, store);
}

HRESULT AlbumCatalog::Generate(const AlbumOptions& options, ThumbnailStore_CL& store) const {
  const std::int32_t count = CountPhotos();
  Log().Write("写真の枚数         = %d", count);
  if (options.Progress) {
    options.Progress->SetText(options.ProgressText);
    options.Progress->AddTotal(count);
  }
  for (const std::filesystem::path& folder : {options.AlbumFolder, options.AlbumFolder / "thumb"}) {
    if (::mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) {
      return HResultFromErrno(errno);
    }
  }
  struct stat info {};
  if (::stat(options.TemplateFolder.c_str(), &info) == 0) {
    const HRESULT copied = CopyFolderTree(options.TemplateFolder, options.AlbumFolder);
    // A template with its own "thumb" folder stops the copy there, as it always has.
    if (copied != S_OK && copied != HResultFromErrno(EEXIST)) {
      return copied;
    }
  }
  MarkLocalZone(options.AlbumFolder / "picture.html", 0);

  std::string page;
  WritePageHeader(options, page, options.Title, ".");
  HRESULT hr = S_OK;
  {
    ThumbnailMaker_CL thumbnails(options, store);
    for (const AlbumYear& year : years_) {
      page += "<div class='month_list'>\n<div class='year_item'>" + IntToText(year.Year) + "年</div>\n";
      hr = year.WriteMonthItems(options, page, thumbnails);
      if (hr != S_OK) {
        break;
      }
      page += "</div>\n";
    }
    const HRESULT made = thumbnails.Finish();
    hr = hr != S_OK ? hr : made;
  }
  if (hr != S_OK) {
    return hr;
  }
  WritePageFooter(page);
  if (!WriteTextFile(options.AlbumFolder / options.IndexFileName, WideToUtf8(page))) {
    return HResultFromErrno(errno);
  }
  return store.Save();
}

HRESULT AlbumYear::WriteMonthItems(const AlbumOptions& options, std::string& page,
                                   ThumbnailMaker_CL& thumbnails) const {
  if (IsEmpty()) {
    return S_OK;
  }
  for (const AlbumMonth& month : Months) {
    const std::int32_t count = month.CountPhotos();
    if (count > 0) {
      page += "<a href='" + FormatText("./%04d/%04d%02d.html", Year, Year, month.Month) + "'>";
      const HRESULT hr = month.WriteMonthPage(options, Year, thumbnails);
      if (hr != S_OK) {
        return hr;
      }
    }
    page += "<div class='month_item'>" + IntToText(month.Month) + "月<br/>";
    page += count == 0 ? std::string("&nbsp;") : "(" + IntToText(count) + ")";
    page += "</div>";
    if (count > 0) {
      page += "</a>";
    }
    page += "\n";
  }
  return S_OK;
}

HRESULT AlbumMonth::WriteMonthPage(const AlbumOptions& options, std::int32_t year,
                                   ThumbnailMaker_CL& thumbnails) const {
  const std::string title = options.Title + FormatText(" - %04d年%02d月", year, Month);
  std::string page;
  WritePageHeader(options, page, title, "..");
  for (const AlbumDay& day : Days) {
    if (!day.Photos.empty()) {
      day.WritePhotoList(options, page, thumbnails);
    }
  }
  WritePageFooter(page);
  const std::filesystem::path yearFolder = options.AlbumFolder / FormatText("%04d", year);
  ::mkdir(yearFolder.c_str(), 0777);
  if (!WriteTextFile(yearFolder / FormatText("%04d%02d.html", year, Month), WideToUtf8(page))) {
    return HResultFromErrno(errno);
  }
  return thumbnails.Result();
}

} // namespace lumicrate
