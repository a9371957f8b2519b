// The live progress line of lumicrate-cli: "label  done / total", and when the run reports a
// byte count also bytes, rate and time left. Drawn only on a terminal; silent otherwise.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>

#include "app/Progress_CL.h"

namespace lumicrate::cli {

class TerminalProgress_CL : public CountingProgress_CL {
public:
  // Draws on out only when it is a terminal.
  explicit TerminalProgress_CL(std::string label, std::FILE* out = stderr);
  // As above, drawing or not as told (for output that is not a terminal, such as a test's file).
  TerminalProgress_CL(std::string label, std::FILE* out, bool draw);

  void AddByteTotal(std::int64_t bytes) override;
  void AddBytes(std::int64_t bytes) override;

  // Draws the last state and ends the line, so that what is printed next starts afresh.
  void Finish();

  // The line for a state; elapsed is the time since the object was made.
  static std::string FormatLine(const std::string& label, std::int64_t position, std::int64_t total,
                                std::int64_t bytesDone, std::int64_t bytesTotal, double elapsedSeconds);
  // "512 B", "1.5 KB", "12.3 MB", "4.00 GB" (powers of 1000, as file managers show them).
  static std::string FormatBytes(std::int64_t bytes);
  // "0:07", "12:34", "1:02:03".
  static std::string FormatDuration(double seconds);

protected:
  void Refresh(std::int64_t position, std::int64_t total) override;

private:
  void Draw(bool force);

  const std::string label_;
  std::FILE* const out_;
  const bool draw_;
  const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();

  std::mutex drawMutex_;
  std::chrono::steady_clock::time_point lastDraw_{};
  std::int64_t bytesDone_ = 0;
  std::int64_t bytesTotal_ = 0;
  std::int64_t drawnTotal_ = 0;
  std::int64_t drawnBytesTotal_ = 0;
  bool drawn_ = false;
};

} // namespace lumicrate::cli
