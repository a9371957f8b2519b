// Folder walks of the album: removing the old album and copying the template. Symbolic links
// to folders are never entered, so a walk cannot loop or reach outside the tree it was given.
#pragma once

#include <filesystem>
#include <string>

#include "platform/HResult.h"

namespace lumicrate {

// Depth first; stops at the first entry that cannot be removed and returns its error. A link
// is removed as a link, whatever it points to, the folder itself included.
HRESULT DeleteFolderTree(const std::filesystem::path& folder);

// Copies files over existing ones, but fails on a subfolder that already exists.
HRESULT CopyFolderTree(const std::filesystem::path& source, const std::filesystem::path& destination);

// From the last "." of the path to its end, the dot included, case unchanged; empty without a dot.
std::string GetExtension(const std::filesystem::path& path);

} // namespace lumicrate
