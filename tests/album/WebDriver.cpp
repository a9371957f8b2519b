// libcurl speaks to chromedriver on a loopback port; answers are read with a small JSON
// string reader, enough for the "value" and "sessionId" fields.
#include "WebDriver.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <curl/curl.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "album/PictureLink.h"
#include "platform/Utf.h"

extern char** environ;

namespace lumicrate::test {
namespace {

std::optional<std::filesystem::path> FindProgram(const char* name) {
  const char* path = std::getenv("PATH");
  std::string folders = path ? path : "/usr/bin:/bin";
  for (size_t start = 0; start <= folders.size();) {
    const size_t end = std::min(folders.find(':', start), folders.size());
    const std::filesystem::path candidate = std::filesystem::path(folders.substr(start, end - start)) / name;
    if (::access(candidate.c_str(), X_OK) == 0) {
      return candidate;
    }
    start = end + 1;
  }
  return std::nullopt;
}

int FreePort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  int port = 0;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0) {
    port = ntohs(address.sin_port);
  }
  ::close(fd);
  return port;
}

std::string JsonString(const std::string& text) {
  std::string json = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      json += '\\';
      json += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      json += escaped;
    } else {
      json += c;
    }
  }
  return json + "\"";
}

// The string value of the first "key" in the JSON text, if it is a string.
std::optional<std::string> JsonField(const std::string& json, const std::string& key) {
  size_t at = json.find("\"" + key + "\"");
  if (at == std::string::npos) {
    return std::nullopt;
  }
  at = json.find_first_not_of(" \t\r\n:", at + key.size() + 2);
  if (at == std::string::npos || json[at] != '"') {
    return std::nullopt;
  }
  std::u16string text;
  for (size_t i = at + 1; i < json.size() && json[i] != '"'; ++i) {
    if (json[i] != '\\') {
      const size_t end = json.find_first_of("\"\\", i);
      text += Utf8ToUtf16(json.substr(i, end - i));
      i = end - 1;
      continue;
    }
    const char escaped = json[++i];
    if (escaped == 'u') {
      text += static_cast<char16_t>(std::stoi(json.substr(i + 1, 4), nullptr, 16));
      i += 4;
    } else {
      text += escaped == 'n' ? u'\n' : escaped == 't' ? u'\t' : escaped == 'r' ? u'\r' : char16_t(escaped);
    }
  }
  return Utf16ToUtf8(text);
}

size_t Collect(char* data, size_t size, size_t count, void* out) {
  static_cast<std::string*>(out)->append(data, size * count);
  return size * count;
}

} // namespace

std::unique_ptr<WebDriver> WebDriver::Start(std::string& why) {
  const auto chromium = FindProgram("chromium");
  const auto chromedriver = FindProgram("chromedriver");
  if (!chromium || !chromedriver) {
    why = "chromium and chromedriver are needed (scripts/install-deps.sh installs them)";
    return nullptr;
  }
  std::unique_ptr<WebDriver> driver(new WebDriver);
  const int port = FreePort();
  driver->base_ = "http://127.0.0.1:" + std::to_string(port);
  const std::string portArgument = "--port=" + std::to_string(port);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  char* argv[] = {const_cast<char*>(chromedriver->c_str()), const_cast<char*>(portArgument.c_str()), nullptr};
  const int spawned = ::posix_spawn(&driver->driver_, chromedriver->c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    driver->driver_ = -1;
    why = "chromedriver did not start";
    return nullptr;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (driver->Request("GET", "/status", "").find("\"ready\":true") == std::string::npos) {
    if (std::chrono::steady_clock::now() > deadline) {
      why = "chromedriver did not answer";
      return nullptr;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }

  driver->profile_ = std::make_unique<TempDir>();
  std::string args;
  for (const std::string& arg :
       std::vector<std::string>{"--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                                "--disable-background-networking", "--disable-component-update", "--disable-sync",
                                "--window-size=1280,900", "--user-data-dir=" + driver->profile_->Path().string()}) {
    args += (args.empty() ? "" : ",") + JsonString(arg);
  }
  const std::string answer =
      driver->Request("POST", "/session",
                      R"({"capabilities":{"alwaysMatch":{"browserName":"chrome","goog:chromeOptions":{"binary":)" +
                          JsonString(chromium->string()) + R"(,"args":[)" + args + "]}}}}");
  const auto session = JsonField(answer, "sessionId");
  if (!session) {
    why = "chromium did not start: " + answer.substr(0, 500);
    return nullptr;
  }
  driver->session_ = *session;
  return driver;
}

WebDriver::~WebDriver() {
  if (!session_.empty()) {
    Request("DELETE", "/session/" + session_, "");
  }
  if (driver_ > 0) {
    ::kill(driver_, SIGTERM);
    ::waitpid(driver_, nullptr, 0);
  }
}

bool WebDriver::Navigate(const std::string& url) {
  return Request("POST", "/session/" + session_ + "/url", "{\"url\":" + JsonString(url) + "}").find("\"value\":null") !=
         std::string::npos;
}

std::string WebDriver::Evaluate(const std::string& script) {
  const std::string answer =
      Request("POST", "/session/" + session_ + "/execute/sync", "{\"script\":" + JsonString(script) + ",\"args\":[]}");
  return JsonField(answer, "value").value_or("(no string) " + answer.substr(0, 500));
}

std::string WebDriver::FileUrl(const std::filesystem::path& path) {
  return "file://" + PercentEncode(path.string());
}

std::string WebDriver::Request(const char* method, const std::string& path, const std::string& body) {
  CURL* curl = ::curl_easy_init();
  std::string answer;
  curl_slist* headers = ::curl_slist_append(nullptr, "Content-Type: application/json");
  ::curl_easy_setopt(curl, CURLOPT_URL, (base_ + path).c_str());
  ::curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, method);
  ::curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
  if (std::string_view(method) == "POST") {
    ::curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.c_str());
  }
  ::curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Collect);
  ::curl_easy_setopt(curl, CURLOPT_WRITEDATA, &answer);
  ::curl_easy_setopt(curl, CURLOPT_TIMEOUT, 60L);
  ::curl_easy_perform(curl);
  ::curl_slist_free_all(headers);
  ::curl_easy_cleanup(curl);
  return answer;
}

} // namespace lumicrate::test
