// Fixtures are small and made fresh in every test, so each shows exactly the case it tests.
#include "AlbumFixture.h"

#include <exiv2/exiv2.hpp>

#include "album/BuildAlbum.h"
#include "album/Thumbnail.h"

namespace lumicrate::test {
namespace {

void DrawSquare(vips::VImage& image, Corner corner, const std::vector<double>& colour) {
  const int w = image.width() / 5;
  const int h = image.height() / 5;
  const bool right = corner == Corner::TopRight || corner == Corner::BottomRight;
  const bool bottom = corner == Corner::BottomLeft || corner == Corner::BottomRight;
  image.draw_rect(colour, right ? image.width() - w : 0, bottom ? image.height() - h : 0, w, h,
                  vips::VImage::option()->set("fill", true));
}

void SetRationals(Exiv2::ExifData& exif, const char* key, const std::string& text) {
  Exiv2::URationalValue value;
  value.read(text);
  exif[key] = value;
}

} // namespace

const std::string kEmptyIndexPage =
    "<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<meta charset=\"UTF-8\" />\r\n"
    "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\" />\r\n"
    "<title>写真一覧</title>\r\n"
    "<link href=\"./make_photo_album.css\" rel=\"stylesheet\" type=\"text/css\" />\r\n"
    "</head>\r\n<body>\r\n<div class=\"header\">\r\n<div class=\"frame\">\r\n"
    "<h1>写真一覧</h1></div>\r\n</div>\r\n<div class=\"main_frame\">\r\n"
    "</div>\r\n<div class=\"footer\">\r\n<div class=\"frame\">\r\n\r\n"
    "<h1 class='orvellink'><a href='http://lumicrate.example/Lumicrate/'>ルミクレート</a></h1>\r\n"
    "</div>\r\n</div>\r\n</body>\r\n</html>\r\n";

void MakePhoto(const std::filesystem::path& path, const PhotoOptions& photo) {
  InitVipsOnce();
  std::filesystem::create_directories(path.parent_path());
  vips::VImage image = vips::VImage::black(photo.width, photo.height, vips::VImage::option()->set("bands", 3))
                           .new_from_image({40, 60, 160})
                           .cast(VIPS_FORMAT_UCHAR)
                           .copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB))
                           .copy_memory();
  if (photo.red) {
    DrawSquare(image, *photo.red, {255, 0, 0});
  }
  if (photo.green) {
    DrawSquare(image, *photo.green, {0, 255, 0});
  }
  image.jpegsave(path.c_str(), vips::VImage::option()->set("Q", 95)->set("strip", true));

  auto file = Exiv2::ImageFactory::open(path.string());
  file->readMetadata();
  Exiv2::ExifData exif;
  if (!photo.dateTimeOriginal.empty()) {
    exif["Exif.Photo.DateTimeOriginal"] = photo.dateTimeOriginal;
  }
  if (photo.orientation != 0) {
    exif["Exif.Image.Orientation"] = static_cast<std::uint16_t>(photo.orientation);
  }
  if (!photo.latitude.empty()) {
    exif["Exif.GPSInfo.GPSLatitudeRef"] = photo.latitudeRef;
    SetRationals(exif, "Exif.GPSInfo.GPSLatitude", photo.latitude);
  }
  if (!photo.longitude.empty()) {
    exif["Exif.GPSInfo.GPSLongitudeRef"] = photo.longitudeRef;
    SetRationals(exif, "Exif.GPSInfo.GPSLongitude", photo.longitude);
  }
  file->setExifData(exif);
  file->writeMetadata();
}

std::array<double, 3> PixelAt(const std::filesystem::path& path, int x, int y) {
  const std::vector<double> pixel = vips::VImage::new_from_file(path.c_str())(x, y);
  return {pixel.at(0), pixel.at(1), pixel.at(2)};
}

bool IsRed(const std::array<double, 3>& p) {
  return p[0] > 180 && p[1] < 80 && p[2] < 80;
}
bool IsGreen(const std::array<double, 3>& p) {
  return p[1] > 180 && p[0] < 80 && p[2] < 80;
}

void AlbumTest::SetUp() {
  ScratchHomeTest::SetUp();
  out_ = std::make_unique<TempDir>();
}

AlbumOptions AlbumTest::Options(Progress_CL* progress) const {
  AlbumOptions options = MakeAlbumOptions(progress, Out());
  options.TemplateFolder = std::filesystem::path(LUMICRATE_SOURCE_DIR) / "Template" / "0001";
  return options;
}

} // namespace lumicrate::test
