// A small synchronous HTTP client over libcurl: one plain GET, its status code, its declared
// length and its body. Failures are logged with the WinINet error number a Windows build would show.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <curl/curl.h>
#include <optional>
#include <string>
#include <vector>

namespace lumicrate {

struct HttpTimeouts {
  // A dead network or a silent server must never hold start-up for long.
  std::chrono::milliseconds connect{5000};
  std::chrono::milliseconds total{10000};
  // When given and set (from any thread), a transfer under way ends within a tenth of a second,
  // failed: a program closing does not wait out the time-outs.
  const std::atomic<bool>* cancel = nullptr;
};

class InetHttp_CL {
public:
  // A version file is a few dozen bytes; anything larger is refused, so no server can exhaust memory.
  static constexpr size_t kDefaultMaxBody = 4096;

  explicit InetHttp_CL(HttpTimeouts timeouts = {}, size_t maxBody = kDefaultMaxBody);
  virtual ~InetHttp_CL();
  InetHttp_CL(const InetHttp_CL&) = delete;
  InetHttp_CL& operator=(const InetHttp_CL&) = delete;

  // Calling order: OpenInternet, Connect, SendGet, ContentLength, ReadBody, Body. A call out of
  // order fails and is logged. The system's proxy settings (http_proxy, no_proxy) apply.
  bool OpenInternet();
  // serverName is a host name or address, optionally followed by ":port" (80 without one).
  // Nothing goes over the wire yet; a second call replaces the first server.
  bool Connect(const std::string& serverName);
  // objectName is the path on the server without a leading slash. Returns once the response's
  // headers have arrived; any status counts as success, a 404 page included.
  bool SendGet(const std::string& objectName);

  std::uint32_t StatusCode() const { return statusCode_; }
  // The Content-Length of the last response, -1 without one.
  std::int32_t ContentLength() const { return contentLength_; }
  // Reads count more bytes of the body (fewer when the body ends, fails or times out first), or
  // with -1 the whole rest of it (0 when that fails or exceeds the bound). Returns the count read.
  std::int32_t ReadBody(std::int32_t count);
  // The last body read followed by one zero byte; null before the first ReadBody.
  const unsigned char* Body() const { return body_ ? body_->data() : nullptr; }

  // Ends any transfer and releases everything; the destructor calls it.
  void Close();

private:
  static size_t OnHeader(char* data, size_t size, size_t count, void* self);
  static size_t OnBody(char* data, size_t size, size_t count, void* self);

  // The request handle with every option set; false (logged) when it cannot be made.
  bool OpenRequest(const std::string& objectName);
  void CloseRequest();
  // Drives the transfer until `enough` holds or the transfer has ended.
  template <typename Enough> void Pump(Enough enough);
  // Logs "<call>()エラー = 0x%08x : <text>"; the text is curl's own account of the failure.
  void LogFailure(const char* call, CURLcode code, const char* detail = nullptr) const;

  HttpTimeouts timeouts_;
  size_t maxBody_;

  // The session, the server to ask (nothing is connected before the request) and the request.
  CURLM* internet_ = nullptr;
  std::optional<std::string> server_;
  CURL* request_ = nullptr;
  curl_slist* headers_ = nullptr;
  char errorText_[CURL_ERROR_SIZE] = {};

  bool headersDone_ = false;
  bool transferDone_ = false;
  CURLcode transferResult_ = CURLE_OK;
  std::string received_;
  size_t consumed_ = 0;
  std::optional<std::vector<unsigned char>> body_;

  std::int32_t contentLength_ = 0;
  std::uint32_t statusCode_ = 0;
};

} // namespace lumicrate
