// Attributes are tiny text files; reading the first line keeps a stray binary attribute from
// being read whole.
#include "platform/SysfsAttribute.h"

#include <fstream>

namespace lumicrate {

std::string_view TrimBlanks(std::string_view text) {
  constexpr std::string_view kBlanks = " \t\r\n";
  const size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) {
    return {};
  }
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::string ReadAttribute(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  return std::string(TrimBlanks(line));
}

} // namespace lumicrate
