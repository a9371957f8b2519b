// errno -> Windows error number table and the message text behind a result.
#include "platform/HResult.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <utility>

namespace lumicrate {
namespace {

constexpr std::array<std::pair<int, std::int32_t>, 26> kErrnoToWin32{{
    {EPERM, 5},       {ENOENT, 2},         {ESRCH, 2},     {EINTR, 1223},  {EIO, 31},       {ENXIO, 1167},
    {E2BIG, 87},      {EBADF, 6},          {ENOMEM, 8},    {EACCES, 5},    {EFAULT, 487},   {EBUSY, 170},
    {EEXIST, 80},     {EXDEV, 17},         {ENODEV, 1167}, {ENOTDIR, 267}, {EISDIR, 5},     {EINVAL, 87},
    {EMFILE, 4},      {ENOSPC, 112},       {EROFS, 19},    {EPIPE, 109},   {ENAMETOOLONG, 206},
    {ENOTEMPTY, 145}, {ETIMEDOUT, 1460},   {ECONNREFUSED, 1225},
}};

// Results whose Windows number has no errno of its own fall back to this private range,
// so the errno can still be recovered for the message text.
constexpr std::int32_t kUnmappedBase = 0x2000;

} // namespace

std::int32_t Win32ErrorFromErrno(int err) {
  if (err == 0) {
    return 0;
  }
  for (const auto& [e, w] : kErrnoToWin32) {
    if (e == err) {
      return w;
    }
  }
  return kUnmappedBase + err;
}

HRESULT HResultFromErrno(int err) { return HResultFromWin32(Win32ErrorFromErrno(err)); }

int ErrnoFromHResult(HRESULT hr) {
  if ((static_cast<std::uint32_t>(hr) & 0xFFFF0000u) != 0x80070000u) {
    return 0;
  }
  const std::int32_t code = hr & 0xFFFF;
  for (const auto& [e, w] : kErrnoToWin32) {
    if (w == code) {
      return e;
    }
  }
  return code >= kUnmappedBase ? code - kUnmappedBase : 0;
}

std::string SystemMessage(int err) {
  char buffer[256] = {};
  // GNU strerror_r may return a static string instead of filling the buffer.
  const char* text = strerror_r(err, buffer, sizeof buffer);
  return text ? text : buffer;
}

} // namespace lumicrate
