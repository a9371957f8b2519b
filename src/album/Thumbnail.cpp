// libvips stands in for GDI+ here. The sizes come from our own integer arithmetic, not the
// library's rounding, so the thumbnails have the same sizes the Windows program makes.
#include "album/Thumbnail.h"

#include <algorithm>
#include <glib.h>
#include <mutex>
#include <string_view>
#include <utility>

#include "album/PageWriter.h"
#include "app/ActivityLog.h"

namespace lumicrate {
namespace {

// libjpeg decodes at 1/2, 1/4 or 1/8 of the size for much less work than the whole photo
// (a 12-megapixel photo takes a fifth less time at 1/8 than at 1/4). The largest such shrink
// that still leaves at least the thumbnail's size is taken; the resize does the rest.
constexpr int kJpegShrinks[] = {8, 4, 2};

void DropVipsWarning(const gchar*, GLogLevelFlags, const gchar*, gpointer) {}

bool Turned(int orientation) {
  return orientation >= 5 && orientation <= 8;
}

// The libvips loader that read the image ("jpegload", "svgload", ...), empty when unknown.
std::string_view LoaderOf(const vips::VImage& image) {
  return image.get_typeof("vips-loader") != 0 ? image.get_string("vips-loader") : "";
}

// Drawings and documents are rendered, not decoded: they are no photos, whatever their name.
bool IsVectorLoader(std::string_view loader) {
  return loader.starts_with("svgload") || loader.starts_with("pdfload");
}

std::optional<double> ReadCoordinate(const Exiv2::ExifData& exif, const char* key, const char* refKey,
                                     char negativeRef) {
  const auto it = exif.findKey(Exiv2::ExifKey(key));
  if (it == exif.end() || it->count() < 3) {
    return std::nullopt;
  }
  // Degrees, minutes, seconds; each part of a rational read as a signed 32-bit number.
  double value = 0;
  double unit = 1;
  for (long i = 0; i < 3; ++i) {
    const Exiv2::Rational part = it->toRational(i);
    if (part.second == 0) {
      return std::nullopt;
    }
    value += static_cast<double>(part.first) / part.second / unit;
    unit *= 60;
  }
  const auto ref = exif.findKey(Exiv2::ExifKey(refKey));
  if (ref != exif.end() && ref->toString().starts_with(negativeRef)) {
    value = -value;
  }
  return value;
}

} // namespace

void InitVipsOnce() {
  static std::once_flag once;
  std::call_once(once, [] {
    vips_init("lumicrate");
    // Every photo is read once; a cache would only hold decoded pixels and open files.
    vips_cache_set_max(0);
    // A damaged photo still gives what can be decoded of it; its warnings would only clutter
    // the terminal.
    g_log_set_handler("VIPS", static_cast<GLogLevelFlags>(G_LOG_LEVEL_WARNING | G_LOG_LEVEL_MESSAGE), DropVipsWarning,
                      nullptr);
  });
}

bool IsRasterImage(const std::filesystem::path& path) {
  InitVipsOnce();
  try {
    return !IsVectorLoader(LoaderOf(vips::VImage::new_from_file(path.c_str())));
  } catch (const vips::VError&) {
    vips_error_clear();
    return false;
  }
}

Exiv2::ExifData ReadExif(const std::filesystem::path& path) {
  try {
    auto image = Exiv2::ImageFactory::open(path.string());
    if (!image.get()) {
      return {};
    }
    image->readMetadata();
    return image->exifData();
  } catch (const std::exception&) {
    return {};
  }
}

std::optional<GpsPosition> ReadGpsPosition(const Exiv2::ExifData& exif) {
  const auto latitude = ReadCoordinate(exif, "Exif.GPSInfo.GPSLatitude", "Exif.GPSInfo.GPSLatitudeRef", 'S');
  if (!latitude) {
    return std::nullopt;
  }
  const auto longitude = ReadCoordinate(exif, "Exif.GPSInfo.GPSLongitude", "Exif.GPSInfo.GPSLongitudeRef", 'W');
  if (!longitude) {
    return std::nullopt;
  }
  return GpsPosition{*latitude, *longitude};
}

int ReadOrientation(const Exiv2::ExifData& exif) {
  const auto it = exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
  if (it == exif.end() || it->count() == 0) {
    return 0;
  }
  return static_cast<std::uint16_t>(it->toLong(0));
}

std::optional<AlbumImage> OpenAlbumImage(const std::filesystem::path& path, int orientation, int boxWidth,
                                         int boxHeight) {
  InitVipsOnce();
  try {
    AlbumImage image{vips::VImage::new_from_file(path.c_str()), 0, 0, orientation};
    image.Width = image.Pixels.width();
    image.Height = image.Pixels.height();
    const bool jpeg = LoaderOf(image.Pixels) == "jpegload";
    const bool turned = Turned(orientation);
    const int uprightWidth = turned ? image.Height : image.Width;
    const int uprightHeight = turned ? image.Width : image.Height;
    const BoxSize fit = FitSize(uprightWidth, uprightHeight, boxWidth, boxHeight);
    if (jpeg && fit.Width > 0 && fit.Height > 0) {
      const double factor =
          std::min(static_cast<double>(uprightWidth) / fit.Width, static_cast<double>(uprightHeight) / fit.Height);
      for (const int shrink : kJpegShrinks) {
        if (factor >= shrink) {
          image.Pixels = vips::VImage::new_from_file(path.c_str(), vips::VImage::option()->set("shrink", shrink));
          break;
        }
      }
    }
    return image;
  } catch (const vips::VError&) {
    vips_error_clear();
    return std::nullopt;
  }
}

AlbumImage MakeUprightCopy(const AlbumImage& image) {
  AlbumImage upright = image;
  const vips::VImage& pixels = image.Pixels;
  switch (image.Orientation) {
  case 2:
    upright.Pixels = pixels.flip(VIPS_DIRECTION_HORIZONTAL);
    break;
  case 3:
    upright.Pixels = pixels.rot(VIPS_ANGLE_D180);
    break;
  case 4:
    upright.Pixels = pixels.flip(VIPS_DIRECTION_VERTICAL);
    break;
  case 5:
    upright.Pixels = pixels.rot(VIPS_ANGLE_D90).flip(VIPS_DIRECTION_HORIZONTAL);
    break;
  case 6:
    upright.Pixels = pixels.rot(VIPS_ANGLE_D90);
    break;
  case 7:
    upright.Pixels = pixels.rot(VIPS_ANGLE_D270).flip(VIPS_DIRECTION_HORIZONTAL);
    break;
  case 8:
    upright.Pixels = pixels.rot(VIPS_ANGLE_D270);
    break;
  default:
    return upright;
  }
  if (Turned(image.Orientation)) {
    std::swap(upright.Width, upright.Height);
  }
  upright.Orientation = 1;
  return upright;
}

BoxSize FitSize(int w, int h, int a, int b) {
  // 64-bit products, so huge photos cannot overflow; the quotients are those of 32-bit code.
  const auto scale = [](std::int64_t x, std::int64_t y, std::int64_t z) {
    return z == 0 ? 0 : static_cast<int>(x * y / z);
  };
  BoxSize size;
  if (w < h) {
    size = {scale(b, w, h), b};
    if (a < size.Width) {
      size = {a, scale(a, h, w)};
    }
  } else {
    size = {a, scale(a, h, w)};
    if (b < size.Height) {
      size = {scale(w, b, h), b};
    }
  }
  return size;
}

std::optional<vips::VImage> FitIntoBox(const AlbumImage& upright, int boxWidth, int boxHeight) {
  const BoxSize fit = FitSize(upright.Width, upright.Height, boxWidth, boxHeight);
  if (fit.Width <= 0 || fit.Height <= 0) {
    Log().Write("ビットマップ生成失敗");
    return std::nullopt;
  }
  const vips::VImage& pixels = upright.Pixels;
  try {
    return pixels.resize(static_cast<double>(fit.Width) / pixels.width(),
                         vips::VImage::option()->set("vscale", static_cast<double>(fit.Height) / pixels.height()));
  } catch (const vips::VError&) {
    vips_error_clear();
    Log().Write("ビットマップ生成失敗");
    return std::nullopt;
  }
}

std::optional<std::string> EncodeJpeg(const vips::VImage& image, int quality) {
  try {
    vips::VImage out = image;
    // CMYK without a profile goes through libvips' stock CMYK profile: a thumbnail is RGB, as
    // browsers show CMYK JPEGs unreliably.
    if (out.get_typeof("icc-profile-data") != 0 || out.interpretation() == VIPS_INTERPRETATION_CMYK) {
      try {
        out = out.icc_transform("srgb");
      } catch (const vips::VError&) {
        // A profile that cannot be used is ignored, as a viewer without colour management would.
        vips_error_clear();
      }
    }
    VipsBlob* blob = out.jpegsave_buffer(vips::VImage::option()->set("Q", quality)->set("strip", true));
    size_t length = 0;
    const void* data = vips_blob_get(blob, &length);
    std::string bytes(static_cast<const char*>(data), length);
    vips_area_unref(VIPS_AREA(blob));
    return bytes;
  } catch (const vips::VError&) {
    vips_error_clear();
    return std::nullopt;
  }
}

HRESULT SaveJpeg(const vips::VImage& image, const std::filesystem::path& path, int quality) {
  const auto bytes = EncodeJpeg(image, quality);
  return bytes && WriteBinaryFile(path, *bytes) ? S_OK : E_FAIL;
}

} // namespace lumicrate
