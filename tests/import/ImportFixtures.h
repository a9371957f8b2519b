// Real media files for the import tests: images encoded by libvips, EXIF dates written by
// exiv2, file times set by hand, and a scratch HOME with the import switches loaded.
#pragma once

#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "app/AppContext.h"
#include "support/TestSupport.h"

namespace lumicrate::test {

// Writes a small image in the format its extension names (.jpg, .png, .tif, .gif, .bmp;
// anything else gets JPEG bytes). seed makes the pixels, and so the bytes, differ.
void MakeImage(const std::filesystem::path& path, int seed, int size = 16);
// Sets Exif.Photo.DateTimeOriginal ("2015:06:21 14:03:09") with exiv2.
void WriteExifDate(const std::filesystem::path& path, const std::string& value);
// A JPEG with that DateTimeOriginal; an empty value writes none.
void MakePhoto(const std::filesystem::path& path, const std::string& exifDate, int seed);
// Sets the modification time (local time as written) and returns it as seconds.
std::time_t SetModified(const std::filesystem::path& path, int year, int month, int day, int hour = 12);
// Every regular file under folder, sorted, as paths relative to it.
std::vector<std::string> FilesUnder(const std::filesystem::path& folder);

// A scratch HOME, a fresh context with the default tables and all media kinds switched on.
class ImportTest : public ScratchHomeTest {
protected:
  void SetUp() override;
  std::string LogText() const;
  AppContext context;
  TempDir dir;
};

} // namespace lumicrate::test
