// errno -> Windows error number table and the message text behind a result.
#include "platform/HResult.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <utility>

namespace lumicrate {
namespace {

// Where several errno values share a Windows number, the first listed is the one a result
// reads back as, so its message is the plainest text for that number.
constexpr std::array<std::pair<int, std::int32_t>, 33> kErrnoToWin32{{
    {ENOENT, 2},         {ESRCH, 2},       {EACCES, 5},       {EPERM, 5},           {EISDIR, 5},       {EINVAL, 87},
    {E2BIG, 87},         {ENODEV, 1167},   {ENXIO, 1167},     {EMFILE, 4},          {ENFILE, 4},       {EINTR, 1223},
    {ECANCELED, 1223},   {EIO, 31},        {EBADF, 6},        {ENOMEM, 8},          {EFAULT, 487},     {EBUSY, 170},
    {EEXIST, 80},        {EXDEV, 17},      {ENOTDIR, 267},    {ENOSPC, 112},        {EROFS, 19},       {EPIPE, 109},
    {ENAMETOOLONG, 206}, {ENOTEMPTY, 145}, {ETIMEDOUT, 1460}, {ECONNREFUSED, 1225}, {EWOULDBLOCK, 33}, {EFBIG, 223},
    {EOPNOTSUPP, 50},    {EDQUOT, 1295},   {ELOOP, 1921},
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

HRESULT HResultFromErrno(int err) {
  return HResultFromWin32(Win32ErrorFromErrno(err));
}

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

std::string ResultMessage(HRESULT hr) {
  const int err = ErrnoFromHResult(hr);
  return err != 0 ? SystemMessage(err) : std::string();
}

std::string SystemMessage(int err) {
  char buffer[256] = {};
  // GNU strerror_r may return a static string instead of filling the buffer.
  const char* text = strerror_r(err, buffer, sizeof buffer);
  return text ? text : buffer;
}

} // namespace lumicrate
