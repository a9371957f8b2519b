// Results in the HRESULT style: 0 is success, 0x8007xxxx wraps a Windows error number.
// System errors are mapped from errno to the Windows number so log lines read the same everywhere.
#pragma once

#include <cstdint>
#include <string>

namespace lumicrate {

using HRESULT = std::int32_t;

constexpr HRESULT S_OK = 0;
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000E);
constexpr HRESULT E_ABORT = static_cast<HRESULT>(0x80004004);

constexpr bool Failed(HRESULT hr) {
  return hr < 0;
}
constexpr bool Succeeded(HRESULT hr) {
  return hr >= 0;
}

// A code that is 0 or negative passes unchanged; any other becomes 0x80070000 | (code & 0xFFFF).
constexpr HRESULT HResultFromWin32(std::int32_t code) {
  return code <= 0 ? code : static_cast<HRESULT>(0x80070000u | (static_cast<std::uint32_t>(code) & 0xFFFFu));
}

// The Windows error number that means the same as errno value err (ENOENT -> 2, ENOSPC -> 112 ...).
std::int32_t Win32ErrorFromErrno(int err);
HRESULT HResultFromErrno(int err);

// The system's own message text for errno value err.
std::string SystemMessage(int err);

// The errno value a result was made from, or 0 when it did not come from one.
int ErrnoFromHResult(HRESULT hr);

// The system's message text for a result made from errno, as log lines show it after the code;
// empty for any other result.
std::string ResultMessage(HRESULT hr);

} // namespace lumicrate
