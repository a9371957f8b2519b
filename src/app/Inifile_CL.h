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
#include <vector>

namespace lumicrate {

class Inifile_CL {
  struct Change {
    std::string section;
    std::string key;
    std::string value;
  };

public:
  static constexpr size_t kMaxStringUnits = 8191;

  // Collects writes and stores them all with one replacement of the file, so that saving many
  // keys (the extension tables) costs one flush instead of one per key. Nothing is written
  // before Commit; an edit dropped without it changes nothing.
  class Edit_CL {
  public:
    explicit Edit_CL(Inifile_CL& file) : file_(file) {}

    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInt(const std::string& section, const std::string& key, std::int32_t value);

    // Re-reads the file under the writers' lock, applies the writes in order and replaces the
    // file once; a file that would come out unchanged is left as it is. A write the file refuses
    // (see Write) is skipped, the others are stored. False when the file could not be replaced.
    bool Commit();

  private:
    Inifile_CL& file_;
    std::vector<Change> changes_;
  };

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
  bool Write(const std::vector<Change>& changes);

  mutable std::mutex pathMutex_;
  std::filesystem::path path_;
};

// The process-wide settings file.
Inifile_CL& Settings();

} // namespace lumicrate
