// The activity log: timestamped UTF-16LE lines in log.txt, and the developers' trace on stdout.
// Entries from any thread or process land whole: each is one write under an flock.
#pragma once

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>

namespace lumicrate {

class ActivityLog {
public:
  static constexpr std::uint32_t kDefaultSizeLimit = 0x2000000;
  static constexpr size_t kMaxMessageUnits = 1039;

  explicit ActivityLog(std::uint32_t sizeLimit = kDefaultSizeLimit) : sizeLimit_(sizeLimit) {}

  void SetPath(const std::filesystem::path& path);
  std::filesystem::path Path() const;

  // printf-style; %s takes UTF-8 text. Before SetPath the entry is dropped.
  void Write(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void WriteText(std::string_view message);

  // The trace: the text and a line feed on standard output, flushed; never in the file.
  static void Trace(std::string_view text);

  // "2026/12/06 19:50:20.123 : " for the current local time.
  static std::string Prefix();

private:
  std::uint32_t sizeLimit_;
  mutable std::mutex pathMutex_;
  std::filesystem::path path_;
};

// The process-wide log.
ActivityLog& Log();

} // namespace lumicrate
