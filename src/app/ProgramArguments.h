// The desktop program's command line: nothing, or the folder the desktop hands over for an
// inserted camera card ("lumicrate FOLDER"), or --help.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace lumicrate {

struct ProgramArguments {
  enum class Action { Run, Help, Usage };
  Action action = Action::Run;
  // The folder to import once the window shows, absolute and without a trailing slash; empty
  // when none was given.
  std::filesystem::path folder;
  // What is wrong with the command line, for Usage.
  std::string error;
};

// args without the program name. --help (or -h) anywhere asks for the usage alone.
ProgramArguments ParseProgramArguments(const std::vector<std::string>& args);

// The usage text, ending in a newline.
const char* ProgramUsage();

} // namespace lumicrate
