// One day's section of a month page: the date heading and a linked thumbnail per photo.
// The position is read here, for the link; the thumbnail itself is made by the maker's workers.
#include <sys/stat.h>

#include "album/AlbumCatalog.h"
#include "album/PageWriter.h"
#include "album/PictureLink.h"
#include "album/Thumbnail.h"
#include "album/ThumbnailMaker_CL.h"

namespace lumicrate {

void AlbumDay::WritePhotoList(const AlbumOptions& options, std::string& page, ThumbnailMaker_CL& thumbnails) const {
  if (Photos.empty()) {
    return;
  }
  // All photos of a day share the date; it is taken as resolved, 31 February included.
  const CaptureDate& date = Photos.front().Date;
  page += "<div class='photo_list'>\n<div class='year_item'>";
  page += FormatText("%04d年%02d月%02d日", date.year, date.month, date.day) + "</div>\n";
  const std::string yearText = FormatText("%04d", date.year);
  const std::filesystem::path thumbFolder = options.AlbumFolder / "thumb" / yearText;
  int n = 0;
  for (const AlbumPhoto& photo : Photos) {
    const std::string name = FormatText("%04d%02d%02d_%d", date.year, date.month, date.day, n++);
    ::mkdir(thumbFolder.c_str(), 0777);
    const Exiv2::ExifData exif = ReadExif(photo.Path);
    thumbnails.Add(photo.Path, ReadOrientation(exif), thumbFolder / (name + ".jpg"));
    page += "<a href='" + PictureLink(options, photo.Path, ReadGpsPosition(exif)) + "'>";
    page += "<img class='picture_item' src='../thumb/" + yearText + "/" + name + ".jpg' /></a>\n";
  }
  page += "</div>\n";
}

} // namespace lumicrate
