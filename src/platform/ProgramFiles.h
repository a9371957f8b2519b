// Where the program's own data files are: beside the executable in a build tree, or in
// share/lumicrate next to the bin folder it was installed into.
#pragma once

#include <filesystem>

namespace lumicrate {

// The folder that holds the running executable.
std::filesystem::path ProgramFolder();

// The data file or folder `relative` (such as "Template/0001") for a program in programFolder:
// beside it when it is there, else in the installed data folder when the program has one (even
// if `relative` is missing there, so that a message about it names the installed place), else
// beside it.
std::filesystem::path ProgramDataPath(const std::filesystem::path& programFolder,
                                      const std::filesystem::path& relative);
std::filesystem::path ProgramDataPath(const std::filesystem::path& relative);

} // namespace lumicrate
