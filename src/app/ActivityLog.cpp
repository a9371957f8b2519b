// One open, lock, size check, single write and close per entry: the file is never held open,
// so other programs may read, move or delete it while we run.
#include "app/ActivityLog.h"

#include <cerrno>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/Utf.h"
#include "platform/WriteAll.h"

namespace lumicrate {
namespace {

void AppendUtf16Le(std::string& out, std::u16string_view text) {
  for (const char16_t unit : text) {
    out.push_back(static_cast<char>(unit & 0xFF));
    out.push_back(static_cast<char>(unit >> 8));
  }
}

} // namespace

ActivityLog& Log() {
  static ActivityLog log;
  return log;
}

void ActivityLog::SetPath(const std::filesystem::path& path) {
  std::lock_guard lock(pathMutex_);
  path_ = path;
}

std::filesystem::path ActivityLog::Path() const {
  std::lock_guard lock(pathMutex_);
  return path_;
}

std::string ActivityLog::Prefix() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm local{};
  localtime_r(&seconds, &local);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d %02d:%02d:%02d.%03d : ", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(millis));
  return buffer;
}

void ActivityLog::Write(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string message;
  if (length > 0) {
    message.resize(static_cast<size_t>(length) + 1);
    std::vsnprintf(message.data(), message.size(), format, args);
    message.resize(static_cast<size_t>(length));
  }
  va_end(args);
  WriteText(message);
}

void ActivityLog::WriteText(std::string_view message) {
  const std::filesystem::path path = Path();
  if (path.empty()) {
    return;
  }
  // Long messages are cut to the limit rather than dropped.
  const std::u16string text = Utf8ToUtf16(Prefix()) + CutUtf16(Utf8ToUtf16(message), kMaxMessageUnits) + u"\r\n";

  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) {
    return;
  }
  // The lock makes the size check, the emptying and the byte-order mark agree between
  // writers; O_APPEND alone would already keep entries whole.
  while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
  }
  struct stat info {};
  if (::fstat(fd, &info) == 0) {
    off_t size = info.st_size;
    if (size > static_cast<off_t>(sizeLimit_) && ::ftruncate(fd, 0) == 0) {
      size = 0;
    }
    std::string bytes;
    if (size == 0) {
      bytes = "\xFF\xFE";
    }
    AppendUtf16Le(bytes, text);
    WriteAll(fd, bytes);
  }
  ::close(fd);
}

void ActivityLog::Trace(std::string_view text) {
  static std::mutex traceMutex;
  std::lock_guard lock(traceMutex);
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

} // namespace lumicrate
