// Thumbnail sizes from the integer arithmetic, the eight EXIF orientations, shrink-on-load,
// colour profiles and GPS positions, on real JPEGs.
#include <gtest/gtest.h>

#include "AlbumFixture.h"
#include "album/Thumbnail.h"

namespace lumicrate {
namespace {

namespace fs = std::filesystem;
using test::Corner;

TEST(ThumbnailTest, FitSizeFollowsTheIntegerArithmeticOfTheBox) {
  const struct {
    int w, h, width, height;
  } cases[] = {
      {4000, 3000, 320, 240}, {3000, 4000, 180, 240},     {1000, 1000, 240, 240}, {100, 50, 320, 160},
      {4000, 2000, 320, 160}, {1000, 1, 320, 0},          {1, 1000, 0, 240},      {0, 0, 320, 0},
      {333, 251, 318, 240},   {200000, 150000, 320, 240},
  };
  for (const auto& c : cases) {
    const BoxSize size = FitSize(c.w, c.h, 320, 240);
    EXPECT_EQ(size.Width, c.width) << c.w << "x" << c.h;
    EXPECT_EQ(size.Height, c.height) << c.w << "x" << c.h;
  }
}

std::optional<fs::path> MakeThumbnail(const fs::path& photo, const fs::path& thumbnail) {
  const int orientation = ReadOrientation(ReadExif(photo));
  const auto image = OpenAlbumImage(photo, orientation, 320, 240);
  if (!image) {
    return std::nullopt;
  }
  const auto fitted = FitIntoBox(MakeUprightCopy(*image), 320, 240);
  if (!fitted || SaveJpeg(*fitted, thumbnail, 80) != S_OK) {
    return std::nullopt;
  }
  return thumbnail;
}

// The scene has red in its top-left corner and green in its top-right one; each orientation
// stores it turned or mirrored, and the thumbnail must show the scene again.
TEST(ThumbnailTest, EveryOrientationComesOutUpright) {
  const struct {
    int orientation;
    Corner red, green;
  } cases[] = {
      {1, Corner::TopLeft, Corner::TopRight},       {2, Corner::TopRight, Corner::TopLeft},
      {3, Corner::BottomRight, Corner::BottomLeft}, {4, Corner::BottomLeft, Corner::BottomRight},
      {5, Corner::TopLeft, Corner::BottomLeft},     {6, Corner::BottomLeft, Corner::TopLeft},
      {7, Corner::BottomRight, Corner::TopRight},   {8, Corner::TopRight, Corner::BottomRight},
  };
  test::TempDir dir;
  for (const auto& c : cases) {
    const bool turned = c.orientation >= 5;
    const fs::path photo = dir / ("o" + std::to_string(c.orientation) + ".jpg");
    test::MakePhoto(photo, {.width = turned ? 300 : 400,
                            .height = turned ? 400 : 300,
                            .orientation = c.orientation,
                            .red = c.red,
                            .green = c.green});
    const auto thumbnail = MakeThumbnail(photo, dir / ("t" + std::to_string(c.orientation) + ".jpg"));
    ASSERT_TRUE(thumbnail) << c.orientation;
    const vips::VImage image = vips::VImage::new_from_file(thumbnail->c_str());
    EXPECT_EQ(image.width(), 320) << c.orientation;
    EXPECT_EQ(image.height(), 240) << c.orientation;
    EXPECT_TRUE(test::IsRed(test::PixelAt(*thumbnail, 10, 10))) << c.orientation;
    EXPECT_TRUE(test::IsGreen(test::PixelAt(*thumbnail, 309, 10))) << c.orientation;
  }
}

TEST(ThumbnailTest, PortraitStoredSidewaysStandsUprightAt180By240) {
  test::TempDir dir;
  test::MakePhoto(
      dir / "portrait.jpg",
      {.width = 4000, .height = 3000, .orientation = 6, .red = Corner::BottomLeft, .green = Corner::TopLeft});
  const auto thumbnail = MakeThumbnail(dir / "portrait.jpg", dir / "thumb.jpg");
  ASSERT_TRUE(thumbnail);
  const vips::VImage image = vips::VImage::new_from_file(thumbnail->c_str());
  EXPECT_EQ(image.width(), 180);
  EXPECT_EQ(image.height(), 240);
  EXPECT_TRUE(test::IsRed(test::PixelAt(*thumbnail, 5, 5)));
  EXPECT_TRUE(test::IsGreen(test::PixelAt(*thumbnail, 174, 5)));
  // Nothing of the photo's EXIF follows it, so no viewer turns the thumbnail a second time.
  EXPECT_EQ(ReadOrientation(ReadExif(*thumbnail)), 0);
}

TEST(ThumbnailTest, LargeJpegsAreShrunkWhileTheyAreDecoded) {
  test::TempDir dir;
  // Decoded at the smallest eighth, quarter or half that is still at least the thumbnail's size.
  const struct {
    int width, height, decodedWidth, decodedHeight;
  } cases[] = {{6000, 4000, 750, 500}, {4000, 3000, 500, 375}, {2000, 1500, 500, 375},
               {1400, 1050, 350, 262}, {1200, 900, 600, 450},  {600, 450, 600, 450}};
  for (const auto& c : cases) {
    const fs::path photo = dir / (std::to_string(c.width) + ".jpg");
    test::MakePhoto(photo, {.width = c.width, .height = c.height});
    const auto image = OpenAlbumImage(photo, 0, 320, 240);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Width, c.width);
    EXPECT_EQ(image->Height, c.height);
    EXPECT_EQ(image->Pixels.width(), c.decodedWidth);
    EXPECT_EQ(image->Pixels.height(), c.decodedHeight);
  }

  // Small photos are decoded whole and scaled up to the box.
  test::MakePhoto(dir / "small.jpg", {.width = 100, .height = 50});
  const auto thumbnail = MakeThumbnail(dir / "small.jpg", dir / "small-thumb.jpg");
  ASSERT_TRUE(thumbnail);
  EXPECT_EQ(vips::VImage::new_from_file(thumbnail->c_str()).width(), 320);
  EXPECT_EQ(vips::VImage::new_from_file(thumbnail->c_str()).height(), 160);
}

TEST(ThumbnailTest, EmptyFitLogsAndUnreadablePhotosGiveNoThumbnail) {
  test::TempDir dir;
  test::MakePhoto(dir / "line.jpg", {.width = 1000, .height = 1});
  const auto image = OpenAlbumImage(dir / "line.jpg", 0, 320, 240);
  ASSERT_TRUE(image);
  EXPECT_FALSE(FitIntoBox(MakeUprightCopy(*image), 320, 240));

  test::WriteBytes(dir / "text.jpg", "not a picture");
  EXPECT_FALSE(IsRasterImage(dir / "text.jpg"));
  EXPECT_FALSE(OpenAlbumImage(dir / "text.jpg", 0, 320, 240));
  EXPECT_TRUE(IsRasterImage(dir / "line.jpg"));

  // libvips would render these, but a drawing or a document named .jpg is no photo.
  const struct {
    const char* name;
    const char* bytes;
  } notRaster[] = {
      {"drawing.jpg", "<svg xmlns='http://www.w3.org/2000/svg' width='400' height='300'><rect width='400' "
                      "height='300' fill='red'/></svg>"},
      {"document.jpg", "%PDF-1.1\n1 0 obj<</Type/Catalog/Pages 2 0 R>>endobj\n2 0 obj<</Type/Pages/Kids[3 0 R]"
                       "/Count 1>>endobj\n3 0 obj<</Type/Page/Parent 2 0 R/MediaBox[0 0 400 300]>>endobj\n"
                       "trailer<</Root 1 0 R>>\n%EOF\n"},
  };
  for (const auto& c : notRaster) {
    test::WriteBytes(dir / c.name, c.bytes);
    ASSERT_EQ(vips::VImage::new_from_file((dir / c.name).c_str()).width(), 400) << c.name << " reads as a picture";
    EXPECT_FALSE(IsRasterImage(dir / c.name)) << c.name;
  }
}

TEST(ThumbnailTest, AnEmbeddedColourProfileIsAppliedBeforeItIsDropped) {
  test::TempDir dir;
  // Pure sRGB green, stored in Display P3 numbers with the P3 profile attached.
  const vips::VImage green = vips::VImage::black(400, 300, vips::VImage::option()->set("bands", 3))
                                 .new_from_image({0, 200, 0})
                                 .cast(VIPS_FORMAT_UCHAR)
                                 .copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
  green.icc_transform("p3", vips::VImage::option()->set("input_profile", "srgb"))
      .jpegsave((dir / "p3.jpg").c_str(), vips::VImage::option()->set("Q", 95));
  ASSERT_LT(test::PixelAt(dir / "p3.jpg", 100, 100)[1], 199);
  ASSERT_GT(test::PixelAt(dir / "p3.jpg", 100, 100)[0], 60);

  const auto thumbnail = MakeThumbnail(dir / "p3.jpg", dir / "thumb.jpg");
  ASSERT_TRUE(thumbnail);
  const auto pixel = test::PixelAt(*thumbnail, 100, 100);
  EXPECT_NEAR(pixel[0], 0, 12);
  EXPECT_NEAR(pixel[1], 200, 6);
  EXPECT_NEAR(pixel[2], 0, 16);
  EXPECT_EQ(vips::VImage::new_from_file(thumbnail->c_str()).get_typeof("icc-profile-data"), 0u);

  // A CMYK photo without a profile still gives an RGB thumbnail in its own colours.
  vips::VImage::black(400, 300, vips::VImage::option()->set("bands", 4))
      .new_from_image({0, 255, 255, 0})
      .cast(VIPS_FORMAT_UCHAR)
      .copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_CMYK))
      .jpegsave((dir / "cmyk.jpg").c_str());
  const auto cmykThumbnail = MakeThumbnail(dir / "cmyk.jpg", dir / "cmyk-thumb.jpg");
  ASSERT_TRUE(cmykThumbnail);
  EXPECT_EQ(vips::VImage::new_from_file(cmykThumbnail->c_str()).bands(), 3);
  EXPECT_TRUE(test::IsRed(test::PixelAt(*cmykThumbnail, 100, 100)));
}

Exiv2::ExifData GpsExif(const char* latitude, const char* latitudeRef, const char* longitude,
                        const char* longitudeRef) {
  Exiv2::ExifData exif;
  const auto set = [&](const char* key, const char* text) {
    if (*text) {
      Exiv2::URationalValue value;
      value.read(text);
      exif[key] = value;
    }
  };
  set("Exif.GPSInfo.GPSLatitude", latitude);
  set("Exif.GPSInfo.GPSLongitude", longitude);
  if (*latitudeRef) {
    exif["Exif.GPSInfo.GPSLatitudeRef"] = latitudeRef;
  }
  if (*longitudeRef) {
    exif["Exif.GPSInfo.GPSLongitudeRef"] = longitudeRef;
  }
  return exif;
}

TEST(ThumbnailTest, GpsPositionsFromDegreesMinutesSecondsWithTheirHemispheres) {
  const struct {
    const char *lat, *latRef, *lon, *lonRef;
    bool found;
    double latitude, longitude;
  } cases[] = {
      {"35/1 40/1 5245/100", "N", "139/1 46/1 225/100", "E", true, 35.681236, 139.767292},
      {"22/1 54/1 2448/100", "S", "43/1 10/1 2244/100", "W", true, -22.906800, -43.172900},
      {"22/1 54/1 2448/100", "", "43/1 10/1 2244/100", "", true, 22.906800, 43.172900},
      {"4294967295/1 0/1 0/1", "N", "1/2 0/1 0/1", "E", true, -1.0, 0.5},
      {"35/1 40/1 5245/100", "N", "", "", false, 0, 0},
      {"", "", "139/1 46/1 225/100", "E", false, 0, 0},
      {"35/1 40/1", "N", "139/1 46/1 225/100", "E", false, 0, 0},
      {"35/1 40/0 0/1", "N", "139/1 46/1 225/100", "E", false, 0, 0},
  };
  for (const auto& c : cases) {
    const auto position = ReadGpsPosition(GpsExif(c.lat, c.latRef, c.lon, c.lonRef));
    ASSERT_EQ(position.has_value(), c.found) << c.lat << " / " << c.lon;
    if (position) {
      EXPECT_NEAR(position->Latitude, c.latitude, 5e-7) << c.lat;
      EXPECT_NEAR(position->Longitude, c.longitude, 5e-7) << c.lon;
    }
  }
}

} // namespace
} // namespace lumicrate
