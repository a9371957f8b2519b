// One media kind's table of file extensions: the built-in defaults, the user's additions, and
// for each whether it is switched on. Stored in its own section of the settings file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/Inifile_CL.h"

namespace lumicrate {

enum class MediaKind { Photo, Movie, Sound };

struct ExtensionEntry {
  std::int32_t enabled = 1;
  std::int32_t builtIn = 1;
  std::string extension;   // with its dot, lower case: ".jpg"
  std::string contentType; // the MIME type, or the user-entry marker
  std::string fileType;    // the MIME type's description
};

class CompareFileInfo_CL {
public:
  static constexpr const char* kUserEntryContentType = "★ユーザー追加拡張子";

  CompareFileInfo_CL(std::string section, std::vector<std::string> defaults);
  virtual ~CompareFileInfo_CL() = default;

  std::optional<ExtensionEntry> Find(const std::string& extension) const;
  int Add(ExtensionEntry entry, bool sortAfterwards);
  int SetEnabled(const std::string& extension, std::int32_t enabled);
  void RemoveAt(size_t index);

  // Starts again from the defaults, then the stored items; a stored built-in only sets its flag.
  void Load(const Inifile_CL& settings);
  // Every key of the table with one replacement of the settings file.
  void Save(Inifile_CL& settings) const;
  // Adds the table's keys to an edit, so that several tables are stored at once.
  void Save(Inifile_CL::Edit_CL& edit) const;

  size_t Count() const { return entries_.size(); }
  const ExtensionEntry& At(size_t index) const { return entries_.at(index); }
  const std::string& Section() const { return section_; }

  // Only ASCII capitals change.
  static std::string ToLower(std::string text);
  // MIME type and description of an extension from shared-mime-info; empty when unknown.
  static void DescribeExtension(const std::string& extension, std::string& contentType, std::string& fileType);

  static CompareFileInfo_CL DefaultPhotos();
  static CompareFileInfo_CL DefaultMovies();
  static CompareFileInfo_CL DefaultSounds();

private:
  void Sort();

  std::string section_;
  std::vector<std::string> defaults_;
  std::vector<ExtensionEntry> entries_;
};

} // namespace lumicrate
