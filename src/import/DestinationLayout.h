// Where an imported file goes: its capture date's folder under the output folder in one of the
// 14 layouts, and a free "(n)" name when its own is taken.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "import/CaptureDate.h"
#include "platform/HResult.h"

namespace lumicrate {

class AppContext;

inline constexpr std::int32_t kDefaultLayout = 3;
inline constexpr std::int32_t kNestedDayLayout = 13;
inline constexpr int kMaxFreeNameNumber = 99999;
inline constexpr size_t kMaxNameBytes = 255;

// "2015年/06月/21日" for layout 13; a layout outside 0 to 13 is taken as 3.
std::string DateFolderName(const CaptureDate& date, std::int32_t layout);

// The part of a date that a layout's folder name shows (year, month, day; 0 where it shows
// none): two dates with the same value share one date folder.
std::array<std::uint16_t, 3> LayoutDate(const CaptureDate& date, std::int32_t layout);

// output / date folder / the source's file name, unchanged.
std::filesystem::path DestinationPath(const std::filesystem::path& output, const CaptureDate& date, std::int32_t layout,
                                      const std::filesystem::path& source);

// "stem(n).ext" of a file name split at its last dot, the stem shortened at a character boundary
// so that the name stays within the file systems' 255-byte limit.
std::string NumberedName(const std::string& name, int n);

// The destination itself when nothing is there, else the first of "stem(1).ext" to
// "stem(99999).ext" that is free; when all are taken, the last one tried. taken, when given,
// names paths that count as taken although nothing is there yet.
std::filesystem::path FreeName(const std::filesystem::path& destination,
                               const std::function<bool(const std::filesystem::path&)>& taken = {});

// For a file that is not a duplicate: its place by its capture date (wanted) and the free name
// there (destination), skipping names taken says are taken, with the folders it needs made.
// destination receives the path chosen also when the folders cannot be made. date, when given,
// is the file's capture date as this run resolved it already.
HRESULT ChooseDestination(AppContext& context, const std::filesystem::path& output, const std::filesystem::path& source,
                          const std::function<bool(const std::filesystem::path&)>& taken, std::filesystem::path& wanted,
                          std::filesystem::path& destination, const CaptureDate* date = nullptr);

} // namespace lumicrate
