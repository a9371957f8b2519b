// The link from a thumbnail to the viewer page: the photo's path relative to the album root
// in "img", and its position in "map", "lat" and "lon" when it has one.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "album/AlbumOptions.h"
#include "album/Thumbnail.h"

namespace lumicrate {

// Every byte but letters, digits, "-", "_", ".", "~" and "/" as %XX, so that no file name can
// end the attribute, add markup, or cut the query short ("#", "&", "+", "%").
std::string PercentEncode(std::string_view text);

// "../picture.html?img=../2015/03/IMG_0001.JPG", then "&map=1&lat=35.681236&lon=139.767125"
// with a position. The link is relative to a month page.
std::string PictureLink(const AlbumOptions& options, const std::filesystem::path& photo,
                        const std::optional<GpsPosition>& position);

} // namespace lumicrate
