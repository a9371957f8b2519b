// Capture dates from real files: EXIF values as written, the plausibility rule with its log
// line, the file-time fallback for every format without EXIF, and the once-per-run cache.
#include <exiv2/exiv2.hpp>
#include <fcntl.h>
#include <gtest/gtest.h>

#include "ImportFixtures.h"
#include "import/CaptureDate.h"
#include "import/CaptureDateCache_CL.h"
#include "import/ContentCompare.h"
#include "import/MyFindFile_CL.h"
#include "platform/FileDescriptor.h"
#include "platform/WorkerPool.h"

namespace lumicrate {
namespace {

using test::ImportTest;

class CaptureDateTest : public ImportTest {};

TEST_F(CaptureDateTest, ExifValuesAreTakenAsWrittenOrFallBackWithOneLogLine) {
  struct Case {
    const char* name;
    const char* exif;
    CaptureDate expected; // year, month, day of week, day, hour, minute, second, millisecond
    const char* logDate;  // the date text of the fallback line, or nullptr for none
  };
  // The file time, 2020-03-04 12:00 local, is what the fallback cases must give.
  const CaptureDate fileTime{2020, 3, 3, 4, 12, 0, 0, 0};
  const Case cases[] = {
      {"plain.jpg", "2015:06:21 14:03:09", {2015, 6, 0, 21, 14, 3, 9, 0}, nullptr},
      {"feb31.jpg", "2015:02:31 10:00:00", {2015, 2, 0, 31, 10, 0, 0, 0}, nullptr},
      {"old.jpg", "1890:01:02 03:04:05", {1890, 1, 0, 2, 3, 4, 5, 0}, nullptr},
      {"future.jpg", "2150:12:31 23:59:59", {2150, 12, 0, 31, 23, 59, 59, 0}, nullptr},
      {"zero.jpg", "0000:00:00 00:00:00", fileTime, "0000/00/00:00:00:00.000"},
      {"month13.jpg", "2015:13:01 10:00:00", fileTime, "2015/13/01:10:00:00.000"},
      {"hour24.jpg", "2015:06:21 24:00:00", fileTime, "2015/06/21:24:00:00.000"},
      {"short.jpg", "2015:06", fileTime, "2015/06/00:00:00:00.000"},
      {"none.jpg", "", fileTime, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto path = dir / c.name;
    test::MakePhoto(path, c.exif, 1);
    test::SetModified(path, 2020, 3, 4);
    const size_t logBefore = LogText().size();
    CaptureDate date;
    ASSERT_EQ(ResolveCaptureDate(path, date), 1);
    EXPECT_EQ(date, c.expected) << DateText(date);
    const std::string logged = LogText().substr(logBefore);
    if (c.logDate) {
      EXPECT_EQ(logged.substr(26), std::string("Exif撮影日時エラーの為ファイルの更新日付から取得する = ") + c.logDate +
                                       ", " + path.string() + "\r\n");
    } else {
      EXPECT_EQ(logged, "");
    }
  }
}

TEST_F(CaptureDateTest, EveryPhotoFormatIsReadByContentAndOthersUseTheFileTime) {
  struct Case {
    const char* name;
    bool exif; // whether the format carries EXIF
  };
  // The TIFF-based raw formats (DNG, NEF, PEF, ARW, SR2, SRF) are TIFF files to the reader;
  // GIF, BMP and movies have no EXIF, and a wrong extension does not hide a JPEG's date.
  const Case cases[] = {
      {"a.jpg", true},  {"b.JPEG", true}, {"c.png", true},  {"d.tif", true},  {"e.dng", true},
      {"f.nef", true},  {"g.pef", true},  {"h.arw", true},  {"i.sr2", true},  {"j.srf", true},
      {"k.gif", false}, {"l.bmp", false}, {"m.mov", false}, {"n.mp3", false}, {"jpeg-named.avi", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto path = dir / c.name;
    const std::string extension = path.extension().string();
    const bool tiffBased = extension == ".dng" || extension == ".nef" || extension == ".pef" || extension == ".arw" ||
                           extension == ".sr2" || extension == ".srf";
    if (extension == ".mov" || extension == ".mp3") {
      test::WriteBytes(path, std::string(1000, 'm'));
    } else {
      test::MakeImage(tiffBased ? dir / "raw.tif" : path, 2);
      if (tiffBased) {
        std::filesystem::rename(dir / "raw.tif", path);
      }
    }
    if (c.exif) {
      test::WriteExifDate(path, "2015:06:21 14:03:09");
    }
    test::SetModified(path, 2019, 8, 9);
    {
      const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
      EXPECT_EQ(ReadExifDateTimeOriginal(fd.Get(), static_cast<std::int64_t>(std::filesystem::file_size(path)), path),
                ReadExifDateTimeOriginal(path))
          << "through the descriptor";
    }
    CaptureDate date;
    ASSERT_EQ(ResolveCaptureDate(path, date), 1);
    const CaptureDate expected =
        c.exif ? CaptureDate{2015, 6, 0, 21, 14, 3, 9, 0} : CaptureDate{2019, 8, 5, 9, 12, 0, 0, 0};
    EXPECT_EQ(date, expected) << DateText(date);
  }
}

TEST_F(CaptureDateTest, CorruptAndMissingFiles) {
  const auto truncated = dir / "truncated.jpg";
  test::MakePhoto(truncated, "2015:06:21 14:03:09", 3);
  std::filesystem::resize_file(truncated, 40);
  test::WriteBytes(dir / "garbage.jpg", "\xFF\xD8\xFF\xE1\xFF\xFF" + std::string(100, '\x7F'));
  test::WriteBytes(dir / "empty.jpg", "");
  for (const char* name : {"truncated.jpg", "garbage.jpg", "empty.jpg"}) {
    test::SetModified(dir / name, 2018, 1, 2);
    CaptureDate date;
    EXPECT_EQ(ResolveCaptureDate(dir / name, date), 1) << name;
    EXPECT_EQ(date.year * 10000 + date.month * 100 + date.day, 20180102) << name;
  }
  CaptureDate date;
  EXPECT_EQ(ResolveCaptureDate(dir / "missing.jpg", date), 0);
  EXPECT_EQ(LogText().find("除外"), std::string::npos) << "a missing file is left out without a log line";
}

TEST_F(CaptureDateTest, CacheGivesTheSameResultsAndLogsOnceUntilTheFileChanges) {
  const auto zero = dir / "zero.jpg";
  test::MakePhoto(zero, "0000:00:00 00:00:00", 4);
  test::SetModified(zero, 2020, 3, 4);
  CaptureDate direct;
  ASSERT_EQ(ResolveCaptureDate(zero, direct), 1);
  const size_t logBefore = LogText().size();

  CaptureDateCache_CL cache;
  for (int i = 0; i < 3; ++i) {
    CaptureDate cached;
    EXPECT_EQ(cache.Resolve(zero, cached), 1);
    EXPECT_EQ(cached, direct);
  }
  const std::string logged = LogText().substr(logBefore);
  EXPECT_EQ(logged.find("Exif撮影日時エラー"), logged.rfind("Exif撮影日時エラー")) << "one line for three asks";
  EXPECT_NE(logged.find("Exif撮影日時エラー"), std::string::npos);

  // The same name with other content and time is a different file.
  test::MakePhoto(zero, "2016:07:08 09:10:11", 5);
  CaptureDate changed;
  EXPECT_EQ(cache.Resolve(zero, changed), 1);
  EXPECT_EQ(changed, (CaptureDate{2016, 7, 0, 8, 9, 10, 11, 0}));
  EXPECT_EQ(cache.Resolve(dir / "missing.jpg", changed), 0);
}

TEST_F(CaptureDateTest, OneOpenGivesTheDateHashAndSizeOfTheReaderAndThePath) {
  // A plain photo, one whose EXIF block is larger than one read window (a long description,
  // read straight into the reader's buffer), and one with a megabyte after its image data.
  const auto plain = dir / "plain.jpg";
  const auto bigExif = dir / "big-exif.jpg";
  const auto padded = dir / "padded.jpg";
  test::MakePhoto(plain, "2015:06:21 14:03:09", 1);
  test::MakePhoto(bigExif, "2016:07:08 09:10:11", 2);
  {
    auto image = Exiv2::ImageFactory::open(bigExif.string());
    image->readMetadata();
    image->exifData()["Exif.Image.ImageDescription"] = std::string(40000, 'd');
    image->writeMetadata();
  }
  test::MakePhoto(padded, "2017:01:02 03:04:05", 3);
  test::WriteBytes(padded, test::ReadBytes(padded) + std::string(1 << 20, '\x5a'));
  std::vector<CandidateFile> candidates(3);
  candidates[0].path = plain;
  candidates[1].path = bigExif;
  candidates[2].path = padded;
  WorkerPool pool(2);
  DateCandidates(context, candidates, pool);
  ASSERT_EQ(candidates.size(), 3u);
  EXPECT_EQ(candidates[0].captureDate, (CaptureDate{2015, 6, 0, 21, 14, 3, 9, 0}));
  EXPECT_EQ(candidates[1].captureDate, (CaptureDate{2016, 7, 0, 8, 9, 10, 11, 0}));
  EXPECT_EQ(candidates[2].captureDate, (CaptureDate{2017, 1, 0, 2, 3, 4, 5, 0}));
  for (const CandidateFile& candidate : candidates) {
    EXPECT_EQ(candidate.quickHash, QuickHash(candidate.path)) << candidate.path;
    EXPECT_EQ(candidate.size, static_cast<std::int64_t>(std::filesystem::file_size(candidate.path)));
  }
}

} // namespace
} // namespace lumicrate
