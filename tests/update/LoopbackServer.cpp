// Starts the Python server with pipes on its standard input and output: it reports its port on
// its output, and ends when its input closes, even if this test process dies first.
#include "update/LoopbackServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <spawn.h>
#include <sstream>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace lumicrate::test {
namespace {

const char kScript[] = LUMICRATE_SOURCE_DIR "/tests/update/loopback_http_server.py";

} // namespace

LoopbackServer::LoopbackServer() {
  int toServer[2];
  int fromServer[2];
  if (::pipe2(toServer, O_CLOEXEC) != 0 || ::pipe2(fromServer, O_CLOEXEC) != 0) {
    throw std::runtime_error("pipe2 failed");
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, toServer[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, fromServer[1], STDOUT_FILENO);
  std::string python = "python3";
  std::string script = kScript;
  std::string folder = control_.Path().string();
  char* argv[] = {python.data(), script.data(), folder.data(), nullptr};
  const int spawned = ::posix_spawnp(&pid_, "python3", &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(toServer[0]);
  ::close(fromServer[1]);
  input_ = toServer[1];
  std::string line;
  char c = 0;
  while (spawned == 0 && ::read(fromServer[0], &c, 1) == 1 && c != '\n') {
    line.push_back(c);
  }
  ::close(fromServer[0]);
  if (spawned != 0 || line.empty()) {
    throw std::runtime_error("the loopback HTTP server did not start");
  }
  port_ = static_cast<std::uint16_t>(std::stoi(line));
}

LoopbackServer::~LoopbackServer() {
  ::close(input_);
  if (pid_ > 0) {
    ::waitpid(pid_, nullptr, 0);
  }
}

std::string LoopbackServer::Name() const {
  return "127.0.0.1:" + std::to_string(port_);
}

void LoopbackServer::Answer(const HttpAnswer& answer) {
  std::ostringstream config;
  config << "status " << answer.status << "\nlength " << answer.length << "\nmode " << answer.mode << "\ndelay "
         << answer.delay << "\n";
  WriteBytes(control_ / "body", answer.body);
  WriteBytes(control_ / "response", config.str());
}

std::vector<ReceivedRequest> LoopbackServer::Requests() const {
  std::vector<ReceivedRequest> requests;
  std::istringstream lines(ReadBytes(control_ / "requests"));
  for (std::string line; std::getline(lines, line);) {
    std::istringstream fields(line);
    ReceivedRequest request;
    std::getline(fields, request.path, '\t');
    std::getline(fields, request.userAgent, '\t');
    std::getline(fields, request.cacheControl, '\t');
    requests.push_back(request);
  }
  return requests;
}

std::uint16_t RefusingPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  ::close(fd);
  return ntohs(address.sin_port);
}

std::vector<NetworkFailure> NetworkFailures(const LoopbackServer& server) {
  return {
      {"a refused connection",
       {},
       "127.0.0.1:" + std::to_string(RefusingPort()),
       "HttpSendRequest()エラー = 0x80072efd : "},
      {"a server that never answers",
       {200, "", "auto", "silent"},
       server.Name(),
       "HttpSendRequest()エラー = 0x80072ee2 : "},
      {"a server that hangs up", {200, "", "auto", "hangup"}, server.Name(), "HttpSendRequest()エラー = 0x80072efe : "},
  };
}

} // namespace lumicrate::test
