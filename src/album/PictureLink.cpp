// The photo itself is linked, not copied: the viewer page one folder up from the month page
// reaches the output folder through "..".
#include "album/PictureLink.h"

#include <charconv>

#include "album/PageWriter.h"

namespace lumicrate {
namespace {

bool KeptAsIs(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
         c == '.' || c == '~' || c == '/';
}

// Six decimals like "%lf", with a point whatever the locale.
std::string CoordinateText(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
  return std::string(buffer, result.ptr);
}

} // namespace

std::string PercentEncode(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  encoded.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (KeptAsIs(byte)) {
      encoded += c;
    } else {
      encoded += '%';
      encoded += kHex[byte >> 4];
      encoded += kHex[byte & 0x0F];
    }
  }
  return encoded;
}

std::string PictureLink(const AlbumOptions& options, const std::filesystem::path& photo,
                        const std::optional<GpsPosition>& position) {
  const std::string address = "/" + photo.lexically_relative(options.OutputFolder).generic_string();
  std::string link = "../picture.html?img=.." + PercentEncode(address);
  if (position) {
    link += "&map=" + IntToText(options.MapMode) + "&lat=" + CoordinateText(position->Latitude) +
            "&lon=" + CoordinateText(position->Longitude);
  }
  return link;
}

} // namespace lumicrate
