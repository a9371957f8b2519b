// The terminal progress line: counts alone, then bytes, rate and time left once known.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "cli/TerminalProgress_CL.h"

namespace lumicrate::cli {
namespace {

TEST(TerminalProgressTest, LineShowsCountsThenBytesRateAndTimeLeft) {
  struct Case {
    std::int64_t position, total, bytesDone, bytesTotal;
    double elapsed;
    const char* line;
  };
  const Case cases[] = {
      {0, 0, 0, 0, 0.0, "取り込み  0 / 0"},
      {1, 3, 0, 0, 1.0, "取り込み  1 / 3 (33%)"},
      {2, 4, 0, 2000000, 0.2, "取り込み  2 / 4 (50%)  0 B / 2.00 MB"},
      {2, 4, 1000000, 3000000, 2.0, "取り込み  2 / 4 (50%)  1.00 MB / 3.00 MB  500 KB/s  残り 0:04"},
      {5, 5, 12345678901, 12345678901, 100.0, "取り込み  5 / 5 (100%)  12.3 GB / 12.3 GB  123 MB/s  残り 0:00"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TerminalProgress_CL::FormatLine("取り込み", c.position, c.total, c.bytesDone, c.bytesTotal, c.elapsed),
              c.line);
  }
  EXPECT_EQ(TerminalProgress_CL::FormatDuration(3723), "1:02:03");
  EXPECT_EQ(TerminalProgress_CL::FormatBytes(999), "999 B");
  EXPECT_EQ(TerminalProgress_CL::FormatBytes(999999), "1.00 MB");
}

TEST(TerminalProgressTest, DrawsOnlyWhenToldAndEndsTheLine) {
  for (const bool draw : {false, true}) {
    char* text = nullptr;
    size_t size = 0;
    std::FILE* out = ::open_memstream(&text, &size);
    {
      TerminalProgress_CL progress("取り込み", out, draw);
      progress.AddTotal(2);
      progress.AddPosition(1);
      progress.AddPosition(1);
      progress.Finish();
    }
    std::fclose(out);
    const std::string written(text, size);
    std::free(text);
    if (draw) {
      EXPECT_EQ(written.substr(written.rfind('\r')), "\r\033[K取り込み  2 / 2 (100%)\n");
    } else {
      EXPECT_EQ(written, "");
    }
  }
}

} // namespace
} // namespace lumicrate::cli
