// Where the user's own folders are: the XDG documents folder stands in for "My Documents".
#pragma once

#include <filesystem>

namespace lumicrate {

// XDG_DOCUMENTS_DIR from user-dirs.dirs ($XDG_CONFIG_HOME or ~/.config), else $HOME/Documents.
// A folder switched off there ("$HOME/") gives the home folder, as xdg-user-dir does.
std::filesystem::path DocumentsFolder();

} // namespace lumicrate
