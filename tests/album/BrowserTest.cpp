// The album as a user sees it: a real headless Chromium opens the pages from file://, follows
// the start page to every month, loads every thumbnail, and opens each photo in the viewer,
// whatever its name, with its place on the map. Skipped where Chromium is not installed.
#include <gtest/gtest.h>
#include <set>

#include "AlbumFixture.h"
#include "WebDriver.h"
#include "album/BuildAlbum.h"

namespace lumicrate {
namespace {

namespace fs = std::filesystem;

class BrowserTest : public test::AlbumTest {
protected:
  void SetUp() override {
    test::AlbumTest::SetUp();
    std::string why;
    browser_ = test::WebDriver::Start(why);
    if (!browser_) {
      GTEST_SKIP() << "no browser for the album pages: " << why;
    }
  }
  test::WebDriver& Browser() { return *browser_; }
  // Lines of the script's string result.
  std::vector<std::string> Lines(const std::string& script) {
    std::vector<std::string> lines;
    const std::string text = Browser().Evaluate(script);
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
      lines.push_back(text.substr(start, end - start));
    }
    lines.push_back(text.substr(start));
    return lines;
  }

private:
  std::unique_ptr<test::WebDriver> browser_;
};

const char* kEveryImageLoaded = R"(
  const images = Array.from(document.images);
  return images.length + ' ' + images.filter(i => i.complete && i.naturalWidth > 0).length;)";

TEST_F(BrowserTest, StartPageReachesEveryMonthAndTheViewerOpensEveryPhoto) {
  const std::vector<std::string> names = {"blank name.jpg", "hash#1.jpg",       "a&b+c%41.jpg",
                                          "it's.jpg",       "日本語の写真.jpg", "<i>tag.jpg"};
  for (size_t i = 0; i < names.size(); ++i) {
    test::MakePhoto(
        Out() / "2015年" / names[i],
        {.width = 640, .height = 480, .dateTimeOriginal = "2015:03:0" + std::to_string(i + 1) + " 10:00:00"});
  }
  test::MakePhoto(Out() / "2015年" / "south west.jpg", {.width = 640,
                                                        .height = 480,
                                                        .dateTimeOriginal = "2015:07:14 10:00:00",
                                                        .latitude = "22/1 54/1 2448/100",
                                                        .latitudeRef = "S",
                                                        .longitude = "43/1 10/1 2244/100",
                                                        .longitudeRef = "W"});
  test::MakePhoto(Out() / "2016年" / "portrait.jpg",
                  {.width = 640, .height = 480, .dateTimeOriginal = "2016:01:02 10:00:00", .orientation = 6});
  ASSERT_EQ(BuildAlbum(Options()), S_OK);

  ASSERT_TRUE(Browser().Navigate(test::WebDriver::FileUrl(Album() / "index.html")));
  const auto months =
      Lines("return Array.from(document.querySelectorAll('.month_list a')).map(a => a.href).join('\\n');");
  const std::string root = test::WebDriver::FileUrl(Album());
  ASSERT_EQ(months, (std::vector<std::string>{root + "/2015/201503.html", root + "/2015/201507.html",
                                              root + "/2016/201601.html"}));
  EXPECT_EQ(Browser().Evaluate("return String(document.querySelectorAll('.month_item').length);"), "24");

  std::set<std::string> opened;
  for (const std::string& month : months) {
    ASSERT_TRUE(Browser().Navigate(month)) << month;
    const auto photos =
        Lines("return Array.from(document.querySelectorAll('.photo_list a')).map(a => a.href).join('\\n');");
    const std::string count = std::to_string(photos.size());
    EXPECT_EQ(Browser().Evaluate(kEveryImageLoaded), count + " " + count) << month;
    for (const std::string& photo : photos) {
      ASSERT_TRUE(Browser().Navigate(photo)) << photo;
      const auto shown = Lines(R"(
        const p = document.getElementById('photo');
        return [document.getElementById('name').textContent,
                p.hidden ? 'hidden' : p.complete && p.naturalWidth > 0 ? 'loaded' : 'broken',
                p.naturalWidth < p.naturalHeight ? 'portrait' : 'landscape',
                document.getElementById('place').hidden ? 'no place' : document.getElementById('coordinates').textContent,
                document.getElementById('place').hidden ? '' : document.getElementById('maplink').href].join('\n');)");
      ASSERT_EQ(shown.size(), 5u) << photo;
      EXPECT_EQ(shown[1], "loaded") << shown[0];
      opened.insert(shown[0]);
      if (shown[0] == "portrait.jpg") {
        EXPECT_EQ(shown[2], "portrait") << "the viewer shows a sideways-stored photo upright";
      }
      if (shown[0] == "south west.jpg") {
        EXPECT_EQ(shown[3], "南緯 22.906800°　西経 43.172900°");
        EXPECT_EQ(shown[4], "https://www.openstreetmap.org/?mlat=-22.9068&mlon=-43.1729#map=16/-22.9068/-43.1729");
      } else {
        EXPECT_EQ(shown[3], "no place") << shown[0];
      }
    }
  }
  std::set<std::string> expected(names.begin(), names.end());
  expected.insert({"south west.jpg", "portrait.jpg"});
  EXPECT_EQ(opened, expected);
}

TEST_F(BrowserTest, PhotosWhoseNamesAreNotUtf8OpenInTheViewer) {
  // Latin-1, Shift_JIS and stray bytes, as old cameras and Windows shares write names.
  const std::vector<std::string> names = {"caf\xE9.jpg", "\x8E\xCA\x90\x5E.jpg", "\x80\xFF name.jpg"};
  for (size_t i = 0; i < names.size(); ++i) {
    test::MakePhoto(
        Out() / "2015年" / names[i],
        {.width = 640, .height = 480, .dateTimeOriginal = "2015:03:0" + std::to_string(i + 1) + " 10:00:00"});
  }
  ASSERT_EQ(BuildAlbum(Options()), S_OK);

  ASSERT_TRUE(Browser().Navigate(test::WebDriver::FileUrl(Album() / "2015" / "201503.html")));
  EXPECT_EQ(Browser().Evaluate(kEveryImageLoaded), "3 3");
  const auto photos =
      Lines("return Array.from(document.querySelectorAll('.photo_list a')).map(a => a.href).join('\\n');");
  ASSERT_EQ(photos.size(), names.size());
  for (const std::string& photo : photos) {
    ASSERT_TRUE(Browser().Navigate(photo)) << photo;
    EXPECT_EQ(Browser().Evaluate(R"(
      const p = document.getElementById('photo');
      return p.hidden ? 'hidden' : p.complete && p.naturalWidth > 0 ? 'loaded' : 'broken';)"),
              "loaded")
        << photo;
  }
  // The name shows what is UTF-8 in it as it is.
  ASSERT_TRUE(Browser().Navigate(photos[0]));
  EXPECT_EQ(Browser().Evaluate("return document.getElementById('name').textContent;"), "caf\uFFFD.jpg");
}

TEST_F(BrowserTest, ViewerTreatsAnyQueryAsAFileNameAndDegradesToThePlainPhoto) {
  fs::create_directories(Album());
  fs::copy_file(fs::path(LUMICRATE_SOURCE_DIR) / "Template" / "0001" / "picture.html", Album() / "picture.html");
  test::MakePhoto(Out() / "photo.jpg", {.width = 320, .height = 240});
  const std::string viewer = test::WebDriver::FileUrl(Album() / "picture.html");
  const char* state = R"(
    const p = document.getElementById('photo');
    return [document.title, document.images.length, p.getAttribute('src'),
            document.getElementById('place').hidden, document.getElementById('message').textContent].join('|');)";

  // Markup in the value is shown as text and a scheme stays part of a file name.
  ASSERT_TRUE(Browser().Navigate(viewer + "?img=..%2F%3Cimg%20src%3Dx%20onerror%3D%22document.title%3D1%22%3E"));
  EXPECT_EQ(Browser().Evaluate(state), "<img src=x onerror=\"document.title=1\"> - "
                                       "写真一覧|1|../%3Cimg%20src%3Dx%20onerror%3D%22document.title%3D1%22%3E|"
                                       "true|写真を開けませんでした: <img src=x onerror=\"document.title=1\">");
  ASSERT_TRUE(Browser().Navigate(viewer + "?img=javascript:document.title=1"));
  EXPECT_EQ(Browser().Evaluate("return document.getElementById('photo').getAttribute('src');"),
            "javascript%3Adocument.title%3D1");
  // Nor does a leading "//" turn the value into another server's address.
  ASSERT_TRUE(Browser().Navigate(viewer + "?img=//elsewhere.example/x.jpg"));
  EXPECT_EQ(Browser().Evaluate("return [new URL(document.getElementById('photo').src).host,"
                               "new URL(document.getElementById('original').href).host].join('|');"),
            "|");

  // A position that is not a number, or no position at all, leaves the photo alone on the page.
  ASSERT_TRUE(Browser().Navigate(viewer + "?img=../photo.jpg&map=1&lat=35.6&lon=%3Cb%3E"));
  EXPECT_EQ(Browser().Evaluate(state), "photo.jpg - 写真一覧|1|../photo.jpg|true|");
  ASSERT_TRUE(Browser().Navigate(viewer));
  EXPECT_EQ(Browser().Evaluate(state), "写真一覧|1||true|表示する写真が指定されていません。");
}

} // namespace
} // namespace lumicrate
