// Redraws are limited to ten a second, so a run over thousands of small files spends its
// time on the files and not on the terminal.
#include "cli/TerminalProgress_CL.h"

#include <iterator>
#include <unistd.h>
#include <utility>

namespace lumicrate::cli {
namespace {

constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

} // namespace

TerminalProgress_CL::TerminalProgress_CL(std::string label, std::FILE* out)
    : TerminalProgress_CL(std::move(label), out, ::isatty(::fileno(out)) == 1) {}

TerminalProgress_CL::TerminalProgress_CL(std::string label, std::FILE* out, bool draw)
    : label_(std::move(label)), out_(out), draw_(draw) {}

void TerminalProgress_CL::AddByteTotal(std::int64_t bytes) {
  {
    std::lock_guard lock(drawMutex_);
    bytesTotal_ += bytes;
  }
  Draw(false);
}

void TerminalProgress_CL::AddBytes(std::int64_t bytes) {
  {
    std::lock_guard lock(drawMutex_);
    bytesDone_ += bytes;
  }
  Draw(false);
}

void TerminalProgress_CL::Refresh(std::int64_t /*position*/, std::int64_t /*total*/) {
  Draw(false);
}

void TerminalProgress_CL::Finish() {
  Draw(true);
  std::lock_guard lock(drawMutex_);
  if (drawn_) {
    std::fputc('\n', out_);
    std::fflush(out_);
    drawn_ = false;
  }
}

void TerminalProgress_CL::Draw(bool force) {
  if (!draw_) {
    return;
  }
  const std::int64_t position = GetPosition();
  const std::int64_t total = GetTotal();
  std::lock_guard lock(drawMutex_);
  const auto now = std::chrono::steady_clock::now();
  // A new total is worth showing at once; mere progress waits for the next redraw slot.
  const bool totalsChanged = total != drawnTotal_ || bytesTotal_ != drawnBytesTotal_;
  if (!force && !totalsChanged && drawn_ && now - lastDraw_ < kRedrawInterval) {
    return;
  }
  lastDraw_ = now;
  drawnTotal_ = total;
  drawnBytesTotal_ = bytesTotal_;
  drawn_ = true;
  const double elapsed = std::chrono::duration<double>(now - start_).count();
  const std::string line = FormatLine(label_, position, total, bytesDone_, bytesTotal_, elapsed);
  // Back to the line's start and clear it: a shorter line leaves nothing of the longer one.
  std::fprintf(out_, "\r\033[K%s", line.c_str());
  std::fflush(out_);
}

std::string TerminalProgress_CL::FormatLine(const std::string& label, std::int64_t position, std::int64_t total,
                                            std::int64_t bytesDone, std::int64_t bytesTotal, double elapsedSeconds) {
  char buffer[256];
  std::string line = label;
  std::snprintf(buffer, sizeof buffer, "  %lld / %lld", static_cast<long long>(position),
                static_cast<long long>(total));
  line += buffer;
  if (total > 0) {
    std::snprintf(buffer, sizeof buffer, " (%d%%)", static_cast<int>(BarValue(position, total) / 20));
    line += buffer;
  }
  if (bytesTotal <= 0) {
    return line;
  }
  line += "  " + FormatBytes(bytesDone) + " / " + FormatBytes(bytesTotal);
  // The first half second says little about the rate; wait for it rather than show noise.
  if (elapsedSeconds < 0.5 || bytesDone <= 0) {
    return line;
  }
  const double rate = static_cast<double>(bytesDone) / elapsedSeconds;
  line += "  " + FormatBytes(static_cast<std::int64_t>(rate)) + "/s";
  const double left = static_cast<double>(bytesTotal - bytesDone) / rate;
  if (left >= 0) {
    line += "  残り " + FormatDuration(left);
  }
  return line;
}

std::string TerminalProgress_CL::FormatBytes(std::int64_t bytes) {
  static constexpr const char* kUnits[] = {"KB", "MB", "GB", "TB", "PB"};
  char buffer[32];
  if (bytes < 1000) {
    std::snprintf(buffer, sizeof buffer, "%lld B", static_cast<long long>(bytes));
    return buffer;
  }
  double value = static_cast<double>(bytes) / 1000;
  size_t unit = 0;
  while (value >= 999.95 && unit + 1 < std::size(kUnits)) {
    value /= 1000;
    ++unit;
  }
  const char* format = value < 9.995 ? "%.2f %s" : value < 99.95 ? "%.1f %s" : "%.0f %s";
  std::snprintf(buffer, sizeof buffer, format, value, kUnits[unit]);
  return buffer;
}

std::string TerminalProgress_CL::FormatDuration(double seconds) {
  const long long whole = seconds < 0 ? 0 : static_cast<long long>(seconds + 0.5);
  char buffer[32];
  if (whole >= 3600) {
    std::snprintf(buffer, sizeof buffer, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60, whole % 60);
  } else {
    std::snprintf(buffer, sizeof buffer, "%lld:%02lld", whole / 60, whole % 60);
  }
  return buffer;
}

} // namespace lumicrate::cli
