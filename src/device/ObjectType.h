// The content type and format of a device object, as the GUIDs portable devices use for them,
// derived from the MIME type the device reports.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace lumicrate {

struct Guid {
  std::uint32_t data1 = 0;
  std::uint16_t data2 = 0;
  std::uint16_t data3 = 0;
  std::array<std::uint8_t, 8> data4{};

  friend bool operator==(const Guid&, const Guid&) = default;
};

namespace content_type {
inline constexpr Guid kFunctionalObject{0x99ED0160, 0x17FF, 0x4C44, {0x9D, 0x98, 0x1D, 0x7A, 0x6F, 0x94, 0x19, 0x21}};
inline constexpr Guid kFolder{0x27E2E392, 0xA111, 0x48E0, {0xAB, 0x0C, 0xE1, 0x77, 0x05, 0xA0, 0x5F, 0x85}};
inline constexpr Guid kImage{0xEF2107D5, 0xA52A, 0x4243, {0xA2, 0x6B, 0x62, 0xD4, 0x17, 0x6D, 0x76, 0x03}};
inline constexpr Guid kVideo{0x9261B03C, 0x3D78, 0x4519, {0x85, 0xE3, 0x02, 0xC5, 0xE1, 0xF5, 0x0B, 0xB9}};
inline constexpr Guid kAudio{0x4AD2C85E, 0x5E2D, 0x45E5, {0x88, 0x64, 0x4F, 0x22, 0x9E, 0x3C, 0x6C, 0xF0}};
inline constexpr Guid kUnspecified{0x28D8D31E, 0x249C, 0x454E, {0xAA, 0xBC, 0x34, 0x88, 0x31, 0x68, 0xE6, 0x34}};
} // namespace content_type

// Object formats are the PTP format codes in one GUID pattern: {CCCC0000-AE6C-4804-98BA-C57B46965FE7}.
constexpr Guid FormatFromPtpCode(std::uint16_t code) {
  return Guid{static_cast<std::uint32_t>(code) << 16, 0xAE6C, 0x4804, {0x98, 0xBA, 0xC5, 0x7B, 0x46, 0x96, 0x5F, 0xE7}};
}

namespace object_format {
inline constexpr Guid kUnspecified = FormatFromPtpCode(0x3000);
inline constexpr Guid kPropertiesOnly = FormatFromPtpCode(0x3001);
inline constexpr Guid kExif = FormatFromPtpCode(0x3801);
} // namespace object_format

Guid ContentTypeForMime(std::string_view mimeType);
Guid FormatForMime(std::string_view mimeType);

} // namespace lumicrate
