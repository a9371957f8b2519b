// The version file's byte layout, which page addresses may ever be handed to the desktop, and
// how rejected ones appear in the log.
#include <gtest/gtest.h>

#include "update/LoopbackServer.h"
#include "update/VersionFile.h"

namespace lumicrate {
namespace {

TEST(VersionFileTest, ReadsVersionAndAddressByTheirOffsets) {
  struct Case {
    std::string body;
    std::u16string version;
    std::u16string address;
  };
  const Case cases[] = {
      {test::Bytes("1.0.0\0\0\r\nhttp://lumicrate.example/dl\r\n"), u"1.0.0", u"http://lumicrate.example/dl"},
      {"1.0.1.0\r\nhttps://lumicrate.example/\r\n", u"1.0.1.0", u"https://lumicrate.example/"},
      {test::Bytes("1.0.10\0\r\nhttp://a/\r\n"), u"1.0.10", u"http://a/"},
      // Only seven bytes are the version, and the two after them are never looked at.
      {"1.0.0.10XXhttp://a/\r\n", u"1.0.0.1", u"Xhttp://a/"},
      // An address ends at a zero byte.
      {test::Bytes("1.0.1.0\r\nhttp://a/\0file:///etc\r\n"), u"1.0.1.0", u"http://a/"},
      // An HTML page, such as a server's error page, is no version file.
      {"<!DOCTYPE html><title>500</title>\r\n", u"0.0.0.0", u" html><title>500</title>"},
      // Short bodies leave no room for an address.
      {"1.0.1", u"1.0.1", u""},
      {"1.0.1.0\r\n\r\n", u"1.0.1.0", u""},
      {"1.0.1.0\r\nh\r\n", u"1.0.1.0", u"h"},
      {"", u"", u""},
      // One byte, one code unit: no code page is applied.
      {test::Bytes("1.0.\xE9\0\0\r\nhttp://a/\xE9\r\n"), u"1.0.\u00E9", u"http://a/\u00E9"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.body);
    const VersionFile file = VersionFile::Parse(c.body);
    EXPECT_EQ(file.latestVersion, c.version);
    EXPECT_EQ(file.pageAddress, c.address);
  }
}

TEST(VersionFileTest, OnlyPlainWebAddressesMayBeOpened) {
  for (const char16_t* address : {u"http://lumicrate.example/download", u"https://lumicrate.example/dl?v=1.0.1 beta",
                                  u"http://a", u"http://a/\u00E9"}) {
    EXPECT_TRUE(IsOpenablePageAddress(address)) << LoggableAddress(address);
  }
  for (const char16_t* address :
       {u"", u"http://", u"https://", u"file:///etc/passwd", u"/usr/bin/xterm", u"xterm -e sh", u"javascript:alert(1)",
        u"ftp://lumicrate.example/", u" http://a/", u"HTTP://A/", u"http:/a", u"http://a/\tb",
        u"http://a/\r\nfile:///x", u"http://a/\u007F", u"http://a/\u0085"}) {
    EXPECT_FALSE(IsOpenablePageAddress(address)) << LoggableAddress(address);
  }
}

TEST(VersionFileTest, AddressesGoIntoTheLogOnOneLine) {
  EXPECT_EQ(LoggableAddress(u"file:///x\r\n2026/01/01 : forged"), "file:///x\\x0D\\x0A2026/01/01 : forged");
  EXPECT_EQ(LoggableAddress(u"http://a/\u00E9\u0085"), "http://a/\u00E9\\x85");
}

} // namespace
} // namespace lumicrate
