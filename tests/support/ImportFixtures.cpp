// Fixtures are made by the same libraries the program reads them with, so a test shows what
// real files do, not what a hand-made byte string does.
#include "import/ImportFixtures.h"

#include <algorithm>
#include <exiv2/exiv2.hpp>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <vips/vips8>

#include "app/Inifile_CL.h"

namespace lumicrate::test {

void MakeImage(const std::filesystem::path& path, int seed, int size) {
  static std::once_flag once;
  std::call_once(once, [] { VIPS_INIT("lumicrate-test"); });
  std::filesystem::create_directories(path.parent_path());
  const vips::VImage image =
      (vips::VImage::xyz(size, size)[0] * (seed % 7 + 1) + seed).cast(VIPS_FORMAT_UCHAR).bandjoin({0, 128});
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(), ::tolower);
  if (extension == ".png") {
    image.pngsave(path.c_str());
  } else if (extension == ".tif" || extension == ".tiff") {
    image.tiffsave(path.c_str());
  } else if (extension == ".gif") {
    image.gifsave(path.c_str());
  } else if (extension == ".bmp") {
    // 24-bit BMP of one pixel: libvips does not write BMP, and the layout is fixed.
    const unsigned char seedByte = static_cast<unsigned char>(seed);
    const std::string bmp =
        std::string("BM\x3A\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x01\0\0\0\x01\0\0\0\x01\0\x18\0", 30) +
        std::string(24, '\0') + std::string{static_cast<char>(seedByte), 0, 0, 0};
    WriteBytes(path, bmp);
  } else {
    image.jpegsave(path.c_str());
  }
}

void WriteExifDate(const std::filesystem::path& path, const std::string& value) {
  auto image = Exiv2::ImageFactory::open(path.string());
  image->readMetadata();
  image->exifData()["Exif.Photo.DateTimeOriginal"] = value;
  image->writeMetadata();
}

void MakePhoto(const std::filesystem::path& path, const std::string& exifDate, int seed) {
  MakeImage(path, seed);
  if (!exifDate.empty()) {
    WriteExifDate(path, exifDate);
  }
}

std::time_t SetModified(const std::filesystem::path& path, int year, int month, int day, int hour) {
  std::tm local{};
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day;
  local.tm_hour = hour;
  local.tm_isdst = -1;
  const std::time_t seconds = std::mktime(&local);
  const timespec times[2] = {{seconds, 0}, {seconds, 0}};
  ::utimensat(AT_FDCWD, path.c_str(), times, 0);
  return seconds;
}

std::vector<std::string> FilesUnder(const std::filesystem::path& folder) {
  std::vector<std::string> files;
  std::error_code ec;
  for (auto it = std::filesystem::recursive_directory_iterator(folder, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    if (it->is_regular_file(ec) && !it->is_symlink(ec)) {
      files.push_back(std::filesystem::relative(it->path(), folder).string());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

void ImportTest::SetUp() {
  ScratchHomeTest::SetUp();
  context.LoadSettings(Settings());
}

std::string ImportTest::LogText() const {
  return ReadUtf16File(DataFolder() / "log.txt");
}

} // namespace lumicrate::test
