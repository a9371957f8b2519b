// The Windows profile (INI) format in memory: parsed from the bytes of a file, edited key by key,
// and written back in the file's own encoding with every other byte kept as it was.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lumicrate {

class IniDocument {
public:
  enum class Encoding { Utf16Le, Utf16LeNoBom, Utf8Bom, Utf8, Unreadable };

  // Never fails. Bytes that are neither UTF-16LE (with a mark, or without one when the text
  // plainly is UTF-16LE) nor UTF-8 leave a document that reads nothing and refuses every change,
  // so such a file is never rewritten.
  static IniDocument Parse(std::string_view bytes);

  Encoding GetEncoding() const { return encoding_; }
  bool Writable() const { return encoding_ != Encoding::Unreadable; }

  // The value of the first matching key of the first matching section, names compared without
  // regard to case, blanks around the value and one pair of enclosing quotes removed.
  std::optional<std::u16string> Get(std::u16string_view section, std::u16string_view key) const;

  // Every key of the first matching section with its value as Get gives it, in file order.
  std::vector<std::pair<std::u16string, std::u16string>> Entries(std::u16string_view section) const;

  // Replaces the line of an existing key (keeping its spelling and line end), or adds the key
  // after the last line of its section, or adds the section at the end of the file, as the
  // profile functions do. Returns false and changes nothing for an unreadable document or for
  // names and values that would not read back as one key: an empty name, a line break or NUL
  // anywhere, "=" in the key, a key starting with "[", "]" in the section name.
  bool Set(std::u16string_view section, std::u16string_view key, std::u16string_view value);

  // The unchanged parts come out byte for byte as they were parsed.
  std::string Serialize() const;

private:
  struct Line {
    std::u16string text;
    std::u16string end; // "\r\n", "\n", or empty for a last line without a line break
  };

  static bool IsSectionLine(std::u16string_view trimmed, std::u16string_view& name);
  size_t FindSection(std::u16string_view section) const;
  size_t SectionEnd(size_t headerIndex) const;
  void Insert(size_t index, std::u16string text);

  Encoding encoding_ = Encoding::Utf16Le;
  std::u16string newline_ = u"\r\n";
  std::vector<Line> lines_;
  // A last odd byte of a UTF-16 file: no character, but kept so that nothing is lost.
  std::string oddByte_;
};

} // namespace lumicrate
