// Real JPEG photos made in the tests (pixels by libvips, EXIF by exiv2) and an album run
// over a scratch output folder with the template from the source tree.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vips/vips8>

#include "album/AlbumOptions.h"
#include "support/TestSupport.h"

namespace lumicrate::test {

// What a page without body looks like on disk, byte for byte.
extern const std::string kEmptyIndexPage;

enum class Corner { TopLeft, TopRight, BottomLeft, BottomRight };

struct PhotoOptions {
  int width = 64;
  int height = 48;
  std::string dateTimeOriginal{}; // "2015:03:21 10:00:00"; empty: no EXIF date
  int orientation = 0;            // 0: no Orientation tag
  // "35/1 40/1 5245/100" style degrees, minutes, seconds with their references.
  std::string latitude{}, latitudeRef{}, longitude{}, longitudeRef{};
  // Red and green squares, a fifth of each side, in two corners of the stored pixels.
  std::optional<Corner> red{}, green{};
};

// Writes a JPEG with the given pixels and EXIF, creating its folder.
void MakePhoto(const std::filesystem::path& path, const PhotoOptions& photo);

// The pixel of a picture file at (x, y), as red, green, blue.
std::array<double, 3> PixelAt(const std::filesystem::path& path, int x, int y);
bool IsRed(const std::array<double, 3>& pixel);
bool IsGreen(const std::array<double, 3>& pixel);

class AlbumTest : public ScratchHomeTest {
protected:
  void SetUp() override;
  std::filesystem::path Out() const { return out_->Path(); }
  std::filesystem::path Album() const { return Out() / "PhotoAlbum"; }
  // The options of a run over Out(), with the template taken from the source tree.
  AlbumOptions Options(Progress_CL* progress = nullptr) const;
  std::string ReadPage(const std::string& relative) const { return ReadBytes(Album() / relative); }

private:
  std::unique_ptr<TempDir> out_;
};

} // namespace lumicrate::test
