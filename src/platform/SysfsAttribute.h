// One attribute of a sysfs (or udev) device: its first line, trimmed of the blanks that SCSI
// names are padded with. Every reader of device attributes goes through it.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace lumicrate {

// The text without leading and trailing characters from " \t\r\n"; empty when only those.
std::string_view TrimBlanks(std::string_view text);

// The first line of file, trimmed; empty when the file cannot be read.
std::string ReadAttribute(const std::filesystem::path& file);

} // namespace lumicrate
