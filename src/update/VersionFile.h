// The version file the vendor's server publishes: the latest version in its first seven bytes,
// a line break, the download page's address and a closing line break; one byte per character.
#pragma once

#include <string>
#include <string_view>

namespace lumicrate {

struct VersionFile {
  // What an HTML page (a server's error page, say) stands for: older than any release.
  static constexpr char16_t kNotAVersionFile[] = u"0.0.0.0";
  static constexpr size_t kVersionBytes = 7;
  static constexpr size_t kAddressOffset = 9;

  std::u16string latestVersion;
  // Empty when the body has no room for one.
  std::u16string pageAddress;

  static VersionFile Parse(std::string_view body);
};

// True for the only addresses the notice may hand to the desktop: "http://" or "https://"
// followed by something, without control characters. A forged or damaged answer could
// otherwise open a local file or start a program.
bool IsOpenablePageAddress(std::u16string_view address);

// The address as UTF-8 for the log, control characters written as \xNN so that a forged
// address cannot break the log into lines of its own.
std::string LoggableAddress(std::u16string_view address);

} // namespace lumicrate
