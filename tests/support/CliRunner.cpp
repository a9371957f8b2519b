// The program runs in a shell with the test's environment (its scratch HOME included), so it
// reads and writes the same settings and log the test looks at.
#include "support/CliRunner.h"

#include <array>
#include <cstdio>
#include <sys/wait.h>

namespace lumicrate::test {

CliResult RunCli(const std::string& arguments) {
  return RunProgram(std::string(LUMICRATE_BINARY_DIR) + "/lumicrate-cli", arguments);
}

CliResult RunProgram(const std::string& program, const std::string& arguments) {
  const std::string command = program + " " + arguments + " 2>&1";
  CliResult result;
  std::FILE* pipe = ::popen(command.c_str(), "r");
  std::array<char, 4096> buffer{};
  while (const size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe)) {
    result.output.append(buffer.data(), n);
  }
  const int status = ::pclose(pipe);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

} // namespace lumicrate::test
