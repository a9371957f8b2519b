// The date and time a file is filed under: the EXIF DateTimeOriginal of a photo when it is
// plausible, else the file's modification time in local time.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace lumicrate {

// Local wall-clock time, laid out like the Windows SYSTEMTIME.
struct CaptureDate {
  std::uint16_t year = 0;
  std::uint16_t month = 0;
  std::uint16_t dayOfWeek = 0;
  std::uint16_t day = 0;
  std::uint16_t hour = 0;
  std::uint16_t minute = 0;
  std::uint16_t second = 0;
  std::uint16_t millisecond = 0;

  friend bool operator==(const CaptureDate&, const CaptureDate&) = default;
};

// Month 1-12, day 1-31 whatever the month, hour 0-23, minute and second 0-59, millisecond
// 0-999; the year is not checked.
bool IsPlausible(const CaptureDate& date);

// "2015/06/21:14:03:09.000", as log lines show a date.
std::string DateText(const CaptureDate& date);

// The EXIF DateTimeOriginal text ("2015:06:21 14:03:09") or empty when the file has none or
// cannot be read as an image. Reader errors are caught here and mean "no date".
std::string ReadExifDateTimeOriginal(const std::filesystem::path& path);
// The same from the open descriptor fd of the file at path, of size bytes; fd's position is
// not used.
std::string ReadExifDateTimeOriginal(int fd, std::int64_t size, const std::filesystem::path& path);

// Returns 1 with a plausible date in date, 0 when the file is to be left out. The record is
// written by whichever source was tried last, even on failure.
int ResolveCaptureDate(const std::filesystem::path& path, CaptureDate& date);
// The same with the file's EXIF text already read (ReadExifDateTimeOriginal), as a run reads it
// ahead on other threads while the log lines still come in the order of the files.
int ResolveCaptureDate(const std::filesystem::path& path, const std::string& exif, CaptureDate& date);

} // namespace lumicrate
