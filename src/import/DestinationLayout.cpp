// Nothing is ever overwritten: the free-name search avoids names that are taken, and the copy
// that later puts a file in place refuses a name that something took in the meantime.
#include "import/DestinationLayout.h"

#include <cstdio>
#include <sys/stat.h>

#include "app/ActivityLog.h"
#include "app/AppContext.h"

namespace lumicrate {
namespace {

constexpr const char* kLayoutPatterns[] = {
    "%04d",           "%04d%02d",
    "%04d%02d%02d",   "%04d-%02d",
    "%04d-%02d-%02d", "%04d_%02d",
    "%04d_%02d_%02d", "%04d/%02d",
    "%04d/%02d/%02d", "%04d年",
    "%04d年%02d月",   "%04d年%02d月%02d日",
    "%04d年/%02d月",  "%04d年/%02d月/%02d日",
};
constexpr int kLayoutCount = static_cast<int>(std::size(kLayoutPatterns));
// How many of year, month and day each layout's name shows.
constexpr int kLayoutParts[kLayoutCount] = {1, 2, 3, 2, 3, 2, 3, 2, 3, 1, 2, 3, 2, 3};

int ValidLayout(std::int32_t layout) {
  return layout >= 0 && layout < kLayoutCount ? layout : kDefaultLayout;
}

bool Exists(const std::filesystem::path& path) {
  struct stat info {};
  // lstat: a dangling symbolic link is a taken name too.
  return ::lstat(path.c_str(), &info) == 0;
}

} // namespace

std::string DateFolderName(const CaptureDate& date, std::int32_t layout) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, kLayoutPatterns[ValidLayout(layout)], date.year, date.month, date.day);
  return buffer;
}

std::array<std::uint16_t, 3> LayoutDate(const CaptureDate& date, std::int32_t layout) {
  const int parts = kLayoutParts[ValidLayout(layout)];
  return {date.year, parts >= 2 ? date.month : std::uint16_t{0}, parts >= 3 ? date.day : std::uint16_t{0}};
}

std::filesystem::path DestinationPath(const std::filesystem::path& output, const CaptureDate& date, std::int32_t layout,
                                      const std::filesystem::path& source) {
  return output / DateFolderName(date, layout) / source.filename();
}

std::string NumberedName(const std::string& name, int n) {
  const size_t dot = name.rfind('.');
  std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
  std::string extension = dot == std::string::npos ? std::string() : name.substr(dot);
  const std::string number = "(" + std::to_string(n) + ")";
  if (number.size() + extension.size() > kMaxNameBytes) {
    // An "extension" that long is no extension: the whole name is shortened instead.
    stem = name;
    extension.clear();
  }
  const size_t room = kMaxNameBytes - number.size() - extension.size();
  if (stem.size() > room) {
    size_t cut = room;
    // Back to the first byte of a UTF-8 sequence, so no character is split.
    while (cut > 0 && (static_cast<unsigned char>(stem[cut]) & 0xC0) == 0x80) {
      --cut;
    }
    stem.resize(cut);
  }
  return stem + number + extension;
}

std::filesystem::path FreeName(const std::filesystem::path& destination,
                               const std::function<bool(const std::filesystem::path&)>& taken) {
  const auto isTaken = [&](const std::filesystem::path& path) { return Exists(path) || (taken && taken(path)); };
  if (!isTaken(destination)) {
    return destination;
  }
  const std::string name = destination.filename().native();
  std::filesystem::path candidate;
  for (int n = 1; n <= kMaxFreeNameNumber; ++n) {
    candidate = destination.parent_path() / NumberedName(name, n);
    if (!isTaken(candidate)) {
      break;
    }
  }
  return candidate;
}

HRESULT ChooseDestination(AppContext& context, const std::filesystem::path& output, const std::filesystem::path& source,
                          const std::function<bool(const std::filesystem::path&)>& taken, std::filesystem::path& wanted,
                          std::filesystem::path& destination, const CaptureDate* known) {
  CaptureDate date;
  if (known) {
    date = *known;
  } else if (!context.CaptureDates.Resolve(source, date)) {
    // No date, no place: the file is not copied, and the caller hears why.
    ActivityLog::Trace("取得失敗しました。");
    wanted.clear();
    destination.clear();
    struct stat info {};
    return ::stat(source.c_str(), &info) != 0 ? HResultFromErrno(errno) : E_FAIL;
  }
  wanted = DestinationPath(output, date, context.OutputFormatType, source);
  destination = FreeName(wanted, taken);
  // A date folder that cannot be made fails the copy with the reason it could not be made
  // (a read-only disk, no permission), not with the "missing folder" the copy would meet.
  std::error_code made;
  std::filesystem::create_directories(destination.parent_path(), made);
  return made ? HResultFromErrno(made.value()) : S_OK;
}

} // namespace lumicrate
