// Files without a usable EXIF date fall back to the modification time; the EXIF value is used
// as written, without any time-zone correction.
#include "import/CaptureDate.h"

#include <cstdio>
#include <ctime>
#include <exiv2/exiv2.hpp>
#include <mutex>
#include <sys/stat.h>

#include "app/ActivityLog.h"
#include "import/DescriptorIo.h"

namespace lumicrate {
namespace {

void InitExiv2Once() {
  static std::once_flag once;
  std::call_once(once, [] {
    // Exiv2 otherwise prints its warnings about odd files to stderr.
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
    Exiv2::XmpParser::initialize();
  });
}

std::string DateTimeOriginal(Exiv2::Image* image) {
  if (!image) {
    return {};
  }
  image->readMetadata();
  const Exiv2::ExifData& exif = image->exifData();
  const auto it = exif.findKey(Exiv2::ExifKey("Exif.Photo.DateTimeOriginal"));
  if (it == exif.end() || it->count() == 0) {
    return {};
  }
  return it->toString();
}

} // namespace

bool IsPlausible(const CaptureDate& d) {
  return d.month >= 1 && d.month <= 12 && d.day >= 1 && d.day <= 31 && d.hour <= 23 && d.minute <= 59 &&
         d.second <= 59 && d.millisecond <= 999;
}

std::string DateText(const CaptureDate& d) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d:%02d:%02d:%02d.%03d", d.year, d.month, d.day, d.hour, d.minute,
                d.second, d.millisecond);
  return buffer;
}

std::string ReadExifDateTimeOriginal(const std::filesystem::path& path) {
  InitExiv2Once();
  try {
    auto image = Exiv2::ImageFactory::open(path.string());
    return DateTimeOriginal(image.get());
  } catch (const std::exception&) {
    return {};
  }
}

std::string ReadExifDateTimeOriginal(int fd, std::int64_t size, const std::filesystem::path& path) {
  InitExiv2Once();
  try {
    auto image = Exiv2::ImageFactory::open(Exiv2::BasicIo::AutoPtr(new DescriptorIo(fd, size, path.string())));
    return DateTimeOriginal(image.get());
  } catch (const std::exception&) {
    return {};
  }
}

int ResolveCaptureDate(const std::filesystem::path& path, CaptureDate& date) {
  return ResolveCaptureDate(path, ReadExifDateTimeOriginal(path), date);
}

int ResolveCaptureDate(const std::filesystem::path& path, const std::string& exif, CaptureDate& date) {
  if (!exif.empty()) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    const int fields =
        std::sscanf(exif.c_str(), "%04d:%02d:%02d %02d:%02d:%02d", &year, &month, &day, &hour, &minute, &second);
    date = CaptureDate{static_cast<std::uint16_t>(year),
                       static_cast<std::uint16_t>(month),
                       0,
                       static_cast<std::uint16_t>(day),
                       static_cast<std::uint16_t>(hour),
                       static_cast<std::uint16_t>(minute),
                       static_cast<std::uint16_t>(second),
                       0};
    // A value that does not yield all six numbers is as unusable as an impossible one.
    if (fields == 6 && IsPlausible(date)) {
      return 1;
    }
    Log().Write("Exif撮影日時エラーの為ファイルの更新日付から取得する = %s, %s", DateText(date).c_str(), path.c_str());
  }

  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    return 0;
  }
  std::tm local{};
  if (!localtime_r(&info.st_mtim.tv_sec, &local)) {
    return 0;
  }
  date = CaptureDate{
      static_cast<std::uint16_t>(local.tm_year + 1900), static_cast<std::uint16_t>(local.tm_mon + 1),
      static_cast<std::uint16_t>(local.tm_wday),        static_cast<std::uint16_t>(local.tm_mday),
      static_cast<std::uint16_t>(local.tm_hour),        static_cast<std::uint16_t>(local.tm_min),
      static_cast<std::uint16_t>(local.tm_sec),         static_cast<std::uint16_t>(info.st_mtim.tv_nsec / 1000000)};
  if (!IsPlausible(date)) {
    Log().Write("撮影日時エラーの為除外 = %s, %s", DateText(date).c_str(), path.c_str());
    return 0;
  }
  return 1;
}

} // namespace lumicrate
