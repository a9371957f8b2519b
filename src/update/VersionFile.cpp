// Each byte of the body becomes one UTF-16 code unit, without any code-page conversion, so
// versions compare exactly as the bytes the server sent.
#include "update/VersionFile.h"

#include <algorithm>
#include <cstdio>

#include "platform/Utf.h"

namespace lumicrate {
namespace {

// The text up to the first zero byte.
std::u16string Widen(std::string_view bytes) {
  std::u16string text;
  for (const char byte : bytes) {
    if (byte == '\0') {
      break;
    }
    text.push_back(static_cast<char16_t>(static_cast<unsigned char>(byte)));
  }
  return text;
}

bool IsControl(char16_t unit) {
  return unit < 0x20 || (unit >= 0x7F && unit <= 0x9F);
}

} // namespace

VersionFile VersionFile::Parse(std::string_view body) {
  VersionFile file;
  file.latestVersion = body.starts_with('<') ? std::u16string(kNotAVersionFile) : Widen(body.substr(0, kVersionBytes));
  // The closing line break is not part of the address.
  if (body.size() > kAddressOffset + 2) {
    file.pageAddress = Widen(body.substr(kAddressOffset, body.size() - kAddressOffset - 2));
  }
  return file;
}

bool IsOpenablePageAddress(std::u16string_view address) {
  for (const std::u16string_view scheme : {u"http://", u"https://"}) {
    if (address.size() > scheme.size() && address.starts_with(scheme)) {
      return std::none_of(address.begin(), address.end(), IsControl);
    }
  }
  return false;
}

std::string LoggableAddress(std::u16string_view address) {
  std::u16string text;
  for (const char16_t unit : address) {
    if (IsControl(unit)) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned>(unit));
      text.append(escaped, escaped + 4);
    } else {
      text.push_back(unit);
    }
  }
  return Utf16ToUtf8(text);
}

} // namespace lumicrate
