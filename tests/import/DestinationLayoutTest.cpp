// Date folder names for every layout, the free "(n)" name, and PlaceAndCopy on real files:
// folders made as needed, contents, mode and time kept, nothing ever replaced or left half-made.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "ImportFixtures.h"
#include "import/ContentCompare.h"
#include "import/CopyBatch_CL.h"
#include "import/DestinationLayout.h"
#include "import/DuplicateDetection.h"
#include "import/FolderImportRun.h"
#include "import/StagedCopy_CL.h"
#include "platform/WorkerPool.h"

namespace lumicrate {
namespace {

using test::ImportTest;

TEST(DateFolderNameTest, EveryLayoutAndTheFallback) {
  const CaptureDate date{2015, 6, 0, 21, 14, 3, 9, 0};
  const char* expected[] = {"2015",       "201506",         "20150621",    "2015-06",         "2015-06-21",
                            "2015_06",    "2015_06_21",     "2015/06",     "2015/06/21",      "2015年",
                            "2015年06月", "2015年06月21日", "2015年/06月", "2015年/06月/21日"};
  for (int layout = 0; layout < 14; ++layout) {
    EXPECT_EQ(DateFolderName(date, layout), expected[layout]) << layout;
  }
  EXPECT_EQ(DateFolderName(date, -1), "2015-06");
  EXPECT_EQ(DateFolderName(date, 14), "2015-06");
  EXPECT_EQ(DateFolderName({987, 1, 0, 2, 0, 0, 0, 0}, 13), "0987年/01月/02日");
  EXPECT_EQ(DateFolderName({12345, 1, 0, 2, 0, 0, 0, 0}, 4), "12345-01-02");
  // Dates that share a folder share one scan.
  EXPECT_EQ(LayoutDate(date, 0), (std::array<std::uint16_t, 3>{2015, 0, 0}));
  EXPECT_EQ(LayoutDate(date, 12), (std::array<std::uint16_t, 3>{2015, 6, 0}));
  EXPECT_EQ(LayoutDate(date, 13), (std::array<std::uint16_t, 3>{2015, 6, 21}));
}

class PlaceAndCopyTest : public ImportTest {
protected:
  // One file copied as a run copies it, in a batch of its own; destination is where it went, as
  // the duplicate table knows it, or on failure where it was to go.
  HRESULT PlaceAndCopy(const std::filesystem::path& output, const std::filesystem::path& source,
                       std::filesystem::path& destination) {
    test::RecordingProgress progress;
    ImportReport report;
    WorkerPool pool(0);
    CopyBatch_CL batch(context, output, progress, report, 1, pool, false);
    const std::uint64_t hash = QuickHash(source);
    HRESULT hr = batch.AddCopy(source, hash, 0, Staging::Copy);
    if (Succeeded(hr)) {
      hr = batch.Commit();
    }
    destination = Failed(hr) ? report.failedDestination : context.DuplicateTable.Bucket(hash).back().Path;
    return hr;
  }
};

TEST_F(PlaceAndCopyTest, FreeNameSplitsAtTheLastDotOfTheName) {
  struct Case {
    const char* name;
    int taken; // how many names are taken before the free one: the name itself, (1), ...
    const char* free;
  };
  const Case cases[] = {
      {"IMG_0001.JPG", 0, "IMG_0001.JPG"},
      {"IMG_0001.JPG", 1, "IMG_0001(1).JPG"},
      {"IMG_0001.JPG", 2, "IMG_0001(2).JPG"},
      {"README", 1, "README(1)"},
      {"photo.backup.jpg", 1, "photo.backup(1).jpg"},
      {".hidden", 1, "(1).hidden"},
  };
  const auto folder = dir / "out.d";
  for (const Case& c : cases) {
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::string stem = c.name;
    std::string extension;
    if (const size_t dot = stem.rfind('.'); dot != std::string::npos) {
      extension = stem.substr(dot);
      stem.resize(dot);
    }
    for (int i = 0; i < c.taken; ++i) {
      test::WriteBytes(folder / (i == 0 ? std::string(c.name) : stem + "(" + std::to_string(i) + ")" + extension), "x");
    }
    EXPECT_EQ(FreeName(folder / c.name), folder / c.free) << c.name << " " << c.taken;
  }
  // A dangling symbolic link is a taken name as well.
  std::filesystem::create_symlink(dir / "nowhere", folder / "link.jpg");
  EXPECT_EQ(FreeName(folder / "link.jpg"), folder / "link(1).jpg");
}

TEST(NumberedNameTest, LongNamesAreShortenedAtACharacterBoundaryToFit) {
  const std::string a83 = [] {
    std::string text;
    for (int i = 0; i < 83; ++i) {
      text += "あ";
    }
    return text;
  }();
  const struct {
    std::string name;
    int n;
    std::string numbered;
  } cases[] = {
      {"IMG_0001.JPG", 1, "IMG_0001(1).JPG"},
      {std::string(251, 'a') + ".JPG", 1, std::string(248, 'a') + "(1).JPG"},
      {std::string(251, 'a') + ".JPG", 99999, std::string(244, 'a') + "(99999).JPG"},
      // 253 bytes of three-byte characters: the cut never splits one.
      {a83 + ".JPG", 1, a83.substr(0, 82 * 3) + "(1).JPG"},
      // An extension that leaves no room is no extension.
      {"x." + std::string(252, 'e'), 1, "x." + std::string(250, 'e') + "(1)"},
  };
  for (const auto& c : cases) {
    const std::string numbered = NumberedName(c.name, c.n);
    EXPECT_EQ(numbered, c.numbered) << c.name.size();
    EXPECT_LE(numbered.size(), kMaxNameBytes);
  }
}

TEST_F(PlaceAndCopyTest, LayoutsMakeTheirFoldersAndKeepContentModeAndTime) {
  struct Case {
    int layout;
    const char* folders[3]; // every folder the copies need, nested ones included
  };
  const Case cases[] = {
      {0, {"2015", "2015", "2015"}},
      {8, {"2015/06/21", "2015/06/22", "2015/07/01"}},
      {13, {"2015年/06月/21日", "2015年/06月/22日", "2015年/07月/01日"}},
  };
  const char* dates[] = {"2015:06:21 10:00:00", "2015:06:22 10:00:00", "2015:07:01 10:00:00"};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.layout);
    const auto output = dir / ("out" + std::to_string(c.layout));
    context.OutputFormatType = c.layout;
    for (int i = 0; i < 3; ++i) {
      const auto source = dir / "card" / ("IMG_000" + std::to_string(i) + ".JPG");
      test::MakePhoto(source, dates[i], i);
      ::chmod(source.c_str(), 0640);
      const std::time_t modified = test::SetModified(source, 2016, 1, 1 + i);
      std::filesystem::path destination;
      ASSERT_EQ(PlaceAndCopy(output, source, destination), S_OK);
      EXPECT_EQ(destination, output / c.folders[i] / source.filename());
      EXPECT_EQ(test::ReadBytes(destination), test::ReadBytes(source));
      struct stat info {};
      ASSERT_EQ(::stat(destination.c_str(), &info), 0);
      EXPECT_EQ(info.st_mode & 07777, 0640u);
      EXPECT_EQ(info.st_mtime, modified);
    }
    EXPECT_EQ(test::FilesUnder(output).size(), 3u);
  }
}

TEST_F(PlaceAndCopyTest, ATakenNameIsNeverReplaced) {
  const auto output = dir / "out";
  context.OutputFormatType = 3;
  const auto first = dir / "a" / "IMG_0001.JPG";
  const auto second = dir / "b" / "IMG_0001.JPG";
  test::MakePhoto(first, "2015:06:21 10:00:00", 1);
  test::MakePhoto(second, "2015:06:21 11:00:00", 2);
  std::filesystem::path destination;
  ASSERT_EQ(PlaceAndCopy(output, first, destination), S_OK);
  ASSERT_EQ(PlaceAndCopy(output, second, destination), S_OK);
  EXPECT_EQ(destination, output / "2015-06" / "IMG_0001(1).JPG");
  EXPECT_EQ(test::ReadBytes(output / "2015-06" / "IMG_0001.JPG"), test::ReadBytes(first));
  EXPECT_EQ(test::ReadBytes(destination), test::ReadBytes(second));

  // A name taken between the look and the rename: the staged copy refuses it.
  StagedCopy_CL copy;
  ASSERT_EQ(copy.Stage(second, output / "2015-06"), S_OK);
  EXPECT_EQ(copy.Place(output / "2015-06" / "IMG_0001.JPG"), StagedCopy_CL::NameTaken());
  EXPECT_EQ(test::ReadBytes(output / "2015-06" / "IMG_0001.JPG"), test::ReadBytes(first));
}

TEST_F(PlaceAndCopyTest, CopiesStagedAheadAreTakenOverOrThrownAway) {
  const auto output = dir / "out";
  context.OutputFormatType = 3;
  const auto copied = dir / "IMG_0001.JPG";
  const auto duplicate = dir / "IMG_0002.JPG";
  test::MakePhoto(copied, "2015:06:21 10:00:00", 1);
  test::MakePhoto(duplicate, "2016:01:02 10:00:00", 2);
  std::filesystem::create_directories(output);
  test::RecordingProgress progress;
  ImportReport report;
  {
    WorkerPool copier(1);
    CopyBatch_CL batch(context, output, progress, report, 2, copier, false);
    ASSERT_TRUE(batch.Prestage(copied, 10));
    // Ahead of the flush goes at most a batch's worth of data.
    ASSERT_TRUE(batch.Prestage(duplicate, CopyBatch_CL::kMaxBytes));
    EXPECT_FALSE(batch.Prestage(dir / "IMG_0003.JPG", 10));
    ASSERT_EQ(batch.AddCopy(copied, QuickHash(copied), 10, Staging::Copy), S_OK);
    ASSERT_EQ(batch.AddDuplicate(10, duplicate), S_OK);
    ASSERT_EQ(batch.Commit(), S_OK);
  }
  EXPECT_EQ(report.copiedFiles, 1);
  EXPECT_EQ(report.duplicates, 1);
  EXPECT_EQ(test::FilesUnder(output), std::vector<std::string>{"2015-06/IMG_0001.JPG"}) << "nothing staged is left";
  EXPECT_EQ(test::ReadBytes(output / "2015-06/IMG_0001.JPG"), test::ReadBytes(copied));
}

TEST_F(PlaceAndCopyTest, FailuresLeaveNoTemporaryAndReportTheDestination) {
  const auto output = dir / "out";
  context.OutputFormatType = 3;
  const auto source = dir / "IMG_0001.JPG";
  test::MakePhoto(source, "2015:06:21 10:00:00", 1);
  // The date folder's name is taken by a file, so the folder cannot be made.
  std::filesystem::create_directories(output);
  test::WriteBytes(output / "2015-06", "not a folder");
  std::filesystem::path destination;
  EXPECT_EQ(PlaceAndCopy(output, source, destination), HResultFromWin32(267));
  EXPECT_EQ(destination, output / "2015-06" / "IMG_0001.JPG");

  std::filesystem::remove(output / "2015-06");
  std::filesystem::path missing;
  EXPECT_EQ(PlaceAndCopy(output, dir / "gone.jpg", missing), HResultFromWin32(2));
  EXPECT_EQ(test::FilesUnder(output), std::vector<std::string>{});
}

TEST_F(PlaceAndCopyTest, ScanRemovesTemporariesOfAKilledRunAndNeverCountsThem) {
  const auto folder = dir / "out" / "2015-06";
  const auto source = dir / "IMG_0001.JPG";
  test::MakePhoto(source, "2015:06:21 10:00:00", 1);
  std::filesystem::create_directories(folder / "sub");
  // A complete copy that a kill stopped before it got its name must not make the source a
  // duplicate, or the photo would never reach the output.
  std::filesystem::copy_file(source, folder / ".lumicrate-a1B2c3.tmp");
  test::WriteBytes(folder / "sub" / ".lumicrate-zzzzzz.tmp", "partial");
  test::WriteBytes(folder / ".lumicrate-notours.tmp", "kept");
  context.OutputFormatType = 3;
  EXPECT_EQ(IsDuplicate(context, dir / "out", source), 0);
  EXPECT_EQ(test::FilesUnder(dir / "out"), std::vector<std::string>{"2015-06/.lumicrate-notours.tmp"});
}

} // namespace
} // namespace lumicrate
