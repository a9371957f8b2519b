// libcurl's multi interface lets the request stop after the response headers, as WinINet's
// HttpSendRequest does, and lets ReadBody pull the body afterwards under the same time-outs.
#include "update/InetHttp_CL.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>
#include <limits>
#include <string_view>

#include "app/ActivityLog.h"
#include "platform/HResult.h"

namespace lumicrate {
namespace {

// The agent WinINet callers send; the blank before "Explorer" is U+3000 IDEOGRAPHIC SPACE.
constexpr char kAgent[] = "Microsoft Internet\u3000Explorer";

struct WinInetError {
  CURLcode code;
  std::int32_t win32;
};

// The Windows error numbers WinINet reports for the same failures, so log lines read alike.
constexpr WinInetError kWinInetErrors[] = {
    {CURLE_OUT_OF_MEMORY, 8},             // ERROR_NOT_ENOUGH_MEMORY
    {CURLE_BAD_FUNCTION_ARGUMENT, 6},     // ERROR_INVALID_HANDLE: a call out of order
    {CURLE_OPERATION_TIMEDOUT, 12002},    // ERROR_INTERNET_TIMEOUT
    {CURLE_URL_MALFORMAT, 12005},         // ERROR_INTERNET_INVALID_URL
    {CURLE_UNSUPPORTED_PROTOCOL, 12006},  // ERROR_INTERNET_UNRECOGNIZED_SCHEME
    {CURLE_COULDNT_RESOLVE_HOST, 12007},  // ERROR_INTERNET_NAME_NOT_RESOLVED
    {CURLE_COULDNT_RESOLVE_PROXY, 12007}, // the same for the proxy's name
    {CURLE_COULDNT_CONNECT, 12029},       // ERROR_INTERNET_CANNOT_CONNECT
    {CURLE_GOT_NOTHING, 12030},           // ERROR_INTERNET_CONNECTION_ABORTED
    {CURLE_SEND_ERROR, 12031},            // ERROR_INTERNET_CONNECTION_RESET
    {CURLE_RECV_ERROR, 12031},            // the same while receiving
    {CURLE_WEIRD_SERVER_REPLY, 12152},    // ERROR_HTTP_INVALID_SERVER_RESPONSE
};
constexpr std::int32_t kInternalError = 12004; // ERROR_INTERNET_INTERNAL_ERROR

std::int32_t WinInetErrorFor(CURLcode code) {
  for (const auto& entry : kWinInetErrors) {
    if (entry.code == code) {
      return entry.win32;
    }
  }
  return kInternalError;
}

bool InitialiseCurl() {
  static const CURLcode result = curl_global_init(CURL_GLOBAL_DEFAULT);
  return result == CURLE_OK;
}

bool IsDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsHostChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_';
}

// A host name, an IPv4 address or a bracketed IPv6 address, optionally with ":port".
bool IsServerName(std::string_view name) {
  std::string_view host;
  std::string_view rest;
  if (name.starts_with('[')) {
    const size_t close = name.find(']');
    if (close == std::string_view::npos || close == 1) {
      return false;
    }
    const std::string_view address = name.substr(1, close - 1);
    if (address.find_first_not_of("0123456789abcdefABCDEF:.") != std::string_view::npos) {
      return false;
    }
    rest = name.substr(close + 1);
  } else {
    const size_t colon = name.find(':');
    host = name.substr(0, colon);
    rest = colon == std::string_view::npos ? std::string_view{} : name.substr(colon);
    if (host.empty() || !std::all_of(host.begin(), host.end(), IsHostChar)) {
      return false;
    }
  }
  if (rest.empty()) {
    return true;
  }
  const std::string_view port = rest.substr(1);
  if (rest.front() != ':' || !IsDigits(port) || port.size() > 5) {
    return false;
  }
  unsigned value = 0;
  std::from_chars(port.data(), port.data() + port.size(), value);
  return value >= 1 && value <= 65535;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), text.begin(),
                    [](char wanted, char given) { return std::tolower(static_cast<unsigned char>(given)) == wanted; });
}

// Read as wcstol reads the header's text: leading blanks, a sign, digits; clamped to 32 bits.
std::int32_t ParseLength(std::string_view text) {
  const size_t start = text.find_first_not_of(" \t");
  if (start == std::string_view::npos) {
    return 0;
  }
  text.remove_prefix(start);
  if (text.starts_with('+')) {
    text.remove_prefix(1);
  }
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error == std::errc::result_out_of_range) {
    return text.starts_with('-') ? std::numeric_limits<std::int32_t>::min() : std::numeric_limits<std::int32_t>::max();
  }
  if (end == text.data()) {
    return 0;
  }
  return static_cast<std::int32_t>(
      std::clamp<long long>(value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

} // namespace

InetHttp_CL::InetHttp_CL(HttpTimeouts timeouts, size_t maxBody) : timeouts_(timeouts), maxBody_(maxBody) {}

InetHttp_CL::~InetHttp_CL() {
  Close();
}

bool InetHttp_CL::OpenInternet() {
  if (internet_) {
    return true;
  }
  if (!InitialiseCurl()) {
    LogFailure("InternetOpen", CURLE_FAILED_INIT);
    return false;
  }
  internet_ = curl_multi_init();
  if (!internet_) {
    LogFailure("InternetOpen", CURLE_OUT_OF_MEMORY);
    return false;
  }
  return true;
}

bool InetHttp_CL::Connect(const std::string& serverName) {
  CloseRequest();
  server_.reset();
  if (!internet_) {
    LogFailure("InternetConnect", CURLE_BAD_FUNCTION_ARGUMENT);
    return false;
  }
  if (!IsServerName(serverName)) {
    LogFailure("InternetConnect", CURLE_URL_MALFORMAT);
    return false;
  }
  server_ = serverName;
  return true;
}

bool InetHttp_CL::SendGet(const std::string& objectName) {
  statusCode_ = 0;
  contentLength_ = -1;
  CloseRequest();
  if (!OpenRequest(objectName)) {
    CloseRequest();
    return false;
  }
  if (curl_multi_add_handle(internet_, request_) != CURLM_OK) {
    LogFailure("HttpSendRequest", CURLE_OUT_OF_MEMORY);
    CloseRequest();
    return false;
  }
  Pump([this] { return headersDone_; });
  if (!headersDone_) {
    LogFailure("HttpSendRequest", transferResult_ == CURLE_OK ? CURLE_GOT_NOTHING : transferResult_);
    return false;
  }
  return true;
}

bool InetHttp_CL::OpenRequest(const std::string& objectName) {
  if (!internet_ || !server_) {
    LogFailure("HttpOpenRequest", CURLE_BAD_FUNCTION_ARGUMENT);
    return false;
  }
  const std::string url = "http://" + *server_ + "/" + objectName;
  CURLU* parser = curl_url();
  const CURLUcode parsed = parser ? curl_url_set(parser, CURLUPART_URL, url.c_str(), 0) : CURLUE_OUT_OF_MEMORY;
  curl_url_cleanup(parser);
  if (parsed != CURLUE_OK) {
    LogFailure("HttpOpenRequest", parsed == CURLUE_OUT_OF_MEMORY ? CURLE_OUT_OF_MEMORY : CURLE_URL_MALFORMAT,
               curl_url_strerror(parsed));
    return false;
  }

  request_ = curl_easy_init();
  CURLcode set = request_ ? CURLE_OK : CURLE_OUT_OF_MEMORY;
  // Proxies must not answer from their caches: a stale version file would hide a release.
  for (const char* header : {"Cache-Control: no-cache", "Pragma: no-cache"}) {
    curl_slist* longer = set == CURLE_OK ? curl_slist_append(headers_, header) : nullptr;
    if (!longer) {
      set = CURLE_OUT_OF_MEMORY;
      break;
    }
    headers_ = longer;
  }
  const auto option = [&](CURLoption name, auto value) {
    if (set == CURLE_OK) {
      set = curl_easy_setopt(request_, name, value);
    }
  };
  option(CURLOPT_URL, url.c_str());
  option(CURLOPT_PROTOCOLS_STR, "http");
  option(CURLOPT_USERAGENT, kAgent);
  option(CURLOPT_HTTPHEADER, headers_);
  option(CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timeouts_.connect.count()));
  option(CURLOPT_TIMEOUT_MS, static_cast<long>(timeouts_.total.count()));
  option(CURLOPT_NOSIGNAL, 1L);
  // One object serves one request: nothing is left open behind it.
  option(CURLOPT_FORBID_REUSE, 1L);
  option(CURLOPT_ERRORBUFFER, errorText_);
  option(CURLOPT_HEADERFUNCTION, &InetHttp_CL::OnHeader);
  option(CURLOPT_HEADERDATA, this);
  option(CURLOPT_WRITEFUNCTION, &InetHttp_CL::OnBody);
  option(CURLOPT_WRITEDATA, this);
  if (set != CURLE_OK) {
    LogFailure("HttpOpenRequest", set);
    return false;
  }
  return true;
}

std::int32_t InetHttp_CL::ReadBody(std::int32_t count) {
  body_.reset();
  std::string_view bytes;
  if (request_ && headersDone_ && count == -1) {
    Pump([] { return false; });
    if (transferResult_ == CURLE_OK) {
      bytes = std::string_view(received_).substr(consumed_);
    }
  } else if (request_ && headersDone_ && count > 0) {
    const auto wanted = static_cast<size_t>(count);
    Pump([&] { return received_.size() - consumed_ >= wanted; });
    bytes = std::string_view(received_).substr(consumed_, wanted);
  }
  consumed_ += bytes.size();
  body_.emplace(bytes.begin(), bytes.end());
  body_->push_back(0);
  return static_cast<std::int32_t>(bytes.size());
}

void InetHttp_CL::Close() {
  CloseRequest();
  if (internet_) {
    curl_multi_cleanup(internet_);
    internet_ = nullptr;
  }
  server_.reset();
  body_.reset();
}

void InetHttp_CL::CloseRequest() {
  if (request_) {
    curl_multi_remove_handle(internet_, request_);
    curl_easy_cleanup(request_);
    request_ = nullptr;
  }
  curl_slist_free_all(headers_);
  headers_ = nullptr;
  headersDone_ = false;
  transferDone_ = false;
  transferResult_ = CURLE_OK;
  received_.clear();
  consumed_ = 0;
  errorText_[0] = '\0';
}

template <typename Enough> void InetHttp_CL::Pump(Enough enough) {
  // curl_multi_poll also wakes for curl's own timers, so the time-outs fire on time.
  const int pollSliceMs = timeouts_.cancel ? 100 : 1000;
  while (!transferDone_ && !enough()) {
    if (timeouts_.cancel && *timeouts_.cancel) {
      transferDone_ = true;
      transferResult_ = CURLE_ABORTED_BY_CALLBACK;
      break;
    }
    int running = 0;
    const CURLMcode performed = curl_multi_perform(internet_, &running);
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(internet_, &left)) {
      if (message->msg == CURLMSG_DONE) {
        transferDone_ = true;
        transferResult_ = message->data.result;
      }
    }
    if (performed != CURLM_OK && !transferDone_) {
      transferDone_ = true;
      transferResult_ = CURLE_FAILED_INIT;
    }
    if (transferDone_ || enough()) {
      break;
    }
    curl_multi_poll(internet_, nullptr, 0, pollSliceMs, nullptr);
  }
}

size_t InetHttp_CL::OnHeader(char* data, size_t size, size_t count, void* self) {
  auto* http = static_cast<InetHttp_CL*>(self);
  const std::string_view line(data, size * count);
  if (line.starts_with("HTTP/")) {
    // A new status line: an interim 1xx answer may come before the real one.
    const size_t space = line.find(' ');
    unsigned status = 0;
    if (space != std::string_view::npos) {
      std::from_chars(line.data() + space + 1, line.data() + line.size(), status);
    }
    http->statusCode_ = status;
    http->contentLength_ = -1;
  } else if (line == "\r\n" || line == "\n") {
    http->headersDone_ = http->statusCode_ >= 200;
  } else if (StartsWithNoCase(line, "content-length:")) {
    http->contentLength_ = ParseLength(line.substr(std::strlen("content-length:")));
  }
  return size * count;
}

size_t InetHttp_CL::OnBody(char* data, size_t size, size_t count, void* self) {
  auto* http = static_cast<InetHttp_CL*>(self);
  const size_t bytes = size * count;
  const size_t room = http->maxBody_ - http->received_.size();
  http->received_.append(data, std::min(bytes, room));
  // Taking less than given ends the transfer: the body is larger than any answer we accept.
  return bytes <= room ? bytes : 0;
}

void InetHttp_CL::LogFailure(const char* call, CURLcode code, const char* detail) const {
  const char* text = detail ? detail : (errorText_[0] ? errorText_ : curl_easy_strerror(code));
  Log().Write("%s()エラー = 0x%08x : %s", call, static_cast<unsigned>(HResultFromWin32(WinInetErrorFor(code))), text);
}

} // namespace lumicrate
