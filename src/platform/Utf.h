// UTF-8 <-> UTF-16 conversion for the few formats that are UTF-16 on disk (settings file, log).
// Invalid input never throws: bad sequences become U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace lumicrate {

std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);
bool IsValidUtf8(std::string_view text);

// Cuts text to at most maxUnits UTF-16 code units without splitting a surrogate pair.
std::u16string CutUtf16(std::u16string text, size_t maxUnits);

// Only ASCII capitals change: names in the settings file and extensions are matched that way.
std::string AsciiToLower(std::string text);

} // namespace lumicrate
