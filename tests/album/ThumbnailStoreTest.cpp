// A rebuild takes over the thumbnails of unchanged photos and makes the rest, and its album is
// byte for byte the album a build from nothing makes, however the photos changed.
#include <chrono>
#include <exiv2/exiv2.hpp>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <set>
#include <sys/stat.h>
#include <thread>

#include "AlbumFixture.h"
#include "album/BuildAlbum.h"
#include "album/ThumbnailStore_CL.h"

namespace lumicrate {
namespace {

namespace fs = std::filesystem;

class ThumbnailStoreTest : public test::AlbumTest {
protected:
  fs::path PhotoPath(const std::string& name) const { return Out() / "2015年" / name; }
  void Photo(const std::string& name, const std::string& date, int width = 400) {
    test::MakePhoto(PhotoPath(name),
                    {.width = width, .height = 300, .dateTimeOriginal = date, .red = test::Corner::TopLeft});
  }
  // Every file of the album with its bytes but the store, which names inodes and times.
  std::map<std::string, std::string> Snapshot() const {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(Album())) {
      if (entry.is_regular_file() && entry.path().filename() != ThumbnailStore_CL::kStoreFileName) {
        files[fs::relative(entry.path(), Album()).string()] = test::ReadBytes(entry.path());
      }
    }
    return files;
  }
  std::set<ino_t> ThumbnailInodes() const {
    std::set<ino_t> inodes;
    for (const auto& entry : fs::recursive_directory_iterator(Album() / "thumb")) {
      struct stat info {};
      if (entry.is_regular_file() && ::stat(entry.path().c_str(), &info) == 0) {
        inodes.insert(info.st_ino);
      }
    }
    return inodes;
  }
  // The thumbnail a month page shows for the photo of that name.
  fs::path ThumbnailOf(const std::string& monthPage, const std::string& name) const {
    const std::string page = ReadPage(monthPage);
    std::smatch match;
    const std::regex link("/" + name + "'><img class='picture_item' src='\\.\\./([^']*)'");
    return std::regex_search(page, match, link) ? Album() / match[1].str() : fs::path();
  }
  ino_t Inode(const fs::path& path) const {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
  }
};

// New pixels in the same number of bytes: every quantisation step of the JPEG doubled.
void ChangePixelsKeepingSize(const fs::path& photo) {
  std::string bytes = test::ReadBytes(photo);
  const size_t table = bytes.find("\xFF\xDB");
  ASSERT_NE(table, std::string::npos);
  for (size_t i = table + 5; i < table + 5 + 64; ++i) {
    bytes[i] = static_cast<char>(std::min(255, 2 * static_cast<unsigned char>(bytes[i])));
  }
  test::WriteBytes(photo, bytes);
}

TEST_F(ThumbnailStoreTest, ARebuildAfterPhotosWereAddedChangedTurnedAndRemovedEqualsAFullBuild) {
  for (int i = 0; i < 6; ++i) {
    Photo("kept" + std::to_string(i) + ".jpg", "2015:03:2" + std::to_string(i % 3) + " 10:00:00", 400 + 16 * i);
  }
  Photo("edited.jpg", "2015:03:20 11:00:00");
  Photo("turned.jpg", "2015:03:21 11:00:00");
  Photo("gone.jpg", "2015:03:20 09:00:00");
  // The store keeps only photos that were last changed a clock tick before the run began.
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  ASSERT_EQ(BuildAlbum(Options()), S_OK);
  const std::set<ino_t> first = ThumbnailInodes();
  const ino_t editedBefore = Inode(ThumbnailOf("2015/201503.html", "edited.jpg"));

  // Same inode, size and modification time: only the change time tells this photo changed.
  struct stat before {};
  ASSERT_EQ(::stat(PhotoPath("edited.jpg").c_str(), &before), 0);
  ChangePixelsKeepingSize(PhotoPath("edited.jpg"));
  const timespec times[2] = {before.st_atim, before.st_mtim};
  ASSERT_EQ(::utimensat(AT_FDCWD, PhotoPath("edited.jpg").c_str(), times, 0), 0);
  struct stat after {};
  ASSERT_EQ(::stat(PhotoPath("edited.jpg").c_str(), &after), 0);
  ASSERT_EQ(std::tie(after.st_ino, after.st_size, after.st_mtim.tv_sec, after.st_mtim.tv_nsec),
            std::tie(before.st_ino, before.st_size, before.st_mtim.tv_sec, before.st_mtim.tv_nsec));

  auto image = Exiv2::ImageFactory::open(PhotoPath("turned.jpg").string());
  image->readMetadata();
  Exiv2::ExifData exif = image->exifData();
  exif["Exif.Image.Orientation"] = static_cast<std::uint16_t>(6);
  image->setExifData(exif);
  image->writeMetadata();

  fs::remove(PhotoPath("gone.jpg"));
  Photo("added.jpg", "2015:03:20 08:00:00");
  test::MakePhoto(Out() / "2016年" / "new-year.jpg", {.dateTimeOriginal = "2016:01:02 10:00:00"});
  std::this_thread::sleep_for(std::chrono::milliseconds(200));

  ASSERT_EQ(BuildAlbum(Options()), S_OK);
  const auto incremental = Snapshot();
  const std::set<ino_t> second = ThumbnailInodes();
  std::set<ino_t> reused;
  std::set_intersection(first.begin(), first.end(), second.begin(), second.end(),
                        std::inserter(reused, reused.begin()));
  EXPECT_EQ(reused.size(), 6u) << "the six unchanged photos keep their thumbnails";
  EXPECT_NE(Inode(ThumbnailOf("2015/201503.html", "edited.jpg")), editedBefore);
  const vips::VImage turned = vips::VImage::new_from_file(ThumbnailOf("2015/201503.html", "turned.jpg").c_str());
  EXPECT_EQ(turned.width(), 180);

  // Nothing changed: every thumbnail is taken over, and the album stays as it was.
  ASSERT_EQ(BuildAlbum(Options()), S_OK);
  EXPECT_TRUE(Snapshot() == incremental);
  EXPECT_EQ(ThumbnailInodes().size(), 10u);
  EXPECT_EQ(ThumbnailInodes(), second);

  fs::remove_all(Album());
  ASSERT_EQ(BuildAlbum(Options()), S_OK);
  const auto full = Snapshot();
  ASSERT_EQ(full.size(), incremental.size());
  for (const auto& [name, bytes] : full) {
    EXPECT_TRUE(incremental.contains(name) && incremental.at(name) == bytes) << name << " differs from a full build";
  }
}

TEST_F(ThumbnailStoreTest, APhotoChangedWithinAClockTickOfTheRunIsNotStored) {
  // A second change within the same tick would keep its change time, so the thumbnail of a
  // photo this fresh could go stale; it is made again next time instead.
  Photo("fresh.jpg", "2015:03:21 10:00:00");
  ASSERT_EQ(BuildAlbum(Options()), S_OK);
  EXPECT_FALSE(fs::exists(Album() / ThumbnailStore_CL::kStoreFileName));

  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  ASSERT_EQ(BuildAlbum(Options()), S_OK);
  const std::string store = test::ReadBytes(Album() / ThumbnailStore_CL::kStoreFileName);
  EXPECT_EQ(std::count(store.begin(), store.end(), '\n'), 2) << store;
  EXPECT_TRUE(store.ends_with(" thumb/2015/20150321_0.jpg\n")) << store;
}

TEST_F(ThumbnailStoreTest, AStoreThatNamesFilesOutsideItsAlbumIsNotFollowed) {
  Photo("photo.jpg", "2015:03:21 10:00:00");
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  ASSERT_EQ(BuildAlbum(Options()), S_OK);
  test::WriteBytes(Out() / "private.txt", "not a thumbnail");
  const fs::path store = Album() / ThumbnailStore_CL::kStoreFileName;
  const std::string text = test::ReadBytes(store);
  const size_t path = text.rfind(" thumb/");
  ASSERT_NE(path, std::string::npos) << text;
  test::WriteBytes(store, text.substr(0, path) + " thumb/../../private.txt\n");

  ASSERT_EQ(BuildAlbum(Options()), S_OK);
  const fs::path thumbnail = Album() / "thumb" / "2015" / "20150321_0.jpg";
  EXPECT_NE(test::ReadBytes(thumbnail), "not a thumbnail");
  EXPECT_EQ(vips::VImage::new_from_file(thumbnail.c_str()).width(), 320);
}

} // namespace
} // namespace lumicrate
