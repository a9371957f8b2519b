// The Windows profile (INI) format in memory: parsed from the bytes of a file, edited key by key,
// and written back in the file's own encoding with every other line kept as it was.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lumicrate {

class IniDocument {
public:
  enum class Encoding { Utf16Le, Utf8Bom, Utf8, Unreadable };

  // Never fails: odd trailing bytes of UTF-16 are dropped, and bytes that are neither UTF-16
  // with a mark nor UTF-8 leave a document that reads nothing and must not be written back.
  static IniDocument Parse(std::string_view bytes);

  Encoding GetEncoding() const { return encoding_; }
  bool Writable() const { return encoding_ != Encoding::Unreadable; }

  // The value of the first matching key of the first matching section, names compared without
  // regard to case, blanks around the value and one pair of enclosing quotes removed.
  std::optional<std::u16string> Get(std::u16string_view section, std::u16string_view key) const;

  // Every key of the first matching section with its value as Get gives it, in file order.
  std::vector<std::pair<std::u16string, std::u16string>> Entries(std::u16string_view section) const;

  // Replaces the value of an existing key in place, or adds the key at the end of its section,
  // or adds the section at the end of the file.
  void Set(std::u16string_view section, std::u16string_view key, std::u16string_view value);

  std::string Serialize() const;

private:
  struct Line {
    std::u16string text;
  };

  static bool IsSectionLine(std::u16string_view trimmed, std::u16string& name);
  size_t FindSection(std::u16string_view section) const;
  size_t SectionEnd(size_t headerIndex) const;

  Encoding encoding_ = Encoding::Utf16Le;
  std::u16string newline_ = u"\r\n";
  bool endsWithNewline_ = true;
  std::vector<Line> lines_;
};

} // namespace lumicrate
