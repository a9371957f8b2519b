// The image work behind the album: whether a file is a raster image, its GPS position and
// orientation (exiv2), and its thumbnail (libvips): turned upright, fitted into the box with
// integer arithmetic, saved as JPEG. Large JPEGs are shrunk while they are decoded.
#pragma once

#include <exiv2/exiv2.hpp>
#include <filesystem>
#include <optional>
#include <string>
#include <vips/vips8>

#include "platform/HResult.h"

namespace lumicrate {

// Starts libvips once per process; every function below calls it.
void InitVipsOnce();

// True when libvips can read the file's header as a raster picture; a drawing (SVG) or a
// document (PDF) is not one.
bool IsRasterImage(const std::filesystem::path& path);

// The photo's EXIF, empty when it has none or cannot be read.
Exiv2::ExifData ReadExif(const std::filesystem::path& path);

struct GpsPosition {
  double Latitude = 0;
  double Longitude = 0;
};

// Decimal degrees from GPSLatitude and GPSLongitude, negative for the references S and W.
// A coordinate needs three rationals with non-zero denominators, else there is no position.
std::optional<GpsPosition> ReadGpsPosition(const Exiv2::ExifData& exif);

// The first value of the Orientation tag, 0 when there is none.
int ReadOrientation(const Exiv2::ExifData& exif);

// A photo opened for its thumbnail. Pixels may have been shrunk while loading; Width and
// Height are always those of the whole photo as it is stored (or, once upright, stands).
struct AlbumImage {
  vips::VImage Pixels;
  int Width = 0;
  int Height = 0;
  int Orientation = 0;
};

// Opens the photo shrunk on load as far as the box allows. None when it cannot be read.
std::optional<AlbumImage> OpenAlbumImage(const std::filesystem::path& path, int orientation, int boxWidth,
                                         int boxHeight);

// The image turned as its EXIF orientation asks (2 to 8); other values leave it as stored.
AlbumImage MakeUprightCopy(const AlbumImage& image);

struct BoxSize {
  int Width = 0;
  int Height = 0;
};

// The size of a w x h image fitted into an a x b box, aspect kept, small images scaled up.
BoxSize FitSize(int w, int h, int a, int b);

// The upright image scaled to FitSize of its full size. None, with the log line
// "ビットマップ生成失敗", when that size is empty.
std::optional<vips::VImage> FitIntoBox(const AlbumImage& upright, int boxWidth, int boxHeight);

// A baseline RGB (or grey) JPEG without metadata; a photo's own colour profile is applied
// first, so the thumbnail shows the same colours without it. None when the photo cannot be
// decoded or encoded: libvips decodes while it encodes.
std::optional<std::string> EncodeJpeg(const vips::VImage& image, int quality);

// EncodeJpeg into a file. E_FAIL when the photo cannot be encoded or the file cannot be written.
HRESULT SaveJpeg(const vips::VImage& image, const std::filesystem::path& path, int quality);

} // namespace lumicrate
