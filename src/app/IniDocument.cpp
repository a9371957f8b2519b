// Matching follows the profile functions: names are trimmed and compared ignoring ASCII case,
// lines without "=" are not keys, and the first of repeated sections or keys wins.
#include "app/IniDocument.h"

#include "platform/Utf.h"

namespace lumicrate {
namespace {

constexpr size_t kNotFound = static_cast<size_t>(-1);

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f';
}

std::u16string_view Trim(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && IsBlank(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

char16_t FoldCase(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool SameName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) {
      return false;
    }
  }
  return true;
}

// Splits "key=value" lines; returns false for lines that hold no key.
bool SplitKey(std::u16string_view line, std::u16string_view& key, std::u16string_view& value) {
  const size_t equals = line.find(u'=');
  if (equals == std::u16string_view::npos) {
    return false;
  }
  key = Trim(line.substr(0, equals));
  value = Trim(line.substr(equals + 1));
  return true;
}

bool ContainsAny(std::u16string_view text, std::u16string_view units) {
  return text.find_first_of(units) != std::u16string_view::npos;
}

// The characters that would split a line or end a string on Windows.
constexpr std::u16string_view kLineBreaks(u"\r\n\0", 3);

// Little-endian units from bytes; a last odd byte goes to rest.
std::u16string Utf16LeUnits(std::string_view bytes, std::string& rest) {
  std::u16string text;
  text.reserve(bytes.size() / 2);
  size_t i = 0;
  for (; i + 1 < bytes.size(); i += 2) {
    text.push_back(
        static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8)));
  }
  rest = bytes.substr(i);
  return text;
}

// An INI file is mostly ASCII names and line breaks: as UTF-16LE its units are mostly ASCII, none
// is NUL and every surrogate is paired. Random bytes pass none of that.
bool LooksLikeUtf16Le(const std::u16string& units) {
  if (units.empty()) {
    return false;
  }
  size_t ascii = 0;
  for (size_t i = 0; i < units.size(); ++i) {
    const char16_t unit = units[i];
    if (unit == 0) {
      return false;
    }
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      if (i + 1 == units.size() || units[i + 1] < 0xDC00 || units[i + 1] > 0xDFFF) {
        return false;
      }
      ++i;
    } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
      return false;
    } else if (unit < 0x80) {
      ++ascii;
    }
  }
  return ascii * 2 >= units.size();
}

} // namespace

IniDocument IniDocument::Parse(std::string_view bytes) {
  IniDocument doc;
  std::u16string text;
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
  if (bytes.size() >= 2 && byte(0) == 0xFF && byte(1) == 0xFE) {
    text = Utf16LeUnits(bytes.substr(2), doc.oddByte_);
  } else if (bytes.find('\0') != std::string_view::npos) {
    // UTF-8 text never holds a zero byte. UTF-16LE made by hand without the mark is written back
    // the same way, so no UTF-8 line ever lands among UTF-16 ones; anything else (UTF-16BE, say)
    // is never rewritten.
    text = Utf16LeUnits(bytes, doc.oddByte_);
    doc.encoding_ = LooksLikeUtf16Le(text) ? Encoding::Utf16LeNoBom : Encoding::Unreadable;
  } else if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    doc.encoding_ = IsValidUtf8(bytes.substr(3)) ? Encoding::Utf8Bom : Encoding::Unreadable;
    text = Utf8ToUtf16(bytes.substr(3));
  } else if (!bytes.empty()) {
    doc.encoding_ = IsValidUtf8(bytes) ? Encoding::Utf8 : Encoding::Unreadable;
    text = Utf8ToUtf16(bytes);
  }
  if (doc.encoding_ == Encoding::Unreadable) {
    return doc;
  }

  for (size_t start = 0; start < text.size();) {
    const size_t lf = text.find(u'\n', start);
    if (lf == std::u16string::npos) {
      doc.lines_.push_back({text.substr(start), u""});
      break;
    }
    const bool crlf = lf > start && text[lf - 1] == u'\r';
    const size_t stop = crlf ? lf - 1 : lf;
    doc.lines_.push_back({text.substr(start, stop - start), crlf ? u"\r\n" : u"\n"});
    start = lf + 1;
  }
  // Lines we add follow the file's own line breaks: a file written by hand on Linux keeps LF.
  for (const Line& line : doc.lines_) {
    if (!line.end.empty()) {
      doc.newline_ = line.end;
      break;
    }
  }
  return doc;
}

bool IniDocument::IsSectionLine(std::u16string_view trimmed, std::u16string_view& name) {
  const size_t close = trimmed.rfind(u']');
  if (trimmed.empty() || trimmed.front() != u'[' || close == std::u16string_view::npos) {
    return false;
  }
  name = Trim(trimmed.substr(1, close - 1));
  return true;
}

size_t IniDocument::FindSection(std::u16string_view section) const {
  std::u16string_view name;
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (IsSectionLine(Trim(lines_[i].text), name) && SameName(name, Trim(section))) {
      return i;
    }
  }
  return kNotFound;
}

size_t IniDocument::SectionEnd(size_t headerIndex) const {
  std::u16string_view name;
  size_t i = headerIndex + 1;
  while (i < lines_.size() && !IsSectionLine(Trim(lines_[i].text), name)) {
    ++i;
  }
  return i;
}

std::vector<std::pair<std::u16string, std::u16string>> IniDocument::Entries(std::u16string_view section) const {
  std::vector<std::pair<std::u16string, std::u16string>> entries;
  const size_t header = FindSection(section);
  if (header == kNotFound) {
    return entries;
  }
  const size_t end = SectionEnd(header);
  for (size_t i = header + 1; i < end; ++i) {
    std::u16string_view name;
    std::u16string_view value;
    if (SplitKey(Trim(lines_[i].text), name, value)) {
      if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
      }
      entries.emplace_back(name, value);
    }
  }
  return entries;
}

std::optional<std::u16string> IniDocument::Get(std::u16string_view section, std::u16string_view key) const {
  for (auto& [name, value] : Entries(section)) {
    if (SameName(name, Trim(key))) {
      return std::move(value);
    }
  }
  return std::nullopt;
}

void IniDocument::Insert(size_t index, std::u16string text) {
  if (index > 0 && lines_[index - 1].end.empty()) {
    lines_[index - 1].end = newline_;
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index), Line{std::move(text), newline_});
}

bool IniDocument::Set(std::u16string_view section, std::u16string_view key, std::u16string_view value) {
  const std::u16string_view name = Trim(section);
  const std::u16string_view keyName = Trim(key);
  if (!Writable() || name.empty() || keyName.empty() || keyName.front() == u'[' || ContainsAny(name, kLineBreaks) ||
      ContainsAny(name, u"]") || ContainsAny(keyName, kLineBreaks) || ContainsAny(keyName, u"=") ||
      ContainsAny(value, kLineBreaks)) {
    return false;
  }
  const size_t header = FindSection(name);
  if (header == kNotFound) {
    Insert(lines_.size(), u"[" + std::u16string(name) + u"]");
    Insert(lines_.size(), std::u16string(keyName) + u"=" + std::u16string(value));
    return true;
  }
  const size_t end = SectionEnd(header);
  size_t lastContent = header;
  for (size_t i = header + 1; i < end; ++i) {
    const std::u16string_view trimmed = Trim(lines_[i].text);
    std::u16string_view stored;
    std::u16string_view old;
    if (SplitKey(trimmed, stored, old) && SameName(stored, keyName)) {
      // The stored spelling of the name is kept, as the profile functions keep it.
      lines_[i].text = std::u16string(stored) + u"=" + std::u16string(value);
      return true;
    }
    if (!trimmed.empty()) {
      lastContent = i;
    }
  }
  // After the section's last line that is not blank, so a blank line before the next section stays.
  Insert(lastContent + 1, std::u16string(keyName) + u"=" + std::u16string(value));
  return true;
}

std::string IniDocument::Serialize() const {
  std::u16string text;
  for (const Line& line : lines_) {
    text += line.text;
    text += line.end;
  }
  switch (encoding_) {
  case Encoding::Utf16Le:
  case Encoding::Utf16LeNoBom: {
    std::string bytes = encoding_ == Encoding::Utf16Le ? "\xFF\xFE" : "";
    bytes.reserve(2 + text.size() * 2 + oddByte_.size());
    for (const char16_t unit : text) {
      bytes.push_back(static_cast<char>(unit & 0xFF));
      bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes + oddByte_;
  }
  case Encoding::Utf8Bom:
    return "\xEF\xBB\xBF" + Utf16ToUtf8(text);
  case Encoding::Utf8:
  case Encoding::Unreadable:
    break;
  }
  return Utf16ToUtf8(text);
}

} // namespace lumicrate
