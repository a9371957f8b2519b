// The settings file: typed reads and writes of single keys in a UTF-16LE profile (INI) file.
// Every call goes to the file, so a value written here is seen at once by every other reader,
// the command-line tool included; writes replace the file atomically under a lock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>

namespace lumicrate {

class Inifile_CL {
public:
  static constexpr size_t kMaxStringUnits = 8191;

  Inifile_CL() = default;
  virtual ~Inifile_CL() = default;

  // A missing file is created as the byte-order mark alone (and logged); an existing one is untouched.
  void SetPath(const std::filesystem::path& path);
  std::filesystem::path Path() const;

  std::string GetString(const std::string& section, const std::string& key, const std::string& fallback) const;
  std::int32_t GetInt(const std::string& section, const std::string& key, std::int32_t fallback) const;
  bool GetStruct(const std::string& section, const std::string& key, void* bytes, size_t size) const;
  // All keys of a section in one read, names folded to lower case, the first of repeated keys kept.
  std::map<std::string, std::string> GetSection(const std::string& section) const;

  // Writes fail silently: settings that cannot be stored are not worth stopping for.
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void WriteInt(const std::string& section, const std::string& key, std::int32_t value);
  void WriteStruct(const std::string& section, const std::string& key, const void* bytes, size_t size);

  // The "%d" leading-integer rule of the profile functions, for any stored text.
  static std::int32_t ParseLeadingInt(const std::u16string& text, std::int32_t fallback);

private:
  bool Write(const std::string& section, const std::string& key, const std::string& value);

  mutable std::mutex pathMutex_;
  std::filesystem::path path_;
};

// The process-wide settings file.
Inifile_CL& Settings();

} // namespace lumicrate
