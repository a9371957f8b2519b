// The album run: rebuilds "PhotoAlbum" below the output folder from every JPEG the folder
// holds, with a start page, a page per month, thumbnails and the template's viewer page.
#pragma once

#include <filesystem>

#include "album/AlbumOptions.h"
#include "app/Progress_CL.h"
#include "platform/HResult.h"

namespace lumicrate {

// Held in the output folder while an album is built there.
inline constexpr const char* kAlbumLockFileName = ".lumicrate-album.lock";

// The folder that holds the running program; the album template is found beside it.
std::filesystem::path ProgramFolder();

// The options of a run over outputFolder, with the template "Template/0001" beside the program.
AlbumOptions MakeAlbumOptions(Progress_CL* progress, const std::filesystem::path& outputFolder);

// 0 when the album was written and put in place (also without photos). Else the error that
// stopped the removal of what an earlier run left, or that kept a page, a thumbnail or the
// start page from being written; the old album then stays as it was.
HRESULT BuildAlbum(Progress_CL* progress, const std::filesystem::path& outputFolder);
HRESULT BuildAlbum(const AlbumOptions& options);

} // namespace lumicrate
