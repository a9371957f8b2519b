// Extensions are kept unique and sorted by UTF-16 code units, the order the settings sheet
// shows; every entry is stored so that a switched-off built-in stays off.
#include "media/CompareFileInfo_CL.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <gio/gio.h>
#include <map>

#include "app/Inifile_CL.h"
#include "platform/Utf.h"

namespace lumicrate {
namespace {

// The index of a key named "item" and a decimal number as the program writes it (no sign, no
// leading zero), which is the only spelling a lookup of "item" + index finds.
std::optional<std::int32_t> ItemIndex(std::string_view name) {
  constexpr std::string_view kItem = "item";
  if (name.substr(0, kItem.size()) != kItem) {
    return std::nullopt;
  }
  const std::string_view digits = name.substr(kItem.size());
  std::int32_t index = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
  if (digits.empty() || !std::isdigit(static_cast<unsigned char>(digits[0])) ||
      (digits[0] == '0' && digits.size() > 1) || error != std::errc() || end != digits.data() + digits.size()) {
    return std::nullopt;
  }
  return index;
}

} // namespace

CompareFileInfo_CL::CompareFileInfo_CL(std::string section, std::vector<std::string> defaults)
    : section_(std::move(section)), defaults_(std::move(defaults)) {}

CompareFileInfo_CL CompareFileInfo_CL::DefaultPhotos() {
  return {"COMPARE_EXT_INFO_PIC",
          {".bmp", ".png", ".jpg", ".jpeg", ".gif", ".cr2", ".crw", ".dng", ".nef", ".orf", ".rw2", ".pef", ".arw",
           ".sr2", ".srf", ".tif"}};
}

CompareFileInfo_CL CompareFileInfo_CL::DefaultMovies() {
  // ".mod" and ".flv" stand twice in the list; the second of each is refused as a repeat.
  return {"COMPARE_EXT_INFO",
          {".3g2",  ".3gp", ".3gp2", ".3gpp", ".asf", ".asx",  ".avi",  ".divx", ".flv",  ".m1v", ".m2t",
           ".m2ts", ".m2v", ".m4v",  ".mkv",  ".mod", ".mov",  ".mp2v", ".mp4",  ".mp4v", ".mpa", ".mpe",
           ".mpeg", ".mpg", ".mpv2", ".mts",  ".ts",  ".tts",  ".wm",   ".wmv",  ".wmx",  ".wvx", ".xvid",
           ".mod",  ".rm",  ".rmvb", ".flv",  ".ogg", ".webm", ".iso",  ".vob",  ".moi",  ".pgi"}};
}

CompareFileInfo_CL CompareFileInfo_CL::DefaultSounds() {
  return {"COMPARE_EXT_INFO_SND", {".wav", ".mp3"}};
}

std::string CompareFileInfo_CL::ToLower(std::string text) {
  return AsciiToLower(std::move(text));
}

void CompareFileInfo_CL::DescribeExtension(const std::string& extension, std::string& contentType,
                                           std::string& fileType) {
  contentType.clear();
  fileType.clear();
  gboolean uncertain = FALSE;
  const std::string probe = "file" + extension;
  gchar* type = g_content_type_guess(probe.c_str(), nullptr, 0, &uncertain);
  if (!type) {
    return;
  }
  // A name that matches no glob comes back as the generic type: nothing is known of it.
  if (!g_content_type_is_unknown(type) && !uncertain) {
    if (gchar* mime = g_content_type_get_mime_type(type)) {
      contentType = mime;
      g_free(mime);
    }
    if (gchar* description = g_content_type_get_description(type)) {
      fileType = description;
      g_free(description);
    }
  }
  g_free(type);
}

std::optional<ExtensionEntry> CompareFileInfo_CL::Find(const std::string& extension) const {
  const std::string wanted = ToLower(extension);
  for (const ExtensionEntry& entry : entries_) {
    if (entry.extension == wanted) {
      return entry;
    }
  }
  return std::nullopt;
}

int CompareFileInfo_CL::Add(ExtensionEntry entry, bool sortAfterwards) {
  entry.extension = ToLower(entry.extension);
  if (Find(entry.extension)) {
    return 0;
  }
  entries_.push_back(std::move(entry));
  if (sortAfterwards) {
    Sort();
  }
  return 1;
}

int CompareFileInfo_CL::SetEnabled(const std::string& extension, std::int32_t enabled) {
  const std::string wanted = ToLower(extension);
  for (ExtensionEntry& entry : entries_) {
    if (entry.extension == wanted) {
      entry.enabled = enabled;
      return 1;
    }
  }
  return 0;
}

void CompareFileInfo_CL::RemoveAt(size_t index) {
  if (index < entries_.size()) {
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
  }
}

void CompareFileInfo_CL::Sort() {
  std::stable_sort(entries_.begin(), entries_.end(), [](const ExtensionEntry& a, const ExtensionEntry& b) {
    return Utf8ToUtf16(a.extension) < Utf8ToUtf16(b.extension);
  });
}

void CompareFileInfo_CL::Load(const Inifile_CL& settings) {
  // A second load must not keep entries that the file no longer holds.
  entries_.clear();
  for (const std::string& extension : defaults_) {
    ExtensionEntry entry;
    entry.extension = extension;
    DescribeExtension(extension, entry.contentType, entry.fileType);
    Add(std::move(entry), false);
  }
  // One read of the section. Only the items stored below the count are visited, in index order,
  // so an absurd count costs nothing; an index that is missing would read as empty and be skipped.
  const std::map<std::string, std::string> keys = settings.GetSection(section_);
  const auto countKey = keys.find("count");
  const std::int32_t count = countKey == keys.end() ? 0 : Inifile_CL::ParseLeadingInt(Utf8ToUtf16(countKey->second), 0);
  std::map<std::int32_t, std::u16string> items;
  for (const auto& [name, value] : keys) {
    if (const auto index = ItemIndex(name); index && *index < count) {
      items.emplace(*index, Utf8ToUtf16(value));
    }
  }
  for (const auto& [index, item] : items) {
    // The stored form is the flag, one separator character and the extension.
    if (item.size() <= 2) {
      continue;
    }
    const std::int32_t enabled = item[0] == u'1' ? 1 : 0;
    const std::string extension = Utf16ToUtf8(item.substr(2));
    if (Find(extension)) {
      SetEnabled(extension, enabled);
      continue;
    }
    ExtensionEntry entry;
    entry.enabled = enabled;
    entry.builtIn = 0;
    entry.extension = extension;
    std::string ignored;
    DescribeExtension(ToLower(extension), ignored, entry.fileType);
    entry.contentType = kUserEntryContentType;
    Add(std::move(entry), false);
  }
  Sort();
}

void CompareFileInfo_CL::Save(Inifile_CL& settings) const {
  Inifile_CL::Edit_CL edit(settings);
  Save(edit);
  edit.Commit();
}

void CompareFileInfo_CL::Save(Inifile_CL::Edit_CL& edit) const {
  edit.WriteInt(section_, "count", static_cast<std::int32_t>(entries_.size()));
  for (size_t i = 0; i < entries_.size(); ++i) {
    edit.WriteString(section_, "item" + std::to_string(i),
                     std::to_string(entries_[i].enabled) + "|" + entries_[i].extension);
  }
}

} // namespace lumicrate
