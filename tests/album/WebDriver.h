// A headless Chromium driven through chromedriver's W3C WebDriver protocol, for tests that
// open album pages in a real browser. Only the few commands the tests need.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <sys/types.h>

#include "support/TestSupport.h"

namespace lumicrate::test {

class WebDriver {
public:
  // Starts chromedriver and a headless Chromium with a fresh profile; none when either program
  // is missing or does not start, with the reason in why.
  static std::unique_ptr<WebDriver> Start(std::string& why);
  ~WebDriver();
  WebDriver(const WebDriver&) = delete;
  WebDriver& operator=(const WebDriver&) = delete;

  // Opens the address and returns once the page has loaded.
  bool Navigate(const std::string& url);
  // Runs the script as a function body and returns its result, which must be a string.
  std::string Evaluate(const std::string& script);

  // "file:///..." with every byte but unreserved ones and "/" percent-encoded.
  static std::string FileUrl(const std::filesystem::path& path);

private:
  WebDriver() = default;
  std::string Request(const char* method, const std::string& path, const std::string& body);

  pid_t driver_ = -1;
  std::string base_;
  std::string session_;
  std::unique_ptr<TempDir> profile_;
};

} // namespace lumicrate::test
