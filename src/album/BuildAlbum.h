// The album run: rebuilds "PhotoAlbum" below the output folder from every JPEG the folder
// holds, with a start page, a page per month, thumbnails and the template's viewer page.
#pragma once

#include <filesystem>

#include "album/AlbumOptions.h"
#include "app/Progress_CL.h"
#include "platform/HResult.h"
#include "platform/ProgramFiles.h"

namespace lumicrate {

// Held in the output folder while an album is built there.
inline constexpr const char* kAlbumLockFileName = ".lumicrate-album.lock";

// The options of a run over outputFolder, with the template "Template/0001" beside the program
// or in its installed data folder.
AlbumOptions MakeAlbumOptions(Progress_CL* progress, const std::filesystem::path& outputFolder);

// The file of the template that every album needs and that is missing ("picture.html" or
// "make_photo_album.css" in TemplateFolder); empty when the template is whole.
std::filesystem::path MissingTemplateFile(const AlbumOptions& options);

// 0 when the album was written and put in place (also without photos). Else the error of a
// missing template, or the error that stopped the removal of what an earlier run left, or that
// kept a page, a thumbnail or the start page from being written; the old album then stays as
// it was.
HRESULT BuildAlbum(Progress_CL* progress, const std::filesystem::path& outputFolder);
HRESULT BuildAlbum(const AlbumOptions& options);

} // namespace lumicrate
