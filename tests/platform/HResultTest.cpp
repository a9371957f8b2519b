// errno -> Windows error number -> HRESULT, and back to the system's message text.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "platform/HResult.h"

namespace lumicrate {
namespace {

TEST(HResultTest, Win32CodesWrapAsWindowsDoes) {
  EXPECT_EQ(HResultFromWin32(0), 0);
  EXPECT_EQ(HResultFromWin32(-5), -5) << "0 or negative passes unchanged";
  EXPECT_EQ(static_cast<std::uint32_t>(HResultFromWin32(2)), 0x80070002u);
  EXPECT_EQ(static_cast<std::uint32_t>(HResultFromWin32(0x12345)), 0x80072345u) << "only the low 16 bits";
}

TEST(HResultTest, ErrnoMapsToTheWindowsNumberAndReadsBackWithItsMessage) {
  const struct {
    int err;
    std::uint32_t hr;
    int readsBackAs; // several errno values share a Windows number
  } cases[] = {
      {ENOENT, 0x80070002, ENOENT},
      {EACCES, 0x80070005, EACCES},
      {EPERM, 0x80070005, EACCES},
      {EEXIST, 0x80070050, EEXIST},
      {ENOSPC, 0x80070070, ENOSPC},
      {ENAMETOOLONG, 0x800700CE, ENAMETOOLONG},
      {EIO, 0x8007001F, EIO},
      {EINVAL, 0x80070057, EINVAL},
      {E2BIG, 0x80070057, EINVAL},
      {EROFS, 0x80070013, EROFS},
      {EXDEV, 0x80070011, EXDEV},
      {EWOULDBLOCK, 0x80070021, EWOULDBLOCK},
      {ENOTEMPTY, 0x80070091, ENOTEMPTY},
      {EPROTO, 0x80070000 | (0x2000 + EPROTO), EPROTO}, // no Windows number: still reads back
  };
  for (const auto& c : cases) {
    const HRESULT hr = HResultFromErrno(c.err);
    EXPECT_EQ(static_cast<std::uint32_t>(hr), c.hr) << std::strerror(c.err);
    EXPECT_TRUE(Failed(hr));
    EXPECT_EQ(ErrnoFromHResult(hr), c.readsBackAs) << std::strerror(c.err);
    EXPECT_EQ(ResultMessage(hr), std::strerror(c.readsBackAs));
  }
  EXPECT_EQ(HResultFromErrno(0), S_OK);
  EXPECT_EQ(ErrnoFromHResult(S_OK), 0);
  EXPECT_EQ(ErrnoFromHResult(E_FAIL), 0);
  EXPECT_EQ(ResultMessage(E_FAIL), "");
  EXPECT_EQ(SystemMessage(ENOENT), "No such file or directory");
}

} // namespace
} // namespace lumicrate
