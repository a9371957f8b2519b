// Pages are built in memory and written in one piece; nothing here reports failures beyond
// the result of WriteTextFile, since a page that cannot be written stops nothing else.
#include "album/PageWriter.h"

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <fcntl.h>
#include <sys/xattr.h>
#include <unistd.h>

#include "app/Product.h"
#include "platform/Utf.h"
#include "platform/WriteAll.h"

namespace lumicrate {
namespace {

constexpr const char* kProductTitle = "ルミクレート";

} // namespace

void WritePageHeader(const AlbumOptions& options, std::string& page, std::string_view title,
                     std::string_view styleBase) {
  page += "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"UTF-8\" />\n";
  page += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\" />\n";
  page.append("<title>").append(title).append("</title>\n");
  page.append("<link href=\"").append(styleBase);
  page += "/make_photo_album.css\" rel=\"stylesheet\" type=\"text/css\" />\n";
  page += "</head>\n<body>\n<div class=\"header\">\n<div class=\"frame\">\n";
  page += options.Heading;
  page += "</div>\n</div>\n<div class=\"main_frame\">\n";
}

void WritePageFooter(std::string& page) {
  page += "</div>\n<div class=\"footer\">\n<div class=\"frame\">\n\n<h1 class='orvellink'>";
  page.append("<a href='").append(kSupportAddress).append("'>");
  page += kProductTitle;
  page += "</a></h1>\n</div>\n</div>\n</body>\n</html>\n";
}

std::string WideToUtf8(std::string_view text) {
  return IsValidUtf8(text) ? std::string(text) : Utf16ToUtf8(Utf8ToUtf16(text));
}

std::string IntToText(std::int32_t value) {
  return std::to_string(value);
}

std::string FormatText(const char* format, ...) {
  char buffer[260];
  va_list args;
  va_start(args, format);
  const int length = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  return length < 0 ? std::string() : std::string(buffer, std::min<size_t>(length, sizeof buffer - 1));
}

bool WriteTextFile(const std::filesystem::path& path, std::string_view bytes) {
  std::string translated;
  translated.reserve(bytes.size() + bytes.size() / 16);
  for (const char c : bytes) {
    if (c == '\n') {
      translated += '\r';
    }
    translated += c;
  }
  return WriteBinaryFile(path, translated);
}

bool WriteBinaryFile(const std::filesystem::path& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) {
    return false;
  }
  const bool written = WriteAll(fd, bytes);
  const int writeError = errno;
  const bool closed = ::close(fd) == 0;
  if (!written) {
    errno = writeError;
  }
  return written && closed;
}

bool ReadBinaryFile(const std::filesystem::path& path, std::string& bytes) {
  bytes.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    return false;
  }
  char buffer[65536];
  ssize_t n = 0;
  while ((n = ::read(fd, buffer, sizeof buffer)) != 0) {
    if (n < 0 && errno != EINTR) {
      const int readError = errno;
      ::close(fd);
      errno = readError;
      return false;
    }
    if (n > 0) {
      bytes.append(buffer, static_cast<size_t>(n));
    }
  }
  ::close(fd);
  return true;
}

void MarkLocalZone(const std::filesystem::path& path, std::int32_t zone) {
  const std::string text = "[ZoneTransfer]\r\nZoneId=" + IntToText(zone) + "\r\n";
  // Read-only is enough for an xattr, and keeps the file's own bytes out of reach.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) {
    return;
  }
  ::fsetxattr(fd, kZoneAttribute, text.data(), text.size(), 0);
  ::close(fd);
}

} // namespace lumicrate
