// Writers take an flock on a hidden lock file beside the settings file, re-read the file,
// change one key and rename a complete new file over it: a reader sees the old or the new
// file, never a torn one, and two writers never lose each other's keys.
#include "app/Inifile_CL.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

#include "app/ActivityLog.h"
#include "app/IniDocument.h"
#include "platform/FileLock.h"
#include "platform/Utf.h"
#include "platform/WriteAll.h"

namespace lumicrate {
namespace {

// The whole file; a missing file reads as empty. Nothing when the file is there but could not be
// read whole, so that a writer never replaces settings it did not see.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path) {
  std::string bytes;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    return errno == ENOENT ? std::optional(bytes) : std::nullopt;
  }
  char buffer[65536];
  bool complete = false;
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n <= 0) {
      complete = n == 0;
      break;
    }
    bytes.append(buffer, static_cast<size_t>(n));
  }
  ::close(fd);
  return complete ? std::optional(std::move(bytes)) : std::nullopt;
}

// What readers see: an unreadable file gives every caller its default.
IniDocument ParseFile(const std::filesystem::path& path) {
  return IniDocument::Parse(ReadWholeFile(path).value_or(std::string()));
}

std::string TempPrefix(const std::filesystem::path& path) {
  return "." + path.filename().string() + ".new-";
}

// Under the lock every temporary file of ours is an orphan of a writer that was killed.
void RemoveOrphans(const std::filesystem::path& path) {
  std::error_code ec;
  const std::string prefix = TempPrefix(path);
  for (std::filesystem::directory_iterator it(path.parent_path(), ec), end; !ec && it != end; it.increment(ec)) {
    if (it->path().filename().string().rfind(prefix, 0) == 0) {
      std::filesystem::remove(it->path(), ec);
    }
  }
}

constexpr char kHex[] = "0123456789ABCDEF";

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') {
    return c - u'0';
  }
  if (c >= u'A' && c <= u'F') {
    return c - u'A' + 10;
  }
  if (c >= u'a' && c <= u'f') {
    return c - u'a' + 10;
  }
  return -1;
}

} // namespace

Inifile_CL& Settings() {
  static Inifile_CL settings;
  return settings;
}

void Inifile_CL::SetPath(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    Log().Write("Inifile新規作成 = %s", path.c_str());
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0) {
      WriteAll(fd, "\xFF\xFE");
      ::close(fd);
    }
  }
  std::lock_guard lock(pathMutex_);
  path_ = path;
}

std::filesystem::path Inifile_CL::Path() const {
  std::lock_guard lock(pathMutex_);
  return path_;
}

std::string Inifile_CL::GetString(const std::string& section, const std::string& key,
                                  const std::string& fallback) const {
  const auto value = ParseFile(Path()).Get(Utf8ToUtf16(section), Utf8ToUtf16(key));
  if (!value) {
    return fallback;
  }
  return Utf16ToUtf8(CutUtf16(*value, kMaxStringUnits));
}

std::map<std::string, std::string> Inifile_CL::GetSection(const std::string& section) const {
  std::map<std::string, std::string> keys;
  for (const auto& [name, value] : ParseFile(Path()).Entries(Utf8ToUtf16(section))) {
    keys.emplace(AsciiToLower(Utf16ToUtf8(name)), Utf16ToUtf8(CutUtf16(value, kMaxStringUnits)));
  }
  return keys;
}

std::int32_t Inifile_CL::ParseLeadingInt(const std::u16string& text, std::int32_t fallback) {
  if (text.empty()) {
    return fallback;
  }
  size_t i = 0;
  while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) {
    ++i;
  }
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
    negative = text[i] == u'-';
    ++i;
  }
  // Accumulate in 32 bits with wrap-around, as the Windows function does.
  std::uint32_t value = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    value = value * 10u + static_cast<std::uint32_t>(text[i] - u'0');
  }
  return static_cast<std::int32_t>(negative ? 0u - value : value);
}

std::int32_t Inifile_CL::GetInt(const std::string& section, const std::string& key, std::int32_t fallback) const {
  const auto value = ParseFile(Path()).Get(Utf8ToUtf16(section), Utf8ToUtf16(key));
  return value ? ParseLeadingInt(*value, fallback) : fallback;
}

bool Inifile_CL::GetStruct(const std::string& section, const std::string& key, void* bytes, size_t size) const {
  const auto value = ParseFile(Path()).Get(Utf8ToUtf16(section), Utf8ToUtf16(key));
  if (!value || value->size() != (size + 1) * 2) {
    return false;
  }
  std::string decoded(size + 1, '\0');
  for (size_t i = 0; i <= size; ++i) {
    const int high = HexValue((*value)[2 * i]);
    const int low = HexValue((*value)[2 * i + 1]);
    if (high < 0 || low < 0) {
      return false;
    }
    decoded[i] = static_cast<char>(high * 16 + low);
  }
  unsigned sum = 0;
  for (size_t i = 0; i < size; ++i) {
    sum += static_cast<unsigned char>(decoded[i]);
  }
  if ((sum & 0xFF) != static_cast<unsigned char>(decoded[size])) {
    return false;
  }
  std::copy(decoded.begin(), decoded.begin() + static_cast<std::ptrdiff_t>(size), static_cast<char*>(bytes));
  return true;
}

void Inifile_CL::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  Write({{section, key, value}});
}

void Inifile_CL::WriteInt(const std::string& section, const std::string& key, std::int32_t value) {
  Write({{section, key, std::to_string(value)}});
}

void Inifile_CL::WriteStruct(const std::string& section, const std::string& key, const void* bytes, size_t size) {
  std::string text;
  unsigned sum = 0;
  const auto* data = static_cast<const unsigned char*>(bytes);
  for (size_t i = 0; i < size; ++i) {
    text.push_back(kHex[data[i] >> 4]);
    text.push_back(kHex[data[i] & 0xF]);
    sum += data[i];
  }
  text.push_back(kHex[(sum >> 4) & 0xF]);
  text.push_back(kHex[sum & 0xF]);
  Write({{section, key, text}});
}

void Inifile_CL::Edit_CL::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  changes_.push_back({section, key, value});
}

void Inifile_CL::Edit_CL::WriteInt(const std::string& section, const std::string& key, std::int32_t value) {
  changes_.push_back({section, key, std::to_string(value)});
}

bool Inifile_CL::Edit_CL::Commit() {
  if (changes_.empty()) {
    return true;
  }
  const bool stored = file_.Write(changes_);
  changes_.clear();
  return stored;
}

bool Inifile_CL::Write(const std::vector<Change>& changes) {
  const std::filesystem::path path = Path();
  if (path.empty()) {
    return false;
  }
  FileLock lock;
  if (Failed(lock.Acquire(path.parent_path() / ("." + path.filename().string() + ".lock"), FileLock::Mode::Wait))) {
    return false;
  }
  RemoveOrphans(path);
  const std::optional<std::string> bytes = ReadWholeFile(path);
  if (!bytes) {
    return false;
  }
  IniDocument doc = IniDocument::Parse(*bytes);
  // A file in an encoding we cannot read, or a value that would not read back as one key
  // (a path with a line break), leaves the file alone rather than rewriting it wrongly.
  bool accepted = false;
  for (const Change& change : changes) {
    accepted |= doc.Set(Utf8ToUtf16(change.section), Utf8ToUtf16(change.key), Utf8ToUtf16(change.value));
  }
  if (!accepted) {
    return false;
  }
  const std::string serialized = doc.Serialize();
  if (serialized == *bytes) {
    return true;
  }

  std::string temp = (path.parent_path() / (TempPrefix(path) + "XXXXXX")).string();
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) {
    return false;
  }
  struct stat info {};
  const mode_t mode = ::stat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0644;
  const bool written = ::fchmod(fd, mode) == 0 && WriteAll(fd, serialized) && ::fsync(fd) == 0;
  ::close(fd);
  if (!written || ::rename(temp.c_str(), path.c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

} // namespace lumicrate
