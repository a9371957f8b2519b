// Sub-commands of lumicrate-cli register themselves here, each from its own file.
#pragma once

#include <string>
#include <vector>

namespace lumicrate::cli {

// Exit codes shared by every sub-command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

struct CliCommand {
  const char* name;
  const char* usage;   // the arguments, for the help text
  const char* summary; // one line, for the help text
  int (*run)(const std::vector<std::string>& args);
};

std::vector<CliCommand>& Commands();

struct RegisterCommand {
  explicit RegisterCommand(const CliCommand& command) { Commands().push_back(command); }
};

} // namespace lumicrate::cli
