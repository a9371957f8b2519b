// Counts how often files in a folder are replaced, from the kernel's own file events, so a test
// can tell how many times a save rewrote the settings file.
#pragma once

#include <filesystem>
#include <string>

namespace lumicrate::test {

class ReplacementCounter {
public:
  explicit ReplacementCounter(const std::filesystem::path& folder);
  ~ReplacementCounter();
  ReplacementCounter(const ReplacementCounter&) = delete;
  ReplacementCounter& operator=(const ReplacementCounter&) = delete;

  // The replacements of the named file since the last call.
  int Take(const std::string& name);

private:
  int fd_;
};

} // namespace lumicrate::test
