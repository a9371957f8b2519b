// Whole album runs over real JPEGs in a scratch output folder: what is collected, the pages
// and their order, thumbnail names, links, progress, and a parallel run against a serial one.
#include <atomic>
#include <chrono>
#include <ctime>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <sys/stat.h>
#include <thread>

#include "AlbumFixture.h"
#include "album/AlbumCatalog.h"
#include "album/BuildAlbum.h"
#include "album/ThumbnailStore_CL.h"
#include "platform/FileLock.h"
#include "platform/ProgramFiles.h"

namespace lumicrate {
namespace {

namespace fs = std::filesystem;

const std::string kHeaderEnd = "<div class=\"main_frame\">\r\n";
const std::string kFooterStart = "</div>\r\n<div class=\"footer\">";

// The part of a page between its header and its footer.
std::string Body(const std::string& page) {
  const size_t start = page.find(kHeaderEnd);
  const size_t end = page.find(kFooterStart);
  if (start == std::string::npos || end == std::string::npos) {
    return "(not a page) " + page;
  }
  return page.substr(start + kHeaderEnd.size(), end - start - kHeaderEnd.size());
}

std::vector<std::string> Hrefs(const std::string& page) {
  std::vector<std::string> hrefs;
  static const std::regex kHref("<a href='([^']*)'>");
  for (auto it = std::sregex_iterator(page.begin(), page.end(), kHref); it != std::sregex_iterator(); ++it) {
    hrefs.push_back((*it)[1]);
  }
  return hrefs;
}

// Every file below the album folder with its bytes, by relative path: pages, thumbnails and
// the template. The store of thumbnails names inodes and times, which differ from run to run.
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.path().filename() != ThumbnailStore_CL::kStoreFileName) {
      files[fs::relative(entry.path(), folder).string()] =
          entry.is_regular_file() ? test::ReadBytes(entry.path()) : "/";
    }
  }
  return files;
}

void SetLocalModificationTime(const fs::path& path, int year, int month, int day) {
  const std::time_t noon = test::LocalNoon(year, month, day);
  const timespec times[2] = {{noon, 0}, {noon, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

class AlbumBuildTest : public test::AlbumTest {
protected:
  void Photo(const std::string& relative, const std::string& date, test::PhotoOptions photo = {}) {
    photo.dateTimeOriginal = date;
    test::MakePhoto(Out() / relative, photo);
  }
  std::string LogText() const { return test::ReadUtf16File(DataFolder() / "log.txt"); }
};

TEST_F(AlbumBuildTest, OutputFolderWithoutPhotosGetsTemplateEmptyThumbFolderAndEmptyStartPage) {
  test::WriteBytes(Out() / "notes.txt", "no photos here");
  ASSERT_EQ(BuildAlbum(Options()), S_OK);

  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(Album())) {
    names.push_back(entry.path().filename());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"index.html", "make_photo_album.css", "picture.html", "thumb"}));
  EXPECT_TRUE(fs::is_empty(Album() / "thumb"));
  const fs::path source = fs::path(LUMICRATE_SOURCE_DIR) / "Template" / "0001";
  EXPECT_EQ(ReadPage("picture.html"), test::ReadBytes(source / "picture.html"));
  EXPECT_EQ(ReadPage("make_photo_album.css"), test::ReadBytes(source / "make_photo_album.css"));
  EXPECT_EQ(ReadPage("index.html"), test::kEmptyIndexPage);
  EXPECT_NE(LogText().find(" : 写真の枚数         = 0\r\n"), std::string::npos) << LogText();
}

TEST_F(AlbumBuildTest, CollectsJpegNamesInAnyCaseAndEntersFoldersButNotLinks) {
  for (const char* name : {"A.JPG", "b.Jpeg", "c.jpe", "d.jfif", "e.png", "x.jpg/f.jpg", "x.jpg/deeper/g.jpeg"}) {
    Photo(name, "2015:03:21 10:00:00");
  }
  test::WriteBytes(Out() / "text.jpg", "a note, not a picture");
  test::TempDir elsewhere;
  test::MakePhoto(elsewhere / "outside.jpg", {.dateTimeOriginal = "2015:03:21 10:00:00"});
  fs::create_directory_symlink(elsewhere.Path(), Out() / "linked-folder");
  fs::create_symlink(Out() / "A.JPG", Out() / "linked-file.jpg");

  AlbumCatalog catalog;
  catalog.CollectFolder(Out());
  std::vector<std::string> found;
  for (const AlbumPhoto& photo : catalog.Years().at(0).Months[2].Days[20].Photos) {
    found.push_back(photo.Path.lexically_relative(Out()));
  }
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found,
            (std::vector<std::string>{"A.JPG", "b.Jpeg", "linked-file.jpg", "x.jpg/deeper/g.jpeg", "x.jpg/f.jpg"}));
  EXPECT_EQ(catalog.CountPhotos(), 5);
}

TEST_F(AlbumBuildTest, YearsAscendWhateverTheOrderFoundAndEmptyMonthsAreNotLinked) {
  Photo("late.jpg", "2016:05:02 08:00:00");
  Photo("early.jpg", "2014:03:09 08:00:00");
  AlbumCatalog catalog;
  catalog.AddPhoto(Out() / "late.jpg");
  catalog.AddPhoto(Out() / "early.jpg");
  ASSERT_EQ(catalog.Years().size(), 2u);
  EXPECT_EQ(catalog.Years()[0].Year, 2016);
  catalog.SortYears();
  catalog.Generate(Options());

  std::string expected;
  for (const auto& [year, linked] : {std::pair{2014, 3}, std::pair{2016, 5}}) {
    expected += "<div class='month_list'>\r\n<div class='year_item'>" + std::to_string(year) + "年</div>\r\n";
    for (int m = 1; m <= 12; ++m) {
      const std::string item = "<div class='month_item'>" + std::to_string(m) + "月<br/>";
      expected += m == linked ? "<a href='./" + std::to_string(year) + "/" + std::to_string(year) + "0" +
                                    std::to_string(m) + ".html'>" + item + "(1)</div></a>\r\n"
                              : item + "&nbsp;</div>\r\n";
    }
    expected += "</div>\r\n";
  }
  EXPECT_EQ(Body(ReadPage("index.html")), expected);
  EXPECT_EQ(ReadPage("2014/201403.html").substr(0, 15), "<!DOCTYPE html>");
  EXPECT_NE(ReadPage("2014/201403.html").find("<title>写真一覧 - 2014年03月</title>"), std::string::npos);
  std::vector<std::string> pages;
  for (const auto& entry : fs::recursive_directory_iterator(Album())) {
    if (entry.path().extension() == ".html" && entry.path().filename() != "picture.html") {
      pages.push_back(fs::relative(entry.path(), Album()));
    }
  }
  std::sort(pages.begin(), pages.end());
  EXPECT_EQ(pages, (std::vector<std::string>{"2014/201403.html", "2016/201605.html", "index.html"}));
}

TEST_F(AlbumBuildTest, PhotosOfADayAreNumberedInTheOrderFoundAndEachDayStartsAtZero) {
  Photo("z-first.jpg", "2015:03:21 18:00:00");
  Photo("a-second.jpg", "2015:03:21 07:00:00");
  Photo("m-third.jpg", "2015:03:21 12:00:00");
  Photo("next-day.jpg", "2015:03:22 09:00:00");
  AlbumCatalog catalog;
  for (const char* name : {"z-first.jpg", "a-second.jpg", "m-third.jpg", "next-day.jpg"}) {
    catalog.AddPhoto(Out() / name);
  }
  catalog.Generate(Options());

  EXPECT_EQ(Body(ReadPage("2015/201503.html")),
            "<div class='photo_list'>\r\n<div class='year_item'>2015年03月21日</div>\r\n"
            "<a href='../picture.html?img=../z-first.jpg'><img class='picture_item' "
            "src='../thumb/2015/20150321_0.jpg' /></a>\r\n"
            "<a href='../picture.html?img=../a-second.jpg'><img class='picture_item' "
            "src='../thumb/2015/20150321_1.jpg' /></a>\r\n"
            "<a href='../picture.html?img=../m-third.jpg'><img class='picture_item' "
            "src='../thumb/2015/20150321_2.jpg' /></a>\r\n"
            "</div>\r\n"
            "<div class='photo_list'>\r\n<div class='year_item'>2015年03月22日</div>\r\n"
            "<a href='../picture.html?img=../next-day.jpg'><img class='picture_item' "
            "src='../thumb/2015/20150322_0.jpg' /></a>\r\n"
            "</div>\r\n");
  for (const char* name : {"20150321_0.jpg", "20150321_1.jpg", "20150321_2.jpg", "20150322_0.jpg"}) {
    EXPECT_TRUE(fs::is_regular_file(Album() / "thumb" / "2015" / name)) << name;
  }
}

TEST_F(AlbumBuildTest, LinksCarryThePositionSignedByHemisphereAndNothingWithoutExif) {
  Photo("tokyo.jpg", "2015:03:21 10:00:00",
        {.latitude = "35/1 40/1 5245/100", .latitudeRef = "N", .longitude = "139/1 46/1 225/100", .longitudeRef = "E"});
  Photo("rio.jpg", "2015:03:22 11:00:00",
        {.latitude = "22/1 54/1 2448/100", .latitudeRef = "S", .longitude = "43/1 10/1 2244/100", .longitudeRef = "W"});
  test::MakePhoto(Out() / "plain" / "no-exif.jpg", {.width = 400, .height = 300, .red = test::Corner::TopLeft});
  SetLocalModificationTime(Out() / "plain" / "no-exif.jpg", 2014, 7, 8);
  ASSERT_EQ(BuildAlbum(Options()), S_OK);

  EXPECT_EQ(Hrefs(Body(ReadPage("2015/201503.html"))),
            (std::vector<std::string>{"../picture.html?img=../tokyo.jpg&map=1&lat=35.681236&lon=139.767292",
                                      "../picture.html?img=../rio.jpg&map=1&lat=-22.906800&lon=-43.172900"}));

  // No EXIF at all: filed by its modification time, linked without a position, drawn as stored.
  EXPECT_EQ(Hrefs(Body(ReadPage("2014/201407.html"))),
            std::vector<std::string>{"../picture.html?img=../plain/no-exif.jpg"});
  const fs::path thumb = Album() / "thumb" / "2014" / "20140708_0.jpg";
  EXPECT_EQ(vips::VImage::new_from_file(thumb.c_str()).width(), 320);
  EXPECT_TRUE(test::IsRed(test::PixelAt(thumb, 5, 5)));
}

TEST_F(AlbumBuildTest, AnyFileNameReachesTheViewerWithoutBreakingThePage) {
  const std::string name = "it's \"x\" <b> #1 & 50%+ 写真\\.jpg";
  Photo("2015年/03月/" + name, "2015:03:21 10:00:00");
  ASSERT_EQ(BuildAlbum(Options()), S_OK);
  const std::string page = ReadPage("2015/201503.html");
  EXPECT_EQ(Hrefs(Body(page)), std::vector<std::string>{"../picture.html?img=../2015%E5%B9%B4/03%E6%9C%88/"
                                                        "it%27s%20%22x%22%20%3Cb%3E%20%231%20%26%2050%25%2B%20"
                                                        "%E5%86%99%E7%9C%9F%5C.jpg"});
  EXPECT_EQ(page.find("<b>"), std::string::npos);
}

TEST_F(AlbumBuildTest, ThirtyFirstOfFebruaryKeepsItsDayInHeadingAndName) {
  Photo("leap.jpg", "2015:02:31 10:00:00");
  ASSERT_EQ(BuildAlbum(Options()), S_OK);
  EXPECT_NE(ReadPage("2015/201502.html").find("<div class='year_item'>2015年02月31日</div>"), std::string::npos);
  EXPECT_TRUE(fs::is_regular_file(Album() / "thumb" / "2015" / "20150231_0.jpg"));
  EXPECT_NE(ReadPage("index.html").find("<div class='month_item'>2月<br/>(1)</div>"), std::string::npos);
}

TEST_F(AlbumBuildTest, SecondRunLeavesNoStalePageOrThumbnail) {
  Photo("keep.jpg", "2015:03:21 10:00:00");
  Photo("gone.jpg", "2016:05:02 10:00:00");
  ASSERT_EQ(BuildAlbum(Options()), S_OK);
  ASSERT_TRUE(fs::exists(Album() / "2016" / "201605.html"));
  test::WriteBytes(Album() / "stray.txt", "left by hand");

  fs::remove(Out() / "gone.jpg");
  ASSERT_EQ(BuildAlbum(Options()), S_OK);
  EXPECT_FALSE(fs::exists(Album() / "2016"));
  EXPECT_FALSE(fs::exists(Album() / "thumb" / "2016"));
  EXPECT_FALSE(fs::exists(Album() / "stray.txt"));
  EXPECT_TRUE(fs::exists(Album() / "thumb" / "2015" / "20150321_0.jpg"));
  EXPECT_EQ(ReadPage("index.html").find("2016"), std::string::npos);
}

TEST_F(AlbumBuildTest, ParallelRunMakesTheSameFilesAndProgressAsASerialOne) {
  int n = 0;
  for (const char* date : {"2015:03:21 10:00:00", "2015:03:21 11:00:00", "2015:03:22 10:00:00", "2015:07:01 10:00:00",
                           "2016:01:05 10:00:00", "2014:12:31 23:59:59"}) {
    for (int copy = 0; copy < 2; ++copy) {
      Photo("p" + std::to_string(n++) + ".jpg", date, {.width = 400 + n * 16, .height = 300});
    }
  }
  Photo("portrait.jpg", "2015:03:21 12:00:00",
        {.width = 4000, .height = 3000, .orientation = 6, .red = test::Corner::BottomLeft});

  const auto run = [&](int threads) {
    fs::remove_all(Album()); // each run makes every thumbnail itself
    test::RecordingProgress progress;
    AlbumOptions options = Options(&progress);
    options.ThumbnailThreads = threads;
    EXPECT_EQ(BuildAlbum(options), S_OK);
    EXPECT_EQ(progress.GetPosition(), 13);
    EXPECT_EQ(progress.GetTotal(), 13);
    return std::pair{Snapshot(Album()), progress.texts};
  };
  const auto [serialFiles, serialTexts] = run(1);
  const auto [parallelFiles, parallelTexts] = run(4);
  EXPECT_TRUE(serialFiles == parallelFiles);
  EXPECT_EQ(serialTexts, parallelTexts);
  ASSERT_EQ(serialTexts.size(), 15u);
  EXPECT_EQ(serialTexts.front(), "写真一覧の生成中");
  EXPECT_EQ(serialTexts[2], "写真一覧の生成中( 1 / 13 )");
  EXPECT_EQ(serialTexts.back(), "写真一覧の生成中( 13 / 13 )");

  // The portrait stored sideways stands upright in its thumbnail.
  const std::string page = ReadPage("2015/201503.html");
  const size_t link = page.find("img=../portrait.jpg'><img class='picture_item' src='../thumb/2015/");
  ASSERT_NE(link, std::string::npos);
  const std::string thumbName = page.substr(link + 66, page.find('\'', link + 66) - link - 66);
  const fs::path thumb = Album() / "thumb" / "2015" / thumbName;
  const vips::VImage image = vips::VImage::new_from_file(thumb.c_str());
  EXPECT_EQ(image.width(), 180);
  EXPECT_EQ(image.height(), 240);
  EXPECT_TRUE(test::IsRed(test::PixelAt(thumb, 5, 5)));
}

TEST_F(AlbumBuildTest, AlbumThatCannotBeRemovedStopsTheRunWithItsError) {
  Photo("photo.jpg", "2015:03:21 10:00:00");
  test::WriteBytes(Album(), "a file where the album folder belongs");
  EXPECT_EQ(BuildAlbum(Options()), static_cast<HRESULT>(0x8007010B)); // ERROR_DIRECTORY, from ENOTDIR
  EXPECT_EQ(test::ReadBytes(Album()), "a file where the album folder belongs");
  EXPECT_NE(LogText().find(" : PhotoAlbumフォルダの削除に失敗しました。\r\n"), std::string::npos);
  EXPECT_EQ(LogText().find("写真の枚数"), std::string::npos);
}

TEST_F(AlbumBuildTest, AStartPageThatCannotBeWrittenIsReportedNotPassedOffAsDone) {
  AlbumOptions options = Options();
  options.OutputFolder = Out() / "a-file";
  options.AlbumFolder = options.OutputFolder / "PhotoAlbum";
  test::WriteBytes(options.OutputFolder, "not a folder");
  EXPECT_EQ(BuildAlbum(options), HResultFromErrno(ENOTDIR));
  EXPECT_NE(LogText().find(" : 写真一覧の書き込みに失敗しました。 = " + (options.AlbumFolder / "index.html").string()),
            std::string::npos)
      << LogText();
}

TEST_F(AlbumBuildTest, MissingTemplateFailsTheRunAndKeepsTheOldAlbum) {
  Photo("photo.jpg", "2015:03:21 10:00:00");
  fs::create_directories(Album());
  test::WriteBytes(Album() / "index.html", "the album of an earlier run");
  const test::TempDir templates;
  test::WriteBytes(templates / "picture.html", "<html></html>");
  const struct {
    const char* name;
    fs::path folder, missing;
  } cases[] = {
      {"no folder", templates / "none", templates / "none" / "picture.html"},
      {"no style sheet", templates.Path(), templates / "make_photo_album.css"},
  };
  for (const auto& c : cases) {
    AlbumOptions options = Options();
    options.TemplateFolder = c.folder;
    EXPECT_EQ(MissingTemplateFile(options), c.missing) << c.name;
    EXPECT_EQ(BuildAlbum(options), HResultFromErrno(ENOENT)) << c.name;
    EXPECT_NE(LogText().find(" : 写真一覧のテンプレートがありません。 = " + c.missing.string() + "\r\n"),
              std::string::npos)
        << c.name << "\n"
        << LogText();
    EXPECT_EQ(test::ReadBytes(Album() / "index.html"), "the album of an earlier run") << c.name;
  }
  EXPECT_EQ(MissingTemplateFile(Options()), fs::path());
}

TEST_F(AlbumBuildTest, ASecondRunOverTheSameFolderWaitsForTheFirst) {
  test::MakePhoto(Out() / "2015年/03月/21日/a.jpg", {.dateTimeOriginal = "2015:03:21 10:00:00"});
  FileLock held;
  ASSERT_EQ(held.Acquire(Out() / kAlbumLockFileName, FileLock::Mode::Wait), S_OK);

  std::atomic<bool> done = false;
  std::thread run([&] {
    EXPECT_EQ(BuildAlbum(Options()), S_OK);
    done = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_FALSE(done) << "the run must wait while another holds the album lock";
  EXPECT_FALSE(fs::exists(Album() / "index.html"));
  held.Release();
  run.join();
  EXPECT_TRUE(fs::exists(Album() / "index.html"));
}

TEST(AlbumOptionsTest, RunOptionsNameTheAlbumBelowTheOutputAndTheTemplateBesideTheProgram) {
  const AlbumOptions options = MakeAlbumOptions(nullptr, "/data/photos/");
  EXPECT_EQ(options.OutputFolder, "/data/photos");
  EXPECT_EQ(options.AlbumFolder, "/data/photos/PhotoAlbum");
  EXPECT_EQ(options.TemplateFolder, ProgramDataPath("Template/0001"));
  EXPECT_EQ(options.ProgressText, "写真一覧の生成中");
  EXPECT_EQ(options.IndexFileName, "index.html");
  EXPECT_EQ(options.Title, "写真一覧");
  EXPECT_EQ(options.Heading, "<h1>写真一覧</h1>");
  EXPECT_EQ(options.MapMode, 1);
  EXPECT_EQ(options.ThumbWidth, 320);
  EXPECT_EQ(options.ThumbHeight, 240);
  EXPECT_EQ(options.ThumbQuality, 80);
}

} // namespace
} // namespace lumicrate
