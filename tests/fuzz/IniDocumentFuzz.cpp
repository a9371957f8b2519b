// Fuzzes the settings-file parser: any bytes parse without harm, a readable file comes back
// byte for byte, and a write either reads back as written without touching its neighbours or
// changes nothing.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

#include "app/IniDocument.h"
#include "platform/Utf.h"

namespace {

using lumicrate::IniDocument;

// The name and value rules are written out again here on purpose: a check that shared the
// parser's own helpers would share their faults.

void Check(bool condition) {
  if (!condition) {
    std::abort();
  }
}

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f';
}

std::u16string Trim(std::u16string text) {
  while (!text.empty() && IsBlank(text.back())) {
    text.pop_back();
  }
  while (!text.empty() && IsBlank(text.front())) {
    text.erase(0, 1);
  }
  return text;
}

// What a read gives back for a written value: blanks around it and one pair of quotes go.
std::u16string AsRead(const std::u16string& written) {
  std::u16string value = Trim(written);
  if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

bool SameName(std::u16string_view a, std::u16string_view b) {
  const auto fold = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; };
  if (a.size() != b.size()) {
    return false;
  }
  for (size_t i = 0; i < a.size(); ++i) {
    if (fold(a[i]) != fold(b[i])) {
      return false;
    }
  }
  return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const std::u16string section = lumicrate::Utf8ToUtf16(input.ConsumeRandomLengthString(24));
  const std::u16string key = lumicrate::Utf8ToUtf16(input.ConsumeRandomLengthString(24));
  const std::u16string value = lumicrate::Utf8ToUtf16(input.ConsumeRandomLengthString(64));
  const std::string file = input.ConsumeRemainingBytesAsString();

  IniDocument doc = IniDocument::Parse(file);
  const std::string original = doc.Serialize();
  if (doc.Writable() && !file.empty()) {
    Check(original == file);
  }
  const auto before = doc.Entries(section);

  if (!doc.Set(section, key, value)) {
    Check(doc.Serialize() == original);
    return 0;
  }
  const std::string written = doc.Serialize();
  const IniDocument reread = IniDocument::Parse(written);
  Check(reread.Serialize() == written);
  const auto read = reread.Get(section, key);
  Check(read && *read == AsRead(value));

  // Every other key of the section keeps its value and its place.
  std::vector<std::pair<std::u16string, std::u16string>> others;
  for (const auto& entry : reread.Entries(section)) {
    if (!SameName(entry.first, Trim(key))) {
      others.push_back(entry);
    }
  }
  std::vector<std::pair<std::u16string, std::u16string>> expected;
  for (const auto& entry : before) {
    if (!SameName(entry.first, Trim(key))) {
      expected.push_back(entry);
    }
  }
  Check(others == expected);
  return 0;
}
