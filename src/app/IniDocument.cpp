// Matching follows the profile functions: names are trimmed and compared ignoring ASCII case,
// lines without "=" are not keys, and the first of repeated sections or keys wins.
#include "app/IniDocument.h"

#include "platform/Utf.h"

namespace lumicrate {
namespace {

constexpr size_t kNotFound = static_cast<size_t>(-1);

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f'; }

std::u16string_view Trim(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && IsBlank(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

char16_t FoldCase(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c; }

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

} // namespace

IniDocument IniDocument::Parse(std::string_view bytes) {
  IniDocument doc;
  std::u16string text;
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE) {
    doc.encoding_ = Encoding::Utf16Le;
    text.reserve(bytes.size() / 2);
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
      text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                           (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    }
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

  const size_t firstBreak = text.find(u'\n');
  if (firstBreak != std::u16string::npos && (firstBreak == 0 || text[firstBreak - 1] != u'\r')) {
    doc.newline_ = u"\n";
  }
  doc.endsWithNewline_ = text.empty() || text.back() == u'\n';
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(u'\n', start);
    if (end == std::u16string::npos) {
      end = text.size();
    }
    size_t stop = end;
    if (stop > start && text[stop - 1] == u'\r') {
      --stop;
    }
    doc.lines_.push_back({text.substr(start, stop - start)});
    start = end + 1;
  }
  return doc;
}

bool IniDocument::IsSectionLine(std::u16string_view trimmed, std::u16string& name) {
  if (trimmed.empty() || trimmed.front() != u'[') {
    return false;
  }
  const size_t close = trimmed.find(u']');
  name = Trim(trimmed.substr(1, close == std::u16string_view::npos ? std::u16string_view::npos : close - 1));
  return true;
}

size_t IniDocument::FindSection(std::u16string_view section) const {
  std::u16string name;
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (IsSectionLine(Trim(lines_[i].text), name) && SameName(name, Trim(section))) {
      return i;
    }
  }
  return kNotFound;
}

size_t IniDocument::SectionEnd(size_t headerIndex) const {
  std::u16string name;
  size_t i = headerIndex + 1;
  while (i < lines_.size() && !IsSectionLine(Trim(lines_[i].text), name)) {
    ++i;
  }
  return i;
}

std::vector<std::pair<std::u16string, std::u16string>> IniDocument::Entries(std::u16string_view section) const {
  std::vector<std::pair<std::u16string, std::u16string>> entries;
  const size_t header = encoding_ == Encoding::Unreadable ? kNotFound : FindSection(section);
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

void IniDocument::Set(std::u16string_view section, std::u16string_view key, std::u16string_view value) {
  const std::u16string_view trimmedKey = Trim(key);
  const size_t header = FindSection(section);
  if (header == kNotFound) {
    lines_.push_back({u"[" + std::u16string(Trim(section)) + u"]"});
    lines_.push_back({std::u16string(trimmedKey) + u"=" + std::u16string(value)});
    endsWithNewline_ = true;
    return;
  }
  const size_t end = SectionEnd(header);
  size_t lastContent = header;
  for (size_t i = header + 1; i < end; ++i) {
    std::u16string_view name;
    std::u16string_view old;
    if (SplitKey(Trim(lines_[i].text), name, old) && SameName(name, trimmedKey)) {
      // The stored spelling of the name is kept, as the profile functions keep it.
      lines_[i].text = std::u16string(name) + u"=" + std::u16string(value);
      return;
    }
    if (!Trim(lines_[i].text).empty()) {
      lastContent = i;
    }
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(lastContent + 1),
                {std::u16string(trimmedKey) + u"=" + std::u16string(value)});
  if (lastContent + 1 == lines_.size() - 1) {
    endsWithNewline_ = true;
  }
}

std::string IniDocument::Serialize() const {
  std::u16string text;
  for (size_t i = 0; i < lines_.size(); ++i) {
    text += lines_[i].text;
    if (i + 1 < lines_.size() || endsWithNewline_) {
      text += newline_;
    }
  }
  switch (encoding_) {
  case Encoding::Utf16Le: {
    std::string bytes = "\xFF\xFE";
    bytes.reserve(2 + text.size() * 2);
    for (const char16_t unit : text) {
      bytes.push_back(static_cast<char>(unit & 0xFF));
      bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
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
