// Removing the old album and copying the template: order of failures, links never followed.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "album/FolderTree.h"
#include "support/TestSupport.h"

namespace lumicrate {
namespace {

namespace fs = std::filesystem;

TEST(FolderTreeTest, GetExtensionTakesTheLastDotOfTheWholePath) {
  const struct {
    const char* path;
    const char* extension;
  } cases[] = {
      {"/out/A.JPG", ".JPG"},       {"/out/b.Jpeg", ".Jpeg"}, {"/out/archive.tar.gz", ".gz"}, {"/out/noext", ""},
      {"/out.d/noext", ".d/noext"}, {"/out/.jpg", ".jpg"},    {"/out/trailing.", "."},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GetExtension(c.path), c.extension) << c.path;
  }
}

TEST(FolderTreeTest, DeleteRemovesTheWholeTreeButNeverWhatALinkPointsTo) {
  test::TempDir dir;
  fs::create_directories(dir / "keep" / "inner");
  test::WriteBytes(dir / "keep" / "inner" / "precious.jpg", "data");
  fs::create_directories(dir / "album" / "2015" / "deep");
  test::WriteBytes(dir / "album" / "index.html", "x");
  test::WriteBytes(dir / "album" / "2015" / "deep" / "201503.html", "x");
  fs::create_directory_symlink(dir / "keep", dir / "album" / "linked-folder");
  fs::create_symlink(dir / "keep" / "inner" / "precious.jpg", dir / "album" / "linked-file.jpg");

  EXPECT_EQ(DeleteFolderTree(dir / "album"), S_OK);
  EXPECT_FALSE(fs::exists(fs::symlink_status(dir / "album")));
  EXPECT_EQ(test::ReadBytes(dir / "keep" / "inner" / "precious.jpg"), "data");

  // A link in the album's own place goes as a link; the folder it names stays whole.
  fs::create_directory_symlink(dir / "keep", dir / "album");
  EXPECT_EQ(DeleteFolderTree(dir / "album"), S_OK);
  EXPECT_FALSE(fs::exists(fs::symlink_status(dir / "album")));
  EXPECT_EQ(test::ReadBytes(dir / "keep" / "inner" / "precious.jpg"), "data");
}

TEST(FolderTreeTest, DeleteReportsTheSystemErrorOfWhatItCannotRemove) {
  test::TempDir dir;
  test::WriteBytes(dir / "file", "x");
  EXPECT_EQ(DeleteFolderTree(dir / "file"), HResultFromErrno(ENOTDIR));
  EXPECT_EQ(DeleteFolderTree(dir / "missing"), HResultFromErrno(ENOENT));
  EXPECT_EQ(HResultFromErrno(ENOENT), static_cast<HRESULT>(0x80070002));
}

TEST(FolderTreeTest, CopyOverwritesFilesAndCopiesSubfolders) {
  test::TempDir dir;
  fs::create_directories(dir / "template" / "fonts");
  test::WriteBytes(dir / "template" / "picture.html", "viewer");
  test::WriteBytes(dir / "template" / "fonts" / "a.woff2", "font");
  fs::create_directories(dir / "album");
  test::WriteBytes(dir / "album" / "picture.html", "old and longer");

  EXPECT_EQ(CopyFolderTree(dir / "template", dir / "album"), S_OK);
  EXPECT_EQ(test::ReadBytes(dir / "album" / "picture.html"), "viewer");
  EXPECT_EQ(test::ReadBytes(dir / "album" / "fonts" / "a.woff2"), "font");
}

TEST(FolderTreeTest, CopyStopsAtASubfolderThatAlreadyExists) {
  test::TempDir dir;
  fs::create_directories(dir / "template" / "thumb");
  fs::create_directories(dir / "album" / "thumb");
  EXPECT_EQ(CopyFolderTree(dir / "template", dir / "album"), HResultFromErrno(EEXIST));
  EXPECT_EQ(CopyFolderTree(dir / "missing", dir / "album"), HResultFromErrno(ENOENT));
}

} // namespace
} // namespace lumicrate
