// The bytes every album page shares, the CR LF file writer and the zone mark of the viewer page.
#include <cerrno>
#include <gtest/gtest.h>
#include <sys/xattr.h>

#include "AlbumFixture.h"
#include "album/PageWriter.h"
#include "support/TestSupport.h"

namespace lumicrate {
namespace {

TEST(PageWriterTest, EmptyPageIsACompleteDocumentInUtf8WithCrLf) {
  test::TempDir dir;
  AlbumOptions options;
  options.Heading = "<h1>写真一覧</h1>";
  std::string page;
  WritePageHeader(options, page, "写真一覧", ".");
  WritePageFooter(page);
  ASSERT_TRUE(WriteTextFile(dir / "index.html", WideToUtf8(page)));
  EXPECT_EQ(test::ReadBytes(dir / "index.html"), test::kEmptyIndexPage);
}

TEST(PageWriterTest, MonthPagesLinkTheStyleSheetOneFolderUp) {
  const AlbumOptions options;
  std::string page;
  WritePageHeader(options, page, "写真一覧 - 2015年01月", "..");
  EXPECT_NE(page.find("<title>写真一覧 - 2015年01月</title>\n<link href=\"../make_photo_album.css\""),
            std::string::npos);
}

TEST(PageWriterTest, WriteTextFileStoresEveryLineFeedAsCrLfAndTruncates) {
  test::TempDir dir;
  test::WriteBytes(dir / "page.html", std::string(100, 'x'));
  ASSERT_TRUE(WriteTextFile(dir / "page.html", "a\nb\r\n\n"));
  EXPECT_EQ(test::ReadBytes(dir / "page.html"), "a\r\nb\r\r\n\r\n");
  EXPECT_FALSE(WriteTextFile(dir / "missing" / "page.html", "a"));
}

TEST(PageWriterTest, WideToUtf8KeepsValidTextAndMendsStrayBytes) {
  EXPECT_EQ(WideToUtf8("写真一覧 abc"), "写真一覧 abc");
  EXPECT_EQ(WideToUtf8("a\xff"
                       "b"),
            "a\xEF\xBF\xBD"
            "b");
}

TEST(PageWriterTest, MarkLocalZoneWritesTheTwentySixBytesAndLeavesTheContent) {
  test::TempDir dir;
  const auto page = dir / "picture.html";
  test::WriteBytes(page, "<p>viewer</p>");
  if (::setxattr(page.c_str(), "user.probe", "x", 1, 0) != 0) {
    GTEST_SKIP() << "this file system keeps no user extended attributes (errno " << errno << ")";
  }
  MarkLocalZone(page, 0);
  char value[64] = {};
  const ssize_t size = ::getxattr(page.c_str(), kZoneAttribute, value, sizeof value);
  ASSERT_EQ(size, 26);
  EXPECT_EQ(std::string(value, 26), "[ZoneTransfer]\r\nZoneId=0\r\n");
  EXPECT_EQ(test::ReadBytes(page), "<p>viewer</p>");

  // As with the Windows stream, marking a missing file creates it empty.
  MarkLocalZone(dir / "new.html", 3);
  EXPECT_TRUE(std::filesystem::exists(dir / "new.html"));
  EXPECT_EQ(std::filesystem::file_size(dir / "new.html"), 0u);
  EXPECT_EQ(::getxattr((dir / "new.html").c_str(), kZoneAttribute, value, sizeof value), 26);
}

} // namespace
} // namespace lumicrate
