// What every album page shares: the header and footer, the bytes on disk (UTF-8, CR LF) and
// the zone mark that tells Windows clients of a shared folder the viewer page is local.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "album/AlbumOptions.h"

namespace lumicrate {

// The xattr in which Samba keeps a file's "Zone.Identifier" stream.
inline constexpr const char* kZoneAttribute = "user.DosStream.Zone.Identifier:$DATA";

// styleBase is the path from the page to the album root: "." or "..".
void WritePageHeader(const AlbumOptions& options, std::string& page, std::string_view title,
                     std::string_view styleBase);
void WritePageFooter(std::string& page);

// Page text is composed as UTF-8 already; this guarantees the bytes written are valid UTF-8
// (a stray byte becomes U+FFFD) and carry no byte-order mark.
std::string WideToUtf8(std::string_view text);
std::string IntToText(std::int32_t value);
// printf into a string, for the fixed-width dates and names of the album.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Creates or truncates the file and writes the bytes with every LF stored as CR LF. On
// failure errno says why.
bool WriteTextFile(const std::filesystem::path& path, std::string_view bytes);
// The same without any translation.
bool WriteBinaryFile(const std::filesystem::path& path, std::string_view bytes);
// The whole file into bytes; false, with errno saying why, when it cannot be read.
bool ReadBinaryFile(const std::filesystem::path& path, std::string& bytes);

// Writes "[ZoneTransfer]\r\nZoneId=n\r\n" into the zone attribute, creating the file empty
// when it is missing. File systems without user xattrs simply leave the file unmarked.
void MarkLocalZone(const std::filesystem::path& path, std::int32_t zone);

} // namespace lumicrate
