// UTF-8 <-> UTF-16 on good and bad input: bad sequences become U+FFFD, nothing throws.
#include <gtest/gtest.h>

#include "platform/Utf.h"

namespace lumicrate {
namespace {

TEST(UtfTest, Utf8ToUtf16ReplacesEachBadSequence) {
  const struct {
    const char* name;
    std::string utf8;
    std::u16string utf16;
    bool valid;
  } cases[] = {
      {"ASCII", "IMG_0001.JPG", u"IMG_0001.JPG", true},
      {"Japanese", "写真", u"写真", true},
      {"outside the BMP", "😀", u"\xD83D\xDE00", true},
      {"U+FFFD itself", "\xEF\xBF\xBD", u"\xFFFD", true},
      {"NUL", std::string("a\0b", 3), std::u16string(u"a\0b", 3), true},
      {"lone continuation", "a\x80z", u"a\xFFFDz", false},
      {"cut sequence", "a\xE5\x86", u"a\xFFFD\xFFFD", false},
      {"overlong slash", "\xC0\xAF", u"\xFFFD\xFFFD", false},
      {"encoded surrogate", "\xED\xA0\x80", u"\xFFFD\xFFFD\xFFFD", false},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD", false},
      {"invalid lead", "\xFF", u"\xFFFD", false},
      {"Shift_JIS", "\x8e\xca\x90\x5e", u"\xFFFD\x0290^", false}, // CA 90 happens to be UTF-8
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16) << c.name;
    EXPECT_EQ(IsValidUtf8(c.utf8), c.valid) << c.name;
    if (c.valid) {
      EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8) << c.name;
    }
  }
}

TEST(UtfTest, Utf16ToUtf8ReplacesUnpairedSurrogates) {
  EXPECT_EQ(Utf16ToUtf8(u"a\xD83Dz"), "a\xEF\xBF\xBDz");
  EXPECT_EQ(Utf16ToUtf8(u"\xDE00\xD83D"), "\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_EQ(Utf16ToUtf8(u"x\xD83D"), "x\xEF\xBF\xBD");
}

TEST(UtfTest, CutNeverSplitsASurrogatePair) {
  EXPECT_EQ(CutUtf16(u"abc", 5), u"abc");
  EXPECT_EQ(CutUtf16(u"abc", 2), u"ab");
  EXPECT_EQ(CutUtf16(u"a\xD83D\xDE00", 2), u"a");
  EXPECT_EQ(CutUtf16(u"a\xD83D\xDE00", 3), u"a\xD83D\xDE00");
  EXPECT_EQ(CutUtf16(u"abc", 0), u"");
}

} // namespace
} // namespace lumicrate
