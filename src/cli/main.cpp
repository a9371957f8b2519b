// lumicrate-cli: the import engine and the album builder from a terminal, with the same
// settings file and log as the desktop program.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "cli/CliCommand.h"

namespace lumicrate::cli {

std::vector<CliCommand>& Commands() {
  static std::vector<CliCommand> commands;
  return commands;
}

namespace {

void PrintUsage(std::FILE* out) {
  std::fprintf(out, "使い方: lumicrate-cli <コマンド> [引数]\n\n");
  auto commands = Commands();
  std::sort(commands.begin(), commands.end(),
            [](const CliCommand& a, const CliCommand& b) { return std::strcmp(a.name, b.name) < 0; });
  for (const CliCommand& command : commands) {
    std::fprintf(out, "  lumicrate-cli %s %s\n      %s\n", command.name, command.usage, command.summary);
  }
}

} // namespace
} // namespace lumicrate::cli

int main(int argc, char** argv) {
  using namespace lumicrate::cli;
  if (argc < 2) {
    PrintUsage(stderr);
    return kExitUsage;
  }
  const std::string name = argv[1];
  if (name == "--help" || name == "-h" || name == "help") {
    PrintUsage(stdout);
    return kExitOk;
  }
  for (const CliCommand& command : Commands()) {
    if (name != command.name) {
      continue;
    }
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (std::ranges::any_of(args, [](const std::string& arg) { return arg == "--help" || arg == "-h"; })) {
      std::printf("使い方: lumicrate-cli %s %s\n      %s\n", command.name, command.usage, command.summary);
      return kExitOk;
    }
    return command.run(args);
  }
  std::fprintf(stderr, "lumicrate-cli: 不明なコマンドです: %s\n\n", name.c_str());
  PrintUsage(stderr);
  return kExitUsage;
}
