// A real HTTP server on 127.0.0.1 for the update tests (tests/update/loopback_http_server.py):
// the test sets how it answers and reads back the requests it received.
#pragma once

#include <cstdint>
#include <string>
#include <sys/types.h>
#include <vector>

#include "support/TestSupport.h"

namespace lumicrate::test {

struct HttpAnswer {
  int status = 200;
  std::string body;
  // "auto" (the body's true length), "none", "chunked", or a declared length in digits.
  std::string length = "auto";
  // "normal"; "slow" (the body a byte at a time, `delay` seconds apart); "silent" (never
  // answers); "hangup" (closes without a word).
  std::string mode = "normal";
  double delay = 0;
};

struct ReceivedRequest {
  std::string path;
  std::string userAgent;
  std::string cacheControl;
};

class LoopbackServer {
public:
  LoopbackServer();
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  // "127.0.0.1:<port>", as a server name for the HTTP client.
  std::string Name() const;
  void Answer(const HttpAnswer& answer);
  std::vector<ReceivedRequest> Requests() const;

private:
  TempDir control_;
  pid_t pid_ = -1;
  int input_ = -1;
  std::uint16_t port_ = 0;
};

// A way a request fails on the wire, the server name that shows it, and the log line it leaves.
struct NetworkFailure {
  const char* name;
  HttpAnswer answer;
  std::string server;
  std::string logged;
};

// A refused connection, a server that never answers and one that hangs up without a word.
std::vector<NetworkFailure> NetworkFailures(const LoopbackServer& server);

// A byte string from a literal, zero bytes included.
template <size_t N> std::string Bytes(const char (&literal)[N]) {
  return std::string(literal, N - 1);
}

// A loopback port on which nothing listens, so connecting to it is refused.
std::uint16_t RefusingPort();

} // namespace lumicrate::test
