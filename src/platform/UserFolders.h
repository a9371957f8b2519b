// Where the user's own folders are: the XDG documents folder stands in for "My Documents".
#pragma once

#include <filesystem>

namespace lumicrate {

// XDG_DOCUMENTS_DIR from user-dirs.dirs ($XDG_CONFIG_HOME or ~/.config), else $HOME/Documents.
std::filesystem::path DocumentsFolder();

} // namespace lumicrate
