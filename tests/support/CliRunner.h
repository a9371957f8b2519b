// Runs the built lumicrate-cli as a user does, for the tests of its commands: the exit code and
// everything it printed.
#pragma once

#include <string>

namespace lumicrate::test {

struct CliResult {
  int exitCode = -1;
  std::string output; // stdout and stderr together
};

// arguments are given to the shell as they stand (quote what needs it).
CliResult RunCli(const std::string& arguments);
// Any built program the same way.
CliResult RunProgram(const std::string& program, const std::string& arguments);

} // namespace lumicrate::test
