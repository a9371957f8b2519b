// Paths given by a person (a command-line argument) in the form the runs and their log lines
// expect: absolute, without "." or ".." and without a trailing slash.
#pragma once

#include <filesystem>

namespace lumicrate {

// Relative paths are taken from the current folder; "/" stays "/".
std::filesystem::path CleanPath(const std::filesystem::path& path);

} // namespace lumicrate
