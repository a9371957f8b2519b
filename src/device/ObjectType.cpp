// A short table covers the formats cameras and phones hold; anything else is "unspecified",
// which nothing in the import depends on (it goes by the file name).
#include "device/ObjectType.h"

#include <utility>

namespace lumicrate {

Guid ContentTypeForMime(std::string_view mimeType) {
  if (mimeType.starts_with("image/")) {
    return content_type::kImage;
  }
  if (mimeType.starts_with("video/")) {
    return content_type::kVideo;
  }
  if (mimeType.starts_with("audio/")) {
    return content_type::kAudio;
  }
  return content_type::kUnspecified;
}

Guid FormatForMime(std::string_view mimeType) {
  static constexpr std::pair<std::string_view, std::uint16_t> kFormats[] = {
      {"image/jpeg", 0x3801},   {"image/tiff", 0x380D},      {"image/png", 0x380B},   {"image/gif", 0x3807},
      {"image/bmp", 0x3804},    {"audio/wav", 0x3008},       {"audio/x-wav", 0x3008}, {"audio/mpeg", 0x3009},
      {"audio/x-aiff", 0x3007}, {"video/x-msvideo", 0x300A}, {"video/mpeg", 0x300B},  {"video/quicktime", 0x300D},
      {"video/mp4", 0xB982},    {"video/3gpp", 0xB984},
  };
  for (const auto& [mime, code] : kFormats) {
    if (mime == mimeType) {
      return FormatFromPtpCode(code);
    }
  }
  return object_format::kUnspecified;
}

} // namespace lumicrate
